// zbsvc mdf, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcMdf, PrintsSectionsDumpsAndReports)
{
    zbtest::TempDir dir;
    const std::string f = dir / "f.mdf", dup = dir / "dup.mdf", none = dir / "none.mdf";
    WriteFile(f, "/ libraries\n*  LIBS\n  lib.a  / static\n\tlib.so x\n*SRC\nmain.c\n");
    WriteFile(dup, "* A\nx\ny\n*B\n*A\nz\n");
    WriteFile(none, "no header\n");
    struct Case
    {
        std::vector<std::string> _Args;
        std::string _Outcome;
        bool _Prefix = false; // statistics and usage texts: checked by their beginning
    } cases[] = {
        {{"mdf", f, "SRC", "*LIBS"}, "0|main.c\nlib.a  \nlib.so x\n|"},
        {{"mdf", "-strip", f, "LIBS"}, "0|lib.a\nlib.so\n|"},
        {{"mdf", f, "SRC", "NOPE", "LIBS"},
         "1|main.c\nlib.a  \nlib.so x\n|# Error: " + f + " has no section *NOPE\n"},
        {{"mdf", "-strip", f},
         "0|#\n# Set of Section\n# Section named [*LIBS]\n#  - 'lib.a'\n#  - 'lib.so'\n"
         "# Section named [*SRC]\n#  - 'main.c'\n\n|"},
        {{"mdf", "-stats", f, "SRC"},
         "0|main.c\n\n## zbMDFV4: Statistics of values dictionary:\n"
         "QORHDICOS( QORString, zbMDFV4Section ):\n",
         true},
        {{"mdf", dup, "A", "B"},
         "1|x\ny\n|# Error: " + dup +
             ": section *A is defined again, this definition is ignored\n"
             "# Error: " +
             dup + " has no section *B\n"},
        {{"mdf", none}, "1||# Error: " + none + " holds no section: no line begins with '*'\n"},
        {{"mdf", dir / "missing", "A"},
         "1||# System error on " + dir / "missing" + ": No such file or directory\n"},
        {{"mdf"}, "2|", true},
        {{"mdf", "-x", f}, "2|", true},
    };
    for (const Case& c : cases)
    {
        std::string got = Outcome(Zbsvc(c._Args));
        SCOPED_TRACE(got);
        EXPECT_EQ(c._Outcome, c._Prefix ? got.substr(0, c._Outcome.size()) : got);
    }
}
