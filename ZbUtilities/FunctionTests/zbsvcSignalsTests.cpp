// Signals at random moments of traced zbsvc runs: clean ends, well-formed traces.

#include <random>

#include "zbDescriptor.h"
#include "zbSpawn.h"
#include "zbTestSupport.h"
#include "zbTestWorkload.h"

namespace
{
using Clock = std::chrono::steady_clock;

struct Ending
{
    int _Status = -1; // exit status, or -1
    int _Signal = 0;  // the signal that killed it, or 0
    std::string _Err;
    std::chrono::microseconds _Working{}; // from the trace's opening lines to the end
};

// Runs zbsvc -xml TRACE ARGS, waits for the trace's opening lines (the
// signals are trapped by then), waits iDelay more, sends iSignal (0: none,
// the run goes to its end).
Ending SignalRun(const std::vector<std::string>& iArgs, const std::string& iTrace,
                 const std::string& iErrFile, int iSignal, std::chrono::microseconds iDelay)
{
    ::unlink(iTrace.c_str());
    std::string program = zbtest::Program("zbsvc");
    std::vector<std::string> args = {program, "-xml", iTrace};
    args.insert(args.end(), iArgs.begin(), iArgs.end());
    std::vector<const char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    zbScopedFd null(zbOpenFd("/dev/null", O_WRONLY));
    zbScopedFd err(zbOpenFd(iErrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    zbSpawnRequest request;
    request._Program = program.c_str();
    request._Argv = argv.data();
    request._Stdout = null.Get(), request._Stderr = err.Get();
    pid_t pid = 0;
    Ending ending;
    if (zbSpawn(request, pid))
        return ending;
    int status = 0;
    bool ended = false;
    const Clock::time_point limit = Clock::now() + std::chrono::seconds(zbtest::Workload(10, 120));
    while (!ended && Clock::now() < limit &&
           zbtest::ReadFile(iTrace).find(">\n") == std::string::npos)
    {
        ended = ::waitpid(pid, &status, WNOHANG) == pid;
        ::usleep(200);
    }
    const Clock::time_point opened = Clock::now();
    if (!ended)
    {
        ::usleep(static_cast<useconds_t>(iDelay.count()));
        ::kill(pid, iSignal);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR)
            ;
    }
    ending._Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ending._Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    ending._Err = zbtest::ReadFile(iErrFile);
    ending._Working = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - opened);
    return ending;
}
} // namespace

TEST(zbsvcSignals, InterruptedRunsEndCleanly)
{
    zbtest::TempDir dir;
    std::string text;
    for (int i = 0, lines = zbtest::Workload(120000, 12000); i < lines; ++i)
        text += "M" + std::to_string(i) + " = value " + std::to_string(i) + " $(M" +
                std::to_string(i ? i - 1 : 0) + ")\n";
    zbtest::WriteFile(dir / "big.mk", text);
    ::mkdir((dir / "tree").c_str(), 0755);
    for (int d = 0, dirs = zbtest::Workload(200, 20); d < dirs; ++d)
    {
        std::string sub = dir / ("tree/d" + std::to_string(d));
        ::mkdir(sub.c_str(), 0755);
        for (int f = 0; f < 60; ++f)
            zbtest::WriteFile(sub + "/f" + std::to_string(f), "");
    }

    const std::vector<std::vector<std::string>> runs = {
        {"macros", dir / "big.mk"},
        {"ls", "-r", dir / "tree"},
    };
    const unsigned seed = static_cast<unsigned>(Clock::now().time_since_epoch().count());
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    int signalled = 0;
    std::chrono::microseconds length[2] = {};
    const int runCount = zbtest::Workload(200, 20);
    for (int i = 0; i < runCount; ++i)
    {
        const std::vector<std::string>& args = runs[i % 2];
        // Now and then a whole run, to aim at every moment of the next ones
        // once the signals are trapped (under memcheck, start-up takes most
        // of a run).
        if (i < 2 || i % 40 < 2)
            length[i % 2] = SignalRun(args, dir / "t.xml", dir / "err", 0, {})._Working;
        const int signal = (i / 2) % 2 ? SIGTERM : SIGINT;
        // The first half of a run: a loaded machine may run it faster than
        // the measured one.
        std::uniform_int_distribution<long> moment(0, length[i % 2].count() / 2);
        Ending ending = SignalRun(args, dir / "t.xml", dir / "err", signal,
                                  std::chrono::microseconds(moment(random)));
        SCOPED_TRACE(args[0] + " run " + std::to_string(i));
        ASSERT_EQ(0, ending._Signal) << ending._Err;
        ASSERT_TRUE(ending._Status == signal || ending._Status == 0)
            << ending._Status << ending._Err;
        if (ending._Status == signal)
        {
            ++signalled;
            const std::string report = "# Fatal error: Process interrupted\n";
            ASSERT_GE(ending._Err.size(), report.size());
            EXPECT_EQ(report, ending._Err.substr(ending._Err.size() - report.size()));
        }
        ASSERT_EQ("0||",
                  zbtest::Outcome(zbtest::Run({"/usr/bin/xmllint", "--noout", dir / "t.xml"})));
    }
    // Most signals came while the runs were still going.
    EXPECT_GT(signalled, runCount * 3 / 10);
}
