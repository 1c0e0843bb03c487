// zbsvc pp, end to end: level files, the level check, errors and statuses.

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

namespace
{
// A main file and its includes in DIR/inc.
struct IncludeTree
{
    IncludeTree()
    {
        ::mkdir((_Dir / "inc").c_str(), 0755);
        zbtest::WriteFile(_Dir / "main.mk", "M = main\n"
                                            "#include \"a.mk\"\n"
                                            "#if os FROM_A\n"
                                            "main sees a\n"
                                            "#endif\n"
                                            "#include <b.mk> // tail\n"
                                            "end\n");
        zbtest::WriteFile(_Dir / "inc/a.mk", "#define FROM_A 1\nA = a\n");
        zbtest::WriteFile(_Dir / "inc/b.mk", "#if os FROM_A\nB = sees a\n#endif\n");
    }
    std::string operator/(const char* iName) const { return _Dir / iName; }
    TempDir _Dir;
};

zbtest::ChildResult zbRunPp(const std::vector<std::string>& iArgs, bool iOnce = false)
{
    std::vector<std::string> argv{Program("zbsvc"), "pp"};
    argv.insert(argv.end(), iArgs.begin(), iArgs.end());
    zbtest::ChildEnvironment env;
    if (iOnce)
        env._Set["ZBZB_FBINCLUDEONCE"] = "1";
    else
        env._Unset.push_back("ZBZB_FBINCLUDEONCE");
    return zbtest::Run(argv, env);
}
} // namespace

TEST(zbsvcPp, Expand)
{
    IncludeTree t;
    // The includer is preprocessed before its includes: it does not see
    // FROM_A, b.mk processed after a.mk does.
    auto r = zbRunPp({"-nocheck", "-expand", "-I", t / "inc", t / "main.mk"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Err, "");
    EXPECT_EQ(r._Out, "M = main\n#define FROM_A 1\nA = a\n\n\nB = sees a\n\n\nend\n");
    // Without -expand the include lines stay.
    r = zbRunPp({"-nocheck", "-I", t / "inc", t / "main.mk"});
    EXPECT_EQ(r._Out, "M = main\n#include \"a.mk\"\n\n#include <b.mk>\nend\n");

    // Not found along the directories given.
    r = zbRunPp({"-nocheck", "-expand", t / "main.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
    EXPECT_EQ(r._Err, "# Error: " + t / "main.mk" +
                          ": included file a.mk not found\n"
                          "# Error: " +
                          t / "main.mk" + ": included file b.mk not found\n");
    // An error in an included file.
    zbtest::WriteFile(t / "inc/b.mk", "#else\n");
    r = zbRunPp({"-nocheck", "-expand", "-I", t / "inc", t / "main.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# Error: " + t / "inc/b.mk" + "[1]: missing #if\n");
}

TEST(zbsvcPp, IncludeOnce)
{
    TempDir dir;
    zbtest::WriteFile(dir / "main.mk", "#include \"a.mk\"\n#include \"a.mk\"\nz\n");
    zbtest::WriteFile(dir / "a.mk", "A = a\n");
    auto r = zbRunPp({"-nocheck", "-expand", "-I", dir.Path(), dir / "main.mk"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "A = a\n\nA = a\n\nz\n");
    r = zbRunPp({"-nocheck", "-expand", "-I", dir.Path(), dir / "main.mk"}, true);
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "A = a\n\n\nz\n");
}

TEST(zbsvcPp, IncludeDepth)
{
    TempDir dir;
    // A file including itself is refused 50 levels deep, reported once.
    zbtest::WriteFile(dir / "self.mk", "x\n#include \"self.mk\"\n#include \"self.mk\"\n");
    auto r = zbRunPp({"-nocheck", "-expand", "-I", dir.Path(), dir / "self.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
    EXPECT_EQ(r._Err, "# Error: Include of " + dir / "self.mk" + " from " + dir / "self.mk" +
                          " refused: too many nested includes\n");

    // A chain f0 -> f1 -> ... : 49 files below the first are accepted, the
    // 50th is not.
    for (int i = 0; i <= 50; ++i)
        zbtest::WriteFile(dir / ("f" + std::to_string(i) + ".mk"),
                          std::to_string(i) + "\n#include \"f" + std::to_string(i + 1) + ".mk\"\n");
    ::unlink((dir / "f50.mk").c_str());
    r = zbRunPp({"-nocheck", "-expand", "-I", dir.Path(), dir / "f0.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# Error: " + dir / "f49.mk" + ": included file f50.mk not found\n");
    zbtest::WriteFile(dir / "f50.mk", "50\n");
    r = zbRunPp({"-nocheck", "-expand", "-I", dir.Path(), dir / "f0.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Err, "# Error: Include of " + dir / "f50.mk" + " from " + dir / "f49.mk" +
                          " refused: too many nested includes\n");
    zbtest::WriteFile(dir / "f49.mk", "49\n");
    r = zbRunPp({"-nocheck", "-expand", "-I", dir.Path(), dir / "f0.mk"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    std::string expected;
    for (int i = 0; i < 49; ++i)
        expected += std::to_string(i) + "\n";
    expected += "49\n" + std::string(49, '\n');
    EXPECT_EQ(r._Out, expected);
}
