#ifndef zbHeaderList_H
#define zbHeaderList_H
// A list of header directories: built by listing directories on disk,
// written to and read from a header-list file, compared with another list.
//
// Header-list file: the magic line "!<zbhl> v2.0.1\n", then one block per
// directory in list order (see zbHeaderDirectory.h), nothing else.

#include "QORListPtr.h"
#include "QORString.h"
#include "zbHeaderDirectory.h"

class zbHeaderList
{
  public:
    // The magic line, without its "\n".
    static const char Magic[];

    zbHeaderList();
    zbHeaderList(const zbHeaderList&) = delete;
    zbHeaderList& operator=(const zbHeaderList&) = delete;
    virtual ~zbHeaderList();

    // Lists each directory in order and appends those that could be opened.
    // Makes the list valid.  Returns the number of directories held.
    int ListDirectories(const QORListValQORString& iDirs, const int iIsSubdir);
    // Replaces the file once the whole list is written: 0, or 1 after
    // reporting the failure (systError with the file name; the old file is
    // left as it was).
    int WriteFile(const QORString& iFileName);
    // Appends the directories of a header-list file.  0 on success.  1 when
    // the file cannot be read, has a wrong magic line (EBADF recorded), or
    // is damaged (EBADF): see FindDamage; the directories read before the
    // damage are kept.
    // Nothing is printed.
    virtual int ReadFile(const QORString& iFileName);
    // Reads the whole file into oBuffer (to be freed by the caller) and
    // checks the magic line; returns the text after it, or null (the buffer
    // then released and null, the error recorded).
    char* OpenListFile(const QORString& iFileName, unsigned int& oSize, char*& oBuffer);
    // The start of the first damaged line of the text after the magic line
    // (iText to iEnd), or null: a line holding a NUL byte, a line before the
    // first block, a line cut at the end of the file, a line longer than a
    // path can be (no directory or entry name is).  Every reader of lists
    // stops there.
    static const char* FindDamage(const char* iText, const char* iEnd);
    // The number of the line iAt of the text after the magic line (the
    // magic line is line 1).
    static int LineNumber(const char* iText, const char* iAt);
    // Deletes every directory; the list is no longer valid.
    void Reset();

    const QORListPtrzbHeaderDirectory& GetListOfHeaderDirectories() const { return _Directories; }
    int IsValid() const { return _Valid; }
    int GetBufsize() const { return _Bufsize; }

    // Both valid, same number of directories, equal pairwise in order.
    bool operator==(const zbHeaderList& iOther) const;
    bool operator!=(const zbHeaderList& iOther) const { return !(*this == iOther); }

  protected:
    QORListPtrzbHeaderDirectory _Directories;
    int _Valid;
    int _Bufsize;
};

using QORListPtrzbHeaderList = QORListPtr<zbHeaderList>;

#endif
