#ifndef QORFixedLine_H
#define QORFixedLine_H
// A line of text built in a fixed buffer, for code that may not allocate (a
// signal handler): what does not fit is dropped.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

class QORFixedLine
{
  public:
    QORFixedLine& operator<<(const char* iText)
    {
        while (iText && *iText && _Length < sizeof _Text)
            _Text[_Length++] = *iText++;
        return *this;
    }
    QORFixedLine& Append(const char* iText, size_t iLength)
    {
        size_t count = std::min(iLength, sizeof _Text - _Length);
        std::memmove(_Text + _Length, iText, count);
        _Length += count;
        return *this;
    }
    // iValue in base 10 or 16 (lower-case digits).
    QORFixedLine& Number(uintptr_t iValue, int iBase)
    {
        char digits[32];
        int n = 0;
        do
            digits[n++] = "0123456789abcdef"[iValue % static_cast<uintptr_t>(iBase)];
        while ((iValue /= static_cast<uintptr_t>(iBase)) && n < 32);
        while (n > 0 && _Length < sizeof _Text)
            _Text[_Length++] = digits[--n];
        return *this;
    }
    // Appends again the text already held from iFrom to iTo.
    QORFixedLine& Repeat(size_t iFrom, size_t iTo)
    {
        iTo = std::min(iTo, _Length);
        return iFrom < iTo ? Append(_Text + iFrom, iTo - iFrom) : *this;
    }
    void Cut(size_t iLength) { _Length = std::min(_Length, iLength); }
    size_t Length() const { return _Length; }
    const char* Data() const { return _Text; }

  private:
    char _Text[4096];
    size_t _Length = 0;
};

#endif
