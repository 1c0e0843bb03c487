#include "zbDebugTrace.h"

#include <cstdio>

#include "zbOFStream.h"

void zbDebugTrace(zbOFStream& oStream, const char* iFormat, ...)
{
    FILE* file = oStream.GetFile();
    if (!iFormat || !file)
        return;
    std::fflush(file);
    va_list args;
    va_start(args, iFormat);
    std::vfprintf(file, iFormat, args);
    va_end(args);
    std::fflush(file);
}
