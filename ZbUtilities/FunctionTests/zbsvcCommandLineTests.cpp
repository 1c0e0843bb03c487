// zbsvc's own command line and a verb's switches, parsed by zbGetopts.

#include "zbTestSupport.h"

using zbtest::Zbsvc;

TEST(zbsvcCommandLine, UsagesAndRejectedLines)
{
    zbtest::ChildResult r = Zbsvc({"-h"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ(
        0u,
        r._Out.find("usage: zbsvc [SWITCHES] VERB [ARGUMENTS]\n   -h, --help : print this help\n"));
    EXPECT_NE(std::string::npos,
              r._Out.find("\n   context [-v]\n       print the build context\n"));
    EXPECT_EQ(r._Out, Zbsvc({"--help"})._Out);

    r = Zbsvc({"context", "-h"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ("usage: zbsvc context [-v]\n"
              "   print the build context\n"
              "   -v : also the search paths and the main specifications\n"
              "   -h, --help : print this help\n",
              r._Out);

    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "zbsvc: expects a verb"},
        {{"-q", "context"}, "zbsvc: illegal option -- q"},
        {{"---", "context"}, "zbsvc: unrecognized option '---'"},
        {{"--bogus", "context"}, "zbsvc: unrecognized option '--bogus'"},
        {{"context", "--bogus"}, "zbsvc context: unrecognized option '--bogus'"},
        {{"nope"}, "zbsvc: unknown verb 'nope'"},
        {{"context", "-hx"}, "zbsvc context: illegal option -- x"},
        {{"context", "extra"}, "zbsvc context: expects no argument"},
        {{"-xml"}, "zbsvc: option requires an argument -- xml"},
        {{"-xml", "a.xml"}, "zbsvc: expects a verb"},
        {{"-xml", "a.xml", "-xmlappend", "b.xml", "context"},
         "zbsvc: one XML trace file at most (-xml or -xmlappend, once)"},
        {{"-xml", "a.xml", "nope"}, "zbsvc: unknown verb 'nope'"},
    };
    for (const auto& [args, firstLine] : cases)
    {
        r = Zbsvc(args);
        EXPECT_EQ(2, r._Status) << firstLine;
        // One line, then the hint naming the verb's help.
        const std::string program = firstLine.substr(5, firstLine.find(':') - 5);
        EXPECT_EQ(firstLine + "\nTry 'zbsvc help" + program + "'.\n", r._Err);
        EXPECT_EQ("", r._Out);
    }
    r = Zbsvc({"context"});
    EXPECT_EQ(0, r._Status) << r._Err;
}
