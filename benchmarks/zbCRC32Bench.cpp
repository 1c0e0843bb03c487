// zbCRC32 throughput by path: byte table, slicing by 8, carry-less folding.

#include <benchmark/benchmark.h>

#include <vector>

#include "zbCRC32.h"

namespace
{
std::vector<unsigned char> Data(size_t iSize)
{
    std::vector<unsigned char> data(iSize);
    unsigned int state = 1;
    for (auto& byte : data)
        byte = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 16);
    return data;
}

template <unsigned int (*Update)(unsigned int, const unsigned char*, size_t)>
void Path(benchmark::State& ioState)
{
    std::vector<unsigned char> data = Data(static_cast<size_t>(ioState.range(0)));
    for (auto _ : ioState)
        benchmark::DoNotOptimize(Update(0xFFFFFFFFu, data.data(), data.size()));
    ioState.SetBytesProcessed(static_cast<int64_t>(ioState.iterations()) *
                              static_cast<int64_t>(data.size()));
}

void Whole(benchmark::State& ioState)
{
    std::vector<unsigned char> data = Data(static_cast<size_t>(ioState.range(0)));
    for (auto _ : ioState)
        benchmark::DoNotOptimize(zbCRC32(data.data(), static_cast<unsigned int>(data.size())));
    ioState.SetBytesProcessed(static_cast<int64_t>(ioState.iterations()) *
                              static_cast<int64_t>(data.size()));
}
} // namespace

BENCHMARK(Path<zbCRC32UpdateBytewise>)->Arg(64)->Arg(4096)->Arg(1 << 20);
BENCHMARK(Path<zbCRC32UpdateSlicing8>)->Arg(64)->Arg(4096)->Arg(1 << 20);
BENCHMARK(Path<zbCRC32UpdateFolding>)->Arg(64)->Arg(4096)->Arg(1 << 20);
BENCHMARK(Whole)->Arg(16)->Arg(64)->Arg(4096)->Arg(1 << 20);
