#ifndef zbLsoutElement_H
#define zbLsoutElement_H
// One line of a listing file in memory: a file's path with its size and
// modification time (size mode) or with any first field (text mode).
// Listing lines:
//
//   SIZE@TIME PATH      (size mode: both decimal, not negative)
//   FIELD PATH          (text mode: FIELD without blanks or tabs)
//
// fields separated by blanks and tabs, anything after the path ignored; a
// leading "./" and leading or trailing "/" of the path are removed.  The
// identity of an element is its path: comparisons, hashing and duplicates
// look at nothing else.

#include <string>

#include "QORHashTable.h"
#include "QORListPtr.h"
#include "QORListVal.h"
#include "zbNewString.h"

class zbString;
class zbLsoutElement;

using QORListPtrzbLsoutElement = QORListPtr<zbLsoutElement>;
using QORListValzbLsoutElement = QORListVal<zbLsoutElement>;
using QORHashTabzbLsoutElement = QORHashTab<zbLsoutElement>;

class zbLsoutElement
{
  public:
    zbLsoutElement();
    explicit zbLsoutElement(const zbNewString& iName);
    zbLsoutElement(const zbNewString& iName, const zbNewString& iExtra);
    zbLsoutElement(const zbNewString& iName, const long long& iSize, const long& iTime);
    zbLsoutElement(const zbLsoutElement& iOther);
    zbLsoutElement& operator=(const zbLsoutElement& iOther);
    virtual ~zbLsoutElement();

    void SetFileName(const zbNewString& iName);
    void SetFileName(const zbString& iName);
    void SetStat(const long long& iSize, const long& iTime)
    {
        _Size = iSize;
        _LastModificationTime = iTime;
    }

    const char* GetFileName() const { return _FileName; }
    unsigned int GetFileNameLength() const { return _FileNameLength; }
    const char* GetExtra() const { return _Extra; }
    long long& GetSize() { return _Size; }
    const long long& GetSize() const { return _Size; }
    long& GetLastModificationTime() { return _LastModificationTime; }
    const long& GetLastModificationTime() const { return _LastModificationTime; }
    void GetSizeAndLastModificationTime(long long& oSize, long& oTime) const
    {
        oSize = _Size;
        oTime = _LastModificationTime;
    }

    bool operator==(const zbLsoutElement& iOther) const;
    bool operator!=(const zbLsoutElement& iOther) const { return !(*this == iOther); }
    bool operator<(const zbLsoutElement& iOther) const;
    bool operator>(const zbLsoutElement& iOther) const;

    // Sorting order of lists by path; null elements first.
    static int QuickSort(const zbLsoutElement* iA, const zbLsoutElement* iB);
    // Byte j of the key (j = 0..3, most significant first) is the XOR of the
    // path's bytes at positions j, j + 4, j + 8, ...; 0 for an empty path.
    unsigned int ComputeHashKey() const;

    // 1 when iText is digits, one "@" and digits, both values not negative
    // (stored then); 0 otherwise, the outputs untouched.
    static int ExtractSizeAndLastModificationTime(const char* iText, long long& oSize, long& oTime);

    // One line of a listing as Load takes it: views into the text read, not
    // terminated (the path's DOS separators made "/" in place).  Size and
    // time are 0 in text mode.
    struct Line
    {
        const char* _Field;
        unsigned int _FieldLength;
        const char* _Path;
        unsigned int _PathLength;
        long long _Size;
        long _Time;
        bool _MoreFields; // text after the path: more fields, ignored
    };
    // Reads a listing file whole into oContent: 0, or the error (recorded;
    // zbErrnoNulByte for a file holding a NUL byte, which is no listing).
    static int ReadText(const char* iFile, std::string& oContent);
    // The next line of [ioNext, iEnd) that gives an element, the lines
    // refused passed over; ioNext moves past it.  false at the end.  A line
    // loses its "\n" and then a "\r" at its end; however long, it is one
    // line.
    static bool NextLine(char*& ioNext, const char* iEnd, const int& iTextMode, Line& oLine);

    // Reads a listing file into ioTable (iPrefix + "/" before each path when
    // given), appending the new elements to ioList when given; a path
    // already in the table keeps its first element.  The number of elements
    // added, or -1 when the file cannot be read or holds a NUL byte (the
    // error recorded).
    static int Load(const zbNewString& iFile, QORHashTabzbLsoutElement& ioTable,
                    const zbNewString* iPrefix, QORListPtrzbLsoutElement* ioList,
                    const int& iTextMode);

  private:
    void _Set(char*& ioField, unsigned int& oLength, const char* iText, size_t iLength);

    char* _FileName;
    unsigned int _FileNameLength;
    char* _Extra;
    unsigned int _ExtraLength;
    long long _Size;
    long _LastModificationTime;
};

unsigned int zbHTABLEOfzbLsoutElementHashKey(zbLsoutElement* iElement);
int zbHTABLEOfzbLsoutElementCompare(zbLsoutElement* iA, zbLsoutElement* iB);

#endif
