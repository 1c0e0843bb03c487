
#include <climits>

#include "zbString.h"
#include "zbTestSupport.h"

namespace
{
std::string Text(const zbStringBasic& iString)
{
    return std::string(iString.CastToCharPtr(), iString.GetLength());
}

// The view ends with a NUL and the rest of the buffer is zero.
void ExpectTerminated(const zbString& iString)
{
    EXPECT_EQ(iString.CastToCharPtr()[iString.GetLength()], 0);
    EXPECT_LT(iString.GetOffset() + iString.GetLength(), iString.GetBufferSize());
}

std::vector<std::string> Texts(const QORListPtrzbString& iList)
{
    std::vector<std::string> out;
    for (int i = 1; i <= iList.Size(); ++i)
        out.push_back(Text(*iList[i]));
    return out;
}

using Lines = std::vector<std::string>;
} // namespace

TEST(zbString, GrowthAndReuseKeepTheTextTerminated)
{
    for (const std::string& text :
         {std::string(), std::string("abc"), std::string(15, 'x'), std::string(16, 'x')})
    {
        zbString s(text.c_str());
        zbString copy(s);
        s.Append("d");
        EXPECT_EQ(Text(copy) + "|" + Text(s), text + "|" + text + "d");
        ExpectTerminated(copy);
        ExpectTerminated(s);
    }
    // An assignment that fits leaves nothing of the old text behind.
    zbString sixteen(std::string(16, 'x').c_str());
    sixteen = "short";
    EXPECT_EQ(Text(sixteen), "short");
    ExpectTerminated(sixteen);
    sixteen.Reset();
    EXPECT_EQ(Text(sixteen), "");
}

TEST(zbString, MovableView)
{
    zbString s("abcdef");
    const char* block = s.CastToCharPtr();
    s.ReduceString(2, 0);
    EXPECT_EQ(Text(s), "cdef");
    EXPECT_EQ(s.GetOffset(), 2u);
    EXPECT_EQ(s.CastToCharPtr(), block + 2);
    s.Append("x");
    EXPECT_EQ(Text(s), "cdefx");
    EXPECT_EQ(s.GetOffset(), 0u);
    ExpectTerminated(s);

    s.ReduceString(1, 2);
    EXPECT_EQ(Text(s), "de");
    ExpectTerminated(s);
    s.ReduceString(5, 0); // beyond the text: unchanged
    EXPECT_EQ(Text(s), "de");

    // Assigning or appending a part of the string to itself.
    zbString t("0123456789abcdef0123");
    t.ReduceString(10, 0);
    t = t.CastToCharPtr() + 2;
    EXPECT_EQ(Text(t), "cdef0123");
    t.Append(t);
    EXPECT_EQ(Text(t), "cdef0123cdef0123");
    t = &t;
    EXPECT_EQ(Text(t), "cdef0123cdef0123");
    t = static_cast<const zbString*>(nullptr);
    EXPECT_EQ(Text(t), "");
}

TEST(zbString, SearchAndSubStrings)
{
    const std::tuple<const char*, int, int, int> cases[] = {
        {"b", 2, 2, 1},   {"b", 0, 2, -1},  {"b", 2, 1, 3}, {"ab", 1, 1, 2},
        {"ab", 4, 1, -1}, {"ab", 5, 2, -1}, {"", 0, 1, -1}, {"ababa", 0, 1, -1}};
    zbString abab("abab");
    for (const auto& [sub, start, mode, found] : cases)
        EXPECT_EQ(abab.SearchSubString(sub, start, mode), found)
            << sub << " " << start << " " << mode;

    // A view need not end with a NUL.
    zbStringBasic view("12345", 2);
    EXPECT_EQ(view.ToInt(), 12);
    EXPECT_EQ(view.Compare("12"), 0);
    EXPECT_GT(view.Compare("1"), 0);
    EXPECT_LT(view.Compare("123"), 0);
    EXPECT_EQ(view.Compare("129", 2), 0);
    EXPECT_EQ(view.SearchSubString("3", 0, 1), -1);
    EXPECT_TRUE(zbStringBasic() == "");
    EXPECT_EQ(zbStringBasic().ToLong(), 0);
    EXPECT_EQ(zbStringBasic("-77x").ToLong(), -77);

    zbString out("old");
    zbString s("abcdef");
    EXPECT_EQ(Text(s.NewSubString(out, 2, 3)), "cde");
    EXPECT_EQ(Text(s.NewSubString(out, 4, 0)), "ef");
    EXPECT_EQ(Text(s.NewSubString(out, 6, 1)), "");
    EXPECT_EQ(Text(s.NewSubString(s, 1, 2)), "bc");
}

TEST(zbString, HashKey)
{
    EXPECT_EQ(zbStringBasic_ComputeHashKey("", 0), 0u);
    EXPECT_EQ(zbStringBasic_ComputeHashKey("a", 1), 4753u);
    EXPECT_EQ(zbStringBasic_ComputeHashKey("abc", 3), 2377088u);
    // Signed characters.
    EXPECT_EQ(zbStringBasic_ComputeHashKey("\xff", 1), static_cast<unsigned int>(-49));

    // The cached key follows every change of the text.
    zbString s("ab");
    EXPECT_EQ(s.ComputeHashKey(), 484806u);
    s.Append("c");
    EXPECT_EQ(s.ComputeHashKey(), zbStringBasic_ComputeHashKey("abc", 3));
    s.ToUpper(1);
    EXPECT_EQ(Text(s), "aBC");
    EXPECT_EQ(s.ComputeHashKey(), zbStringBasic_ComputeHashKey("aBC", 3));
    EXPECT_EQ(zbStringBasic(s).ComputeHashKey(), s.ComputeHashKey());
}

TEST(zbString, Editing)
{
    zbString s("a/b/c");
    s.DosifyPath();
    EXPECT_EQ(Text(s), "a\\b\\c");
    s.UnixifyPath();
    EXPECT_EQ(Text(s), "a/b/c");
    s.Trunk(3);
    s.Trunk(10);
    EXPECT_EQ(Text(s), "a/b");
    s.ReplaceChar(1, 0);
    EXPECT_EQ(Text(s), "a");
    s = "x.y.z";
    s.ReplaceAllChar('.', 0);
    EXPECT_EQ(Text(s), "x");
    s = "MiXed";
    s.ToLower(2);
    EXPECT_EQ(Text(s), "Mixed");

    s = "one two two";
    EXPECT_EQ(s.ReplaceSubString("two", "three", 5), 8);
    EXPECT_EQ(Text(s), "one two three");
    EXPECT_EQ(s.ReplaceSubString("two", nullptr), 4);
    EXPECT_EQ(Text(s), "one  three");
    EXPECT_EQ(s.ReplaceSubString("absent", "x"), -1);
    EXPECT_EQ(s.ReplaceSubString("", "x"), -1);
    EXPECT_EQ(s.ReplaceSubString("e", "x", 11), -1);
    ExpectTerminated(s);

    s = "";
    s.IntToString(LLONG_MIN);
    EXPECT_EQ(Text(s), "-9223372036854775808");
    s.IntToString(42);
    EXPECT_EQ(Text(s), "42");
    s.Append(QORString("/"))
        .Append(zbStringBasic("ab", 1))
        .Append(static_cast<const char*>(nullptr));
    EXPECT_EQ(Text(s), "42/a");
}

TEST(zbString, Stripping)
{
    zbString s("xxx");
    s.StripInternal(3, 'x');
    EXPECT_EQ(Text(s), "");
    s = "xxabxx";
    s.StripInternal(1, 'x');
    EXPECT_EQ(Text(s), "abxx");
    EXPECT_EQ(s.GetOffset(), 2u);
    s.StripInternal(2, 'x');
    EXPECT_EQ(Text(s), "ab");
    ExpectTerminated(s);

    s = "  a  'b   c'  d ";
    s.StripSpacesOutsideString();
    EXPECT_EQ(Text(s), "a 'b   c' d");
    EXPECT_EQ(s.GetOffset(), 2u);
    ExpectTerminated(s);
    s = "\t x\t\"q  q\"  `open  end";
    s.StripSpacesOutsideString();
    EXPECT_EQ(Text(s), "x \"q  q\" `open  end");
    s = "   ";
    s.StripSpacesOutsideString();
    EXPECT_EQ(Text(s), "");
}

TEST(zbStringLists, TokensFilesAndUniq)
{
    QORListPtrzbString list;
    EXPECT_EQ(zbLISTPOfzbString_FromStrtok(list, " a,b  c", " ,"), 3);
    EXPECT_EQ(Texts(list), (Lines{"a", "b", "c"}));
    list.ApplyDelete();
    EXPECT_EQ(zbLISTPOfzbString_FromStrtok(list, "a \nb c", " "), 1);
    list.ApplyDelete();
    EXPECT_EQ(zbLISTPOfzbString_FromStrtok(list, nullptr, " "), 0);
    QORListValzbString values;
    EXPECT_EQ(zbLISTVOfzbString_FromStrtok(values, "x:y", ":"), 2);
    EXPECT_EQ(Text(values[2]), "y");
    QORListValQORString strings;
    EXPECT_EQ(zbLISTVOfzbString_FromStrtok(strings, "x:y::z", ":"), 3);
    EXPECT_STREQ(strings[3].CastToCharPtr(), "z");

    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "f", "b\r\n\na\r\nb\nc");
    EXPECT_EQ(zbLISTPOfzbString_FromFile((dir / "f").c_str(), list, 1, 1), 4);
    EXPECT_EQ(Texts(list), (Lines{"b", "a", "b", "c"}));
    EXPECT_EQ(zbLISTPOfzbString_FromFile((dir / "none").c_str(), list, 1, 1), -1);
    EXPECT_EQ(zbLISTPOfzbString_Uniq(list), 3);
    EXPECT_EQ(Texts(list), (Lines{"b", "a", "c"}));
    EXPECT_EQ(zbLISTPOfzbString_Locate("c", list, 2), 3);
    EXPECT_EQ(zbLISTPOfzbString_Locate("b", list, 2), 0);
    EXPECT_EQ(zbLISTPOfzbString_Locate("b", list, 4), 0);
    list.QuickSort(zbLISTPOfzbString_QuickSort);
    EXPECT_EQ(Texts(list), (Lines{"a", "b", "c"}));
    list.ApplyDelete();
}
