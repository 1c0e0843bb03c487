#ifndef zbString_H
#define zbString_H
// Owning string over a zero-filled heap buffer.  The view (_String,
// _StringLength) lies inside the buffer at _Offset and always ends with a
// NUL; cutting a prefix only moves the view forward.
//
// Buffer sizes: the empty string and a string built from characters start
// with 4 bytes; a copy of another string gets ((length + 1) / 4 + 1) * 4
// bytes; a text that does not fit (length >= buffer size) moves to a new
// block of ((length + 1) / 16 + 1) * 16 bytes.  Every change resets the
// cached hash key.

#include "QORListPtr.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbStringBasic.h"

class zbString : public zbStringBasic
{
  public:
    zbString();
    zbString(const char* iText);
    zbString(const zbString& iOther);
    zbString(const zbStringBasic& iOther);
    zbString(const QORString& iOther);
    ~zbString() override;

    // Empties the string into a fresh 4-byte block.
    void Reset();

    zbString& operator=(const char* iText);
    zbString& operator=(const zbString& iOther);
    zbString& operator=(const zbString* iOther);
    zbString& operator=(const zbStringBasic& iOther);
    zbString& operator=(const zbStringBasic* iOther);
    zbString& operator=(const QORString& iOther);

    zbString& Append(const char* iText);
    zbString& Append(const zbString& iText);
    zbString& Append(const zbStringBasic& iText);
    zbString& Append(const QORString& iText);

    // Formats with "%lld" through one buffer shared by the library (not
    // reentrant) and assigns the result.
    zbString& IntToString(long long iValue);
    zbString& IntToString(long iValue);
    zbString& IntToString(int iValue);

    // Cuts the text to iLength bytes when it is longer.
    void Trunk(unsigned int iLength);
    // Moves the view forward by iStart (no copy), cut to iMaxLength when
    // 0 < iMaxLength < length - iStart.
    zbString& ReduceString(unsigned int iStart, unsigned int iMaxLength);
    // Replaces the first occurrence of iOld at or after iStart by iNew;
    // returns its position, or -1 (nothing changes).
    int ReplaceSubString(const char* iOld, const char* iNew, unsigned int iStart = 0);
    void ReplaceChar(unsigned int iPos, char iChar);
    void ReplaceAllChar(char iFrom, char iTo);
    void DosifyPath();
    void UnixifyPath();
    void StripSpacesOutsideString();
    // Mode 1 leading runs of iChar (moving the view), 2 trailing runs, any
    // other both; the trailing pass never removes the text's first character.
    void StripInternal(int iMode, char iChar);
    void ToLower(unsigned int iStart = 0);
    void ToUpper(unsigned int iStart = 0);

    unsigned int GetBufferSize() const { return _BufferSize; }
    unsigned int GetOffset() const { return _Offset; }

  private:
    // Replaces the text by iLength bytes at iText (which may lie inside this buffer).
    void Assign(const char* iText, unsigned int iLength);
    void AppendBytes(const char* iText, unsigned int iLength);
    // Moves a forwarded view back to the start of the buffer.
    void Rewind();
    void NewBlock(unsigned int iSize);
    void Changed() { _HashKey = 0; }
    char* Text() { return _Buffer + _Offset; }

    char* _Buffer;
    unsigned int _BufferSize;
    unsigned int _Offset;
};

using QORListPtrzbString = QORListPtr<zbString>;
using QORListValzbString = QORListVal<zbString>;

// Lines of a file as new strings (-1 when it cannot be read); see the
// zbNewString twins.
int zbLISTPOfzbString_FromFile(const char* iPath, QORListPtrzbString& ioList, int iSkipEmpty,
                               int iStripCR);
// Tokens of a copy of iText split at the delimiters, up to the end, an empty
// token or a token starting with a line feed.  Each returns the list's size.
int zbLISTPOfzbString_FromStrtok(QORListPtrzbString& ioList, const char* iText,
                                 const char* iDelimiters);
int zbLISTVOfzbString_FromStrtok(QORListValzbString& ioList, const char* iText,
                                 const char* iDelimiters);
int zbLISTVOfzbString_FromStrtok(QORListValQORString& ioList, const char* iText,
                                 const char* iDelimiters);
int zbLISTPOfzbString_QuickSort(const zbString* iA, const zbString* iB);
int zbLISTPOfzbString_Uniq(QORListPtrzbString& ioList);
int zbLISTPOfzbString_Locate(const zbStringBasic& iText, const QORListPtrzbString& iList,
                             int iStart);

#endif
