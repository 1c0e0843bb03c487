// Hot paths of the block format and of the option parser.

#include <benchmark/benchmark.h>

#include <string>
#include <unistd.h>
#include <vector>

#include "zbCrypt.h"
#include "zbFileBufferVersioned.h"
#include "zbGetopts.h"

static void BM_zbCrypt(benchmark::State& state)
{
    std::vector<char> data(static_cast<size_t>(state.range(0)), 'x');
    for (auto _ : state)
    {
        zbCrypt(data.data(), static_cast<unsigned int>(data.size()));
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_zbCrypt)->Arg(1 << 20);

// Write and read back a block (CRC twice, file I/O through the page cache).
static void BM_BlockWriteRead(benchmark::State& state)
{
    std::string path = "/tmp/zbbench_block." + std::to_string(::getpid());
    std::vector<char> data(static_cast<size_t>(state.range(0)), 'x');
    zbFileBufferVersioned block;
    for (auto _ : state)
    {
        block.SetBuffer(data.data(), static_cast<unsigned int>(data.size()));
        block.SetVersion(1, 2, 3);
        block.WriteToFile(path.c_str());
        block.ReadFromFile(path.c_str());
    }
    ::unlink(path.c_str());
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BlockWriteRead)->Arg(1 << 20)->Arg(16 << 20);

static void BM_AnalyzeCommandLine(benchmark::State& state)
{
    const char* argv[] = {"tool",  "-v",  "-o",   "out",   "-Ia",   "-Ib",   "-Ic",   "file1",
                          "file2", "-ab", "-vIx", "-long", "value", "file3", "-crypt"};
    for (auto _ : state)
    {
        zbGetopts options("tool");
        for (const char* name : {"v", "a", "b", "ab", "crypt"})
            options.AddSimpleSwitch(name, "", 1);
        for (const char* name : {"o", "I", "long"})
            options.AddValuedSwitch(name, "", 1);
        benchmark::DoNotOptimize(options.AnalyzeCommandLine(15, argv, 0));
    }
}
BENCHMARK(BM_AnalyzeCommandLine);
BENCHMARK_MAIN();
