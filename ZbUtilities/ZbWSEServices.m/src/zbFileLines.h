#ifndef zbFileLines_H
#define zbFileLines_H
// Line splitting shared by the string lists read from files (private to
// this module).

#include <cstdlib>
#include <cstring>

#include "zbFileOperations.h"

// Calls iAdd(start, length) for each line of the file: lines end at a line
// feed; with iStripCR a carriage return before it is dropped; with
// iSkipEmpty empty lines are not passed; a last line without line feed is
// passed only when not empty.  -1 when the file cannot be read, else 0.
template <class F> int zbForEachFileLine(const char* iPath, int iSkipEmpty, int iStripCR, F iAdd)
{
    char* buffer = nullptr;
    unsigned int size = 0;
    if (zbMMap(iPath, 0, buffer, size, 0) != 0)
        return -1;
    const char* end = buffer + size;
    for (const char* start = buffer; start < end;)
    {
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', end - start));
        const char* stop = lf ? lf : end;
        int length = static_cast<int>(stop - start);
        if (iStripCR && length > 0 && start[length - 1] == '\r')
            --length;
        if (length > 0 || (!iSkipEmpty && lf))
            iAdd(start, length);
        start = stop + 1;
    }
    std::free(buffer);
    return 0;
}

#endif
