// zbsvc hlist, end to end.

#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Program;
using zbtest::ReadFile;
using zbtest::TempDir;

namespace
{
struct Workspace
{
    TempDir _Dir;
    Workspace()
    {
        ::mkdir((_Dir / "Fw").c_str(), 0755);
        ::mkdir((_Dir / "Fw/PublicInterfaces").c_str(), 0755);
        ::mkdir((_Dir / "Fw/PublicInterfaces/sub").c_str(), 0755);
        ::mkdir((_Dir / "Fw/PrivateInterfaces").c_str(), 0755);
        zbtest::WriteFile(_Dir / "Fw/PublicInterfaces/b.h", "");
        zbtest::WriteFile(_Dir / "Fw/PublicInterfaces/a.h", "");
        zbtest::WriteFile(_Dir / "Fw/PrivateInterfaces/p.h", "");
    }
};
} // namespace

TEST(zbsvcHlist, WritesTheListOfTheDirectories)
{
    Workspace ws;
    std::string list = ws._Dir / "Fw.hl";
    auto result = zbtest::Run({Program("zbsvc"), "hlist", "-ws", ws._Dir.Path(), "-o", list,
                               "Fw/PublicInterfaces", "Fw/PrivateInterfaces"});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(result._Out + result._Err, "");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n"
                              "@Fw/PublicInterfaces\na.h\nb.h\nsub\n"
                              "@Fw/PrivateInterfaces\np.h\n");

    result = zbtest::Run({Program("zbsvc"), "hlist", "-subdir", "-ws", ws._Dir.Path(), "-o", list,
                          "Fw/PublicInterfaces/sub"});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n@>Fw/PublicInterfaces/sub\n");
}

TEST(zbsvcHlist, MissingDirectoryIsReportedAndTheOthersWritten)
{
    Workspace ws;
    std::string list = ws._Dir / "Fw.hl";
    auto result = zbtest::Run({Program("zbsvc"), "hlist", "-ws", ws._Dir.Path(), "-o", list,
                               "Fw/none", "Fw/PrivateInterfaces"});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Err,
              "# System error on " + ws._Dir.Path() + "/./Fw/none: No such file or directory\n");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n@Fw/PrivateInterfaces\np.h\n");

    result = zbtest::Run({Program("zbsvc"), "hlist", "-ws", ws._Dir.Path(), "-o", "/nonexistent/l",
                          "Fw/PrivateInterfaces"});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Err, "# System error on /nonexistent/l: No such file or directory\n");
}

TEST(zbsvcHlist, Usage)
{
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "hlist", "-o", "x", "Fw"})._Status, 2);
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "hlist", "-ws", "x", "Fw"})._Status, 2);
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "hlist", "-ws", "x", "-o", "y"})._Status, 2);
    auto help = zbtest::Run({Program("zbsvc"), "hlist", "-h"});
    EXPECT_EQ(help._Status, 0);
    EXPECT_NE(help._Out.find("-subdir"), std::string::npos);
}
