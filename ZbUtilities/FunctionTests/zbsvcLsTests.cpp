// zbsvc ls, end to end.

#include <algorithm>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Program;

using zbtest::TempDir;

namespace
{
std::vector<std::string> SortedLines(const std::string& iText)
{
    std::vector<std::string> lines;
    std::istringstream in(iText);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

struct Tree
{
    TempDir _Dir;
    Tree()
    {
        ::mkdir((_Dir / "a").c_str(), 0755);
        ::mkdir((_Dir / "a/b").c_str(), 0755);
        zbtest::WriteFile(_Dir / "top", "");
        zbtest::WriteFile(_Dir / "a/f", "");
        zbtest::WriteFile(_Dir / "a/b/g", "");
        (void)::symlink("../..", (_Dir / "a/b/loop").c_str());
    }
    std::string operator/(const std::string& iName) const { return _Dir / iName; }
};
} // namespace

TEST(zbsvcLs, Selections)
{
    Tree tree;
    std::string root = tree._Dir.Path();
    auto result = zbtest::Run({Program("zbsvc"), "ls", "-r", "-f", root});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(SortedLines(result._Out),
              (std::vector<std::string>{tree / "a/b/g", tree / "a/f", tree / "top"}));

    result = zbtest::Run({Program("zbsvc"), "ls", "-r", "-d", root});
    EXPECT_EQ(result._Status, 0);
    EXPECT_EQ(SortedLines(result._Out),
              (std::vector<std::string>{tree / "a", tree / "a/b", tree / "a/b/loop"}));

    result = zbtest::Run({Program("zbsvc"), "ls", "-r", root});
    EXPECT_EQ(SortedLines(result._Out).size(), 6u);

    result = zbtest::Run({Program("zbsvc"), "ls", root, tree / "a"});
    EXPECT_EQ(result._Status, 0);
    EXPECT_EQ(SortedLines(result._Out),
              (std::vector<std::string>{tree / "a", tree / "a/b", tree / "a/f", tree / "top"}));
    EXPECT_EQ(result._Err, "");
}

TEST(zbsvcLs, ErrorsAndUsage)
{
    Tree tree;
    auto result = zbtest::Run({Program("zbsvc"), "ls", "-f", tree / "missing", tree / "a"});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Out, tree / "a/f\n");
    EXPECT_EQ(result._Err,
              "# System error on " + tree / "missing" + ": No such file or directory\n");

    result = zbtest::Run({Program("zbsvc"), "ls", tree / "top"});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Err, "# System error on " + tree / "top" + ": Not a directory\n");

    for (std::vector<std::string> args :
         {std::vector<std::string>{"ls"}, {"ls", "-r"}, {"ls", "-x", "/"}, {"ls", "-f", "-d", "/"}})
    {
        args.insert(args.begin(), Program("zbsvc"));
        result = zbtest::Run(args);
        EXPECT_EQ(result._Status, 2) << args[2];
        // The parser's diagnostic (or ours for -f with -d), then the usage.
        EXPECT_EQ(result._Err.find("zbsvc ls"), 0u) << result._Err;
        EXPECT_NE(result._Err.find("zbsvc ls usage:\n"), std::string::npos) << result._Err;
        EXPECT_EQ(result._Out, "");
    }
}

TEST(zbsvcLs, ExcludedNames)
{
    Tree tree;
    auto result = zbtest::Run(
        {Program("zbsvc"), "ls", "-r", "-x", "a", "-x", "*op", "-x", "loop", tree._Dir.Path()});
    EXPECT_EQ(result._Status, 0) << result._Err;
    // a is skipped but still walked.
    EXPECT_EQ(SortedLines(result._Out),
              (std::vector<std::string>{tree / "a/b", tree / "a/b/g", tree / "a/f"}));
}
