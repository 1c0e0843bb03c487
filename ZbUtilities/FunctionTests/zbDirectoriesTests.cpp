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
// The type and mode of what is at iPath (not followed), 0 for nothing.
mode_t Mode(const std::string& iPath)
{
    struct stat st;
    return ::lstat(iPath.c_str(), &st) == 0 ? st.st_mode : 0;
}

using Paths = std::vector<std::string>;

// Every entry a walker gives, in its order or sorted.
Paths Walk(zbDirectoryListing& ioListing, bool iSorted = false)
{
    Paths out;
    while (const char* entry = ioListing.GetEntry())
        out.push_back(entry);
    if (iSorted)
        std::sort(out.begin(), out.end());
    return out;
}

struct Listing
{
    QORListValQORString _Roots;
    zbDirectoryListing _Walker;
    Listing(std::initializer_list<std::string> iRoots, int iRecursive,
            zbDirectoryListing::ListedEntries iEntries = zbDirectoryListing::AllEntries)
        : _Roots(zbtest::StringList(iRoots)), _Walker(_Roots)
    {
        if (iRecursive)
            _Walker.SetListingMode(zbDirectoryListing::Recursive);
        _Walker.SetListedEntries(iEntries);
    }
};
} // namespace

// (Separators turned, ending ones eaten, lists split and joined again are
// checked against their texts by the path-list fuzz target's replay.)
TEST(zbDirectories, PathStringsWorkspaceChainAndDirectoriesMadeAndRemoved)
{
    EXPECT_TRUE(!zbDosifyPath(nullptr) && !zbUnixifyPath(nullptr) && !zbEatEndingSlash(nullptr));
    char empty[] = "";
    EXPECT_EQ(zbEatEndingSlash(empty), empty);

    // Only existing directories, quoted or not, each after its prefix; no
    // separator after the last kept element.
    QORString joined, quoted("X=");
    zbCreatePathConcatenation(joined, StringList({"/tmp", "/nonexistent"}), nullptr, nullptr, 0);
    EXPECT_EQ(joined.Std(), "/tmp");
    zbCreatePathConcatenation(quoted, StringList({"/nonexistent", "/tmp", "/etc/passwd", "/"}),
                              "-I", " ", 1);
    EXPECT_EQ(quoted.Std(), "X=-I\"/tmp\" -I\"/\"");

    // The workspace chain (empty entries, missing and one-line configurations
    // are reported through zbsvc wschain): appended after the list's entries,
    // each with a suffix; the lines after the second are ignored, one without
    // a line feed counts.
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"header\n:/ws/a::/ws/b:\nignored\n", {"first", "/ws/a/code", "/ws/b/code"}},
        {"header\n/x", {"first", "/x/code"}}};
    for (const auto& [config, expected] : cases)
    {
        TempDir ws;
        WriteFile(ws / "Install_config", config);
        QORListValQORString out;
        out.Append(QORString("first"));
        EXPECT_EQ(zbGetWorkspacesConcatenation(QORString(ws.Path()), out, "/code"), 0);
        EXPECT_EQ(Strings(out), expected);
    }

    // Directories made and removed.
    TempDir dir;
    std::string abc = dir / "a/b/c";
    for (const std::string& path : {abc, abc, dir / "x//y/", std::string()})
        EXPECT_EQ(zbCreateDirectory(path.c_str()), 0) << path;
    EXPECT_EQ(Mode(abc), S_IFDIR | 0755u);
    EXPECT_TRUE(S_ISDIR(Mode(dir / "x/y")));

    // An existing file is not a directory: that is a failure, not a success.
    WriteFile(dir / "file", "f");
    for (const char* path : {"file", "file/sub"})
    {
        EXPECT_EQ(zbCreateDirectory((dir / path).c_str()), 1) << path;
        EXPECT_EQ(zbExtLastError.GetErrno(), ENOTDIR) << path;
    }

    // (A directory from a dirname, and one created or replaced, are made by
    // the example workspace builder and zbsvc rtv, wsbuild and rtv.t.)
    EXPECT_EQ(zbCreateOrReplaceDirectoryFromDirname(zbFileName((dir / "o/leaf").c_str())), 0);
    EXPECT_TRUE(S_ISDIR(Mode(dir / "o")));

    std::string bad = dir / "file/sub";
    char* args[] = {&bad[0], nullptr};
    zbtest::Capture err(2);
    EXPECT_EQ(zbCreateDirectory("mkdir", args), 1);
    EXPECT_EQ(err.Stop(), "# System error on " + bad + ": Not a directory\n");

    // Removed: read-only directories, links left alone (not followed).
    std::string tree = dir / "tree", outside = dir / "outside";
    WriteFile(outside + "/keep", "keep");
    WriteFile(tree + "/ro/f", "f");
    WriteFile(tree + "/ro/deeper/g", "g");
    WriteFile(tree + "/top", "t");
    ASSERT_EQ(::symlink(outside.c_str(), (tree + "/ro/out").c_str()), 0);
    ASSERT_EQ(::symlink("missing", (tree + "/dangling").c_str()), 0);
    ASSERT_EQ(::chmod((tree + "/ro/deeper").c_str(), 0500), 0);
    ASSERT_EQ(::chmod((tree + "/ro").c_str(), 0500), 0);

    EXPECT_EQ(zbRemoveDirectory(tree.c_str(), 0), 0);
    EXPECT_FALSE(Mode(tree));
    EXPECT_EQ(zbRemoveDirectory(tree.c_str(), 0), 0);
    EXPECT_EQ(zbRemoveDirectory("", 0), 0);

    // A link given as the directory is removed itself, never followed.
    ASSERT_EQ(::symlink(outside.c_str(), (dir / "alias").c_str()), 0);
    EXPECT_EQ(zbRemoveDirectory((dir / "alias").c_str(), 0), 0);
    EXPECT_FALSE(Mode(dir / "alias"));
    EXPECT_EQ(ReadFile(outside + "/keep"), "keep");

    // A file is not a directory.
    EXPECT_EQ(zbRemoveDirectory((outside + "/keep").c_str(), 0), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOTDIR);
    EXPECT_TRUE(Mode(outside + "/keep"));

    EXPECT_EQ(zbRemoveDirectoryFromDirname(zbFileName((outside + "/anything").c_str())), 0);
    EXPECT_FALSE(Mode(outside));
}

TEST(zbDirectoryListing, ReaderAndWalker)
{
    TempDir dir;
    for (const char* file : {"f0", "d1/f1", "d1/d11/f11", "d2/f2"})
        WriteFile(dir / file, "");
    ASSERT_EQ(::symlink("d1/f1", (dir / "d2/lf").c_str()), 0);

    Listing files({dir.Path()}, 1, zbDirectoryListing::AllButDirectories);
    Paths found = Walk(files._Walker);
    EXPECT_EQ(Walk(files._Walker), Paths{});
    files._Walker.Rewind();
    EXPECT_EQ(Walk(files._Walker), found);
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
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (Paths{dir / "d1/d11/f11", dir / "d1/f1", dir / "d2/f2", dir / "d2/lf", dir / "f0"}));
    // (Directories only, and one level, are listed through zbsvc ls.)

    // Missing roots are skipped silently; a root given with its separator
    // is not doubled.
    Listing second({dir / "missing", dir / "d2/"}, 0, zbDirectoryListing::AllButDirectories);
    EXPECT_EQ(Walk(second._Walker, true), (Paths{dir / "d2/f2", dir / "d2/lf"}));

    // A chain of directories whose deepest path is exactly 1023 characters:
    // the entries of the last one are skipped, and reported.
    TempDir deep;
    std::string path = deep.Path();
    while (path.size() < 1023)
        path += "/" + std::string(std::min<size_t>(1022 - path.size(), 200), 'd');
    WriteFile(path + "/f", "");
    Listing all({deep.Path()}, 1);
    zbtest::Capture err(2);
    found = Walk(all._Walker);
    std::string report = err.Stop();
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.back(), path);
    EXPECT_EQ(all._Walker.GetSkipped(), 1);
    EXPECT_EQ(report, "# Warning: Entries of a directory skipped, their paths would be longer "
                      "than 1023 characters: " +
                          path + "\n");

    // Entries over many batches, read relative to an open directory whose
    // one entry comes again once rewound; never a dot.
    TempDir big;
    std::set<std::string> made, read;
    for (int i = 0; i < 3000; ++i)
    {
        const std::string name = "a-name-long-enough-to-fill-batches-" + std::to_string(i);
        WriteFile(big / ("many/" + name), "");
        made.insert(name);
    }
    zbDirectory reader(big.Path().c_str());
    ASSERT_FALSE(reader.Failed());
    ASSERT_NE(reader.FindFirstEnt(), nullptr);
    EXPECT_EQ(reader.FindNextEnt(), nullptr);
    ASSERT_NE(reader.FindFirstEnt(), nullptr);
    EXPECT_STREQ(reader.CheckEnt()->d_name, "many");
    zbDirectory many(reader.GetFd(), "many");
    for (struct dirent64* e = many.FindNextEnt(); e; e = many.FindNextEnt())
        read.insert(e->d_name);
    EXPECT_FALSE(many.Failed());
    EXPECT_EQ(read, made);

    zbDirectory missing((big / "missing").c_str());
    EXPECT_TRUE(missing.Failed());
    EXPECT_EQ(missing.GetError(), ENOENT);
    EXPECT_EQ(missing.FindFirstEnt(), nullptr);
    EXPECT_EQ(missing.CheckEnt(), nullptr);
}
