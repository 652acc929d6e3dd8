#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

// Each uniform row of the library built from its vertex configuration and analysed: parse, match,
// face types, symmetry, parts and edges. One benchmark per model.
static void BM_BuildUniform(benchmark::State& state, const char* symbol)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    if (!templ.Parse(symbol, false))
    {
        state.SkipWithError("configuration does not parse");
        return;
    }
    for (auto _ : state)
    {
        Poly poly;
        const bool ok = poly.PrepareFromTemplate(&templ, 0);
        benchmark::DoNotOptimize(ok);
        if (!ok)
        {
            state.SkipWithError("matching failed");
            return;
        }
    }
}

static const int kRegistered = [] {
    for (const LibraryEntry& row : GetLibraryTable())
    {
        if (row.mCategory < LibraryEntry::kCategoryPlatonic || row.mCategory > LibraryEntry::kCategoryPrisms ||
            !row.mSymbol || std::strchr(row.mSymbol, '<'))
            continue;
        benchmark::RegisterBenchmark((std::string("BuildUniform/") + row.mSymbol).c_str(), BM_BuildUniform,
                                     row.mSymbol)
            ->Unit(benchmark::kMicrosecond);
    }
    return 0;
}();
