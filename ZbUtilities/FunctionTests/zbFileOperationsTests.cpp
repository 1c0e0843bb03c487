// File statistics, removal, copy, move, comparisons and whole-file reads.

#include <deque>
#include <sys/resource.h>

#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbFileStats.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
// A temporary directory; P(name) is the path of name in it, alive as long
// as the test.
class zbFileOperations : public ::testing::Test
{
  protected:
    TempDir _Dir;
    std::deque<std::string> _Paths;
    const char* P(const std::string& iName) { return _Paths.emplace_back(_Dir / iName).c_str(); }
    bool Exists(const std::string& iName)
    {
        struct stat st;
        return ::lstat(P(iName), &st) == 0;
    }
};
} // namespace

TEST_F(zbFileOperations, CopiesAndMoves)
{
    WriteFile(P("source"), std::string(70000, 's') + "end");
    WriteFile(P("pointed"), "pointed");
    WriteFile(P("target"), "precious");
    ::mkdir(P("subdir"), 0755);
    // A copy onto a link replaces the link, not its target.
    ASSERT_EQ(::symlink(P("pointed"), P("link")), 0);
    ASSERT_EQ(zbCopyFile(P("source"), P("link")), 0);
    EXPECT_FALSE(zbIsItASymbolicLink(P("link")));
    EXPECT_EQ(ReadFile(P("link")), ReadFile(P("source")));
    EXPECT_EQ(ReadFile(P("pointed")), "pointed");
    WriteFile(P("empty"), "");
    ASSERT_EQ(zbCopyFile(P("empty"), P("link")), 0);
    EXPECT_EQ(ReadFile(P("link")), "");
    EXPECT_EQ(zbCopyFile(P("pointed"), P("pointed")), 0);

    // A failed copy leaves the target alone.
    const std::tuple<std::string, std::string, int> failures[] = {{"subdir", "target", EISDIR},
                                                                  {"/dev/null", "target", EINVAL},
                                                                  {"missing", "target", ENOENT},
                                                                  {"source", "subdir", EISDIR}};
    for (const auto& [from, to, error] : failures)
    {
        EXPECT_EQ(zbCopyFile(from[0] == '/' ? from.c_str() : P(from), P(to)), 1) << from;
        EXPECT_EQ(zbExtLastError.GetErrno(), error) << from;
        EXPECT_EQ(ReadFile(P("target")), "precious") << from;
    }
    EXPECT_EQ(Entries(_Dir.Path()), "empty\nlink\npointed\nsource\nsubdir\ntarget\n");

    EXPECT_EQ(zbMoveFile(P("pointed"), (_Dir.Path() + "/./pointed").c_str()), 0);
    EXPECT_EQ(ReadFile(P("pointed")), "pointed");
    ASSERT_EQ(zbMoveFile(P("target"), P("moved")), 0);
    EXPECT_FALSE(Exists("target"));
    EXPECT_EQ(ReadFile(P("moved")), "precious");
    EXPECT_EQ(zbMoveFile(P("target"), P("again")), 1);
    EXPECT_FALSE(Exists("again"));
    // Moving a link moves a copy of what it points to and removes the link.
    ASSERT_EQ(::symlink(P("pointed"), P("link2")), 0);
    ASSERT_EQ(zbMoveFile(P("link2"), P("copy")), 0);
    EXPECT_FALSE(Exists("link2"));
    EXPECT_EQ(ReadFile(P("pointed")), "pointed");
    EXPECT_EQ(ReadFile(P("copy")), "pointed");

    // The argument-vector forms report a failure on the file it is about.
    std::string missing = P("missing"), target = P("t"), dirPath = _Dir.Path(), source = P("s");
    WriteFile(source, "s");
    char* args[] = {&missing[0], &target[0], nullptr};
    char* none[] = {nullptr};
    char* dirArgs[] = {&dirPath[0], nullptr};
    char* ontoDir[] = {&source[0], &dirPath[0], nullptr};
    Capture err(2);
    EXPECT_EQ(zbCopyFile("cp", args), 1);
    EXPECT_EQ(zbMoveFile("mv", args), 1);
    EXPECT_EQ(zbCompareFiles("cmp", args), -1);
    EXPECT_EQ(zbCompareFiles("cmp", static_cast<char* const*>(nullptr)), -1);
    EXPECT_EQ(zbRemoveFile("rm", args), 0);
    EXPECT_EQ(zbCopyFile("cp", none), 1);
    EXPECT_EQ(zbRemoveFile("rm", dirArgs), 1);
    EXPECT_EQ(zbCopyFile("cp", ontoDir), 1);
    std::string line = "# System error on " + missing + ": No such file or directory\n";
    std::string isDir = "# System error on " + dirPath + ": Is a directory\n";
    EXPECT_EQ(err.Stop(), line + line + "# System error on : Invalid argument\n" + isDir + isDir);
    // A link is removed itself, even one that leads nowhere.
    ASSERT_EQ(::symlink("nowhere", target.c_str()), 0);
    EXPECT_EQ(zbRemoveFile("rm", &args[1]), 0);
    EXPECT_FALSE(Exists("t"));

    // Between open directories: only onto a free name, with the record's mode
    // (whatever the umask) and times; a failure leaves no file at all.
    WriteFile(P("from/file"), std::string(70000, 'f') + "end");
    ASSERT_EQ(::symlink("file", P("from/link")), 0);
    ASSERT_EQ(::mkfifo(P("from/fifo"), 0644), 0);
    WriteFile(P("to/taken"), "precious");
    const int from = ::open(P("from"), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int to = ::open(P("to"), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_TRUE(from >= 0 && to >= 0);
    const FileStat record = {0, 2000000000, 1000, 0, S_IFREG | 0751};

    const std::tuple<const char*, const char*, int> cases[] = {
        {"file", "copy", 0},       {"link", "through", 0},   {"fifo", "x", EINVAL},
        {"file", "taken", EEXIST}, {"missing", "y", ENOENT}, {"", "y", EINVAL},
    };
    const mode_t mask = ::umask(077);
    for (const auto& [source, target, error] : cases)
    {
        EXPECT_EQ(zbCopyFileAt(from, source, to, target, record), error ? 1 : 0) << source;
        EXPECT_EQ(error ? zbExtLastError.GetErrno() : 0, error) << source;
    }
    ::umask(mask);
    for (const char* copy : {"to/copy", "to/through"})
    {
        struct stat st;
        ASSERT_EQ(::lstat(P(copy), &st), 0) << copy;
        EXPECT_EQ(std::make_tuple(st.st_mode, st.st_mtime, st.st_atime),
                  std::make_tuple(S_IFREG | 0751u, time_t(2000000000), time_t(1000)))
            << copy;
        EXPECT_EQ(ReadFile(P(copy)), ReadFile(P("from/file"))) << copy;
    }
    EXPECT_EQ(ReadFile(P("to/taken")), "precious");

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
    EXPECT_EQ(std::make_pair(result, error), std::make_pair(1, EFBIG));
    EXPECT_EQ(Entries(P("to")), "copy\ntaken\nthrough\n");
    // A kernel copy that moves one byte is complete, whatever errno held.
    WriteFile(P("from/one"), "1");
    errno = EIO;
    EXPECT_EQ(zbCopyFileAt(from, "one", to, "one", record), 0);
    ::close(from);
    ::close(to);
}

TEST_F(zbFileOperations, Compare)
{
    std::string big(40000, 'x');
    WriteFile(P("a"), big);
    big[35000] = 'y';
    WriteFile(P("b"), big);
    WriteFile(P("c"), big);
    WriteFile(P("e1"), "");
    WriteFile(P("e2"), "");
    WriteFile(P("abc"), "abc");
    WriteFile(P("one"), "1");
    // Every stream opened is closed again: the lowest free descriptor stays.
    auto lowestFree = []
    {
        const int fd = ::dup(0);
        ::close(fd);
        return fd;
    };
    const int lowest = lowestFree();
    const std::tuple<const char*, const char*, int> files[] = {
        {"e1", "e2", 0}, {"a", "b", -1}, {"b", "c", 0}, {"a", "missing", -1}, {"e1", "a", -1}};
    for (const auto& [one, other, result] : files)
        EXPECT_EQ(zbCompareFiles(P(one), P(other)), result) << one << " " << other;
    EXPECT_EQ(lowestFree(), lowest);

    // A file against a buffer: equal only when the lengths and bytes agree.
    const std::tuple<const char*, const char*, unsigned int, int> cases[] = {
        {"abc", "abcd", 4, -1}, {"abc", "abcd", 3, 0},   {"abc", "ab", 2, -1},
        {"abc", "abd", 3, -1},  {"abc", nullptr, 0, -1}, {"e1", "", 0, 0},
        {"one", "", 0, -1},     {"e1", "1", 1, -1},      {"c", big.c_str(), 40000, 0}};
    for (const auto& [file, buffer, length, result] : cases)
        EXPECT_EQ(zbCompareFileWithBuffer(P(file), 4, buffer, length), result)
            << file << " " << length;
}

TEST_F(zbFileOperations, MMapPathTestsAndStatistics)
{
    WriteFile(P("a"), "a");
    WriteFile(P("an"), "a\n");
    // A file of more than 2 MB is read into huge pages, the same way.
    const std::string large((size_t(2) << 20) + 1, 'x');
    WriteFile(P("large"), large);
    char* buffer = nullptr;
    unsigned int size = 0;
    // The final character is added when missing; a NUL always follows.
    const std::tuple<const char*, char, std::string> cases[] = {
        {"a", '\n', "a\n"}, {"an", '\n', "a\n"}, {"a", 0, "a"}, {"large", '\n', large + "\n"}};
    for (const auto& [file, last, text] : cases)
    {
        ASSERT_EQ(zbMMap(P(file), 8, buffer, size, last), 0) << file;
        EXPECT_EQ(std::string(buffer, size + 1), text + std::string(1, '\0')) << file;
        std::free(buffer);
    }
    // (An empty file, a directory, a missing file, and zbAccessFile, are
    // met by the readers of every suite and of zbsvc, wschain.t among them.)
    ASSERT_EQ(::symlink("nowhere", P("l")), 0);
    EXPECT_TRUE(zbIsItASymbolicLink(P("l")));
    EXPECT_FALSE(zbIsItASymbolicLink(_Dir.Path().c_str()) || zbIsItASymbolicLink(nullptr));
    // Sizes are counted in 32 bits: a larger file (sparse here) is refused.
    WriteFile(P("huge"), "");
    ASSERT_EQ(::truncate(P("huge"), off_t(1) << 32), 0);
    EXPECT_EQ(zbMMap(P("huge"), 8, buffer, size, '\n'), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EFBIG);

    // Statistics (read, written and compared through a file name in
    // zbFileNameTests) never read equal nothing; a failed read forgets them.
    zbFileStats never, other, stats;
    EXPECT_TRUE(!(never == other) && never != other);
    WriteFile(P("f"), "hello");
    ASSERT_EQ(stats.Read(P("f")), 0);
    EXPECT_FALSE(never == stats);
    EXPECT_EQ(stats.Write(P("missing"), stats), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    EXPECT_EQ(stats.Read(P("missing")), 1);
    EXPECT_EQ(stats.LastModificationTime(), 0);

    // The 32-bit record and the system's record carry the same fields.
    FileStat32 small = {1, 2, 3, 4, 0100644};
    FileStat converted;
    ConvertFileStat32ToFileStat(converted, small);
    struct stat64 st;
    std::memset(&st, 0x55, sizeof st);
    ConvertFileStatToStat64(st, converted);
    EXPECT_EQ(std::make_tuple(converted._ChangeTime, converted._AccessTime, st.st_mtime, st.st_size,
                              st.st_mode, st.st_ino),
              std::make_tuple(int32_t(1), int32_t(3), time_t(2), off64_t(4), mode_t(0100644),
                              ino64_t(0)));
    // (The dump of statistics is in the dump of a file name: zbFileNameTests.)
}
