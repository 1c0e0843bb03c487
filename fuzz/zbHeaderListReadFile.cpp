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
#include "zbFuzzSupport.h"
#include "zbHeaderList.h"

namespace
{
int CountEntries(const zbHeaderList& iList)
{
    int count = 0;
    for (const zbHeaderDirectory* directory : iList.GetListOfHeaderDirectories())
        count += directory->GetListOfEntries().Size();
    return count;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("hlist");
    static const std::string inFile = scratch.Path("in"), outFile = scratch.Path("out");
    if (!zbfuzz::WriteFile(inFile, iData, iSize))
        return 0;

    zbHeaderList list;
    zbExtLastError.SetErrno(0);
    if (list.ReadFile(QORString(inFile.c_str())) != 0)
    {
        if (zbExtLastError.GetErrno() == 0)
            std::abort();
        return 0;
    }
    if (!list.IsValid() || (iSize > 15 && static_cast<size_t>(list.GetBufsize()) + 15 != iSize))
        std::abort();

    zbHeaderList again;
    if (list.WriteFile(QORString(outFile.c_str())) != 0 ||
        again.ReadFile(QORString(outFile.c_str())) != 0)
        std::abort();
    if (again.GetListOfHeaderDirectories().Size() != list.GetListOfHeaderDirectories().Size() ||
        CountEntries(again) != CountEntries(list))
        std::abort();
    return 0;
}
