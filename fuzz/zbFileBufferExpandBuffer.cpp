// Fuzz target: zbFileBuffer::ExpandBuffer on arbitrary texts and included
// files.
//
// Input: up to four files (see zbFuzzSupport.h): the text expanded, then
// a.h, b.h and c.h of the one directory a lazy path finder probes.  Levels:
// R21, SP 3 and EMPTY.  After the expansion the length is that of the text,
// every file named as included exists, and a text whose preprocessing
// leaves no '#' is the preprocessed text, with no error and nothing included.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include "zbFileBuffer.h"
#include "zbFuzzSupport.h"
#include "zbPPMacLev.h"
#include "zbPathFinderAccess.h"

namespace
{
const char kTarget[] = "zbFileBufferExpandBuffer";
const char* const kFiles[] = {"a.h", "b.h", "c.h"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("expand");
    static const std::string dir = scratch.Path("inc");
    static zbPPMacLev* levels = nullptr;
    if (!levels)
    {
        ::mkdir(dir.c_str(), 0755);
        levels = new zbPPMacLev(31);
        levels->Insert("R21", "1");
        levels->Insert("SP", "3");
        levels->Insert("EMPTY", "");
        levels->SetLoadStatus(1);
    }
    const std::vector<std::string> parts = zbfuzz::Split(iData, iSize, 4);
    for (size_t i = 0; i < 3; ++i)
    {
        const std::string path = dir + "/" + kFiles[i];
        if (i + 1 < parts.size())
        {
            if (!zbfuzz::WriteFile(path, parts[i + 1]))
                return 0;
        }
        else
            std::remove(path.c_str());
    }

    QORListValQORString paths;
    paths.Append(QORString(dir.c_str()));
    zbPathFinderAccess finder;
    finder.SetListOfPath(paths);
    zbFileBuffer buffer;
    buffer.DuplicateBuffer(parts[0].data(), static_cast<unsigned int>(parts[0].size()));
    QORListValzbFileName included;
    int errors = buffer.ExpandBuffer(*levels, finder, included, "main.h");
    zbfuzz::Check(errors >= 0, kTarget, "a negative number of errors");
    const std::string expanded = buffer.GetBuffer() ? buffer.GetBuffer() : "";
    zbfuzz::Check(expanded.size() == buffer.GetBufferLength(), kTarget,
                  "the length is not that of the text");
    for (int i = 1; i <= included.Size(); ++i)
    {
        struct stat st;
        zbfuzz::Check(::stat(included[i].GetPtrToFullname(), &st) == 0, kTarget,
                      "an included file that does not exist");
    }

    zbFileBuffer plain;
    plain.DuplicateBuffer(parts[0].data(), static_cast<unsigned int>(parts[0].size()));
    if (plain.zbPPBuffer(*levels, "main.h") == 0 &&
        (!plain.GetBuffer() || !std::strchr(plain.GetBuffer(), '#')))
        zbfuzz::Check(errors == 0 && included.Size() == 0 &&
                          std::string(plain.GetBuffer() ? plain.GetBuffer() : "") == expanded,
                      kTarget, "a text without includes changed by the expansion");
    return 0;
}
