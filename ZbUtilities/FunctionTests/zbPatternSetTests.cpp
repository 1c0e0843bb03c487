// Name patterns and pattern sets, and the directory walker's name filter.

#include "zbDirectoryListing.h"
#include "zbPatternSet.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

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

TEST(zbPatternSet, ListingSkipsMatchingNamesButWalksSkippedDirectories)
{
    zbtest::TempDir dir;
    for (const char* name : {"a.h", "a.c", "sub/b.h", "sub/b.c"})
        zbtest::WriteFile(dir / name, "");
    const QORListValQORString roots = zbtest::StringList({dir.Path()});
    zbDirectoryListing listing(roots);
    listing.SetListingMode(zbDirectoryListing::Recursive);
    const auto found = [&](std::initializer_list<const char*> iExcluded)
    {
        zbPatternSet excluded;
        for (const char* pattern : iExcluded)
            excluded.AddPattern(pattern);
        listing.SetPattern(&excluded);
        std::vector<std::string> names;
        for (const char* entry : listing)
            names.push_back(entry);
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(found({"*.c", "sub"}), (std::vector<std::string>{dir / "a.h", dir / "sub/b.h"}));
    // The full path is not what is matched.
    EXPECT_EQ(found({"*sub/b.h"}).size(), 5u);
}
