#include "zbStringBasic.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zbString.h"

namespace
{
// strncmp of two byte ranges, each taken as ending at its length.
int CompareBytes(const char* iA, unsigned int iLengthA, const char* iB, unsigned int iLengthB,
                 unsigned int iLimit)
{
    for (unsigned int i = 0; i < iLimit; ++i)
    {
        unsigned char a = i < iLengthA ? static_cast<unsigned char>(iA[i]) : 0;
        unsigned char b = i < iLengthB ? static_cast<unsigned char>(iB[i]) : 0;
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
    return 0;
}

unsigned int LengthOf(const char* iText)
{
    return iText ? static_cast<unsigned int>(std::strlen(iText)) : 0;
}

// First index >= iFrom where iSub occurs in iText, or -1.
int FindBytes(const char* iText, unsigned int iLength, const char* iSub, unsigned int iSubLength,
              unsigned int iFrom)
{
    if (iSubLength == 0 || iSubLength > iLength)
        return -1;
    for (unsigned int i = iFrom; i <= iLength - iSubLength; ++i)
        if (iText[i] == iSub[0] && std::memcmp(iText + i, iSub, iSubLength) == 0)
            return static_cast<int>(i);
    return -1;
}
} // namespace

unsigned int zbStringBasic_ComputeHashKey(const char* iText, unsigned int iLength)
{
    if (!iText || iLength == 0)
        return 0;
    // Characters are signed bytes; the sums wrap around in 32 bits.
    auto c = [iText](unsigned int k)
    { return static_cast<unsigned int>(static_cast<int>(static_cast<signed char>(iText[k]))); };
    unsigned int key = 0;
    unsigned int previous = '1';
    for (unsigned int k = 0; k + 1 < iLength; ++k)
    {
        key += previous * c(k) * (k + 1) * c(k + 1);
        previous = c(k);
    }
    key += previous * c(iLength - 1) * iLength;
    return key;
}

zbStringBasic::zbStringBasic(const char* iText)
    : _String(iText), _StringLength(LengthOf(iText)), _HashKey(0)
{
}

zbStringBasic::zbStringBasic(const char* iText, unsigned int iLength)
    : _String(iText), _StringLength(iText ? iLength : 0), _HashKey(0)
{
}

zbStringBasic::~zbStringBasic() = default;

zbStringBasic& zbStringBasic::operator=(const char* iText)
{
    _String = iText;
    _StringLength = LengthOf(iText);
    _HashKey = 0;
    return *this;
}

zbStringBasic& zbStringBasic::operator=(const zbStringBasic& iOther)
{
    _String = iOther._String;
    _StringLength = iOther._StringLength;
    _HashKey = iOther._HashKey;
    return *this;
}

unsigned int zbStringBasic::ComputeHashKey() const
{
    if (_HashKey == 0)
        _HashKey = zbStringBasic_ComputeHashKey(_String, _StringLength);
    return _HashKey;
}

int zbStringBasic::ToInt() const
{
    return std::atoi(std::string(Begin(), _StringLength).c_str());
}

long zbStringBasic::ToLong() const
{
    return std::atol(std::string(Begin(), _StringLength).c_str());
}

int zbStringBasic::Compare(const char* iOther) const
{
    return CompareBytes(Begin(), _StringLength, iOther ? iOther : "", LengthOf(iOther), UINT_MAX);
}

int zbStringBasic::Compare(const zbStringBasic& iOther) const
{
    return CompareBytes(Begin(), _StringLength, iOther.Begin(), iOther._StringLength, UINT_MAX);
}

int zbStringBasic::Compare(const char* iOther, unsigned int iCount) const
{
    return CompareBytes(Begin(), _StringLength, iOther ? iOther : "", LengthOf(iOther), iCount);
}

int zbStringBasic::Compare(const zbStringBasic& iOther, unsigned int iCount) const
{
    return CompareBytes(Begin(), _StringLength, iOther.Begin(), iOther._StringLength, iCount);
}

int zbStringBasic::SearchSubString(const zbStringBasic& iSub, unsigned int iStart, int iMode) const
{
    if (_StringLength == 0 || iSub._StringLength == 0 || iStart > _StringLength)
        return -1;
    if (iMode == 1)
        return FindBytes(Begin(), _StringLength, iSub.Begin(), iSub._StringLength, iStart);
    int first = FindBytes(Begin(), _StringLength, iSub.Begin(), iSub._StringLength, 0);
    return first >= 0 && static_cast<unsigned int>(first) <= iStart ? first : -1;
}

zbString& zbStringBasic::NewSubString(zbString& oOut, unsigned int iStart,
                                      unsigned int iMaxLength) const
{
    if (iStart >= _StringLength)
    {
        oOut = "";
        return oOut;
    }
    unsigned int length = _StringLength - iStart;
    if (iMaxLength > 0 && iMaxLength < _StringLength && iMaxLength < length)
        length = iMaxLength;
    oOut = zbStringBasic(Begin() + iStart, length);
    return oOut;
}
