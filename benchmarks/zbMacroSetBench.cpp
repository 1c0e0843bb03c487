// Hot paths of description-file reading: buffer normalisation, line
// insertion and resolution of a set of chained definitions.

#include <benchmark/benchmark.h>

#include <string>

#include "zbMacroSet.h"

static std::string Definitions(int iCount)
{
    std::string text;
    for (int i = 0; i < iCount; ++i)
    {
        text += "V" + std::to_string(i) + " = w" + std::to_string(i);
        text += (i % 10) ? " $(V" + std::to_string(i - 1) + ")  # note\n" : " base\n";
    }
    return text;
}

static void BM_ParseBuffer(benchmark::State& ioState)
{
    const std::string text = Definitions(static_cast<int>(ioState.range(0)));
    for (auto _ : ioState)
    {
        std::string buffer = text;
        benchmark::DoNotOptimize(zbMacroSet::ParseBuffer("bench.mk", &buffer[0]));
    }
    ioState.SetBytesProcessed(static_cast<int64_t>(ioState.iterations() * text.size()));
}
BENCHMARK(BM_ParseBuffer)->Arg(10000)->Arg(100000);

static void BM_InsertBuffer(benchmark::State& ioState)
{
    std::string text = Definitions(static_cast<int>(ioState.range(0)));
    zbMacroSet::ParseBuffer("bench.mk", &text[0]);
    for (auto _ : ioState)
    {
        std::string buffer = text.c_str();
        zbMacroSet set(500);
        set.InsertBuffer(&buffer[0], nullptr, '=', zbMacroSet::ReplaceExisting);
        benchmark::DoNotOptimize(set.GetNbItems());
    }
    ioState.SetItemsProcessed(ioState.iterations() * ioState.range(0));
}
BENCHMARK(BM_InsertBuffer)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

static void BM_Solve(benchmark::State& ioState)
{
    std::string text = Definitions(static_cast<int>(ioState.range(0)));
    zbMacroSet::ParseBuffer("bench.mk", &text[0]);
    for (auto _ : ioState)
    {
        ioState.PauseTiming();
        std::string buffer = text.c_str();
        zbMacroSet* set = new zbMacroSet(500);
        set->InsertBuffer(&buffer[0], nullptr, '=', zbMacroSet::ReplaceExisting);
        ioState.ResumeTiming();
        benchmark::DoNotOptimize(set->Solve(nullptr));
        ioState.PauseTiming();
        delete set;
        ioState.ResumeTiming();
    }
    ioState.SetItemsProcessed(ioState.iterations() * ioState.range(0));
}
BENCHMARK(BM_Solve)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
