// zbNewString and zbString (a movable view on its buffer): edits across
// their buffers, searches, and the lists built of them.

#include <climits>

#include "zbCharPtr.h"
#include "zbNewString.h"
#include "zbString.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
// The text; one that does not end with a NUL (inside its buffer) shows so.
std::string Text(const zbNewString& iString)
{
    const char* text = iString.CastToCharPtr();
    const size_t length = static_cast<size_t>(iString.GetLengthInByte());
    return std::string(text, length) + (text[length] ? "<open>" : "");
}
std::string Text(const zbString& iString)
{
    const bool ended = iString.CastToCharPtr()[iString.GetLength()] == 0 &&
                       iString.GetOffset() + iString.GetLength() < iString.GetBufferSize();
    return std::string(iString.CastToCharPtr(), iString.GetLength()) + (ended ? "" : "<open>");
}
template <class S> std::string Text(const S* iString)
{
    return iString ? Text(*iString) : "<null>";
}

template <class List> std::vector<std::string> Texts(const List& iList)
{
    std::vector<std::string> out;
    for (int i = 1; i <= iList.Size(); ++i)
        out.push_back(Text(iList[i]));
    return out;
}

using Lines = std::vector<std::string>;

template <class S> struct EditRow
{
    void (*_Edit)(S&);
    const char* _Text;
    int _Offset = -1; // a view's offset, when it matters
};

// Applies each edit in turn to a string holding iStart; after each the text
// and the offset must be the row's.
template <class S> void ExpectEdits(const char* iStart, std::initializer_list<EditRow<S>> iRows)
{
    S s(iStart);
    for (const EditRow<S>& row : iRows)
    {
        row._Edit(s);
        EXPECT_EQ(Text(s), row._Text) << "row " << (&row - iRows.begin());
        if constexpr (std::is_same_v<S, zbString>)
        {
            EXPECT_TRUE(row._Offset < 0 || s.GetOffset() == static_cast<unsigned int>(row._Offset))
                << "row " << (&row - iRows.begin()) << " offset " << s.GetOffset();
        }
    }
}
} // namespace

TEST(zbNewString, TextsAcrossTheInlineBuffer)
{
    const std::string x31(31, 'x'), a50(50, 'a');
    // Self-assignment and appending a string to itself, across the threshold.
    ExpectEdits<zbNewString>(x31.c_str(),
                             {{[](auto& s) { s += "y"; }, (x31 + "y").c_str()},
                              {[](auto& s) { s = std::string(20, 'a').c_str(); }, a50.c_str() + 30},
                              {[](auto& s) { s = s; }, a50.c_str() + 30},
                              {[](auto& s) { s.Append(s); }, a50.c_str() + 10},
                              {[](auto& s) { s.Append(s.CastToCharPtr() + 30); }, a50.c_str()},
                              // A tail of itself, back inline.
                              {[](auto& s) { s = s.CastToCharPtr() + 45; }, "aaaaa"},
                              {[](auto& s) { s.Reset(); }, ""},
                              {[](auto& s) { s = "x"; }, "x"},
                              {[](auto& s) { s = static_cast<const char*>(nullptr); }, ""}});
    const zbNewString nothing(static_cast<const char*>(nullptr));
    EXPECT_TRUE(nothing.IsNull() == 1 && Text(nothing).empty());
}

TEST(zbNewString, RepetitionConcatenationAndNumbers)
{
    EXPECT_EQ(Text(zbNewString(zbNewString("0123456789"), 4)),
              "0123456789012345678901234567890123456789");
    // A length the string cannot count gives the empty string.
    EXPECT_EQ(zbNewString(zbNewString("ab"), 0).IsNull() +
                  zbNewString(zbNewString(""), 4).IsNull() +
                  zbNewString(zbNewString("abcdefgh"), 0x40000000).IsNull(),
              3);
    zbNewString a("left");
    EXPECT_EQ(Text(a + "right") + Text(zbNewString() + a), "leftrightleft");
    a += -12, a += 3000000000UL, a += -5L;
    EXPECT_EQ(Text(a), "left-123000000000-5");

    // An empty format changes nothing, a long result leaves the inline buffer.
    zbNewString s("keep"), number("123 rest");
    long value = 0;
    EXPECT_EQ((std::vector<long>{s.BuildFromNum(7LL, ""), s.GetLengthInByte(),
                                 s.BuildFromNum(1e300L, "%Lf"), s.GetLengthInByte(),
                                 number.ConvertToNum(&value, "%ld"), value,
                                 zbNewString("abc").ConvertToNum(&value, "%ld")}),
              (std::vector<long>{0, 4, 308, 308, 1, 123, 0}));
}

TEST(zbNewString, ComparisonsAndCase)
{
    // CompareByCase: 1 identical, 2 equal but for case, 0 different.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"abc", "abc", 1}, {"Abc", "aBC", 2}, {"abc", "abd", 0}, {"abc", "abcd", 0}, {"", "", 1}};
    for (const auto& [a, b, result] : cases)
        EXPECT_EQ(zbNewString(a).CompareByCase(b), result) << a << " " << b;

    zbNewString abc("abc");
    EXPECT_TRUE(abc.StrCompare("abd") < 0 && abc.StrCompare("abd", 2) == 0 &&
                abc.StrCompare(static_cast<const char*>(nullptr)) > 0);
    EXPECT_TRUE(abc < "abd" && abc <= "abc" && abc >= "abc" && abc > "ab");
    EXPECT_TRUE(zbNewString() == static_cast<const char*>(nullptr));
    zbNewString mixed("MiXed 9");
    EXPECT_EQ((Lines{Text(mixed.ToUpper()), Text(mixed.ToLower())}), (Lines{"MIXED 9", "mixed 9"}));
}

TEST(zbNewString, ResizeAndReplaceChar)
{
    ExpectEdits<zbNewString>(
        "abc",
        {{[](auto& s) { s.Resize(10, 'x', 0); }, "abcxxxxxxx"},
         {[](auto& s) { s = "abc", s.Resize(1, 'x', 0); }, "abc"}, // no truncation asked
         {[](auto& s) { s.Resize(1, 'x', 1); }, "a"},
         {[](auto& s) { s.Resize(5, 0, 0), s.Resize(-1, 'x', 1); }, "a"}, // no fill: no growth
         // Growing across the inline buffer, then truncating and appending.
         {[](auto& s) { s.Resize(40, '-', 0); }, "a---------------------------------------"},
         {[](auto& s) { s.Resize(3, 0, 1), s += "b"; }, "a--b"},
         // Beyond the length: ignored.
         {[](auto& s) { s = "abcdef", s.ReplaceChar(2, 0), s.ReplaceChar(5, 'z'); }, "ab"},
         {[](auto& s) { s = "a.b.c", s.ReplaceAllChar('.', '/'); }, "a/b/c"},
         {[](auto& s) { s.ReplaceAllChar('b', 0); }, "a/"}});
}

TEST(zbNewString, SubStringsAndStrip)
{
    zbNewString s("abcdef");
    // Out-of-range arguments give the whole string.
    const int whole[][2] = {{2, 10}, {0, 6}, {-1, 2}, {2, 0}, {1, 0x7FFFFFFF}};
    for (const auto& w : whole)
        EXPECT_EQ(Text(s.SubString(w[0], w[1])), "abcdef") << w[0] << "," << w[1];
    zbNewString out("old"), r("abcdefghij");
    // Braces keep the order of the calls.
    EXPECT_EQ((Lines{Text(s.SubString(2, 3)), Text(s.NewSubString(out, 2, 3)),
                     Text(s.NewSubString(out, 4, 0)), Text(s.NewSubString(out, 6, 0)),
                     Text(r.ReduceString(3, 4)), Text(r.ReduceString(9, 0))}),
              (Lines{"cde", "cde", "ef", "", "defg", "defg"}));

    // Modes: 1 leading, 2 trailing, 3 both ends, 4 everywhere.
    const std::tuple<const char*, int, const char*> strips[] = {{"xxabxx", 1, "abxx"},
                                                                {"xxabxx", 2, "xxab"},
                                                                {"xxabxx", 3, "ab"},
                                                                {"xaxbx", 4, "ab"},
                                                                {"x", 3, ""}};
    for (const auto& [text, mode, stripped] : strips)
        EXPECT_EQ(Text(zbNewString(text).Strip(mode, 'x')), stripped) << mode;
}

TEST(zbNewString, SearchModes)
{
    // Mode 2 searches backwards from the end, 1 forwards from the start
    // position, 0 forwards from the beginning; positions count from 0.
    const std::tuple<const char*, int, int, int> cases[] = {
        {"b", 0, 2, 3}, {"b", 1, 2, 1},  {"b", 3, 2, -1},     {"b", 0, 1, 1},
        {"b", 2, 1, 3}, {"cb", 0, 0, 2}, {"abcbx", 0, 1, -1}, {"abcbx", 0, 2, -1},
        {"", 0, 1, -1}, {"b", 4, 1, -1}, {"b", -1, 1, -1}};
    zbNewString s("abcb");
    for (const auto& [sub, start, mode, found] : cases)
        EXPECT_EQ(s.SearchSubString(sub, start, mode), found) << sub << " " << start << " " << mode;
    EXPECT_EQ(std::to_string(s.FindPosition("b", 2)) + std::to_string(s.FindPosition("", 4)) +
                  std::to_string(s.FindPosition("b", 5)) +
                  std::to_string(s.FindPosition("bcbb", 1)),
              "34-1-1");
}

TEST(zbNewString, Replacements)
{
    const std::string equals(40, '=');
    ExpectEdits<zbNewString>(
        "abcdef",
        {{[](auto& s) { s.ReplaceSubString(1, 2, "XYZ"); }, "aXYZdef"},
         {[](auto& s) { s.ReplaceSubString(5, 100, "!"); }, "aXYZd!"},
         // At the very end, beyond it, a negative position.
         {[](auto& s)
          {
              s.ReplaceSubString(6, 0, "?"), s.ReplaceSubString(8, 0, "never"),
                  s.ReplaceSubString(0, -1, "never");
          },
          "aXYZd!?"},
         {[](auto& s) { s.Remove(1, 3); }, "ad!?"},
         {[](auto& s) { s.Insert(1, std::string(40, '=').c_str()); },
          ("a" + equals + "d!?").c_str()},
         {[](auto& s) { EXPECT_EQ(s.ReplaceSubString(std::string(40, '=').c_str(), "b"), 1); },
          "abd!?"},
         {[](auto& s)
          { EXPECT_EQ(s.ReplaceSubString("zz", "b") + s.ReplaceSubString("", "b"), -2); },
          "abd!?"}});
    zbNewString empty;
    empty.Insert(0, "x"); // nothing is done to an empty string
    EXPECT_EQ(empty.IsNull(), 1);
}

TEST(zbNewString, StripSpacesOutsideStringAndHashKey)
{
    // The blanks and quotes themselves are zbString's rows below: same code.
    zbNewString s("\tx\t\ty \"in  side\"`q  q`z  'open  end");
    s.StripSpacesOutsideString();
    EXPECT_EQ(Text(s), "x y \"in  side\"`q  q`z 'open  end");
    // The words of the text, as every owner of a buffer hashes them.
    EXPECT_EQ(zbNewString("abcde").ComputeHashKey(), zbCharPtr("abcde").ComputeHashKey());
}

TEST(zbNewStringLists, FromStrtok)
{
    // Text, delimiters, empty tokens skipped, the tokens.
    const std::tuple<const char*, const char*, int, Lines> cases[] = {
        {"a,,b,", ",", 0, {"a", "", "b"}},
        {",a;,b", ",;", 1, {"a", "b"}},
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

TEST(zbNewStringLists, UniqLocateSort)
{
    zbtest::Owned<QORListPtrzbNewString> list;
    zbNewString* a = new zbNewString("a");
    // The same pointer again is only forgotten.
    for (zbNewString* element :
         {a, new zbNewString("b"), a, new zbNewString("a"), static_cast<zbNewString*>(nullptr),
          new zbNewString("c"), new zbNewString("b")})
        list.Append(element);
    EXPECT_EQ(zbLISTPOfzbNewString_Uniq(list), 3);
    EXPECT_EQ(Texts(list), (Lines{"a", "b", "c"}));
    EXPECT_EQ(list[1], a);
    EXPECT_EQ(zbLISTPOfzbNewString_Locate("b", list, 1), 2);
    for (const auto& [text, start] : {std::pair<const char*, int>{"b", 3}, {"a", 0}, {"a", 4}})
        EXPECT_EQ(zbLISTPOfzbNewString_Locate(text, list, start), 0) << text << start;
    list.Append(nullptr);
    list.QuickSort(zbLISTPOfzbNewString_QuickSort);
    EXPECT_EQ(Texts(list), (Lines{"<null>", "a", "b", "c"}));
}

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
    ExpectEdits<zbString>(std::string(16, 'x').c_str(), {{[](auto& s) { s = "short"; }, "short"},
                                                         {[](auto& s) { s.Reset(); }, ""}});
}

TEST(zbString, MovableView)
{
    // The offset is into the same buffer: nothing is copied.
    ExpectEdits<zbString>("abcdef",
                          {{[](auto& s) { s.ReduceString(2, 0); }, "cdef", 2},
                           {[](auto& s) { s.Append("x"); }, "cdefx", 0},
                           {[](auto& s) { s.ReduceString(1, 2); }, "de"},
                           {[](auto& s) { s.ReduceString(5, 0); }, "de"}}); // beyond the text
    // Assigning or appending a part of the string to itself.
    ExpectEdits<zbString>(
        "0123456789abcdef0123",
        {{[](auto& s) { s.ReduceString(10, 0), s = s.CastToCharPtr() + 2; }, "cdef0123"},
         {[](auto& s) { s.Append(s); }, "cdef0123cdef0123"},
         {[](auto& s) { s = &s; }, "cdef0123cdef0123"},
         {[](auto& s) { s = static_cast<const zbString*>(nullptr); }, ""}});
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
    EXPECT_EQ(zbStringBasic_ComputeHashKey("\xff", 1), static_cast<unsigned int>(-49));
    // The cached key follows every change of the text.
    zbString s("ab");
    EXPECT_EQ(s.ComputeHashKey(), 484806u);
    EXPECT_EQ(s.Append("c").ComputeHashKey(), 2377088u);
    s.ToUpper(1);
    EXPECT_EQ(Text(s), "aBC");
    EXPECT_EQ(s.ComputeHashKey(), zbStringBasic_ComputeHashKey("aBC", 3));
}

TEST(zbString, Editing)
{
    ExpectEdits<zbString>(
        "a/b/c", {{[](auto& s) { s.DosifyPath(); }, "a\\b\\c"},
                  {[](auto& s) { s.UnixifyPath(); }, "a/b/c"},
                  {[](auto& s) { s.Trunk(3), s.Trunk(10); }, "a/b"},
                  {[](auto& s) { s.ReplaceChar(1, 0); }, "a"},
                  {[](auto& s) { s = "x.y.z", s.ReplaceAllChar('.', 0); }, "x"},
                  {[](auto& s) { s = "MiXed", s.ToLower(2); }, "Mixed"},
                  {[](auto& s)
                   {
                       s = "one two two";
                       EXPECT_EQ(s.ReplaceSubString("two", "three", 5), 8);
                   },
                   "one two three"},
                  {[](auto& s) { EXPECT_EQ(s.ReplaceSubString("two", nullptr), 4); }, "one  three"},
                  {[](auto& s)
                   {
                       EXPECT_EQ((std::vector<int>{s.ReplaceSubString("absent", "x"),
                                                   s.ReplaceSubString("", "x"),
                                                   s.ReplaceSubString("e", "x", 11)}),
                                 (std::vector<int>{-1, -1, -1}));
                   },
                   "one  three"},
                  {[](auto& s) { s = "", s.IntToString(LLONG_MIN); }, "-9223372036854775808"},
                  {[](auto& s)
                   {
                       s.IntToString(42)
                           .Append(QORString("/"))
                           .Append(zbStringBasic("ab", 1))
                           .Append(static_cast<const char*>(nullptr));
                   },
                   "42/a"}});
}

TEST(zbString, Stripping)
{
    ExpectEdits<zbString>(
        "xxx",
        {{[](auto& s) { s.StripInternal(3, 'x'); }, ""},
         {[](auto& s) { s = "xxabxx", s.StripInternal(1, 'x'); }, "abxx", 2},
         {[](auto& s) { s.StripInternal(2, 'x'); }, "ab"},
         {[](auto& s) { s = "  a  'b   c'  d ", s.StripSpacesOutsideString(); }, "a 'b   c' d", 2},
         {[](auto& s) { s = "\t x\t\"q  q\"  `open  end", s.StripSpacesOutsideString(); },
          "x \"q  q\" `open  end"},
         {[](auto& s) { s = "   ", s.StripSpacesOutsideString(); }, ""}});
}

TEST(zbStringLists, TokensUniqLocateSort)
{
    QORListPtrzbString list;
    EXPECT_EQ(zbLISTPOfzbString_FromStrtok(list, " a,b  c", " ,"), 3);
    EXPECT_EQ(Texts(list), (Lines{"a", "b", "c"}));
    list.ApplyDelete();
    EXPECT_EQ(zbLISTPOfzbString_FromStrtok(list, "a \nb c", " "), 1);
    list.ApplyDelete();
    EXPECT_EQ(zbLISTPOfzbString_FromStrtok(list, nullptr, " "), 0);
    QORListValzbString values;
    QORListValQORString strings;
    EXPECT_EQ(zbLISTVOfzbString_FromStrtok(values, "x:y", ":"), 2);
    EXPECT_EQ(zbLISTVOfzbString_FromStrtok(strings, "x:y::z", ":"), 3);
    EXPECT_EQ(Text(values[2]) + strings[3].CastToCharPtr(), "yz");

    // Duplicates go, the first kept (the lines of files are checked by the
    // replayed corpus of the list readers).
    EXPECT_EQ(zbLISTPOfzbString_FromStrtok(list, "b a b c", " "), 4);
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
