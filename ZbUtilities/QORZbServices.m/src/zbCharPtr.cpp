#include "zbCharPtr.h"

#include <cstring>

#include "zbStrFunctions.h"

zbCharPtr::zbCharPtr(const char* iText)
{
    Assign(iText, iText ? static_cast<unsigned int>(std::strlen(iText)) : 0);
}

zbCharPtr::zbCharPtr(const QORString& iText)
{
    Assign(iText.CastToCharPtr(), static_cast<unsigned int>(iText.Length()));
}

zbCharPtr::zbCharPtr(const zbCharPtr& iOther)
{
    Assign(iOther._Ptr, iOther._Length);
}

zbCharPtr::~zbCharPtr()
{
    delete[] _Ptr;
}

void zbCharPtr::Assign(const char* iText, unsigned int iLength)
{
    char* buffer = new char[iLength + 1];
    if (iLength)
        std::memcpy(buffer, iText, iLength);
    buffer[iLength] = '\0';
    delete[] _Ptr;
    _Ptr = buffer;
    _Length = iLength;
}

void zbCharPtr::Append(const char* iText, unsigned int iLength)
{
    if (!iText || !iLength)
        return;
    char* buffer = new char[_Length + iLength + 1];
    if (_Length)
        std::memcpy(buffer, _Ptr, _Length);
    // iText may be this object's own buffer: it is read before being freed.
    std::memcpy(buffer + _Length, iText, iLength);
    buffer[_Length + iLength] = '\0';
    delete[] _Ptr;
    _Ptr = buffer;
    _Length += iLength;
}

zbCharPtr& zbCharPtr::operator=(const zbCharPtr& iOther)
{
    if (Compare(iOther) != 0)
        Assign(iOther._Ptr, iOther._Length);
    return *this;
}

zbCharPtr& zbCharPtr::operator=(const QORString& iText)
{
    Assign(iText.CastToCharPtr(), static_cast<unsigned int>(iText.Length()));
    return *this;
}

zbCharPtr& zbCharPtr::operator=(const char* iText)
{
    if (!_Ptr || iText != _Ptr)
        Assign(iText, iText ? static_cast<unsigned int>(std::strlen(iText)) : 0);
    return *this;
}

zbCharPtr& zbCharPtr::operator+=(const zbCharPtr& iOther)
{
    Append(iOther._Ptr, iOther._Length);
    return *this;
}

zbCharPtr& zbCharPtr::operator+=(const QORString& iText)
{
    Append(iText.CastToCharPtr(), static_cast<unsigned int>(iText.Length()));
    return *this;
}

zbCharPtr& zbCharPtr::operator+=(const char* iText)
{
    Append(iText, iText ? static_cast<unsigned int>(std::strlen(iText)) : 0);
    return *this;
}

int zbCharPtr::Trunc(unsigned int iLength)
{
    if (iLength < _Length)
    {
        _Length = iLength;
        _Ptr[_Length] = '\0';
    }
    return static_cast<int>(_Length);
}

char* zbCharPtr::FindFirstChar(const char& iChar)
{
    if (!_Ptr || !_Length)
        return nullptr;
    return static_cast<char*>(std::memchr(_Ptr, iChar, _Length));
}

char* zbCharPtr::FindLastChar(const char& iChar)
{
    if (!_Ptr || !_Length)
        return nullptr;
    return static_cast<char*>(::memrchr(_Ptr, iChar, _Length));
}

char* zbCharPtr::Duplicate() const
{
    if (!_Ptr || !_Length)
        return nullptr;
    char* copy = new char[_Length + 1];
    std::memcpy(copy, _Ptr, _Length + 1);
    return copy;
}

unsigned int zbCharPtr::ComputeHashKey() const
{
    return _Ptr ? zbXorWordsHash(_Ptr, _Length) : 0;
}

int zbCharPtr::Compare(const char* iText, unsigned int iLength) const
{
    if (_Length != iLength)
        return static_cast<int>(_Length - iLength);
    if (!_Length)
        return 0;
    int c = std::memcmp(_Ptr, iText, _Length);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int zbCharPtr::Compare(const zbCharPtr& iOther) const
{
    return Compare(iOther._Ptr, iOther._Length);
}

int zbCharPtr::Compare(const QORString& iText) const
{
    return Compare(iText.CastToCharPtr(), static_cast<unsigned int>(iText.Length()));
}

int zbCharPtr::Compare(const char* iText) const
{
    return Compare(iText, iText ? static_cast<unsigned int>(std::strlen(iText)) : 0);
}
