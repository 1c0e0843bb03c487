// Fuzz target: zbContext::ComputeVersion on arbitrary level and version
// files.
//
// Input: the level file TALVEXV5Level.lvl, then zbVersionData.mk (see
// zbFuzzSupport.h), the latter found along the data path of a fresh
// context whose MY_ZBZB_DATA root is the scratch directory.  Either all four
// numbers stay "0", or the major and minor numbers were read (one line
// each) and the build number is set.  An empty level file gives zeros.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbFuzzSupport.h"

namespace
{
const char kTarget[] = "zbContextComputeVersion";

bool OneLine(const QORString& iText)
{
    return iText.Std().find('\n') == std::string::npos;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("version");
    static std::string dataDir;
    if (dataDir.empty())
    {
        const char* runtime = std::getenv("ZbzbOS_Runtime");
        dataDir = scratch.Path(std::string(runtime ? runtime : "") + "/tools/data");
        if (zbCreateDirectory(dataDir.c_str()) != 0)
            zbfuzz::Fail(kTarget, "cannot create the data directory");
        ::setenv("MY_ZBZB_DATA", scratch.Dir().c_str(), 1);
        ::unsetenv("Zbzb_SPKLEVEL");
    }
    const std::vector<std::string> parts = zbfuzz::Split(iData, iSize, 2);
    const std::string level = parts[0];
    const std::string data = parts.size() > 1 ? parts[1] : std::string();
    if (!zbfuzz::WriteFile(scratch.Path("TALVEXV5Level.lvl"), level) ||
        !zbfuzz::WriteFile(dataDir + "/zbVersionData.mk", data))
        return 0;

    zbContext* context = new zbContext;
    context->ComputeVersion(QORString(scratch.Dir().c_str()));
    const bool zeros = context->MajorVersion() == "0" && context->MinorVersion() == "0" &&
                       context->ServicePack() == "0" && context->BuildNumber() == "0";
    zbfuzz::Check(zeros || context->BuildNumber() != "0", kTarget,
                  "a version read without its build number");
    zbfuzz::Check(zeros || context->ServicePack() == "0", kTarget,
                  "a service pack without Zbzb_SPKLEVEL");
    zbfuzz::Check(OneLine(context->MajorVersion()) && OneLine(context->MinorVersion()), kTarget,
                  "a version number spanning lines");
    zbfuzz::Check(zeros || !level.empty(), kTarget, "a version read without levels");
    delete context;
    return 0;
}
