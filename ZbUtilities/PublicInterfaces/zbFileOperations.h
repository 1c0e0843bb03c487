#ifndef zbFileOperations_H
#define zbFileOperations_H
// File operations on large files.  Failures leave errno in zbExtLastError;
// only the argument-vector forms print (through the trace manager).  In the
// argument-vector forms the command name is not used: they serve as
// built-in commands.

#include "zbFileStats.h"

// stat64 of iName: 0, or -1 with errno recorded.
int zbAccessFile(const char* iName);

// Removes a file or a symbolic link (the link itself, never its target).
// Nothing there is a success; a directory fails with EISDIR.  0 or 1.
int zbRemoveFile(const char* iName, const int& iFlags);
int zbRemoveFile(const char* iCommand, char* const* iArgs);

// Copies the regular file iSource (links followed) to iTarget.  The data
// goes to a new file beside the target that replaces it only once the copy
// is complete: a failed copy leaves an existing target as it was.  A
// symbolic link at iTarget is replaced, its target left alone.  Times and
// permissions are not copied.  0 or 1.  The argument-vector forms report a
// failure on the file it is about: the source when it cannot be read, the
// target when it cannot be written.
int zbCopyFile(const char* iSource, const char* iTarget);
int zbCopyFile(const char* iCommand, char* const* iArgs);
// Copies the regular file iSource of the directory iSourceDirectory (links
// followed) to iTarget of the directory iTargetDirectory (both
// descriptors), where nothing may have that name yet: EEXIST otherwise,
// and nothing changed.  The copy gets the permissions (iStat's mode less
// the file type) and the access and modification times of iStat, and its
// name only once complete.  0 or 1 (errno recorded).
int zbCopyFileAt(int iSourceDirectory, const char* iSource, int iTargetDirectory,
                 const char* iTarget, const FileStat& iStat);

// A copy followed by the removal of the source (never a rename, so it
// works across file systems).  0 or 1.
int zbMoveFile(const char* iSource, const char* iTarget);
int zbMoveFile(const char* iCommand, char* const* iArgs);

// 0 when both files hold the same bytes, else -1.  Nothing is recorded.
int zbCompareFiles(const char* iFile1, const char* iFile2);
int zbCompareFiles(const char* iCommand, char* const* iArgs);

// 0 when the file holds exactly the iSize bytes of iBuffer, else -1.
int zbCompareFileWithBuffer(const char* iName, const int& iMode, const char* iBuffer,
                            const unsigned int& iSize);

// Reads the whole file iName into a new malloc'ed buffer (text mode when bit
// 8 of iMode is set).  oBuffer is NUL-terminated after oSize bytes; when
// iLast is not NUL and the file does not end with it, iLast is appended.
// An empty file gives 0 with a null buffer.  0 on success, 1 on failure
// (the error recorded).  In text mode a file holding a NUL byte is refused
// (zbErrnoNulByte recorded): a reader of text lines would stop at it.
// The caller frees oBuffer.
int zbMMap(const char* iName, const int& iMode, char*& oBuffer, unsigned int& oSize,
           const char iLast);

// The first character is the path separator.
bool zbIsItAnAbsolutePath(const char* iPath);
// lstat64 succeeds and the entry is a symbolic link.
bool zbIsItASymbolicLink(const char* iPath);

#endif
