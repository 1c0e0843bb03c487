// Fuzz target: zbPPMacLev::InsertLevel on arbitrary level files.
//
// The load status follows the result, and an empty file is refused.
// The levels of a file that loads, written back as "#define NAME VALUE"
// lines and loaded again, give the same names.

#include <cstdint>
#include <set>
#include <string>

#include "zbFuzzSupport.h"
#include "zbPPMacLev.h"

namespace
{
const char kTarget[] = "zbPPMacLevInsertLevel";

std::string Names(const zbMacroSet& iSet, std::string* oDefines)
{
    std::set<std::string> sorted;
    const QORString* cursor = nullptr;
    QORString name;
    while (zbMacroValue* value = iSet.Next(cursor, name))
    {
        sorted.insert(name.Std());
        if (oDefines)
            *oDefines += "#define " + name.Std() + " " + value->GetValue().Std() + "\n";
    }
    std::string names;
    for (const std::string& one : sorted)
        names += one + "\n";
    return names;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("level");
    const std::string file = scratch.Path("Fuzz.lvl");
    if (!zbfuzz::WriteFile(file, iData, iSize))
        return 0;
    zbPPMacLev levels(31);
    int status = levels.InsertLevel(file.c_str());
    zbfuzz::Check(status == 0 || status == 1, kTarget, "status neither 0 nor 1");
    zbfuzz::Check(levels.GetLoadStatus() == (status == 0 ? 1 : 0), kTarget,
                  "the load status does not follow the result");
    zbfuzz::Check(status == 0 || iSize != 0 || levels.GetDefines().GetNbItems() == 0, kTarget,
                  "an empty file gave levels");
    if (status != 0)
        return 0;
    zbfuzz::Check(iSize != 0, kTarget, "an empty level file accepted");

    std::string defines;
    const std::string names = Names(levels.GetDefines(), &defines);
    if (!zbfuzz::WriteFile(file, defines))
        return 0;
    zbPPMacLev again(31);
    if (defines.empty())
        return 0;
    zbfuzz::Check(again.InsertLevel(file.c_str()) == 0, kTarget, "the levels written back fail");
    zbfuzz::Check(Names(again.GetDefines(), nullptr) == names, kTarget,
                  "the levels written back give other names");
    return 0;
}
