#ifndef zbFileLines_H
#define zbFileLines_H
// Line splitting shared by the string lists and the line files with a magic
// first line read by this module (private to it).

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

// Whether a first line announces the format of iMagic ("!<NAME> vVERSION")
// at its version or a later one: the line begins with the magic up to and
// including " v", and the version after it does not compare lower, byte for
// byte, than the magic's.  A file of another format whose name merely sorts
// after this one is refused.
inline bool zbIsMagicLineAccepted(const char* iLine, size_t iLength, const char* iMagic)
{
    const char* version = std::strstr(iMagic, " v");
    size_t head = version ? static_cast<size_t>(version + 2 - iMagic) : std::strlen(iMagic);
    if (iLength < head || std::memcmp(iLine, iMagic, head) != 0)
        return false;
    size_t ours = std::strlen(iMagic + head);
    size_t theirs = iLength - head;
    int order = std::memcmp(iLine + head, iMagic + head, theirs < ours ? theirs : ours);
    return order != 0 ? order > 0 : theirs >= ours;
}

// Reads a line file whose first line is a magic: every line after it goes to
// iAdd as zbForEachFileLine passes them.  0 done; 1 the file cannot be read
// or holds a NUL byte (its error recorded); -10 the file is empty and -1 its first line is not
// accepted by zbIsMagicLineAccepted (both with EBADF recorded, nothing passed).
template <class F>
int zbForEachLineAfterMagic(const char* iPath, const char* iMagic, int iSkipEmpty, int iStripCR,
                            F iAdd)
{
    char* buffer = nullptr;
    unsigned int size = 0;
    if (zbMMap(iPath, 8, buffer, size, 0) != 0)
        return 1;
    int result = 0;
    if (size == 0)
        result = -10;
    else
    {
        const char* end = buffer + size;
        const char* lf = static_cast<const char*>(std::memchr(buffer, '\n', size));
        const char* stop = lf ? lf : end;
        if (!zbIsMagicLineAccepted(buffer, static_cast<size_t>(stop - buffer), iMagic))
            result = -1;
        else if (lf)
            zbForEachLine(lf + 1, end, iSkipEmpty, iStripCR, iAdd);
    }
    std::free(buffer);
    if (result)
        zbExtLastError.SetErrno(EBADF);
    return result;
}

#endif
