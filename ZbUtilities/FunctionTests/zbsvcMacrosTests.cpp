// zbsvc macros, end to end: files and includes, modes, both printed forms.

#include "zbTestSupport.h"

TEST(zbsvcmacros, ReadSolvePrintAndFailures)
{
    zbtest::TempDir t;
    zbtest::WriteFile(t / "a.mk", "A = $(B) a\n"
                                  "include b.mk\n"
                                  "E = $(U:-'d e') $(B:+'yes') $(U:@'no')\n");
    zbtest::WriteFile(t / "inc/b.mk", "B = 'b # b'\nA = from b\n");
    zbtest::WriteFile(t / "c.mk", "A = from c\n");
    zbtest::WriteFile(t / "bad.mk", "A = x $(B y\n");
    zbtest::WriteFile(t / "quote.mk", "A = 'x\n");
    zbtest::WriteFile(t / "empty.mk", "");
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
        {{t / "quote.mk"}, "1||# Error: Unbalanced ' in " + t / "quote.mk" + "['x]\n"},
        // A file that defines nothing is a valid empty set.
        {{t / "empty.mk"}, "0||"},
        {{t / "empty.mk", t / "c.mk"}, "0|A='from c'\n|"},
    };
    for (auto [args, outcome] : cases)
    {
        args.insert(args.begin(), "macros");
        EXPECT_EQ(outcome, zbtest::Outcome(zbtest::Zbsvc(args))) << args.back();
    }
    for (auto args : {std::vector<std::string>{}, {"-solve"}, {"-x", "f"}, {"-I"}})
    {
        args.insert(args.begin(), "macros");
        auto r = zbtest::Zbsvc(args);
        EXPECT_EQ(2, r._Status);
        EXPECT_NE(std::string::npos, r._Err.find("Try 'zbsvc help macros'.")) << r._Err;
        EXPECT_EQ("", r._Out);
    }
}
