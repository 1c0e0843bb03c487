#ifndef zbFileOperations_H
#define zbFileOperations_H
// File statistics and file operations.  Failures leave errno in
// zbExtLastError; only the argument-vector forms print.

// Reads the whole file iName into a new malloc'ed buffer (text mode when bit
// 8 of iMode is set).  oBuffer is NUL-terminated after oSize bytes; when
// iLast is not NUL and the file does not end with it, iLast is appended.
// An empty file gives 0 with a null buffer.  0 on success, 1 on failure.
// The caller frees oBuffer.
int zbMMap(const char* iName, const int& iMode, char*& oBuffer, unsigned int& oSize,
           const char iLast);

#endif
