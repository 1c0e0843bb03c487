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
// SIGINT or SIGTERM sends the same signal to every running child's group,
// removes every slot's temporary file, reports the interruption, closes the
// XML trace, and ends the process with the signal's number.
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
};

int zbMultiProcessing(const QORListPtrzbActionIntf& Actions, const unsigned int Jobs);
int zbMultiProcessing(const QORListPtrzbActionIntf& Actions, const unsigned int Jobs,
                      const zbMultiProcessingOptions& Options);

#endif
