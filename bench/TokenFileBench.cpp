#include "kernel/TokenFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
const char* VertexToken(int token)
{
    return token == 0 ? "Vertex" : nullptr;
}

int Quiet(int, const char*, const char*)
{
    return 0;
}

std::string ScratchPath()
{
    return "/tmp/orvane-bench-" + std::to_string(getpid()) + ".orv";
}

// A model file's bulk: one token and three coordinates per vertex.
void WriteVertices(ioFile* f, int n)
{
    for (int i = 0; i < n; ++i)
    {
        ioWriteToken(f, 0, 2);
        ioPrintf(f, " %.17g %.17g %.17g\n", i * 0.5, -i * 0.25, i * 0.125);
    }
}

void ReadVertices(ioFile* f, int n)
{
    Vec3D v;
    for (int i = 0; i < n && ioReadToken(f) == 0; ++i)
        ioReadVec3(f, v);
    benchmark::DoNotOptimize(v);
}

void BM_TokenFileAsciiRoundTrip(benchmark::State& state)
{
    const int n = int(state.range(0));
    const std::string path = ScratchPath();
    for (auto _ : state)
    {
        ioFilePtr w = ioOpenWrite(path.c_str(), "Orvane", 8, 10, kIoAscii, VertexToken, Quiet, nullptr);
        WriteVertices(w.get(), n);
        ioClose(w);
        ioFilePtr r = ioOpenRead(path.c_str(), "Orvane", 8, 10, VertexToken, Quiet);
        ReadVertices(r.get(), n);
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_TokenFileAsciiRoundTrip)->Arg(100000);

void BM_TokenFileMemoryRoundTrip(benchmark::State& state)
{
    const int n = int(state.range(0));
    for (auto _ : state)
    {
        MemBlock block;
        ioFilePtr w = ioOpenWrite(nullptr, nullptr, 8, 10, kIoMemory, VertexToken, Quiet, &block);
        WriteVertices(w.get(), n);
        ioClose(w);
        ioFilePtr r = ioOpenRead(nullptr, nullptr, 8, 10, VertexToken, Quiet, block.mData, block.mSize);
        ReadVertices(r.get(), n);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_TokenFileMemoryRoundTrip)->Arg(100000);
}  // namespace
