

#include "zbCharPtr.h"
#include "zbNewString.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
std::string Text(const zbNewString& iString)
{
    return std::string(iString.CastToCharPtr(), static_cast<size_t>(iString.GetLengthInByte()));
}

std::vector<std::string> Texts(const QORListValzbNewString& iList)
{
    std::vector<std::string> out;
    for (int i = 1; i <= iList.Size(); ++i)
        out.push_back(Text(iList[i]));
    return out;
}

std::vector<std::string> Texts(const QORListPtrzbNewString& iList)
{
    std::vector<std::string> out;
    for (int i = 1; i <= iList.Size(); ++i)
        out.push_back(iList[i] ? Text(*iList[i]) : "<null>");
    return out;
}

using Lines = std::vector<std::string>;
} // namespace

TEST(zbNewString, TextsAcrossTheInlineBuffer)
{
    std::string thirtyOne(31, 'x');
    zbNewString s(thirtyOne.c_str());
    s += "y";
    EXPECT_EQ(Text(s), thirtyOne + "y");
    s = "hello";
    EXPECT_EQ(Text(s), "hello");

    // Self-assignment and appending a string to itself, across the threshold.
    zbNewString t(std::string(20, 'a').c_str());
    t = t;
    EXPECT_EQ(t.GetLengthInByte(), 20);
    t.Append(t);
    EXPECT_EQ(Text(t), std::string(40, 'a'));
    t.Append(t.CastToCharPtr() + 30);
    EXPECT_EQ(Text(t), std::string(50, 'a'));
    t = t.CastToCharPtr() + 45; // a tail of itself, back inline
    EXPECT_EQ(Text(t), "aaaaa");
    t.Reset();
    EXPECT_EQ(t.IsNull(), 1);
    EXPECT_STREQ(t.CastToCharPtr(), "");

    zbNewString nothing(static_cast<const char*>(nullptr));
    EXPECT_EQ(nothing.IsNull(), 1);
    nothing = "x";
    nothing = static_cast<const char*>(nullptr);
    EXPECT_STREQ(nothing.CastToCharPtr(), "");
}

TEST(zbNewString, RepetitionConcatenationAndNumbers)
{
    EXPECT_EQ(Text(zbNewString(zbNewString("0123456789"), 4)),
              "0123456789012345678901234567890123456789");
    EXPECT_EQ(zbNewString(zbNewString("ab"), 0).IsNull(), 1);
    EXPECT_EQ(zbNewString(zbNewString(""), 4).IsNull(), 1);
    // A length the string cannot count gives the empty string.
    EXPECT_EQ(zbNewString(zbNewString("abcdefgh"), 0x40000000).IsNull(), 1);

    zbNewString a("left");
    EXPECT_EQ(Text(a + "right"), "leftright");
    EXPECT_EQ(Text(zbNewString() + a), "left");
    a += -12;
    a += 3000000000UL;
    a += -5L;
    EXPECT_EQ(Text(a), "left-123000000000-5");

    zbNewString s("keep");
    // The formats are the C library's; an empty one changes nothing, a
    // long result leaves the inline buffer.
    EXPECT_EQ(s.BuildFromNum(7LL, ""), 0);
    EXPECT_EQ(Text(s), "keep");
    EXPECT_EQ(s.BuildFromNum(1e300L, "%Lf"), 301 + 7);
    EXPECT_EQ(s.GetLengthInByte(), 308);
    s = "123 rest";
    long value = 0;
    EXPECT_EQ(s.ConvertToNum(&value, "%ld"), 1);
    EXPECT_EQ(value, 123);
    s = "abc";
    EXPECT_EQ(s.ConvertToNum(&value, "%ld"), 0);
}

TEST(zbNewString, ComparisonsAndCase)
{
    // CompareByCase: 1 identical, 2 equal but for case, 0 different.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"abc", "abc", 1},  {"Abc", "aBC", 2}, {"abc", "abd", 0},
        {"abc", "abcd", 0}, {"A1-", "a1-", 2}, {"", "", 1}};
    for (const auto& [a, b, result] : cases)
    {
        SCOPED_TRACE(std::string(a) + " " + b);
        EXPECT_EQ(zbNewString(a).CompareByCase(b), result);
    }

    zbNewString abc("abc");
    EXPECT_LT(abc.StrCompare("abd"), 0);
    EXPECT_EQ(abc.StrCompare("abd", 2), 0);
    EXPECT_GT(abc.StrCompare(static_cast<const char*>(nullptr)), 0);
    EXPECT_TRUE(abc < "abd" && abc <= "abc" && abc >= "abc" && abc > "ab");
    EXPECT_TRUE(zbNewString() == static_cast<const char*>(nullptr));
    zbNewString mixed("MiXed 9");
    EXPECT_EQ(Text(mixed.ToUpper()), "MIXED 9");
    EXPECT_EQ(Text(mixed.ToLower()), "mixed 9");
}

TEST(zbNewString, ResizeAndReplaceChar)
{
    zbNewString s("abc");
    s.Resize(10, 'x', 0);
    EXPECT_EQ(Text(s), "abcxxxxxxx");
    s = "abc";
    s.Resize(1, 'x', 0); // no truncation asked: unchanged
    EXPECT_EQ(Text(s), "abc");
    s.Resize(1, 'x', 1);
    EXPECT_EQ(Text(s), "a");
    s.Resize(5, 0, 0); // no fill: no growth
    s.Resize(-1, 'x', 1);
    EXPECT_EQ(Text(s), "a");

    // Growing across the inline buffer, then truncating and appending.
    s.Resize(40, '-', 0);
    EXPECT_EQ(Text(s), "a" + std::string(39, '-'));
    s.Resize(3, 0, 1);
    EXPECT_EQ(Text(s), "a--");
    s += "b";
    EXPECT_EQ(Text(s), "a--b");

    zbNewString c("abcdef");
    c.ReplaceChar(2, 0);
    c.ReplaceChar(5, 'z'); // beyond the length: ignored
    EXPECT_EQ(Text(c), "ab");
    zbNewString d("a.b.c");
    d.ReplaceAllChar('.', '/');
    EXPECT_EQ(Text(d), "a/b/c");
    d.ReplaceAllChar('b', 0);
    EXPECT_EQ(Text(d), "a/");
}

TEST(zbNewString, SubStringsAndStrip)
{
    zbNewString s("abcdef");
    // Out-of-range arguments give the whole string.
    const int whole[][2] = {{2, 10}, {0, 6}, {-1, 2}, {2, 0}, {1, 0x7FFFFFFF}};
    for (const auto& w : whole)
        EXPECT_EQ(Text(s.SubString(w[0], w[1])), "abcdef") << w[0] << "," << w[1];
    EXPECT_EQ(Text(s.SubString(2, 3)), "cde");

    zbNewString out("old");
    EXPECT_EQ(Text(s.NewSubString(out, 2, 3)), "cde");
    EXPECT_EQ(Text(s.NewSubString(out, 4, 0)), "ef");
    EXPECT_EQ(Text(s.NewSubString(out, 6, 0)), "");
    zbNewString r("abcdefghij");
    EXPECT_EQ(Text(r.ReduceString(3, 4)), "defg");
    EXPECT_EQ(Text(r.ReduceString(9, 0)), "defg");

    // Modes: 1 leading, 2 trailing, 3 both ends, 4 everywhere.
    const std::tuple<const char*, int, const char*> strips[] = {{"xxabxx", 1, "abxx"},
                                                                {"xxabxx", 2, "xxab"},
                                                                {"xxabxx", 3, "ab"},
                                                                {"xaxbx", 4, "ab"},
                                                                {"xxxx", 3, ""}};
    for (const auto& [text, mode, stripped] : strips)
        EXPECT_EQ(Text(zbNewString(text).Strip(mode, 'x')), stripped) << mode;
}

TEST(zbNewString, SearchModes)
{
    // Mode 2 searches backwards from the end, 1 forwards from the start
    // position, 0 forwards from the beginning; positions count from 0.
    const std::tuple<const char*, int, int, int> cases[] = {
        {"b", 0, 2, 3},      {"b", 1, 2, 1},  {"b", 3, 2, -1}, {"b", 0, 1, 1},
        {"b", 2, 1, 3},      {"cb", 0, 1, 2}, {"cb", 0, 0, 2}, {"abcbx", 0, 1, -1},
        {"abcbx", 0, 2, -1}, {"", 0, 1, -1},  {"b", 4, 1, -1}, {"b", -1, 1, -1}};
    zbNewString s("abcb");
    for (const auto& [sub, start, mode, found] : cases)
        EXPECT_EQ(s.SearchSubString(sub, start, mode), found) << sub << " " << start << " " << mode;
    EXPECT_EQ(zbNewString().SearchSubString("b", 0, 1), -1);

    EXPECT_EQ(s.FindPosition("b", 2), 3);
    EXPECT_EQ(s.FindPosition("", 4), 4);
    EXPECT_EQ(s.FindPosition("b", 5), -1);
    EXPECT_EQ(s.FindPosition("bcbb", 1), -1);
}

TEST(zbNewString, Replacements)
{
    zbNewString s("abcdef");
    s.ReplaceSubString(1, 2, "XYZ");
    EXPECT_EQ(Text(s), "aXYZdef");
    s.ReplaceSubString(5, 100, "!");
    EXPECT_EQ(Text(s), "aXYZd!");
    s.ReplaceSubString(6, 0, "?"); // at the very end
    s.ReplaceSubString(8, 0, "never");
    s.ReplaceSubString(0, -1, "never");
    EXPECT_EQ(Text(s), "aXYZd!?");
    s.Remove(1, 3);
    EXPECT_EQ(Text(s), "ad!?");
    s.Insert(1, std::string(40, '=').c_str());
    EXPECT_EQ(Text(s), "a" + std::string(40, '=') + "d!?");
    EXPECT_EQ(s.ReplaceSubString(std::string(40, '=').c_str(), "b"), 1);
    EXPECT_EQ(Text(s), "abd!?");
    EXPECT_EQ(s.ReplaceSubString("zz", "b"), -1);
    EXPECT_EQ(s.ReplaceSubString("", "b"), -1);
    zbNewString empty;
    empty.Insert(0, "x"); // nothing is done to an empty string
    EXPECT_EQ(empty.IsNull(), 1);
}

TEST(zbNewString, StripSpacesOutsideString)
{
    const std::string longText = "long   text   beyond   the   inline   buffer";
    const std::tuple<std::string, std::string> cases[] = {
        {"  a  'b   c'  d ", "a 'b   c' d"},
        {"\tx\t\ty \"in  side\"`q  q`z  'open  end", "x y \"in  side\"`q  q`z 'open  end"},
        {std::string(20, ' ') + longText, "long text beyond the inline buffer"},
        {"   ", ""},
    };
    for (const auto& [text, stripped] : cases)
    {
        zbNewString s(text.c_str());
        s.StripSpacesOutsideString();
        EXPECT_EQ(Text(s), stripped);
    }
}

TEST(zbNewString, HashKey)
{
    EXPECT_EQ(zbNewString().ComputeHashKey(), 0u);
    for (const char* text : {"abc", "abcde", "\xff\x80"})
        EXPECT_EQ(zbNewString(text).ComputeHashKey(), zbCharPtr(text).ComputeHashKey()) << text;
}

TEST(zbNewStringLists, FromStrtok)
{
    // Text, delimiters, empty tokens skipped, the tokens.
    const std::tuple<const char*, const char*, int, Lines> cases[] = {
        {"a,,b,", ",", 0, {"a", "", "b"}},
        {",a;,b", ",;", 1, {"a", "b"}},
        {",", ",", 0, {""}},
        {"", ",", 0, {}},
        {nullptr, ",", 0, {}}};
    for (const auto& [text, delimiters, skip, tokens] : cases)
    {
        zbtest::Owned<QORListPtrzbNewString> list;
        EXPECT_EQ(zbLISTPOfzbNewString_FromStrtok(list, text, delimiters, skip),
                  static_cast<int>(tokens.size()));
        EXPECT_EQ(Texts(list), tokens);
    }
    QORListValzbNewString values;
    EXPECT_EQ(zbLISTVOfzbNewString_FromStrtok(values, "x y  z", " ", 0), 4);
    EXPECT_EQ(Texts(values), (Lines{"x", "y", "", "z"}));
}

TEST(zbNewStringLists, FromFile)
{
    zbtest::TempDir dir;
    std::string path = dir / "lines";
    zbtest::WriteFile(path, "one\r\n\r\ntwo\n\nthree\r");
    QORListPtrzbNewString list;
    EXPECT_EQ(zbLISTPOfzbNewString_FromFile(path.c_str(), list, 0, 0), 5);
    EXPECT_EQ(Texts(list), (Lines{"one\r", "\r", "two", "", "three\r"}));
    list.ApplyDelete();
    EXPECT_EQ(zbLISTPOfzbNewString_FromFile(path.c_str(), list, 1, 1), 3);
    EXPECT_EQ(Texts(list), (Lines{"one", "two", "three"}));
    list.ApplyDelete();

    // Line counts with empty lines kept and CR stripped.
    const std::tuple<const char*, int> cases[] = {{"a\n\n", 2}, {"last\r", 1}, {"\r", 0}, {"", 0}};
    for (const auto& [content, count] : cases)
    {
        zbtest::WriteFile(path, content);
        QORListValzbNewString values;
        EXPECT_EQ(zbLISTVOfzbNewString_FromFile(path.c_str(), values, 0, 1), count) << content;
    }

    EXPECT_EQ(zbLISTPOfzbNewString_FromFile((dir / "missing").c_str(), list, 0, 0), -1);
    EXPECT_EQ(zbLISTPOfzbNewString_FromFile(dir.Path().c_str(), list, 0, 0), -1);
    EXPECT_EQ(list.Size(), 0);
}

TEST(zbNewStringLists, UniqLocateSort)
{
    QORListPtrzbNewString list;
    zbNewString* a = new zbNewString("a");
    zbNewString* b = new zbNewString("b");
    list.Append(a);
    list.Append(b);
    list.Append(a); // the same pointer again: only forgotten
    list.Append(new zbNewString("a"));
    list.Append(nullptr);
    list.Append(new zbNewString("c"));
    list.Append(new zbNewString("b"));
    EXPECT_EQ(zbLISTPOfzbNewString_Uniq(list), 3);
    EXPECT_EQ(Texts(list), (Lines{"a", "b", "c"}));
    EXPECT_EQ(list[1], a);

    EXPECT_EQ(zbLISTPOfzbNewString_Locate("b", list, 1), 2);
    EXPECT_EQ(zbLISTPOfzbNewString_Locate("b", list, 3), 0);
    EXPECT_EQ(zbLISTPOfzbNewString_Locate("a", list, 0), 0);
    EXPECT_EQ(zbLISTPOfzbNewString_Locate("a", list, 4), 0);

    list.Append(nullptr);
    list.QuickSort(zbLISTPOfzbNewString_QuickSort);
    EXPECT_EQ(Texts(list), (Lines{"<null>", "a", "b", "c"}));
    list.ApplyDelete();
}
