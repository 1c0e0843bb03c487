#ifndef zbDirectories_H
#define zbDirectories_H
// Path lists, the working directory, and directory creation and removal.

#include "QORString.h"

// Appends the non-empty elements of iConcat separated by iSeparator.
void zbSplitPathConcatenation(QORListValQORString& oOut, const char* iConcat, const char iSeparator);

// The environment's PWD when set, else getcwd (null when that fails).  The
// result is a static buffer or the environment's own text.
char* zbGetPWD();
// chdir; 0 on success, 1 with errno recorded in zbExtLastError.
int zbSetPWD(const char* iPath);

#endif
