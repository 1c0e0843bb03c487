// MDF V4 files: sections read, looked up, removed, stripped and printed.

#include "zbContext.h"
#include "zbMDFV4.h"
#include "zbOFStream.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
// Every section as "KEY=[v1|v2]", in iteration order (one bucket keeps the
// order of insertion).
std::string Sections(const zbMDFV4& iSet)
{
    std::string text;
    const QORString* cursor = nullptr;
    QORString name;
    while (const zbMDFV4Section* section = iSet.Next(cursor, name))
    {
        text += name.Std() + "=[";
        for (int i = 0; i < section->Size(); ++i)
            text += std::string(i ? "|" : "") + (*section)[i];
        text += "]";
    }
    return text;
}

struct Loaded
{
    int _Result;
    std::string _Sections;
    std::string _Err;
};

Loaded Load(zbMDFV4& ioSet, const std::string& iPath)
{
    zbtest::Capture err(2);
    int result = ioSet.InsertFile(iPath.c_str());
    return {result, Sections(ioSet), err.Stop()};
}

std::string Printed(void (zbMDFV4::*iPrint)(zbOFStream&) const, const zbMDFV4& iSet)
{
    return zbtest::Written([&](zbOFStream& out) { (iSet.*iPrint)(out); });
}
} // namespace

TEST(zbMDFV4, InsertFileParsesSectionsAndValues)
{
    // reported: duplicate reports of *A; -1: the refusal of a NUL byte
    const std::tuple<const char*, std::string, int, std::string, int> cases[] = {
        {"duplicate after an empty section", "* A\nx\ny\n*B\n*A\nz\n", 1, "*A=[x|y]", 1},
        {"two duplicates", "*A\n1\n*A\n2\n*A\n3\n", 2, "*A=[1]", 2},
        {"header name between blanks", "*  SRC  x\nv\n", 0, "*SRC=[v]", 0},
        {"tabs and blanks lead lines", "\t *A\n \t v1\n\tv2 w\n", 0, "*A=[v1|v2 w]", 0},
        {"comments cut values, empty lines skipped",
         "*A\nlib.a  / the lib\n\n   \n  / only a comment\nb/c\n", 0, "*A=[lib.a  |b]", 0},
        {"comment on a header", "*A / first\nx\n* / no name\ny\n", 0, "*A=[x]*=[y]", 0},
        {"text before the first header is not read", "pre / see *B\nv *C\n *A\ny\n", 0, "*A=[y]",
         0},
        {"no final newline", "*A\nx", 0, "*A=[x]", 0},
        {"a NUL byte: not a text file", std::string("*A\nab\0cd\n*B\nz\n", 14), 1, "", -1},
        {"a header without values opens no section", "*A\n*B\nx\n*C\n", 0, "*B=[x]", 0},
        {"no header", "x\ny\n", 1, "", 0},
        {"empty file", "", 1, "", 0},
    };
    zbtest::TempDir dir;
    for (const auto& [what, text, result, sections, reported] : cases)
    {
        SCOPED_TRACE(what);
        zbtest::WriteFile(dir / "F", text);
        zbMDFV4 set(1);
        Loaded got = Load(set, dir / "F");
        std::string reports = reported < 0 ? "# System error on " + dir / "F" +
                                                 ": holds a NUL byte: it is not a text file\n"
                                           : "";
        for (int i = 0; i < reported; ++i)
            reports += "# Error: " + dir / "F" +
                       ": section *A is defined again, this definition is ignored\n";
        EXPECT_EQ(result, got._Result);
        EXPECT_EQ(sections, got._Sections);
        EXPECT_EQ(reports, got._Err);
    }
}

TEST(zbMDFV4, FailedLoadLeavesTheSetEmpty)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "good", "*A\nx\n");
    zbMDFV4 set(7);
    ASSERT_EQ(0, Load(set, dir / "good")._Result);
    Loaded missing = Load(set, dir / "missing");
    EXPECT_EQ(1, missing._Result);
    EXPECT_EQ("", missing._Sections);
    EXPECT_EQ("# System error on " + dir / "missing" + ": No such file or directory\n",
              missing._Err);
    EXPECT_EQ(1, Load(set, dir.Path())._Result); // a directory
    EXPECT_EQ(1, set.InsertFile(nullptr));
    EXPECT_EQ(0, set.GetNbItems());
    // A new file replaces the old content entirely.
    zbtest::WriteFile(dir / "other", "*B\ny\n");
    ASSERT_EQ(0, Load(set, dir / "good")._Result);
    EXPECT_EQ("*B=[y]", Load(set, dir / "other")._Sections);
}

TEST(zbMDFV4, LookupsRemovalAndStripping)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "F", "*A\nlib.a  / comment\n\tb c\n*B\nz\n");
    zbMDFV4 set(1);
    ASSERT_EQ(0, Load(set, dir / "F")._Result);

    const zbMDFV4Section& a = set.Locate("*A");
    ASSERT_EQ(2, a.Size());
    EXPECT_STREQ("lib.a  ", a[0]);
    EXPECT_STREQ("b c", a[1]);
    EXPECT_EQ(nullptr, a[2]);
    EXPECT_EQ(nullptr, a[-1]);
    EXPECT_EQ(nullptr, a[1 << 30]);
    EXPECT_EQ(nullptr, set.Locate("*B")[1]); // the line after *B's last value is not its own

    const zbMDFV4Section& unknown = set.Locate("*Q");
    EXPECT_EQ(0, unknown.Size());
    EXPECT_EQ(nullptr, unknown[0]);
    EXPECT_EQ(&unknown, &set.Locate("A")); // the key keeps its '*'

    QORListValQORString list;
    list.Append(QORString("kept"));
    EXPECT_EQ(0, set.GetListOfValues("*Q", list));
    EXPECT_EQ(2, set.GetListOfValues("*A", list));
    EXPECT_EQ(zbtest::Strings(list), (std::vector<std::string>{"kept", "lib.a  ", "b c"}));

    set.StripSpaces();
    EXPECT_EQ("*A=[lib.a|b]*B=[z]", Sections(set));

    EXPECT_EQ(1, set.Remove("*A"));
    EXPECT_EQ(0, set.Remove("*A"));
    EXPECT_EQ("*B=[z]", Sections(set));
    EXPECT_EQ(0, set.Locate("*A").Size());
}

TEST(zbMDFV4, DumpAndStatistics)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "F", "*A\nx\ny\n*B\nz\n");
    zbMDFV4 set(1);
    ASSERT_EQ(0, Load(set, dir / "F")._Result);
    zbMDFV4 empty(3);
    const std::string stats = "\n## zbMDFV4: Statistics of values dictionary:\n"
                              "QORHDICOS( QORString, zbMDFV4Section ):\n"
                              "( dimensionned to 1 buckets , with 0 unused ==> 0% )\n"
                              "( containing 2 items , with 1 in collision ==> 50% )\n";
    // (The dump of sections is checked through zbsvc mdf.)
    EXPECT_EQ("", Printed(&zbMDFV4::Dump, empty));
    EXPECT_EQ(stats, Printed(&zbMDFV4::PrintStats, set));

    // Verbose: the destructor prints the same statistics on standard output.
    for (int verbose : {0, 1})
    {
        zbMDFV4* copy = new zbMDFV4(1);
        ASSERT_EQ(0, Load(*copy, dir / "F")._Result);
        zbtest::Capture out(1);
        zbExtContext._Verbose = verbose;
        delete copy;
        zbExtContext._Verbose = 0;
        EXPECT_EQ(verbose ? stats : "", out.Stop());
    }
}
