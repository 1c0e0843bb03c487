#ifndef QORFatalError_H
#define QORFatalError_H
// Fatal errors of the foundation: a report on standard error, then the end
// of the process with status 1 (or an abort in a development build).

// Prints "Fatal error: <iMessage> (<iFile>, line <iLine>)" and ends the process.
[[noreturn]] void QORFatalError(const char* iMessage, const char* iFile, int iLine);

// 1 when the process runs as a development build: the environment variable
// QOR_DEVELOPMENT_STAGE is set to a non-zero number.  The argument is kept
// for the callers' form (a stage number) and does not change the answer.
int QORDevelopmentStage(int iStage);

#endif
