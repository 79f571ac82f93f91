// The barrier transparency against BM_Memcpy6000x4000 (raster_bench.cpp) in the same run:
// run with --benchmark_filter='Memcpy6000|Barrier|FreeColor'.

#include <cmath>
#include <numbers>
#include <vector>

#include <benchmark/benchmark.h>

#include "barrier/barrier_fill.h"
#include "barrier/free_colour.h"
#include "bench/bench_images.h"

namespace palvex {
namespace {

using bench::kImageHeight;
using bench::kImageWidth;
using bench::kKey;

// A 1000-vertex circle of the given radius around the image centre.
std::vector<Point> Circle(int radius) {
    std::vector<Point> v;
    for (int i = 0; i < 1000; ++i) {
        const double a = 2 * std::numbers::pi * i / 1000;
        v.push_back({kImageWidth / 2 + static_cast<int>(radius * std::cos(a)),
                     kImageHeight / 2 + static_cast<int>(radius * std::sin(a))});
    }
    return v;
}

void BM_FindFreeColor6000x4000(benchmark::State& state) {
    const Bitmap& image = bench::LargeKeyedImage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindFreeColor(image, image.Bounds()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(image.ByteCount()));
}
BENCHMARK(BM_FindFreeColor6000x4000)->Unit(benchmark::kMillisecond);

// Plan on the unchanged picture, write into a second one, so every run does the whole work; the
// snapshot (the undo history's cost) is not part of it.
void RunFill(benchmark::State& state, BarrierSide side, const std::vector<Point>& barrier) {
    const Bitmap& image = bench::LargeKeyedImage();
    Bitmap target;
    if (!target.Create(kImageWidth, kImageHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    target.Fill(0);
    for (auto _ : state) {
        BarrierFillPlan plan;
        if (PlanBarrierFill(image, kKey, barrier, side, plan) != BarrierFillStatus::Done) {
            state.SkipWithError("nothing to fill");
            return;
        }
        ApplyBarrierFill(plan, target, kKey);
        benchmark::DoNotOptimize(target.Data());
    }
}

void BM_BarrierOutside6000x4000(benchmark::State& state) {
    RunFill(state, BarrierSide::Outside, Circle(1500));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(bench::LargeKeyedImage().ByteCount()));
}
BENCHMARK(BM_BarrierOutside6000x4000)->Unit(benchmark::kMillisecond);

// The inside of circles of growing radius: the time follows the bounding box's area.
void BM_BarrierInside6000x4000(benchmark::State& state) {
    const int radius = static_cast<int>(state.range(0));
    RunFill(state, BarrierSide::Inside, Circle(radius));
    state.counters["box_pixels"] = 4.0 * radius * radius;
}
BENCHMARK(BM_BarrierInside6000x4000)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(1900)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palvex
