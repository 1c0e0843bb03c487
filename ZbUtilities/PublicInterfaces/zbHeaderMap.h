#ifndef zbHeaderMap_H
#define zbHeaderMap_H
// A header map joins the header lists of several workspaces into one file in
// which every include directory carries its absolute path, and loads it back
// into a dictionary from header name to the directory that holds it.
//
// Map file: the header-list magic line, then the blocks of each list in
// order, as zbHeaderListIntoWS::CatHeaderListToStream prints them:
//   "@" ["|" into-FW] [">" subdirectory] ABSOLUTE-DIRECTORY "\n" ENTRIES
// Loading stops at the first empty line.

#include <deque>

#include "QORString.h"
#include "zbFileName.h"
#include "zbHeaderList.h"
#include "zbHeaderListIntoWS.h"

class zbOFStream;

class zbHeaderMap : public zbHeaderList
{
  public:
    zbHeaderMap();
    ~zbHeaderMap() override;

    // Writes the map file from the lists in order; the file is replaced
    // once the whole map is written.  Returns the number of lists that could
    // not be read, are not header lists or are damaged (each reported with
    // its list name, a damage with its line; the blocks before the damage
    // still go into the map), or 1 when the map file cannot be written
    // (reported with its name; the old file is left as it was).
    int BuildFromListOfHeaderLists(const QORString& iMapFile,
                                   const QORListPtrzbHeaderListIntoWS& iLists);
    // Loads a map file: every directory goes to the path lists; with a
    // dictionary, every entry name (lower-cased when iLowerCase is set) is
    // inserted with its directory, the first directory holding a name
    // winning.  1 when the file cannot be read or has a wrong magic line
    // (EBADF recorded); 2 when it is damaged at GetDamagedLine() before its
    // first empty line (see FindDamage: the entries before the damage are
    // loaded); else 0.
    // Nothing is printed.  The directories stay where they are for the life of the map,
    // so the pointers handed out remain valid across several loads.
    int InsertFile(const QORString& iMapFile, QORHashDicSzbFileName* ioDico, const int& iLowerCase);

    const QORListPtrzbFileName& GetListOfPaths() const { return _ListOfPaths; }
    const QORListPtrzbFileName& GetListOfSubdirPaths() const { return _ListOfSubdirPaths; }
    const QORListPtrzbFileName& GetListOfPathsIntoFW() const { return _ListOfPathsIntoFW; }

    // The line (from 1, the magic line) where the last InsertFile found
    // damage.
    int GetDamagedLine() const { return _DamagedLine; }

    // One full directory name per line, then an empty line.
    void DumpFilesList(zbOFStream& ioOut) const;

  private:
    // A directory line "@..." (up to iLineEnd) into the path lists.
    zbFileName* AddDirectory(const char* iLine, const char* iLineEnd);
    // The blocks from iLine up to iEnd or to the first empty line, names
    // inserted as they stand in the file; gives where it stopped.
    const char* InsertNames(const char* iLine, const char* iEnd, QORHashDicSzbFileName& ioDico);

    // Every directory read, in file order (a deque keeps their addresses).
    std::deque<zbFileName> _Paths;
    QORListPtrzbFileName _ListOfPaths;
    QORListPtrzbFileName _ListOfSubdirPaths;
    QORListPtrzbFileName _ListOfPathsIntoFW;
    int _DamagedLine = 0;
};

#endif
