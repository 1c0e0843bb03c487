// Whole-file writers: whatever stops them, the old target stays byte for
// byte.  Each writer of zbsvc facing a failing open, write, fsync or rename is
// in zbFaultInjectionTests; here, a writer killed at any moment and the
// replacer's own choices.

#include <algorithm>
#include <random>

#include "zbDescriptor.h"
#include "zbTestSupport.h"
#include "zbTestWorkload.h"

using zbtest::ReadFile;
using zbtest::TempDir;
using zbtest::WriteFile;

namespace
{
const std::string kOld = "the old content\n";
} // namespace

TEST(zbFileReplacer, KilledAtAnyMomentAndWhatTheTargetIs)
{
    TempDir dir;
    std::string data;
    std::mt19937 random(13);
    const size_t size = static_cast<size_t>(zbtest::Workload(16, 4)) << 20;
    data.reserve(size);
    while (data.size() < size)
        data += std::to_string(random()) + "\n";
    WriteFile(dir / "input", data);
    mkdir((dir / "out").c_str(), 0755);
    const std::string target = dir / "out/block";
    const std::vector<std::string> pack{
        zbtest::Program("zbsvc"), "block", "pack", "-v", "1.2.3", dir / "input", target};

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(zbtest::Run(pack)._Status, 0);
    auto sinceMs = [](std::chrono::steady_clock::time_point iStart)
    {
        return 1 + static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - iStart)
                                        .count());
    };
    int runMs = sinceMs(start);
    const std::string fresh = ReadFile(target);

    // Twenty attempts, and more (a hundred at most) until five were killed
    // while running: how long a run takes on a loaded machine is not known
    // beforehand.
    int killed = 0, leftovers = 0;
    for (int attempt = 0; attempt < 20 || (killed < 5 && attempt < 100); ++attempt)
    {
        WriteFile(target, kOld);
        // In the first two thirds of a run: a loaded machine may be faster.
        const int delay = 1 + static_cast<int>(random() % static_cast<unsigned>(1 + runMs * 2 / 3));
        const auto attemptStart = std::chrono::steady_clock::now();
        zbtest::ChildResult r = zbtest::Run(pack, {}, "", "", delay, SIGKILL);
        killed += r._Signal == SIGKILL;
        // A run that ended before its kill narrows the moments aimed at.
        if (r._Signal != SIGKILL)
            runMs = std::max(2, std::min(runMs, sinceMs(attemptStart)) * 2 / 3);
        const std::string now = ReadFile(target);
        EXPECT_TRUE(now == kOld || now == fresh)
            << "attempt " << attempt << ": " << now.size() << " bytes";
        // A kill between the temporary name and the rename may leave the
        // new content beside the target once; nothing else may.
        std::istringstream entries(zbtest::Entries(dir / "out"));
        int found = 0;
        for (std::string entry; std::getline(entries, entry);)
            if (entry == "block")
                ++found;
            else
                leftovers += ::unlink((dir / ("out/" + entry)).c_str()) == 0;
        EXPECT_EQ(found, 1) << "attempt " << attempt;
    }
    EXPECT_LE(leftovers, 1);
    EXPECT_GE(killed, 5);

    // What the target is.  Abandoned or failed replacements (a failed open, a
    // full device), which leave the old target and nothing beside it, are
    // checked for every writer in zbFaultInjectionTests.
    TempDir own;
    const std::string file = own / "target";
    WriteFile(file, kOld);
    chmod(file.c_str(), 0640);
    ASSERT_EQ(zbReplaceFile(file.c_str(), "new", 3), 0);
    EXPECT_EQ(ReadFile(file), "new");
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(zbtest::Entries(own.Path()), "target\n");

    // A link stays a link and the file it names is replaced, unless the new
    // file is to take the link's place.
    ASSERT_EQ(symlink("target", (own / "link").c_str()), 0);
    ASSERT_EQ(zbReplaceFile((own / "link").c_str(), "through", 7), 0);
    struct stat lst;
    ASSERT_EQ(lstat((own / "link").c_str(), &lst), 0);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
    EXPECT_EQ(ReadFile(file), "through");
    ASSERT_EQ(zbReplaceFile((own / "link").c_str(), "own", 3, 0600, zbFileReplacer::Fresh), 0);
    ASSERT_EQ(lstat((own / "link").c_str(), &lst), 0);
    EXPECT_TRUE(S_ISREG(lst.st_mode));
    EXPECT_EQ(ReadFile(own / "link"), "own");
    EXPECT_EQ(ReadFile(file), "through");
    ASSERT_EQ(symlink("later", (own / "pending").c_str()), 0);
    ASSERT_EQ(zbReplaceFile((own / "pending").c_str(), "made", 4), 0);
    EXPECT_EQ(ReadFile(own / "later"), "made");

    // A directory is refused and stays.
    ASSERT_EQ(mkdir((own / "sub").c_str(), 0755), 0);
    EXPECT_EQ(zbReplaceFile((own / "sub").c_str(), "x", 1), EISDIR);
    ASSERT_EQ(stat((own / "sub").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

// (Reads and writes whole are run by every writer of zbsvc and the readers
// of its inputs, in zbFaultInjectionTests among others.)
TEST(zbDescriptor, PipesStreamsAndFilesRead)
{
    int fds[2];
    ASSERT_EQ(zbPipe(fds), 0);
    for (int fd : fds)
    {
        EXPECT_EQ(fcntl(fd, F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
        ::close(fd);
    }
    TempDir dir;
    std::string content;
    EXPECT_EQ(zbReadFile(dir.Path().c_str(), content), EISDIR);
    EXPECT_EQ(zbReadFile((dir / "missing").c_str(), content), ENOENT);
    FILE* stream = zbOpenStream((dir / "f").c_str(), "w");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(fcntl(fileno(stream), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    fclose(stream);
}
