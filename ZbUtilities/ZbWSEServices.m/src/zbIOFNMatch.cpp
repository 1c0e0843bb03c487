#include "zbIOFNMatch.h"

#include <cctype>

namespace
{
inline bool IsSeparator(char iChar)
{
    return iChar == '/' || iChar == '\\';
}

// Whether a wildcard may take the character at iAt (iName is the start of
// the whole name).
inline bool MayTake(const char* iName, const char* iAt, int iMetaMatch)
{
    if (IsSeparator(*iAt))
        return (iMetaMatch & ZBIO_MATCH_SEPARATOR) != 0;
    if (*iAt == '.' && iAt > iName && IsSeparator(iAt[-1]))
        return (iMetaMatch & ZBIO_MATCH_LEADING_DOT) != 0;
    return true;
}

inline int Fold(char iChar, int iMetaMatch)
{
    int c = static_cast<unsigned char>(iChar);
    return (iMetaMatch & ZBIO_MATCH_CASEFOLD) && std::isupper(c) ? std::tolower(c) : c;
}

// One pattern character other than "*" against one name character.
inline bool MatchOne(const char* iPattern, const char* iName, const char* iAt, int iMetaMatch)
{
    if (*iPattern == '?')
        return MayTake(iName, iAt, iMetaMatch);
    if (IsSeparator(*iPattern))
        return IsSeparator(*iAt);
    return Fold(*iPattern, iMetaMatch) == Fold(*iAt, iMetaMatch);
}
} // namespace

int zbIOFNMatch(const char* iPattern, const char* iName, const int iMetaMatch)
{
    if (!iPattern || !iName)
        return 0;
    const char* p = iPattern;
    const char* n = iName;
    // The most recent star: the pattern after it, and where its run ends.
    const char* afterStar = nullptr;
    const char* starEnd = nullptr;
    while (*n)
    {
        if (*p == '*')
        {
            while (*p == '*')
                ++p;
            afterStar = p;
            starEnd = n;
            continue;
        }
        if (*p && MatchOne(p, iName, n, iMetaMatch))
        {
            ++p;
            ++n;
            continue;
        }
        // A mismatch: the star takes one more character, or all fails.
        if (!afterStar || !MayTake(iName, starEnd, iMetaMatch))
            return 0;
        n = ++starEnd;
        p = afterStar;
    }
    while (*p == '*')
        ++p;
    return *p ? 0 : 1;
}
