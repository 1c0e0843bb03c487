#ifndef zbCharPtr_H
#define zbCharPtr_H
// An owned, NUL-terminated byte buffer with its length.
//
// Comparisons order by length first, then bytewise: "b" < "aa".  A
// default-constructed buffer holds nothing (null pointer, length 0); every
// other construction allocates, a null text giving an empty buffer.

#include "QORString.h"

class zbCharPtr
{
  public:
    zbCharPtr() = default;
    zbCharPtr(const char* iText);
    zbCharPtr(const QORString& iText);
    zbCharPtr(const zbCharPtr& iOther);
    virtual ~zbCharPtr();

    // Replaced only when the contents differ.
    zbCharPtr& operator=(const zbCharPtr& iOther);
    zbCharPtr& operator=(const QORString& iText);
    // Replaced unless iText is this object's own buffer; null gives "".
    zbCharPtr& operator=(const char* iText);

    // Appends; an empty or null argument changes nothing.
    zbCharPtr& operator+=(const zbCharPtr& iOther);
    zbCharPtr& operator+=(const QORString& iText);
    zbCharPtr& operator+=(const char* iText);

    const char* CastToCharPtr() const { return _Ptr; }
    unsigned int Length() const { return _Length; }

    // Cuts the text to iLength bytes when shorter; returns the length.
    int Trunc(unsigned int iLength);
    // First (last) occurrence of iChar in the buffer, or null.
    char* FindFirstChar(const char& iChar);
    char* FindLastChar(const char& iChar);
    // A new[] copy owned by the caller, or null when empty.
    char* Duplicate() const;
    // Exclusive or of the bytes read as big-endian 32-bit words (the last
    // partial word padded with zero bytes); 0 for a null buffer.
    unsigned int ComputeHashKey() const;

    // Length difference when the lengths differ, else memcmp's sign.
    int Compare(const zbCharPtr& iOther) const;
    int Compare(const QORString& iText) const;
    int Compare(const char* iText) const;

    bool operator==(const zbCharPtr& iOther) const { return Compare(iOther) == 0; }
    bool operator!=(const zbCharPtr& iOther) const { return Compare(iOther) != 0; }
    bool operator==(const QORString& iText) const { return Compare(iText) == 0; }
    bool operator!=(const QORString& iText) const { return Compare(iText) != 0; }
    bool operator==(const char* iText) const { return Compare(iText) == 0; }
    bool operator!=(const char* iText) const { return Compare(iText) != 0; }
    bool operator>(const zbCharPtr& iOther) const { return Compare(iOther) > 0; }
    bool operator<(const zbCharPtr& iOther) const { return Compare(iOther) < 0; }

  private:
    void Assign(const char* iText, unsigned int iLength);
    void Append(const char* iText, unsigned int iLength);
    int Compare(const char* iText, unsigned int iLength) const;

    char* _Ptr = nullptr;
    unsigned int _Length = 0;
};

#endif
