#ifndef zbPathFinder_H
#define zbPathFinder_H
// A path finder answers in which of its directories a name exists.  It reads
// each directory once (SetListOfPath) and answers every later question from
// a dictionary of entry names, optionally without regard to case; the first
// directory listed that holds a name wins.  A header map (zbHeaderMap.h) can
// be merged into the same dictionary, and stub headers that forward to the
// headers found can be written.

#include "QORHashDicS.h"
#include "QORListPtr.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbFileName.h"
#include "zbHashDic.h"

class zbHeaderMap;
class zbOFStream;

class zbPathFinder
{
  public:
    zbPathFinder();
    virtual ~zbPathFinder();
    zbPathFinder(const zbPathFinder&) = delete;
    zbPathFinder& operator=(const zbPathFinder&) = delete;

    // Names are compared without regard to case (keys stored lower-cased);
    // only while nothing was stored yet.
    void SetNonCaseSensitive();
    void SetFWPathname(const QORString& iFWPathname) { _FWPathname = iFWPathname; }
    // Scans the directories in order; those that are missing or are not
    // directories are skipped.  One that is there but cannot be listed, or
    // whose listing fails part way (the names read before are kept), is
    // reported as a system error and counted (GetUnlistedCount).  With a
    // framework directory set, the directories scanned here whose parent
    // lies below it go to the list of paths in the framework.
    void SetListOfPath(const QORListValQORString& iPaths);
    // Directories SetListOfPath reported as not listed, or listed in part.
    int GetUnlistedCount() const { return _Unlisted; }
    // Loads a header map into the dictionary (names already known keep their
    // directory).  Only once: with a map already set, 0 and nothing done.
    // Otherwise the result of zbHeaderMap::InsertFile (1: not read, 2:
    // damaged, the entries before the damage loaded).
    int SetHeaderMap(const QORString& iMapFile);
    // The map set by SetHeaderMap, or null.
    const zbHeaderMap* GetHeaderMap() const { return _HeaderMap; }

    // Found: oFile is the directory joined with iName as written, and &oFile
    // is returned.  Otherwise oFile is the bare name and null is returned.
    zbFileName* SearchFor(const QORString& iName, zbFileName& oFile);

    const QORListValzbFileName& GetListOfPath() const { return _ListOfPath; }
    // Each of these appends full directory names to ioList and returns it.
    QORListValQORString& GetListOfPath(QORListValQORString& ioList) const;
    QORListValQORString& GetListOfPathInFW(QORListValQORString& ioList) const;
    QORListValQORString& GetListOfPathFromHeaderMap(QORListValQORString& ioList) const;
    // The paths in the framework, then, with a header map, the map's
    // directory and the map's subdirectory paths (duplicates then removed).
    QORListValQORString& GetListOfPathForMake(QORListValQORString& ioList) const;

    // Writes, for each header known here and found outside the framework,
    // a stub "STUBDIR/BASENAME" holding
    //   #include "FOUND-DIRECTORY/BASENAME"
    // An existing non-empty stub is kept.  The first form writes into the
    // header map's directory and needs a map.  0, or 1 when the directory
    // cannot be created, a stub cannot be written (each reported under
    // systError; the other stubs are still written) or there is no map.
    int CreateStubs(const QORListPtrzbFileName& iHeaders);
    int CreateStubs(const QORString& iStubDir, const QORListPtrzbFileName& iHeaders);

    void Dump(zbOFStream& oStream) const;
    void PrintStats(zbOFStream& oStream) const;

    int _Insert(QORString& ioName, zbFileName& iDir);
    zbFileName* _Locate(const QORString& iName);
    // For a finder that minds case: the name as its bytes and their hash
    // (QORHashBytes), nothing copied.  Prefetch starts loading what such a
    // lookup reads, stage 0 a few names ahead of stage 1, stage 1 a few
    // names ahead of the lookup.
    zbFileName* _LocateBytes(const char* iName, size_t iLength, unsigned int iHash) const
    {
        return static_cast<zbFileName*>(_Found.LocateBytes(iName, iLength, iHash));
    }
    void Prefetch(unsigned int iHash, int iStage) const
    {
        if (iStage == 0)
            _Found.PrefetchSlot(iHash);
        else
            _Found.PrefetchElem(iHash);
    }
    int IsNonCaseSensitive() const { return _NonCaseSensitive; }

  private:
    QORString _Work;
    QORHashDicSzbFileName _Found;
    QORListValzbFileName _ListOfPath;
    // The directories _Found points to: owned copies of _ListOfPath, whose
    // addresses do not move when more paths are scanned.
    QORListPtrzbFileName _Directories;
    QORString _FWPathname;
    zbHeaderMap* _HeaderMap;
    QORString _HeaderMapDir;
    QORListPtrzbFileName _ListOfPathInFW;
    int _NonCaseSensitive;
    int _Unlisted = 0;
};

// Path finders by name, owned (ApplyDelete deletes them).
using zbHashDiczbPathFinder = zbHashDic<zbPathFinder>;
template <> struct zbHashDicValueName<zbPathFinder>
{
    static const char* Text() { return "zbPathFinder"; }
};

#endif
