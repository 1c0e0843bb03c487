#include "zb32BitField.h"

#include <cstring>

zb32BitField& zb32BitField::operator=(const unsigned long& iValue)
{
    _Value = iValue;
    return *this;
}

zb32BitField& zb32BitField::operator=(const char* iText)
{
    _Value = 0;
    if (!iText)
        return *this;
    size_t length = std::strlen(iText);
    for (size_t k = 0; k < length && k < 32; ++k)
        if (iText[length - 1 - k] == '1')
            _Value |= 1ul << k;
    return *this;
}

int zb32BitField::operator[](const unsigned long& iBit) const
{
    if (iBit < 1 || iBit > 32)
        return 0;
    return (_Value >> (iBit - 1)) & 1ul ? 1 : 0;
}

zb32BitField& zb32BitField::operator()(const unsigned long& iBit, const unsigned int& iValue)
{
    return (*this)(iBit, 1, iValue);
}

zb32BitField& zb32BitField::operator()(const unsigned long& iFirst, const unsigned long& iCount,
                                       const unsigned int& iValue)
{
    if (iFirst < 1 || iFirst > 32 || iCount > 32 || iFirst + iCount - 1 > 32)
        return *this;
    unsigned long mask = iCount ? ((0xFFFFFFFFul >> (32 - iCount)) << (iFirst - 1)) : 0;
    if (iValue)
        _Value |= mask;
    else
        _Value ^= mask;
    return *this;
}

char* zb32BitField::operator>>(char* oText) const
{
    if (!oText)
        return oText;
    for (int bit = 32; bit >= 1; --bit)
        oText[32 - bit] = (_Value >> (bit - 1)) & 1ul ? '1' : '0';
    return oText;
}
