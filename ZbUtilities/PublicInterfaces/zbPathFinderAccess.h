#ifndef zbPathFinderAccess_H
#define zbPathFinderAccess_H
// The lazy path finder: it probes its directories on demand (access) and
// remembers where each name was found, so that the file system is touched
// only for names not found yet.  Every operation is virtual so that a tool
// may substitute its own search.

#include "QORHashDicS.h"
#include "QORListPtr.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbFileName.h"

class zbOFStream;

class zbPathFinderAccess
{
  public:
    zbPathFinderAccess();
    zbPathFinderAccess(const zbPathFinderAccess&) = delete;
    zbPathFinderAccess& operator=(const zbPathFinderAccess&) = delete;
    virtual ~zbPathFinderAccess();

    // Appends each path that exists; nothing is cleared first.
    virtual void SetListOfPath(const QORListValQORString& iPaths);
    virtual const QORListValzbFileName& GetListOfPath() const { return _ListOfPath; }
    // Appends the full names of the directories to ioList.
    virtual QORListValQORString& GetListOfPath(QORListValQORString& ioList) const;
    // 1 when found (oFile = directory + "/" + iName as written), 0 otherwise
    // (oFile = iName, the name recorded among the names not found).
    virtual int SearchFor(const QORString& iName, zbFileName& oFile);

    void Dump(zbOFStream& ioStream) const;
    void PrintStats(zbOFStream& ioStream) const;
    // The texts of Dump and PrintStats, shared with zbPathFinder.
    static void DumpPaths(zbOFStream& ioStream, const QORListValzbFileName& iPaths);
    static void PrintFoundStats(zbOFStream& ioStream, const QORHashDicSzbFileName& iFound);

    // How many names were looked for in vain (each counted once).
    int GetNbNotFound() const { return _NotFound.GetNbItems(); }

  private:
    QORHashDicSzbFileName _NotFound;
    QORHashDicSzbFileName _Found;
    QORListValzbFileName _ListOfPath;
    // The directories _Found points to: owned copies of _ListOfPath, whose
    // addresses do not move when more paths are appended.
    QORListPtrzbFileName _Directories;
};

#endif
