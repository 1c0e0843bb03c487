#include "zbHeaderListIntoWS.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "zbErrorCodeManager.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"

zbHeaderListIntoWS::zbHeaderListIntoWS(const QORString& iWSPathname, const QORString& iListname,
                                       const int iIntoFW)
    : _WSPathname(iWSPathname), _Listname(iListname), _IntoFW(iIntoFW ? 1 : 0)
{
}

zbHeaderListIntoWS::~zbHeaderListIntoWS() = default;

int zbHeaderListIntoWS::CatHeaderListToStream(zbOFStream& ioOut)
{
    unsigned int size = 0;
    char* buffer = nullptr;
    _DamagedLine = 0;
    zbExtLastError.SetErrno(0);
    char* text = OpenListFile(_Listname, size, buffer);
    if (!text)
        return zbExtLastError.GetErrno() == EBADF ? CatNotAList : CatUnreadable;
    // Only the complete blocks before any damage are copied: a damaged list
    // cannot run its last line into the next list's first block.
    const char* damage = FindDamage(text, buffer + size);
    const char* end = damage ? damage : buffer + size;
    const char* block = text;
    while (block < end)
    {
        // A block ends where a line starting with "@" begins.
        const char* next = block;
        for (;;)
        {
            const char* lineEnd =
                static_cast<const char*>(std::memchr(next, '\n', static_cast<size_t>(end - next)));
            next = lineEnd + 1;
            if (next >= end || *next == '@')
                break;
        }
        const char* rest = block + 1;
        int subdir = *rest == '>';
        if (subdir)
            ++rest;
        char prefix[4] = {'@', 0, 0, 0};
        int n = 1;
        if (_IntoFW)
            prefix[n++] = '|';
        if (subdir)
            prefix[n++] = '>';
        if (ioOut.Print("%s%s%s", prefix, _WSPathname.CastToCharPtr(), zbWSPathSeparator) != 0 ||
            ioOut.Write(rest, static_cast<unsigned int>(next - rest)) != 0)
        {
            zbExtLastError.SetErrno(ioOut.GetErrno());
            std::free(buffer);
            return CatRefused;
        }
        block = next;
    }
    if (damage)
        _DamagedLine = LineNumber(text, damage);
    std::free(buffer);
    return damage ? CatDamaged : CatDone;
}
