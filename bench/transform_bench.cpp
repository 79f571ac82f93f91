// The image transforms on 6000 x 4000, each beside a memcpy of the same image in the same run.
// Results go into a bitmap kept between runs, as the editor's scratch bitmap is, so neither side
// pays for fresh pages.

#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_images.h"
#include "image/bitmap.h"
#include "selection/transforms.h"

namespace palvex {
namespace {

using bench::kImageHeight;
using bench::kImageWidth;

const Bitmap& Source() {
    return bench::LargeKeyedImage();
}

void Report(benchmark::State& state, const TransformResult& result) {
    if (!result.ok) {
        state.SkipWithError("transform failed");
    }
}

// The reference: one copy of the 6000 x 4000 image (and, for the enlargements, of the larger
// result's byte count).
void BM_TransformMemcpy(benchmark::State& state) {
    const std::size_t pixels = static_cast<std::size_t>(state.range(0)) * state.range(1);
    std::vector<Pixel> from(pixels, 0xFF102030u);
    std::vector<Pixel> to(pixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * sizeof(Pixel));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TransformMemcpy)
    ->Args({kImageWidth, kImageHeight})
    ->Args({kImageWidth * 2, kImageHeight * 2})
    ->Unit(benchmark::kMillisecond);

void BM_Flip(benchmark::State& state) {
    Bitmap out;
    Report(state, Flip(Source(), state.range(0) != 0, state.range(1) != 0,
                       out));  // the result's pages, once
    for (auto _ : state) {
        Report(state, Flip(Source(), state.range(0) != 0, state.range(1) != 0, out));
        benchmark::DoNotOptimize(out.Data());
    }
}
// Left-right, top-bottom, 180 degrees.
BENCHMARK(BM_Flip)->Args({1, 0})->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);

void BM_RotateQuarter(benchmark::State& state) {
    Bitmap out;
    const auto direction =
        state.range(0) != 0 ? QuarterTurn::Clockwise : QuarterTurn::CounterClockwise;
    Report(state, RotateQuarter(Source(), direction, out));  // the result's pages, once
    for (auto _ : state) {
        Report(state, RotateQuarter(Source(), direction, out));
        benchmark::DoNotOptimize(out.Data());
    }
}
BENCHMARK(BM_RotateQuarter)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_RotateByAngle(benchmark::State& state) {
    Bitmap out;
    Report(state, RotateByAngle(Source(), static_cast<int>(state.range(0)), bench::kKey,
                                out));  // the result's pages, once
    for (auto _ : state) {
        Report(state, RotateByAngle(Source(), static_cast<int>(state.range(0)), bench::kKey, out));
        benchmark::DoNotOptimize(out.Data());
    }
}
BENCHMARK(BM_RotateByAngle)->Arg(33)->Arg(45)->Arg(90)->Arg(359)->Unit(benchmark::kMillisecond);

// Percent of each side: 50, 75 and 200 (the last beside the larger memcpy).
void BM_Resize(benchmark::State& state) {
    Bitmap out;
    const int width = PercentOf(static_cast<int>(state.range(0)), kImageWidth);
    const int height = PercentOf(static_cast<int>(state.range(0)), kImageHeight);
    Report(state, Resize(Source(), width, height, out));  // the result's pages, once
    for (auto _ : state) {
        Report(state, Resize(Source(), width, height, out));
        benchmark::DoNotOptimize(out.Data());
    }
}
BENCHMARK(BM_Resize)->Arg(50)->Arg(75)->Arg(133)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_Invert(benchmark::State& state) {
    Bitmap out;
    Report(state, Invert(Source(), out));  // the result's pages, once
    for (auto _ : state) {
        Report(state, Invert(Source(), out));
        benchmark::DoNotOptimize(out.Data());
    }
}
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond);

void BM_Greyscale(benchmark::State& state) {
    Bitmap out;
    Report(state, Greyscale(Source(), out));  // the result's pages, once
    for (auto _ : state) {
        Report(state, Greyscale(Source(), out));
        benchmark::DoNotOptimize(out.Data());
    }
}
BENCHMARK(BM_Greyscale)->Unit(benchmark::kMillisecond);

// The editor's pass: one core, row by row, reporting its column positions as it goes.
void BM_GreyscaleWithProgress(benchmark::State& state) {
    Bitmap out;
    int reports = 0;
    const ColumnProgress progress = [&reports](int, int) { ++reports; };
    Report(state, Greyscale(Source(), out, progress));
    for (auto _ : state) {
        Report(state, Greyscale(Source(), out, progress));
        benchmark::DoNotOptimize(out.Data());
    }
    benchmark::DoNotOptimize(reports);
}
BENCHMARK(BM_GreyscaleWithProgress)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palvex
