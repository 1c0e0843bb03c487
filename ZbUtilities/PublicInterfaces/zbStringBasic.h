#ifndef zbStringBasic_H
#define zbStringBasic_H
// Non-owning view of a character string: pointer, length and a cached hash
// key (0 when not computed yet).  The viewed text need not be NUL-terminated
// at the view's length: every operation stays within the length.

class zbString;

class zbStringBasic
{
  public:
    zbStringBasic(const char* iText = nullptr);
    zbStringBasic(const char* iText, unsigned int iLength);
    zbStringBasic(const zbStringBasic& iOther) = default;
    virtual ~zbStringBasic();

    // Rebind the view.
    zbStringBasic& operator=(const char* iText);
    zbStringBasic& operator=(const zbStringBasic& iOther);

    const char* CastToCharPtr() const { return _String; }
    unsigned int GetLength() const { return _StringLength; }
    int IsNull() const { return _StringLength == 0 ? 1 : 0; }

    // The cached key, computed on first use.
    unsigned int ComputeHashKey() const;

    int ToInt() const;
    long ToLong() const;
    // strcmp and strncmp of the viewed text (null and unset count as "").
    int Compare(const char* iOther) const;
    int Compare(const zbStringBasic& iOther) const;
    int Compare(const char* iOther, unsigned int iCount) const;
    int Compare(const zbStringBasic& iOther, unsigned int iCount) const;
    bool operator==(const char* iOther) const { return Compare(iOther) == 0; }
    bool operator!=(const char* iOther) const { return Compare(iOther) != 0; }
    bool operator==(const zbStringBasic& iOther) const { return Compare(iOther) == 0; }
    bool operator!=(const zbStringBasic& iOther) const { return Compare(iOther) != 0; }

    // Mode 1: first occurrence at or after iStart.  Other modes: the first
    // occurrence in the whole text when it lies at or before iStart.  -1
    // when absent, when either text is empty or when iStart > length.
    int SearchSubString(const zbStringBasic& iSub, unsigned int iStart, int iMode) const;
    // oOut becomes the text from iStart on, cut to iMaxLength when
    // 0 < iMaxLength < length; the empty string when iStart >= length.
    zbString& NewSubString(zbString& oOut, unsigned int iStart, unsigned int iMaxLength) const;

  protected:
    // Byte range of the text (never null).
    const char* Begin() const { return _String ? _String : ""; }

    const char* _String;
    unsigned int _StringLength;
    mutable unsigned int _HashKey;
};

// The hash key of iLength bytes at iText (0 for an empty text).
unsigned int zbStringBasic_ComputeHashKey(const char* iText, unsigned int iLength);

#endif
