// Macro sets and values: buffer normalisation, includes, insert modes,
// merges, references and modifiers, resolution, words, printing.

#include <numeric>
#include <set>

#include "zbFileName.h"
#include "zbMacroSet.h"
#include "zbMacroValue.h"
#include "zbOFStream.h"
#include "zbPathFinder.h"
#include "zbSetOfPathFinder.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
QORString Q(const std::string& iText)
{
    return QORString(iText.c_str());
}

// Inserts the macros "NAME = value" separated by ';'.
void Define(zbMacroSet& ioSet, const std::string& iDefinitions)
{
    std::istringstream definitions(iDefinitions);
    for (std::string line; std::getline(definitions, line, ';');)
        ioSet.Insert(&line[0], '=', zbMacroSet::ReplaceExisting);
}

std::string Parse(const std::string& iText, std::string* oErr = nullptr)
{
    std::string buffer = iText;
    zbtest::Capture err(2);
    char* result = zbMacroSet::ParseBuffer("f.mk", &buffer[0]);
    std::string printed = err.Stop();
    if (oErr)
        *oErr = printed;
    return result ? std::string(result) : std::string("<null>");
}

// The set's Print form, lines sorted (the dictionary's order is its own).
std::string Printed(const zbMacroSet& iSet)
{
    std::istringstream in(zbtest::Written([&](zbOFStream& out) { EXPECT_EQ(0, iSet.Print(out)); }));
    std::multiset<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.insert(line + "\n");
    return std::accumulate(lines.begin(), lines.end(), std::string());
}
} // namespace

TEST(zbMacroSet, ParseBuffer)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"\n\n \tA = 1 # note\n\nB = x \\\n   y\r\njunk\n\n  \n", "A = 1 \nB = x y\njunk", ""},
        // Tabs become blanks, runs of blanks shrink, CRs vanish.
        {"A\t=\t\ta  \t b\r\n", "A = a b", ""},
        // A backslash before a comment drops it and joins the next line.
        {"A = a \\ # c\n b", "A = a b", ""},
        {"A = a \\ # c", "A = a", ""},
        {"A = a\\b \\c", "A = a\\b \\c", ""},
        // Quotes of all three kinds hold comments, newlines and blank runs.
        {"A = 'a # b'\nB = \"x\n\n  y\" z # c\nC = `p  #q`\n",
         "A = 'a # b'\nB = \"x\n\n  y\" z \nC = `p  #q`", ""},
        // A line of blanks then include keeps one blank in front.
        {"A = 1\n   include x.mk\ninclude  y.mk", "A = 1\n include x.mk\ninclude y.mk", ""},
        {" \n\t\n# only a comment\n", "", ""},
        {"", "", ""},
        // An unterminated quote fails the buffer and names the rest of its
        // line, here the end of the buffer (a line end: see zbsvc macros).
        {"A = it's", "<null>", "# Error: Unbalanced ' in f.mk['s]\n"},
    };
    for (const auto& [text, parsed, error] : rows)
    {
        std::string err;
        EXPECT_EQ(parsed, Parse(text, &err)) << text;
        EXPECT_EQ(error, err) << text;
    }
}

TEST(zbMacroSet, ParseBufferLongLines)
{
    // Plain text is passed over many characters at a time: each rule still
    // applies wherever its character falls, after text already shortened
    // or not, and at the end of the buffer.
    const std::pair<const char*, const char*> rows[] = {
        {"  b\n\n\nc \t d # e\nf\\\ng", " b\nc d \nfg"},
        {"\n \n'q  #'  r\r\n", "\n \n'q  #' r"},
        {"\t\"s\n\nt\" `u` #", " \"s\n\nt\" `u`"},
        {"\\ x\\\\y  ", "\\ x\\\\y"},
    };
    for (const auto& [tail, expected] : rows)
        for (const char* lead : {"", "A  = 1 # c\n"})
            for (size_t length = 0; length < 40; ++length)
            {
                const std::string text = "X = z" + std::string(length, 'a');
                EXPECT_EQ((*lead ? "A = 1 \n" : "") + text + expected, Parse(lead + text + tail))
                    << length << " " << tail;
            }
}

TEST(zbMacroSet, InsertFileLines)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "a.mk", "A = 1 # note\nB = x \\\n  y\njunk\nC='a # b'\n"
                                    "D == 2\n  E  F = 3\nG=\nH = ' q '\n");
    zbMacroSet set(500);
    EXPECT_EQ(0, set.InsertFile((dir / "a.mk").c_str(), nullptr, '=', zbMacroSet::ReplaceExisting));
    EXPECT_EQ("A='1'\nB='x y'\nC='a # b'\nD='= 2'\nE='3'\nG=''\nH=' q '\n", Printed(set));
    QORListValQORString words;
    EXPECT_TRUE(set.GetListOfValues("B", words) == &words && words.Size() == 2);
    EXPECT_TRUE(!set.GetListOfValues("nope", words) && set.GetListOfValues("B")->Size() == 2);
}

TEST(zbMacroSet, IncludeLinesAndCountedFailures)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "x.mk", "X = 1\n");
    zbtest::WriteFile(dir / "y.mk", "Y = 2");
    zbtest::WriteFile(dir / "z.mk", "Z = 3");
    zbtest::WriteFile(dir / "top.mk", "T = 1\ninclude empty.mk\ninclude bad.mk\ninclude top.mk\n"
                                      "include self.mk\n");
    zbtest::WriteFile(dir / "empty.mk", "");
    zbtest::WriteFile(dir / "bad.mk", "Q = 'x\n");
    zbtest::WriteFile(dir / "self.mk", "S = 1\ninclude self.mk\ninclude self.mk\n");
    zbPathFinder finder;
    finder.SetListOfPath(zbtest::StringList({dir.Path()}));
    zbSetOfPathFinder finders(finder);
    zbMacroSet set(500);
    // Only a line starting with "include " names a file; a trailing comment
    // does not belong to the name.
    std::string buffer = Parse("W = 5\n   include x.mk\ninclude  y.mk\ninclude z.mk # c\ninclude\n"
                               "includes = 4\ninclude missing.mk\n");
    zbtest::Capture err(2);
    EXPECT_EQ(1, set.InsertBuffer(&buffer[0], &finders, '=', zbMacroSet::ReplaceExisting));
    EXPECT_EQ("# System error on missing.mk: No such file or directory\n", err.Stop());
    EXPECT_EQ("W='5'\nY='2'\nZ='3'\nincludes='4'\n", Printed(set));
    // Without finders the include lines are dropped.
    zbMacroSet alone(5);
    std::string again = "include y.mk\nV = 1";
    EXPECT_EQ(0, alone.InsertBuffer(&again[0], nullptr, '=', zbMacroSet::ReplaceExisting));
    EXPECT_EQ("V='1'\n", Printed(alone));

    zbMacroSet counted(500);
    zbtest::Capture err2(2);
    // The empty file is an empty set: four failures.
    EXPECT_EQ(4, counted.InsertFile((dir / "top.mk").c_str(), &finders, '=',
                                    zbMacroSet::ReplaceExisting));
    EXPECT_EQ("# Error: Unbalanced ' in " + (dir / "bad.mk") + "['x]\n" +
                  "# Error: Include cycle: " + (dir / "top.mk") + " is already being read\n" +
                  "# Error: Include cycle: " + (dir / "self.mk") + " is already being read\n" +
                  "# Error: Include cycle: " + (dir / "self.mk") + " is already being read\n",
              err2.Stop());
    EXPECT_EQ("S='1'\nT='1'\n", Printed(counted));
}

TEST(zbMacroSet, InsertForms)
{
    zbMacroSet set(50);
    char text[] = "  NAME extra = the value ";
    zbMacroValue* v = set.Insert(text, '=', zbMacroSet::ReplaceExisting);
    ASSERT_NE(nullptr, v);
    EXPECT_EQ(v, set.GetMacro("NAME"));
    char none[] = "no separator";
    EXPECT_EQ(nullptr, set.Insert(none, '=', zbMacroSet::ReplaceExisting));
    char colon[] = "K: v";
    EXPECT_EQ("v", set.Insert(colon, ':', zbMacroSet::ReplaceExisting)->GetValue().Std());

    // Mode 0 replaces in place, any other mode keeps.
    const auto now = [&](zbMacroValue* iInserted)
    { return iInserted == v ? v->GetValue().Std() : "another macro"; };
    EXPECT_EQ("the value", now(set.Insert("NAME", "other", zbMacroSet::KeepExisting)));
    EXPECT_EQ("new", now(set.Insert("NAME", "'new'", zbMacroSet::ReplaceExisting)));
    char line[] = "NAME = again";
    EXPECT_EQ("again", now(set.Insert(line, '=', zbMacroSet::ReplaceExisting)));
    EXPECT_EQ("copy",
              now(set._InsertOrReplace("NAME", zbMacroValue("copy"), zbMacroSet::ReplaceExisting)));

    EXPECT_EQ(1, set.Remove("NAME"));
    EXPECT_EQ(0, set.Remove("NAME"));
}

TEST(zbMacroSet, MergeCompareAndIterate)
{
    zbMacroSet a(7), b(13);
    Define(a, "X = $(Y);Y = y");
    a.Solve(nullptr);
    Define(b, "X = bx;Z = bz");

    zbMacroSet keep(5);
    keep.InsertMacroSet(b, zbMacroSet::ReplaceExisting);
    EXPECT_EQ(0, keep.InsertMacroSet(a, zbMacroSet::KeepExisting));
    EXPECT_EQ("X='bx'\nY='y'\nZ='bz'\n", Printed(keep));
    EXPECT_EQ(1, keep.GetMacro("Y")->IsSolved());

    zbMacroSet replace(5);
    replace.InsertMacroSet(b, zbMacroSet::ReplaceExisting);
    a.Insert("Z", "$(X)!", zbMacroSet::ReplaceExisting);
    EXPECT_EQ(0, replace.InsertMacroSet(a, zbMacroSet::ReplaceExisting));
    // Replaced texts are taken as they are and resolved again.
    EXPECT_EQ(0, replace.GetMacro("Z")->IsSolved());
    replace.Solve(nullptr);
    EXPECT_EQ("X='y'\nY='y'\nZ='y!'\n", Printed(replace));

    EXPECT_TRUE(keep != replace);
    zbMacroSet same(99);
    same.InsertMacroSet(replace, zbMacroSet::ReplaceExisting);
    EXPECT_TRUE(same == replace);
    same.Insert("W", "w", zbMacroSet::ReplaceExisting);
    EXPECT_TRUE(same != replace);

    std::set<std::string> names;
    const QORString* cursor = nullptr;
    QORString name;
    while (zbMacroValue* value = same.Next(cursor, name))
    {
        EXPECT_EQ(value, same.GetMacro(name));
        names.insert(name.Std());
    }
    EXPECT_EQ((std::set<std::string>{"W", "X", "Y", "Z"}), names);
}

// The values of a cycle depend on the macro it is entered by, and reports
// come out in the order of resolution: resolving a whole set enters each
// cycle and meets each fault in the set's own order, whatever the order of
// the definitions, and the chains around them resolve alike.
TEST(zbMacroSet, SolveFollowsTheSetsOrderThroughCyclesAndReports)
{
    // C: named before use, D: after.
    std::string text =
        "C0 = c0\nC1 = $(C0) c1\nC2 = $(C1) c2\nD2 = $(D1) d2\nD1 = $(D0) d1\nD0 = d0\n";
    for (int k = 0; k < 12; ++k)
    {
        const std::string n = std::to_string(k);
        text += "A" + n + " = $(B" + n + ") a\nB" + n + " = $(A" + n + ") b\n";
        if (k < 6)
            text += "U" + n + " = $(C2) $(X" + n + "\n";
    }
    // Macros with texts of their own, and macros read from a buffer whose
    // texts the set keeps.
    for (const bool fromBuffer : {false, true})
    {
        zbMacroSet set(7);
        std::string buffer = text;
        std::istringstream lines(fromBuffer ? "" : text);
        for (std::string line; std::getline(lines, line);)
            set.Insert(line.substr(0, line.find(" = ")).c_str(),
                       line.substr(line.find(" = ") + 3).c_str(), zbMacroSet::ReplaceExisting);
        if (fromBuffer)
        {
            EXPECT_EQ(0, set.InsertBuffer(&buffer[0], nullptr, '=', zbMacroSet::ReplaceExisting));
        }
        std::vector<std::string> order;
        for (const auto& entry : set)
            order.push_back(entry._Key.Std());
        const auto rank = [&](const std::string& iName)
        { return std::find(order.begin(), order.end(), iName) - order.begin(); };

        zbtest::Capture err(2);
        EXPECT_EQ(6, set.Solve(nullptr));
        const std::string printed = err.Stop();
        EXPECT_EQ("c0 c1 c2", set.GetValue("C2")->Std());
        EXPECT_EQ("d0 d1 d2", set.GetValue("D2")->Std());
        std::vector<std::string> reported, expected;
        for (const std::string& name : order)
            if (name[0] == 'U')
                expected.push_back(name);
        for (size_t at = printed.find("$(X"); at != std::string::npos;
             at = printed.find("$(X", at + 1))
            reported.push_back("U" + printed.substr(at + 3, printed.find(']', at) - at - 3));
        EXPECT_EQ(expected, reported) << printed;
        for (int k = 0; k < 12; ++k)
        {
            const std::string a = "A" + std::to_string(k), b = "B" + std::to_string(k);
            const bool aFirst = rank(a) < rank(b);
            EXPECT_EQ(aFirst ? "b a" : "a", set.GetValue(a.c_str())->Std()) << a << fromBuffer;
            EXPECT_EQ(aFirst ? "b" : "a b", set.GetValue(b.c_str())->Std()) << b << fromBuffer;
        }
    }
}

// The texts as read go back to the system block by block once resolved:
// values stay right across many blocks, redefinitions, removals, a second
// file read into a resolved set, and a set emptied and filled again.
TEST(zbMacroSet, ResolvedValuesOutliveTheTextsAsRead)
{
    const int count = 30000;
    const auto plain = [&](int iIndex)
    {
        // P(j) is defined again, further on, when j + 3 is a multiple of 7.
        return (iIndex + 3) % 7 == 0 && iIndex + 3 < count
                   ? "again" + std::to_string(iIndex + 3)
                   : "plain" + std::to_string(iIndex) + "-with-some-padding-text";
    };
    zbMacroSet set(97);
    for (int round = 0; round < 3; ++round)
    {
        std::string buffer;
        for (int i = 0; i < count; ++i)
        {
            const std::string n = std::to_string(i);
            buffer += "P" + n + " = " + "plain" + n + "-with-some-padding-text\n";
            buffer += "R" + n + " = r" + n + " $(P" + n + ") $(P" + std::to_string(i / 2) + ")\n";
            if (i % 7 == 0 && i >= 3)
                buffer += "P" + std::to_string(i - 3) + " = again" + n + "\n";
        }
        EXPECT_EQ(0, set.InsertBuffer(&buffer[0], nullptr, '=', zbMacroSet::ReplaceExisting));
        for (int i = 0; round == 1 && i < count; i += 5)
            EXPECT_EQ(1, set.Remove(("R" + std::to_string(i)).c_str()));
        EXPECT_EQ(0, set.Solve(nullptr));
        for (int i = 0; i < count; ++i)
        {
            const QORString* value = set.GetValue(("R" + std::to_string(i)).c_str());
            if (round == 1 && i % 5 == 0)
            {
                EXPECT_EQ(nullptr, value);
                continue;
            }
            ASSERT_NE(nullptr, value) << i;
            ASSERT_EQ("r" + std::to_string(i) + " " + plain(i) + " " + plain(i / 2), value->Std());
        }
        if (round == 1)
            set.ApplyDelete();
    }
}

TEST(zbMacroSet, PrintAndWriteFailure)
{
    zbMacroSet set(1), empty(4);
    Define(set, "A = a 'b';B = %s;C = ");
    // One bucket keeps the insertion order.  (The dump of macros is checked
    // through zbsvc macros.)
    EXPECT_EQ("A='a 'b''\nB='%s'\nC=''\n", zbtest::Written(
                                               [&](zbOFStream& out)
                                               {
                                                   EXPECT_EQ(0, empty.Print(out));
                                                   empty.Dump(out);
                                                   set.Print(out);
                                               }));
    zbOFStream full("/dev/full", 8);
    EXPECT_EQ(1, set.Print(full));
}

TEST(zbMacroSet, ClassNameOfFileKinds)
{
    zbMacroSet kinds(11), none(3);
    Define(kinds, ".tab.h = Grammar;.h = Header;<Nil> = Plain");
    // The leading dot is not examined: ".profile" has no extension.
    const std::pair<const char*, const char*> cases[] = {{"/src/x.tab.h", "Grammar"},
                                                         {"/src/y.h", "Header"},
                                                         {"/src/z.other.h", "Header"},
                                                         {"/home/.profile", "Plain"},
                                                         {"/src/a.c", "dflt"}};
    for (const auto& [path, kind] : cases)
    {
        zbFileName name(path);
        EXPECT_STREQ(kind, name.GetBOClName(kinds, "dflt")) << path;
        // Cached: the empty set, which gives the default, does not change it.
        EXPECT_STREQ(kind, name.GetBOClName(none, "dflt")) << path;
    }
}

TEST(zbMacroValue, NormalisationAssignmentsAndCachedWords)
{
    const std::pair<const char*, const char*> normalised[] = {
        {"  'a b'  ", "a b"}, {"'", "'"}, {" \"x\"\t", "\"x\""}, {"'a", "'a"}, {"''", ""}};
    for (const auto& [text, value] : normalised)
    {
        zbMacroValue v(text);
        EXPECT_EQ(value + std::string("|0"),
                  v.GetValue().Std() + "|" + std::to_string(v.IsSolved()));
    }
    zbMacroValue blank(" \t "), partial;
    EXPECT_TRUE(blank.IsSolved() && blank.GetValue().IsNull());
    EXPECT_EQ(1, zbMacroValue(static_cast<const char*>(nullptr)).IsSolved());
    partial._Init("  x  yz", 5);
    EXPECT_EQ("x", partial.GetValue().Std());

    // Assignment of a QORString keeps the text as it is, and a text without
    // '$' resolves to itself.
    zbMacroValue raw;
    raw = QORString(" 'a' ");
    EXPECT_EQ(0, raw.IsSolved());
    zbMacroSet set(3);
    EXPECT_EQ(" 'a' ", raw.Solve(set, nullptr).Std());
    raw = raw.GetValue().CastToCharPtr(); // normalising its own text
    EXPECT_EQ("a", raw.GetValue().Std());

    zbMacroValue a("x y");
    QORListValQORString* words = a.GetListOfValues();
    ASSERT_EQ(2, words->Size());
    EXPECT_EQ(words, a.GetListOfValues());
    a = "p q r";
    EXPECT_EQ(3, a.GetListOfValues()->Size());
    zbMacroValue b("p q r"), c("other");
    b.Solve(set, nullptr);
    a = b; // same text: nothing changes, a stays unsolved
    EXPECT_EQ(0, a.IsSolved());
    c.Solve(set, nullptr);
    a = c;
    EXPECT_EQ("other", a.GetValue().Std());
    EXPECT_TRUE(a.IsSolved() && a.GetListOfValues()->Size() == 1);
    EXPECT_TRUE(a == c && a != b);
    zbMacroValue copy(b), path("a/b/c");
    EXPECT_EQ(1, copy.IsSolved());
    copy.Reset();
    EXPECT_EQ(1, copy.GetValue().IsNull());
    path.DosifyPath();
    EXPECT_EQ("a\\b\\c", path.GetValue().Std());
}

// A text resolved against macros "NAME = value" (';' between them), and a
// second set's: its value and what is printed on stderr.
TEST(zbMacroValue, ReferencesModifiersAndImbalance)
{
    const char* const empty = "A = ''";
    const char* const full = "A = v";
    zbtest::ScopedEnv env("ZBTEST_ENV_VALUE", " e v "), unset("ZBTEST_UNSET_VALUE", nullptr);
    const struct
    {
        const char *_Text, *_Defs, *_Value, *_Err, *_Other = nullptr;
    } rows[] = {
        {"$(A) $(A)", "A = x", "x x", ""},
        // An empty reference takes the blank before it along.
        {"x $(U) y", "", "x y", ""},
        {"$(U) y", "", "y", ""},
        {"a-$(A)-b", "A = x", "a-x-b", ""},
        {"$(A", "A = x", "$(A", ""},
        {"$(A)", "A = $(A)", "", ""},
        // The second set, then the environment; the set hides both.
        {"$(A) $(ZBTEST_ENV_VALUE) $(ZBTEST_UNSET_VALUE)", "A = $(B)+", "c!+  e v ", "",
         "B = $(C)!;C = c"},
        {"$(ZBTEST_ENV_VALUE)", "ZBTEST_ENV_VALUE = mine", "mine", "", "ZBTEST_ENV_VALUE = no"},
        // '-': the word when empty (or undefined), else the value; '%' drops
        // the value.  (:- and @ on an undefined macro, :+ on a defined one,
        // an unbalanced $(, a chain: see zbsvc macros.)
        {"$(A:-'d e')", full, "v", ""},
        {"$(A:%-'d')", empty, "d", ""},
        {"$(A:%-'d')", full, "", ""},
        // '+': the word only when not empty.
        {"$(A:+'yes')", empty, "", ""},
        // '@': the word only when undefined; an empty macro is defined.
        {"$(A:@'no')", empty, "", ""},
        {"$(A:@'no')", full, "v", ""},
        {"$(A:%@'no')", full, "", ""},
        // '?': the word only when defined.
        {"$(A:?\"def\")", empty, "def", ""},
        {"$(A:?\"def\")", "", "", ""},
        // Any other rule keeps the value, the strict form drops it.
        {"$(A:=x)", full, "v", ""},
        {"$(A:%=x)", full, "", ""},
        // An unquoted word is a name, resolved in turn; an empty word is nothing.
        {"$(A:-B)", "A = '';B = $(C)1;C = b", "b1", ""},
        {"$(A:-B)", empty, "", ""},
        {"x $(A:-)", empty, "x", ""},
        // A quoted word may hold ')' and blanks; unterminated, nothing comes
        // of the reference.  The reference ends at the first ')' after the
        // closing quote; without one the text goes on after the first ')'.
        {"[$(A:-'a) b')]", empty, "[a) b]", ""},
        {"a $(U:-'d) b", "", "a b", "# Error: Unbalanced ' in ['d]\n"},
        {"$(U:-'d) x') x'", "", "d) x x'", ""},
        {"$(U:-'q)r' z", "", "q)rr' z", "# Error: Unbalanced $() in [$(U:-'q)r' z]\n"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row._Text);
        zbMacroSet set(17), other(7);
        Define(set, row._Defs);
        Define(other, row._Other ? row._Other : "");
        zbMacroValue value(row._Text);
        zbtest::Capture err(2);
        EXPECT_EQ(row._Value,
                  std::string(value.Solve(set, row._Other ? &other : nullptr).CastToCharPtr()));
        EXPECT_EQ(row._Err, err.Stop());
        EXPECT_EQ(1, value.IsSolved());
    }
}

TEST(zbMacroValue, DeepChainDoesNotRecurse)
{
    // 200000 macros each naming the next one: resolved without growing the
    // process stack; then a cycle as long ends with empty values.
    const int depth = 200000;
    zbMacroSet set(500);
    for (int i = 0; i < depth; ++i)
        set.Insert(Q("M" + std::to_string(i)), ("$(M" + std::to_string(i + 1) + ")").c_str(),
                   zbMacroSet::ReplaceExisting);
    set.Insert("M200000", "end", zbMacroSet::ReplaceExisting);
    EXPECT_EQ("end", set.Solve("M0", nullptr)->Std());
    EXPECT_EQ("end", set.GetValue("M123456")->Std());
    EXPECT_EQ(nullptr, set.Solve("nope", nullptr));
    for (int i = 0; i <= depth; i += 1)
        *set.GetMacro(Q("M" + std::to_string(i))) =
            Q("$(M" + std::to_string((i + 1) % (depth + 1)) + ")");
    EXPECT_EQ(0, set.Solve(nullptr));
    EXPECT_EQ(1, set.GetValue("M777")->IsNull());
}

TEST(zbMacroValue, ExponentialGrowthIsCut)
{
    // Each level doubles the one below: 2^40 bytes at the top.
    zbMacroSet set(50);
    set.Insert("L0", "xxxxxxx", zbMacroSet::ReplaceExisting);
    for (int i = 1; i <= 40; ++i)
    {
        std::string below = "$(L" + std::to_string(i - 1) + ")";
        set.Insert(Q("L" + std::to_string(i)), (below + below).c_str(),
                   zbMacroSet::ReplaceExisting);
    }
    zbtest::Capture err(2);
    const QORString* top = set.Solve("L40", nullptr);
    std::string printed = err.Stop();
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(7 << 21, set.GetValue("L21")->Length());
    EXPECT_EQ(std::string::npos, set.GetValue("L21")->Std().find_first_not_of('x'));
    // L22 would be twice as long: it keeps its first half only.
    EXPECT_TRUE(set.GetValue("L21")->Std() == set.GetValue("L22")->Std());
    EXPECT_EQ("# Error: Value cut: resolving [$(L21)$(L21)] gives more than 16777216 bytes\n",
              printed.substr(0, printed.find('\n') + 1));
    EXPECT_LE(static_cast<size_t>(top->Length()), zbMacroValue::MaxSolvedLength);
}

TEST(zbMacroValue, Words)
{
    const std::tuple<const char*, std::vector<std::string>, const char*> rows[] = {
        {"a 'b c' \"\" d", {"a", "b c", "", "d"}, ""},
        {"\t x \t y  ", {"x", "y"}, ""},
        {"\"a b\"c", {"a b", "c"}, ""},
        {"it's", {"it's"}, ""},
        {"", {}, ""},
        {"a b 'c d", {"a", "b"}, "# Error: Unbalanced ' in [a b 'c d]\n"},
    };
    for (const auto& [text, words, error] : rows)
    {
        zbMacroValue value;
        value = QORString(text);
        zbtest::Capture err(2);
        QORListValQORString list;
        EXPECT_EQ(words, zbtest::Strings(value.GetListOfValues(list))) << text;
        EXPECT_EQ(error, err.Stop()) << text;
    }
}
