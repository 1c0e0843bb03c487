// The build context and what it is made of: the environment read at load,
// variables read and exported, $PWD (believed only while it names the
// current directory; a stale $PWD and a change to a missing directory are
// met by zbScriptTests) and the concatenations of the install roots.

#include <climits>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbEnvironVariable.h"
#include "zbGetZbzbConcatenation.h"
#include "zbQORStringHash.h"
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

std::vector<std::string> Items(const QORListValQORString& iList)
{
    std::vector<std::string> items;
    for (const QORString& item : iList)
        items.push_back(item.Std());
    return items;
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

TEST(zbEnvironVariable, ValuesAndComparison)
{
    zbEnvironVariable unset("ZB_TEST_UNSET_VARIABLE");
    EXPECT_TRUE(unset.Value() == nullptr && unset.GetEnvironmentValue() == nullptr);

    zbEnvironVariable path("P", "b"), empty("E"), other("O", "x");
    EXPECT_STREQ("a:b", path.InsertValues("a", ":"));
    EXPECT_STREQ("a:b:c", path.AppendValues("c", ":"));
    EXPECT_STREQ("a:b:c;", path.AppendValues(nullptr, ";"));
    EXPECT_STREQ(":", empty.AppendValues(nullptr, ":")); // the separator even on nothing
    // Variables compare and assign by value; the name stays.
    EXPECT_FALSE(empty == other);
    EXPECT_STREQ("x", empty = other);
    EXPECT_STREQ("E", empty.Name());
    EXPECT_TRUE(empty == other && unset == zbEnvironVariable("Q") && unset != other);
}

TEST(zbEnvironVariable, PutGrowsItsBufferAndExports)
{
    zbEnvironVariable variable("ZB_TEST_PUT", "short");
    for (const char* value : {"short", "a much longer value than before", ""})
    {
        variable = value;
        EXPECT_STREQ(value, variable.PutEnvironmentValue());
        EXPECT_STREQ(value, std::getenv("ZB_TEST_PUT"));
    }
    EXPECT_STREQ("", zbEnvironVariable("ZB_TEST_PUT").GetEnvironmentValue());
    ::unsetenv("ZB_TEST_PUT");
}

TEST(zbWorkingDirectory, PwdIsKeptOnlyWhileItNamesTheCurrentDirectory)
{
    zbtest::TempDir temp;
    char real[PATH_MAX];
    ASSERT_NE(realpath(temp.Path().c_str(), real), nullptr);
    const std::string dir = real, link = dir + "/link";
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0755), 0);
    ASSERT_EQ(symlink((dir + "/sub").c_str(), link.c_str()), 0);

    char saved[PATH_MAX];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    zbtest::ScopedEnv pwd("PWD", link.c_str());
    // $PWD through a link to "." keeps the link's text,
    ASSERT_EQ(chdir(link.c_str()), 0);
    EXPECT_STREQ(zbGetPWD(), link.c_str());
    // and leaving the link's directory drops it.
    ASSERT_EQ(zbSetPWD(".."), 0);
    EXPECT_STREQ(zbGetPWD(), dir.c_str());
    EXPECT_EQ(chdir(saved), 0);
}

// Entries already there, no directory (the path-list corpus checks the rest).
TEST(zbGetZbzbConcatenation, BuildtimeEntriesThenRuntimeEntries)
{
    // The test environment: runtime "code", build time "linux_b64".
    QORListValQORString list, none;
    list.Append(QORString("/old"));
    zbGetZbzbConcatenation(list, "/r1::/r2", nullptr, "/o1");
    EXPECT_EQ((std::vector<std::string>{"/old/./code/linux_b64", "/o1/./code/linux_b64",
                                        "/r1/./code/linux_b64", "/r2/./code/linux_b64",
                                        "/old/./code", "/o1/./code", "/r1/./code", "/r2/./code"}),
              Items(list));
    zbGetZbzbConcatenation(none, nullptr, "x", nullptr);
    EXPECT_EQ(0, none.Size());
}

// The table itself is the foundation's, tested with it.
TEST(QORHashTabQORString, Callbacks)
{
    QORString a("a"), a2("a"), b("b");
    EXPECT_TRUE(zbQORStringHkey(nullptr) == 0u && zbQORStringHkey(&a) == a.ComputeHashKey());
    EXPECT_EQ((std::vector<int>{zbQORStringCompare(nullptr, nullptr),
                                zbQORStringCompare(nullptr, &a), zbQORStringCompare(&a, nullptr),
                                zbQORStringCompare(&a, &a2), zbQORStringCompare(&a, &b) < 0}),
              (std::vector<int>{0, -1, 1, 0, 1}));
}
