// Path patterns: matcher, pattern table, key substitution, filters; name
// patterns and pattern sets, and the directory walker's name filter.

#include "zbAllPatternFilter.h"
#include "zbDataPatternFilter.h"
#include "zbDirectoryListing.h"
#include "zbEmptyPatternFilter.h"
#include "zbIOFNMatch.h"
#include "zbObjectsPatternFilter.h"
#include "zbPatternList.h"
#include "zbPatternSet.h"
#include "zbPreqPatternFilter.h"
#include "zbSourcePatternFilter.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
using Patterns = zbtest::Taken<QORListPtrzbPattern>;

// The patterns of a list as "VALUE=RC" words.
std::string Words(const QORListPtrzbPattern& iList)
{
    std::string words;
    for (zbPattern* pattern : iList)
        words += std::string(words.empty() ? "" : " ") + pattern->GetValue() + "=" +
                 std::to_string(pattern->GetReturnedValue());
    return words;
}

Patterns Build(const std::vector<int>& iFlags, zbPatternType iType)
{
    zbtest::Owned<QORListPtrzbPatternFlag> flags;
    for (int flag : iFlags)
        flags.Append(new zbPatternFlag(flag));
    return Patterns(BuildPatternList(flags, iType));
}

using Strings = zbtest::Owned<QORListPtrzbString>;
} // namespace

TEST(zbIOFNMatch, Rules)
{
    using Row = std::tuple<const char*, const char*, int, int>;
    // A star takes no separator unless 0x40, nor a dot right after a
    // separator unless 0x20 (the start of the name is not a separator, a dot
    // elsewhere is ordinary; "?" likewise); both separators match either.
    const std::vector<Row> separators = {
        {"/fw/*", "/fw/a", 32, 1},  {"/fw/*", "/fw/a/b", 32, 0}, {"/fw/*", "/fw/a/b", 0x60, 1},
        {"*", "a\\b", 0, 0},        {"/fw/*", "/fw/.s", 0, 0},   {"/fw/*", "/fw/.s", 32, 1},
        {"/fw/*", "/fw/a.b", 0, 1}, {"*", ".profile", 0, 1},     {"a/?x", "a/.x", 0, 0},
        {"a/?x", "a/.x", 32, 1},    {"a\\?x", "a\\.x", 0, 0},    {"a?c", "a/c", 0, 0},
        {"a?c", "a/c", 0x40, 1},    {"a\\c", "a/c", 0, 1},       {"a/c", "a.c", 0, 0},
    };
    // Letters fold with 0x10 only; brackets are ordinary; the whole name
    // against the whole pattern; a star gives up characters one at a time,
    // the last star wins; a refused character ends the attempt even when a
    // later "/" of the pattern would have matched it; no text matches nothing.
    const std::vector<Row> names = {
        {"ABC", "abc", 16, 1},   {"abc", "ABC", 16, 1}, {"ABC", "abc", 0, 0},
        {"[ab]", "a", 0, 0},     {"", "", 0, 1},        {"**", "", 0, 1},
        {"", "a", 0, 0},         {"abc", "ab", 0, 0},   {"a*b*c", "abbbc", 0, 1},
        {"a*b*c", "abbb", 0, 0}, {"*/b", "a/b", 0, 1},  {"a*/c", "ab/x/c", 0, 0},
        {"*b", "a/b", 0, 0},     {nullptr, "", 0, 0},   {"", nullptr, 0, 0},
    };
    for (const std::vector<Row>* rows : {&separators, &names})
        for (const auto& [pattern, name, metaMatch, match] : *rows)
            EXPECT_EQ(zbIOFNMatch(pattern, name, metaMatch), match)
                << (pattern ? pattern : "-") << " " << (name ? name : "-") << " " << metaMatch;
}

TEST(BuildPatternList, RowsByFlagsAndType)
{
    // An unknown type builds the full table; the rows of the full various
    // section do not exist in the reduced one.
    const std::tuple<std::vector<int>, int, int> counts[] = {{{}, 7, 77},
                                                             {{1121}, zbFullPatternType, 80},
                                                             {{1121}, zbReducedPatternType, 76},
                                                             {{114}, zbReducedPatternType, 78},
                                                             {{114}, zbFullPatternType, 79}};
    for (const auto& [flags, type, count] : counts)
        EXPECT_EQ(Build(flags, static_cast<zbPatternType>(type))->Size(), count) << type;

    // The first rows with flag 100: the catch-all ahead of everything.
    std::string words = Words(*Build({100, 999}, zbFullPatternType));
    const std::string head = "%fw%=53 %fw%/*=54 %fw%/Imakefile.mk=52 %fw%/.installation.mode=52";
    EXPECT_EQ(words.substr(0, head.size()), head);
    // The last rows: the data flag ahead of the catch-all of the framework.
    const std::string tail = "%fw%/*.m*=52 %fw%/*.doc=52 %fw%/*=54 %fw%/*=52";
    words = Words(*Build({119, 113}, zbReducedPatternType));
    EXPECT_EQ(words.substr(words.size() - tail.size()), tail);
    // A condition switches on its row only, in place.
    EXPECT_NE(Words(*Build({113}, zbFullPatternType))
                  .find("%fw%/%mod%=53 %fw%/%mod%=52 %fw%/%mod%/Objects=52"),
              std::string::npos);
    // (The meta-match of the rows is printed by zbsvc patterns.)
}

TEST(AddWithCond, Condition)
{
    zbtest::Owned<QORListPtrzbPatternFlag> flags{5, 9};
    zbtest::Owned<QORListPtrzbPattern> list;
    AddWithCond(&list, "always", 52, flags, 0, 0);
    AddWithCond(&list, "five", 53, flags, 5, 16);
    AddWithCond(&list, "nine", 54, flags, 9, 32);
    AddWithCond(&list, "six", 54, flags, 6, 32);
    AddWithCond(nullptr, "none", 54, flags, 0, 32);
    EXPECT_EQ(Words(list), "always=52 five=53 nine=54");
    EXPECT_EQ(list[2]->GetMetaMatch(), 16);
}

TEST(SubstKeyInPattern, ExpansionOrder)
{
    // withoutValues: patterns left when %os% and %mod% have no value
    const std::tuple<const char*, const char*, int> cases[] = {
        {"%fw%/%mod%/Objects/%os%",
         "/f/*.m*/Objects/a=54 /f/*.m*/Objects/b=54 /f/*.doc/Objects/a=54 "
         "/f/*.doc/Objects/b=54 /g/*.m*/Objects/a=54 /g/*.m*/Objects/b=54 "
         "/g/*.doc/Objects/a=54 /g/*.doc/Objects/b=54",
         0},
        // Framework paths stay outermost wherever the keys stand.
        {"%os%-%fw%", "a-/f=54 b-/f=54 a-/g=54 b-/g=54", 0},
        // A key is replaced once; a text without keys is kept as it is.
        {"%mod%+%mod%", "*.m*+%mod%=54 *.doc+%mod%=54", 0},
        {"%fw%", "/f=54 /g=54", 2},
        {"plain", "plain=54", 1},
    };
    Strings os{"a", "b"}, mods{"*.m*", "*.doc"}, fws{"/f", "/g"}, none{};
    for (const auto& [templateText, substituted, withoutValues] : cases)
    {
        zbtest::Owned<QORListPtrzbPattern> in;
        in.Append(new zbPattern(templateText, 54, 32));
        EXPECT_EQ(Words(*Patterns(SubstKeyInPattern(in, os, mods, fws))), substituted)
            << templateText;
        // A key without values gives nothing; the input stays.
        EXPECT_EQ(Patterns(SubstKeyInPattern(in, none, none, fws))->Size(), withoutValues)
            << templateText;
        EXPECT_STREQ(in[1]->GetValue(), templateText);
    }

    const std::tuple<const char*, const char*, const char*, const char*> replacements[] = {
        {"%k%", "v", "a%k%b%k%", "avb%k%"},
        {"%k%", "", "%k%", ""},
        {"%k%", "long value", "x", "x"},
        {"", "v", "text", "text"},
    };
    for (const auto& [key, value, text, expected] : replacements)
    {
        char* result = subst_str(key, value, text);
        EXPECT_STREQ(result, expected) << text;
        free(result);
    }
}

TEST(zbPatternFilter, Flags)
{
    // The printed flags after construction, then what each of AddDataPattern,
    // AddFunctionTestPattern and AddSniffPattern adds in turn; the flag list
    // follows the last text, in order.
    const std::string sources = " 113 112 120 115 117 116 1114";
    const std::string objects = " 110 1117 114 1116 1110 1112 1111 1115";
    const std::string all = sources + objects;
    const std::string preq = " 113 115 1110 117 1112 116 1111 1114 1115 1117 114";
    using Row = std::tuple<zbPatternFilter*, std::string, const char*, const char*, const char*>;
    const Row cases[] = {
        {new zbEmptyPatternFilter, "", "", "", ""},
        {new zbDataPatternFilter, " 119", "", " 118", ""},
        {new zbSourcePatternFilter, sources, " 119", " 118", ""},
        {new zbObjectsPatternFilter(zbFullPatternType), objects, "", " 1113", " 111"},
        {new zbObjectsPatternFilter(zbReducedPatternType), objects + " 1118", "", " 1113", " 111"},
        {new zbAllPatternFilter(zbFullPatternType), all, " 119", " 1113 118", " 111"},
        {new zbAllPatternFilter(zbReducedPatternType), all + " 1118", " 119", " 1113 118", " 111"},
        {new zbPreqPatternFilter, preq, " 119", " 118 1113", " 111"},
    };
    for (const auto& [filter, constructed, data, tests, sniff] : cases)
    {
        const auto printed = [filter = filter]
        {
            std::unique_ptr<zbString> text(filter->PrintPatternList());
            return std::string(text->CastToCharPtr());
        };
        std::string expected = constructed;
        EXPECT_EQ(printed(), expected);
        filter->AddDataPattern();
        EXPECT_EQ(printed(), expected += data);
        filter->AddFunctionTestPattern();
        EXPECT_EQ(printed(), expected += tests);
        filter->AddSniffPattern();
        EXPECT_EQ(printed(), expected += sniff);
        zbtest::Taken<QORListPtrzbPatternFlag> flags(filter->GetPatternFlagList());
        std::string fromFlags;
        for (const zbPatternFlag* flag : *flags)
            fromFlags += " " + std::to_string(flag->GetFlag());
        EXPECT_EQ(fromFlags, expected);
        delete filter;
    }

    // Only the first equal text is removed; an absent flag changes nothing.
    zbDataPatternFilter data;
    data.AddPattern(7);
    data.AddPattern(119);
    data.RemoveAPatternInList(119);
    data.RemoveAPatternInList(5);
    std::unique_ptr<zbString> text(data.PrintPatternList());
    EXPECT_STREQ(text->CastToCharPtr(), " 7 119");
}

TEST(zbPatternDef, Forms)
{
    // Per form: a longer name, one of the text's length, a shorter one and
    // another one; a star inside the text is a character.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"*.h", "x.h", 0},   {"*.h", ".h", 0},    {"*.h", "h", 1},        {"*.h", "x.hh", 1},
        {"lib*", "lib", 0},  {"lib*", "libx", 0}, {"lib*", "li", 1},      {"lib*", "xlib", 1},
        {"*sub*", "sub", 0}, {"*sub*", "su", 1},  {"*sub*", "sxubsu", 1}, {"*aab*", "aaab", 0},
        {"a.h", "a.h", 0},   {"a.h", "a.hh", 1},  {"a.h", "a", 1},        {"a*b", "a*b", 0},
        {"a*b", "axb", 1},   {"*", "", 0},        {"**", "x", 0},         {"", "", 0},
        {"", "x", 1},
    };
    for (const auto& [text, name, match] : cases)
    {
        zbPatternDef pattern(text);
        EXPECT_EQ(pattern.Compare(name, static_cast<unsigned int>(std::string(name).size())), match)
            << text << " " << name;
    }
    zbPatternDef none(nullptr);
    EXPECT_EQ(none.Compare("", 0), 1);
    EXPECT_EQ(none.GetText(), nullptr);
    EXPECT_STREQ(zbPatternDef("*sub*").GetText(), "sub");
}

TEST(zbPatternSet, MatchAndPosition)
{
    zbPatternSet set;
    int position = 7;
    // Null and empty patterns are not kept.
    set.AddPattern("*.c");
    set.AddPattern(static_cast<const char*>(nullptr));
    QORListValQORString more = zbtest::StringList({"*.h", "", "x*"});
    more.Append(QORString());
    set.AddPattern(more);
    EXPECT_EQ(set.Size(), 3);
    const std::pair<const char*, int> positions[] = {{"x.h", 2}, {"xyz", 3}, {"a.cc", -1}};
    for (const auto& [name, expected] : positions)
    {
        EXPECT_EQ(set.MatchPosition(name, position), expected < 0 ? 1 : 0) << name;
        EXPECT_EQ(position, expected) << name;
    }
    EXPECT_EQ(set.Match(nullptr), 1);
}

// A listing walked by range-for, twice: each walk starts over.  (What a
// pattern set leaves out of a listing, and that a directory left out is still
// walked: ls.t.)
TEST(zbPatternSet, ListingWalkedByRangeFor)
{
    zbtest::TempDir dir;
    for (const char* name : {"a.h", "sub/b.c"})
        zbtest::WriteFile(dir / name, "");
    const QORListValQORString roots = zbtest::StringList({dir.Path()});
    zbDirectoryListing listing(roots);
    listing.SetListingMode(zbDirectoryListing::Recursive);
    zbPatternSet excluded;
    excluded.AddPattern("*.c");
    listing.SetPattern(&excluded);
    for (int walk = 0; walk < 2; ++walk)
    {
        std::set<std::string> names;
        for (const char* entry : listing)
            names.insert(entry);
        EXPECT_EQ(names, (std::set<std::string>{dir / "a.h", dir / "sub"})) << walk;
    }
}
