#include "zbNewString.h"
#include "zbFileLines.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zbFileOperations.h"
#include "zbStrFunctions.h"

namespace
{
const int kInlineSize = 32;
} // namespace

zbNewString::zbNewString() : _Data(_Buffer), _Length(0)
{
    _Buffer[0] = 0;
}

zbNewString::zbNewString(const char* iText) : zbNewString()
{
    if (iText)
        SetText(iText, static_cast<int>(std::strlen(iText)));
}

zbNewString::zbNewString(const zbNewString& iOther) : zbNewString()
{
    SetText(iOther._Data, iOther._Length);
}

zbNewString::zbNewString(const zbNewString& iText, int iCount) : zbNewString()
{
    if (iText._Length == 0 || iCount < 1)
        return;
    // A length beyond what the string can count gives the empty string.
    long long total = static_cast<long long>(iText._Length) * iCount;
    if (total > 0x7FFFFFFE)
        return;
    int length = static_cast<int>(total);
    Reserve(length, 0);
    for (int i = 0; i < iCount; ++i)
        std::memcpy(_Data + i * iText._Length, iText._Data, static_cast<size_t>(iText._Length));
    _Data[length] = 0;
}

zbNewString::~zbNewString()
{
    if (_Data != _Buffer)
        std::free(_Data);
}

void zbNewString::Reserve(int iLength, int iKeep)
{
    if (iLength < kInlineSize)
    {
        if (_Data != _Buffer)
        {
            std::memmove(_Buffer, _Data, static_cast<size_t>(iKeep));
            std::free(_Data);
            _Data = _Buffer;
        }
    }
    else if (_Data == _Buffer)
    {
        char* block = static_cast<char*>(std::malloc(static_cast<size_t>(iLength) + 1));
        std::memcpy(block, _Buffer, static_cast<size_t>(iKeep));
        _Data = block;
    }
    else
        _Data = static_cast<char*>(std::realloc(_Data, static_cast<size_t>(iLength) + 1));
    _Length = iLength;
}

void zbNewString::SetText(const char* iText, int iLength)
{
    if (iText >= _Data && iText <= _Data + _Length)
    {
        // Text taken from this very string: move it to the front first.
        std::memmove(_Data, iText, static_cast<size_t>(iLength));
        Reserve(iLength, iLength);
    }
    else
    {
        Reserve(iLength, 0);
        std::memcpy(_Data, iText, static_cast<size_t>(iLength));
    }
    _Data[iLength] = 0;
}

zbNewString& zbNewString::operator=(const char* iText)
{
    if (!iText)
        Reset();
    else
        SetText(iText, static_cast<int>(std::strlen(iText)));
    return *this;
}

zbNewString& zbNewString::operator=(const zbNewString& iOther)
{
    if (this != &iOther)
        SetText(iOther._Data, iOther._Length);
    return *this;
}

void zbNewString::Reset()
{
    if (_Data != _Buffer)
        std::free(_Data);
    _Data = _Buffer;
    _Length = 0;
    _Buffer[0] = 0;
}

int zbNewString::StrCompare(const char* iOther) const
{
    return std::strcmp(_Data, iOther ? iOther : "");
}

int zbNewString::StrCompare(const zbNewString& iOther) const
{
    return std::strcmp(_Data, iOther._Data);
}

int zbNewString::StrCompare(const char* iOther, int iCount) const
{
    return std::strncmp(_Data, iOther ? iOther : "", iCount > 0 ? static_cast<size_t>(iCount) : 0);
}

int zbNewString::StrCompare(const zbNewString& iOther, int iCount) const
{
    return std::strncmp(_Data, iOther._Data, iCount > 0 ? static_cast<size_t>(iCount) : 0);
}

bool zbNewString::operator==(const zbNewString& iOther) const
{
    return _Length == iOther._Length && std::strcmp(_Data, iOther._Data) == 0;
}

int zbNewString::CompareByCase(const zbNewString& iOther) const
{
    if (_Length != iOther._Length)
        return 0;
    if (std::memcmp(_Data, iOther._Data, static_cast<size_t>(_Length)) == 0)
        return 1;
    for (int i = 0; i < _Length; ++i)
        if (std::tolower(static_cast<unsigned char>(_Data[i])) !=
            std::tolower(static_cast<unsigned char>(iOther._Data[i])))
            return 0;
    return 2;
}

zbNewString& zbNewString::Append(const char* iText)
{
    return iText ? Append(iText, static_cast<int>(std::strlen(iText))) : *this;
}

zbNewString& zbNewString::Append(const char* iText, int iLength)
{
    if (!iText || iLength <= 0)
        return *this;
    int old = _Length;
    if (iText >= _Data && iText <= _Data + _Length)
    {
        zbNewString copy;
        copy.SetText(iText, iLength);
        return Append(copy._Data, copy._Length);
    }
    Reserve(old + iLength, old);
    std::memcpy(_Data + old, iText, static_cast<size_t>(iLength));
    _Data[_Length] = 0;
    return *this;
}

zbNewString& zbNewString::Append(const zbNewString& iText)
{
    return Append(iText._Data, iText._Length);
}

zbNewString& zbNewString::operator+=(int iValue)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d", iValue);
    return Append(text);
}

zbNewString& zbNewString::operator+=(long iValue)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld", iValue);
    return Append(text);
}

zbNewString& zbNewString::operator+=(unsigned long iValue)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lu", iValue);
    return Append(text);
}

zbNewString zbNewString::operator+(const zbNewString& iOther) const
{
    zbNewString result(*this);
    result.Append(iOther);
    return result;
}

zbNewString zbNewString::operator+(const char* iOther) const
{
    zbNewString result(*this);
    result.Append(iOther);
    return result;
}

template <class T> int zbNewString::FormatNum(T iValue, const char* iFormat)
{
    if (!iFormat)
        return -1;
    // One number: a long double in %f form is the longest, and stays far
    // below 5000 characters.
    char text[5120];
    int n = std::snprintf(text, sizeof text, iFormat, iValue);
    if (n < 1)
        return n;
    if (n >= static_cast<int>(sizeof text))
        n = static_cast<int>(sizeof text) - 1;
    SetText(text, n);
    return n;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
int zbNewString::BuildFromNum(int iValue, const char* iFormat)
{
    return FormatNum(iValue, iFormat);
}
int zbNewString::BuildFromNum(long iValue, const char* iFormat)
{
    return FormatNum(iValue, iFormat);
}
int zbNewString::BuildFromNum(unsigned long iValue, const char* iFormat)
{
    return FormatNum(iValue, iFormat);
}
int zbNewString::BuildFromNum(double iValue, const char* iFormat)
{
    return FormatNum(iValue, iFormat);
}
int zbNewString::BuildFromNum(long double iValue, const char* iFormat)
{
    return FormatNum(iValue, iFormat);
}
int zbNewString::BuildFromNum(long long iValue, const char* iFormat)
{
    return FormatNum(iValue, iFormat);
}
int zbNewString::BuildFromNum(unsigned long long iValue, const char* iFormat)
{
    return FormatNum(iValue, iFormat);
}

#define ZB_CONVERT(Type)                                                                           \
    int zbNewString::ConvertToNum(Type* oValue, const char* iFormat) const                         \
    {                                                                                              \
        return oValue && iFormat ? std::sscanf(_Data, iFormat, oValue) : -1;                       \
    }
ZB_CONVERT(int)
ZB_CONVERT(long)
ZB_CONVERT(unsigned long)
ZB_CONVERT(double)
ZB_CONVERT(long double)
ZB_CONVERT(long long)
ZB_CONVERT(unsigned long long)
#undef ZB_CONVERT
#pragma GCC diagnostic pop

void zbNewString::Resize(int iNewLength, char iFill, int iTruncate)
{
    if (iNewLength < 0 || iNewLength == _Length)
        return;
    if (iNewLength > _Length)
    {
        if (iFill == 0)
            return;
        int old = _Length;
        Reserve(iNewLength, old);
        std::memset(_Data + old, iFill, static_cast<size_t>(iNewLength - old));
        _Data[iNewLength] = 0;
    }
    else if (iTruncate)
    {
        _Length = iNewLength;
        _Data[iNewLength] = 0;
    }
}

zbNewString& zbNewString::ToUpper()
{
    for (int i = 0; i < _Length; ++i)
        _Data[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(_Data[i])));
    return *this;
}

zbNewString& zbNewString::ToLower()
{
    for (int i = 0; i < _Length; ++i)
        _Data[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(_Data[i])));
    return *this;
}

int zbNewString::FindPosition(const zbNewString& iSub, int iStart) const
{
    if (iStart < 0 || iStart > _Length || iSub._Length > _Length - iStart)
        return -1;
    for (int i = iStart; i + iSub._Length <= _Length; ++i)
        if (std::memcmp(_Data + i, iSub._Data, static_cast<size_t>(iSub._Length)) == 0)
            return i;
    return -1;
}

int zbNewString::SearchSubString(const zbNewString& iSub, int iStart, int iMode) const
{
    if (_Length == 0 || iSub._Length == 0 || iStart < 0 || iStart >= _Length)
        return -1;
    size_t n = static_cast<size_t>(iSub._Length);
    if (iMode == 1)
    {
        for (int i = iStart; i + iSub._Length <= _Length; ++i)
            if (std::memcmp(_Data + i, iSub._Data, n) == 0)
                return i;
        return -1;
    }
    for (int i = _Length - iSub._Length - iStart; i >= 0; --i)
        if (std::memcmp(_Data + i, iSub._Data, n) == 0)
            return i;
    return -1;
}

void zbNewString::ReplaceSubString(int iPos, int iCount, const zbNewString& iReplacement)
{
    if (_Length == 0 || iPos < 0 || iPos > _Length || iCount < 0)
        return;
    if (iCount > _Length - iPos)
        iCount = _Length - iPos;
    zbNewString result;
    int length = _Length - iCount + iReplacement._Length;
    result.Reserve(length, 0);
    std::memcpy(result._Data, _Data, static_cast<size_t>(iPos));
    std::memcpy(result._Data + iPos, iReplacement._Data, static_cast<size_t>(iReplacement._Length));
    std::memcpy(result._Data + iPos + iReplacement._Length, _Data + iPos + iCount,
                static_cast<size_t>(_Length - iPos - iCount));
    result._Data[length] = 0;
    *this = result;
}

int zbNewString::ReplaceSubString(const zbNewString& iOld, const zbNewString& iNew)
{
    int pos = FindPosition(iOld, 0);
    if (pos >= 0 && iOld._Length > 0)
        ReplaceSubString(pos, iOld._Length, iNew);
    return iOld._Length > 0 ? pos : -1;
}

void zbNewString::Remove(int iPos, int iCount)
{
    ReplaceSubString(iPos, iCount, zbNewString());
}

void zbNewString::Insert(int iPos, const zbNewString& iText)
{
    ReplaceSubString(iPos, 0, iText);
}

void zbNewString::ReplaceChar(int iPos, char iChar)
{
    if (iPos < 0 || iPos >= _Length)
        return;
    _Data[iPos] = iChar;
    if (iChar == 0)
        _Length = iPos;
}

void zbNewString::ReplaceAllChar(char iFrom, char iTo)
{
    for (int i = 0; i < _Length; ++i)
        if (_Data[i] == iFrom)
            _Data[i] = iTo;
    if (iTo == 0)
        _Length = static_cast<int>(std::strlen(_Data));
}

zbNewString zbNewString::Strip(int iMode, char iChar) const
{
    if (_Length == 0)
        return *this;
    zbNewString result;
    if (iMode == 4)
    {
        result.Reserve(_Length, 0);
        int n = 0;
        for (int i = 0; i < _Length; ++i)
            if (_Data[i] != iChar)
                result._Data[n++] = _Data[i];
        result._Data[n] = 0;
        result.SetText(result._Data, n);
        return result;
    }
    int begin = 0, end = _Length;
    if (iMode & 1)
        while (begin < end && _Data[begin] == iChar)
            ++begin;
    if (iMode & 2)
        while (end > begin && _Data[end - 1] == iChar)
            --end;
    result.SetText(_Data + begin, end - begin);
    return result;
}

void zbNewString::StripSpacesOutsideString()
{
    _Data[zbCompactBlanks(_Data, static_cast<size_t>(_Length))] = 0;
    SetText(_Data, static_cast<int>(std::strlen(_Data)));
}

zbNewString zbNewString::SubString(int iStart, int iCount) const
{
    if (iStart < 0 || iCount < 1 || iCount > _Length - iStart)
        return *this;
    zbNewString result;
    result.SetText(_Data + iStart, iCount);
    return result;
}

zbNewString& zbNewString::ReduceString(int iStart, int iMaxLength)
{
    if (iStart < 0 || iStart >= _Length)
        return *this;
    int length = _Length - iStart;
    if (iMaxLength > 0 && iMaxLength < length)
        length = iMaxLength;
    SetText(_Data + iStart, length);
    return *this;
}

zbNewString& zbNewString::NewSubString(zbNewString& oOut, int iStart, int iMaxLength) const
{
    if (iStart >= 0 && iStart < _Length)
    {
        oOut = *this;
        oOut.ReduceString(iStart, iMaxLength);
    }
    else
        oOut.Reset();
    return oOut;
}

unsigned int zbNewString::ComputeHashKey() const
{
    return zbXorWordsHash(_Data, static_cast<size_t>(_Length));
}

// Lists of strings

namespace
{
// Calls iAdd(start, length) for each field of iText split at the delimiters.
template <class F>
void SplitFields(const char* iText, const char* iDelimiters, int iSkipEmpty, F iAdd)
{
    if (!iText || !*iText)
        return;
    const char* delimiters = iDelimiters ? iDelimiters : "";
    const char* start = iText;
    for (const char* p = iText;; ++p)
    {
        bool atEnd = *p == 0;
        if (atEnd || std::strchr(delimiters, *p))
        {
            int length = static_cast<int>(p - start);
            // An empty last field is never added.
            if (length > 0 || (!iSkipEmpty && !atEnd))
                iAdd(start, length);
            if (atEnd)
                return;
            start = p + 1;
        }
    }
}
} // namespace

int zbLISTPOfzbNewString_FromFile(const char* iPath, QORListPtrzbNewString& ioList, int iSkipEmpty,
                                  int iStripCR)
{
    int rc = zbForEachFileLine(iPath, iSkipEmpty, iStripCR,
                               [&ioList](const char* start, int length)
                               {
                                   zbNewString* s = new zbNewString();
                                   s->Append(start, length);
                                   ioList.Append(s);
                               });
    return rc < 0 ? -1 : ioList.Size();
}

int zbLISTVOfzbNewString_FromFile(const char* iPath, QORListValzbNewString& ioList, int iSkipEmpty,
                                  int iStripCR)
{
    int rc = zbForEachFileLine(iPath, iSkipEmpty, iStripCR,
                               [&ioList](const char* start, int length)
                               {
                                   zbNewString s;
                                   s.Append(start, length);
                                   ioList.Append(s);
                               });
    return rc < 0 ? -1 : ioList.Size();
}

int zbLISTPOfzbNewString_FromStrtok(QORListPtrzbNewString& ioList, const char* iText,
                                    const char* iDelimiters, int iSkipEmpty)
{
    SplitFields(iText, iDelimiters, iSkipEmpty,
                [&ioList](const char* start, int length)
                {
                    zbNewString* s = new zbNewString();
                    s->Append(start, length);
                    ioList.Append(s);
                });
    return ioList.Size();
}

int zbLISTVOfzbNewString_FromStrtok(QORListValzbNewString& ioList, const char* iText,
                                    const char* iDelimiters, int iSkipEmpty)
{
    SplitFields(iText, iDelimiters, iSkipEmpty,
                [&ioList](const char* start, int length)
                {
                    zbNewString s;
                    s.Append(start, length);
                    ioList.Append(s);
                });
    return ioList.Size();
}

int zbLISTPOfzbNewString_QuickSort(const zbNewString* iA, const zbNewString* iB)
{
    return QORListPtrzbNewString::CompareNullsFirst(
        iA, iB, [](const zbNewString& a, const zbNewString& b) { return a.StrCompare(b); });
}

int zbLISTPOfzbNewString_Uniq(QORListPtrzbNewString& ioList)
{
    return ioList.DeleteDuplicates([](const zbNewString& a, const zbNewString& b)
                                   { return a == b; });
}

int zbLISTPOfzbNewString_Locate(const zbNewString& iText, const QORListPtrzbNewString& iList,
                                int iStart)
{
    if (iStart < 1 || iStart > iList.Size())
        return 0;
    for (int i = iStart; i <= iList.Size(); ++i)
        if (iList[i] && *iList[i] == iText)
            return i;
    return 0;
}
