#ifndef QORString_H
#define QORString_H
// Byte string of the foundation.
//
// A QORString is either null (never given a text: default construction or a
// null character pointer) or holds a text, possibly empty.  The characters
// are never null: a null string gives "".

#include <string>

#include "QORListVal.h"

class QORString
{
  public:
    QORString() = default;
    QORString(const char* iText);
    QORString(const char* iText, size_t iLength);
    QORString(const std::string& iText) : _Text(iText), _IsNull(false) {}
    QORString(const QORString&) = default;
    QORString(QORString&&) noexcept = default;
    ~QORString() = default;

    QORString& operator=(const QORString&) = default;
    QORString& operator=(QORString&&) noexcept = default;
    QORString& operator=(const char* iText);

    QORString& operator+=(const char* iText) { return Append(iText); }
    QORString& operator+=(const QORString& iText) { return Append(iText); }
    QORString& operator+=(char iChar);
    QORString operator+(const char* iText) const;
    QORString operator+(const QORString& iText) const;

    bool operator==(const QORString& iOther) const { return _Text == iOther._Text; }
    bool operator!=(const QORString& iOther) const { return _Text != iOther._Text; }
    bool operator==(const char* iOther) const { return Compare(iOther) == 0; }
    bool operator!=(const char* iOther) const { return Compare(iOther) != 0; }
    bool operator<(const QORString& iOther) const { return _Text < iOther._Text; }

    const char* CastToCharPtr() const { return _Text.c_str(); }
    operator const char*() const { return _Text.c_str(); }
    const std::string& Std() const { return _Text; }

    int GetLengthInChar() const { return static_cast<int>(_Text.size()); }
    int Length() const { return static_cast<int>(_Text.size()); }
    // True when no text was ever given (an assigned empty text is not null).
    int IsNull() const { return _IsNull ? 1 : 0; }

    QORString& Append(const char* iText);
    QORString& Append(const char* iText, size_t iLength);
    QORString& Append(const QORString& iText);
    // Inserts iText before position iPos (0-based; clamped to the length).
    QORString& Insert(int iPos, const char* iText);
    // -1, 0 or 1 in byte order.  Null counts as "".
    int Compare(const char* iOther) const;
    int Compare(const QORString& iOther) const;
    QORString& ToLower();
    unsigned int ComputeHashKey() const;
    // Replaces the first occurrence of iOld found at or after iStart by iNew.
    // Returns the position of the replacement, or -1 when iOld does not occur.
    int ReplaceSubString(const char* iOld, const char* iNew, int iStart = 0);
    // Position of the first occurrence of iSub at or after iStart, or -1.
    int Find(const char* iSub, int iStart = 0) const;
    QORString SubString(int iStart, int iCount = -1) const;
    void Reset()
    {
        _Text.clear();
        _IsNull = true;
    }

  private:
    std::string _Text;
    bool _IsNull = true;
};

QORString operator+(const char* iLeft, const QORString& iRight);

// FNV-1a over the bytes; shared by the string-keyed dictionaries.
inline unsigned int QORHashBytes(const char* iBytes, size_t iLength)
{
    // Four bytes a turn: the loop's own counting costs a quarter.
    const unsigned char* at = reinterpret_cast<const unsigned char*>(iBytes);
    const unsigned char* end = at + iLength;
    unsigned int hash = 2166136261u;
    for (; end - at >= 4; at += 4)
    {
        hash = (hash ^ at[0]) * 16777619u;
        hash = (hash ^ at[1]) * 16777619u;
        hash = (hash ^ at[2]) * 16777619u;
        hash = (hash ^ at[3]) * 16777619u;
    }
    for (; at < end; ++at)
        hash = (hash ^ *at) * 16777619u;
    return hash;
}

using QORListValQORString = QORListVal<QORString>;

#endif
