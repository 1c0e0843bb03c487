// zbsvc's lost output, standard input, help, and the README, usage and man page alike.

#include <regex>

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
zbtest::ChildResult ToFullDevice(const std::vector<std::string>& iArgs)
{
    std::vector<std::string> argv = {"/bin/sh", "-c", "exec \"$@\" > /dev/full", "sh",
                                     Program("zbsvc")};
    argv.insert(argv.end(), iArgs.begin(), iArgs.end());
    return zbtest::Run(argv);
}

struct Files
{
    Files()
    {
        zbtest::WriteFile(dir / "check", "123456789");
        zbtest::WriteFile(dir / "a.mk", "A = 1\nB = $(A) 2\n");
        zbtest::WriteFile(dir / "ws/Install_config", "# chain\n/ws/one:/ws/two\n");
        Zbsvc({"block", "pack", "-v", "1.2.3", dir / "check", dir / "check.blk"});
    }
    zbtest::TempDir dir;
};
} // namespace

TEST(zbsvcOutput, LostStandardOutputFailsWithOneMessage)
{
    Files f;
    const std::string data = zbtest::SourcePath("examples/install/code/tools/data");
    // Every verb's run and its -h; "%" stands for the files' directory, "@" for the data.
    std::istringstream runs(
        "context|version -level @|msg zbzbFatal.Interrupt|crc %/check|ls %|wschain %/ws|"
        "macros %/a.mk|pp %/a.mk|block info %/check.blk|find -path % check|help|help block pack|"
        "--version|-h|block -h|context -h|version -h|msg -h|crc -h|ls -h|wschain -h|macros -h|"
        "pp -h|block info -h|block pack -h|block unpack -h|hlist -h|hmap -h|find -h|help -h|"
        "mdf -h|shm serve -h|rtv list -h|patterns -h|treediff -h|copytree -h|run -h");
    for (std::string run; std::getline(runs, run, '|');)
    {
        std::vector<std::string> args;
        std::istringstream words(run);
        for (std::string word; words >> word;)
            args.push_back(word == "@"      ? data
                           : word[0] == '%' ? f.dir.Path() + word.substr(1)
                                            : word);
        EXPECT_EQ("1||zbsvc: standard output: No space left on device\n",
                  Outcome(ToFullDevice(args)))
            << run;
    }
}

TEST(zbsvcOutput, LostTraceFailsTheRun)
{
    Files f;
    EXPECT_EQ("1|fc891918 9 " + f.dir / "check" +
                  "\n|# System error on /dev/full: No space left on device\n",
              Outcome(Zbsvc({"-xml", "/dev/full", "crc", f.dir / "check"})));

    // Reports lost on standard error: the status says it.
    for (const char* name : {"check", "missing"})
        EXPECT_EQ(name[0] == 'c' ? 0 : 1, zbtest::Run({"/bin/sh", "-c", "exec \"$@\" 2> /dev/full",
                                                       "sh", Program("zbsvc"), "crc", f.dir / name})
                                              ._Status)
            << name;

    // Cut by a file-size limit (SIGXFSZ ignored: the write fails instead).
    // The run's output goes through a pipe, which the limit does not cut.
    std::vector<std::string> argv = {
        "/bin/sh",
        "-c",
        "{ (trap '' XFSZ; ulimit -f 4; exec \"$@\") 2>&1; echo \"status $?\"; } | cat",
        "sh",
        Program("zbsvc"),
        "-xml",
        f.dir / "t.xml",
        "crc"};
    for (int i = 0; i < 40; ++i)
        argv.push_back(f.dir / "missing");
    std::string out = zbtest::Run(argv)._Out;
    const std::string last =
        "# System error on " + f.dir / "t.xml" + ": File too large\nstatus 1\n";
    ASSERT_GE(out.size(), last.size());
    EXPECT_EQ(last, out.substr(out.size() - last.size()));
    EXPECT_EQ(2048u, zbtest::ReadFile(f.dir / "t.xml").size());
}

TEST(zbsvcOutput, StandardInputDashAndVersion)
{
    Files f;
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"crc", "-"}, "123456789", "0|fc891918 9 -\n|"},
        {{"crc", "--", "-x"}, "", "1||# System error on -x: No such file or directory\n"},
        {{"crc", f.dir / "check", "-", "--", "-"},
         "123456789",
         "0|fc891918 9 " + f.dir / "check" + "\nfc891918 9 -\n00000000 0 -\n|"},
        {{"macros", "-solve", "-"}, "A = 1\nB = $(A) 2\n", "0|B='1 2'\nA='1'\n|"},
        {{"pp", "-nocheck", "-"}, "#if 1\nX = 1\n#endif\n", "0|X = 1\n\n|"},
        {{"find", "-path", f.dir.Path(), "-names", "-"}, "check\n", "0|" + f.dir / "check" + "\n|"},
        {{"--", "crc", "-"}, "", "0|00000000 0 -\n|"},
        {{"help", "nope"}, "", ""},
    };
    for (const auto& [args, input, outcome] : cases)
    {
        zbtest::ChildResult r = Zbsvc(args, {}, input);
        if (outcome.empty())
            EXPECT_EQ(2, r._Status) << args.back();
        else
            EXPECT_EQ(outcome, Outcome(r)) << args[0] << " " << args.back();
    }

    zbtest::ChildResult r = Zbsvc({"--version"});
    EXPECT_TRUE(std::regex_match(r._Out, std::regex("zbsvc [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << r._Out;
    for (const std::vector<std::string>& verb :
         {std::vector<std::string>{"crc"}, {"pp"}, {"block", "pack"}})
    {
        std::vector<std::string> help = {"help"}, dashH = verb;
        help.insert(help.end(), verb.begin(), verb.end());
        dashH.push_back("-h");
        EXPECT_EQ(Outcome(Zbsvc(dashH)), Outcome(Zbsvc(help)));
    }
}

// The README's verb table, the usage and the manual page name the same
// verbs with the same synopses.
TEST(zbsvcOutput, ReadmeUsageAndManualAgree)
{
    std::string usage = Zbsvc({"-h"})._Out;
    const std::string page = std::string(ZB_BINARY_DIR) + "/share/man/man1/zbsvc.1";
    std::string manual = zbtest::ReadFile(page);
    ASSERT_FALSE(manual.empty());
    std::istringstream readme(zbtest::ReadFile(zbtest::SourcePath("README.md")));
    const std::regex row("^\\| `([a-z]+ [^`]*|[a-z]+)` \\|.*");
    int rows = 0;
    for (std::string line; std::getline(readme, line);)
    {
        std::smatch match;
        if (!std::regex_match(line, match, row))
            continue;
        std::string synopsis = std::regex_replace(match[1].str(), std::regex("\\\\\\|"), "|");
        ++rows;
        EXPECT_NE(std::string::npos, usage.find("\n   " + synopsis + "\n")) << synopsis;
        std::string roff = std::regex_replace(synopsis, std::regex("-"), "\\-");
        size_t blank = roff.find(' ');
        std::string verb = roff.substr(0, blank);
        std::string rest = blank == std::string::npos ? "" : roff.substr(blank + 1);
        // Sub-verbs: "block info FILE" is "zbsvc block info" then "FILE".
        if (verb == "block" || verb == "shm" || verb == "rtv")
        {
            size_t next = rest.find(' ');
            verb += " " + rest.substr(0, next);
            rest = next == std::string::npos ? "" : rest.substr(next + 1);
        }
        EXPECT_NE(std::string::npos, manual.find("\\fBzbsvc " + verb + "\\fR " + rest + "\n"))
            << synopsis;
    }
    EXPECT_LE(15, rows);
    int items = 0;
    for (size_t at = 0; (at = manual.find("\n.TP\n\\fBzbsvc ", at)) != std::string::npos; ++at)
        ++items;
    EXPECT_EQ(rows, items);

    // The page renders without a warning.
    zbtest::ChildResult r =
        zbtest::Run({"/bin/sh", "-c", "exec man --warnings -l \"$0\" > /dev/null", page});
    EXPECT_EQ("0||", Outcome(r));
}
