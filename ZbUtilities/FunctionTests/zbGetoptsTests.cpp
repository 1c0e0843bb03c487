// Option parser: declarations, analysis of command lines, queries.

#include "zbGetopts.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
// Analyses a command line given as strings; the result and the diagnostics
// as one text "RESULT|DIAGNOSTICS".
std::string Analyze(zbGetopts& ioOptions, const std::vector<const char*>& iArgs, int iIgnore = 0)
{
    zbtest::Capture err(2);
    int result = ioOptions.AnalyzeCommandLine(static_cast<int>(iArgs.size()),
                                              const_cast<const char**>(iArgs.data()), iIgnore);
    return std::to_string(result) + "|" + err.Stop();
}

// The switches most cases use: simple v, a, b, ab, crypt; valued o, I.
struct Declared : zbGetopts
{
    Declared() : zbGetopts("tool")
    {
        for (const char* name : {"v", "a", "b", "ab", "-crypt"})
            EXPECT_EQ(0, AddSimpleSwitch(name, "help", 1));
        for (const char* name : {"o", "-I"})
            EXPECT_EQ(0, AddValuedSwitch(name, "help", 1));
    }
};

// The switches of Declared that are set, the values of the valued ones, then
// "|" and the line values.
std::string State(zbGetopts& iOptions)
{
    std::string out;
    for (const char* name : {"v", "a", "b", "ab", "crypt"})
        if (iOptions.GetSwitchStatus(name))
            out += std::string("-") + name + " ";
    for (const char* name : {"o", "I"})
        if (QORListValQORString* values = iOptions.GetSwitchAllValues(name))
            for (const QORString& value : *values)
                out += std::string("-") + name + "=" + value.Std() + " ";
    out += "|";
    int index = 1;
    while (QORString* value = iOptions.GetLineValue(index))
        out += value->Std() + " ";
    return out;
}
} // namespace

TEST(zbGetopts, GroupingGluedValuesAndWholeWords)
{
    Declared options;
    // A whole word wins over grouping: -ab sets ab only.
    EXPECT_EQ("0|",
              Analyze(options, {"prog", "-vofile", "-ab", "x", "-Ia", "-I", "b", "-crypt", "y"}));
    EXPECT_EQ("-v -ab -crypt -o=file -I=a -I=b |x y ", State(options));
    int index = 1;
    std::string values;
    while (QORString* value = options.GetSwitchValue("I", index))
        values += value->Std() + std::to_string(index) + " ";
    EXPECT_EQ("a2 b3 ", values);
    index = 0;
    EXPECT_EQ(nullptr, options.GetSwitchValue("I", index));
    EXPECT_TRUE(options.SearchSwitchForValue("I", QORString("b")) &&
                !options.SearchSwitchForValue("I", QORString("c")));

    // A group falls back to the whole word for its remaining text: -ba is
    // b then the word a.
    Declared other;
    EXPECT_EQ("0|", Analyze(other, {"prog", "-ba"}));
    EXPECT_EQ("-a -b |", State(other));
}

TEST(zbGetopts, MissingValuesAreReportedAndConsumeTheNextArgument)
{
    // -o -a: the error is printed and -a is consumed, not seen as a switch;
    // analysis goes on after it.  -vI at the end misses I's value.  (A
    // valued switch last on the line: see zbsvc macros -I.)
    Declared second;
    EXPECT_EQ("1|prog: option requires an argument -- o\n"
              "prog: option requires an argument -- I\n",
              Analyze(second, {"prog", "-o", "-a", "z", "-vI"}));
    EXPECT_EQ("-v |z ", State(second));

    // An empty argument is a value; a lone "-" is not.
    Declared third;
    EXPECT_EQ("1|prog: option requires an argument -- I\n",
              Analyze(third, {"prog", "-o", "", "-I", "-"}));
    EXPECT_EQ("-o= |", State(third));
}

TEST(zbGetopts, UndeclaredSwitchesDashAndDoubleDash)
{
    Declared options;
    // Errors do not stop the analysis; the group stops at the first unknown.
    EXPECT_EQ("1|prog: illegal option -- x\n"
              "prog: illegal option -- \n"
              "prog: illegal option -- -\n"
              "prog: illegal option -- q\n",
              Analyze(options, {"prog", "-x", "one", "-", "--", "-vq", "two"}));
    EXPECT_EQ("-v |one two ", State(options));

    // Ignoring unknown switches skips the argument after them too, unless it
    // starts with '-'.
    Declared quiet;
    EXPECT_EQ("0|", Analyze(quiet, {"prog", "-x", "y", "z", "-w", "-a", "-bk", "w"}, 1));
    EXPECT_EQ("-a -b |z ", State(quiet));
}

TEST(zbGetopts, DeclarationConflicts)
{
    zbGetopts options("tool");
    zbtest::Capture err(2);
    EXPECT_EQ(0, options.AddSimpleSwitch("x", "h", 1));
    EXPECT_EQ(0, options.AddSimpleSwitch("-x", "h", 1));
    EXPECT_EQ(1, options.AddValuedSwitch("-x", "h", 1));
    EXPECT_EQ(0, options.AddValuedSwitch("-o", "h", 1));
    EXPECT_EQ(0, options.AddValuedSwitch("o", "h", 1));
    EXPECT_EQ(1, options.AddSimpleSwitch("-o", "h", 1));
    EXPECT_EQ("tool: ambiguous simple/valued switch [-x], valued is ignored\n"
              "tool: ambiguous simple/valued switch [o], simple is ignored\n",
              err.Stop());
    EXPECT_EQ((std::vector<int>{options.IsASwitch("-x"), options.IsASwitch("o"),
                                options.IsASwitch("y"), options.IsASwitch(nullptr)}),
              (std::vector<int>{1, 2, 0, 0}));
}

TEST(zbGetopts, QueriesOfTheWrongKind)
{
    Declared options;
    Analyze(options, {"prog", "-o", "out"});
    zbtest::Capture err(2);
    EXPECT_EQ(0u, options.GetSwitchStatus("o"));
    options.PutSwitchStatus("-z", 1);
    options.PutSwitchStatus("a", 1);
    EXPECT_EQ(1u, options.GetSwitchStatus("a"));
    static const char name[] = "v";
    EXPECT_EQ(nullptr, options.GetSwitchValue(name));
    // The same pointer again is answered from the cache, silently.
    EXPECT_EQ(nullptr, options.GetSwitchValue(name));
    EXPECT_EQ(nullptr, options.GetSwitchAllValues("w"));
    EXPECT_EQ(nullptr, options.SearchSwitchForValue("w", QORString("x")));
    EXPECT_EQ("prog: is not a simple switch -- o\n"
              "prog: is not a simple switch -- z\n"
              "prog: is not a valued switch -- v\n"
              "prog: is not a valued switch -- w\n"
              "prog: is not a valued switch -- w\n",
              err.Stop());

    // A buffer reused for another name is looked up again.
    char buffer[4] = "v";
    EXPECT_EQ(nullptr, options.GetSwitchValue(buffer));
    buffer[0] = 'o';
    const QORString* value = options.GetSwitchValue(buffer);
    EXPECT_TRUE(value && value->Std() == "out");
}

TEST(zbGetopts, LineValuesHiddenAndSecondAnalysis)
{
    Declared options;
    EXPECT_EQ(2, options.AnalyzeCommandLine(0, nullptr, 0));
    const char* none[] = {nullptr, "x"};
    EXPECT_EQ(2, options.AnalyzeCommandLine(2, none, 0));

    // A null element ends the line early.
    const char* cut[] = {"first", "-I", "1", "a", nullptr, "b"};
    EXPECT_EQ(0, options.AnalyzeCommandLine(6, cut, 0));
    EXPECT_EQ("-I=1 |a ", State(options));

    // A second analysis replaces the name and the line values and
    // accumulates switch values.
    Analyze(options, {"second", "-I2", "c", "d"});
    EXPECT_STREQ("second", options.GetArgv0());
    EXPECT_EQ("-I=1 -I=2 |c d ", State(options));
    QORListValQORString* values = options.GetAndHideAllLineValues();
    EXPECT_EQ(2, values ? values->Size() : 0);
    int index = 1;
    EXPECT_TRUE(!options.GetAllLineValues() && !options.GetAndHideAllLineValues() &&
                !options.GetLineValue(index));
    Analyze(options, {"third", "e"});
    EXPECT_EQ(nullptr, options.GetAllLineValues());
}
