// Fuzz target: zbLsoutElement::Load on arbitrary listings, in both modes.
//
// The count equals the list's size and the table's (a refused file, -1,
// adds nothing); every path is non-empty, without leading or trailing "/";
// in size mode the statistics are never negative and the extra field empty.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "zbFuzzSupport.h"
#include "zbLsoutElement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("lsout");
    static const std::string path = scratch.Path("listing");
    if (!zbfuzz::WriteFile(path, iData, iSize))
        return 0;

    for (int textMode : {0, 1})
    {
        QORHashTabzbLsoutElement table(31, zbHTABLEOfzbLsoutElementHashKey,
                                       zbHTABLEOfzbLsoutElementCompare);
        QORListPtrzbLsoutElement list;
        int count = zbLsoutElement::Load(path.c_str(), table, nullptr, &list, textMode);
        // A file refused (one holding a NUL byte) adds nothing.
        if (count < 0 ? list.Size() != 0 || table.GetNbItems() != 0
                      : count != list.Size() || count != table.GetNbItems())
            std::abort();
        for (const zbLsoutElement* element : list)
        {
            const char* name = element->GetFileName();
            unsigned int length = element->GetFileNameLength();
            if (length == 0 || name[0] == '/' || name[length - 1] == '/')
                std::abort();
            if (!textMode && (element->GetSize() < 0 || element->GetLastModificationTime() < 0 ||
                              element->GetExtra()[0]))
                std::abort();
        }
        table.ApplyDelete();
    }
    return 0;
}
