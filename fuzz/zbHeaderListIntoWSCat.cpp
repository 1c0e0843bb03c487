// Fuzz target: zbHeaderListIntoWS::CatHeaderListToStream on arbitrary header
// lists, checked through the header map it writes.
//
// The input is copied twice into one map, once for the workspace /ws1 and
// once into-framework for /ws2, then the map is read back.  A list refused
// by the copy is refused by the list reader too.  Every directory of the map
// lies in its workspace (WS/./NAME, or WS/. for the root) and carries the
// into-framework mark of its list.  A
// list that reads back whole gives the same directories, subdirectory marks
// and entries.

#include <climits>
#include <cstdint>
#include <fstream>
#include <string>

#include "zbFuzzSupport.h"
#include "zbHeaderList.h"
#include "zbHeaderListIntoWS.h"
#include "zbHeaderMap.h"

namespace
{
const char kTarget[] = "zbHeaderListIntoWSCat";

// Whether iList was read whole and none of its entries is empty (the map
// ends at the first empty line).
bool Comparable(const zbHeaderList& iList, int iStatus)
{
    if (iStatus != 0)
        return false;
    const QORListPtrzbHeaderDirectory& dirs = iList.GetListOfHeaderDirectories();
    for (int i = 1; i <= dirs.Size(); ++i)
        for (int j = 1; j <= dirs[i]->GetListOfEntries().Size(); ++j)
            if (dirs[i]->GetListOfEntries()[j].Std().empty())
                return false;
    return true;
}
bool HasLineLongerThanAPath(const std::string& iFile)
{
    std::ifstream in(iFile, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.size() > PATH_MAX)
            return true;
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("hmapcat");
    const std::string listFile = scratch.Path("list.hl");
    const std::string mapFile = scratch.Path("map.hm");
    if (!zbfuzz::WriteFile(listFile, iData, iSize))
        return 0;

    zbHeaderList list;
    int listStatus = list.ReadFile(QORString(listFile.c_str()));
    zbHeaderListIntoWS plain(QORString("/ws1"), QORString(listFile.c_str()), 0);
    zbHeaderListIntoWS intoFW(QORString("/ws2"), QORString(listFile.c_str()), 1);
    QORListPtrzbHeaderListIntoWS lists;
    lists.Append(&plain);
    lists.Append(&intoFW);
    zbHeaderMap writer;
    int failed = writer.BuildFromListOfHeaderLists(QORString(mapFile.c_str()), lists);
    zbfuzz::Check(failed == 0 || failed == 2, kTarget, "one copy of the same list failed");
    zbfuzz::Check(failed == 0 || listStatus != 0, kTarget, "a list read but not copied");

    zbHeaderMap map;
    QORHashDicSzbFileName dico(97);
    // Only a directory made longer than a path by its workspace's prefix
    // makes the map written damaged.
    const int loaded = map.InsertFile(QORString(mapFile.c_str()), &dico, 0);
    zbfuzz::Check(loaded == 0 || (loaded == 2 && HasLineLongerThanAPath(mapFile)), kTarget,
                  "the map written cannot be read");
    const QORListPtrzbFileName& paths = map.GetListOfPaths();
    for (int i = 1; i <= paths.Size(); ++i)
    {
        const zbFileName* path = paths[i];
        // The workspace root itself ("@" alone) ends as WS/. without a marker.
        const std::string full = path->GetPtrToFullname() ? path->GetPtrToFullname() : "";
        const std::string ws = full.substr(0, 4);
        zbfuzz::Check((ws == "/ws1" || ws == "/ws2") &&
                          (full.size() == 6 || full.compare(4, 3, "/./") == 0) &&
                          full.compare(4, 2, "/.") == 0,
                      kTarget, "a directory outside its workspace");
        zbfuzz::Check((map.GetListOfPathsIntoFW().Locate(path) != 0) == (ws == "/ws2"), kTarget,
                      "a wrong into-framework mark");
    }
    if (!Comparable(list, listStatus))
        return 0;

    const QORListPtrzbHeaderDirectory& dirs = list.GetListOfHeaderDirectories();
    zbfuzz::Check(paths.Size() == 2 * dirs.Size(), kTarget, "directories lost by the copy");
    for (int copy = 0; copy < 2; ++copy)
        for (int i = 1; i <= dirs.Size(); ++i)
        {
            const zbHeaderDirectory* directory = dirs[i];
            const zbFileName* path = paths[copy * dirs.Size() + i];
            // A block naming the workspace root has an empty (null) name.
            const char* name = directory->GetDirname().GetPtrToFullname();
            const zbFileName expected(
                (std::string(copy ? "/ws2" : "/ws1") + "/./" + (name ? name : "")).c_str());
            zbfuzz::Check(*path == expected, kTarget, "a directory renamed by the copy");
            zbfuzz::Check((map.GetListOfSubdirPaths().Locate(path) != 0) ==
                              (directory->IsSubdir() != 0),
                          kTarget, "a wrong subdirectory mark");
            const QORListValQORString& entries = directory->GetListOfEntries();
            for (int j = 1; j <= entries.Size(); ++j)
                zbfuzz::Check(dico.Locate(entries[j]) != nullptr, kTarget,
                              "an entry lost by the copy");
        }
    return 0;
}
