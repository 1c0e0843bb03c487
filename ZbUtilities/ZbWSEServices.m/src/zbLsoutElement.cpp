#include "zbLsoutElement.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <limits>
#include <string>

#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbStrFunctions.h"
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

// How many of the eight bytes of iWord (read little-endian: the first
// byte lowest) are digits before the first that is not.  A byte is a digit
// when its high half is 3 both as it is and plus 6; a carry out of a byte
// that is not a digit only reaches bytes after it.
int DigitRun(uint64_t iWord)
{
    const uint64_t high = 0xF0F0F0F0F0F0F0F0ull, three = 0x3030303030303030ull;
    const uint64_t other =
        ((iWord & high) ^ three) | (((iWord + 0x0606060606060606ull) & high) ^ three);
    return other ? __builtin_ctzll(other) / 8 : 8;
}

// The value of the first iCount (1 to 8) bytes of iWord, digits: moved to
// the top, then pairs, fours and eights of digits joined by multiplying.
uint64_t DigitsValue(uint64_t iWord, int iCount)
{
    uint64_t value = (iWord - 0x3030303030303030ull) << (8 * (8 - iCount));
    value = value * 10 + (value >> 8);
    return (((value & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
            (((value >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
           32;
}

// The decimal value of the digits from ioText on (before iEnd); ioText
// moves past them.  A value too large for the type reads as the largest
// one.  false when there is no digit.
template <typename Value> bool ReadDigits(const char*& ioText, const char* iEnd, Value& oValue)
{
    static const uint64_t powers[] = {1,      10,      100,      1000,     10000,
                                      100000, 1000000, 10000000, 100000000};
    // Up to fifteen digits, the usual number, read as two words where
    // sixteen bytes can be.
    if (sizeof(Value) == 8 && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && iEnd - ioText >= 16)
    {
        uint64_t first, second;
        std::memcpy(&first, ioText, sizeof first);
        std::memcpy(&second, ioText + 8, sizeof second);
        const int run = DigitRun(first), more = run == 8 ? DigitRun(second) : 0;
        if (run == 0)
            return false;
        if (more < 8)
        {
            uint64_t value = DigitsValue(first, run);
            if (more)
                value = value * powers[more] + DigitsValue(second, more);
            ioText += run + more;
            oValue = static_cast<Value>(value);
            return true;
        }
    }
    const char* start = ioText;
    // As many digits as cannot overflow go without a check.
    const int safe = std::numeric_limits<Value>::digits10;
    const char* fast = iEnd - start > safe ? start + safe : iEnd;
    Value value = 0;
    for (; ioText < fast && IsDigit(*ioText); ++ioText)
        value = value * 10 + (*ioText - '0');
    const Value largest = std::numeric_limits<Value>::max();
    for (; ioText < iEnd && IsDigit(*ioText); ++ioText)
    {
        const Value digit = *ioText - '0';
        value = value > (largest - digit) / 10 ? largest : value * 10 + digit;
    }
    oValue = value;
    return ioText > start;
}

// SIZE@TIME from ioText up to a blank, a tab or iEnd (ioText moves there);
// false (the outputs may have changed) when the field is anything else.
bool ReadSizeAtTime(const char*& ioText, const char* iEnd, long long& oSize, long& oTime)
{
    if (!ReadDigits(ioText, iEnd, oSize) || ioText == iEnd || *ioText != '@')
        return false;
    ++ioText;
    return ReadDigits(ioText, iEnd, oTime) && (ioText == iEnd || IsSeparator(*ioText));
}

char* SkipSeparators(char* iText, const char* iEnd)
{
    while (iText < iEnd && IsSeparator(*iText))
        ++iText;
    return iText;
}

// The end of the path from iText on (a blank, a tab or iEnd), its DOS
// separators made "/" on the way.  Sixteen bytes a turn where it can, the
// last turn reading the sixteen bytes before iEnd when iFloor (where the
// line begins) leaves room for them.
char* PathEnd(char* iText, const char* iEnd, const char* iFloor)
{
    const char dos = zbDosPathSeparator[0], separator = zbPathSeparator[0];
#ifdef __SSE2__
    const __m128i blank = _mm_set1_epi8(' '), tab = _mm_set1_epi8('\t'),
                  dosBytes = _mm_set1_epi8(dos);
    // The stops among the sixteen bytes at iAt (from bit iFrom on), the DOS
    // separators before the first one made "/": the position of that
    // stop, or 16.
    auto look = [&](char* iAt, int iFrom)
    {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(iAt));
        const unsigned int from = 0xFFFFu << iFrom;
        const unsigned int stop =
            from & static_cast<unsigned int>(_mm_movemask_epi8(
                       _mm_or_si128(_mm_cmpeq_epi8(bytes, blank), _mm_cmpeq_epi8(bytes, tab))));
        unsigned int dosAt =
            from & static_cast<unsigned int>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, dosBytes)));
        if (stop)
            dosAt &= (stop & (0u - stop)) - 1;
        for (; dosAt; dosAt &= dosAt - 1)
            iAt[__builtin_ctz(dosAt)] = separator;
        return stop ? __builtin_ctz(stop) : 16;
    };
    for (; iEnd - iText >= 16; iText += 16)
        if (int at = look(iText, 0); at < 16)
            return iText + at;
    if (iText < iEnd && iEnd - iFloor >= 16)
    {
        char* last = iText + (iEnd - iText) - 16;
        const int at = look(last, static_cast<int>(iText - last));
        return at < 16 ? last + at : iText + (iEnd - iText);
    }
#else
    (void)iFloor;
#endif
    for (; iText < iEnd && !IsSeparator(*iText); ++iText)
        if (*iText == dos)
            *iText = separator;
    return iText;
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
    return zbXorWordsHash(_FileName, _FileNameLength);
}

int zbLsoutElement::ExtractSizeAndLastModificationTime(const char* iText, long long& oSize,
                                                       long& oTime)
{
    if (!iText)
        return 0;
    // The outputs stay untouched unless the whole text is the field.
    const char* text = iText;
    const char* end = iText + std::strlen(iText);
    long long size = 0;
    long time = 0;
    if (!ReadSizeAtTime(text, end, size, time) || text != end)
        return 0;
    oSize = size;
    oTime = time;
    return 1;
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
    const char separator = zbPathSeparator[0];
    while (ioNext < iEnd)
    {
        char* line = ioNext;
        const size_t room = static_cast<size_t>(iEnd - line);
        const char* feed = static_cast<const char*>(std::memchr(line, '\n', room));
        size_t length = feed ? static_cast<size_t>(feed - line) : room;
        ioNext = line + (feed ? length + 1 : length);
        if (length > 0 && line[length - 1] == '\r')
            --length;

        // The first field, read as SIZE@TIME in size mode, then the path.
        char* p = line;
        char* end = line + length;
        p = SkipSeparators(p, end);
        const char* field = p;
        long long size = 0;
        long time = 0;
        if (iTextMode)
            while (p < end && !IsSeparator(*p))
                ++p;
        else
        {
            const char* at = p;
            if (!ReadSizeAtTime(at, end, size, time))
                continue;
            p += at - p;
        }
        const unsigned int fieldLength = static_cast<unsigned int>(p - field);
        char* text = SkipSeparators(p, end);
        if (!fieldLength || text == end)
            continue;
        char* pathEnd = PathEnd(text, end, line);
        unsigned int pathLength = static_cast<unsigned int>(pathEnd - text);
        const bool moreFields = SkipSeparators(pathEnd, end) != end;
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
