#include "zbLsoutElement.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "zbErrorCodeManager.h"
#include "zbFileElement.h"
#include "zbFileElementExtension.h"
#include "zbFileLines.h"
#include "zbString.h"

namespace
{
const char kSeparators[] = " \t";

// Whether iText is digits, one "@" and digits, checked from the end.
bool IsSizeAtTime(const char* iText)
{
    const char* p = iText + std::strlen(iText);
    int digits = 0;
    while (p > iText && p[-1] >= '0' && p[-1] <= '9')
        --p, ++digits;
    if (digits == 0 || p == iText || p[-1] != '@')
        return false;
    --p;
    digits = 0;
    while (p > iText && p[-1] >= '0' && p[-1] <= '9')
        --p, ++digits;
    return digits > 0 && p == iText;
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
    if (!iText || !IsSizeAtTime(iText))
        return 0;
    long long size = 0;
    long time = 0;
    // Digits only: a value too large for its type reads as the largest one.
    if (std::sscanf(iText, "%lld@%ld", &size, &time) != 2 || size < 0 || time < 0)
        return 0;
    oSize = size;
    oTime = time;
    return 1;
}

int zbLsoutElement::Load(const zbNewString& iFile, QORHashTabzbLsoutElement& ioTable,
                         const zbNewString* iPrefix, QORListPtrzbLsoutElement* ioList,
                         const int& iTextMode)
{
    // Read whole as text: a NUL byte is refused, a long line stays one line.
    int added = 0;
    std::string line;
    auto add = [&](const char* iStart, int iLength)
    {
        line.assign(iStart, static_cast<size_t>(iLength));
        int length = iLength;
        int position = 0;
        char* first = zbFileElementExtension::Strtok(&line[0], length, kSeparators, position, 0, 0);
        char* second =
            zbFileElementExtension::Strtok(&line[0], length, kSeparators, position, 0, 0);
        if (!first || !second)
            return;
        long long size = 0;
        long time = 0;
        if (!iTextMode && !ExtractSizeAndLastModificationTime(first, size, time))
            return;

        char* normalized = zbFileElement::NormalizePath(second);
        if (!normalized)
            return;
        // "./" off the front, then every "/" at both ends.
        const char* path = normalized;
        if (path[0] == '.' && path[1] == '/')
            path += 2;
        while (*path == '/')
            ++path;
        size_t pathLength = std::strlen(path);
        while (pathLength > 0 && path[pathLength - 1] == '/')
            --pathLength;
        if (pathLength == 0)
        {
            std::free(normalized);
            return;
        }
        zbNewString name;
        if (iPrefix)
            name.Append(*iPrefix).Append("/");
        name.Append(path, static_cast<int>(pathLength));
        std::free(normalized);

        // The element and its path made one after the other, so that they
        // sit side by side in memory for the table's comparisons.
        zbLsoutElement* element = new zbLsoutElement(name, size, time);
        if (iTextMode)
            element->_Set(element->_Extra, element->_ExtraLength, first, std::strlen(first));
        if (ioTable.Insert(element) != 0)
        {
            delete element;
            return;
        }
        if (ioList)
            ioList->Append(element);
        ++added;
    };
    if (zbForEachFileLine(iFile.CastToCharPtr(), 1, 1, add, 8) != 0)
        return -1;
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
