// zbsvc pp, end to end: level files, the level check, errors and statuses.

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const char* const zbLevelFile = "#define R21 1\n"
                                "#define SP 3\n"
                                "#if SP >= 2\n"
                                "#define SP2_OR_MORE\n"
                                "#endif\n";

std::string Error(const std::string& iFile, int iLine, const std::string& iText)
{
    return "# Error: " + iFile + "[" + std::to_string(iLine) + "]: " + iText + "\n";
}

std::string SystemError(const std::string& iObject, const std::string& iText)
{
    return "# System error on " + iObject + ": " + iText + "\n";
}
} // namespace

TEST(zbsvcPp, LevelsAndFailures)
{
    TempDir dir;
    WriteFile(dir / "levels.lvl", zbLevelFile);
    WriteFile(dir / "d.mk", "#if R21 && SP2_OR_MORE\nA = r21\n#elif R20\nA = r20\n#else\n"
                            "A = none\n#endif\n#if os HOME_MADE\nB = home\n#endif\n"
                            "C = c /* gone */\n");
    WriteFile(dir / "bad.lvl", "#if X Y\n#endif\n");
    WriteFile(dir / "empty.lvl", "");
    WriteFile(dir / "e.mk", "A = 1\n#else\n");
    // Without a level file the level tests fail; -nocheck looks names up
    // in the macros of the file only.
    const std::string noLevel = "a level is tested but no level file was loaded";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-level", dir / "levels.lvl", dir / "d.mk"}, "0|A = r21\n\n\nC = c \n|"},
        {{dir / "d.mk"},
         "1||" + Error(dir / "d.mk", 1, noLevel) + Error(dir / "d.mk", 1, noLevel) +
             Error(dir / "d.mk", 3, noLevel)},
        {{"-nocheck", dir / "d.mk"}, "0|\nA = none\n\n\nC = c \n|"},
        {{"-nocheck", dir / "e.mk"}, "1||" + Error(dir / "e.mk", 2, "missing #if")},
        {{"-level", dir / "bad.lvl", dir / "e.mk"},
         "1||" + Error(dir / "bad.lvl", 1, "two operands without an operator between them")},
        {{"-level", dir / "empty.lvl", dir / "e.mk"},
         "1||# Error: Level file " + dir / "empty.lvl" + " is empty\n"},
        {{"-level", dir / "none.lvl", dir / "e.mk"},
         "1||" + SystemError(dir / "none.lvl", "No such file or directory")},
        {{dir / "none.mk"}, "1||" + SystemError(dir / "none.mk", "No such file or directory")},
        {{dir.Path()}, "1||" + SystemError(dir.Path(), "Is a directory")}};
    for (auto [args, outcome] : cases)
    {
        args.insert(args.begin(), "pp");
        EXPECT_EQ(Outcome(Zbsvc(args)), outcome) << args.back();
    }
    EXPECT_EQ(Zbsvc({"pp"})._Status, 2);
    EXPECT_EQ(Zbsvc({"pp", "-bogus", dir / "d.mk"})._Status, 2);
}

// zbsvc macros -level preprocesses each file before reading it.
TEST(zbsvcPp, MacrosWithLevels)
{
    TempDir dir;
    WriteFile(dir / "levels.lvl", zbLevelFile);
    WriteFile(dir / "m.mk", "#if R21\nA = new\n#else\nA = old\n#endif\n"
                            "B = $(A) b // comment\n#define V 3\nC = last");
    EXPECT_EQ(Outcome(Zbsvc({"macros", "-solve", "-level", dir / "levels.lvl", dir / "m.mk"})),
              "0|C='last'\nB='new b'\nA='new'\n|");
    WriteFile(dir / "bad.mk", "A = 1\n#endif\n");
    EXPECT_EQ(Outcome(Zbsvc({"macros", "-level", dir / "levels.lvl", dir / "bad.mk"})),
              "1||" + Error(dir / "bad.mk", 2, "missing #if"));
    auto r = Zbsvc({"macros", "-level", dir / "none.lvl", dir / "m.mk"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
}

namespace
{
zbtest::ChildResult zbRunPp(const std::vector<std::string>& iArgs, bool iOnce = false)
{
    std::vector<std::string> argv{"pp", "-nocheck"};
    argv.insert(argv.end(), iArgs.begin(), iArgs.end());
    zbtest::ChildEnvironment env;
    if (iOnce)
        env._Set["ZBZB_FBINCLUDEONCE"] = "1";
    else
        env._Unset.push_back("ZBZB_FBINCLUDEONCE");
    return Zbsvc(argv, env);
}
} // namespace

TEST(zbsvcPp, Expand)
{
    TempDir t;
    WriteFile(t / "main.mk", "M = main\n#include \"a.mk\"\n#if os FROM_A\nmain sees a\n#endif\n"
                             "#include <b.mk> // tail\nend\n");
    WriteFile(t / "inc/a.mk", "#define FROM_A 1\nA = a\n");
    WriteFile(t / "inc/b.mk", "#if os FROM_A\nB = sees a\n#endif\n");
    // The includer is preprocessed before its includes: it does not see
    // FROM_A, b.mk processed after a.mk does.
    EXPECT_EQ(Outcome(zbRunPp({"-expand", "-I", t / "inc", t / "main.mk"})),
              "0|M = main\n#define FROM_A 1\nA = a\n\n\nB = sees a\n\n\nend\n|");
    // Without -expand the include lines stay.
    EXPECT_EQ(Outcome(zbRunPp({"-I", t / "inc", t / "main.mk"})),
              "0|M = main\n#include \"a.mk\"\n\n#include <b.mk>\nend\n|");
    EXPECT_EQ(Outcome(zbRunPp({"-expand", t / "main.mk"})),
              "1||# Error: " + t / "main.mk" + ": included file a.mk not found\n# Error: " +
                  t / "main.mk" + ": included file b.mk not found\n");
    WriteFile(t / "inc/b.mk", "#else\n");
    EXPECT_EQ(Outcome(zbRunPp({"-expand", "-I", t / "inc", t / "main.mk"})),
              "1||" + Error(t / "inc/b.mk", 1, "missing #if"));

    // Included twice: twice, unless ZBZB_FBINCLUDEONCE is set.
    WriteFile(t / "twice.mk", "#include \"a.mk\"\n#include \"a.mk\"\nz\n");
    WriteFile(t / "a.mk", "A = a\n");
    EXPECT_EQ(Outcome(zbRunPp({"-expand", "-I", t.Path(), t / "twice.mk"})),
              "0|A = a\n\nA = a\n\nz\n|");
    EXPECT_EQ(Outcome(zbRunPp({"-expand", "-I", t.Path(), t / "twice.mk"}, true)),
              "0|A = a\n\n\nz\n|");
}

TEST(zbsvcPp, IncludeDepth)
{
    TempDir dir;
    auto refused = [&](const char* iFile, const char* iFrom)
    {
        return "1||# Error: Include of " + dir / iFile + " from " + dir / iFrom +
               " refused: too many nested includes\n";
    };
    // A file including itself is refused 50 levels deep, reported once.
    WriteFile(dir / "self.mk", "x\n#include \"self.mk\"\n#include \"self.mk\"\n");
    EXPECT_EQ(Outcome(zbRunPp({"-expand", "-I", dir.Path(), dir / "self.mk"})),
              refused("self.mk", "self.mk"));

    // A chain f0 -> f1 -> ... : 49 files below the first are accepted, the
    // 50th is not.
    for (int i = 0; i <= 50; ++i)
        WriteFile(dir / ("f" + std::to_string(i) + ".mk"),
                  std::to_string(i) + "\n#include \"f" + std::to_string(i + 1) + ".mk\"\n");
    ::unlink((dir / "f50.mk").c_str());
    const std::vector<std::string> chain{"-expand", "-I", dir.Path(), dir / "f0.mk"};
    EXPECT_EQ(Outcome(zbRunPp(chain)),
              "1||# Error: " + dir / "f49.mk" + ": included file f50.mk not found\n");
    WriteFile(dir / "f50.mk", "50\n");
    EXPECT_EQ(Outcome(zbRunPp(chain)), refused("f50.mk", "f49.mk"));
    WriteFile(dir / "f49.mk", "49\n");
    std::string expected;
    for (int i = 0; i < 49; ++i)
        expected += std::to_string(i) + "\n";
    EXPECT_EQ(Outcome(zbRunPp(chain)), "0|" + expected + "49\n" + std::string(49, '\n') + "|");
}
