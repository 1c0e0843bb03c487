// Path strings and lists, workspace chains, directories, readers and walkers.

#include "zbDirectories.h"
#include "zbDirectory.h"
#include "zbDirectoryListing.h"
#include "zbErrorCodeManager.h"
#include "zbFileName.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
bool IsDirectory(const std::string& iPath)
{
    struct stat st;
    return ::stat(iPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& iPath)
{
    struct stat st;
    return ::lstat(iPath.c_str(), &st) == 0;
}

std::vector<std::string> Walk(zbDirectoryListing& ioListing)
{
    std::vector<std::string> out;
    while (const char* entry = ioListing.GetEntry())
        out.push_back(entry);
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> iList)
{
    std::sort(iList.begin(), iList.end());
    return iList;
}

using Paths = std::vector<std::string>;
} // namespace

TEST(zbDirectories, PathStrings)
{
    char dos[] = "a/b\\c/";
    EXPECT_STREQ(zbDosifyPath(dos), "a\\b\\c\\");
    EXPECT_STREQ(zbUnixifyPath(dos), "a/b/c/");
    for (auto [path, eaten] : {std::pair<std::string, const char*>{dos, "a/b/c"},
                               {"/", "/"},
                               {"a//", "a"},
                               {"///", "/"}})
        EXPECT_STREQ(zbEatEndingSlash(&path[0]), eaten) << path;
    char empty[] = "";
    EXPECT_EQ(zbEatEndingSlash(empty), empty);
    EXPECT_EQ(zbEatEndingSlash(nullptr), nullptr);
    EXPECT_EQ(zbDosifyPath(nullptr), nullptr);
}

TEST(zbDirectories, PathConcatenations)
{
    QORListValQORString out;
    zbSplitPathConcatenation(out, ":a::b:", ':');
    EXPECT_EQ(zbtest::Strings(out), (std::vector<std::string>{"a", "b"}));
    zbSplitPathConcatenation(out, "", ':');
    zbSplitPathConcatenation(out, nullptr, ':');
    zbSplitPathConcatenation(out, "c;d", ';');
    EXPECT_EQ(zbtest::Strings(out), (std::vector<std::string>{"a", "b", "c", "d"}));

    QORString joined;
    zbCreatePathConcatenation(joined, zbtest::StringList({"/tmp", "/nonexistent"}), nullptr,
                              nullptr, 0);
    // No separator after the last kept element.
    EXPECT_EQ(joined.Std(), "/tmp");

    // Only existing directories, quoted, each after its prefix.
    QORString quoted("X=");
    zbCreatePathConcatenation(
        quoted, zbtest::StringList({"/nonexistent", "/tmp", "/etc/passwd", "/"}), "-I", " ", 1);
    EXPECT_EQ(quoted.Std(), "X=-I\"/tmp\" -I\"/\"");
}

TEST(zbDirectories, WorkspaceChain)
{
    // (Missing and one-line configurations are reported through zbsvc wschain.)
    TempDir ws;
    QORListValQORString out;
    WriteFile(ws / "Install_config", "header\n:/ws/a::/ws/b:\nignored\n");
    out.Append(QORString("first"));
    EXPECT_EQ(zbGetWorkspacesConcatenation(QORString(ws.Path()), out, "/code"), 0);
    EXPECT_EQ(zbtest::Strings(out),
              (std::vector<std::string>{"first", "/ws/a/code", "/ws/b/code"}));

    // A second line without a line feed counts.
    WriteFile(ws / "Install_config", "header\n/x");
    QORListValQORString last;
    EXPECT_EQ(zbGetWorkspacesConcatenation(QORString(ws.Path()), last, nullptr), 0);
    EXPECT_EQ(zbtest::Strings(last), (std::vector<std::string>{"/x"}));
}

TEST(zbDirectories, CreateDirectory)
{
    TempDir dir;
    std::string abc = dir / "a/b/c";
    EXPECT_EQ(zbCreateDirectory(abc.c_str()), 0);
    EXPECT_TRUE(IsDirectory(dir / "a"));
    EXPECT_TRUE(IsDirectory(dir / "a/b"));
    EXPECT_TRUE(IsDirectory(abc));
    struct stat st;
    ASSERT_EQ(::stat(abc.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u & ~0022u);
    EXPECT_EQ(zbCreateDirectory(abc.c_str()), 0);
    EXPECT_EQ(zbCreateDirectory((dir / "x//y/").c_str()), 0);
    EXPECT_TRUE(IsDirectory(dir / "x/y"));
    EXPECT_EQ(zbCreateDirectory(""), 0);
    EXPECT_EQ(zbCreateOrReplaceDirectory(abc.c_str()), 0);

    // An existing file is not a directory: that is a failure, not a success.
    WriteFile(dir / "file", "f");
    EXPECT_EQ(zbCreateDirectory((dir / "file").c_str()), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOTDIR);
    EXPECT_EQ(zbCreateDirectory((dir / "file/sub").c_str()), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOTDIR);

    zbFileName name((dir / "n/m/leaf.c").c_str());
    EXPECT_EQ(zbCreateDirectoryFromDirname(name), 0);
    EXPECT_TRUE(IsDirectory(dir / "n/m"));
    EXPECT_FALSE(Exists(dir / "n/m/leaf.c"));
    zbFileName other((dir / "o/leaf").c_str());
    EXPECT_EQ(zbCreateOrReplaceDirectoryFromDirname(other), 0);
    EXPECT_TRUE(IsDirectory(dir / "o"));

    std::string bad = dir / "file/sub";
    char* args[] = {const_cast<char*>(bad.c_str()), nullptr};
    zbtest::Capture err(2);
    EXPECT_EQ(zbCreateDirectory("mkdir", args), 1);
    EXPECT_EQ(err.Stop(), "# System error on " + bad + ": Not a directory\n");
}

TEST(zbDirectories, RemoveDirectory)
{
    TempDir dir;
    std::string tree = dir / "tree";
    std::string outside = dir / "outside";
    ASSERT_EQ(zbCreateDirectory((tree + "/ro/deeper").c_str()), 0);
    ASSERT_EQ(zbCreateDirectory(outside.c_str()), 0);
    WriteFile(outside + "/keep", "keep");
    WriteFile(tree + "/ro/f", "f");
    WriteFile(tree + "/ro/deeper/g", "g");
    WriteFile(tree + "/top", "t");
    ASSERT_EQ(::symlink(outside.c_str(), (tree + "/ro/out").c_str()), 0);
    ASSERT_EQ(::symlink("missing", (tree + "/dangling").c_str()), 0);
    ASSERT_EQ(::chmod((tree + "/ro/deeper").c_str(), 0500), 0);
    ASSERT_EQ(::chmod((tree + "/ro").c_str(), 0500), 0);

    EXPECT_EQ(zbRemoveDirectory(tree.c_str(), 0), 0);
    EXPECT_FALSE(Exists(tree));
    EXPECT_EQ(ReadFile(outside + "/keep"), "keep");
    EXPECT_EQ(zbRemoveDirectory(tree.c_str(), 0), 0);
    EXPECT_EQ(zbRemoveDirectory("", 0), 0);

    // A link given as the directory is removed itself, never followed.
    ASSERT_EQ(::symlink(outside.c_str(), (dir / "alias").c_str()), 0);
    EXPECT_EQ(zbRemoveDirectory((dir / "alias").c_str(), 0), 0);
    EXPECT_FALSE(Exists(dir / "alias"));
    EXPECT_EQ(ReadFile(outside + "/keep"), "keep");

    // A file is not a directory.
    EXPECT_EQ(zbRemoveDirectory((outside + "/keep").c_str(), 0), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOTDIR);
    EXPECT_TRUE(Exists(outside + "/keep"));

    zbFileName name((outside + "/anything").c_str());
    EXPECT_EQ(zbRemoveDirectoryFromDirname(name), 0);
    EXPECT_FALSE(Exists(outside));
}

TEST(zbDirectory, SkipsDotsAndRewinds)
{
    TempDir dir;
    WriteFile(dir / "a", "");
    WriteFile(dir / "b", "");
    zbDirectory reader(dir.Path().c_str());
    ASSERT_FALSE(reader.Failed());
    std::vector<std::string> names;
    for (struct dirent64* e = reader.FindFirstEnt(); e; e = reader.FindNextEnt())
        names.push_back(e->d_name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(reader.FindNextEnt(), nullptr);
    ASSERT_NE(reader.FindFirstEnt(), nullptr);
    ASSERT_NE(reader.CheckEnt(), nullptr);

    // Entries over many batches, read relative to an open directory.
    ASSERT_EQ(::mkdir((dir / "many").c_str(), 0755), 0);
    std::set<std::string> made, read;
    for (int i = 0; i < 3000; ++i)
    {
        const std::string name = "a-name-long-enough-to-fill-batches-" + std::to_string(i);
        WriteFile(dir / ("many/" + name), "");
        made.insert(name);
    }
    zbDirectory many(reader.GetFd(), "many");
    for (struct dirent64* e = many.FindNextEnt(); e; e = many.FindNextEnt())
        read.insert(e->d_name);
    EXPECT_FALSE(many.Failed());
    EXPECT_EQ(read, made);

    zbDirectory missing((dir / "missing").c_str());
    EXPECT_TRUE(missing.Failed());
    EXPECT_EQ(missing.GetError(), ENOENT);
    EXPECT_EQ(missing.FindFirstEnt(), nullptr);
    EXPECT_EQ(missing.CheckEnt(), nullptr);
}

TEST(zbDirectoryListing, RecursiveSelectionsAndOrder)
{
    TempDir dir;
    ASSERT_EQ(zbCreateDirectory((dir / "d1/d11").c_str()), 0);
    ASSERT_EQ(zbCreateDirectory((dir / "d2").c_str()), 0);
    for (const char* file : {"f0", "d1/f1", "d1/d11/f11", "d2/f2"})
        WriteFile(dir / file, "");
    ASSERT_EQ(::symlink("d1/f1", (dir / "d2/lf").c_str()), 0);

    // The walker works on the caller's list of roots.
    const QORListValQORString roots = zbtest::StringList({dir.Path()});
    zbDirectoryListing files(roots);
    files.SetListingMode(zbDirectoryListing::Recursive);
    files.SetListedEntries(zbDirectoryListing::AllButDirectories);
    Paths found = Walk(files);
    EXPECT_EQ(Sorted(found),
              (Paths{dir / "d1/d11/f11", dir / "d1/f1", dir / "d2/f2", dir / "d2/lf", dir / "f0"}));
    // The entries of a directory come together: no directory comes back.
    Paths seen;
    for (const std::string& entry : found)
    {
        std::string parent = entry.substr(0, entry.rfind('/'));
        if (seen.empty() || seen.back() != parent)
        {
            EXPECT_EQ(std::count(seen.begin(), seen.end(), parent), 0) << parent;
            seen.push_back(parent);
        }
    }
    EXPECT_EQ(files.GetEntry(), nullptr);
    files.Rewind();
    EXPECT_EQ(Walk(files), found);

    zbDirectoryListing dirs(roots);
    dirs.SetListingMode(zbDirectoryListing::Recursive);
    dirs.SetListedEntries(zbDirectoryListing::DirectoriesOnly);
    EXPECT_EQ(Sorted(Walk(dirs)), (Paths{dir / "d1", dir / "d1/d11", dir / "d2"}));
    zbDirectoryListing flat(roots);
    EXPECT_EQ(Sorted(Walk(flat)), (Paths{dir / "d1", dir / "d2", dir / "f0"}));

    // Missing roots are skipped silently; a root given with its separator
    // is not doubled.
    const QORListValQORString mixed = zbtest::StringList({dir / "missing", dir / "d2/"});
    zbDirectoryListing second(mixed);
    second.SetListedEntries(zbDirectoryListing::AllButDirectories);
    EXPECT_EQ(Sorted(Walk(second)), (Paths{dir / "d2/f2", dir / "d2/lf"}));
}

TEST(zbDirectoryListing, LinksBackIntoTheWalkEndIt)
{
    TempDir dir;
    ASSERT_EQ(zbCreateDirectory((dir / "a/b").c_str()), 0);
    WriteFile(dir / "a/b/f", "");
    ASSERT_EQ(::symlink("../..", (dir / "a/b/up").c_str()), 0);
    ASSERT_EQ(::symlink(".", (dir / "a/self").c_str()), 0);
    const QORListValQORString roots = zbtest::StringList({dir.Path()});
    zbDirectoryListing all(roots);
    all.SetListingMode(zbDirectoryListing::Recursive);
    EXPECT_EQ(Sorted(Walk(all)),
              (Paths{dir / "a", dir / "a/b", dir / "a/b/f", dir / "a/b/up", dir / "a/self"}));
}

TEST(zbDirectoryListing, PathsTooLongAreReportedAndSkipped)
{
    TempDir dir;
    // Nested directories whose full paths pass the walker's limit.
    std::string path = dir.Path();
    std::string component(200, 'n');
    std::vector<std::string> expected;
    while (path.size() < 1100)
    {
        path += "/" + component;
        ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
        WriteFile(path + "/f", "");
        if (path.size() + 2 < 1024)
            expected.push_back(path + "/f");
    }
    const QORListValQORString roots = zbtest::StringList({dir.Path()});
    zbDirectoryListing files(roots);
    files.SetListingMode(zbDirectoryListing::Recursive);
    files.SetListedEntries(zbDirectoryListing::AllButDirectories);
    zbtest::Capture err(2);
    std::vector<std::string> found = Walk(files);
    std::string report = err.Stop();
    EXPECT_EQ(found, expected);
    // The first entry that does not fit is either the next directory or the
    // next file, depending on where the limit falls.
    ASSERT_EQ(files.GetSkipped(), 1);
    const std::string entry = "# Warning: Path longer than 1023 characters skipped: ";
    const std::string directory = "# Warning: Entries of a directory skipped, their paths would "
                                  "be longer than 1023 characters: ";
    EXPECT_TRUE(report.rfind(entry, 0) == 0 || report.rfind(directory, 0) == 0) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1);
}

TEST(zbDirectoryListing, DirectoryWithoutRoomForItsEntries)
{
    TempDir dir;
    // A chain of directories whose deepest path is exactly 1023 characters.
    std::string path = dir.Path();
    while (path.size() < 1023)
    {
        size_t room = 1023 - path.size() - 1;
        path += "/" + std::string(std::min<size_t>(room, 200), 'd');
        ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    }
    ASSERT_EQ(path.size(), 1023u);
    WriteFile(path + "/f", "");
    const QORListValQORString roots = zbtest::StringList({dir.Path()});
    zbDirectoryListing all(roots);
    all.SetListingMode(zbDirectoryListing::Recursive);
    zbtest::Capture err(2);
    std::vector<std::string> found = Walk(all);
    std::string report = err.Stop();
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.back(), path);
    EXPECT_EQ(all.GetSkipped(), 1);
    EXPECT_EQ(report, "# Warning: Entries of a directory skipped, their paths would be longer "
                      "than 1023 characters: " +
                          path + "\n");
}
