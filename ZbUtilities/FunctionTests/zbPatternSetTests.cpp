// Name patterns and pattern sets, and the directory walker's name filter.

#include "zbDirectoryListing.h"
#include "zbPatternSet.h"
#include "zbTestSupport.h"

TEST(zbPatternDef, Forms)
{
    const std::tuple<const char*, const char*, int> cases[] = {
        {"*.h", "x.h", 0},     {"*.h", ".h", 0},    {"*.h", "h", 1},      {"*.h", "x.hh", 1},
        {"lib*", "lib", 0},    {"lib*", "libx", 0}, {"lib*", "li", 1},    {"lib*", "xlib", 1},
        {"*sub*", "xsubx", 0}, {"*sub*", "sub", 0}, {"*sub*", "su", 1},   {"*sub*", "sxubsu", 1},
        {"a.h", "a.h", 0},     {"a.h", "a.hh", 1},  {"a.h", "a", 1},      {"a*b", "a*b", 0},
        {"a*b", "axb", 1},     {"*", "", 0},        {"*", "anything", 0}, {"**", "x", 0},
        {"", "", 0},           {"", "x", 1},        {"*ss*", "sss", 0},   {"*aab*", "aaab", 0},
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
    EXPECT_EQ(set.Match("x.h"), 1);
    EXPECT_EQ(set.MatchPosition("x.h", position), 1);
    EXPECT_EQ(position, -1);

    set.AddPattern("*.c");
    set.AddPattern(static_cast<const char*>(nullptr));
    QORListValQORString more;
    more.Append(QORString("*.h"));
    more.Append(QORString(""));
    more.Append(QORString());
    more.Append(QORString("x*"));
    set.AddPattern(more);
    EXPECT_EQ(set.Size(), 3);

    EXPECT_EQ(set.MatchPosition("x.h", position), 0);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(set.MatchPosition("xyz", position), 0);
    EXPECT_EQ(position, 3);
    EXPECT_EQ(set.MatchPosition("a.cc", position), 1);
    EXPECT_EQ(position, -1);
    EXPECT_EQ(set.Match(nullptr), 1);
}

TEST(zbPatternSet, ListingSkipsMatchingNamesButWalksSkippedDirectories)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "a.h", "");
    zbtest::WriteFile(dir / "a.c", "");
    zbtest::WriteFile(dir / "sub/b.h", "");
    zbtest::WriteFile(dir / "sub/b.c", "");
    QORListValQORString roots;
    roots.Append(QORString(dir.Path().c_str()));
    zbPatternSet excluded;
    excluded.AddPattern("*.c");
    excluded.AddPattern("sub");

    zbDirectoryListing listing(roots);
    listing.SetListingMode(zbDirectoryListing::Recursive);
    listing.SetPattern(&excluded);
    std::vector<std::string> found;
    while (const char* entry = listing.GetEntry())
        found.push_back(entry);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{dir / "a.h", dir / "sub/b.h"}));

    // The full path is not what is matched.
    zbPatternSet byPath;
    byPath.AddPattern("*sub/b.h");
    listing.SetPattern(&byPath);
    listing.Rewind();
    int count = 0;
    while (listing.GetEntry())
        ++count;
    EXPECT_EQ(count, 5);
}
