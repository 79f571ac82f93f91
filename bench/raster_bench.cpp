#include <algorithm>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_images.h"
#include "image/bitmap.h"
#include "image/raster/flood_fill.h"
#include "image/raster/rotate.h"
#include "image/raster/stretch_copy.h"

namespace palvex {
namespace {

using bench::kImageHeight;
using bench::kImageWidth;
using bench::kKey;
using bench::kViewHeight;
using bench::kViewWidth;

// Reference: the memory traffic of copying a whole 6000 x 4000 image once.
void BM_Memcpy6000x4000(benchmark::State& state) {
    std::vector<Pixel> from(std::size_t{kImageWidth} * kImageHeight, 0xFF102030u);
    std::vector<Pixel> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(Pixel));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(from.size() * 4));
}
BENCHMARK(BM_Memcpy6000x4000)->Unit(benchmark::kMillisecond);

void BM_FloodFillSurface6000x4000(benchmark::State& state) {
    Bitmap image;
    if (!image.Create(kImageWidth, kImageHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    image.Fill(PixelFromColour(Rgb(10, 20, 30)));
    // Alternating colours, so every run changes the whole image.
    bool flip = false;
    for (auto _ : state) {
        const Colour fill = flip ? Rgb(10, 20, 30) : Rgb(200, 100, 50);
        flip = !flip;
        benchmark::DoNotOptimize(
            FloodFillSurface(image, {kImageWidth / 2, kImageHeight / 2}, fill));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(image.ByteCount()));
}
BENCHMARK(BM_FloodFillSurface6000x4000)->Unit(benchmark::kMillisecond);

// Reference: writing every pixel of a 1920 x 1080 view once.
void BM_StdFill1920x1080(benchmark::State& state) {
    std::vector<Pixel> view(std::size_t{kViewWidth} * kViewHeight);
    for (auto _ : state) {
        std::fill(view.begin(), view.end(), 0xFF808080u);
        benchmark::DoNotOptimize(view.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StdFill1920x1080)->Unit(benchmark::kMicrosecond);

// Zoom 1 samples a 1920 x 1080 source area, zoom 8 a 240 x 135 one.
void BM_KeyedStretchCopy(benchmark::State& state) {
    const int zoom = static_cast<int>(state.range(0));
    const Bitmap& source = bench::LargeKeyedImage();
    Bitmap view;
    if (source.IsNull() || !view.Create(kViewWidth, kViewHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    view.Fill(0xFF808080u);
    const Rect from{1000, 1000, 1000 + kViewWidth / zoom, 1000 + kViewHeight / zoom};
    for (auto _ : state) {
        KeyedStretchCopy(view, view.Bounds(), source, from, kKey);
        benchmark::DoNotOptimize(view.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KeyedStretchCopy)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_RotateClockwise6000x4000(benchmark::State& state) {
    const Bitmap& source = bench::LargeKeyedImage();
    Bitmap turned;
    for (auto _ : state) {
        if (!RotateClockwise(source, turned)) {
            state.SkipWithError("no memory");
            return;
        }
        benchmark::DoNotOptimize(turned.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(source.ByteCount()));
}
BENCHMARK(BM_RotateClockwise6000x4000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palvex
