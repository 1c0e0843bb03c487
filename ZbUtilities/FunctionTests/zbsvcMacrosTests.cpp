// zbsvc macros, end to end: reading files and includes, modes, resolution,
// both printed forms, exit statuses.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

#include "zbTestSupport.h"

using zbtest::Program;

namespace
{
struct Tree
{
    Tree()
    {
        mkdir((_Dir / "inc").c_str(), 0755);
        zbtest::WriteFile(_Dir / "a.mk", "A = $(B) a\n"
                                         "include b.mk\n"
                                         "E = $(U:-'d e') $(B:+'yes') $(U:@'no')\n");
        zbtest::WriteFile(_Dir / "inc/b.mk", "B = 'b # b'\nA = from b\n");
        zbtest::WriteFile(_Dir / "c.mk", "A = from c\n");
    }
    std::string operator/(const char* iName) const { return _Dir / iName; }
    zbtest::TempDir _Dir;
};
} // namespace

TEST(zbsvcmacros, ReadSolvePrintAndFailures)
{
    Tree t;
    zbtest::WriteFile(t / "bad.mk", "A = x $(B y\n");
    zbtest::WriteFile(t / "quote.mk", "A = 'x\n");
    const std::string e = "E='$(U:-'d e') $(B:+'yes') $(U:@'no')'\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // The order is the dictionary's; the included file's A replaces the
        // includer's, being inserted after it.
        {{"-solve", "-I", t / "inc", t / "a.mk"}, "0|B='b # b'\nA='from b'\nE='d e yes no'\n|"},
        {{"-I" + t / "inc", t / "a.mk", t / "c.mk"}, "0|B='b # b'\nA='from c'\n" + e + "|"},
        {{"-keep", "-dump", "-I", t / "inc", t / "a.mk", t / "c.mk"},
         "0|#\n# Set of macros\n#  - 'B' = [b # b]\n#  - 'A' = [$(B) a]\n"
         "#  - 'E' = [$(U:-'d e') $(B:+'yes') $(U:@'no')]\n\n|"},
        // The include is not found without -I; what was read is still printed.
        {{t / "a.mk", t / "none.mk"},
         "1|A='$(B) a'\n" + e + "|# System error on b.mk: No such file or directory\n" +
             "# System error on " + t / "none.mk" + ": No such file or directory\n"},
        {{"-solve", t / "bad.mk"}, "1|A='x '\n|# Error: Unbalanced $() in [x $(B y]\n"},
    };
    for (auto [args, outcome] : cases)
    {
        args.insert(args.begin(), "macros");
        EXPECT_EQ(outcome, zbtest::Outcome(zbtest::Zbsvc(args))) << args.back();
    }
    auto r = zbtest::Zbsvc({"macros", t / "quote.mk"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("", r._Out);

    for (auto args : {std::vector<std::string>{}, {"-solve"}, {"-x", "f"}, {"-I"}})
    {
        args.insert(args.begin(), "macros");
        r = zbtest::Zbsvc(args);
        EXPECT_EQ(2, r._Status);
        EXPECT_NE(std::string::npos, r._Err.find("usage: zbsvc macros ")) << r._Err;
        EXPECT_EQ("", r._Out);
    }
    r = zbtest::Zbsvc({"macros", "-h"});
    EXPECT_EQ(0, r._Status);
    EXPECT_NE(std::string::npos,
              r._Out.find("   -I DIR : directory searched for the included files\n"));
}

TEST(zbsvcmacros, OutputFailure)
{
    Tree t;
    auto r = zbtest::Run(
        {"/bin/sh", "-c", "exec \"$0\" macros \"$1\" > /dev/full", Program("zbsvc"), t / "c.mk"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("zbsvc: standard output: No space left on device\n", r._Err);
}

// A file that defines nothing is a valid empty set, whether it is empty or
// holds only comments.
TEST(zbsvcmacros, FilesDefiningNothingAreAnEmptySet)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "empty.mk", "");
    zbtest::WriteFile(dir / "comment.mk", "# nothing here\n");
    zbtest::WriteFile(dir / "one.mk", "A = 1\n");
    for (const char* file : {"empty.mk", "comment.mk"})
    {
        EXPECT_EQ(zbtest::Outcome(zbtest::Zbsvc({"macros", dir / file})), "0||") << file;
        EXPECT_EQ(zbtest::Outcome(zbtest::Zbsvc({"macros", dir / file, dir / "one.mk"})),
                  "0|A='1'\n|")
            << file;
    }
}
