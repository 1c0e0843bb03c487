// zbsvc find, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
struct Tree
{
    TempDir _Dir;
    Tree()
    {
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
    WriteFile(tree / "damaged", "m.h\n" + std::string(5000, 'x') + "\na.h\n");
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
             "longer than a path can be): left out\n"},
    };
    for (auto [args, input, outcome] : cases)
    {
        args.insert(args.begin(), "find");
        EXPECT_EQ(outcome, Outcome(Zbsvc(args, {}, input))) << args.back();
    }
    EXPECT_EQ(Zbsvc({"find", "-path", tree / "one"})._Status, 2);
    EXPECT_EQ(Zbsvc({"find", "-bogus", "a.h"})._Status, 2);
}

// Thousands of names over a generated map, with and without the plain-name
// way, missing names between found ones and names from every source: the
// output, standard error merged in order, is the one recorded.
TEST(zbsvcFind, GeneratedMapOutputIsUnchanged)
{
    TempDir dir;
    // Three directories; the second repeats half of the first's names (the
    // first one wins) and one entry holds a backslash.
    std::string map = "!<zbhl> v2.0.1\n";
    const char* dirs[] = {"@/ws/./A/PublicInterfaces", "@|/ws/./B/PublicInterfaces",
                          "@>/ws/./C/PublicInterfaces"};
    char line[64];
    for (int d = 0; d < 3; ++d)
    {
        map += std::string(dirs[d]) + "\n";
        for (int i = d * 300; i < d * 300 + 600; ++i)
        {
            std::snprintf(line, sizeof line, "H%04d.h\n", i);
            map += line;
        }
    }
    map += "Dos\\Name.h\n";
    WriteFile(dir / "map", map);
    std::string plain;
    unsigned int x = 12345;
    for (int k = 0; k < 6000; ++k)
    {
        x = 1103515245u * x + 12345u;
        std::snprintf(line, sizeof line, "H%04u.h\n", (x >> 8) % 1300);
        plain += line;
    }
    WriteFile(dir / "plain", plain);
    WriteFile(dir / "odd", "H0001.h/\nDos\\Name.h\nH0002.h\nH1250.h\nA/H0003.h\nH0004.h\n");
    const std::string command = "\"$0\" find -map " + dir / "map" + " H0005.h H9999.h -names " +
                                dir / "plain" + " -stdin 2>&1; \"$0\" find -map " + dir / "map" +
                                " -names " + dir / "odd" + " 2>&1";
    zbtest::ChildResult r =
        zbtest::Run({"/bin/sh", "-c", command, Program("zbsvc")}, {}, plain.substr(0, 2400));
    unsigned long long sum = 14695981039346656037ull;
    int lines = 0;
    for (char c : r._Out)
    {
        sum = (sum ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        lines += c == '\n';
    }
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(lines, 6000 + 300 + 2 + 6);
    EXPECT_EQ(sum, 0xa8977df77204d5efull) << r._Out.substr(0, 400);
}
