// Fuzz target: zbGetWorkspacesConcatenation on arbitrary Install_config
// files.
//
// A chain read twice, with and without a suffix, has the same elements; each
// is non-empty, holds no ':' and occurs in the file.  A refused file leaves
// its error recorded and appends nothing.

#include <cstdint>
#include <cstring>
#include <string>

#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbFuzzSupport.h"

namespace
{
const char kTarget[] = "zbGetWorkspacesConcatenation";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("wschain");
    if (!zbfuzz::WriteFile(scratch.Path("Install_config"), iData, iSize))
        return 0;
    const std::string text(reinterpret_cast<const char*>(iData), iSize);
    const QORString ws(scratch.Dir().c_str());

    QORListValQORString plain, suffixed;
    zbExtLastError.SetErrno(0);
    int status = zbGetWorkspacesConcatenation(ws, plain, nullptr);
    if (status != 0)
    {
        zbfuzz::Check(zbExtLastError.GetErrno() == status && plain.Size() == 0, kTarget,
                      "a refused file without its error, or with elements");
        return 0;
    }
    zbfuzz::Check(zbGetWorkspacesConcatenation(ws, suffixed, "/sfx") == 0, kTarget,
                  "the second read of the same file failed");
    zbfuzz::Check(plain.Size() == suffixed.Size(), kTarget, "the suffix changed the chain");
    for (int i = 1; i <= plain.Size(); ++i)
    {
        const std::string element = plain[i].Std();
        zbfuzz::Check(!element.empty() && element.find(':') == std::string::npos, kTarget,
                      "an empty element or one holding the separator");
        zbfuzz::Check(text.find(element) != std::string::npos, kTarget,
                      "an element that is not in the file");
        zbfuzz::Check(suffixed[i].Std() == element + "/sfx", kTarget,
                      "the suffix is not appended to its element");
    }
    return 0;
}
