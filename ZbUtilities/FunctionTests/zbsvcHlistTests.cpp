// zbsvc hlist, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcHlist, WritesTheListOfTheDirectories)
{
    zbtest::TempDir ws;
    zbtest::MakeDirs(ws / "Fw/PublicInterfaces/sub");
    for (const char* file :
         {"Fw/PublicInterfaces/b.h", "Fw/PublicInterfaces/a.h", "Fw/PrivateInterfaces/p.h"})
        zbtest::WriteFile(ws / file, "");
    const std::string list = ws / "Fw.hl";
    EXPECT_EQ(Outcome(Zbsvc({"hlist", "-ws", ws.Path(), "-o", list, "Fw/PublicInterfaces",
                             "Fw/PrivateInterfaces"})),
              "0||");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n"
                              "@Fw/PublicInterfaces\na.h\nb.h\nsub\n"
                              "@Fw/PrivateInterfaces\np.h\n");
    EXPECT_EQ(Outcome(Zbsvc(
                  {"hlist", "-subdir", "-ws", ws.Path(), "-o", list, "Fw/PublicInterfaces/sub"})),
              "0||");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n@>Fw/PublicInterfaces/sub\n");
    // A missing directory is reported and the others written.
    EXPECT_EQ(
        Outcome(Zbsvc({"hlist", "-ws", ws.Path(), "-o", list, "Fw/none", "Fw/PrivateInterfaces"})),
        "1||# System error on " + ws.Path() + "/./Fw/none: No such file or directory\n");
    EXPECT_EQ(ReadFile(list), "!<zbhl> v2.0.1\n@Fw/PrivateInterfaces\np.h\n");

    for (const auto& args : {std::vector<std::string>{"hlist", "-o", "x", "Fw"},
                             {"hlist", "-ws", "x", "Fw"},
                             {"hlist", "-ws", "x", "-o", "y"}})
        EXPECT_EQ(Zbsvc(args)._Status, 2) << args[1];
}
