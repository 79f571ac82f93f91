// Unfiltering the rows of a 6000 x 4000 PNG into pixels: the SIMD path beside the scalar one.

#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "image/codecs/png_unfilter.h"

namespace {

constexpr std::size_t kWidth = 6000;
constexpr std::size_t kHeight = 4000;

// Noise, as a photo's filtered rows mostly are. The SIMD path's cost does not depend on the
// bytes; noise gives the scalar Paeth its least predictable choices, as a noisy photo does.
const std::vector<std::uint8_t>& FilteredRows(int bpp) {
    static std::vector<std::uint8_t> rows[2];
    std::vector<std::uint8_t>& r = rows[bpp - 3];
    if (r.empty()) {
        r.resize(kWidth * kHeight * bpp);
        std::mt19937 rng(5);
        for (auto& b : r) {
            b = static_cast<std::uint8_t>(rng());
        }
    }
    return r;
}

// Arguments: filter type, bytes a pixel (4 RGBA, 3 RGB), 1 for the SIMD path or 0 for scalar.
void BM_PngUnfilter6000x4000(benchmark::State& state) {
    const int filter = static_cast<int>(state.range(0));
    const int bpp = static_cast<int>(state.range(1));
    const auto unfilter =
        state.range(2) != 0 ? palvex::UnfilterRowToPixels : palvex::UnfilterRowToPixelsScalar;
    const std::vector<std::uint8_t>& src = FilteredRows(bpp);
    std::vector<palvex::Pixel> pixels(kWidth * kHeight);
    for (auto _ : state) {
        for (std::size_t y = 0; y < kHeight; ++y) {
            palvex::Pixel* dst = &pixels[y * kWidth];
            unfilter(filter, bpp, &src[y * kWidth * bpp], y > 0 ? dst - kWidth : nullptr, dst,
                     kWidth);
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_pixel"] = benchmark::Counter(
        static_cast<double>(kWidth * kHeight) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PngUnfilter6000x4000)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {4, 3}, {0, 1}})
    ->ArgNames({"filter", "bpp", "simd"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
