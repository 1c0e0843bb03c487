// Reporting with and without an XML trace file, loading the shipped keys
// file, and a lookup along the data search path.  Run with the environment
// of scripts/env.sh (the keys file is found in the example tree); the trace
// file goes to /tmp.  Every report reaches the trace file in one synchronous
// write, so BM_PrintXml measures the file system as much as the library.

#include <benchmark/benchmark.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbContext.h"
#include "zbReport.h"
#include "zbTraceManager.h"

static void BM_PrintConsoleOff(benchmark::State& ioState)
{
    zbTraceManager manager{QORString("zbXmlKeys.mk")};
    QORUnicodeString message("step 12 of the build: compiling <module> & linking");
    for (auto _ : ioState)
        benchmark::DoNotOptimize(manager.Print(MSG_KEY_zbzbError, nullptr, message));
}
BENCHMARK(BM_PrintConsoleOff);

static void BM_PrintXml(benchmark::State& ioState)
{
    zbTraceManager manager{QORString("zbXmlKeys.mk")};
    std::string file = "/tmp/zbTraceManagerBench." + std::to_string(::getpid()) + ".xml";
    QORString name(file.c_str());
    if (!manager.SetXmlFileName(&name, "bench", 0))
    {
        ioState.SkipWithError("no XML trace file (run with scripts/env.sh)");
        return;
    }
    QORUnicodeString message("step 12 of the build: compiling <module> & linking");
    for (auto _ : ioState)
        benchmark::DoNotOptimize(manager.Print(MSG_KEY_zbzbError, nullptr, message));
    manager.CloseXmlFile();
    ::unlink(file.c_str());
}
BENCHMARK(BM_PrintXml);

// Reports as the library makes them, to a standard error on /dev/null: a
// catalog message under an outer key (an ASCII and a wider parameter), and
// a system error.
template <class Report> static void ReportToNull(benchmark::State& ioState, Report iReport)
{
    int saved = ::dup(2);
    int null = zbOpenFd("/dev/null", O_WRONLY);
    ::dup2(null, 2);
    for (auto _ : ioState)
        benchmark::DoNotOptimize(iReport());
    ::dup2(saved, 2);
    ::close(saved);
    ::close(null);
}

static void BM_ReportAscii(benchmark::State& ioState)
{
    QORUnicodeString name("sys/never/there.h");
    ReportToNull(ioState, [&] { return zbReportMessage("zbPathFinder.NotFound", {name}); });
}
BENCHMARK(BM_ReportAscii);

static void BM_ReportWide(benchmark::State& ioState)
{
    QORUnicodeString name("caf\xC3\xA9/r\xC3\xA9sum\xC3\xA9.h");
    ReportToNull(ioState, [&] { return zbReportMessage("zbPathFinder.NotFound", {name}); });
}
BENCHMARK(BM_ReportWide);

static void BM_ReportSystemError(benchmark::State& ioState)
{
    ReportToNull(ioState, [] { return zbReportSystemError("some/file/name", ENOENT); });
}
BENCHMARK(BM_ReportSystemError);

static void BM_LoadShippedKeys(benchmark::State& ioState)
{
    for (auto _ : ioState)
    {
        zbTraceManager manager{QORString("zbXmlKeys.mk")};
        if (manager.LoadXmlKeys())
        {
            ioState.SkipWithError("keys file not found (run with scripts/env.sh)");
            return;
        }
        benchmark::DoNotOptimize(manager.GetMsgKey("zbzbError"));
    }
}
BENCHMARK(BM_LoadShippedKeys)->Unit(benchmark::kMicrosecond);

static void BM_SearchForData(benchmark::State& ioState)
{
    zbFileName file;
    for (auto _ : ioState)
        benchmark::DoNotOptimize(zbExtContext.SearchForData("zbVersionData.mk", file));
}
BENCHMARK(BM_SearchForData);
