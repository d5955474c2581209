// Time to compute the ramp diagram's primitives for one paint at common client sizes.

#include <benchmark/benchmark.h>

#include "diagram/DiagramGeometry.h"

namespace {

void BM_ComputeDiagramGeometry(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    GammaRamp ramp;
    // Three different straight lines, red steepest.
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>((i % 256) * (257 - 40 * (i / 256)));
    for (auto _ : state) {
        DiagramGeometry geometry = ComputeDiagramGeometry(width, height, ramp);
        benchmark::DoNotOptimize(geometry.shadeRows.data());
        benchmark::DoNotOptimize(geometry.curves.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputeDiagramGeometry)->Args({640, 480})->Args({1920, 1080})->Args({3840, 2160});

} // namespace

BENCHMARK_MAIN();
