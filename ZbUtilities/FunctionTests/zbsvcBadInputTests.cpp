// Every verb that reads a file, against each kind of bad input: a status and a
// report naming the file, never a signal, never a hang.

#include "zbTestSupport.h"

namespace
{
// The kinds of bad input, in the order of the expected outcomes of a row.
enum Kind
{
    Empty,      // no byte at all
    Random,     // 4096 bytes of noise, the same at every run
    Directory,  // a directory in the file's place
    Truncated,  // the valid input without its last 3 bytes
    Nul,        // the valid input with a NUL byte in its middle
    LongLine,   // the valid input, then a line of 1 MB
    Unreadable, // the valid input, mode 0, read by an unprivileged user
    KindCount
};
const char* const kKindNames[KindCount] = {"empty",    "random",    "directory", "truncated",
                                           "nul byte", "1 MB line", "unreadable"};

// A verb row.  In _Args (blank-separated) "@" is the bad input's path and
// "%" the case's directory.  _Expected gives one character per kind:
//   '1' or '2': that status, and standard error names the bad input's file
//        (its path, or as a search path spells it, "DIR/./INPUT");
//   '0': a valid input for the verb, status 0;
//   'f': status 1 for a finding about what the input holds, reported in
//        the words of the finding (a name not found, a framework without
//        its data), not by the input's path.
struct Verb
{
    const char* _Name;
    const char* _Args;
    const char* _Input;    // where the bad input goes, under the case's directory
    const char* _Valid;    // a valid input; null: the input is a directory
    const char* _Expected; // empty random dir truncated nul long unreadable
    const char* _Extra;    // another file the row needs, "PATH=TEXT", or null
    const char* _Env;      // "NAME=VALUE" for the run, or null
};

const char kList[] = "!<zbhl> v2.0.1\n@A\nx.h\ny.h\n";
const char kRtv[] = "!<zbRTViewData> v1.0.0\nRTV/000/CUS lib/a.so|code/lib/a.so\n";
const char kBlock[] = "<block>"; // stands for a block packed by the test

// Row numbers in the comments, to find a failing row.  The outcomes, in
// the order of the kinds: empty, random, directory, truncated, NUL byte,
// 1 MB line, unreadable.
// clang-format off
const Verb kVerbs[] = {
    // Text files: an empty one is an empty set (or defines no level, which
    // is refused); a cut one holds a shorter value; a line of 1 MB is a line.
    /*  1 */ {"context -v", "context -v", "code/tools/config/MainSpecifications.mk",
              "Product = zbzb\nTitle = $(Product) V5\n", "0110101", nullptr, "MY_ZBZB_CONFIG=%"},
    /*  2 */ {"version data", "version -level %/lvl", "code/tools/data/zbVersionData.mk",
              "#ifdef ZB_V5\nMajorVersion = 5\nMinorVersion = 21\n#endif\n", "1111101",
              "lvl/TALVEXV5Level.lvl=#define ZB_V5\n", "MY_ZBZB_DATA=%"},
    // A cut level file defines another level: the version data's other branch.
    /*  3 */ {"version -level", "version -level %", "TALVEXV5Level.lvl", "#define ZB_V5\n",
              "1110101", nullptr, nullptr},
    // Any bytes have a CRC.
    /*  4 */ {"crc", "crc @", "f", "text\n", "0010001", nullptr, nullptr},
    /*  5 */ {"ls", "ls @", "d", nullptr, "1101111", nullptr, nullptr},
    // A file in the tree is listed whatever it holds.
    /*  6 */ {"ls -r", "ls -r %/tree", "tree/sub", nullptr, "0000001", nullptr, nullptr},
    /*  7 */ {"wschain", "wschain %", "Install_config", "# chain\n/ws/one:/ws/two\n",
              "1110101", nullptr, nullptr},
    /*  8 */ {"macros", "macros @", "f.mk", "A = 1\nB = $(A) two\n", "0110101", nullptr, nullptr},
    /*  9 */ {"macros -level", "macros -level @ %/m.mk", "l.lvl", "#define L 1\n", "1110101",
              "m.mk=#if L\nA = 1\n#endif\n", nullptr},
    /* 10 */ {"macros include", "macros -I % %/m.mk", "inc.mk", "A = 1\nB = $(A) two\n",
              "0110101", "m.mk=include inc.mk\n", nullptr},
    /* 11 */ {"pp", "pp -nocheck @", "f.mk", "NAME = demo\n#define X 1\n", "0110101", nullptr,
              nullptr},
    /* 12 */ {"pp -level", "pp -level @ %/m.mk", "l.lvl", "#define L 1\n", "1110101",
              "m.mk=#if L\nA = 1\n#endif\n", nullptr},
    /* 13 */ {"pp -expand", "pp -nocheck -expand -I % %/m.mk", "inc.mk", "NAME = demo\n",
              "0110101", "m.mk=#include \"inc.mk\"\n", nullptr},
    /* 14 */ {"block info", "block info @", "b", kBlock, "1111111", nullptr, nullptr},
    /* 15 */ {"block unpack", "block unpack @ %/out", "b", kBlock, "1111111", nullptr, nullptr},
    // Any bytes can be packed.
    /* 16 */ {"block pack", "block pack -v 1.0.0 @ %/out", "f", "text\n", "0010001", nullptr,
              nullptr},
    /* 17 */ {"hlist", "hlist -ws % -o %/out.hl d", "d", nullptr, "1101111", nullptr, nullptr},
    /* 18 */ {"hmap", "hmap -o %/map %=@", "l.hl", kList, "1111111", nullptr, nullptr},
    /* 19 */ {"find -map", "find -map @ x.h", "l.hl", kList, "1111111", nullptr, nullptr},
    // No name is a valid list; a cut name is not found.
    /* 20 */ {"find -names", "find -path % -names @", "names", "names\n", "011f111", nullptr,
              nullptr},
    // A file where a directory is expected, or an empty directory, holds
    // no name.
    /* 21 */ {"find -path", "find -path @ x.h", "d", nullptr, "ffffff1", nullptr, nullptr},
    /* 22 */ {"mdf", "mdf @", "f.mdf", "*SOURCES\n  main.c\n", "1110101", nullptr, nullptr},
    // Record files: a last record without its line feed is read (cut, it
    // holds a shorter name); no record is 1 MB long.
    /* 23 */ {"rtv list", "rtv list @", "f.data", kRtv, "1110111", nullptr, nullptr},
    /* 24 */ {"rtv merge", "rtv merge -o %/out @", "f.data", kRtv, "1110111", nullptr, nullptr},
    /* 25 */ {"rtvstat", "rtvstat -root % -o %/out FW=@", "f.data", kRtv, "1110111", nullptr,
              nullptr},
    /* 26 */ {"rtvstat -list", "rtvstat -list @", "f.stat",
              "!<zbRTViewDataStat> v1.0.0\nRTV/000/CUS bin/tool|B/tool|0@0|B\n", "1110111",
              nullptr, nullptr},
    // Lines that are not "SIZE@TIME PATH" are skipped: an empty or cut
    // listing is a listing.
    /* 27 */ {"lsdiff", "lsdiff @ %/new", "old", "1@1 a\n2@2 b\n", "0110101", "new=1@1 a\n",
              nullptr},
    // Strictly, a directory in the place of the framework's data is
    // reported; the lenient view of modules skips it as no data file.
    /* 28 */ {"rtview", "rtview -os linux_a64 %/fw", "fw/various/linux_a64/framework.data", kRtv,
              "11f0111", nullptr, nullptr},
    /* 29 */ {"modules", "modules -os linux_a64 %/fw", "fw/various/linux_a64/framework.data",
              kRtv, "1100111", nullptr, nullptr},
    // Anything but the two install modes is type 0, a directory in the
    // marker's place too.
    /* 30 */ {"installtype", "installtype %/fw", "fw/.installation.mode", "COPYFW_INSTALLATION\n",
              "0000001", nullptr, nullptr},
    // Any file is copied.
    /* 31 */ {"copytree", "copytree @ %/out", "f", "text\n", "0000001", nullptr, nullptr},
    /* 32 */ {"treediff", "treediff @ %/b", "a", nullptr, "1101111", "b/f=", nullptr},
};
// clang-format on

std::string Noise()
{
    std::string bytes(4096, '\0');
    unsigned int state = 12345;
    for (char& byte : bytes)
        byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
    return bytes;
}

std::string Replace(const std::string& iText, char iWhat, const std::string& iBy)
{
    std::string out;
    for (char c : iText)
        out += c == iWhat ? iBy : std::string(1, c);
    return out;
}

void MakeInput(const std::string& iPath, Kind iKind, const std::string& iValid, bool iIsDir)
{
    const size_t half = iValid.size() / 2, cut = iValid.size() < 3 ? 0 : iValid.size() - 3;
    if (iKind == Directory || (iIsDir && iKind == Unreadable))
        zbtest::MakeDirs(iPath);
    else
        zbtest::WriteFile(iPath, iKind == Empty       ? ""
                                 : iKind == Random    ? Noise()
                                 : iKind == Truncated ? iValid.substr(0, cut)
                                 : iKind == Nul
                                     ? iValid.substr(0, half) + '\0' + iValid.substr(half)
                                 : iKind == LongLine ? iValid + std::string(1 << 20, 'x') + "\n"
                                                     : iValid);
    if (iKind == Unreadable)
    {
        ASSERT_EQ(0, ::chmod(iPath.c_str(), 0));
    }
}

std::string PackedBlock()
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "in", "the user data of a block\n");
    zbtest::Zbsvc({"block", "pack", "-v", "1.2.3", dir / "in", dir / "b"});
    return zbtest::ReadFile(dir / "b");
}
} // namespace

TEST(zbsvcBadInput, EveryVerbEveryKind)
{
    const std::string block = PackedBlock();
    ASSERT_FALSE(block.empty());
    const bool dropPrivileges = ::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) == 0;
    int cells = 0;
    for (const Verb& verb : kVerbs)
        for (int kind = 0; kind < KindCount; ++kind)
        {
            const std::string cell = std::string(verb._Name) + " / " + kKindNames[kind];
            if (kind == Unreadable && !dropPrivileges)
                continue;
            SCOPED_TRACE(cell);
            zbtest::TempDir dir;
            // The unprivileged user walks the case's directory and writes in it.
            ASSERT_EQ(0, ::chmod(dir.Path().c_str(), 0777));
            const std::string input = dir / verb._Input;
            const std::string valid = verb._Valid == kBlock ? block
                                      : verb._Valid         ? verb._Valid
                                                            : "";
            if (verb._Extra)
            {
                const std::string extra = verb._Extra;
                zbtest::WriteFile(dir / extra.substr(0, extra.find('=')),
                                  extra.substr(extra.find('=') + 1));
            }
            MakeInput(input, static_cast<Kind>(kind), valid, verb._Valid == nullptr);
            std::vector<std::string> argv;
            if (kind == Unreadable)
                argv = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
            argv.push_back(zbtest::Program("zbsvc"));
            std::istringstream words(Replace(Replace(verb._Args, '@', input), '%', dir.Path()));
            for (std::string word; words >> word;)
                argv.push_back(word);
            zbtest::ChildEnvironment env;
            if (verb._Env)
            {
                const std::string set = Replace(verb._Env, '%', dir.Path());
                env._Set[set.substr(0, set.find('='))] = set.substr(set.find('=') + 1);
            }
            const zbtest::ChildResult r = zbtest::Run(argv, env, "", "", 0, 0, 10000);
            ++cells;
            const char expected = verb._Expected[kind];
            const bool named =
                r._Err.find(input) != std::string::npos ||
                r._Err.find(dir / ("./" + std::string(verb._Input))) != std::string::npos;
            const bool failure = expected == '1' || expected == '2';
            std::string wrong;
            if (r._TimedOut)
                wrong = "hangs";
            else if (!r._Exited)
                wrong = "killed by signal " + std::to_string(r._Signal);
            else if (r._Err.find("Sanitizer") != std::string::npos)
                wrong = "a sanitizer's report"; // it exits with 1 too
            else if (r._Status != (expected == 'f' ? 1 : expected - '0'))
                wrong = "status " + std::to_string(r._Status);
            else if (failure && !named)
                wrong = "the report does not name " + input;
            else if (expected == 'f' && r._Err.empty())
                wrong = "nothing reported";
            if (!wrong.empty())
                ADD_FAILURE() << "row " << &verb - kVerbs + 1 << " " << cell << ", expected "
                              << expected << ": " << wrong << ": " << r._Err.substr(0, 200);
        }
    RecordProperty("cells", cells);
}
