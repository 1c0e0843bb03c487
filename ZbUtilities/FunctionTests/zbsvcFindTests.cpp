// zbsvc find, end to end: header maps, directories, case, names from a file
// and from standard input.

#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Program;
using zbtest::TempDir;
using zbtest::WriteFile;

namespace
{
struct Tree
{
    TempDir _Dir;
    Tree()
    {
        ::mkdir((_Dir / "one").c_str(), 0755);
        ::mkdir((_Dir / "two").c_str(), 0755);
        WriteFile(_Dir / "one/a.h", "");
        WriteFile(_Dir / "two/a.h", "");
        WriteFile(_Dir / "two/Foo.H", "");
        WriteFile(_Dir / "map", "!<zbhl> v2.0.1\n@/ws/./X/PublicInterfaces\nm.h\na.h\n");
    }
    std::string operator/(const std::string& iName) const { return _Dir / iName; }
};
} // namespace

TEST(zbsvcFind, MapAndDirectories)
{
    Tree tree;
    auto result = zbtest::Run({Program("zbsvc"), "find", "-map", tree / "map", "m.h", "a.h"});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(result._Out, "/ws/./X/PublicInterfaces/m.h\n/ws/./X/PublicInterfaces/a.h\n");

    // The directories come first, in order; the map fills in.
    result = zbtest::Run({Program("zbsvc"), "find", "-path", tree / "one" + ":" + tree / "missing",
                          "-path", tree / "two", "-map", tree / "map", "a.h", "Foo.H", "m.h"});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(result._Out,
              tree / "one/a.h\n" + tree / "two/Foo.H\n" + "/ws/./X/PublicInterfaces/m.h\n");
}

TEST(zbsvcFind, NotFoundAndCase)
{
    Tree tree;
    auto result = zbtest::Run({Program("zbsvc"), "find", "-path", tree / "two", "foo.h", "a.h"});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Out, tree / "two/a.h\n");
    EXPECT_EQ(result._Err, "# Error: foo.h not found\n");

    result = zbtest::Run({Program("zbsvc"), "find", "-i", "-path", tree / "two", "foo.h", "A.H"});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(result._Out, tree / "two/foo.h\n" + tree / "two/A.H\n");
}

TEST(zbsvcFind, NamesFromAFileAndStandardInput)
{
    Tree tree;
    WriteFile(tree / "names", "m.h\n\nnope.h\na.h");
    auto result = zbtest::Run(
        {Program("zbsvc"), "find", "-map", tree / "map", "-names", tree / "names", "-stdin", "a.h"},
        {}, "m.h\n");
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Out, "/ws/./X/PublicInterfaces/a.h\n/ws/./X/PublicInterfaces/m.h\n"
                           "/ws/./X/PublicInterfaces/a.h\n/ws/./X/PublicInterfaces/m.h\n");
    EXPECT_EQ(result._Err, "# Error: nope.h not found\n");

    result = zbtest::Run({Program("zbsvc"), "find", "-names", tree / "none"});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Err, "# System error on " + tree / "none" + ": No such file or directory\n");
}

TEST(zbsvcFind, BadMapAndUsage)
{
    Tree tree;
    WriteFile(tree / "bad", "!<zbhl> v9\n");
    auto result = zbtest::Run({Program("zbsvc"), "find", "-map", tree / "bad", "a.h"});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Out, "");
    EXPECT_EQ(result._Err, "# System error on " + tree / "bad" + ": Bad file descriptor\n");

    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "find", "-path", tree / "one"})._Status, 2);
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "find", "-bogus", "a.h"})._Status, 2);
}
