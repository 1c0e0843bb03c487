
#include "zbContext.h"
#include "zbOFStream.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const char kSource[] = "ZbUtilities/QORZbServices.m/src/zbContext";

// Runs the probe with one variable changed (or unset when iValue is null).
zbtest::ChildResult StartWith(const char* iName, const char* iValue)
{
    ChildEnvironment env;
    if (iValue)
        env._Set[iName] = iValue;
    else
        env._Unset.push_back(iName);
    return zbtest::Run({Program("zbProbe"), "load"}, env);
}
} // namespace

TEST(zbContext, BadOrMissingVariableEndsTheProcessAtLoad)
{
    // The bit mode unset or not 32/64, then each mandatory variable empty,
    // in the order they are checked.
    const std::tuple<const char*, const char*, const char*, const char*> checks[] = {
        {"ZbzbOS_BitMode", nullptr, "_OSBitMode != 64", "119"},
        {"ZbzbOS_BitMode", "48", "_OSBitMode != 64", "119"},
        {"ZbzbOS_BitMode", "abc", "_OSBitMode != 64", "119"},
        {"ZbzbINSTALL_PATH", "", "_InstallPath.GetLengthInChar()", "120"},
        {"ZbzbOS_Buildtime", "", "_OSBuildtime.GetLengthInChar()", "121"},
        {"ZbzbOS_Runtime", "", "_OSRuntime.GetLengthInChar()", "122"},
        {"ZbzbOS_DOC", "", "_OSDoc.GetLengthInChar()", "123"},
        {"ZbzbOS_NAME", "", "_OSNAME.GetLengthInChar()", "124"},
        {"ZbzbOS_Type", "", "_OSType.GetLengthInChar()", "125"},
    };
    for (const auto& [name, value, expression, line] : checks)
    {
        SCOPED_TRACE(std::string(name) + "=" + (value ? value : "(unset)"));
        zbtest::ChildResult r = StartWith(name, value);
        EXPECT_EQ(r._Exited && r._Status == 1, 1);
        EXPECT_NE(r._Err.find(expression), std::string::npos) << r._Err;
        EXPECT_NE(r._Err.find(std::string("line ") + line + " of " + kSource), std::string::npos);
        EXPECT_EQ(r._Out, "");
    }
    EXPECT_EQ(StartWith("ZbzbOS_BitMode", "32")._Status, 0);
    // Two missing variables: the first in the order above is the one reported.
    ChildEnvironment env;
    env._Unset = {"ZbzbOS_Type", "ZbzbOS_DOC"};
    zbtest::ChildResult r = zbtest::Run({Program("zbProbe"), "load"}, env);
    EXPECT_NE(r._Err.find("_OSDoc.GetLengthInChar()"), std::string::npos) << r._Err;
    EXPECT_EQ(r._Err.find("_OSType"), std::string::npos);
}

// The bit mode, type, name and build time are in the opening of every XML
// trace (zbTraceManagerTests).
TEST(zbContext, EnvironmentIsReadOnce)
{
    EXPECT_EQ(zbExtContext.OSRuntime(), "code");
    EXPECT_STREQ(zbExtContext.GetTempPath(), "/tmp");
    ASSERT_EQ(zbExtContext.OSRootBuildtime().Size(), 1);
    EXPECT_EQ(zbExtContext.OSRootBuildtime()[1], "linux_b64");
}

TEST(zbContext, RootBuildtimeListStartsWithTheBuildtimeName)
{
    ChildEnvironment env;
    env._Set["ZbzbOS_Buildtime"] = "x";
    env._Set["ZbzbOS_RootBuildtime"] = ",a,,b,";
    env._Set["PWD"] = "/some/where";
    zbtest::ChildResult r = zbtest::Run({Program("zbProbe"), "roots"}, env);
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "x\na\nb\n");
}

TEST(zbContext, ExternalUseIsExported)
{
    unsetenv("ZbzbExternalQX");
    EXPECT_EQ(zbExtContext.ExternalQX(), nullptr);
    EXPECT_STREQ(zbExtContext.SetForExternalUse(), "External");
    EXPECT_STREQ(getenv("ZbzbExternalQX"), "External");
    EXPECT_STREQ(zbExtContext.ExternalQX(), "External");
}
