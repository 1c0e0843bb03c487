#ifndef zbNewString_H
#define zbNewString_H
// The library's byte string: NUL-terminated characters with an explicit
// length and a 32-byte inline buffer.  A text shorter than 32 bytes lives in
// the inline buffer; a longer one in a heap block of exactly length + 1
// bytes (malloc/realloc).  Every operation that sets a new text shorter than
// 32 bytes moves it back inline; Resize with truncation and ReplaceChar with
// a NUL shorten in place.

#include "QORListPtr.h"
#include "QORListVal.h"

class zbNewString
{
  public:
    zbNewString();
    zbNewString(const char* iText);
    zbNewString(const zbNewString& iOther);
    // iCount copies of iText end to end.
    zbNewString(const zbNewString& iText, int iCount);
    virtual ~zbNewString();

    zbNewString& operator=(const char* iText);
    zbNewString& operator=(const zbNewString& iOther);
    void Reset();

    int GetLengthInByte() const { return _Length; }
    int IsNull() const { return _Length == 0 ? 1 : 0; }
    const char* CastToCharPtr() const { return _Data; }
    // True when the text lives in the inline buffer.
    int IsInline() const { return _Data == _Buffer ? 1 : 0; }

    int StrCompare(const char* iOther) const;
    int StrCompare(const zbNewString& iOther) const;
    int StrCompare(const char* iOther, int iCount) const;
    int StrCompare(const zbNewString& iOther, int iCount) const;
    bool operator==(const char* iOther) const { return StrCompare(iOther) == 0; }
    bool operator!=(const char* iOther) const { return StrCompare(iOther) != 0; }
    bool operator<(const char* iOther) const { return StrCompare(iOther) < 0; }
    bool operator<=(const char* iOther) const { return StrCompare(iOther) <= 0; }
    bool operator>(const char* iOther) const { return StrCompare(iOther) > 0; }
    bool operator>=(const char* iOther) const { return StrCompare(iOther) >= 0; }
    bool operator==(const zbNewString& iOther) const;
    bool operator!=(const zbNewString& iOther) const { return !(*this == iOther); }
    bool operator<(const zbNewString& iOther) const { return StrCompare(iOther) < 0; }
    bool operator<=(const zbNewString& iOther) const { return StrCompare(iOther) <= 0; }
    bool operator>(const zbNewString& iOther) const { return StrCompare(iOther) > 0; }
    bool operator>=(const zbNewString& iOther) const { return StrCompare(iOther) >= 0; }
    // 0 different, 1 identical, 2 equal only when case is ignored.
    int CompareByCase(const zbNewString& iOther) const;

    zbNewString& Append(const char* iText);
    zbNewString& Append(const char* iText, int iLength);
    zbNewString& Append(const zbNewString& iText);
    zbNewString& operator+=(const char* iText) { return Append(iText); }
    zbNewString& operator+=(const zbNewString& iText) { return Append(iText); }
    zbNewString& operator+=(int iValue);
    zbNewString& operator+=(long iValue);
    zbNewString& operator+=(unsigned long iValue);
    zbNewString operator+(const zbNewString& iOther) const;
    zbNewString operator+(const char* iOther) const;

    int BuildFromNum(int iValue, const char* iFormat);
    int BuildFromNum(long iValue, const char* iFormat);
    int BuildFromNum(unsigned long iValue, const char* iFormat);
    int BuildFromNum(double iValue, const char* iFormat);
    int BuildFromNum(long double iValue, const char* iFormat);
    int BuildFromNum(long long iValue, const char* iFormat);
    int BuildFromNum(unsigned long long iValue, const char* iFormat);
    int ConvertToNum(int* oValue, const char* iFormat) const;
    int ConvertToNum(long* oValue, const char* iFormat) const;
    int ConvertToNum(unsigned long* oValue, const char* iFormat) const;
    int ConvertToNum(double* oValue, const char* iFormat) const;
    int ConvertToNum(long double* oValue, const char* iFormat) const;
    int ConvertToNum(long long* oValue, const char* iFormat) const;
    int ConvertToNum(unsigned long long* oValue, const char* iFormat) const;

    void Resize(int iNewLength, char iFill, int iTruncate);
    zbNewString& ToUpper();
    zbNewString& ToLower();
    int FindPosition(const zbNewString& iSub, int iStart) const;
    int SearchSubString(const zbNewString& iSub, int iStart, int iMode) const;
    void ReplaceSubString(int iPos, int iCount, const zbNewString& iReplacement);
    int ReplaceSubString(const zbNewString& iOld, const zbNewString& iNew);
    void Remove(int iPos, int iCount);
    void Insert(int iPos, const zbNewString& iText);
    void ReplaceChar(int iPos, char iChar);
    void ReplaceAllChar(char iFrom, char iTo);
    // Mode bit 1 leading, bit 2 trailing runs of iChar; mode 4 every iChar.
    zbNewString Strip(int iMode, char iChar) const;
    void StripSpacesOutsideString();
    zbNewString SubString(int iStart, int iCount) const;
    zbNewString& ReduceString(int iStart, int iMaxLength);
    zbNewString& NewSubString(zbNewString& oOut, int iStart, int iMaxLength) const;
    unsigned int ComputeHashKey() const;

  private:
    // Replaces the text by iLength bytes at iText (which may lie inside this string).
    void SetText(const char* iText, int iLength);
    // Makes room for iLength bytes keeping the first iKeep bytes; sets _Length.
    void Reserve(int iLength, int iKeep);
    template <class T> int FormatNum(T iValue, const char* iFormat);

    char* _Data;
    int _Length;
    char _Buffer[32];
};

using QORListPtrzbNewString = QORListPtr<zbNewString>;
using QORListValzbNewString = QORListVal<zbNewString>;

// Fill lists of strings from the lines of a file (-1 when it cannot be
// mapped) or from a delimited text; each returns the list's size.
int zbLISTPOfzbNewString_FromFile(const char* iPath, QORListPtrzbNewString& ioList, int iSkipEmpty,
                                  int iStripCR);
int zbLISTVOfzbNewString_FromFile(const char* iPath, QORListValzbNewString& ioList, int iSkipEmpty,
                                  int iStripCR);
int zbLISTPOfzbNewString_FromStrtok(QORListPtrzbNewString& ioList, const char* iText,
                                    const char* iDelimiters, int iSkipEmpty);
int zbLISTVOfzbNewString_FromStrtok(QORListValzbNewString& ioList, const char* iText,
                                    const char* iDelimiters, int iSkipEmpty);
// Comparison for sorting pointer lists (nulls first).
int zbLISTPOfzbNewString_QuickSort(const zbNewString* iA, const zbNewString* iB);
// Removes repeated pointers and later strings of the same text (deleting
// them); the first occurrence stays in place.  Returns the new size.
int zbLISTPOfzbNewString_Uniq(QORListPtrzbNewString& ioList);
// 1-based position of the first element at or after iStart equal to iText, or 0.
int zbLISTPOfzbNewString_Locate(const zbNewString& iText, const QORListPtrzbNewString& iList,
                                int iStart);

#endif
