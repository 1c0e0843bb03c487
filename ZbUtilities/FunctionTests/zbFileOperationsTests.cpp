// File statistics, removal, copy, move, comparisons and whole-file reads.

#include <sys/resource.h>

#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbFileStats.h"
#include "zbOFStream.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"
#include "zbTestWorkload.h"

using namespace zbtest;

namespace
{
bool Exists(const std::string& iPath)
{
    struct stat st;
    return ::lstat(iPath.c_str(), &st) == 0;
}
} // namespace

TEST(zbFileOperations, CopyReplacesLinkNotItsTarget)
{
    TempDir dir;
    WriteFile(dir / "source", std::string(70000, 's') + "end");
    WriteFile(dir / "pointed", "pointed");
    ASSERT_EQ(::symlink((dir / "pointed").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(zbCopyFile((dir / "source").c_str(), (dir / "link").c_str()), 0);
    EXPECT_FALSE(zbIsItASymbolicLink((dir / "link").c_str()));
    EXPECT_EQ(ReadFile(dir / "link"), ReadFile(dir / "source"));
    EXPECT_EQ(ReadFile(dir / "pointed"), "pointed");

    ASSERT_EQ(zbCopyFile((dir / "source").c_str(), (dir / "new").c_str()), 0);
    EXPECT_EQ(zbCompareFiles((dir / "source").c_str(), (dir / "new").c_str()), 0);
    WriteFile(dir / "empty", "");
    ASSERT_EQ(zbCopyFile((dir / "empty").c_str(), (dir / "new").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "new"), "");
    EXPECT_EQ(zbtest::Entries(dir.Path()), "empty\nlink\nnew\npointed\nsource\n");
}

TEST(zbFileOperations, FailedCopyLeavesTheTargetAlone)
{
    TempDir dir;
    WriteFile(dir / "target", "precious");
    ::mkdir((dir / "subdir").c_str(), 0755);

    WriteFile(dir / "source", "data");
    const std::tuple<std::string, std::string, int> cases[] = {
        {dir / "subdir", dir / "target", EISDIR},
        {"/dev/null", dir / "target", EINVAL},
        {dir / "missing", dir / "target", ENOENT},
        {dir / "source", dir / "subdir", EISDIR}};
    for (const auto& [from, to, error] : cases)
    {
        EXPECT_EQ(zbCopyFile(from.c_str(), to.c_str()), 1) << from;
        EXPECT_EQ(zbExtLastError.GetErrno(), error) << from;
        EXPECT_EQ(ReadFile(dir / "target"), "precious") << from;
    }

    EXPECT_EQ(zbtest::Entries(dir.Path()), "source\nsubdir\ntarget\n");
}

// Between open directories: only onto a free name, with the record's mode
// (whatever the umask) and times; a failure leaves no file at all.
TEST(zbFileOperations, CopyAtMakesNewFilesOnly)
{
    TempDir dir;
    ::mkdir((dir / "from").c_str(), 0755);
    ::mkdir((dir / "to").c_str(), 0755);
    WriteFile(dir / "from/file", std::string(70000, 'f') + "end");
    ASSERT_EQ(::symlink("file", (dir / "from/link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "from/fifo").c_str(), 0644), 0);
    WriteFile(dir / "to/taken", "precious");
    const int from = ::open((dir / "from").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int to = ::open((dir / "to").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_TRUE(from >= 0 && to >= 0);
    const FileStat record = {0, 2000000000, 1000, 0, S_IFREG | 0751};

    const struct
    {
        const char *source, *target;
        int result, error;
    } cases[] = {
        {"file", "copy", 0, 0},       {"link", "through", 0, 0},   {"fifo", "x", 1, EINVAL},
        {"file", "taken", 1, EEXIST}, {"missing", "y", 1, ENOENT},
    };
    const mode_t mask = ::umask(077);
    for (const auto& c : cases)
    {
        EXPECT_EQ(zbCopyFileAt(from, c.source, to, c.target, record), c.result) << c.source;
        if (c.result)
        {
            EXPECT_EQ(zbExtLastError.GetErrno(), c.error) << c.source;
        }
    }
    ::umask(mask);
    for (const char* copy : {"copy", "through"})
    {
        const std::string name = dir / (std::string("to/") + copy);
        struct stat st;
        ASSERT_EQ(::lstat(name.c_str(), &st), 0) << name;
        EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
        EXPECT_EQ(st.st_mode & 07777, 0751u) << name;
        EXPECT_EQ(st.st_mtime, 2000000000) << name;
        EXPECT_EQ(st.st_atime, 1000) << name;
        EXPECT_EQ(ReadFile(name), ReadFile(dir / "from/file")) << name;
    }
    EXPECT_EQ(ReadFile(dir / "to/taken"), "precious");

    // Stopped half-way by the file size limit: nothing under any name.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 65536;
    // SIGXFSZ stays ignored for the rest of the program: under memcheck a
    // signal raised while ignored can still be delivered once it is not.
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int result = zbCopyFileAt(from, "file", to, "big", record);
    int error = zbExtLastError.GetErrno();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(zbtest::Entries(dir / "to"), "copy\ntaken\nthrough\n");
    ::close(from);
    ::close(to);
}

TEST(zbFileOperations, Move)
{
    TempDir dir;
    WriteFile(dir / "f", "same");
    EXPECT_EQ(zbCopyFile((dir / "f").c_str(), (dir / "f").c_str()), 0);
    EXPECT_EQ(zbMoveFile((dir / "f").c_str(), (dir.Path() + "/./f").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "f"), "same");
    WriteFile(dir / "from", "moved bytes");
    ASSERT_EQ(zbMoveFile((dir / "from").c_str(), (dir / "to").c_str()), 0);
    EXPECT_FALSE(Exists(dir / "from"));
    EXPECT_EQ(ReadFile(dir / "to"), "moved bytes");
    EXPECT_EQ(zbMoveFile((dir / "from").c_str(), (dir / "again").c_str()), 1);
    EXPECT_FALSE(Exists(dir / "again"));

    // Moving a link moves a copy of what it points to and removes the link.
    WriteFile(dir / "pointed", "p");
    ASSERT_EQ(::symlink((dir / "pointed").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(zbMoveFile((dir / "link").c_str(), (dir / "copy").c_str()), 0);
    EXPECT_FALSE(Exists(dir / "link"));
    EXPECT_EQ(ReadFile(dir / "pointed"), "p");
    EXPECT_EQ(ReadFile(dir / "copy"), "p");
}

TEST(zbFileOperations, ArgumentVectorFormsReport)
{
    TempDir dir;
    std::string missing = dir / "missing";
    std::string target = dir / "t";
    char* args[] = {const_cast<char*>(missing.c_str()), const_cast<char*>(target.c_str()), nullptr};
    zbtest::Capture err(2);
    EXPECT_EQ(zbCopyFile("cp", args), 1);
    EXPECT_EQ(zbMoveFile("mv", args), 1);
    EXPECT_EQ(zbCompareFiles("cmp", args), -1);
    EXPECT_EQ(zbRemoveFile("rm", args), 0);
    char* none[] = {nullptr};
    EXPECT_EQ(zbCopyFile("cp", none), 1);
    std::string text = err.Stop();
    std::string line = "# System error on " + missing + ": No such file or directory\n";
    EXPECT_EQ(text, line + line + "# System error on : Invalid argument\n");

    std::string dirPath = dir.Path();
    char* dirArgs[] = {const_cast<char*>(dirPath.c_str()), nullptr};
    zbtest::Capture err2(2);
    EXPECT_EQ(zbRemoveFile("rm", dirArgs), 1);
    EXPECT_EQ(err2.Stop(), "# System error on " + dirPath + ": Is a directory\n");
    // A link is removed itself, even one that leads nowhere.
    ASSERT_EQ(::symlink("nowhere", target.c_str()), 0);
    EXPECT_EQ(zbRemoveFile("rm", &args[1]), 0);
    EXPECT_FALSE(Exists(target));
}

TEST(zbFileOperations, Compare)
{
    TempDir dir;
    WriteFile(dir / "e1", "");
    WriteFile(dir / "e2", "");
    EXPECT_EQ(zbCompareFiles((dir / "e1").c_str(), (dir / "e2").c_str()), 0);
    std::string big(40000, 'x');
    WriteFile(dir / "a", big);
    big[35000] = 'y';
    WriteFile(dir / "b", big);
    WriteFile(dir / "c", big);
    EXPECT_EQ(zbCompareFiles((dir / "a").c_str(), (dir / "b").c_str()), -1);
    EXPECT_EQ(zbCompareFiles((dir / "b").c_str(), (dir / "c").c_str()), 0);
    EXPECT_EQ(zbCompareFiles((dir / "a").c_str(), (dir / "missing").c_str()), -1);
    EXPECT_EQ(zbCompareFiles((dir / "a").c_str(), (dir / "e1").c_str()), -1);

    // A file against a buffer: equal only when the lengths and bytes agree.
    WriteFile(dir / "abc", "abc");
    const std::tuple<const char*, const char*, unsigned int, int> cases[] = {
        {"abc", "abcd", 4, -1}, {"abc", "abcd", 3, 0},   {"abc", "ab", 2, -1},
        {"abc", "abd", 3, -1},  {"abc", nullptr, 0, -1}, {"e1", "", 0, 0}};
    for (const auto& [file, buffer, length, result] : cases)
        EXPECT_EQ(zbCompareFileWithBuffer((dir / file).c_str(), 4, buffer, length), result)
            << file << " " << length;
    EXPECT_EQ(zbCompareFileWithBuffer((dir / "c").c_str(), 4, big.c_str(), 40000), 0);
    EXPECT_EQ(zbCompareFileWithBuffer((dir / "a").c_str(), 4, big.c_str(), 40000), -1);
}

TEST(zbFileOperations, MMapAccessAndPathTests)
{
    TempDir dir;
    WriteFile(dir / "a", "a");
    WriteFile(dir / "an", "a\n");
    WriteFile(dir / "empty", "");
    char* buffer = nullptr;
    unsigned int size = 0;
    // The final character is added when missing; a NUL always follows.
    const std::tuple<const char*, char, const char*> cases[] = {
        {"a", '\n', "a\n"}, {"an", '\n', "a\n"}, {"a", 0, "a"}};
    for (const auto& [file, last, text] : cases)
    {
        ASSERT_EQ(zbMMap((dir / file).c_str(), 4, buffer, size, last), 0) << file;
        EXPECT_EQ(std::string(buffer, size + 1), std::string(text, std::strlen(text) + 1)) << file;
        std::free(buffer);
    }
    // A file of more than 2 MB is read into huge pages, the same way.
    const std::string large((size_t(2) << 20) + 1, 'x');
    WriteFile(dir / "large", large);
    ASSERT_EQ(zbMMap((dir / "large").c_str(), 8, buffer, size, '\n'), 0);
    EXPECT_EQ(std::string(buffer, size + 1), large + std::string("\n", 2));
    std::free(buffer);
    ASSERT_EQ(zbMMap((dir / "empty").c_str(), 4, buffer, size, '\n'), 0);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(size, 0u);

    EXPECT_EQ(zbMMap(dir.Path().c_str(), 4, buffer, size, 0), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EISDIR);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(zbMMap((dir / "missing").c_str(), 8, buffer, size, 0), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    EXPECT_EQ(zbMMap(nullptr, 8, buffer, size, 0), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EINVAL);

    EXPECT_EQ(zbAccessFile(dir.Path().c_str()), 0);
    EXPECT_EQ(zbAccessFile((dir / "missing").c_str()), -1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    EXPECT_TRUE(zbIsItAnAbsolutePath("/a"));
    EXPECT_FALSE(zbIsItAnAbsolutePath("a/b") || zbIsItAnAbsolutePath("") ||
                 zbIsItAnAbsolutePath(nullptr));
    ASSERT_EQ(::symlink("nowhere", (dir / "l").c_str()), 0);
    EXPECT_TRUE(zbIsItASymbolicLink((dir / "l").c_str()));
    EXPECT_FALSE(zbIsItASymbolicLink(dir.Path().c_str()));
    EXPECT_FALSE(zbIsItASymbolicLink(nullptr));
}

TEST(zbFileStats, ReadWriteCompareDump)
{
    // Statistics never read equal nothing.
    zbFileStats never, other;
    EXPECT_FALSE(never == other);
    EXPECT_TRUE(never != other);

    TempDir dir;
    WriteFile(dir / "f", "hello");
    zbFileStats stats;
    ASSERT_EQ(stats.Read((dir / "f").c_str()), 0);
    EXPECT_EQ(stats.SizeInBytes(), 5);
    EXPECT_TRUE(stats.IsRegular() && !stats.IsDirectory());
    EXPECT_FALSE(never == stats);

    FileStat raw = *stats.GetPtrTo();
    raw._ModificationTime = 86400 + 3661;
    raw._AccessTime = 86400;
    zbFileStats wanted;
    wanted.Put(raw);
    ASSERT_EQ(stats.Write((dir / "f").c_str(), wanted), 0);
    zbFileStats reread;
    ASSERT_EQ(reread.Read((dir / "f").c_str()), 0);
    EXPECT_EQ(reread.LastModificationTime(), 86400 + 3661);
    EXPECT_TRUE(reread == wanted);
    EXPECT_EQ(stats.Write((dir / "missing").c_str(), wanted), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    EXPECT_EQ(reread.Read((dir / "missing").c_str()), 1);
    EXPECT_EQ(reread.LastModificationTime(), 0);

    ASSERT_EQ(reread.Read(dir.Path().c_str()), 0);
    EXPECT_TRUE(reread.IsDirectory());

    // The 32-bit record and the system's record carry the same fields.
    FileStat32 small = {1, 2, 3, 4, 0100644};
    FileStat converted;
    ConvertFileStat32ToFileStat(converted, small);
    struct stat64 st;
    std::memset(&st, 0x55, sizeof st);
    ConvertFileStatToStat64(st, converted);
    EXPECT_EQ(converted._ChangeTime, 1);
    EXPECT_EQ(converted._AccessTime, 3);
    EXPECT_EQ(st.st_mtime, 2);
    EXPECT_EQ(st.st_size, 4);
    EXPECT_EQ(st.st_mode, 0100644u);
    EXPECT_EQ(st.st_ino, 0u);

    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(zbtest::Written([&](zbOFStream& out) { wanted.Dump(out); }),
              "# - File information:\t\n"
              "#   File object size in octets:         5\n"
              "#   File object last modification time: 90061 "
              "(01/02/1970-01:01:01)\n");
}
