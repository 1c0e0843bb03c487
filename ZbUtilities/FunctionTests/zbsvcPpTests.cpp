// zbsvc pp, end to end: level files, the level check, errors and statuses.

#include <string>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Program;
using zbtest::TempDir;

namespace
{
const char* const zbLevelFile = "#define R21 1\n"
                                "#define SP 3\n"
                                "#if SP >= 2\n"
                                "#define SP2_OR_MORE\n"
                                "#endif\n";

const char* const zbDescription = "#if R21 && SP2_OR_MORE\n"
                                  "A = r21\n"
                                  "#elif R20\n"
                                  "A = r20\n"
                                  "#else\n"
                                  "A = none\n"
                                  "#endif\n"
                                  "#if os HOME_MADE\n"
                                  "B = home\n"
                                  "#endif\n"
                                  "C = c /* gone */\n";
} // namespace

TEST(zbsvcPp, LevelFile)
{
    TempDir dir;
    zbtest::WriteFile(dir / "levels.lvl", zbLevelFile);
    zbtest::WriteFile(dir / "d.mk", zbDescription);
    auto r = zbtest::Run({Program("zbsvc"), "pp", "-level", dir / "levels.lvl", dir / "d.mk"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Err, "");
    EXPECT_EQ(r._Out, "A = r21\n\n\nC = c \n");

    // Without a level file the level tests fail; -nocheck looks names up
    // in the macros of the file only.
    r = zbtest::Run({Program("zbsvc"), "pp", dir / "d.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
    EXPECT_EQ(r._Err, "# Error: " + dir / "d.mk" +
                          "[1]: a level is tested but no level file was loaded\n"
                          "# Error: " +
                          dir / "d.mk" +
                          "[1]: a level is tested but no level file was loaded\n"
                          "# Error: " +
                          dir / "d.mk" + "[3]: a level is tested but no level file was loaded\n");
    r = zbtest::Run({Program("zbsvc"), "pp", "-nocheck", dir / "d.mk"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "\nA = none\n\n\nC = c \n");
}

TEST(zbsvcPp, Failures)
{
    TempDir dir;
    zbtest::WriteFile(dir / "bad.lvl", "#if X Y\n#endif\n");
    zbtest::WriteFile(dir / "empty.lvl", "");
    zbtest::WriteFile(dir / "d.mk", "A = 1\n#else\n");
    auto r = zbtest::Run({Program("zbsvc"), "pp", "-nocheck", dir / "d.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
    EXPECT_EQ(r._Err, "# Error: " + dir / "d.mk" + "[2]: missing #if\n");

    r = zbtest::Run({Program("zbsvc"), "pp", "-level", dir / "bad.lvl", dir / "d.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# Error: " + dir / "bad.lvl" +
                          "[1]: two operands without an operator between them\n");
    r = zbtest::Run({Program("zbsvc"), "pp", "-level", dir / "empty.lvl", dir / "d.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# Error: Level file " + dir / "empty.lvl" + " is empty\n");
    r = zbtest::Run({Program("zbsvc"), "pp", "-level", dir / "none.lvl", dir / "d.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# System error on " + dir / "none.lvl" + ": No such file or directory\n");
    r = zbtest::Run({Program("zbsvc"), "pp", dir / "none.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# System error on " + dir / "none.mk" + ": No such file or directory\n");
    r = zbtest::Run({Program("zbsvc"), "pp", dir.Path()});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# System error on " + dir.Path() + ": Is a directory\n");

    r = zbtest::Run({Program("zbsvc"), "pp"});
    EXPECT_EQ(r._Status, 2);
    r = zbtest::Run({Program("zbsvc"), "pp", "-bogus", dir / "d.mk"});
    EXPECT_EQ(r._Status, 2);
}

// zbsvc macros -level preprocesses each file before reading it.
TEST(zbsvcPp, MacrosWithLevels)
{
    TempDir dir;
    zbtest::WriteFile(dir / "levels.lvl", zbLevelFile);
    zbtest::WriteFile(dir / "m.mk", "#if R21\nA = new\n#else\nA = old\n#endif\n"
                                    "B = $(A) b // comment\n#define V 3\nC = last");
    auto r = zbtest::Run(
        {Program("zbsvc"), "macros", "-solve", "-level", dir / "levels.lvl", dir / "m.mk"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "C='last'\nB='new b'\nA='new'\n");

    zbtest::WriteFile(dir / "bad.mk", "A = 1\n#endif\n");
    r = zbtest::Run({Program("zbsvc"), "macros", "-level", dir / "levels.lvl", dir / "bad.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# Error: " + dir / "bad.mk" + "[2]: missing #if\n");
    r = zbtest::Run({Program("zbsvc"), "macros", "-level", dir / "none.lvl", dir / "m.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
}
