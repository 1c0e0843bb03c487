
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

TEST(zbContext, BadBitModeEndsTheProcessAtLoad)
{
    for (const char* value : {static_cast<const char*>(nullptr), "48", "abc", ""})
    {
        SCOPED_TRACE(value ? value : "(unset)");
        zbtest::ChildResult r = StartWith("ZbzbOS_BitMode", value);
        EXPECT_EQ(r._Exited, 1);
        EXPECT_EQ(r._Status, 1);
        EXPECT_NE(r._Err.find("_OSBitMode != 64"), std::string::npos) << r._Err;
        EXPECT_NE(r._Err.find("119"), std::string::npos);
        EXPECT_NE(r._Err.find(kSource), std::string::npos);
        EXPECT_EQ(r._Out, "");
    }
    EXPECT_EQ(StartWith("ZbzbOS_BitMode", "32")._Status, 0);
    EXPECT_EQ(StartWith("ZbzbOS_BitMode", "64")._Status, 0);
}

TEST(zbContext, EachMandatoryVariableIsCheckedInOrder)
{
    const std::tuple<const char*, const char*, const char*> checks[] = {
        {"ZbzbINSTALL_PATH", "_InstallPath.GetLengthInChar()", "120"},
        {"ZbzbOS_Buildtime", "_OSBuildtime.GetLengthInChar()", "121"},
        {"ZbzbOS_Runtime", "_OSRuntime.GetLengthInChar()", "122"},
        {"ZbzbOS_DOC", "_OSDoc.GetLengthInChar()", "123"},
        {"ZbzbOS_NAME", "_OSNAME.GetLengthInChar()", "124"},
        {"ZbzbOS_Type", "_OSType.GetLengthInChar()", "125"},
    };
    for (const auto& [name, expression, line] : checks)
    {
        SCOPED_TRACE(name);
        zbtest::ChildResult r = StartWith(name, "");
        EXPECT_EQ(r._Status, 1);
        EXPECT_NE(r._Err.find(expression), std::string::npos) << r._Err;
        EXPECT_NE(r._Err.find(std::string("line ") + line), std::string::npos) << r._Err;
        EXPECT_NE(r._Err.find(kSource), std::string::npos);
    }
    // Two missing variables: the first in the order above is the one reported.
    ChildEnvironment env;
    env._Unset = {"ZbzbOS_Type", "ZbzbOS_DOC"};
    zbtest::ChildResult r = zbtest::Run({Program("zbProbe"), "load"}, env);
    EXPECT_NE(r._Err.find("_OSDoc.GetLengthInChar()"), std::string::npos) << r._Err;
    EXPECT_EQ(r._Err.find("_OSType"), std::string::npos);
}

TEST(zbContext, EnvironmentIsReadOnce)
{
    EXPECT_EQ(zbExtContext.OSBitMode(), 64);
    EXPECT_EQ(zbExtContext.OSBuildtime(), "linux_b64");
    EXPECT_EQ(zbExtContext.OSRuntime(), "code");
    EXPECT_STREQ(zbExtContext.GetTempPath(), "/tmp");
    EXPECT_EQ(zbExtContext.MajorVersion(), "0");
    EXPECT_EQ(zbExtContext.BuildNumber(), "0");
    ASSERT_EQ(zbExtContext.OSRootBuildtime().Size(), 1);
    EXPECT_EQ(zbExtContext.OSRootBuildtime()[1], "linux_b64");
    EXPECT_NE(zbExtContext.GetMsgMngr(), nullptr);
    EXPECT_NE(zbExtContext.GetTraceMngr(), nullptr);
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
