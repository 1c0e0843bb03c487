// zbsvc ls, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
// The outcome of zbsvc ls with the listed paths sorted (the order of a
// directory's entries is the system's), relative to iRoot.
std::string Listing(const std::vector<std::string>& iArgs, const std::string& iRoot)
{
    zbtest::ChildResult result = Zbsvc(iArgs);
    std::vector<std::string> lines;
    std::istringstream in(result._Out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.rfind(iRoot, 0) == 0 ? line.substr(iRoot.size() + 1) : line);
    std::sort(lines.begin(), lines.end());
    result._Out.clear();
    for (const std::string& line : lines)
        result._Out += line + " ";
    return Outcome(result);
}

// top, a/f, a/b/g and a/b/loop, a link back to the root.
struct Tree
{
    zbtest::TempDir _Dir;
    Tree()
    {
        for (const char* file : {"top", "a/f", "a/b/g"})
            zbtest::WriteFile(_Dir / file, "");
        (void)::symlink("../..", (_Dir / "a/b/loop").c_str());
    }
    std::string operator/(const std::string& iName) const { return _Dir / iName; }
};
} // namespace

TEST(zbsvcLs, Selections)
{
    Tree tree;
    const std::string root = tree._Dir.Path();
    EXPECT_EQ(Listing({"ls", "-r", "-f", root}, root), "0|a/b/g a/f top |");
    EXPECT_EQ(Listing({"ls", "-r", "-d", root}, root), "0|a a/b a/b/loop |");
    EXPECT_EQ(Listing({"ls", "-r", root}, root), "0|a a/b a/b/g a/b/loop a/f top |");
    EXPECT_EQ(Listing({"ls", root, tree / "a"}, root), "0|a a/b a/f top |");
    // Excluded names are not listed, but a directory excluded is walked.
    EXPECT_EQ(Listing({"ls", "-r", "-x", "a", "-x", "*op", "-x", "loop", root}, root),
              "0|a/b a/b/g a/f |");
}

TEST(zbsvcLs, ErrorsAndUsage)
{
    Tree tree;
    EXPECT_EQ(Outcome(Zbsvc({"ls", "-f", tree / "missing", tree / "a"})),
              "1|" + tree / "a/f\n" + "|# System error on " + tree / "missing" +
                  ": No such file or directory\n");
    EXPECT_EQ(Outcome(Zbsvc({"ls", tree / "top"})),
              "1||# System error on " + tree / "top" + ": Not a directory\n");

    for (const auto& args :
         {std::vector<std::string>{"ls"}, {"ls", "-r"}, {"ls", "-x", "/"}, {"ls", "-f", "-d", "/"}})
    {
        zbtest::ChildResult result = Zbsvc(args);
        EXPECT_EQ(result._Status, 2) << args.back();
        // The parser's diagnostic (or ours for -f with -d), then the hint.
        EXPECT_EQ(result._Err.find("zbsvc ls"), 0u) << result._Err;
        EXPECT_EQ(result._Err.find("\nTry 'zbsvc help ls'.\n"), result._Err.find('\n'))
            << result._Err;
        EXPECT_EQ(result._Out, "");
    }
}

// As a user who may not read some directories: each one is reported, the
// rest is still listed, and the status is 1.
TEST(zbsvcLs, UnreadableDirectoriesAreReported)
{
    if (::geteuid() != 0 || std::system("/usr/bin/setpriv --help >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs root to run as an unprivileged user";
    zbtest::TempDir dir;
    const std::string top = dir / "top";
    ASSERT_EQ(0, std::system(("mkdir -p '" + top + "/open' '" + top + "/shut' && touch '" + top +
                              "/open/f' && chmod -R a+rwx '" + dir.Path() + "' && chmod 0 '" + top +
                              "/shut'")
                                 .c_str()));
    for (const char* recursive : {"", "-r"})
    {
        std::vector<std::string> argv{"/usr/bin/setpriv",
                                      "--reuid=65534",
                                      "--regid=65534",
                                      "--clear-groups",
                                      zbtest::Program("zbsvc"),
                                      "ls",
                                      "-d"};
        if (*recursive)
            argv.push_back(recursive);
        argv.push_back(*recursive ? top : top + "/shut");
        const std::string expected =
            *recursive ? "1|" + top + "/open\n" + top + "/shut\n|# System error on " + top +
                             "/shut: Permission denied\n"
                       : "1||# System error on " + top + "/shut: Permission denied\n";
        std::string outcome = Outcome(zbtest::Run(argv));
        // The order of the two directories is the file system's.
        if (*recursive && outcome.find("/shut\n" + top + "/open\n") != std::string::npos)
            outcome = expected;
        EXPECT_EQ(outcome, expected) << recursive;
    }
}
