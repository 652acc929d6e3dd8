#include "kernel/Lzrw.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace
{
// A megabyte of model-file-like text: numbers and keywords with much repetition.
std::vector<uint8_t> SampleData(size_t n)
{
    static const char* const kWords[] = {"Vertex ", "0.5257311121 ", "-0.8506508084 ", "Face ", "3 ", "{5/2} ",
                                         "Color ", "\n"};
    std::vector<uint8_t> v;
    uint32_t x = 1;
    while (v.size() < n)
    {
        x = x * 1664525u + 1013904223u;
        const char* w = kWords[(x >> 24) & 7];
        v.insert(v.end(), w, w + std::strlen(w));
    }
    v.resize(n);
    return v;
}

void BM_LzrwCompress(benchmark::State& state)
{
    const std::vector<uint8_t> src = SampleData(size_t(state.range(0)));
    std::vector<uint8_t> work(kLzrwWorkMemSize);
    std::vector<uint8_t> dst(src.size() + kLzrwCompressSlack);
    for (auto _ : state)
    {
        size_t len = 0;
        LzrwCompressBlock(work.data(), src.data(), src.size(), dst.data(), dst.size(), len);
        benchmark::DoNotOptimize(len);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_LzrwCompress)->Arg(1 << 20);

void BM_LzrwDecompress(benchmark::State& state)
{
    const std::vector<uint8_t> src = SampleData(size_t(state.range(0)));
    std::vector<uint8_t> work(kLzrwWorkMemSize);
    std::vector<uint8_t> block(src.size() + kLzrwCompressSlack);
    size_t blockLen = 0;
    LzrwCompressBlock(work.data(), src.data(), src.size(), block.data(), block.size(), blockLen);
    std::vector<uint8_t> out(src.size());
    for (auto _ : state)
    {
        size_t len = 0;
        LzrwDecompressBlock(work.data(), block.data(), blockLen, out.data(), out.size(), len);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_LzrwDecompress)->Arg(1 << 20);
}  // namespace
