// MDF V4 files: sections read, looked up and removed (printed: see zbsvc
// mdf).

#include "zbMDFV4.h"
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
} // namespace

// A file read into a set holding another: the result, the sections and the
// reports (reported: the count of reports of *A; -1: the refusal of a NUL).
// (A missing file and a file without a header: see zbsvc mdf.)
TEST(zbMDFV4, InsertFileReplacesTheSet)
{
    const std::tuple<const char*, std::string, int, std::string, int> cases[] = {
        {"two duplicates", "*A\n1\n*A\n2\n*A\n3\n", 2, "*A=[1]", 2},
        {"header name between blanks", "*  SRC  x\nv\n", 0, "*SRC=[v]", 0},
        {"comments cut values, empty lines skipped",
         "*A\nlib.a  / the lib\n\n   \n  / only a comment\nb/c\n", 0, "*A=[lib.a  |b]", 0},
        {"comment on a header", "*A / first\nx\n* / no name\ny\n", 0, "*A=[x]*=[y]", 0},
        {"text before the first header", "pre / see *B\nv *C\n *A\ny\n", 0, "*A=[y]", 0},
        {"no final newline", "*A\nx", 0, "*A=[x]", 0},
        {"a NUL byte", std::string("*A\nab\0cd\n*B\nz\n", 14), 1, "", -1},
        {"a header without values opens no section", "*A\n*B\nx\n*C\n", 0, "*B=[x]", 0},
        {"empty file", "", 1, "", 0},
    };
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "old", "*O\no\n");
    for (const auto& [what, text, result, sections, reported] : cases)
    {
        SCOPED_TRACE(what);
        const std::string path = dir / "F";
        zbtest::WriteFile(path, text);
        zbMDFV4 set(1);
        ASSERT_EQ(0, set.InsertFile((dir / "old").c_str()));
        zbtest::Capture err(2);
        EXPECT_EQ(result, set.InsertFile(path.c_str()));
        std::string reports = reported < 0 ? "# System error on " + path +
                                                 ": holds a NUL byte: it is not a text file\n"
                                           : "";
        for (int i = 0; i < reported; ++i)
            reports +=
                "# Error: " + path + ": section *A is defined again, this definition is ignored\n";
        EXPECT_EQ(reports, err.Stop());
        EXPECT_EQ(sections, Sections(set));
    }
    EXPECT_EQ(1, zbMDFV4(1).InsertFile(nullptr));
}

TEST(zbMDFV4, LookupsRemovalAndStripping)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "F", "*A\nlib.a  / comment\n\tb c\n*B\nz\n");
    zbMDFV4 set(1);
    ASSERT_EQ(0, set.InsertFile((dir / "F").c_str()));
    const zbMDFV4Section& a = set.Locate("*A");
    ASSERT_EQ(2, a.Size());
    EXPECT_STREQ("lib.a  ", a[0]);
    EXPECT_STREQ("b c", a[1]);
    for (int outside : {2, -1, 1 << 30})
        EXPECT_EQ(nullptr, a[outside]) << outside;
    const zbMDFV4Section& unknown = set.Locate("*Q");
    EXPECT_EQ(0, unknown.Size());
    EXPECT_EQ(nullptr, unknown[0]);
    EXPECT_EQ(&unknown, &set.Locate("A")); // the key keeps its '*'

    QORListValQORString list = zbtest::StringList({"kept"});
    EXPECT_EQ(0, set.GetListOfValues("*Q", list));
    EXPECT_EQ(2, set.GetListOfValues("*A", list));
    EXPECT_EQ(zbtest::Strings(list), (std::vector<std::string>{"kept", "lib.a  ", "b c"}));
    EXPECT_EQ(1, set.Remove("*A"));
    EXPECT_EQ(0, set.Remove("*A"));
    EXPECT_EQ("*B=[z]", Sections(set));
}
