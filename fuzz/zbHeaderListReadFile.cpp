// Fuzz target: zbHeaderList::ReadFile on arbitrary files.
//
// A list that reads back must account for every byte of the file, survive a
// write and a second read with the same directories and entries, and a
// refused file must leave an error recorded.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "zbErrorCodeManager.h"
#include "zbHeaderList.h"

namespace
{
struct TempFiles
{
    std::string _In = "/tmp/zbfuzz_hlist_in." + std::to_string(::getpid());
    std::string _Out = "/tmp/zbfuzz_hlist_out." + std::to_string(::getpid());
    ~TempFiles()
    {
        ::unlink(_In.c_str());
        ::unlink(_Out.c_str());
    }
};

int CountEntries(const zbHeaderList& iList)
{
    int count = 0;
    const QORListPtrzbHeaderDirectory& dirs = iList.GetListOfHeaderDirectories();
    for (int i = 1; i <= dirs.Size(); ++i)
        count += dirs[i]->GetListOfEntries().Size();
    return count;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static TempFiles files;
    FILE* file = std::fopen(files._In.c_str(), "wbe");
    if (!file)
        return 0;
    std::fwrite(iData, 1, iSize, file);
    std::fclose(file);

    zbHeaderList list;
    zbExtLastError.SetErrno(0);
    if (list.ReadFile(QORString(files._In.c_str())) != 0)
    {
        if (zbExtLastError.GetErrno() == 0)
            std::abort();
        return 0;
    }
    if (!list.IsValid() || (iSize > 15 && static_cast<size_t>(list.GetBufsize()) + 15 != iSize))
        std::abort();

    zbHeaderList again;
    if (list.WriteFile(QORString(files._Out.c_str())) != 0 ||
        again.ReadFile(QORString(files._Out.c_str())) != 0)
        std::abort();
    if (again.GetListOfHeaderDirectories().Size() != list.GetListOfHeaderDirectories().Size() ||
        CountEntries(again) != CountEntries(list))
        std::abort();
    return 0;
}
