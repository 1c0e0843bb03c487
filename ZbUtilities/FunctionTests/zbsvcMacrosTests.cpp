// zbsvc macros, end to end: reading files and includes, modes, resolution,
// both printed forms, exit statuses.

#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST(zbsvcmacros, ReadSolvePrint)
{
    Tree t;
    auto r = zbtest::Run({Program("zbsvc"), "macros", "-solve", "-I", t / "inc", t / "a.mk"});
    EXPECT_EQ(0, r._Status) << r._Err;
    EXPECT_EQ("", r._Err);
    // The order is the dictionary's; the included file's A replaces the
    // includer's, being inserted after it.
    EXPECT_EQ("B='b # b'\nA='from b'\nE='d e yes no'\n", r._Out);

    r = zbtest::Run({Program("zbsvc"), "macros", "-I" + t / "inc", t / "a.mk", t / "c.mk"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ("B='b # b'\nA='from c'\nE='$(U:-'d e') $(B:+'yes') $(U:@'no')'\n", r._Out);

    r = zbtest::Run(
        {Program("zbsvc"), "macros", "-keep", "-dump", "-I", t / "inc", t / "a.mk", t / "c.mk"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ("#\n# Set of macros\n"
              "#  - 'B' = [b # b]\n"
              "#  - 'A' = [$(B) a]\n"
              "#  - 'E' = [$(U:-'d e') $(B:+'yes') $(U:@'no')]\n\n",
              r._Out);
}

TEST(zbsvcmacros, FailuresAndUsage)
{
    Tree t;
    // The include is not found without -I; what was read is still printed.
    auto r = zbtest::Run({Program("zbsvc"), "macros", t / "a.mk", t / "none.mk"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("# System error on b.mk: No such file or directory\n"
              "# System error on " +
                  t / "none.mk" + ": No such file or directory\n",
              r._Err);
    EXPECT_NE(std::string::npos, r._Out.find("A='$(B) a'\n"));

    zbtest::WriteFile(t / "bad.mk", "A = x $(B y\n");
    r = zbtest::Run({Program("zbsvc"), "macros", "-solve", t / "bad.mk"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("# Error: Unbalanced $() in [x $(B y]\n", r._Err);
    EXPECT_EQ("A='x '\n", r._Out);

    zbtest::WriteFile(t / "quote.mk", "A = 'x\n");
    r = zbtest::Run({Program("zbsvc"), "macros", t / "quote.mk"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("", r._Out);

    for (auto args : {std::vector<std::string>{}, {"-solve"}, {"-x", "f"}, {"-I"}})
    {
        std::vector<std::string> argv = {Program("zbsvc"), "macros"};
        argv.insert(argv.end(), args.begin(), args.end());
        r = zbtest::Run(argv);
        EXPECT_EQ(2, r._Status);
        EXPECT_NE(std::string::npos, r._Err.find("usage: zbsvc macros ")) << r._Err;
        EXPECT_EQ("", r._Out);
    }
    r = zbtest::Run({Program("zbsvc"), "macros", "-h"});
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
