// Fuzz target: zbContext::GetMainSpecifications on arbitrary
// MainSpecifications.mk files.
//
// The file is found along the configuration path of a fresh context whose
// MY_ZBZB_CONFIG root is the scratch directory.  The set is never null, is
// read once, and holds the names a plain read of the file gives.

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbFuzzSupport.h"
#include "zbMacroSet.h"

namespace
{
const char kTarget[] = "zbContextGetMainSpecifications";

std::set<std::string> Names(const zbMacroSet& iSet)
{
    std::set<std::string> names;
    const QORString* cursor = nullptr;
    QORString name;
    while (iSet.Next(cursor, name))
        names.insert(name.Std());
    return names;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("mainspec");
    static std::string file;
    if (file.empty())
    {
        const char* runtime = std::getenv("ZbzbOS_Runtime");
        const std::string dir = scratch.Path(std::string(runtime ? runtime : "") + "/tools/config");
        if (zbCreateDirectory(dir.c_str()) != 0)
            zbfuzz::Fail(kTarget, "cannot create the configuration directory");
        ::setenv("MY_ZBZB_CONFIG", scratch.Dir().c_str(), 1);
        file = dir + "/MainSpecifications.mk";
    }
    if (!zbfuzz::WriteFile(file, iData, iSize))
        return 0;

    zbContext* context = new zbContext;
    zbMacroSet* specifications = context->GetMainSpecifications();
    zbfuzz::Check(specifications != nullptr, kTarget, "no main specifications");
    zbfuzz::Check(context->GetMainSpecifications() == specifications, kTarget,
                  "the main specifications were read twice");
    zbMacroSet plain(31);
    plain.InsertFile(file.c_str(), nullptr, '=', zbMacroSet::ReplaceExisting);
    zbfuzz::Check(Names(*specifications) == Names(plain), kTarget,
                  "the main specifications lack names of the file");
    delete context;
    return 0;
}
