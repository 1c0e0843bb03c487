#ifndef zbCatFile_H
#define zbCatFile_H
// Text files sent whole through the trace manager, so that the captured
// output of commands reaches both the console and the XML trace file.
//
// The printing forms take the file as the first element of iArgs (iName,
// the command name of the argument-vector convention, is not used), print
// it as free text (console as is, XML escaped) and return the trace
// manager's result.  A file that cannot be read is reported ("systError"
// on its name) and gives 1; nothing of it is printed.  The Console forms
// apply ConvertToConsole first.

#include "QORUnicodeString.h"

// Appends the file's text to ioText (read in chunks of 16384 bytes; a NUL
// byte ends its chunk's text).  0, or 1 with the errno of the failing call
// (EINVAL when none was set) stored in zbExtLastError; prints nothing.
int zbCatFileToUnicodeStringForMsg(const char* iPath, QORUnicodeString& ioText);

int zbCatFileToTraceManagerStdout(const char* iName, char* const* iArgs);
int zbCatFileToTraceManagerStderr(const char* iName, char* const* iArgs);
int zbCatFileToConsoleTraceManagerStdout(const char* iName, char* const* iArgs);
int zbCatFileToConsoleTraceManagerStderr(const char* iName, char* const* iArgs);

// Renders carriage returns as a terminal shows them: each line keeps the
// final state of its "\r"-separated rewrites (a shorter rewrite covers only
// the start of what is shown).  A text that does not end with "\n" gets
// one; an empty text stays empty.
void ConvertToConsole(QORUnicodeString& ioText);

#endif
