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
    zbtest::WriteFile(dir / "jobs", "echo from-file\n\necho second; exit 4\n");
    const std::string failed = "# Error: ";
    const std::tuple<std::vector<std::string>, std::string, std::string> rows[] = {
        // One slot: the parallel path in list order, each output whole,
        // standard error in place.
        {{"-j", "1", "echo a; echo b >&2; echo c", "exit 3", "printf d"},
         "",
         "1|a\nb\nc\nd|" + failed + "1 of 3 actions failed\n"},
        {{"-j", "3", "true", "exit 0"}, "", "0||"},
        // A script stops at the first failure unless -k.
        {{"-seq", "echo 1", "kill -KILL $$", "echo 3"},
         "",
         "1|1\n|" + failed + "1 of 3 actions failed\n"},
        {{"-seq", "-k", "echo 1", "false", "echo 3", "false"},
         "",
         "1|1\n3\n|" + failed + "2 of 4 actions failed\n"},
        // Arguments first, then the file's non-empty lines; "-" is stdin.
        {{"-j", "1", "-f", dir / "jobs", "echo arg"},
         "",
         "1|arg\nfrom-file\nsecond\n|" + failed + "1 of 3 actions failed\n"},
        {{"-j", "1", "-f", "-"}, "echo in\n\n", "0|in\n|"},
        {{"-f", "-"}, "", "0||"}, // an empty list is no failure
        {{"-j", "1", "--", "-x", "echo ok"},
         "",
         "1|sh: 1: -x: not found\nok\n|" + failed + "1 of 2 actions failed\n"},
        {{"-f", dir / "missing"},
         "",
         "1||# System error on " + dir / "missing" + ": No such file or directory\n"},
    };
    for (auto [args, input, outcome] : rows)
    {
        args.insert(args.begin(), "run");
        EXPECT_EQ(Outcome(Zbsvc(args, {}, input)), outcome) << args.back();
    }
    for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
             {"run"}, {"run", "-j", "0", "true"}, {"run", "-j", "x", "true"}, {"run", "-z"}})
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
              "1|<a & b>\n|# Error: 1 of 2 actions failed\n");
    std::string xml = zbtest::ReadFile(trace);
    EXPECT_NE(
        xml.find("&lt;a &amp; b&gt;\n<Error Message=\"1 of 2 actions failed\"/>\n</Application>\n"),
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

TEST(zbsvcRun, InterruptedRunCleansUp)
{
    // Under memcheck zbsvc takes seconds to start: the signal comes later,
    // and the commands last longer than that.
    const int delayMs = zbtest::Workload(500, 15000);
    const std::string sleep = "sleep " + std::to_string(zbtest::Workload(5, 90)) + ".03";
    for (int signal : {SIGTERM, SIGINT})
    {
        zbtest::TempDir dir, tmp;
        std::string trace = dir / "t.xml";
        std::vector<std::string> argv{zbtest::Program("zbsvc"), "-xml", trace, "run", "-j", "4"};
        for (int i = 0; i < 20; ++i)
            argv.push_back(sleep + std::to_string(17 + i) + "; echo never");
        zbtest::ChildEnvironment env;
        env._Set["TMPDIR"] = tmp.Path();
        auto start = std::chrono::steady_clock::now();
        zbtest::ChildResult r = zbtest::Run(argv, env, "", "", delayMs, signal);
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
        EXPECT_LT(elapsed, delayMs + zbtest::Workload(1000, 15000)); // at most 1 s after the signal
        EXPECT_EQ(Outcome(r), std::to_string(signal) + "||# Fatal error: Process interrupted\n");
        EXPECT_EQ(ProcessesWith(sleep), 0);
        EXPECT_EQ(zbtest::Entries(tmp.Path()), "");
        std::string xml = zbtest::ReadFile(trace);
        EXPECT_NE(xml.find("<Fatal Message=\"Process interrupted\"/>\n</Application>\n"),
                  std::string::npos)
            << xml;
        EXPECT_EQ(zbtest::Run({"/usr/bin/xmllint", "--noout", trace})._Status, 0);
    }
}
