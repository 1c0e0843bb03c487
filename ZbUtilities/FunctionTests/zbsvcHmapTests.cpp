// zbsvc hmap, end to end.

#include <string>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Program;
using zbtest::ReadFile;
using zbtest::TempDir;
using zbtest::WriteFile;

TEST(zbsvcHmap, BuildsInCommandLineOrderAndMarksIntoFW)
{
    TempDir dir;
    WriteFile(dir / "one.hl", "!<zbhl> v2.0.1\n@A/PublicInterfaces\nx.h\n");
    WriteFile(dir / "two.hl", "!<zbhl> v2.0.1\n@>B/PrivateInterfaces\ny.h\n");
    std::string map = dir / "map";
    auto result = zbtest::Run({Program("zbsvc"), "hmap", "-o", map, "+/ws2=" + (dir / "two.hl"),
                               "/ws1=" + (dir / "one.hl")});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(ReadFile(map), "!<zbhl> v2.0.1\n"
                             "@|>/ws2/./B/PrivateInterfaces\ny.h\n"
                             "@/ws1/./A/PublicInterfaces\nx.h\n");
}

TEST(zbsvcHmap, UnreadableListsAreReportedAndCounted)
{
    TempDir dir;
    WriteFile(dir / "one.hl", "!<zbhl> v2.0.1\n@A\nx.h\n");
    WriteFile(dir / "bad.hl", "not a list\n");
    std::string map = dir / "map";
    auto result = zbtest::Run({Program("zbsvc"), "hmap", "-o", map, "/w=" + (dir / "none.hl"),
                               "/w=" + (dir / "one.hl"), "/w=" + (dir / "bad.hl")});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Err, "# System error on " + (dir / "none.hl") +
                               ": No such file or directory\n"
                               "# System error on " +
                               (dir / "bad.hl") + ": Bad file descriptor\n");
    EXPECT_EQ(ReadFile(map), "!<zbhl> v2.0.1\n@/w/./A\nx.h\n");
}

TEST(zbsvcHmap, Usage)
{
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "hmap", "/w=l"})._Status, 2);
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "hmap", "-o", "m"})._Status, 2);
    for (const char* bad : {"nolist", "=l", "/w=", "+=l"})
    {
        auto result = zbtest::Run({Program("zbsvc"), "hmap", "-o", "m", bad});
        EXPECT_EQ(result._Status, 2) << bad;
        EXPECT_NE(result._Err.find("is not WS=LISTFILE"), std::string::npos) << bad;
    }
}
