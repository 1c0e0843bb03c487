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

#include "zbHeaderMap.h"
#include "zbOFStream.h"

namespace
{
struct TempFile
{
    std::string _Name = "/tmp/zbfuzz_hmap." + std::to_string(::getpid());
    ~TempFile() { ::unlink(_Name.c_str()); }
};

bool Within(const QORListPtrzbFileName& iPart, const QORListPtrzbFileName& iAll)
{
    for (int i = 1; i <= iPart.Size(); ++i)
        if (!iAll.Locate(iPart[i]))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static TempFile file;
    static zbOFStream sink("/dev/null", 8);
    FILE* out = std::fopen(file._Name.c_str(), "wbe");
    if (!out)
        return 0;
    std::fwrite(iData, 1, iSize, out);
    std::fclose(out);

    zbHeaderMap map;
    QORHashDicSzbFileName dico(97);
    int lowerCase = iSize > 0 && (iData[0] & 1);
    const int loaded = map.InsertFile(QORString(file._Name.c_str()), &dico, lowerCase);
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
    int bucket = 1, position = 0;
    QORString key;
    while (zbFileName* directory = dico.Next(bucket, position, &key))
    {
        if (!all.Locate(directory))
            std::abort();
        if (lowerCase)
        {
            QORString lower(key);
            if (lower.ToLower() != key)
                std::abort();
        }
    }
    map.DumpFilesList(sink);
    return 0;
}
