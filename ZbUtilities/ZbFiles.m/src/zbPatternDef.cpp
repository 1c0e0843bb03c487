#include "zbPatternDef.h"

#include <cstdlib>
#include <cstring>

#include "zbInternalError.h"

zbPatternDef::zbPatternDef(const char* iPattern)
    : _Text(nullptr), _Length(0), _Compare(_DoesntMatch)
{
    if (!iPattern)
        return;
    size_t length = std::strlen(iPattern);
    bool head = length > 0 && iPattern[0] == '*';
    bool tail = length > (head ? 1u : 0u) && iPattern[length - 1] == '*';
    const char* start = iPattern + (head ? 1 : 0);
    size_t kept = length - (head ? 1 : 0) - (tail ? 1 : 0);
    _Text = static_cast<char*>(std::malloc(kept + 1));
    if (!_Text)
        zbInternalError("_Text != NULL", "ZbUtilities/ZbFiles.m/src/zbPatternDef", __LINE__, 1);
    std::memcpy(_Text, start, kept);
    _Text[kept] = 0;
    _Length = static_cast<unsigned int>(kept);
    if (head && tail)
        _Compare = _SearchInside;
    else if (head)
        _Compare = _CompareWithTail;
    else if (tail)
        _Compare = _CompareWithHead;
    else
        _Compare = _CompareWith;
}

zbPatternDef::~zbPatternDef()
{
    std::free(_Text);
}

int zbPatternDef::_CompareWith(const char* iString, const unsigned int iLength,
                               const zbPatternDef& iPattern)
{
    return iLength == iPattern._Length && std::memcmp(iString, iPattern._Text, iLength) == 0 ? 0
                                                                                             : 1;
}

int zbPatternDef::_CompareWithHead(const char* iString, const unsigned int iLength,
                                   const zbPatternDef& iPattern)
{
    return iLength >= iPattern._Length &&
                   std::memcmp(iString, iPattern._Text, iPattern._Length) == 0
               ? 0
               : 1;
}

int zbPatternDef::_CompareWithTail(const char* iString, const unsigned int iLength,
                                   const zbPatternDef& iPattern)
{
    return iLength >= iPattern._Length && std::memcmp(iString + (iLength - iPattern._Length),
                                                      iPattern._Text, iPattern._Length) == 0
               ? 0
               : 1;
}

int zbPatternDef::_SearchInside(const char* iString, const unsigned int iLength,
                                const zbPatternDef& iPattern)
{
    if (iLength < iPattern._Length)
        return 1;
    if (iPattern._Length == 0)
        return 0;
    const char* last = iString + (iLength - iPattern._Length);
    for (const char* p = iString; p <= last; ++p)
    {
        p = static_cast<const char*>(
            std::memchr(p, iPattern._Text[0], static_cast<size_t>(last - p) + 1));
        if (!p)
            return 1;
        if (std::memcmp(p, iPattern._Text, iPattern._Length) == 0)
            return 0;
    }
    return 1;
}

int zbPatternDef::_DoesntMatch(const char*, const unsigned int, const zbPatternDef&)
{
    return 1;
}
