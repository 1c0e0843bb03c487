// zbsvc run, end to end.

#include <filesystem>
#include <regex>

#include "zbTestSupport.h"
#include "zbTestWorkload.h"

using namespace zbtest;

namespace
{
int ProcessesWith(const std::string& iMarker)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc"))
    {
        const std::string cmdline = zbtest::ReadFile(entry.path() / "cmdline");
        count += cmdline.find(iMarker) != std::string::npos &&
                 cmdline.find("zbsvcRunTests") == std::string::npos;
    }
    return count;
}
} // namespace

TEST(zbsvcRun, CommandsStatusesAndUsage)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "jobs", "echo from-file\n\n  # not run\n \t\necho second; exit 4\n");
    const std::string failed = "# Error: ";
    const std::tuple<std::vector<std::string>, std::string, std::string> rows[] = {
        // One slot: the parallel path in list order, each output whole,
        // standard error to standard error, each failure named after its
        // output.
        {{"-j", "1", "echo a; echo b >&2; echo c", "exit 3", "printf d"},
         "",
         "1|a\nc\nd|b\n" + failed + "Action 2 failed with status 3: exit 3\n" + failed +
             "1 of 3 actions failed\n"},
        {{"-j", "3", "true", "exit 0"}, "", "0||"},
        // -seq stops at the first failure unless -k.
        {{"-seq", "echo 1", "kill -KILL $$", "echo 3"},
         "",
         "1|1\n|" + failed + "Action 2 failed with status 137: kill -KILL $$\n" + failed +
             "1 of 3 actions failed\n"},
        {{"-seq", "-k", "echo 1", "true\nfalse", "echo 3", "exit 2 # " + std::string(60, 'x')},
         "",
         "1|1\n3\n|" + failed + "Action 2 failed with status 1: true...\n" + failed +
             "Action 4 failed with status 2: exit 2 # " + std::string(51, 'x') + "...\n" + failed +
             "2 of 4 actions failed\n"},
        // Arguments first, then the file's lines but blank ones and
        // comments; "-" is stdin.
        {{"-j", "1", "-f", dir / "jobs", "echo arg"},
         "",
         "1|arg\nfrom-file\nsecond\n|" + failed +
             "Action 3 failed with status 4: echo second; exit 4\n" + failed +
             "1 of 3 actions failed\n"},
        {{"-j", "1", "-f", "-"}, "echo in\n\n", "0|in\n|"},
        {{"-f", "-"}, "", "0||"}, // an empty list is no failure
        {{"-j", "1", "--", "-x", "echo ok"},
         "",
         "1|ok\n|sh: 1: -x: not found\n" + failed + "Action 1 failed with status 127: -x\n" +
             failed + "1 of 2 actions failed\n"},
        {{"-f", dir / "missing"},
         "",
         "1||# System error on " + dir / "missing" + ": No such file or directory\n"},
    };
    for (auto [args, input, outcome] : rows)
    {
        args.insert(args.begin(), "run");
        EXPECT_EQ(Outcome(Zbsvc(args, {}, input)), outcome) << args.back();
    }
    for (const std::vector<std::string>& usage :
         std::vector<std::vector<std::string>>{{"run"},
                                               {"run", "-j", "0", "true"},
                                               {"run", "-j", "x", "true"},
                                               {"run", "-z"},
                                               {"run", "-k", "true"}})
        EXPECT_EQ(Zbsvc(usage)._Status, 2) << usage.back();
    EXPECT_EQ(Zbsvc({"run", "-h"})._Status, 0);

    zbtest::ChildResult timed = Zbsvc({"run", "-time", "true"});
    EXPECT_TRUE(std::regex_match(
        timed._Out, std::regex("#_time_  -{99}\n#_time_GGlobal execution {54}Real "
                               "00:00:0[0-9] User +[0-9]+\\.[0-9]{2}\n#_time_  -{99}\n")))
        << timed._Out;
}

TEST(zbsvcRun, XmlTraceGetsOutputsAndReports)
{
    zbtest::TempDir dir;
    std::string trace = dir / "t.xml";
    EXPECT_EQ(Outcome(Zbsvc({"-xml", trace, "run", "-j", "2", "echo '<a & b>'", "exit 2"})),
              "1|<a & b>\n|# Error: Action 2 failed with status 2: exit 2\n# Error: 1 of 2 actions "
              "failed\n");
    std::string xml = zbtest::ReadFile(trace);
    EXPECT_NE(
        xml.find(
            "&lt;a &amp; b&gt;\n<Error Message=\"Action 2 failed with status 2: exit 2\"/>\n<Error "
            "Message=\"1 of 2 actions failed\"/>\n</Application>\n"),
        std::string::npos)
        << xml;
    EXPECT_EQ(zbtest::Run({"/usr/bin/xmllint", "--noout", trace})._Status, 0);
}

TEST(zbsvcRun, StatusLineOnATerminalOnly)
{
    // Under a pseudo-terminal (which shows a newline as "\r\n"), the line
    // is drawn after every change and erased at the end; the comparisons
    // above show none without one.  "two" ends no line: the status line
    // goes below it, never over it.
    std::string command =
        zbtest::Program("zbsvc") + " run -j 2 'sleep 0.3; echo one' 'printf two' 'exit 1'";
    zbtest::ChildResult r = zbtest::Run({"/usr/bin/script", "-qec", command, "/dev/null"});
    EXPECT_EQ(r._Status, 1) << r._Out;
    EXPECT_NE(r._Out.find("\r\033[Ktwo\r\n\r[1/3, failed 0, running 1]\033[K"), std::string::npos)
        << r._Out;
    EXPECT_NE(r._Out.find("\r[3/3, failed 1, running 0]\033[K\r\033[K# Error"), std::string::npos)
        << r._Out;
}

TEST(zbsvcRun, InterruptedRunsStopEverything)
{
    // Every engine, every signal that stops a run (the last row: ^C as a
    // terminal sends it, to the whole process group), sent once the
    // commands have started: each marks its start with a file.
    const std::string conf = zbtest::LocalSlurmConf();
    const std::tuple<const char*, std::vector<std::string>, size_t> engines[] = {
        {"parallel", {"-j", "4"}, 4},
        {"sequential", {"-seq"}, 1},
        {"slurm", {"-engine", "slurm", "-j", "4"}, 4},
    };
    const std::pair<int, bool> signals[] = {
        {SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGINT, true}};
    for (const auto& [engine, engineArgs, started] : engines)
    {
        if (std::string(engine) == "slurm" && conf.empty())
        {
            std::printf("no local Slurm cluster: the slurm engine is left out\n");
            continue;
        }
        for (const auto& [signal, toGroup] : signals)
        {
            SCOPED_TRACE(std::string(engine) + " " + strsignal(signal) +
                         (toGroup ? " to the group" : ""));
            zbtest::TempDir dir, tmp;
            const std::string trace = dir / "t.xml", marks = dir / "m";
            zbtest::MakeDirs(marks);
            std::vector<std::string> argv{zbtest::Program("zbsvc"), "-xml", trace, "run"};
            argv.insert(argv.end(), engineArgs.begin(), engineArgs.end());
            // A length of this case's own: other runs of this suite may
            // share the machine.
            const std::string sleep = "sleep 60.0" + std::to_string(signal) +
                                      std::to_string(toGroup) + std::to_string(::getpid());
            for (int i = 0; i < 8; ++i)
                argv.push_back("touch " + marks + "/" + std::to_string(i) + "; " + sleep +
                               "; echo never");
            zbtest::ChildEnvironment env;
            env._Set["TMPDIR"] = tmp.Path();
            env._Set["SLURM_CONF"] = conf;
            // Our jobs only: the cluster may run others'.
            const std::string name = "zbrun" + sleep.substr(6);
            env._Set["ZBZB_SLURM_ARGS"] = "--job-name=" + name;
            auto ready = [&marks, started = started]
            {
                auto entries = std::filesystem::directory_iterator(marks);
                return static_cast<size_t>(std::distance(entries, {})) >= started;
            };
            zbtest::ChildResult r =
                zbtest::RunSignalledWhenReady(argv, env, ready, signal, toGroup);
            EXPECT_EQ(Outcome(r),
                      std::to_string(signal) + "||# Fatal error: Process interrupted\n");
            EXPECT_EQ(zbtest::Entries(tmp.Path()), "");
            EXPECT_EQ(zbtest::Run({"/usr/bin/xmllint", "--noout", trace})._Status, 0);
            // Nothing left: local commands at once, a cluster's jobs and
            // steps within 5 s.
            const bool cluster = std::string(engine) == "slurm";
            std::string left = cluster ? "?" : "";
            for (int tries = 0; tries < 50 && !left.empty(); ++tries, ::usleep(100000))
                left = zbtest::Run({"/bin/sh", "-c", "squeue -h -o %i -n " + name}, env)._Out;
            EXPECT_EQ(left, "");
            EXPECT_EQ(ProcessesWith(sleep), 0);
        }
    }
}
