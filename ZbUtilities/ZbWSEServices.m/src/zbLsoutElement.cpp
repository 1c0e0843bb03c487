#include "zbLsoutElement.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbString.h"

namespace
{

bool IsSeparator(char iChar)
{
    return iChar == ' ' || iChar == '\t';
}

bool IsDigit(char iChar)
{
    return iChar >= '0' && iChar <= '9';
}

// Whether [iText, iEnd) is digits, one "@" and digits, checked from the end.
bool IsSizeAtTime(const char* iText, const char* iEnd)
{
    const char* p = iEnd;
    int digits = 0;
    while (p > iText && IsDigit(p[-1]))
        --p, ++digits;
    if (digits == 0 || p == iText || p[-1] != '@')
        return false;
    --p;
    digits = 0;
    while (p > iText && IsDigit(p[-1]))
        --p, ++digits;
    return digits > 0 && p == iText;
}

// The decimal value of the digits from ioText on; ioText moves past them.
// A value too large for the type reads as the largest one.
template <typename Value> Value ReadDigits(const char*& ioText)
{
    const Value largest = std::numeric_limits<Value>::max();
    Value value = 0;
    for (; IsDigit(*ioText); ++ioText)
    {
        const Value digit = *ioText - '0';
        value = value > (largest - digit) / 10 ? largest : value * 10 + digit;
    }
    return value;
}

// SIZE@TIME in [iText, iEnd) into the outputs; false (outputs untouched)
// when the text is anything else.
bool ReadSizeAtTime(const char* iText, const char* iEnd, long long& oSize, long& oTime)
{
    if (!IsSizeAtTime(iText, iEnd))
        return false;
    const char* p = iText;
    oSize = ReadDigits<long long>(p);
    ++p; // the "@"
    oTime = ReadDigits<long>(p);
    return true;
}

// The next field of [ioText, iEnd) (blanks and tabs between fields); false
// when there is none.
bool NextField(const char*& ioText, const char* iEnd, const char*& oField, unsigned int& oLength)
{
    while (ioText < iEnd && IsSeparator(*ioText))
        ++ioText;
    if (ioText == iEnd)
        return false;
    oField = ioText;
    while (ioText < iEnd && !IsSeparator(*ioText))
        ++ioText;
    oLength = static_cast<unsigned int>(ioText - oField);
    return true;
}
} // namespace

zbLsoutElement::zbLsoutElement()
    : _FileName(nullptr), _FileNameLength(0), _Extra(nullptr), _ExtraLength(0), _Size(0),
      _LastModificationTime(0)
{
    _Set(_FileName, _FileNameLength, "", 0);
    _Set(_Extra, _ExtraLength, "", 0);
}

zbLsoutElement::zbLsoutElement(const zbNewString& iName)
    : _FileName(nullptr), _FileNameLength(0), _Extra(nullptr), _ExtraLength(0), _Size(0),
      _LastModificationTime(0)
{
    SetFileName(iName);
    _Set(_Extra, _ExtraLength, "", 0);
}

zbLsoutElement::zbLsoutElement(const zbNewString& iName, const zbNewString& iExtra)
    : zbLsoutElement(iName)
{
    _Set(_Extra, _ExtraLength, iExtra.CastToCharPtr(),
         static_cast<size_t>(iExtra.GetLengthInByte()));
}

zbLsoutElement::zbLsoutElement(const zbNewString& iName, const long long& iSize, const long& iTime)
    : zbLsoutElement(iName)
{
    SetStat(iSize, iTime);
}

zbLsoutElement::zbLsoutElement(const zbLsoutElement& iOther) : zbLsoutElement()
{
    *this = iOther;
}

zbLsoutElement& zbLsoutElement::operator=(const zbLsoutElement& iOther)
{
    if (this == &iOther)
        return *this;
    _Set(_FileName, _FileNameLength, iOther._FileName, iOther._FileNameLength);
    _Set(_Extra, _ExtraLength, iOther._Extra, iOther._ExtraLength);
    _Size = iOther._Size;
    _LastModificationTime = iOther._LastModificationTime;
    return *this;
}

zbLsoutElement::~zbLsoutElement()
{
    std::free(_FileName);
    std::free(_Extra);
}

void zbLsoutElement::_Set(char*& ioField, unsigned int& oLength, const char* iText, size_t iLength)
{
    char* copy = static_cast<char*>(std::malloc(iLength + 1));
    if (!copy)
    {
        // Out of memory: keep the field a valid string.
        if (!ioField)
            ioField = static_cast<char*>(std::calloc(1, 1));
        return;
    }
    std::memcpy(copy, iText, iLength);
    copy[iLength] = 0;
    std::free(ioField);
    ioField = copy;
    oLength = static_cast<unsigned int>(iLength);
}

void zbLsoutElement::SetFileName(const zbNewString& iName)
{
    _Set(_FileName, _FileNameLength, iName.CastToCharPtr(),
         static_cast<size_t>(iName.GetLengthInByte()));
}

void zbLsoutElement::SetFileName(const zbString& iName)
{
    const char* text = iName.CastToCharPtr();
    _Set(_FileName, _FileNameLength, text ? text : "", text ? iName.GetLength() : 0);
}

bool zbLsoutElement::operator==(const zbLsoutElement& iOther) const
{
    return _FileNameLength == iOther._FileNameLength &&
           std::memcmp(_FileName, iOther._FileName, _FileNameLength) == 0;
}

bool zbLsoutElement::operator<(const zbLsoutElement& iOther) const
{
    return std::strcmp(_FileName, iOther._FileName) < 0;
}

bool zbLsoutElement::operator>(const zbLsoutElement& iOther) const
{
    return std::strcmp(_FileName, iOther._FileName) > 0;
}

int zbLsoutElement::QuickSort(const zbLsoutElement* iA, const zbLsoutElement* iB)
{
    if (!iA || !iB)
        return iA == iB ? 0 : (iA ? 1 : -1);
    return std::strcmp(iA->_FileName, iB->_FileName);
}

unsigned int zbLsoutElement::ComputeHashKey() const
{
    unsigned char key[4] = {0, 0, 0, 0};
    for (unsigned int i = 0; i < _FileNameLength; ++i)
        key[i % 4] ^= static_cast<unsigned char>(_FileName[i]);
    return (static_cast<unsigned int>(key[0]) << 24) | (static_cast<unsigned int>(key[1]) << 16) |
           (static_cast<unsigned int>(key[2]) << 8) | key[3];
}

int zbLsoutElement::ExtractSizeAndLastModificationTime(const char* iText, long long& oSize,
                                                       long& oTime)
{
    return iText && ReadSizeAtTime(iText, iText + std::strlen(iText), oSize, oTime) ? 1 : 0;
}

int zbLsoutElement::ReadText(const char* iFile, std::string& oContent)
{
    int error = zbReadFile(iFile, oContent);
    if (!error && std::memchr(oContent.data(), 0, oContent.size()))
        error = zbErrnoNulByte;
    if (error)
    {
        oContent.clear();
        zbRecordErrno(error);
    }
    return error;
}

bool zbLsoutElement::NextLine(char*& ioNext, const char* iEnd, const int& iTextMode, Line& oLine)
{
    const char separator = zbPathSeparator[0], dosSeparator = zbDosPathSeparator[0];
    while (ioNext < iEnd)
    {
        char* line = ioNext;
        const size_t room = static_cast<size_t>(iEnd - line);
        const char* feed = static_cast<const char*>(std::memchr(line, '\n', room));
        size_t length = feed ? static_cast<size_t>(feed - line) : room;
        ioNext = line + (feed ? length + 1 : length);
        if (length > 0 && line[length - 1] == '\r')
            --length;

        const char* p = line;
        const char* end = line + length;
        const char* field = nullptr;
        const char* path = nullptr;
        unsigned int fieldLength = 0, pathLength = 0;
        if (!NextField(p, end, field, fieldLength) || !NextField(p, end, path, pathLength))
            continue;
        const char* more = nullptr;
        unsigned int moreLength = 0;
        const bool moreFields = NextField(p, end, more, moreLength);
        long long size = 0;
        long time = 0;
        if (!iTextMode && !ReadSizeAtTime(field, field + fieldLength, size, time))
            continue;

        char* text = line + (path - line);
        for (unsigned int i = 0; i < pathLength; ++i)
            if (text[i] == dosSeparator)
                text[i] = separator;
        // "./" off the front, then every "/" at both ends.
        if (pathLength >= 2 && text[0] == '.' && text[1] == separator)
            text += 2, pathLength -= 2;
        while (pathLength > 0 && *text == separator)
            ++text, --pathLength;
        while (pathLength > 0 && text[pathLength - 1] == separator)
            --pathLength;
        if (pathLength == 0)
            continue;
        oLine = {field, fieldLength, text, pathLength, size, time, moreFields};
        return true;
    }
    return false;
}

int zbLsoutElement::Load(const zbNewString& iFile, QORHashTabzbLsoutElement& ioTable,
                         const zbNewString* iPrefix, QORListPtrzbLsoutElement* ioList,
                         const int& iTextMode)
{
    std::string content;
    if (ReadText(iFile.CastToCharPtr(), content))
        return -1;
    int added = 0;
    char* next = &content[0];
    const char* end = next + content.size();
    Line line;
    while (NextLine(next, end, iTextMode, line))
    {
        zbNewString name;
        if (iPrefix)
            name.Append(*iPrefix).Append("/");
        name.Append(line._Path, static_cast<int>(line._PathLength));
        zbLsoutElement* element = new zbLsoutElement(name, line._Size, line._Time);
        if (iTextMode)
            element->_Set(element->_Extra, element->_ExtraLength, line._Field, line._FieldLength);
        if (ioTable.Insert(element) != 0)
        {
            delete element;
            continue;
        }
        if (ioList)
            ioList->Append(element);
        ++added;
    }
    return added;
}

unsigned int zbHTABLEOfzbLsoutElementHashKey(zbLsoutElement* iElement)
{
    return iElement->ComputeHashKey();
}

int zbHTABLEOfzbLsoutElementCompare(zbLsoutElement* iA, zbLsoutElement* iB)
{
    return *iA != *iB ? 1 : 0;
}
