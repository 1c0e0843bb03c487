#ifndef zbFileName_H
#define zbFileName_H
// A path on disk: one normalised full pathname and positions inside it, so
// that basename, dirname, extension, workspace root and the name relative to
// the workspace are answered by pointers into the one stored text.
//
// Normalisation: trailing separators are dropped (never the first
// character), every "/" or "\" becomes the first character of
// zbPathSeparator.  A full pathname may hold the workspace marker "/./":
// the text before it is the workspace root, the text after it the name
// intoWS.  Names of at most 128 characters live in an inline buffer.

#include <cstdint>

#include "QORHashDicS.h"
#include "QORListPtr.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbFileStats.h"
#include "zbPathSeparators.h"

class zbMacroSet;
class zbNewString;
class zbOFStream;

class zbFileName
{
  public:
    zbFileName();
    zbFileName(const zbFileName& iOther);
    zbFileName(const char* iPath);
    // iDir + separator + iName, then the extension of the name replaced by
    // iExt (which carries its own leading dot) or iExt appended.
    zbFileName(const char* iDir, const char* iName, const char* iExt);
    virtual ~zbFileName();

    zbFileName& operator=(const zbFileName& iOther);
    // Also clears the class name and resets the statistics.
    zbFileName& operator=(const char* iPath);
    // As operator= of iDir's name, a separator and iName (iName alone when
    // iDir is empty), without composing the text elsewhere first: only the
    // name's part is normalised.  iName may not hold a NUL.
    zbFileName& AssignJoined(const zbFileName& iDir, const char* iName, uint32_t iNameLength);

    const char* GetPtrToFullname() const { return _Fullname; }
    uint32_t GetFullnameLength() const { return _Length; }
    const char* GetPtrToBasename() const { return _Basename; }
    // The last "." of the basename and what follows, or null.
    const char* GetPtrToExtend() const;
    // The text after "/./", or the full name without a marker.
    const char* GetPtrToNameIntoWS() const;
    // The text from the "." of the marker ("./..."), or the full name.
    const char* GetPtrToPointnameIntoWS() const;
    int AsAWSPathname() const { return _WSSeparator ? 1 : 0; }
    // The workspace root (text before the marker); null and a null oOut
    // without a marker.
    QORString* GetWSPath(QORString& oOut) const;
    QORString& GetDirname(QORString& oOut) const;
    zbNewString& GetDirname(zbNewString& oOut) const;
    QORString& GetBasenameWOUnderscore(QORString& oOut) const;
    QORString& GetBasenameWOExtend(QORString& oOut) const;

    // Same object, or equal non-zero lengths and equal bytes.
    bool operator==(const zbFileName& iOther) const;
    bool operator!=(const zbFileName& iOther) const { return !(*this == iOther); }
    // This name was read (modification time set), both names are set, the
    // names intoWS are equal and the statistics compare equal.
    int CompareWithStats(const zbFileName& iOther) const;
    // True only after a successful ReadStat.
    int Exists() const { return _Stats.LastModificationTime() > 0 ? 1 : 0; }

    int ReadStat();
    int WriteStat(const zbFileStats& iStats);
    zbFileStats* GetStat() { return &_Stats; }
    const zbFileStats* GetStat() const { return &_Stats; }

    void PutBOClName(const char* iName) { _BOClName = iName; }
    const char* GetPtrToBOClName() const { return _BOClName; }
    // The class name of the file's kind: the value in iSet of its double
    // extension (".tab.h"), else of its extension (".h", or "<Nil>" without
    // one), else iDflt.  Cached in the name.
    const char* GetBOClName(const zbMacroSet& iSet, const char* iDflt);

    // True while the text lives in the inline buffer.
    int IsInline() const { return _Capacity == 0 ? 1 : 0; }

    virtual void Dump(zbOFStream& ioStream) const;

  private:
    enum
    {
        InlineCapacity = 128
    };
    // Frees the heap block, empties the name (statistics and class name kept).
    void Clear();
    // Makes room for iLength characters, reusing a large enough heap block.
    char* Reserve(uint32_t iLength);
    // Stores iLength bytes of iText and normalises them.
    void Assign(const char* iText, uint32_t iLength);
    // Steps after the copy: strip, separators, basename, marker.
    void Normalise();
    // Copies the text and positions of iOther (statistics and class name too).
    void CopyFrom(const zbFileName& iOther);
    // Sets oOut to the iLength bytes at iStart (oOut is a QORString).
    static void SetText(QORString& oOut, const char* iStart, size_t iLength);

    char* _Fullname;
    uint32_t _Length;
    char* _Basename;
    char* _WSSeparator;
    const char* _BOClName;
    uint32_t _Capacity;
    char _Buffer[InlineCapacity + 1];
    zbFileStats _Stats;
};

using QORListPtrzbFileName = QORListPtr<zbFileName>;
using QORListValzbFileName = QORListVal<zbFileName>;
using QORHashDicSzbFileName = QORHashDicS<zbFileName>;

#endif
