// zbsvc find, end to end: header maps, directories, case, names from a file
// and from standard input.

#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

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
    const std::string& Path() const { return _Dir.Path(); }
};
} // namespace

TEST(zbsvcFind, Searches)
{
    Tree tree;
    WriteFile(tree / "names", "m.h\n\nnope.h\na.h");
    WriteFile(tree / "bad", "!<zbhl> v9\n");
    WriteFile(tree / "cut", std::string("!<zbhl> v2.0.1\n@/ws/./X\nm.h\na\0.h\n", 33));
    WriteFile(tree / "damaged",
              std::string("m.h\nnope\0.h\n", 13) + std::string(5000, 'x') + "\na.h\n");
    const std::string m = "/ws/./X/PublicInterfaces/m.h\n", a = "/ws/./X/PublicInterfaces/a.h\n";
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"-map", tree / "map", "m.h", "a.h"}, "", "0|" + m + a + "|"},
        // The directories come first, in order; the map fills in.
        {{"-path", tree / "one" + ":" + tree / "missing", "-path", tree / "two", "-map",
          tree / "map", "a.h", "Foo.H", "m.h"},
         "",
         "0|" + tree / "one/a.h\n" + tree / "two/Foo.H\n" + m + "|"},
        {{"-path", tree / "two", "foo.h", "a.h"},
         "",
         "1|" + tree / "two/a.h\n|# Error: foo.h not found\n"},
        // Without regard to case, the path printed is the one on disk.
        {{"-i", "-path", tree / "two", "foo.h", "A.H"},
         "",
         "0|" + tree / "two/Foo.H\n" + tree / "two/a.h\n|"},
        // A name with a directory part is probed in each directory, in order.
        {{"-path", tree / "missing:" + tree.Path() + ":" + tree / "one", "two/a.h", "one/a.h",
          "two/nope.h"},
         "",
         "1|" + tree / "two/a.h\n" + tree / "one/a.h\n|# Error: two/nope.h not found\n"},
        // Names given, then those of the file, then those of standard input.
        {{"-map", tree / "map", "-names", tree / "names", "-stdin", "a.h"},
         "m.h\n",
         "1|" + a + m + a + m + "|# Error: nope.h not found\n"},
        {{"-names", tree / "none"},
         "",
         "1||# System error on " + tree / "none" + ": No such file or directory\n"},
        {{"-map", tree / "bad", "a.h"},
         "",
         "1||# Error: " + tree / "bad" +
             " is not a header list: its first line is not the header-list magic line\n"},
        // A damaged map keeps its entries before the damage; a damaged line
        // of names is left out; both are reported with their line.
        {{"-map", tree / "cut", "m.h", "a.h"},
         "",
         "1|/ws/./X/m.h\n|# Error: " + tree / "cut" +
             ", line 4: damaged header list (a NUL byte, a cut line, a line outside a block or "
             "longer than a path): the entries from there on are left out\n# Error: a.h not "
             "found\n"},
        {{"-map", tree / "map", "-names", tree / "damaged"},
         "",
         "1|" + m + a + "|# Error: " + tree / "damaged" + ", line 2: not a name (a NUL byte, or " +
             "longer than a path can be): left out\n# Error: " + tree / "damaged" +
             ", line 3: not a name (a NUL byte, or longer than a path can be): left out\n"},
    };
    for (const auto& [args, input, outcome] : cases)
    {
        std::vector<std::string> argv{Program("zbsvc"), "find"};
        argv.insert(argv.end(), args.begin(), args.end());
        EXPECT_EQ(outcome, zbtest::Outcome(zbtest::Run(argv, {}, input))) << args.back();
    }
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "find", "-path", tree / "one"})._Status, 2);
    EXPECT_EQ(zbtest::Run({Program("zbsvc"), "find", "-bogus", "a.h"})._Status, 2);
}
