// zbsvc run on a terminal and under signals (the rest of run is in
// transcripts/run.t).

#include <filesystem>

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

TEST(zbsvcRun, StatusLineOnATerminalOnly)
{
    // Under a pseudo-terminal (which shows a newline as "\r\n"), the line
    // is drawn after every change and erased at the end; run.t shows none
    // without one.  "two" ends no line: the status line
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
