#include <climits>

#include "zbString.h"
#include "zbTestSupport.h"

namespace
{
// The text; one that does not end with a NUL inside its buffer shows so.
std::string Text(const zbString& iString)
{
    const bool ended = iString.CastToCharPtr()[iString.GetLength()] == 0 &&
                       iString.GetOffset() + iString.GetLength() < iString.GetBufferSize();
    return std::string(iString.CastToCharPtr(), iString.GetLength()) + (ended ? "" : "<open>");
}

std::vector<std::string> Texts(const QORListPtrzbString& iList)
{
    std::vector<std::string> out;
    for (int i = 1; i <= iList.Size(); ++i)
        out.push_back(Text(*iList[i]));
    return out;
}

using Lines = std::vector<std::string>;
using Edit = void (*)(zbString&);

// Applies each edit in turn to a string holding iStart; after each the text
// and, unless -1, the view's offset must be the row's.
void ExpectEdits(const char* iStart,
                 std::initializer_list<std::tuple<Edit, const char*, int>> iRows)
{
    zbString s(iStart);
    int row = 0;
    for (const auto& [edit, text, offset] : iRows)
    {
        edit(s);
        EXPECT_EQ(Text(s), text) << "row " << row;
        EXPECT_TRUE(offset < 0 || s.GetOffset() == static_cast<unsigned int>(offset))
            << "row " << row << " offset " << s.GetOffset();
        ++row;
    }
}
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
    }
    // An assignment that fits leaves nothing of the old text behind.
    ExpectEdits(std::string(16, 'x').c_str(), {{[](zbString& s) { s = "short"; }, "short", -1},
                                               {[](zbString& s) { s.Reset(); }, "", -1}});
}

TEST(zbString, MovableView)
{
    zbString s("abcdef");
    const char* block = s.CastToCharPtr();
    s.ReduceString(2, 0);
    EXPECT_EQ(s.CastToCharPtr(), block + 2);
    ExpectEdits("abcdef",
                {{[](zbString& s) { s.ReduceString(2, 0); }, "cdef", 2},
                 {[](zbString& s) { s.Append("x"); }, "cdefx", 0},
                 {[](zbString& s) { s.ReduceString(1, 2); }, "de", -1},
                 {[](zbString& s) { s.ReduceString(5, 0); }, "de", -1}}); // beyond the text
    // Assigning or appending a part of the string to itself.
    ExpectEdits(
        "0123456789abcdef0123",
        {{[](zbString& s) { s.ReduceString(10, 0), s = s.CastToCharPtr() + 2; }, "cdef0123", -1},
         {[](zbString& s) { s.Append(s); }, "cdef0123cdef0123", -1},
         {[](zbString& s) { s = &s; }, "cdef0123cdef0123", -1},
         {[](zbString& s) { s = static_cast<const zbString*>(nullptr); }, "", -1}});
}

TEST(zbString, SearchAndSubStrings)
{
    const std::tuple<const char*, int, int, int> cases[] = {
        {"b", 2, 2, 1},   {"b", 0, 2, -1},  {"b", 2, 1, 3}, {"ab", 1, 1, 2},
        {"ab", 4, 1, -1}, {"ab", 5, 2, -1}, {"", 0, 1, -1}, {"ababa", 0, 1, -1}};
    zbString abab("abab");
    for (const auto& [sub, start, mode, found] : cases)
        EXPECT_EQ(abab.SearchSubString(sub, start, mode), found) << sub << start << mode;

    // A view need not end with a NUL.
    zbStringBasic view("12345", 2);
    EXPECT_EQ(view.ToInt(), 12);
    EXPECT_EQ((std::vector<int>{view.Compare("12"), view.Compare("129", 2), view.Compare("1") > 0,
                                view.Compare("123") < 0, view.SearchSubString("3", 0, 1)}),
              (std::vector<int>{0, 0, 1, 1, -1}));
    EXPECT_TRUE(zbStringBasic() == "");
    EXPECT_EQ(zbStringBasic().ToLong() + zbStringBasic("-77x").ToLong(), -77);

    zbString out("old"), s("abcdef");
    EXPECT_EQ((Lines{Text(s.NewSubString(out, 2, 3)), Text(s.NewSubString(out, 4, 0)),
                     Text(s.NewSubString(out, 6, 1)), Text(s.NewSubString(s, 1, 2))}),
              (Lines{"cde", "ef", "", "bc"}));
}

TEST(zbString, HashKey)
{
    // Signed characters.
    EXPECT_EQ(zbStringBasic_ComputeHashKey("", 0), 0u);
    EXPECT_EQ(zbStringBasic_ComputeHashKey("abc", 3), 2377088u);
    EXPECT_EQ(zbStringBasic_ComputeHashKey("\xff", 1), static_cast<unsigned int>(-49));
    // The cached key follows every change of the text.
    zbString s("ab");
    EXPECT_EQ(s.ComputeHashKey(), 484806u);
    s.Append("c");
    EXPECT_EQ(s.ComputeHashKey(), 2377088u);
    s.ToUpper(1);
    EXPECT_EQ(Text(s), "aBC");
    EXPECT_EQ(s.ComputeHashKey(), zbStringBasic_ComputeHashKey("aBC", 3));
    EXPECT_EQ(zbStringBasic(s).ComputeHashKey(), s.ComputeHashKey());
}

TEST(zbString, Editing)
{
    ExpectEdits(
        "a/b/c",
        {{[](zbString& s) { s.DosifyPath(); }, "a\\b\\c", -1},
         {[](zbString& s) { s.UnixifyPath(); }, "a/b/c", -1},
         {[](zbString& s) { s.Trunk(3), s.Trunk(10); }, "a/b", -1},
         {[](zbString& s) { s.ReplaceChar(1, 0); }, "a", -1},
         {[](zbString& s) { s = "x.y.z", s.ReplaceAllChar('.', 0); }, "x", -1},
         {[](zbString& s) { s = "MiXed", s.ToLower(2); }, "Mixed", -1},
         {[](zbString& s)
          {
              s = "one two two";
              EXPECT_EQ(s.ReplaceSubString("two", "three", 5), 8);
          },
          "one two three", -1},
         {[](zbString& s) { EXPECT_EQ(s.ReplaceSubString("two", nullptr), 4); }, "one  three", -1},
         {[](zbString& s)
          {
              EXPECT_EQ(
                  (std::vector<int>{s.ReplaceSubString("absent", "x"), s.ReplaceSubString("", "x"),
                                    s.ReplaceSubString("e", "x", 11)}),
                  (std::vector<int>{-1, -1, -1}));
          },
          "one  three", -1},
         {[](zbString& s) { s = "", s.IntToString(LLONG_MIN); }, "-9223372036854775808", -1},
         {[](zbString& s)
          {
              s.IntToString(42)
                  .Append(QORString("/"))
                  .Append(zbStringBasic("ab", 1))
                  .Append(static_cast<const char*>(nullptr));
          },
          "42/a", -1}});
}

TEST(zbString, Stripping)
{
    ExpectEdits("xxx", {{[](zbString& s) { s.StripInternal(3, 'x'); }, "", -1},
                        {[](zbString& s) { s = "xxabxx", s.StripInternal(1, 'x'); }, "abxx", 2},
                        {[](zbString& s) { s.StripInternal(2, 'x'); }, "ab", -1},
                        {[](zbString& s) { s = "  a  'b   c'  d ", s.StripSpacesOutsideString(); },
                         "a 'b   c' d", 2},
                        {[](zbString& s)
                         { s = "\t x\t\"q  q\"  `open  end", s.StripSpacesOutsideString(); },
                         "x \"q  q\" `open  end", -1},
                        {[](zbString& s) { s = "   ", s.StripSpacesOutsideString(); }, "", -1}});
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
    EXPECT_EQ((std::vector<int>{zbLISTPOfzbString_Locate("c", list, 2),
                                zbLISTPOfzbString_Locate("b", list, 2),
                                zbLISTPOfzbString_Locate("b", list, 4)}),
              (std::vector<int>{3, 0, 0}));
    list.QuickSort(zbLISTPOfzbString_QuickSort);
    EXPECT_EQ(Texts(list), (Lines{"a", "b", "c"}));
    list.ApplyDelete();
}
