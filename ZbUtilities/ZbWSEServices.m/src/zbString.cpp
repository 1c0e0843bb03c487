#include "zbString.h"
#include "zbFileLines.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "QORFatalError.h"
#include "zbFileOperations.h"
#include "zbStrFunctions.h"

namespace
{
const char* const kSource = "ZbUtilities/ZbWSEServices.m/src/zbString";

// The formatting buffer of IntToString, shared by every string.
char gIntToStringBuffer[32];

unsigned int ConstructionSize(unsigned int iLength)
{
    return ((iLength + 1) / 4 + 1) * 4;
}
unsigned int GrowthSize(unsigned int iLength)
{
    return ((iLength + 1) / 16 + 1) * 16;
}

char* ZeroBlock(unsigned int iSize)
{
    char* block = static_cast<char*>(std::calloc(iSize, 1));
    if (!block)
        QORFatalError("AllocationFailed:_Buffer", kSource, __LINE__);
    return block;
}

bool IsBlank(char iChar)
{
    return iChar == ' ' || iChar == '\t';
}
} // namespace

// Construction and assignment

zbString::zbString() : zbStringBasic(), _Buffer(nullptr), _BufferSize(0), _Offset(0)
{
    NewBlock(4);
}

zbString::zbString(const char* iText) : zbString()
{
    if (iText)
        Assign(iText, static_cast<unsigned int>(std::strlen(iText)));
}

zbString::zbString(const zbString& iOther)
    : zbStringBasic(), _Buffer(nullptr), _BufferSize(0), _Offset(0)
{
    NewBlock(ConstructionSize(iOther._StringLength));
    std::memcpy(_Buffer, iOther.Begin(), iOther._StringLength);
    _StringLength = iOther._StringLength;
}

zbString::zbString(const zbStringBasic& iOther)
    : zbStringBasic(), _Buffer(nullptr), _BufferSize(0), _Offset(0)
{
    unsigned int length = iOther.CastToCharPtr() ? iOther.GetLength() : 0;
    NewBlock(ConstructionSize(length));
    if (length)
        std::memcpy(_Buffer, iOther.CastToCharPtr(), length);
    _StringLength = length;
}

zbString::zbString(const QORString& iOther)
    : zbStringBasic(), _Buffer(nullptr), _BufferSize(0), _Offset(0)
{
    unsigned int length = static_cast<unsigned int>(iOther.Length());
    NewBlock(ConstructionSize(length));
    std::memcpy(_Buffer, iOther.CastToCharPtr(), length);
    _StringLength = length;
}

zbString::~zbString()
{
    std::free(_Buffer);
}

void zbString::NewBlock(unsigned int iSize)
{
    std::free(_Buffer);
    _Buffer = ZeroBlock(iSize);
    _BufferSize = iSize;
    _Offset = 0;
    _String = _Buffer;
    _StringLength = 0;
    Changed();
}

void zbString::Reset()
{
    NewBlock(4);
}

void zbString::Assign(const char* iText, unsigned int iLength)
{
    if (iLength < _BufferSize)
    {
        // The text may lie inside this buffer: move it first, then clear the rest.
        if (iLength)
            std::memmove(_Buffer, iText, iLength);
        std::memset(_Buffer + iLength, 0, _BufferSize - iLength);
    }
    else
    {
        unsigned int size = GrowthSize(iLength);
        char* block = ZeroBlock(size);
        std::memcpy(block, iText, iLength);
        std::free(_Buffer);
        _Buffer = block;
        _BufferSize = size;
    }
    _Offset = 0;
    _String = _Buffer;
    _StringLength = iLength;
    Changed();
}

zbString& zbString::operator=(const char* iText)
{
    Assign(iText ? iText : "", iText ? static_cast<unsigned int>(std::strlen(iText)) : 0);
    return *this;
}

zbString& zbString::operator=(const zbString& iOther)
{
    if (this != &iOther)
        Assign(iOther.Begin(), iOther._StringLength);
    return *this;
}

zbString& zbString::operator=(const zbString* iOther)
{
    if (!iOther)
        return *this = "";
    return *this = *iOther;
}

zbString& zbString::operator=(const zbStringBasic& iOther)
{
    if (this != &iOther)
        Assign(iOther.CastToCharPtr() ? iOther.CastToCharPtr() : "",
               iOther.CastToCharPtr() ? iOther.GetLength() : 0);
    return *this;
}

zbString& zbString::operator=(const zbStringBasic* iOther)
{
    if (!iOther)
        return *this = "";
    return *this = *iOther;
}

zbString& zbString::operator=(const QORString& iOther)
{
    Assign(iOther.CastToCharPtr(), static_cast<unsigned int>(iOther.Length()));
    return *this;
}

// Appending

void zbString::Rewind()
{
    if (_Offset == 0)
        return;
    std::memmove(_Buffer, _Buffer + _Offset, _StringLength);
    std::memset(_Buffer + _StringLength, 0, _BufferSize - _StringLength);
    _Offset = 0;
    _String = _Buffer;
}

void zbString::AppendBytes(const char* iText, unsigned int iLength)
{
    if (!iText || iLength == 0)
        return;
    if (iText >= _Buffer && iText < _Buffer + _BufferSize)
    {
        // Appending a part of this very string.
        std::string copy(iText, iLength);
        AppendBytes(copy.data(), iLength);
        return;
    }
    Rewind();
    unsigned int length = _StringLength + iLength;
    if (length >= _BufferSize)
    {
        unsigned int size = GrowthSize(length);
        char* block = ZeroBlock(size);
        std::memcpy(block, _Buffer, _StringLength);
        std::free(_Buffer);
        _Buffer = block;
        _BufferSize = size;
        _String = _Buffer;
    }
    std::memcpy(_Buffer + _StringLength, iText, iLength);
    _Buffer[length] = 0;
    _StringLength = length;
    Changed();
}

zbString& zbString::Append(const char* iText)
{
    if (iText)
        AppendBytes(iText, static_cast<unsigned int>(std::strlen(iText)));
    return *this;
}

zbString& zbString::Append(const zbString& iText)
{
    AppendBytes(iText.Begin(), iText._StringLength);
    return *this;
}

zbString& zbString::Append(const zbStringBasic& iText)
{
    AppendBytes(iText.CastToCharPtr(), iText.GetLength());
    return *this;
}

zbString& zbString::Append(const QORString& iText)
{
    AppendBytes(iText.CastToCharPtr(), static_cast<unsigned int>(iText.Length()));
    return *this;
}

zbString& zbString::IntToString(long long iValue)
{
    std::snprintf(gIntToStringBuffer, sizeof gIntToStringBuffer, "%lld", iValue);
    return *this = gIntToStringBuffer;
}

zbString& zbString::IntToString(long iValue)
{
    return IntToString(static_cast<long long>(iValue));
}

zbString& zbString::IntToString(int iValue)
{
    return IntToString(static_cast<long long>(iValue));
}

// Editing

void zbString::Trunk(unsigned int iLength)
{
    if (iLength >= _StringLength)
        return;
    Text()[iLength] = 0;
    _StringLength = iLength;
    Changed();
}

zbString& zbString::ReduceString(unsigned int iStart, unsigned int iMaxLength)
{
    if (iStart >= _StringLength)
        return *this;
    unsigned int rest = _StringLength - iStart;
    _Offset += iStart;
    _String = Text();
    _StringLength = iMaxLength > 0 && iMaxLength < rest ? iMaxLength : rest;
    Text()[_StringLength] = 0;
    Changed();
    return *this;
}

int zbString::ReplaceSubString(const char* iOld, const char* iNew, unsigned int iStart)
{
    size_t oldLength = iOld ? std::strlen(iOld) : 0;
    if (oldLength == 0 || iStart > _StringLength || oldLength > _StringLength - iStart)
        return -1;
    const char* text = Text();
    const char* found = nullptr;
    for (unsigned int i = iStart; i + oldLength <= _StringLength; ++i)
        if (std::memcmp(text + i, iOld, oldLength) == 0)
        {
            found = text + i;
            break;
        }
    if (!found)
        return -1;
    unsigned int pos = static_cast<unsigned int>(found - text);
    unsigned int newLength = iNew ? static_cast<unsigned int>(std::strlen(iNew)) : 0;
    unsigned int restLength = _StringLength - pos - static_cast<unsigned int>(oldLength);
    unsigned int length = pos + newLength + restLength;
    unsigned int size = GrowthSize(length);
    char* block = ZeroBlock(size);
    std::memcpy(block, text, pos);
    if (newLength)
        std::memcpy(block + pos, iNew, newLength);
    std::memcpy(block + pos + newLength, found + oldLength, restLength);
    std::free(_Buffer);
    _Buffer = block;
    _BufferSize = size;
    _Offset = 0;
    _String = _Buffer;
    _StringLength = length;
    Changed();
    return static_cast<int>(pos);
}

void zbString::ReplaceChar(unsigned int iPos, char iChar)
{
    if (iPos >= _StringLength)
        return;
    Text()[iPos] = iChar;
    if (iChar == 0)
        _StringLength = iPos;
    Changed();
}

void zbString::ReplaceAllChar(char iFrom, char iTo)
{
    char* text = Text();
    for (unsigned int i = 0; i < _StringLength; ++i)
        if (text[i] == iFrom)
            text[i] = iTo;
    if (iTo == 0)
        _StringLength = static_cast<unsigned int>(std::strlen(text));
    Changed();
}

void zbString::DosifyPath()
{
    ReplaceAllChar('/', '\\');
}

void zbString::UnixifyPath()
{
    ReplaceAllChar('\\', '/');
}

void zbString::StripSpacesOutsideString()
{
    unsigned int skip = 0;
    while (skip < _StringLength && IsBlank(Text()[skip]))
        ++skip;
    _Offset += skip;
    _String = Text();
    _StringLength -= skip;

    char* text = Text();
    const size_t n = zbCompactBlanks(text, _StringLength);
    std::memset(text + n, 0, _StringLength - n);
    _StringLength = static_cast<unsigned int>(std::strlen(text));
    Changed();
}

void zbString::StripInternal(int iMode, char iChar)
{
    if (iMode != 2)
    {
        unsigned int skip = 0;
        while (skip < _StringLength && Text()[skip] == iChar)
            ++skip;
        _Offset += skip;
        _String = Text();
        _StringLength -= skip;
    }
    if (iMode != 1)
    {
        char* text = Text();
        while (_StringLength > 1 && text[_StringLength - 1] == iChar)
            text[--_StringLength] = 0;
    }
    Changed();
}

void zbString::ToLower(unsigned int iStart)
{
    char* text = Text();
    for (unsigned int i = iStart; i < _StringLength; ++i)
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    Changed();
}

void zbString::ToUpper(unsigned int iStart)
{
    char* text = Text();
    for (unsigned int i = iStart; i < _StringLength; ++i)
        text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    Changed();
}

// Lists of strings

int zbLISTPOfzbString_FromFile(const char* iPath, QORListPtrzbString& ioList, int iSkipEmpty,
                               int iStripCR)
{
    int rc = zbForEachFileLine(
        iPath, iSkipEmpty, iStripCR,
        [&ioList](const char* start, int length)
        { ioList.Append(new zbString(zbStringBasic(start, static_cast<unsigned int>(length)))); });
    return rc < 0 ? -1 : ioList.Size();
}

namespace
{
// Calls iAdd(token) for each token of a copy of iText, up to the end or a
// token starting with a line feed.
template <class F> void Tokens(const char* iText, const char* iDelimiters, F iAdd)
{
    if (!iText)
        return;
    std::string copy(iText);
    char* state = nullptr;
    for (char* token = strtok_r(&copy[0], iDelimiters ? iDelimiters : "", &state);
         token && *token && *token != '\n'; token = strtok_r(nullptr, iDelimiters, &state))
        iAdd(token);
}
} // namespace

int zbLISTPOfzbString_FromStrtok(QORListPtrzbString& ioList, const char* iText,
                                 const char* iDelimiters)
{
    Tokens(iText, iDelimiters,
           [&ioList](const char* token) { ioList.Append(new zbString(token)); });
    return ioList.Size();
}

int zbLISTVOfzbString_FromStrtok(QORListValzbString& ioList, const char* iText,
                                 const char* iDelimiters)
{
    Tokens(iText, iDelimiters, [&ioList](const char* token) { ioList.Append(zbString(token)); });
    return ioList.Size();
}

int zbLISTVOfzbString_FromStrtok(QORListValQORString& ioList, const char* iText,
                                 const char* iDelimiters)
{
    Tokens(iText, iDelimiters, [&ioList](const char* token) { ioList.Append(QORString(token)); });
    return ioList.Size();
}

int zbLISTPOfzbString_QuickSort(const zbString* iA, const zbString* iB)
{
    return QORListPtrzbString::CompareNullsFirst(
        iA, iB, [](const zbString& a, const zbString& b) { return a.Compare(b); });
}

int zbLISTPOfzbString_Uniq(QORListPtrzbString& ioList)
{
    return ioList.DeleteDuplicates([](const zbString& a, const zbString& b)
                                   { return a.Compare(b) == 0; });
}

int zbLISTPOfzbString_Locate(const zbStringBasic& iText, const QORListPtrzbString& iList,
                             int iStart)
{
    if (iStart < 1 || iStart > iList.Size())
        return 0;
    for (int i = iStart; i <= iList.Size(); ++i)
        if (iList[i] && iList[i]->Compare(iText) == 0)
            return i;
    return 0;
}
