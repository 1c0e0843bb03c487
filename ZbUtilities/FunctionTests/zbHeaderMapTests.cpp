// Header maps: the map file from workspace lists, loaded into a dictionary.

#include "zbErrorCodeManager.h"
#include "zbHeaderListIntoWS.h"
#include "zbHeaderMap.h"
#include "zbOFStream.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const std::string kMagic = "!<zbhl> v2.0.1\n";

std::vector<std::string> Names(const QORListPtrzbFileName& iList)
{
    std::vector<std::string> out;
    for (int i = 1; i <= iList.Size(); ++i)
        out.push_back(iList[i]->GetPtrToFullname());
    return out;
}

QORString Q(const std::string& iText)
{
    return QORString(iText.c_str());
}

// Two workspace lists: /ws1 with one plain block, /ws2 (into the framework)
// with a plain block and a subdirectory block.
struct TwoLists
{
    TempDir _Dir;
    zbHeaderListIntoWS _First{QORString("/ws1"), Q(_Dir / "one.hl"), 0};
    zbHeaderListIntoWS _Second{QORString("/ws2"), Q(_Dir / "two.hl"), 1};
    QORListPtrzbHeaderListIntoWS _Lists;
    TwoLists()
    {
        WriteFile(_Dir / "one.hl", kMagic + "@A/PublicInterfaces\nFoo.H\nx.h\n");
        WriteFile(_Dir / "two.hl",
                  kMagic + "@B/PublicInterfaces\nx.h\ny.h\n@>B/PrivateInterfaces\nsub\n");
        _Lists.Append(&_First);
        _Lists.Append(&_Second);
    }
};
} // namespace

TEST(zbHeaderMap, BuildAndLoad)
{
    TwoLists lists;
    zbHeaderMap builder;
    std::string map = lists._Dir / "map";
    // (The map file itself: see zbsvc hmap.)
    ASSERT_EQ(builder.BuildFromListOfHeaderLists(Q(map), lists._Lists), 0);

    zbHeaderMap loaded;
    QORHashDicSzbFileName dico(101);
    EXPECT_EQ(loaded.InsertFile(Q(map), &dico, 0), 0);
    // The paths as listed by DumpFilesList.
    EXPECT_EQ(Names(loaded.GetListOfSubdirPaths()),
              (std::vector<std::string>{"/ws2/./B/PrivateInterfaces"}));
    EXPECT_EQ(
        Names(loaded.GetListOfPathsIntoFW()),
        (std::vector<std::string>{"/ws2/./B/PublicInterfaces", "/ws2/./B/PrivateInterfaces"}));
    EXPECT_EQ(dico.GetNbItems(), 4);
    // The first directory that holds a name wins.
    const std::pair<const char*, int> found[] = {{"x.h", 1}, {"y.h", 2}, {"sub", 3}, {"foo.h", 0}};
    for (const auto& [name, at] : found)
        EXPECT_EQ(dico.Locate(QORString(name)), at ? loaded.GetListOfPaths()[at] : nullptr) << name;

    EXPECT_EQ(zbtest::Written([&](zbOFStream& out) { loaded.DumpFilesList(out); }),
              "/ws1/./A/PublicInterfaces\n/ws2/./B/PublicInterfaces\n"
              "/ws2/./B/PrivateInterfaces\n\n");

    // Lower-case keys.
    zbHeaderMap lower;
    QORHashDicSzbFileName lowered(101);
    EXPECT_EQ(lower.InsertFile(Q(map), &lowered, 1), 0);
    ASSERT_NE(lowered.Locate(QORString("foo.h")), nullptr);
    EXPECT_EQ(lowered.Locate(QORString("foo.h")), lower.GetListOfPaths()[1]);
    EXPECT_EQ(lowered.Locate(QORString("Foo.H")), nullptr);
    // Without a dictionary, paths only; a second load appends, the pointers of
    // the first stay good.
    zbFileName* first = loaded.GetListOfPaths()[1];
    EXPECT_EQ(loaded.InsertFile(Q(map), nullptr, 0), 0);
    EXPECT_EQ(loaded.GetListOfPaths().Size(), 6);
    EXPECT_EQ(loaded.GetListOfPaths()[1], first);
    EXPECT_STREQ(first->GetPtrToFullname(), "/ws1/./A/PublicInterfaces");
}

TEST(zbHeaderMap, MissingListIsReportedAndCounted)
{
    TwoLists lists;
    zbHeaderListIntoWS missing(QORString("/ws3"), Q(lists._Dir / "none.hl"), 0);
    zbHeaderListIntoWS bad(QORString("/ws4"), Q(lists._Dir / "bad.hl"), 0);
    WriteFile(lists._Dir / "bad.hl", "!<zbhl> v2.0.0\n@X\n");
    QORListPtrzbHeaderListIntoWS all;
    all.Append(&missing);
    all.Append(&lists._First);
    all.Append(&bad);
    std::string map = lists._Dir / "map";
    zbtest::Capture err(2);
    EXPECT_EQ(zbHeaderMap().BuildFromListOfHeaderLists(Q(map), all), 2);
    EXPECT_EQ(err.Stop(), "# System error on " + (lists._Dir / "none.hl") +
                              ": No such file or directory\n"
                              "# Error: " +
                              (lists._Dir / "bad.hl") +
                              " is not a header list: its first line is not the header-list "
                              "magic line\n");
    EXPECT_EQ(ReadFile(map), kMagic + "@/ws1/./A/PublicInterfaces\nFoo.H\nx.h\n");
    zbtest::Capture err2(2);
    EXPECT_EQ(zbHeaderMap().BuildFromListOfHeaderLists(QORString("/nonexistent/map"), all), 1);
    EXPECT_EQ(err2.Stop(), "# System error on /nonexistent/map: No such file or directory\n");
}

// Loading stops at the first empty line; damage before it gives 2 and its
// line, the entries before it loaded.
TEST(zbHeaderMap, LoadingStopsAtTheFirstEmptyLineOrDamage)
{
    TempDir dir;
    // text, paths, items, result, damaged line
    const std::tuple<std::string, int, int, int, int> cases[] = {
        {kMagic + "@/a\nx.h\n\n@/b\ny.h\n", 1, 1, 0, 0},
        {kMagic + "@/a\nx.h\n\n@/b\ny.h", 1, 1, 0, 0},
        {kMagic + "@/a\nx.h\n@/b\ny.h", 2, 1, 2, 5},
        {kMagic + "not a block\n@/a\nx.h\n", 0, 0, 2, 2},
        {kMagic + "@/a\nx.h\n" + std::string(5000, 'y') + "\nz.h\n", 1, 1, 2, 4},
        {kMagic + std::string("@/a\nx.h\nz\0.h\n", 13), 1, 1, 2, 4},
        {kMagic, 0, 0, 0, 0},
        {kMagic + "@|>\nx.h\n", 1, 1, 0, 0},
    };
    for (const auto& [text, paths, items, result, line] : cases)
    {
        WriteFile(dir / "map", text);
        zbHeaderMap map;
        QORHashDicSzbFileName dico(11);
        EXPECT_EQ(map.InsertFile(Q(dir / "map"), &dico, 0), result) << text;
        EXPECT_EQ(map.GetDamagedLine(), line) << text;
        EXPECT_EQ(map.GetListOfPaths().Size(), paths) << text;
        EXPECT_EQ(dico.GetNbItems(), items) << text;
    }
    WriteFile(dir / "map", "!<zbhl> v2.0.2\n@/a\nx.h\n");
    zbHeaderMap map;
    EXPECT_EQ(map.InsertFile(Q(dir / "map"), nullptr, 0), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EBADF);
    EXPECT_EQ(map.InsertFile(Q(dir / "none"), nullptr, 0), 1);
    EXPECT_EQ(map.GetListOfPaths().Size(), 0);
}
