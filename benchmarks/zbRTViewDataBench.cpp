// zbRTViewData: Write, Read and an unchanged WriteIfChanged of a set of
// 50,000 elements (names like "Fw12/lib/file012345.so", the dictionary
// dimensioned as zbsvc rtv does it), in a temporary directory.  Run it
// with the environment of scripts/env.sh:
//
//   . scripts/env.sh; build/bin/zbRTViewDataBench

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "zbHashDico.h"
#include "zbRTViewData.h"

namespace
{
const int kElements = 50000;
const unsigned int kDimension = static_cast<unsigned int>(zbHashCodeCollec::UpToNiceModulo(4096));

struct Fixture
{
    std::string _Dir;
    zbRTViewData _Data{kDimension};
    Fixture()
    {
        char pattern[] = "/tmp/zbrtvbench.XXXXXX";
        _Dir = ::mkdtemp(pattern) ? pattern : "/tmp";
        const zbRTViewElementType* types[] = {
            &zbRTViewElement::Runtime, &zbRTViewElement::Buildtime, &zbRTViewElement::Internal,
            &zbRTViewElement::Data, &zbRTViewElement::DataInternal};
        char name[64];
        for (int i = 0; i < kElements; ++i)
        {
            std::snprintf(name, sizeof name, "Fw%02d/lib/file%06d.so", i % 97, i);
            std::string rtv = std::string("code/") + name;
            _Data.Insert(zbRTViewElement(name, rtv.c_str(), *types[i % 5],
                                         i % 3 ? zbRTViewElement::Deliverable
                                               : zbRTViewElement::NotDeliverable,
                                         i % 1000),
                         zbRTViewData::MergeSilently);
        }
    }
    ~Fixture() { std::system(("rm -rf " + _Dir).c_str()); }
    QORString Path(const char* iName) const { return QORString((_Dir + "/" + iName).c_str()); }
};

Fixture& Get()
{
    static Fixture fixture;
    return fixture;
}

void BM_Write(benchmark::State& ioState)
{
    Fixture& f = Get();
    for (auto _ : ioState)
        if (f._Data.Write(f.Path("w.data")) != 0)
            ioState.SkipWithError("write failed");
}

void BM_Read(benchmark::State& ioState)
{
    Fixture& f = Get();
    f._Data.Write(f.Path("r.data"));
    for (auto _ : ioState)
    {
        zbRTViewData data(kDimension);
        if (data.Read(f.Path("r.data"), zbRTViewData::KeepPaths) != 0 ||
            data.GetNbElements() != kElements)
            ioState.SkipWithError("read failed");
    }
}

void BM_WriteIfChangedUnchanged(benchmark::State& ioState)
{
    Fixture& f = Get();
    f._Data.Write(f.Path("u.data"));
    for (auto _ : ioState)
    {
        int changed = 0;
        if (f._Data.WriteIfChanged(f.Path("u.data"), changed) != 0 || changed)
            ioState.SkipWithError("file rewritten");
    }
}
} // namespace

BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteIfChangedUnchanged)->Unit(benchmark::kMillisecond);
