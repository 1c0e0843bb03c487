// Signals at random moments of traced zbsvc runs: clean ends, well-formed traces.

#include <random>

#include "zbTestSupport.h"
#include "zbTestWorkload.h"

namespace
{
using Clock = std::chrono::steady_clock;

// Runs zbsvc -xml TRACE ARGS, waits for the trace's opening lines (the
// signals are trapped by then), waits iDelay more, sends iSignal (0: none,
// the run goes to its end).  oWorking: from the opening lines to the end.
zbtest::ChildResult SignalRun(const std::vector<std::string>& iArgs, const std::string& iTrace,
                              int iSignal, std::chrono::microseconds iDelay,
                              std::chrono::microseconds& oWorking)
{
    ::unlink(iTrace.c_str());
    std::vector<std::string> args = {zbtest::Program("zbsvc"), "-xml", iTrace};
    args.insert(args.end(), iArgs.begin(), iArgs.end());
    Clock::time_point opened = Clock::now();
    auto ready = [&]
    {
        if (zbtest::ReadFile(iTrace).find(">\n") == std::string::npos)
            return false;
        opened = Clock::now();
        ::usleep(static_cast<useconds_t>(iDelay.count()));
        return true;
    };
    zbtest::ChildResult r = zbtest::RunSignalledWhenReady(args, {}, ready, iSignal);
    oWorking = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - opened);
    return r;
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
            SignalRun(args, dir / "t.xml", 0, {}, length[i % 2]);
        const int signal = (i / 2) % 2 ? SIGTERM : SIGINT;
        // The first half of a run: a loaded machine may run it faster than
        // the measured one.
        std::uniform_int_distribution<long> moment(0, length[i % 2].count() / 2);
        std::chrono::microseconds working;
        zbtest::ChildResult r = SignalRun(args, dir / "t.xml", signal,
                                          std::chrono::microseconds(moment(random)), working);
        SCOPED_TRACE(args[0] + " run " + std::to_string(i));
        ASSERT_TRUE(r._Exited && (r._Status == signal || r._Status == 0))
            << r._Status << " signal " << r._Signal << " " << r._Err;
        if (r._Status == signal)
        {
            ++signalled;
            const std::string report = "# Fatal error: Process interrupted\n";
            ASSERT_GE(r._Err.size(), report.size());
            EXPECT_EQ(report, r._Err.substr(r._Err.size() - report.size()));
        }
        ASSERT_EQ("0||",
                  zbtest::Outcome(zbtest::Run({"/usr/bin/xmllint", "--noout", dir / "t.xml"})));
    }
    // Most signals came while the runs were still going.
    EXPECT_GT(signalled, runCount * 3 / 10);
}
