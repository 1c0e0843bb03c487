// Header directories and lists: the list file byte for byte, damage, copies.
// (Lists printed into a workspace: see zbsvc hmap.)

#include "zbErrorCodeManager.h"
#include "zbHeaderDirectory.h"
#include "zbHeaderList.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const std::string kMagic = "!<zbhl> v2.0.1\n";

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
    QORString IntoWS(const std::string& iName) const
    {
        return QORString((_Dir.Path() + "/./" + iName).c_str());
    }
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
    return ioList.ReadFile(QORString((dir / "list").c_str()));
}
} // namespace

TEST(zbHeaderDirectory, ListedBlocksLeaveOutUnrepresentableNames)
{
    Workspace ws;
    WriteFile(ws._Dir / "Fw/PrivateInterfaces/@odd.h", "");
    WriteFile(ws._Dir / "Fw/PrivateInterfaces/two\nlines.h", "");
    zbHeaderDirectory directory;
    directory.ListDirectory(ws.IntoWS("Fw/PrivateInterfaces"), 0);
    EXPECT_EQ(Block(directory), "@Fw/PrivateInterfaces\np.h\n");
    EXPECT_EQ(directory.GetBufsize(), 26);
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
    dirs.Append(ws.IntoWS("Fw/PublicInterfaces"));
    dirs.Append(ws.IntoWS("missing"));
    dirs.Append(ws.IntoWS("Fw/PrivateInterfaces"));
    zbHeaderList list;
    EXPECT_EQ(list.ListDirectories(dirs, 0), 2);
    EXPECT_EQ(list.GetBufsize(), 33 + 26);
    QORString file((ws._Dir / "Fw.hl").c_str());
    ASSERT_EQ(list.WriteFile(file), 0);
    zbHeaderList back;
    EXPECT_EQ(back.ReadFile(file), 0);
    EXPECT_EQ(back.GetBufsize(), list.GetBufsize());
    EXPECT_TRUE(back == list);
    EXPECT_FALSE(back != list);
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
    ASSERT_EQ(empty.WriteFile(QORString((dir / "e").c_str())), 0);
    EXPECT_EQ(ReadFile(dir / "e"), kMagic);
    zbHeaderList back;
    EXPECT_EQ(back.ReadFile(QORString((dir / "e").c_str())), 0);
    EXPECT_EQ(back.GetListOfHeaderDirectories().Size(), 0);
    EXPECT_TRUE(back == empty);
    // A list never listed nor read equals nothing, not even itself.
    zbHeaderList never;
    EXPECT_FALSE(never == back);
    EXPECT_TRUE(never != back);
    EXPECT_FALSE(never == never);
    back.Reset();
    EXPECT_EQ(back.IsValid(), 0);
    EXPECT_FALSE(back == empty);

    zbtest::Capture err(2);
    EXPECT_EQ(empty.WriteFile(QORString("/nonexistent/dir/list")), 1);
    EXPECT_EQ(err.Stop(), "# System error on /nonexistent/dir/list: No such file or directory\n");
}

TEST(zbHeaderList, BadFilesAreRefusedWithEBADF)
{
    const std::string refused[] = {
        "!<zbhl> v2.0.0\n@Fw\na.h\n",
        "!<zbhl> v2.0.1",
        "!<zbhl> v2.0.1 \n",
        "!<zbhl> v2.0.1\r\n",
        "\n",
        "!",
        "garbage\n",
        "",
    };
    for (const std::string& text : refused)
    {
        zbHeaderList list;
        zbExtLastError.SetErrno(0);
        EXPECT_EQ(ReadText(list, text), 1) << text;
        EXPECT_EQ(zbExtLastError.GetErrno(), EBADF) << text;
        EXPECT_EQ(list.IsValid(), 0);
        EXPECT_EQ(list.GetListOfHeaderDirectories().Size(), 0);
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
    ASSERT_EQ(list.WriteFile(QORString((dir / "out").c_str())), 0);
    EXPECT_EQ(ReadFile(dir / "out"), kMagic + "@Fw/Pub\na.h\n@>Fw\nb.h\n");
    zbHeaderList back;
    EXPECT_EQ(back.ReadFile(QORString((dir / "out").c_str())), 0);
    EXPECT_TRUE(back == list);
}
