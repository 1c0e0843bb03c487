#ifndef zbDebugTrace_H
#define zbDebugTrace_H
// A formatted debug print into a stream's file.

#include <cstdarg>

class zbOFStream;

// printf-like print to the stream's file, flushed before and after; a null
// format prints nothing.
void zbDebugTrace(zbOFStream& oStream, const char* iFormat, ...)
    __attribute__((format(printf, 2, 3)));

#endif
