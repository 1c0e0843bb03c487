#ifndef zbPathFinder_H
#define zbPathFinder_H
// A path finder answers in which of its directories a name exists.  It reads
// each directory once (SetListOfPath) and answers every later question from
// a dictionary of entry names, optionally without regard to case; the first
// directory listed that holds a name wins.  A header map (zbHeaderMap.h) can
// be merged into the same dictionary, and stub headers that forward to the
// headers found can be written.

#include <cstddef>
#include <memory>
#include <string>

#include "QORHashDicS.h"
#include "QORListPtr.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbFileName.h"
#include "zbHashDic.h"

class zbHeaderMap;
class zbOFStream;

// Where zbPathFinder::FindAll hands the paths it finds.
class zbPathFinderSink
{
  public:
    virtual ~zbPathFinderSink() = default;
    // Paths, each followed by a line feed, in the order of the names.
    virtual void Write(const char* iText, size_t iLength) = 0;
    // Called before FindAll reports on standard error, once the paths of
    // the names before have been handed over: a sink whose output ends up
    // in the same file writes them out first.
    virtual void BeforeReport() {}
};

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

    // Looks the names up in order and hands the path of each one found to
    // ioSink: the directory joined with the name (without regard to case,
    // the name spelled as the entry found); a name with a directory part
    // that is no entry is tried in each directory on disk.  A name not
    // found is reported (zbPathFinder.NotFound).  0, or 1 when a name was
    // not found.
    int FindAll(const QORListValQORString& iNames, zbPathFinderSink& ioSink);
    // The same for the names read from iFd, one per line, empty lines
    // skipped.  A line holding a NUL byte or longer than a path can be is
    // reported with its number under iSource and left out; so is a read
    // error.  0, or 1 after a report.
    int FindAll(int iFd, const char* iSource, zbPathFinderSink& ioSink);

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
    // Without regard to case: the spelling of each entry whose name is not
    // all lower case, by its key, as a place (from 1) in _SpellingText.
    std::unique_ptr<QORHashDicoS> _Spellings;
    std::string _SpellingText;

    class Batch; // FindAll's work
    // The entry's spelling of the key iKey, or iKey itself.
    const char* SpellingOf(const char* iKey, size_t iLength) const;
    void AddSpelling(const QORString& iKey, const char* iName);
};

// Path finders by name, owned (ApplyDelete deletes them).
using zbHashDiczbPathFinder = zbHashDic<zbPathFinder>;
template <> struct zbHashDicValueName<zbPathFinder>
{
    static const char* Text() { return "zbPathFinder"; }
};

#endif
