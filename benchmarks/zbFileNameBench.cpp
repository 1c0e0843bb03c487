// File names: normalisation of a text, copies, and the dirname query.

#include <benchmark/benchmark.h>

#include "zbFileName.h"

static const char kShort[] = "/ws/./Framework/Module.m/src/zbFileName.cpp";
static const char kLong[] =
    "/a/rather/long/installation/root/that/goes/on/and/on/for/a/while/ws/./Framework/"
    "PublicInterfaces/Generated/SubDirectory/Module.m/src/zbSomeRatherLongFileName.cpp";

static void BM_zbFileNameFromText(benchmark::State& ioState)
{
    const char* text = ioState.range(0) ? kLong : kShort;
    for (auto _ : ioState)
    {
        zbFileName name(text);
        benchmark::DoNotOptimize(name.GetPtrToBasename());
    }
}
BENCHMARK(BM_zbFileNameFromText)->Arg(0)->Arg(1);

static void BM_zbFileNameCopy(benchmark::State& ioState)
{
    zbFileName source(ioState.range(0) ? kLong : kShort);
    for (auto _ : ioState)
    {
        zbFileName copy(source);
        benchmark::DoNotOptimize(copy.GetPtrToNameIntoWS());
    }
}
BENCHMARK(BM_zbFileNameCopy)->Arg(0)->Arg(1);

static void BM_zbFileNameDirname(benchmark::State& ioState)
{
    zbFileName name(kShort);
    QORString dirname;
    for (auto _ : ioState)
        benchmark::DoNotOptimize(name.GetDirname(dirname).CastToCharPtr());
}
BENCHMARK(BM_zbFileNameDirname);

BENCHMARK_MAIN();
