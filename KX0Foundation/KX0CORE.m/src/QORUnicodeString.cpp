#include "QORUnicodeString.h"

#include <cstdio>
#include <cstring>

namespace
{
const QORUnicodeChar kEscapedByteBase = 0xDC00;

// Decodes UTF-8, keeping each invalid byte as an escaped code point.
void DecodeUTF8(const char* iText, size_t iLength, std::u32string& oChars)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(iText);
    const unsigned char* end = p + iLength;
    oChars.reserve(oChars.size() + iLength);
    while (p < end)
    {
        unsigned char c = *p;
        if (c < 0x80)
        {
            oChars.push_back(c);
            ++p;
            continue;
        }
        int need = 0;
        QORUnicodeChar cp = 0, min = 0;
        if ((c & 0xE0) == 0xC0)
            need = 1, cp = c & 0x1F, min = 0x80;
        else if ((c & 0xF0) == 0xE0)
            need = 2, cp = c & 0x0F, min = 0x800;
        else if ((c & 0xF8) == 0xF0)
            need = 3, cp = c & 0x07, min = 0x10000;
        bool ok = need > 0 && end - p > need;
        for (int i = 1; ok && i <= need; ++i)
        {
            if ((p[i] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and values above U+10FFFF are not valid UTF-8.
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (ok)
        {
            oChars.push_back(cp);
            p += need + 1;
        }
        else
        {
            oChars.push_back(kEscapedByteBase + c);
            ++p;
        }
    }
}

// Appends the UTF-8 form of one code point; escaped bytes come back as themselves.
void EncodeUTF8(QORUnicodeChar iChar, std::string& oText)
{
    if (iChar >= kEscapedByteBase + 0x80 && iChar <= kEscapedByteBase + 0xFF)
        oText.push_back(static_cast<char>(iChar - kEscapedByteBase));
    else if (iChar < 0x80)
        oText.push_back(static_cast<char>(iChar));
    else if (iChar < 0x800)
    {
        oText.push_back(static_cast<char>(0xC0 | (iChar >> 6)));
        oText.push_back(static_cast<char>(0x80 | (iChar & 0x3F)));
    }
    else if (iChar < 0x10000)
    {
        oText.push_back(static_cast<char>(0xE0 | (iChar >> 12)));
        oText.push_back(static_cast<char>(0x80 | ((iChar >> 6) & 0x3F)));
        oText.push_back(static_cast<char>(0x80 | (iChar & 0x3F)));
    }
    else if (iChar <= 0x10FFFF)
    {
        oText.push_back(static_cast<char>(0xF0 | (iChar >> 18)));
        oText.push_back(static_cast<char>(0x80 | ((iChar >> 12) & 0x3F)));
        oText.push_back(static_cast<char>(0x80 | ((iChar >> 6) & 0x3F)));
        oText.push_back(static_cast<char>(0x80 | (iChar & 0x3F)));
    }
    else
        oText.append("\xEF\xBF\xBD"); // not a code point: the replacement character
}
} // namespace

QORUnicodeString::QORUnicodeString(const char* iUTF8)
{
    if (iUTF8)
        DecodeUTF8(iUTF8, std::strlen(iUTF8), _Chars);
}

QORUnicodeString::QORUnicodeString(const char* iUTF8, size_t iLength)
{
    if (iUTF8)
        DecodeUTF8(iUTF8, iLength, _Chars);
}

QORUnicodeString::QORUnicodeString(const QORString& iText)
{
    DecodeUTF8(iText.CastToCharPtr(), static_cast<size_t>(iText.Length()), _Chars);
}

QORUnicodeString::QORUnicodeString(QORUnicodeChar iChar, int iCount)
{
    if (iCount > 0)
        _Chars.assign(static_cast<size_t>(iCount), iChar);
}

QORUnicodeString& QORUnicodeString::operator=(const char* iUTF8)
{
    _Chars.clear();
    if (iUTF8)
        DecodeUTF8(iUTF8, std::strlen(iUTF8), _Chars);
    return *this;
}

QORUnicodeString QORUnicodeString::operator+(const QORUnicodeString& iOther) const
{
    QORUnicodeString result(*this);
    result._Chars += iOther._Chars;
    return result;
}

QORUnicodeString& QORUnicodeString::Append(const QORUnicodeString& iOther)
{
    _Chars += iOther._Chars;
    return *this;
}

QORUnicodeString& QORUnicodeString::Append(const char* iUTF8)
{
    if (iUTF8)
        DecodeUTF8(iUTF8, std::strlen(iUTF8), _Chars);
    return *this;
}

QORUnicodeString& QORUnicodeString::Append(QORUnicodeChar iChar)
{
    _Chars.push_back(iChar);
    return *this;
}

QORUnicodeString& QORUnicodeString::Insert(int iPos, const QORUnicodeString& iOther)
{
    if (iPos < 0)
        iPos = 0;
    if (static_cast<size_t>(iPos) > _Chars.size())
        iPos = GetLengthInChar();
    _Chars.insert(static_cast<size_t>(iPos), iOther._Chars);
    return *this;
}

QORUnicodeString QORUnicodeString::SubString(int iStart, int iCount) const
{
    QORUnicodeString result;
    if (iStart < 0)
        iStart = 0;
    if (static_cast<size_t>(iStart) < _Chars.size())
        result._Chars = _Chars.substr(static_cast<size_t>(iStart),
                                      iCount < 0 ? std::u32string::npos : static_cast<size_t>(iCount));
    return result;
}

int QORUnicodeString::ReplaceAll(const QORUnicodeString& iOld, const QORUnicodeString& iNew)
{
    if (iOld._Chars.empty() || _Chars.size() < iOld._Chars.size())
        return 0;
    size_t pos = _Chars.find(iOld._Chars);
    if (pos == std::u32string::npos)
        return 0;
    std::u32string out;
    out.reserve(_Chars.size() + iNew._Chars.size());
    size_t from = 0;
    int count = 0;
    while (pos != std::u32string::npos)
    {
        out.append(_Chars, from, pos - from);
        out += iNew._Chars;
        from = pos + iOld._Chars.size();
        ++count;
        pos = _Chars.find(iOld._Chars, from);
    }
    out.append(_Chars, from, std::u32string::npos);
    _Chars.swap(out);
    return count;
}

int QORUnicodeString::ReplaceSubString(int iPos, int iCount, const QORUnicodeString& iNew)
{
    if (iPos < 0 || static_cast<size_t>(iPos) > _Chars.size())
        return 1;
    if (iCount < 0)
        iCount = 0;
    _Chars.replace(static_cast<size_t>(iPos), static_cast<size_t>(iCount), iNew._Chars);
    return 0;
}

int QORUnicodeString::SearchSubString(const QORUnicodeString& iSub, int iStart) const
{
    if (iStart < 0 || static_cast<size_t>(iStart) > _Chars.size())
        return -1;
    size_t pos = _Chars.find(iSub._Chars, static_cast<size_t>(iStart));
    return pos == std::u32string::npos ? -1 : static_cast<int>(pos);
}

int QORUnicodeString::BuildFromNum(long long iValue, const char* iFormat)
{
    char buffer[128];
    int n = std::snprintf(buffer, sizeof buffer, iFormat ? iFormat : "%lld", iValue);
    if (n < 1)
        return n;
    *this = buffer;
    return n;
}

std::string QORUnicodeString::ConvertToUTF8() const
{
    std::string out;
    out.reserve(_Chars.size());
    for (QORUnicodeChar c : _Chars)
        EncodeUTF8(c, out);
    return out;
}

QORString QORUnicodeString::ConvertToChar() const
{
    return QORString(ConvertToUTF8());
}

int QORUnicodeString::ConvertToUTF8(char* oBuffer, int iSize) const
{
    if (!oBuffer || iSize < 1)
        return 0;
    std::string one;
    int used = 0;
    for (QORUnicodeChar c : _Chars)
    {
        one.clear();
        EncodeUTF8(c, one);
        if (used + static_cast<int>(one.size()) > iSize - 1)
            break;
        std::memcpy(oBuffer + used, one.data(), one.size());
        used += static_cast<int>(one.size());
    }
    oBuffer[used] = 0;
    return used;
}

unsigned int QORUnicodeString::ComputeHashKey() const
{
    return QORHashBytes(reinterpret_cast<const char*>(_Chars.data()),
                        _Chars.size() * sizeof(QORUnicodeChar));
}
