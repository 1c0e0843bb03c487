#ifndef zbFileLines_H
#define zbFileLines_H
// Line splitting shared by the string lists and the record files read by
// this module (private to it).

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"

// Calls iAdd(start, length) for each line of [iBegin, iEnd): lines end at a
// line feed; with iStripCR a carriage return before it is dropped; with
// iSkipEmpty empty lines are not passed; a last line without line feed is
// passed only when not empty.
template <class F>
void zbForEachLine(const char* iBegin, const char* iEnd, int iSkipEmpty, int iStripCR, F& iAdd)
{
    for (const char* start = iBegin; start < iEnd;)
    {
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', iEnd - start));
        const char* stop = lf ? lf : iEnd;
        int length = static_cast<int>(stop - start);
        if (iStripCR && length > 0 && start[length - 1] == '\r')
            --length;
        if (length > 0 || (!iSkipEmpty && lf))
            iAdd(start, length);
        start = stop + 1;
    }
}

// The same over the lines of a file, read as zbMMap's iMode says (8: as
// text, a NUL byte refused; the lists of strings take any byte).  -1 when
// the file cannot be read, else 0.
template <class F>
int zbForEachFileLine(const char* iPath, int iSkipEmpty, int iStripCR, F iAdd, int iMode = 0)
{
    char* buffer = nullptr;
    unsigned int size = 0;
    if (zbMMap(iPath, iMode, buffer, size, 0) != 0)
        return -1;
    zbForEachLine(buffer, buffer + size, iSkipEmpty, iStripCR, iAdd);
    std::free(buffer);
    return 0;
}

#endif
