#include "kernel/RadixSort.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
std::vector<float> RandomKeys(size_t n)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> dist(-1000.0f, 1000.0f);
    std::vector<float> keys(n);
    for (float& k : keys)
        k = dist(random);
    return keys;
}

// A fresh order every time: the full four passes.
void BM_RadixSortRandom(benchmark::State& state)
{
    const std::vector<float> keys = RandomKeys(size_t(state.range(0)));
    for (auto _ : state)
    {
        RadixSort sorter;
        sorter.Sort(keys.data(), uint32_t(keys.size()));
        benchmark::DoNotOptimize(sorter.Ranks());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RadixSortRandom)->Arg(1000000);

// The frame-to-frame case: the previous order still holds.
void BM_RadixSortCoherent(benchmark::State& state)
{
    const std::vector<float> keys = RandomKeys(size_t(state.range(0)));
    RadixSort sorter;
    sorter.Sort(keys.data(), uint32_t(keys.size()));
    for (auto _ : state)
    {
        sorter.Sort(keys.data(), uint32_t(keys.size()));
        benchmark::DoNotOptimize(sorter.Ranks());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RadixSortCoherent)->Arg(1000000);
}  // namespace
