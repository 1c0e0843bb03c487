// Pattern and name pairs of any bytes through zbIOFNMatch.  The first byte
// gives the meta-match bits, then the pattern up to the first NUL, then the
// name.  The result must be 0 or 1; a pattern without wildcards matches
// exactly the names equal to it (separators either way); and when wildcards
// may take every character (0x20 and 0x40), the single-star matcher must
// agree with a plain backtracking one.

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zbIOFNMatch.h"

namespace
{
void Check(bool iCondition)
{
    if (!iCondition)
        std::abort();
}

bool IsSeparator(char iChar)
{
    return iChar == '/' || iChar == '\\';
}

bool Same(char iA, char iB, bool iFold)
{
    if (IsSeparator(iA))
        return IsSeparator(iB);
    int a = static_cast<unsigned char>(iA), b = static_cast<unsigned char>(iB);
    if (iFold)
    {
        a = std::isupper(a) ? std::tolower(a) : a;
        b = std::isupper(b) ? std::tolower(b) : b;
    }
    return a == b;
}

// Every wildcard takes any character; a run of stars is tried at every
// length.  Memoised on (pattern, name) positions, so that any input stays
// quick.
int Backtrack(const std::string& iP, size_t iI, const std::string& iN, size_t iJ, bool iFold,
              std::string& ioMemo)
{
    char& memo = ioMemo[iI * (iN.size() + 1) + iJ];
    if (memo)
        return memo - 1;
    int result;
    if (iI == iP.size())
        result = iJ == iN.size();
    else if (iP[iI] == '*')
        result = Backtrack(iP, iI + 1, iN, iJ, iFold, ioMemo) ||
                 (iJ < iN.size() && Backtrack(iP, iI, iN, iJ + 1, iFold, ioMemo));
    else if (iJ == iN.size())
        result = 0;
    else if (iP[iI] == '?' || Same(iP[iI], iN[iJ], iFold))
        result = Backtrack(iP, iI + 1, iN, iJ + 1, iFold, ioMemo);
    else
        result = 0;
    memo = static_cast<char>(result + 1);
    return result;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    if (iSize == 0)
        return 0;
    const int metaMatch = iData[0];
    std::string rest(reinterpret_cast<const char*>(iData) + 1, iSize - 1);
    size_t nul = rest.find('\0');
    std::string pattern = rest.substr(0, nul);
    std::string name = nul == std::string::npos ? "" : rest.substr(nul + 1);
    name.resize(std::strlen(name.c_str()));
    if (pattern.size() > 512 || name.size() > 512)
        return 0;

    int result = zbIOFNMatch(pattern.c_str(), name.c_str(), metaMatch);
    Check(result == 0 || result == 1);
    const bool fold = (metaMatch & ZBIO_MATCH_CASEFOLD) != 0;
    if (pattern.find_first_of("*?") == std::string::npos)
    {
        bool equal = pattern.size() == name.size();
        for (size_t i = 0; equal && i < pattern.size(); ++i)
            equal = Same(pattern[i], name[i], fold);
        Check(result == (equal ? 1 : 0));
    }
    if ((metaMatch & (ZBIO_MATCH_LEADING_DOT | ZBIO_MATCH_SEPARATOR)) ==
        (ZBIO_MATCH_LEADING_DOT | ZBIO_MATCH_SEPARATOR))
    {
        std::string memo((pattern.size() + 1) * (name.size() + 1), '\0');
        Check(result == Backtrack(pattern, 0, name, 0, fold, memo));
    }
    // A match never gets lost by allowing more.
    if (result)
        Check(zbIOFNMatch(pattern.c_str(), name.c_str(), metaMatch | 0x60) == 1);
    return 0;
}
