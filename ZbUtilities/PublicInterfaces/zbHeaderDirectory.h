#ifndef zbHeaderDirectory_H
#define zbHeaderDirectory_H
// One include directory and the sorted names of its entries, as listed on
// disk or read back from a header-list file.
//
// In a header-list file a directory is one block:
//   "@" [">" when listed as a subdirectory include path] NAME-INTO-WS "\n"
//   one line per entry name, each ending with "\n"
// GetBufsize() is exactly the length of that block.

#include "QORListPtr.h"
#include "QORString.h"
#include "zbFileName.h"

class zbHeaderDirectory
{
  public:
    zbHeaderDirectory();
    virtual ~zbHeaderDirectory();

    // Lists iDir (every entry but "." and "..", files and subdirectories
    // alike) and sorts the names.  Returns the block size, 0 when the
    // directory cannot be opened (errno recorded, name emptied).
    int ListDirectory(const QORString& iDir, const int iIsSubdir);
    // Writes the block and a NUL (not counted) into iBuf, which must hold
    // GetBufsize() + 1 bytes.  Returns the bytes written: GetBufsize() for a
    // listed directory; a read one may write fewer, its name having been
    // normalised (trailing separators, workspace root dropped).  Nothing is
    // written for a null iBuf or an empty directory (GetBufsize() returned).
    int Writebuf(char* iBuf) const;
    // Parses the block at the start of the NUL-terminated ioBuf, turning its
    // line ends into NULs.  Returns the bytes consumed; 0 when ioBuf does
    // not start with a complete block header.  An entry line without its
    // "\n" is not read.
    int Readbuf(char* ioBuf);

    const zbFileName& GetDirname() const { return _Dirname; }
    const QORString& GetNameIntoWS() const { return _NameIntoWS; }
    const QORListValQORString& GetListOfEntries() const { return _Entries; }
    int GetBufsize() const { return _Bufsize; }
    int IsSubdir() const { return _IsSubdir; }

    // Same subdirectory mark, name intoWS and entries in order.
    bool operator==(const zbHeaderDirectory& iOther) const;
    bool operator!=(const zbHeaderDirectory& iOther) const { return !(*this == iOther); }

    // Order of the entries: null first, then QORString::Compare.
    static int _QuickSortOfQORString(const QORString* iA, const QORString* iB);

  private:
    zbFileName _Dirname;
    QORString _NameIntoWS;
    int _IsSubdir;
    QORListValQORString _Entries;
    int _Bufsize;
};

using QORListPtrzbHeaderDirectory = QORListPtr<zbHeaderDirectory>;

#endif
