#ifndef zbDirectories_H
#define zbDirectories_H
// Path strings, path lists, the working directory, and directory creation
// and removal.  Failures are recorded in zbExtLastError; only the
// argument-vector forms (built-in commands, whose command name is not used)
// and zbGetWorkspacesConcatenation print.

#include "QORString.h"

class zbFileName;

// In place; a null or empty argument is returned unchanged.
// Every "/" becomes "\".
char* zbDosifyPath(char* ioPath);
// Every "\" becomes "/".
char* zbUnixifyPath(char* ioPath);
// Drops trailing separators, never the first character ("/" stays "/").
char* zbEatEndingSlash(char* ioPath);

// Appends the non-empty elements of iConcat separated by iSeparator.
void zbSplitPathConcatenation(QORListValQORString& oOut, const char* iConcat,
                              const char iSeparator);
// Appends to oOut the elements of iDirs that are existing directories, each
// after iPrefix (when set) and between double quotes when iQuote is set,
// separated by iSeparator (":" when null).
void zbCreatePathConcatenation(QORString& oOut, const QORListValQORString& iDirs,
                               const char* iPrefix, const char* iSeparator, const int iQuote);
// Appends the workspace chain of iWS (second line of its "Install_config"),
// each element followed by iSuffix when set.  0, or the recorded errno
// (ENOENT, without a message, when the file does not exist).
int zbGetWorkspacesConcatenation(const QORString& iWS, QORListValQORString& oOut,
                                 const char* iSuffix);

// The environment's PWD when set, else getcwd (null when that fails).  The
// result is a static buffer or the environment's own text.
char* zbGetPWD();
// chdir; 0 on success, 1 with errno recorded in zbExtLastError.
int zbSetPWD(const char* iPath);

// Creates iPath and every missing parent (mode 0755).  An existing
// directory is a success; an existing entry that is not a directory fails
// with ENOTDIR.  iWork is not needed (a private copy is always made).
int zbCreateDirectory(const char* iPath, char* iWork = nullptr);
int zbCreateDirectory(const char* iCommand, char* const* iArgs);
int zbCreateOrReplaceDirectory(const char* iPath);
int zbCreateOrReplaceDirectory(const char* iCommand, char* const* iArgs);
// Creates the directory part of the name; the first reports a failure.
int zbCreateDirectoryFromDirname(const zbFileName& iName);
int zbCreateOrReplaceDirectoryFromDirname(const zbFileName& iName);

// Removes iPath and everything below it.  Links are removed, never
// followed (a link given as iPath is removed itself); read-only
// subdirectories are opened up first.  A missing path is a success; a path
// that is not a directory fails with ENOTDIR.  0 or 1.
int zbRemoveDirectory(const char* iPath, const int& iFlags);
int zbRemoveDirectory(const char* iCommand, char* const* iArgs);
int zbRemoveDirectoryFromDirname(const zbFileName& iName);

#endif
