// zbsvc hlist, end to end.

#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Outcome;
using zbtest::ReadFile;
using zbtest::Zbsvc;

namespace
{
// Fw/PublicInterfaces holding b.h, a.h and sub/; Fw/PrivateInterfaces holding p.h.
struct Workspace
{
    zbtest::TempDir _Dir;
    Workspace()
    {
        for (const char* sub :
             {"Fw", "Fw/PublicInterfaces", "Fw/PublicInterfaces/sub", "Fw/PrivateInterfaces"})
            ::mkdir((_Dir / sub).c_str(), 0755);
        for (const char* file :
             {"Fw/PublicInterfaces/b.h", "Fw/PublicInterfaces/a.h", "Fw/PrivateInterfaces/p.h"})
            zbtest::WriteFile(_Dir / file, "");
    }
};
} // namespace

TEST(zbsvcHlist, WritesTheListOfTheDirectories)
{
    Workspace ws;
    std::string list = ws._Dir / "Fw.hl";
    EXPECT_EQ(Outcome(Zbsvc({"hlist", "-ws", ws._Dir.Path(), "-o", list, "Fw/PublicInterfaces",
                             "Fw/PrivateInterfaces"})),
              "0||");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n"
                              "@Fw/PublicInterfaces\na.h\nb.h\nsub\n"
                              "@Fw/PrivateInterfaces\np.h\n");
    EXPECT_EQ(Outcome(Zbsvc({"hlist", "-subdir", "-ws", ws._Dir.Path(), "-o", list,
                             "Fw/PublicInterfaces/sub"})),
              "0||");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n@>Fw/PublicInterfaces/sub\n");
}

TEST(zbsvcHlist, MissingDirectoryIsReportedAndTheOthersWritten)
{
    Workspace ws;
    std::string list = ws._Dir / "Fw.hl";
    EXPECT_EQ(Outcome(Zbsvc(
                  {"hlist", "-ws", ws._Dir.Path(), "-o", list, "Fw/none", "Fw/PrivateInterfaces"})),
              "1||# System error on " + ws._Dir.Path() + "/./Fw/none: No such file or directory\n");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n@Fw/PrivateInterfaces\np.h\n");
}

TEST(zbsvcHlist, Usage)
{
    for (const auto& args : {std::vector<std::string>{"hlist", "-o", "x", "Fw"},
                             {"hlist", "-ws", "x", "Fw"},
                             {"hlist", "-ws", "x", "-o", "y"}})
        EXPECT_EQ(Zbsvc(args)._Status, 2) << args[1];
    auto help = Zbsvc({"hlist", "-h"});
    EXPECT_EQ(help._Status, 0);
    EXPECT_NE(help._Out.find("-subdir"), std::string::npos);
}
