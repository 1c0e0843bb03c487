// Fuzz target: zbHeaderMap::InsertFile on arbitrary files.
//
// The first byte chooses lower-case keys.  A map not read leaves nothing
// loaded; a damaged one says where (a line after the magic line).  Every
// value of the dictionary must be one of the map's directories, and the
// subdirectory and into-FW lists must be drawn from the list of all
// directories.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "zbFuzzSupport.h"
#include "zbHeaderMap.h"
#include "zbOFStream.h"

namespace
{
bool Within(const QORListPtrzbFileName& iPart, const QORListPtrzbFileName& iAll)
{
    for (zbFileName* path : iPart)
        if (!iAll.Locate(path))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("hmap");
    static const std::string mapFile = scratch.Path("map");
    static zbOFStream sink("/dev/null", 8);
    if (!zbfuzz::WriteFile(mapFile, iData, iSize))
        return 0;

    zbHeaderMap map;
    QORHashDicSzbFileName dico(97);
    int lowerCase = iSize > 0 && (iData[0] & 1);
    const int loaded = map.InsertFile(QORString(mapFile.c_str()), &dico, lowerCase);
    if (loaded == 1)
    {
        if (map.GetListOfPaths().Size() != 0 || dico.GetNbItems() != 0)
            std::abort();
        return 0;
    }
    if (loaded != 0 && loaded != 2)
        std::abort();
    if ((loaded == 2) != (map.GetDamagedLine() > 1))
        std::abort();
    const QORListPtrzbFileName& all = map.GetListOfPaths();
    if (!Within(map.GetListOfSubdirPaths(), all) || !Within(map.GetListOfPathsIntoFW(), all))
        std::abort();
    for (const auto& entry : dico)
    {
        if (!all.Locate(entry._Value))
            std::abort();
        if (lowerCase)
        {
            QORString lower(entry._Key);
            if (lower.ToLower() != entry._Key)
                std::abort();
        }
    }
    map.DumpFilesList(sink);
    return 0;
}
