#ifndef QORUnicodeString_H
#define QORUnicodeString_H
// Unicode string of the foundation.
//
// Holds any sequence of Unicode code points.  Character strings given to it
// are read as UTF-8 (the local code page of the systems the tools run on).
// A byte that is not part of a valid UTF-8 sequence is kept as the code point
// U+DC00 + byte (a lone low surrogate, never produced by valid UTF-8) and is
// written back as that same byte, so that any byte text survives a round trip
// through a QORUnicodeString unchanged.

#include <string>

#include "QORListVal.h"
#include "QORString.h"

using QORUnicodeChar = char32_t;

class QORUnicodeString
{
  public:
    QORUnicodeString() = default;
    QORUnicodeString(const char* iUTF8);
    QORUnicodeString(const char* iUTF8, size_t iLength);
    QORUnicodeString(const QORString& iText);
    QORUnicodeString(QORUnicodeChar iChar, int iCount);
    QORUnicodeString(const QORUnicodeString&) = default;
    QORUnicodeString(QORUnicodeString&&) noexcept = default;
    ~QORUnicodeString() = default;

    QORUnicodeString& operator=(const QORUnicodeString&) = default;
    QORUnicodeString& operator=(QORUnicodeString&&) noexcept = default;
    QORUnicodeString& operator=(const char* iUTF8);

    bool operator==(const QORUnicodeString& iOther) const { return _Chars == iOther._Chars; }
    bool operator!=(const QORUnicodeString& iOther) const { return _Chars != iOther._Chars; }
    QORUnicodeString& operator+=(const QORUnicodeString& iOther) { return Append(iOther); }
    QORUnicodeString& operator+=(const char* iUTF8) { return Append(iUTF8); }
    QORUnicodeString operator+(const QORUnicodeString& iOther) const;

    QORUnicodeChar operator[](int iPos) const { return _Chars[static_cast<size_t>(iPos)]; }

    void Reset() { _Chars.clear(); }
    int IsEmpty() const { return _Chars.empty() ? 1 : 0; }
    int GetLengthInChar() const { return static_cast<int>(_Chars.size()); }

    QORUnicodeString& Append(const QORUnicodeString& iOther);
    QORUnicodeString& Append(const char* iUTF8);
    QORUnicodeString& Append(QORUnicodeChar iChar);
    // Inserts before character iPos (clamped to the length).
    QORUnicodeString& Insert(int iPos, const QORUnicodeString& iOther);
    // iCount characters from iStart (to the end when iCount < 0), clamped.
    QORUnicodeString SubString(int iStart, int iCount = -1) const;
    // Replaces every occurrence of iOld by iNew, left to right, never
    // rescanning replaced text; returns the number of replacements.
    int ReplaceAll(const QORUnicodeString& iOld, const QORUnicodeString& iNew);
    // Replaces iCount characters at iPos by iNew (clamped); returns 0, or 1
    // when iPos is outside the string.
    int ReplaceSubString(int iPos, int iCount, const QORUnicodeString& iNew);
    // First position of iSub at or after iStart, or -1.
    int SearchSubString(const QORUnicodeString& iSub, int iStart = 0) const;
    // Replaces the text by one integer formatted with a printf format.
    int BuildFromNum(long long iValue, const char* iFormat = "%lld");

    // Text in the local code page (UTF-8), escaped bytes restored.
    QORString ConvertToChar() const;
    std::string ConvertToUTF8() const;
    // Writes the UTF-8 form into oBuffer (at most iSize - 1 bytes and a
    // terminator, never cutting a character); returns the byte count.
    int ConvertToUTF8(char* oBuffer, int iSize) const;

    unsigned int ComputeHashKey() const;
    const std::u32string& Chars() const { return _Chars; }

  private:
    std::u32string _Chars;
};

using QORListValQORUnicodeString = QORListVal<QORUnicodeString>;

#endif
