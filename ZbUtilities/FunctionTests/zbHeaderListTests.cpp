// Header directories, lists and maps: the list file byte for byte, damage,
// copies; maps loaded into a dictionary.  (Lists printed into a workspace
// and the map file built from them: see zbsvc hmap.)

#include "zbErrorCodeManager.h"
#include "zbHeaderDirectory.h"
#include "zbHeaderList.h"
#include "zbHeaderListIntoWS.h"
#include "zbHeaderMap.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const std::string kMagic = "!<zbhl> v2.0.1\n";

QORString Q(const std::string& iText)
{
    return QORString(iText.c_str());
}

// A workspace with Fw/PublicInterfaces holding b.h, a.h and sub/, and
// Fw/PrivateInterfaces holding p.h (the blocks written are checked through
// zbsvc hlist).
struct Workspace
{
    TempDir _Dir;
    Workspace()
    {
        zbtest::MakeDirs(_Dir / "Fw/PublicInterfaces/sub");
        for (const char* file :
             {"Fw/PublicInterfaces/b.h", "Fw/PublicInterfaces/a.h", "Fw/PrivateInterfaces/p.h"})
            WriteFile(_Dir / file, "");
    }
    QORString IntoWS(const std::string& iName) const { return Q(_Dir.Path() + "/./" + iName); }
};

std::string Block(const zbHeaderDirectory& iDirectory)
{
    std::string buffer(static_cast<size_t>(iDirectory.GetBufsize()) + 1, 'x');
    int n = iDirectory.Writebuf(&buffer[0]);
    EXPECT_EQ(buffer[static_cast<size_t>(n)], '\0');
    return buffer.substr(0, static_cast<size_t>(n));
}

int ReadText(zbHeaderList& ioList, const std::string& iText)
{
    TempDir dir;
    WriteFile(dir / "list", iText);
    return ioList.ReadFile(Q(dir / "list"));
}

std::vector<std::string> Names(const QORListPtrzbFileName& iList)
{
    std::vector<std::string> out;
    for (int i = 1; i <= iList.Size(); ++i)
        out.push_back(iList[i]->GetPtrToFullname());
    return out;
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

TEST(zbHeaderDirectory, ListedBlocksLeaveOutUnrepresentableNames)
{
    Workspace ws;
    WriteFile(ws._Dir / "Fw/PrivateInterfaces/@odd.h", "");
    WriteFile(ws._Dir / "Fw/PrivateInterfaces/two\nlines.h", "");
    zbHeaderDirectory directory;
    directory.ListDirectory(ws.IntoWS("Fw/PrivateInterfaces"), 0);
    EXPECT_EQ(Block(directory), "@Fw/PrivateInterfaces\np.h\n");
    // Without a workspace marker the whole name stands in the block.
    std::string path = ws._Dir / "Fw/PrivateInterfaces";
    EXPECT_EQ(directory.ListDirectory(QORString(path.c_str()), 0),
              static_cast<int>(path.size()) + 2 + 4);
    EXPECT_EQ(Block(directory), "@" + path + "\np.h\n");

    EXPECT_EQ(directory.ListDirectory(ws.IntoWS("missing"), 1), 0);
    EXPECT_EQ(directory.GetBufsize(), 0);
    EXPECT_EQ(directory.IsSubdir(), 0);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    EXPECT_EQ(directory.Writebuf(nullptr), 0);
}

TEST(zbHeaderDirectory, Readbuf)
{
    char text[] = "@>Fw/Pub\nz.h\na.h\n@Next\n";
    zbHeaderDirectory directory;
    EXPECT_EQ(directory.Readbuf(text), 17);
    EXPECT_EQ(directory.IsSubdir(), 1);
    EXPECT_STREQ(directory.GetDirname().GetPtrToFullname(), "Fw/Pub");
    ASSERT_EQ(directory.GetListOfEntries().Size(), 2);
    EXPECT_EQ(directory.GetListOfEntries()[1], "z.h"); // no sorting on the way in
    // text, bytes read, entries
    const std::tuple<std::string, int, int> rows[] = {
        {"@Fw\na.h\nb.h", 8, 1}, {"Fw\na.h\n", 0, 0}, {"@Fw", 0, 0}};
    for (auto [text, read, entries] : rows)
    {
        EXPECT_EQ(directory.Readbuf(&text[0]), read) << text;
        EXPECT_EQ(directory.GetListOfEntries().Size(), entries) << text;
    }
    EXPECT_EQ(directory.Readbuf(nullptr), 0);
}

TEST(zbHeaderList, WriteThenReadGivesAnEqualList)
{
    Workspace ws;
    QORListValQORString dirs;
    for (const char* name : {"Fw/PublicInterfaces", "missing", "Fw/PrivateInterfaces"})
        dirs.Append(ws.IntoWS(name));
    zbHeaderList list;
    EXPECT_EQ(list.ListDirectories(dirs, 0), 2);
    EXPECT_EQ(list.GetBufsize(), 33 + 26);
    QORString file((ws._Dir / "Fw.hl").c_str());
    ASSERT_EQ(list.WriteFile(file), 0);
    zbHeaderList back;
    EXPECT_EQ(back.ReadFile(file), 0);
    EXPECT_TRUE(back == list);
    // Reading appends; one more directory makes the lists differ.
    EXPECT_EQ(back.ReadFile(file), 0);
    EXPECT_EQ(back.GetListOfHeaderDirectories().Size(), 4);
    EXPECT_TRUE(back != list);
    // A subdirectory mark alone makes two directories differ.
    zbHeaderList subdirs;
    subdirs.ListDirectories(dirs, 1);
    EXPECT_TRUE(subdirs != list);
}

TEST(zbHeaderList, EmptyListsValidityAndWriteFailure)
{
    TempDir dir;
    zbHeaderList empty;
    QORListValQORString none;
    EXPECT_EQ(empty.ListDirectories(none, 0), 0);
    ASSERT_EQ(empty.WriteFile(Q(dir / "e")), 0);
    EXPECT_EQ(ReadFile(dir / "e"), kMagic);
    zbHeaderList back;
    EXPECT_EQ(back.ReadFile(Q(dir / "e")), 0);
    EXPECT_TRUE(back == empty);
    // A list never listed nor read equals nothing, not even itself.
    zbHeaderList never;
    EXPECT_FALSE(never == back || back == never);
    back.Reset();
    EXPECT_EQ(back.IsValid(), 0);

    zbtest::Capture err(2);
    EXPECT_EQ(empty.WriteFile(QORString("/nonexistent/dir/list")), 1);
    EXPECT_EQ(err.Stop(), "# System error on /nonexistent/dir/list: No such file or directory\n");
}

TEST(zbHeaderList, BadFilesAreRefusedWithEBADF)
{
    const std::string refused[] = {
        "!<zbhl> v2.0.0\n@Fw\na.h\n", "!<zbhl> v2.0.1", "!<zbhl> v2.0.1\r\n", "\n", "!", "",
    };
    for (const std::string& text : refused)
    {
        zbHeaderList list;
        zbExtLastError.SetErrno(0);
        EXPECT_EQ(ReadText(list, text), 1) << text;
        EXPECT_EQ(zbExtLastError.GetErrno(), EBADF) << text;
        EXPECT_EQ(list.IsValid(), 0);
    }
    zbHeaderList list;
    EXPECT_EQ(list.ReadFile(QORString("/nonexistent/list")), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    // A block header without its line end keeps what was read before it (a
    // cut entry, a NUL, a stray line and a long line are read through zbsvc
    // hmap).
    zbExtLastError.SetErrno(0);
    EXPECT_EQ(ReadText(list, kMagic + "@A\na.h\n@B"), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EBADF);
    EXPECT_EQ(list.IsValid(), 1);
    ASSERT_EQ(list.GetListOfHeaderDirectories().Size(), 1);
    EXPECT_EQ(list.GetListOfHeaderDirectories()[1]->GetListOfEntries().Size(), 1);
    zbHeaderList good;
    EXPECT_EQ(ReadText(good, kMagic + "@A\na.h\n@>B\n\nb.h\n"), 0);
    ASSERT_EQ(good.GetListOfHeaderDirectories().Size(), 2);
    EXPECT_EQ(good.GetListOfHeaderDirectories()[2]->IsSubdir(), 1);
    EXPECT_EQ(good.GetListOfHeaderDirectories()[2]->GetListOfEntries().Size(), 2);
    EXPECT_EQ(good.GetBufsize(), 7 + 9);
}

TEST(zbHeaderList, ReadNamesAreNormalisedWhenWrittenBack)
{
    // Names read keep their recorded block sizes, but are written as their
    // normalised names intoWS: the file written is exactly that, no more.
    TempDir dir;
    zbHeaderList list;
    ASSERT_EQ(ReadText(list, kMagic + "@/old/./Fw\\Pub/\na.h\n@>Fw\nb.h\n"), 0);
    EXPECT_EQ(list.GetBufsize(), 20 + 9);
    ASSERT_EQ(list.WriteFile(Q(dir / "out")), 0);
    EXPECT_EQ(ReadFile(dir / "out"), kMagic + "@Fw/Pub\na.h\n@>Fw\nb.h\n");
    zbHeaderList back;
    EXPECT_EQ(back.ReadFile(Q(dir / "out")), 0);
    EXPECT_TRUE(back == list);
}

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
    EXPECT_EQ(Names(loaded.GetListOfSubdirPaths()),
              (std::vector<std::string>{"/ws2/./B/PrivateInterfaces"}));
    EXPECT_EQ(
        Names(loaded.GetListOfPathsIntoFW()),
        (std::vector<std::string>{"/ws2/./B/PublicInterfaces", "/ws2/./B/PrivateInterfaces"}));
    // (The first directory holding a name wins: see zbsvc find -map.)
    EXPECT_EQ(dico.GetNbItems(), 4);

    // Lower-case keys.
    zbHeaderMap lower;
    QORHashDicSzbFileName lowered(101);
    EXPECT_EQ(lower.InsertFile(Q(map), &lowered, 1), 0);
    const zbFileName* foo = lowered.Locate(QORString("foo.h"));
    EXPECT_TRUE(foo && foo == lower.GetListOfPaths()[1]);
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
    for (zbHeaderListIntoWS* list : {&missing, &lists._First, &bad})
        all.Append(list);
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

// Loading stops at the first empty line, damage after it unseen; damage
// before it gives 2 and its line, the entries before it loaded (a NUL byte:
// see zbsvc find -map; the other kinds of damage: see zbsvc hmap).
TEST(zbHeaderMap, LoadingStopsAtTheFirstEmptyLineOrDamage)
{
    TempDir dir;
    // text, paths, items, result, damaged line
    const std::tuple<std::string, int, int, int, int> cases[] = {
        {kMagic + "@/a\nx.h\n\n@/b\ny.h", 1, 1, 0, 0},
        {kMagic + "@/a\nx.h\n@/b\ny.h", 2, 1, 2, 5},
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
