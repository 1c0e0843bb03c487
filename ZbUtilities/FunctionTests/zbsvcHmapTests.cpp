// zbsvc hmap, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcHmap, BuildsInCommandLineOrderAndMarksIntoFW)
{
    zbtest::TempDir dir;
    WriteFile(dir / "one.hl", "!<zbhl> v2.0.1\n@A/PublicInterfaces\nx.h\n");
    WriteFile(dir / "two.hl", "!<zbhl> v2.0.1\n@>B/PrivateInterfaces\ny.h\n");
    EXPECT_EQ(Outcome(Zbsvc({"hmap", "-o", dir / "map", "+/ws2=" + (dir / "two.hl"),
                             "/ws1=" + (dir / "one.hl")})),
              "0||");
    EXPECT_EQ(ReadFile(dir / "map"), "!<zbhl> v2.0.1\n"
                                     "@|>/ws2/./B/PrivateInterfaces\ny.h\n"
                                     "@/ws1/./A/PublicInterfaces\nx.h\n");
}

TEST(zbsvcHmap, Usage)
{
    EXPECT_EQ(Zbsvc({"hmap", "/w=l"})._Status, 2);
    EXPECT_EQ(Zbsvc({"hmap", "-o", "m"})._Status, 2);
    for (const char* bad : {"nolist", "=l", "/w=", "+=l"})
    {
        auto result = Zbsvc({"hmap", "-o", "m", bad});
        EXPECT_EQ(result._Status, 2) << bad;
        EXPECT_NE(result._Err.find("is not WS=LISTFILE"), std::string::npos) << bad;
    }
}

// A damaged list is reported with its line and counted; the blocks before
// the damage still go into the map.
TEST(zbsvcHmap, DamagedListsAreReportedWithTheirLine)
{
    const std::string magic = "!<zbhl> v2.0.1\n";
    // map: after the magic line
    const std::tuple<std::string, const char*, std::string> cases[] = {
        {magic + "@A\nx.h\ny.h\n@B\nz.h", "6", "@/w/./A\nx.h\ny.h\n@/w/./B\n"},
        {magic + "@A\nx.h\n@B\nz" + std::string(1, '\0') + ".h\n@C\nw.h\n", "5",
         "@/w/./A\nx.h\n@/w/./B\n"},
        {magic + "stray\n@A\nx.h\n", "2", ""},
        {magic + "@A\nx.h\n" + std::string(5000, 'y') + "\n@B\nz.h\n", "4", "@/w/./A\nx.h\n"},
    };
    for (const auto& [list, line, map] : cases)
    {
        zbtest::TempDir dir;
        WriteFile(dir / "l.hl", list);
        EXPECT_EQ(Outcome(Zbsvc({"hmap", "-o", dir / "map", "/w=" + (dir / "l.hl")})),
                  "1||# Error: " + (dir / "l.hl") + ", line " + line +
                      ": damaged header list (a NUL byte, a cut line, a line outside a block "
                      "or longer than a path): the entries from there on are left out\n")
            << line;
        EXPECT_EQ(ReadFile(dir / "map"), magic + map) << line;
    }
}

// Every directory of the map is absolute, a relative workspace included; a
// map that cannot be written is named, not the list.
TEST(zbsvcHmap, RelativeWorkspaceAndUnwritableMap)
{
    zbtest::TempDir dir;
    WriteFile(dir / "l.hl", "!<zbhl> v2.0.1\n@A\nx.h\n");
    zbtest::ChildEnvironment env;
    env._Set["PWD"] = dir.Path();
    zbtest::ChildResult r = zbtest::Run(
        {zbtest::Program("zbsvc"), "hmap", "-o", "map", "ws/sub=l.hl"}, env, "", dir.Path());
    EXPECT_EQ(Outcome(r), "0||");
    EXPECT_EQ(ReadFile(dir / "map"), "!<zbhl> v2.0.1\n@" + dir.Path() + "/ws/sub/./A\nx.h\n");

    EXPECT_EQ(Outcome(Zbsvc({"hmap", "-o", "/dev/full", "/w=" + (dir / "l.hl")})),
              "1||# System error on /dev/full: No space left on device\n");
}
