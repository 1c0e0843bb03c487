// zbHashDico against std::unordered_map<std::string, void*>: insertion and
// lookup of 1,000,000 keys with the same bucket count (the map never
// rehashes).  Two key sets: random names of 8 to 24 letters and digits, and
// path-like names "FWnnn/Modnn.m/src/Filennnnn.cpp" whose word-xor hash
// spreads badly.  After the runs the program prints the time ratios
// zbHashDico / unordered_map of each pair (real and CPU time; the CPU ratio
// is the steadier one on a busy machine).  Run it through
// zbHashDicoBench.sh, which sets the environment the library needs.
//
//   zbHashDicoBench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "zbHashDico.h"
#include "zbOFStream.h"

namespace
{
const int kKeyCount = 1000000;

struct KeySet
{
    std::vector<std::string> _Std;
    std::vector<zbNewString> _Zb;
    std::vector<int> _LookupOrder;
};

KeySet& Keys(int iKind)
{
    static KeySet sets[2];
    KeySet& set = sets[iKind];
    if (!set._Std.empty())
        return set;
    std::mt19937 random(12345u + static_cast<unsigned>(iKind));
    const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
    std::map<std::string, int> unique;
    char text[64];
    for (int i = 0; static_cast<int>(set._Std.size()) < kKeyCount; ++i)
    {
        std::string key;
        if (iKind == 0)
        {
            int length = 8 + static_cast<int>(random() % 17);
            for (int c = 0; c < length; ++c)
                key += alphabet[random() % (sizeof alphabet - 1)];
        }
        else
        {
            std::snprintf(text, sizeof text, "FW%03d/Mod%02d.m/src/File%05d.cpp", i / 10000,
                          (i / 1000) % 10, i % 1000);
            key = text;
        }
        if (unique.emplace(key, 0).second)
            set._Std.push_back(key);
    }
    set._Zb.reserve(set._Std.size());
    for (const std::string& key : set._Std)
        set._Zb.emplace_back(key.c_str());
    set._LookupOrder.resize(set._Std.size());
    for (size_t i = 0; i < set._LookupOrder.size(); ++i)
        set._LookupOrder[i] = static_cast<int>(i);
    std::shuffle(set._LookupOrder.begin(), set._LookupOrder.end(), random);
    return set;
}

int Dimension()
{
    return zbHashCodeCollec::UpToNiceModulo(kKeyCount);
}

using StdMap = std::unordered_map<std::string, void*>;

StdMap* NewStdMap()
{
    StdMap* map = new StdMap(static_cast<size_t>(Dimension()));
    map->max_load_factor(1e9f); // keep the bucket count fixed, as the dictionary does
    return map;
}

void BM_Insert_zbHashDico(benchmark::State& ioState)
{
    KeySet& keys = Keys(static_cast<int>(ioState.range(0)));
    for (auto _ : ioState)
    {
        zbHashDico* dico = new zbHashDico(Dimension());
        for (const zbNewString& key : keys._Zb)
            dico->Insert(key, const_cast<zbNewString*>(&key));
        benchmark::DoNotOptimize(dico->GetNbItems());
        ioState.PauseTiming();
        delete dico;
        ioState.ResumeTiming();
    }
    ioState.SetItemsProcessed(ioState.iterations() * kKeyCount);
}

void BM_Insert_unordered_map(benchmark::State& ioState)
{
    KeySet& keys = Keys(static_cast<int>(ioState.range(0)));
    for (auto _ : ioState)
    {
        StdMap* map = NewStdMap();
        for (const std::string& key : keys._Std)
            map->emplace(key, const_cast<std::string*>(&key));
        benchmark::DoNotOptimize(map->size());
        ioState.PauseTiming();
        ioState.counters["buckets"] = static_cast<double>(map->bucket_count());
        delete map;
        ioState.ResumeTiming();
    }
    ioState.SetItemsProcessed(ioState.iterations() * kKeyCount);
}

void BM_Lookup_zbHashDico(benchmark::State& ioState)
{
    KeySet& keys = Keys(static_cast<int>(ioState.range(0)));
    zbHashDico dico(Dimension());
    for (const zbNewString& key : keys._Zb)
        dico.Insert(key, const_cast<zbNewString*>(&key));
    for (auto _ : ioState)
    {
        size_t found = 0;
        for (int i : keys._LookupOrder)
            found += dico.Locate(keys._Zb[static_cast<size_t>(i)]) != nullptr;
        if (found != keys._Zb.size())
            ioState.SkipWithError("lookup missed a key");
        benchmark::DoNotOptimize(found);
    }
    ioState.SetItemsProcessed(ioState.iterations() * kKeyCount);
}

void BM_Lookup_unordered_map(benchmark::State& ioState)
{
    KeySet& keys = Keys(static_cast<int>(ioState.range(0)));
    StdMap* map = NewStdMap();
    for (const std::string& key : keys._Std)
        map->emplace(key, const_cast<std::string*>(&key));
    for (auto _ : ioState)
    {
        size_t found = 0;
        for (int i : keys._LookupOrder)
            found += map->find(keys._Std[static_cast<size_t>(i)]) != map->end();
        if (found != keys._Std.size())
            ioState.SkipWithError("lookup missed a key");
        benchmark::DoNotOptimize(found);
    }
    delete map;
    ioState.SetItemsProcessed(ioState.iterations() * kKeyCount);
}

#define ZB_BENCH(name)                                                                             \
    BENCHMARK(name)->ArgName("keyset")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0)
ZB_BENCH(BM_Insert_zbHashDico);
ZB_BENCH(BM_Insert_unordered_map);
ZB_BENCH(BM_Lookup_zbHashDico);
ZB_BENCH(BM_Lookup_unordered_map);

// Console output as usual, and the real times kept for the ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
  public:
    void ReportRuns(const std::vector<Run>& iRuns) override
    {
        for (const Run& run : iRuns)
            if (!run.error_occurred)
            {
                std::string name = run.benchmark_name();
                _Times[name.substr(0, name.find("/min_time"))] = {run.GetAdjustedRealTime(),
                                                                  run.GetAdjustedCPUTime()};
            }
        ConsoleReporter::ReportRuns(iRuns);
    }
    void PrintRatios() const
    {
        const char* kinds[] = {"Insert", "Lookup"};
        for (const char* kind : kinds)
            for (int set = 0; set < 2; ++set)
            {
                std::string suffix = "/keyset:" + std::to_string(set);
                auto zb = _Times.find(std::string("BM_") + kind + "_zbHashDico" + suffix);
                auto st = _Times.find(std::string("BM_") + kind + "_unordered_map" + suffix);
                if (zb == _Times.end() || st == _Times.end() || st->second.first <= 0 ||
                    st->second.second <= 0)
                    continue;
                std::printf("ratio %s keyset %d (%s): zbHashDico / unordered_map = %.2f real, "
                            "%.2f CPU\n",
                            kind, set, set == 0 ? "random names" : "path-like names",
                            zb->second.first / st->second.first,
                            zb->second.second / st->second.second);
            }
    }

  private:
    std::map<std::string, std::pair<double, double>> _Times; // real, CPU
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::printf("keys: %d, buckets: %d\n", kKeyCount, Dimension());
    // How each key set spreads over the buckets.
    for (int set = 0; set < 2; ++set)
    {
        zbHashDico dico(Dimension());
        for (const zbNewString& key : Keys(set)._Zb)
            dico.Insert(key, const_cast<zbNewString*>(&key));
        int longest = 0;
        for (int b = 1; b <= dico.GetDimension(); ++b)
            longest = std::max(longest, dico.GetBucketSize(b));
        std::printf("keyset %d: longest bucket %d\n", set, longest);
        zbHashDicoPrintStats(dico, set == 0 ? "random names" : "path-like names", zbStdout);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
