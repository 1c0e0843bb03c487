#ifndef zbPathFinder_H
#define zbPathFinder_H
// A path finder answers in which of its directories a name exists.  It reads
// each directory once (SetListOfPath) and answers every later question from
// a dictionary of entry names, optionally without regard to case; the first
// directory listed that holds a name wins.

#include "QORHashDicS.h"
#include "QORListPtr.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbHashDic.h"

class zbOFStream;

// A searched directory and a found file are held as full path texts.
using zbPathFinderFileName = QORString;
using QORHashDicSzbPathFinderFileName = QORHashDicS<zbPathFinderFileName>;
using QORListValzbPathFinderFileName = QORListVal<zbPathFinderFileName>;
using QORListPtrzbPathFinderFileName = QORListPtr<zbPathFinderFileName>;

class zbPathFinder
{
  public:
    zbPathFinder();
    virtual ~zbPathFinder();
    zbPathFinder(const zbPathFinder&) = delete;
    zbPathFinder& operator=(const zbPathFinder&) = delete;

    // Names are compared without regard to case; only while nothing was
    // scanned yet.
    void SetNonCaseSensitive();
    void SetFWPathname(const QORString& iFWPathname) { _FWPathname = iFWPathname; }
    // Scans the directories in order; those that cannot be opened are skipped.
    void SetListOfPath(const QORListValQORString& iPaths);

    // Found: oFile is the directory joined with iName as written, and &oFile
    // is returned.  Otherwise oFile is the bare name and null is returned.
    zbPathFinderFileName* SearchFor(const QORString& iName, zbPathFinderFileName& oFile);

    const QORListValzbPathFinderFileName& GetListOfPath() const { return _ListOfPath; }
    QORListValQORString& GetListOfPath(QORListValQORString& ioList) const;

    void Dump(zbOFStream& oStream) const;
    void PrintStats(zbOFStream& oStream) const;

    int _Insert(QORString& ioName, zbPathFinderFileName& iDir);
    zbPathFinderFileName* _Locate(const QORString& iName);

  private:
    QORString _Work;
    QORHashDicSzbPathFinderFileName _Found;
    QORListValzbPathFinderFileName _ListOfPath;
    // The directories _Found points to (owned; stable while the list grows).
    QORListPtrzbPathFinderFileName _Directories;
    QORString _FWPathname;
    int _NonCaseSensitive;
};

// Path finders by name (not owned by the dictionary).
using zbHashDiczbPathFinder = zbHashDic<zbPathFinder>;
template <> struct zbHashDicValueName<zbPathFinder>
{
    static const char* Text() { return "zbPathFinder"; }
};

#endif
