// Macro sets: buffer normalisation, includes, insert modes, merges, printing.

#include "zbFileName.h"
#include "zbMacroSet.h"
#include "zbOFStream.h"
#include "zbPathFinder.h"
#include "zbSetOfPathFinder.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
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
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

struct Finder
{
    explicit Finder(const std::string& iDir)
    {
        QORListValQORString paths;
        paths.Append(QORString(iDir.c_str()));
        _Finder.SetListOfPath(paths);
        _Set.Append(_Finder);
    }
    zbPathFinder _Finder;
    zbSetOfPathFinder _Set;
};
} // namespace

TEST(zbMacroSet, ParseBuffer)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"\n\n \tA = 1 # note\n\nB = x \\\n   y\r\njunk\n\n  \n", "A = 1 \nB = x y\njunk", ""},
        // Tabs become blanks, runs of blanks shrink, CRs vanish.
        {"A\t=\t\ta  \t b\r\n", "A = a b", ""},
        // A backslash before a comment drops it and joins the next line.
        {"A = a \\ # c\n b", "A = a b", ""},
        {"A = a\\\nb", "A = ab", ""},
        {"A = a\\b \\c", "A = a\\b \\c", ""},
        {"A = a\\\n", "A = a", ""},
        // Quotes of all three kinds hold comments, newlines and blank runs.
        {"A = 'a # b'\nB = \"x\n\n  y\" z # c\nC = `p  #q`\n",
         "A = 'a # b'\nB = \"x\n\n  y\" z \nC = `p  #q`", ""},
        // A line of blanks then include keeps one blank in front.
        {"A = 1\n   include x.mk\ninclude  y.mk", "A = 1\n include x.mk\ninclude y.mk", ""},
        {" \n\t\n# only a comment\n", "", ""},
        {"", "", ""},
        // An unterminated quote fails the buffer and names the rest of it.
        {"A = 1\nB = \"abc\ndef\n", "<null>", "# Error: Unbalanced \" in f.mk[\"abc]\n"},
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
    const struct
    {
        const char* _Tail;
        const char* _Expected;
    } rows[] = {
        {"  b\n\n\nc \t d # e\nf\\\ng", " b\nc d \nfg"},
        {"\n \n'q  #'  r\r\n", "\n \n'q  #' r"},
        {"\t\"s\n\nt\" `u` #", " \"s\n\nt\" `u`"},
        {"\\ x\\\\y  ", "\\ x\\\\y"},
    };
    for (const auto& row : rows)
        for (const char* lead : {"", "A  = 1 # c\n"})
            for (size_t length = 0; length < 40; ++length)
            {
                const std::string text = "X = z" + std::string(length, 'a');
                const std::string before = *lead ? "A = 1 \n" : "";
                EXPECT_EQ(before + text + row._Expected, Parse(lead + text + row._Tail))
                    << length << " " << row._Tail;
            }
}

TEST(zbMacroSet, InsertFileLinesAndFailures)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "a.mk", "A = 1 # note\nB = x \\\n  y\njunk\nC='a # b'\n"
                                    "D == 2\n  E  F = 3\nG=\nH = ' q '\n");
    zbMacroSet set(500);
    EXPECT_EQ(0, set.InsertFile((dir / "a.mk").c_str(), nullptr, '=', zbMacroSet::ReplaceExisting));
    EXPECT_EQ("A='1'\nB='x y'\nC='a # b'\nD='= 2'\nE='3'\nG=''\nH=' q '\n", Printed(set));
    EXPECT_EQ(1, set.GetValue("G")->IsNull());
    QORListValQORString words;
    EXPECT_EQ(&words, set.GetListOfValues("B", words));
    EXPECT_EQ(2, words.Size());
    EXPECT_EQ(nullptr, set.GetListOfValues("nope", words));
    EXPECT_EQ(2, set.GetListOfValues("B")->Size());

    // A failed file adds nothing.  (A missing file, an empty one and a bad
    // one: see zbsvc macros.)
    zbtest::WriteFile(dir / "nul.mk", std::string("A = 2\n\0B = 2\n", 12));
    zbtest::Capture err(2);
    for (const std::string& file : {dir.Path(), dir / "nul.mk"})
        EXPECT_EQ(1, set.InsertFile(file.c_str(), nullptr, '=', zbMacroSet::ReplaceExisting))
            << file;
    EXPECT_EQ("# System error on " + dir.Path() + ": Is a directory\n# System error on " +
                  (dir / "nul.mk") + ": holds a NUL byte: it is not a text file\n",
              err.Stop());
    EXPECT_EQ("A='1'\nB='x y'\nC='a # b'\nD='= 2'\nE='3'\nG=''\nH=' q '\n", Printed(set));
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
    Finder finder(dir.Path());
    zbMacroSet set(500);
    // Only a line starting with "include " names a file; a trailing comment
    // does not belong to the name.
    std::string buffer = Parse("W = 5\n   include x.mk\ninclude  y.mk\ninclude z.mk # c\ninclude\n"
                               "includes = 4\ninclude missing.mk\n");
    zbtest::Capture err(2);
    EXPECT_EQ(1, set.InsertBuffer(&buffer[0], &finder._Set, '=', zbMacroSet::ReplaceExisting));
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
    EXPECT_EQ(4, counted.InsertFile((dir / "top.mk").c_str(), &finder._Set, '=',
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
    EXPECT_EQ("the value", v->GetValue().Std());
    char none[] = "no separator";
    EXPECT_EQ(nullptr, set.Insert(none, '=', zbMacroSet::ReplaceExisting));
    char colon[] = "K: v";
    EXPECT_EQ("v", set.Insert(colon, ':', zbMacroSet::ReplaceExisting)->GetValue().Std());

    // Mode 0 replaces in place, any other mode keeps.
    EXPECT_EQ(v, set.Insert("NAME", "other", zbMacroSet::KeepExisting));
    EXPECT_EQ("the value", v->GetValue().Std());
    EXPECT_EQ(v, set.Insert("NAME", "'new'", zbMacroSet::ReplaceExisting));
    EXPECT_EQ("new", v->GetValue().Std());
    char line[] = "NAME = again";
    EXPECT_EQ(v, set.Insert(line, '=', zbMacroSet::ReplaceExisting));
    EXPECT_EQ("again", v->GetValue().Std());
    EXPECT_EQ(v, set._InsertOrReplace("NAME", zbMacroValue("copy"), zbMacroSet::ReplaceExisting));
    EXPECT_EQ("copy", v->GetValue().Std());

    EXPECT_EQ(1, set.Remove("NAME"));
    EXPECT_EQ(0, set.Remove("NAME"));
    EXPECT_EQ(nullptr, set.GetValue("NAME"));
}

TEST(zbMacroSet, MergeCompareAndIterate)
{
    zbMacroSet a(7), b(13);
    a.Insert("X", "$(Y)", zbMacroSet::ReplaceExisting);
    a.Insert("Y", "y", zbMacroSet::ReplaceExisting);
    a.Solve(nullptr);
    b.Insert("X", "bx", zbMacroSet::ReplaceExisting);
    b.Insert("Z", "bz", zbMacroSet::ReplaceExisting);

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

    std::vector<std::string> names;
    const QORString* cursor = nullptr;
    QORString name;
    while (zbMacroValue* value = same.Next(cursor, name))
    {
        EXPECT_EQ(value, same.GetMacro(name));
        names.push_back(name.Std());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"W", "X", "Y", "Z"}), names);
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

TEST(zbMacroSet, PrintDumpAndStatistics)
{
    zbMacroSet set(1), empty(4);
    set.Insert("A", "a 'b'", zbMacroSet::ReplaceExisting);
    set.Insert("B", "%s", zbMacroSet::ReplaceExisting);
    set.Insert("C", "", zbMacroSet::ReplaceExisting);
    // One bucket keeps the insertion order.  (The dump of macros is checked
    // through zbsvc macros.)
    EXPECT_EQ("A='a 'b''\nB='%s'\nC=''\n\n"
              "## zbMacroSet: Statistics of values dictionary:\n"
              "QORHDICOS( QORString, zbMacroValue ):\n"
              "( dimensionned to 1 buckets , with 0 unused ==> 0% )\n"
              "( containing 3 items , with 2 in collision ==> 66.6667% )\n\n"
              "## zbMacroSet: Statistics of values dictionary:\n"
              "QORHDICOS( QORString, zbMacroValue ):\n"
              "( dimensionned to 4 buckets , with 4 unused ==> 100% )\n"
              "( containing 0 items , with 0 in collision )\n",
              zbtest::Written(
                  [&](zbOFStream& out)
                  {
                      EXPECT_EQ(0, empty.Print(out));
                      empty.Dump(out);
                      set.Print(out);
                      set.PrintStats(out);
                      empty.PrintStats(out);
                  }));
    zbOFStream full("/dev/full", 8);
    EXPECT_EQ(1, set.Print(full));
}

TEST(zbMacroSet, ClassNameOfFileKinds)
{
    zbMacroSet kinds(11);
    kinds.Insert(".tab.h", "Grammar", zbMacroSet::ReplaceExisting);
    kinds.Insert(".h", "Header", zbMacroSet::ReplaceExisting);
    kinds.Insert("<Nil>", "Plain", zbMacroSet::ReplaceExisting);
    zbMacroSet none(3);
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
        // Cached: another set does not change it.
        EXPECT_STREQ(kind, name.GetBOClName(none, "dflt")) << path;
    }
    zbFileName fresh("/src/x.tab.h");
    EXPECT_EQ(nullptr, fresh.GetBOClName(none, nullptr));
}
