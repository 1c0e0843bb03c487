#ifndef zbInternalError_H
#define zbInternalError_H
// Fatal reports: broken invariants, aborts and interrupts.  Each prints a
// "zbzbFatal" report on standard error and ends the process.  (The debug
// print zbDebugTrace, declared with them once, has its own header.)

#include "zbDebugTrace.h"

// Reports "zbzbFatal.InternalLine" with the expression (or "Assertion
// failed"), the line and the source file (or "<unknown>"), then exits with
// iStatus; in a development build it aborts with a stack trace instead.
// Here and below, a status an exit would read as success (0, or a multiple
// of 256) exits with 1: a fatal end is never taken for a success.
[[noreturn]] void zbInternalError(const char* iExpression, const char* iFile, int iLine,
                                  int iStatus);
// Installs the handlers of SIGABRT, SIGINT and SIGTERM (zbContext::
// TrapSignals), after preparing everything they write: the report of each
// signal, its line in the XML trace, what names the frames of a stack trace.
void zbTrapFatalSignals();
// Signal handler for SIGABRT: the "zbzbFatal.Abort" report with a stack
// trace, then _exit(iStatus).  Signal handler for SIGINT and SIGTERM: the
// "zbzbFatal.Interrupt" report, then _exit(iStatus).  Both write only what
// was prepared (async-signal-safe), the XML trace's closing lines included;
// a second signal or an abort while they run ends the process at once.
[[noreturn]] void zbContextualAbort(int iStatus);
[[noreturn]] void zbContextualInterrupt(int iStatus);

#endif
