// zbsvc treediff and copytree, end to end, on a generated tree.

#include <cstdint>
#include <utime.h>

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
// Every entry below iRoot, sorted: directories by name, links with their
// texts, files with mode, size and modification time.
std::string Listing(const std::string& iRoot)
{
    const char* script = "cd \"$0\" && { find . -type d; find . -type l -printf '%p -> %l\\n'; "
                         "find . -type f -exec stat -c '%n %a %s %Y' {} +; } | sort";
    return zbtest::Run({"/bin/sh", "-c", script, iRoot})._Out;
}

// A deterministic tree: 12 directories (some nested) of files of various
// sizes and modes, links to files and to a directory.
void Generate(const std::string& iRoot)
{
    uint32_t seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFF; };
    ::mkdir(iRoot.c_str(), 0755);
    for (int d = 0; d < 12; ++d)
    {
        std::string dir = iRoot + "/d" + std::to_string(d);
        if (d % 3 == 2)
            dir = iRoot + "/d" + std::to_string(d - 1) + "/sub" + std::to_string(d);
        ::mkdir(dir.c_str(), 0755);
        for (int f = 0; f < 25; ++f)
        {
            std::string file = dir + "/f" + std::to_string(f) + (f % 4 ? ".c" : ".h");
            zbtest::WriteFile(file, std::string(next() % 300, 'a' + f % 26));
            ::chmod(file.c_str(), f % 5 ? 0644 : 0755);
            struct utimbuf times = {static_cast<time_t>(1600000000 + next()),
                                    static_cast<time_t>(1500000000 + next() * 10)};
            ::utime(file.c_str(), &times);
        }
        ::symlink("f1.c", (dir + "/link").c_str());
    }
    ::symlink("d0", (iRoot + "/dirlink").c_str());
}
// For root every access succeeds: the start of a command line that runs
// as the owner of iDir's files, made another user's when run by root.
// False when that cannot be done.
bool AsOwner(const zbtest::TempDir& iDir, std::vector<std::string>& oArgv)
{
    if (::geteuid() != 0)
        return true;
    if (::access("/usr/bin/setpriv", X_OK) != 0 ||
        std::system(("chown -R 65534:65534 " + iDir.Path()).c_str()) != 0)
        return false;
    oArgv = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    return true;
}
} // namespace

TEST(zbsvcTreediff, EveryKindOfChange)
{
    zbtest::TempDir dir;
    const std::string a = dir / "A", b = dir / "B";
    Generate(a);
    ASSERT_EQ(std::system(("cp -a '" + a + "' '" + b + "'").c_str()), 0);
    // The same trees: nothing, and status 0 with -q.
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-modes", a, b})), "0||");
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-q", a, b})), "0||");

    // Sizes, contents, times, modes, link texts and types changed; files
    // and a directory added and removed on either side.
    zbtest::WriteFile(b + "/d0/f1.c", "longer content than before, longer still");
    zbtest::WriteFile(b + "/d1/f2.c", std::string(zbtest::ReadFile(a + "/d1/f2.c").size(), '#'));
    struct stat st;
    ::stat((a + "/d1/f2.c").c_str(), &st);
    struct utimbuf same = {st.st_atime, st.st_mtime}; // same size and time: not seen
    ::utime((b + "/d1/f2.c").c_str(), &same);
    struct utimbuf older = {1, 1000}, later = {1, 2000000000};
    ::utime((b + "/d3/f4.h").c_str(), &older);
    ::utime((b + "/d4/f5.c").c_str(), &later);
    ::chmod((b + "/d4/f6.c").c_str(), 0600);
    ::chmod((b + "/d1/sub2/f7.c").c_str(), 0755);
    ::unlink((b + "/d6/link").c_str());
    ::symlink("f2.c", (b + "/d6/link").c_str());
    ::unlink((b + "/d7/f9.c").c_str());
    ::mkdir((b + "/d7/f9.c").c_str(), 0755);
    ::unlink((b + "/d9/f9.c").c_str());
    std::system(("rm -rf '" + b + "/d10'").c_str());
    zbtest::WriteFile(b + "/d9/new.c", "new");
    ::mkdir((b + "/extra").c_str(), 0755);
    zbtest::WriteFile(b + "/extra/x", "x");
    zbtest::WriteFile(a + "/d0/only-in-a", "a");

    // In the order of the paths, then of the codes.
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-modes", a, b})),
              "0|size d0/f1.c\ntime d0/f1.c\nadded d0/only-in-a\nmode d1/sub2/f7.c\nadded d10\n"
              "newer d3/f4.h\ntime d3/f4.h\ntime d4/f5.c\nmode d4/f6.c\nlink d6/link\n"
              "type d7/f9.c\nadded d9/f9.c\nremoved d9/new.c\nremoved extra\n|");
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-q", a, b})), "1||");

    // Without -modes no mode line.  Through links, A's links stand for what
    // they point to, and B must hold the same as real files: each of B's
    // links is a change of type.
    zbtest::ChildResult result = Zbsvc({"treediff", a, b});
    EXPECT_EQ(result._Out.find("mode "), std::string::npos);
    result = Zbsvc({"treediff", "-links", "0", a, b});
    EXPECT_EQ(result._Out.find("link "), std::string::npos) << result._Out;
    EXPECT_NE(result._Out.find("type d6/link\n"), std::string::npos) << result._Out;
    EXPECT_NE(result._Out.find("type dirlink\n"), std::string::npos) << result._Out;
}

TEST(zbsvcTreediff, CopytreeKeepsEverything)
{
    zbtest::TempDir dir;
    const std::string a = dir / "A";
    Generate(a);
    ::chmod((a + "/d0/f2.c").c_str(), 0400);
    ::chmod((a + "/d3").c_str(), 0555);
    ::symlink(std::string(2000, 'z').c_str(), (a + "/longlink").c_str());
    EXPECT_EQ(Outcome(Zbsvc({"copytree", a, dir / "copy"})), "0||");
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-modes", "-links", "2", a, dir / "copy/A"})), "0||");
    const std::string listing = Listing(a);
    EXPECT_NE(listing.find("\n./d0/f2.c 400 "), std::string::npos) << listing;
    EXPECT_EQ(Listing(dir / "copy/A"), listing);
    struct stat st;
    ASSERT_EQ(::stat((dir / "copy/A/d3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0555u);

    // Links followed: the copies are files and a directory, same content.
    ::unlink((a + "/longlink").c_str());
    EXPECT_EQ(Outcome(Zbsvc({"copytree", "-links", "0", a, dir / "followed"})), "0||");
    ASSERT_EQ(::lstat((dir / "followed/A/dirlink").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(zbtest::ReadFile(dir / "followed/A/d5/link"), zbtest::ReadFile(a + "/d5/f1.c"));
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-links", "0", a, dir / "followed/A"})), "0||");
}

TEST(zbsvcTreediff, CopytreeRestoresTheRightsItAddsToWrite)
{
    // As the owner, not as root (for root every access succeeds and no
    // right is ever added): a read-only target directory and read-only
    // copies get write rights for the time of the copy, then their own back.
    zbtest::TempDir dir;
    const std::string a = dir / "A", to = dir / "to";
    Generate(a);
    ::chmod((a + "/d0/f2.c").c_str(), 0444);
    ::chmod((a + "/d3").c_str(), 0555);
    ::mkdir(to.c_str(), 0755);
    std::vector<std::string> argv;
    if (!AsOwner(dir, argv))
        GTEST_SKIP() << "no setpriv to run the copy as another user";
    ::chmod(to.c_str(), 0555);
    argv.insert(argv.end(), {zbtest::Program("zbsvc"), "copytree", a, to});
    EXPECT_EQ(Outcome(zbtest::Run(argv)), "0||");
    const std::pair<std::string, unsigned> modes[] = {
        {to, 0555}, {to + "/A/d3", 0555}, {to + "/A/d0/f2.c", 0444}};
    for (const auto& [path, mode] : modes)
    {
        struct stat st;
        ASSERT_EQ(::lstat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_mode & 07777, mode) << path;
    }
    ::chmod(to.c_str(), 0755);
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-modes", "-links", "2", a, to + "/A"})), "0||");
}

TEST(zbsvcTreediff, ErrorsAndUsage)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "file", "");
    EXPECT_EQ(Outcome(Zbsvc({"treediff", dir / "missing", dir.Path()})),
              "1||# System error on " + dir / "missing" + ": No such file or directory\n");
    EXPECT_EQ(Outcome(Zbsvc({"treediff", "-q", dir.Path(), dir / "file"})),
              "2||# System error on " + dir / "file" + ": Not a directory\n");
    EXPECT_EQ(Outcome(Zbsvc({"copytree", dir / "missing", dir / "to"})),
              "1||# Error: Copy of " + dir / "missing" + " into " + dir / "to" +
                  " incomplete: " + dir / "missing" + ": No such file or directory\n");
    // A directory that cannot be read is named, in either tree.
    ::mkdir((dir / "A").c_str(), 0755);
    ::mkdir((dir / "A/locked").c_str(), 0755);
    std::vector<std::string> argv;
    if (AsOwner(dir, argv))
    {
        ::chmod((dir / "A/locked").c_str(), 0);
        argv.insert(argv.end(), {zbtest::Program("zbsvc"), "treediff", dir.Path(), dir / "A"});
        EXPECT_EQ(Outcome(zbtest::Run(argv)), "1||# Error: " + dir.Path() +
                                                  " could not be read whole: " + dir / "A/locked" +
                                                  ": Permission denied\n");
    }
    for (const auto& args : {std::vector<std::string>{"treediff", "a"},
                             {"treediff", "-links", "3", "a", "b"},
                             {"copytree", "-links", "2", "a", "b"},
                             {"copytree", "a"}})
    {
        zbtest::ChildResult result = Zbsvc(args);
        EXPECT_EQ(result._Status, 2) << args[1];
        EXPECT_NE(result._Err.find("Try 'zbsvc help " + args[0] + "'."), std::string::npos)
            << result._Err;
    }
}
