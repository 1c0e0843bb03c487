// The preprocessor on in-memory buffers, outputs and messages byte for byte.

#include <algorithm>

#include "zbFileBuffer.h"
#include "zbMacroSet.h"
#include "zbPP.h"
#include "zbPPMacLev.h"
#include "zbPathFinderAccess.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
struct Outcome
{
    int _Status;
    std::string _Text;
    std::string _Err;
};

// Preprocesses iText as file "f.mk"; levels and macros persist across calls
// of one fixture.
class PP : public ::testing::Test
{
  protected:
    zbPPMacLev _Levels{31};
    zbMacroSet _Macros{31};

    Outcome Run(const std::string& iText, int iCheckLevels = 1)
    {
        std::vector<char> buffer(iText.begin(), iText.end());
        buffer.push_back(0);
        zbtest::Capture err(2);
        int status = zbPP(_Levels, _Macros, buffer.data(), "f.mk", iCheckLevels);
        return Outcome{status, std::string(buffer.data()), err.Stop()};
    }
    // The output of a run that must succeed without a message.
    std::string Out(const std::string& iText, int iCheckLevels = 1)
    {
        Outcome o = Run(iText, iCheckLevels);
        EXPECT_EQ(o._Status, 0) << iText;
        EXPECT_EQ(o._Err, "") << iText;
        return o._Text;
    }
    // What a run that must fail prints: its status and text are 1 and empty
    // (the whole buffer discarded) or named first.
    std::string Failed(const std::string& iText)
    {
        Outcome o = Run(iText);
        return (o._Status == 1 ? "" : "status " + std::to_string(o._Status) + "\n") +
               (o._Text.empty() ? "" : "text " + o._Text + "\n") + o._Err;
    }
    // Whether the first line of a conditional block is kept.
    bool Taken(const std::string& iCondition)
    {
        std::string out = Out("#if " + iCondition + "\nyes\n#endif\n");
        EXPECT_TRUE(out == "yes\n\n" || out == "\n") << iCondition << " gave [" << out << "]";
        return out == "yes\n\n";
    }
    void Level(const char* iName, const char* iValue = nullptr)
    {
        _Levels.Insert(iName, iValue);
        _Levels.SetLoadStatus(1);
    }
    std::string Value(const char* iName)
    {
        const QORString* value = _Macros.GetValue(iName);
        return value ? value->Std() : "<none>";
    }
};
} // namespace

// Every directive with the newlines it keeps and drops: the file is the
// first column, the output the second.
TEST_F(PP, WholeFileExact)
{
    Level("LEVEL_A", "3");
    const std::pair<const char*, const char*> lines[] = {
        {"# a makefile-like comment stays\n", "# a makefile-like comment stays\n"},
        {"#if LEVEL_A\nkept1\n#elif LEVEL_B\n", "kept1\n"},
        {"dropped1\n#else  // tail comment\ndropped2\n", ""},
        {"#endif trailing text\n", " trailing text\n"},
        {"#ifdef LEVEL_B\ndropped3\n#define INACTIVE 1\n#else\n", "\n"},
        {"kept2\n#endif\n", "kept2\n\n"},
        {"#define V 12\n#define W abc\n#undef W\n", "#define V 12\n#define W abc\n"},
        {"#include \"inc.mk\"  trailing\n", "#include \"inc.mk\"\n"},
        {"#include <sys.mk>\n#include $(ROOT)/x.mk\n",
         "#include <sys.mk>\n#include $(ROOT)/x.mk\n"},
        {"#  if V == 12\ntwelve\n#endif\n", "twelve\n\n"},
    };
    std::string input, expected;
    for (const auto& [in, out] : lines)
        input += in, expected += out;
    EXPECT_EQ(Out(input), expected);
    EXPECT_EQ(Value("V") + "|" + Value("W") + "|" + Value("INACTIVE"), "12|<none>|<none>");
}

TEST_F(PP, DefineValues)
{
    // text, output, macro, its value after the run
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"#define V abc\n", "#define V abc\n", "V", ""},
        {"#define V\n", "\n", "V", ""},
        // Several numbers: the last one wins; the blanks of the line stay.
        {"#  define  N 1 2  \n", "#  define  N 1 2  \n", "N", "2"},
        // A number glued to letters is text; a '/' starting no comment is dropped.
        {"#define H 0x1F\n#define P a/b\n", "#define H 0x1F\n#define P ab\n", "H", ""},
        // Comments end the value; a block comment also swallows the newline.
        {"#define C 7 // seven\n#define D /* x */ tail\n", "#define C 7 \n tail\n", "C", "7"},
        {"#define M 8 /* x */\n", "#define M 8 \n", "M", "8"},
        {"#define Z 5", "#define Z 5", "Z", "5"},
        {"#undef Z\n#if os Z\nyes\n#endif\n", "\n", "Z", "<none>"},
    };
    for (const auto& [text, output, name, value] : rows)
    {
        EXPECT_EQ(Out(text), output);
        EXPECT_EQ(Value(name), value) << text;
    }
}

TEST_F(PP, ConditionsCombineLeftToRight)
{
    for (const char* name : {"P", "T", "A"})
        Level(name);
    Level("V", "12");
    Level("E", "");
    Level("H", "0x10");
    Level("B", "1234567890123456789012");
    // P || Q && R is (P || Q) && R, not P || (Q && R); '!' applies to the
    // operand after it only, numbers included; numbers are read in base 0
    // (014 is 12); an empty value counts as 1 and no macro as 0; a comparison
    // binds to its name: A && V >= 20 || A is (A && (V >= 20)) || A.
    std::istringstream taken(
        "P || (Q && R);Q && R || P;1 || 0 && 1;!Q && !(R || Q) && T;"
        "defined(P) && os T;defined P;((((P))));!Q && P;!0;!!P;0x10;V == 12;V >= 12;"
        "V<13;V <= 014;H == 16;E == 1;os NONE == 0;!V == 3;"
        "A && V >= 20 || A;V >= 20 || A;Q || V == 12;"
        "B == 9223372036854775807;B > 123456789012345678");
    for (std::string condition; std::getline(taken, condition, ';');)
        EXPECT_TRUE(Taken(condition)) << condition;
    std::istringstream notTaken(
        "P || Q && R;1 || 1 && 0;!(P || Q);!1;V > 12;A && V >= 20;defined Q;"
        "A && V == 11 && A");
    for (std::string condition; std::getline(notTaken, condition, ';');)
        EXPECT_FALSE(Taken(condition)) << condition;
}

TEST_F(PP, Outputs)
{
    Level("B");
    Level("X");
    const std::string longLine(100000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        // #else and #endif lines keep their newline when the block is active.
        {"#if A\na\n#elif B\nb\n#elif B\nb2\n#else\nc\n#endif\n", "b\n\n"},
        {"#if A\na\n#elif C\nc\n#else\nelse\n#endif\n", "\nelse\n\n"},
        // #ifndef tests a name as #if ! does (#ifdef as #if: above).
        {"#ifndef X\na\n#else\nb\n#endif\n", "\nb\n\n"},
        // Nested in an inactive block nothing is taken, not even #else.
        {"#if A\n#if B\nx\n#else\ny\n#endif\n#endif\nz\n", "\nz\n"},
        {"#if B\n#if A\nx\n#else\ny\n#endif\n#endif\n", "\ny\n\n\n"},
        // A character that is no part of a condition is text of the block.
        {"#if X ;\nx\n#endif\n", ";x\n\n"},
        {"#if X /* multi\nline */ y\n#endif\n", " y\n\n"},
        {"#if X // c\nx\n#endif\n", "x\n\n"},
        {"", ""},
        {"a//", "a\n"},
        {"\xff\xfe#define\x80\n", "\xff\xfe#define\x80\n"},
        // An #include line at the very end gets no newline: the text never grows.
        {"#include <a.mk>", "#include <a.mk>"},
        {"#include \"a\" /* c\n */x\n", "#include \"a\"\nx\n"},
        // Long lines cross the scanner's input blocks.
        {longLine + "\n#if 0\ny\n#endif\n" + longLine, longLine + "\n\n" + longLine},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Out(text), expected) << text.substr(0, 40);
    EXPECT_EQ(zbPP(_Levels, _Macros, nullptr, "f.mk", 1), 0);
}

TEST_F(PP, LevelChecks)
{
    // No level file: a level test is an error and false, negated too (a plain
    // one: see zbsvc pp); os tests without it.
    EXPECT_EQ(Failed("#if !X\nx\n#endif\n"),
              "# Error: f.mk[1]: a level is tested but no level file was loaded\n");
    EXPECT_EQ(Out("#define X\n#if os X\nx\n#endif\n"), "\nx\n\n");
    // Without the check, names are looked up in the macros.
    EXPECT_EQ(Out("#if X\nx\n#endif\n", 0), "x\n\n");
    // Levels first, then the macros.
    Level("L", "1");
    EXPECT_EQ(Out("#if X && L\nx\n#endif\n"), "x\n\n");
}

// Errors: the message, and the whole buffer discarded.
TEST_F(PP, ErrorsDiscardTheBuffer)
{
    Level("X");
    const char* const noIf = "missing #if";
    const char* const syntax = "syntax error in a preprocessor directive";
    // text, line, message
    const std::tuple<const char*, int, const char*> cases[] = {
        {"#if X\n#else\n#else\n#endif\n", 3, noIf},
        {"#if X\n#else\n#elif X\n#endif\n", 3, noIf},
        {"a\n#if X\n#if X\nb\n#endif\n", 5, "missing #endif"},
        {"#ifdef(X)\n", 1, "#if* must be followed by a blank"},
        {"#elif1\n", 1, "#if* must be followed by a blank"},
        {"#if \n#endif\n", 1, syntax},
        {"#if X &&\n#endif\n", 1, syntax},
        {"#if X && && X\n#endif\n", 1, syntax},
        {"#if (X\n#endif\n", 1, syntax},
        {"#if X)\n#endif\n", 1, syntax},
        {"#if ()\n#endif\n", 1, syntax},
        {"#if 5 > 3\n#endif\n", 1, syntax},
        {"#if defined os X\n#endif\n", 1, syntax},
        {"\n#define\n", 2, syntax},
        {"#define 1A\n", 1, syntax},
        {"#undef \n", 1, syntax},
        {"#include \"a.mk>\n", 1, syntax},
        {"a\n/* open\n\n", 2, "comment /* not closed"},
        // Newlines inside block comments, inactive blocks and directives count.
        {"/* 1\n2 */\n#if 0\n4\n#define A 5\n#endif // 6\n#undef A\n#else\n", 8, noIf},
    };
    for (const auto& [text, line, message] : cases)
        EXPECT_EQ(Failed(text), "# Error: f.mk[" + std::to_string(line) + "]: " + message + "\n");
    // Errors of directives are also found in inactive blocks where the
    // directive matters there; a bad #define of an inactive block is not.
    EXPECT_EQ(Run("#if 0\n#ifx\n#endif\n")._Status, 1);
    EXPECT_EQ(Out("#if 0\n#define\n#include <x\n#endif\n"), "\n");
    // Scanning goes on after an error: every error is reported.
    EXPECT_EQ(Failed("#endif\n#endif\n#if X Y\n"),
              "# Error: f.mk[1]: missing #if\n"
              "# Error: f.mk[2]: missing #if\n"
              "# Error: f.mk[3]: two operands without an operator between them\n"
              "# Error: f.mk[3]: missing #endif\n");
}

TEST_F(PP, NestingLimits)
{
    std::string nested, closed;
    for (int i = 0; i < 49; ++i)
        nested += "#if 1\n", closed += "#endif\n";
    EXPECT_EQ(Out(nested + "x\n" + closed), "x\n" + std::string(49, '\n'));
    const std::string blocks = "# Error: f.mk[50]: more than 49 nested #if blocks\n";
    EXPECT_EQ(Failed(nested + "#if 1\nx\n#endif\n" + closed), blocks);
    // Far beyond the table, still one message and no miscount of #endif.
    EXPECT_EQ(Failed(nested + nested + "x\n" + closed + closed), blocks);
    // An #elif one level too deep belongs to the refused block, not to the
    // innermost one kept (here past its #else).
    EXPECT_EQ(Failed(nested.substr(6) + "#if 0\n#else\n#if 1\n#elif 1\n#endif\n" + closed),
              "# Error: f.mk[51]: more than 49 nested #if blocks\n");

    std::string open(19, '('), close(19, ')');
    EXPECT_TRUE(Taken(open + "1" + close));
    for (const std::string& opened : {open + "(1)" + close, std::string(500, '(')})
        EXPECT_EQ(Failed("#if " + opened + "\n#endif\n"),
                  "# Error: f.mk[1]: more than 19 nested parentheses\n");
}

// Runs of lines without directive and comment are passed over whole; what
// follows them, the line count and the block state are the scanner's again.
TEST_F(PP, PlainLinesPassedOver)
{
    std::string plain;
    for (int i = 0; i < 3000; ++i)
        plain += "P" + std::to_string(i) + " = a/b c/ / #x\n";
    const std::pair<std::string, std::string> cases[] = {
        {"x\n" + plain + "#if 0\n" + plain + "#endif\n" + plain, "x\n" + plain + "\n" + plain},
        {plain + "a /* c */ b\n" + plain + "y // z\n" + plain,
         plain + "a  b\n" + plain + "y \n" + plain},
        {"#if 1\n" + plain + "#else\n" + plain + "#endif\n" + plain + "end",
         plain + "\n" + plain + "end"},
        {plain + "#define D 1\n" + plain + " #if 0\n/\nq/",
         plain + "#define D 1\n" + plain + " #if 0\n/\nq/"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Out(text), expected) << text.substr(0, 40);
    // The lines passed over are counted.
    EXPECT_EQ(Failed(plain + "#endif\n"), "# Error: f.mk[3001]: missing #if\n");
}

// Block comments are passed over in the scanner's buffer (its first block
// holds 16383 bytes), whatever block their end falls in, stars included,
// their lines counted: alone, the comment crosses the block in its closing
// stars; after two lines, in the text of its last line.
TEST_F(PP, CommentsAcrossBlocks)
{
    std::string body;
    for (int i = 0; body.size() < 16360; ++i)
        body += i % 2 ? "** a line of a comment *\n" : "* / another line /\n";
    const std::string before = "y /* a */ z\nz /* b */ y\n";
    const int lines = 4 + static_cast<int>(std::count(body.begin(), body.end(), '\n'));
    for (size_t pad = 0; pad < 16; ++pad)
    {
        const std::string comment = "/*" + body + std::string(pad, '*') + "*/x\n";
        EXPECT_EQ(Failed(before + comment + "#endif\n"),
                  "# Error: f.mk[" + std::to_string(lines) + "]: missing #if\n")
            << pad;
        EXPECT_EQ(Out(before + comment), "y  z\nz  y\nx\n") << pad;
        EXPECT_EQ(Out(comment + "/* */\n"), "x\n\n") << pad;
    }
}

TEST(zbPPMacLev, InsertGetRemove)
{
    zbPPMacLev levels(7);
    // (Level files are read through zbsvc pp, which refuses a missing one
    // before the reader sees it.)
    EXPECT_EQ(levels.InsertLevel("/nonexistent/levels.lvl"), 1);
    EXPECT_EQ(levels.GetLoadStatus(), 0);
    // NAME=VALUE in the name stands for both; a later insertion replaces.
    const std::pair<const char*, const char*> levelsInserted[] = {
        {"A", "1"}, {"B=two", nullptr}, {"C", nullptr}, {"A", "3"}};
    for (auto [name, value] : levelsInserted)
        EXPECT_EQ(levels.Insert(name, value), 1);
    auto text = [&](const char* iName)
    {
        const QORString* value = levels.GetValue(iName);
        return value ? value->Std() : "<none>";
    };
    EXPECT_EQ(text("A") + "|" + text("B") + "|" + text("C"), "3|two|");
    levels.Remove("A");
    EXPECT_EQ(text("A"), "<none>");
}

// An #include on the last line, ended or not, is expanded too; a file
// included twice (b.mk, through a.mk and directly) is listed once.  (The
// <name> form: see zbsvc pp.)
TEST(zbFileBufferPP, ExpandBufferCountsAndLists)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "a.mk", "A\n#include \"b.mk\"\n");
    zbtest::WriteFile(dir / "b.mk", "B\n");
    zbPPMacLev levels(7);
    levels.SetLoadStatus(1);
    const std::string notFound = "# Error: top.mk: included file none.mk not found\n";
    const std::vector<std::string> b{"/b.mk"};
    // text, expanded, errors, their messages, the files included
    const std::tuple<std::string, std::string, int, std::string, std::vector<std::string>> cases[] =
        {
            {"#include \"a.mk\"\n#include \"none.mk\"\n#include \"b.mk\"\nend\n",
             "A\nB\n\n\n#include \"none.mk\"\nB\n\nend\n",
             1,
             notFound,
             {"/a.mk", "/b.mk"}},
            {"x\n#include \"b.mk\"", "x\nB\n", 0, "", b},
            {"x\n#include \"none.mk\"", "x\n#include \"none.mk\"", 1, notFound, {}},
            {std::string("#include \"b.mk\"\0junk\n", 21), "B\n", 0, "", b},
        };
    for (const auto& [text, expanded, errors, messages, files] : cases)
    {
        SCOPED_TRACE(text);
        zbPathFinderAccess finder;
        finder.SetListOfPath(zbtest::StringList({dir.Path()}));
        zbFileBuffer buffer;
        buffer.DuplicateBuffer(text.data(), static_cast<unsigned int>(text.size()));
        QORListValzbFileName included;
        zbtest::Capture err(2);
        EXPECT_EQ(buffer.ExpandBuffer(levels, finder, included, "top.mk"), errors);
        EXPECT_EQ(err.Stop(), messages);
        ASSERT_NE(buffer.GetBuffer(), nullptr);
        EXPECT_EQ(std::string(buffer.GetBuffer()), expanded);
        EXPECT_EQ(buffer.GetBufferLength(), expanded.size());
        std::vector<std::string> names;
        for (const zbFileName& name : included)
            names.push_back(std::string(name.GetPtrToFullname()).substr(dir.Path().size()));
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, files);
        zbFileBuffer empty;
        EXPECT_EQ(empty.ExpandBuffer(levels, finder, included, "empty.mk"), 0);
        EXPECT_TRUE(!empty);
    }
}
