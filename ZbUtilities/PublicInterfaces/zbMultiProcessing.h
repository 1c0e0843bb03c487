#ifndef zbMultiProcessing_H
#define zbMultiProcessing_H
// Runs actions with at most Jobs children at a time and returns the number
// of actions that failed (failed to start, ended with a non-zero status, or
// could not be waited for).
//
// Each action's standard output and error go to one temporary file of the
// context's temporary directory, printed whole when its slot is next used
// or at the end: every action's output appears once, unmixed, in the order
// in which slots are freed, then in slot order.  Slots are scanned from the
// first; when all are busy the runner sleeps until a child ends, 40 ms at
// most, and scans again.  Each child leads a process group of its own.
//
// Signals are trapped first (zbContext::TrapSignals).  While the run lasts,
// SIGINT, SIGTERM or SIGHUP (from kill, or from a terminal to the whole
// process group) sends the same signal to every running child's group, then
// SIGTERM to the groups still running 100 ms later (a cluster step is
// cancelled by SIGTERM, not by one SIGINT), waits for them, SIGKILL being
// the fallback once the grace period is over; then it removes every slot's
// temporary file, reports the interruption, closes the XML trace, and ends
// the process with the signal's number.
//
// With Jobs below 2 or fewer than 2 actions, the plain form runs exactly as
// zbMonoProcessing; the form with options always captures.

#include "zbActionIntf.h"

class zbRunMonitor;

struct zbMultiProcessingOptions
{
    // Print the captured output through the trace manager (so that the
    // XML trace gets it too) instead of copying it to the streams.
    int _ThroughTraceManager = 0;
    // With the trace manager: carriage returns rendered as on a terminal.
    int _ToConsole = 0;
    // Told of the progress; may be null.
    zbRunMonitor* _Monitor = nullptr;
    // Once an action has failed, start no other (those running end as
    // usual); with one slot, a script that stops at its first failure.
    int _StopAtFirstFailure = 0;
    // After each failed action's output, one report naming it (its
    // position in the list, the start of its GetDescription) and its
    // status, so that the failures can be told apart in the output.
    int _ReportFailures = 0;
    // Standard error of each action in a file of its own, printed to
    // standard error (zbStderr, or the trace manager's stderr) after the
    // action's standard output: "2>FILE" then separates the diagnostics.
    int _SeparateStderr = 0;
    // Milliseconds the children are given to end after an interruption
    // before SIGKILL.
    int _StopGraceMs = 500;
    // Sharing the slots with a whole build (zbJobserver.h):
    //   JobserverOff          the run takes its Jobs slots alone;
    //   JobserverJoin         with more than one slot, it joins the jobserver
    //                         MAKEFLAGS names: beside its implicit slot, each
    //                         further child needs a token (taken before it
    //                         starts, given back when it ends, also after a
    //                         failed start or an interruption), Jobs being the
    //                         cap;
    //   JobserverJoinOrServe  the same, and with Jobs above 1 outside any
    //                         jobserver, it serves one of Jobs slots to its
    //                         children (a make or another run started by an
    //                         action shares them) while it lasts.
    enum
    {
        JobserverOff = 0,
        JobserverJoin = 1,
        JobserverJoinOrServe = 2
    };
    int _Jobserver = JobserverOff;
};

int zbMultiProcessing(const QORListPtrzbActionIntf& Actions, const unsigned int Jobs);
int zbMultiProcessing(const QORListPtrzbActionIntf& Actions, const unsigned int Jobs,
                      const zbMultiProcessingOptions& Options);

#endif
