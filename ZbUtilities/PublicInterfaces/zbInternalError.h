#ifndef zbInternalError_H
#define zbInternalError_H
// Fatal reports: broken invariants, aborts and interrupts.  Each prints a
// "zbzbFatal" report on standard error and ends the process.

#include <cstdarg>

class zbOFStream;

// Reports "zbzbFatal.InternalLine" with the expression (or "Assertion
// failed"), the line and the source file (or "<unknown>"), then exits with
// iStatus; in a development build it aborts with a stack trace instead.
[[noreturn]] void zbInternalError(const char* iExpression, const char* iFile, int iLine, int iStatus);
// Signal handler for SIGABRT: report with a stack trace, exit(iStatus).
[[noreturn]] void zbContextualAbort(int iStatus);
// Signal handler for SIGINT and SIGTERM: report, exit(iStatus).
[[noreturn]] void zbContextualInterrupt(int iStatus);
// printf-like print to the stream's file, flushed before and after.
void zbDebugTrace(zbOFStream& oStream, const char* iFormat, ...)
    __attribute__((format(printf, 2, 3)));

#endif
