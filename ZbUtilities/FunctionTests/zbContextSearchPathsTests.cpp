// The context's search paths, built once per process: the tests follow one another.

#include "zbContext.h"
#include "zbFileName.h"
#include "zbMacroSet.h"
#include "zbOFStream.h"
#include "zbTestSupport.h"

namespace
{
std::string Example(const std::string& iSub)
{
    return zbtest::SourcePath("examples/install") + "/./code/tools/" + iSub;
}

std::string Paths(const zbPathFinder* iFinder)
{
    std::string text;
    QORListValQORString list;
    for (const QORString& path : iFinder->GetListOfPath(list))
        text += path.Std() + "\n";
    return text;
}

std::string Text(const zbFileName& iFile)
{
    return iFile.GetPtrToFullname() ? iFile.GetPtrToFullname() : "";
}
} // namespace

TEST(zbContextSearchPaths, ConfigPathOnceOverrideFirstMainSpecifications)
{
    zbtest::TempDir a, b;
    zbtest::WriteFile(a / "code/tools/config/linux_b64/MainSpecifications.mk",
                      "Name = over\nTitle = $(Name) ride\n");
    zbtest::WriteFile(a / "code/tools/config/onlyA.mk", "");
    zbtest::WriteFile(b / "code/tools/config/onlyB.mk", "");

    ::setenv("MY_ZBZB_CONFIG", a.Path().c_str(), 1);
    zbPathFinder* config = zbExtContext.GetConfigPath();
    ASSERT_NE(nullptr, config);
    // Build-time directories first, override roots before installation roots;
    // directories that do not exist are left out.
    EXPECT_EQ(a.Path() + "/./code/tools/config/linux_b64\n" + a.Path() + "/./code/tools/config\n" +
                  Example("config") + "\n",
              Paths(config));

    ::setenv("MY_ZBZB_CONFIG", b.Path().c_str(), 1);
    EXPECT_EQ(config, zbExtContext.GetConfigPath());
    zbFileName file;
    EXPECT_EQ(nullptr, zbExtContext.SearchForConfig("onlyB.mk", file));
    EXPECT_EQ("onlyB.mk", Text(file));
    ASSERT_NE(nullptr, zbExtContext.SearchForConfig("onlyA.mk", file));
    EXPECT_EQ(a.Path() + "/./code/tools/config/onlyA.mk", Text(file));
    ::unsetenv("MY_ZBZB_CONFIG");

    // The override's file hides the example tree's; read and resolved once.
    zbMacroSet* specs = zbExtContext.GetMainSpecifications();
    ASSERT_NE(nullptr, specs);
    ASSERT_NE(nullptr, specs->GetValue("Title"));
    EXPECT_EQ("over ride", specs->GetValue("Title")->Std());
    EXPECT_EQ(nullptr, specs->GetValue("Product"));
    zbtest::WriteFile(a / "code/tools/config/linux_b64/MainSpecifications.mk", "Name = again\n");
    EXPECT_EQ(specs, zbExtContext.GetMainSpecifications());
    EXPECT_EQ("over", specs->GetValue("Name")->Std());
}

TEST(zbContextSearchPaths, TrameAndDataPaths)
{
    // The lists of the unnamed paths are dumped by zbsvc context -v.
    zbPathFinder* trame = zbExtContext.GetTramePath();
    EXPECT_EQ(trame, zbExtContext.GetTramePath());

    // A named trame path is built once per name, and dumped when verbose.
    zbExtContext._Verbose = 1;
    zbtest::Capture out(1);
    zbPathFinder* demo = zbExtContext.GetTramePath(zbNewString("demo"));
    zbStdout.Flush();
    zbExtContext._Verbose = 0;
    EXPECT_EQ("#  List of searched path:\n#   [" + Example("trame/demo") + "]\n", out.Stop());
    EXPECT_EQ(demo, zbExtContext.GetTramePath(zbNewString("demo")));

    zbPathFinder* none = zbExtContext.GetTramePath(zbNewString("none"));
    EXPECT_NE(demo, none);
    EXPECT_EQ("", Paths(none));

    zbFileName file;
    ASSERT_NE(nullptr, zbExtContext.SearchForData("zbXmlKeys.mk", file));
    EXPECT_EQ(Example("data") + "/zbXmlKeys.mk", Text(file));
    EXPECT_EQ(zbExtContext.GetDataPath(), zbExtContext.GetDataPath());
}

TEST(zbContextSearchPaths, FirstVersionStays)
{
    zbExtContext.SetVersion("7", "8", "9", "10");
    zbExtContext.ComputeVersion(QORString(zbtest::SourcePath("examples/install/code/tools/data")));
    zbExtContext.SetVersion("1", "1", "1", "1");
    EXPECT_EQ("7 8 9 10",
              zbExtContext.MajorVersion().Std() + " " + zbExtContext.MinorVersion().Std() + " " +
                  zbExtContext.ServicePack().Std() + " " + zbExtContext.BuildNumber().Std());
}
