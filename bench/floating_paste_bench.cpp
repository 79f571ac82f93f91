// Dragging a floating picture over a 100-megapixel image: each repaint stretches only the part
// the window shows. Beside it, a copy of one window frame, and (a few runs) the stretch of the
// whole picture that drawing it all would cost.

#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "image/bitmap.h"
#include "selection/paste_pixels.h"

namespace palvex {
namespace {

constexpr int kSide = 10000;  // 100 megapixels
constexpr int kClientW = 1600;
constexpr int kClientH = 1000;

const Bitmap& Picture() {
    static const Bitmap picture = [] {
        Bitmap b;
        if (b.Create(kSide, kSide)) {
            for (int y = 0; y < kSide; ++y) {
                Pixel* row = b.Row(y);
                for (int x = 0; x < kSide; ++x) {
                    row[x] = 0xFF000000u | static_cast<Pixel>(x * 31 + y * 17);
                }
            }
        }
        return b;
    }();
    return picture;
}

// range(0): zoom in percent; the picture's window rectangle moves a little every run, as a
// drag does.
void BM_FloatingPictureVisiblePart(benchmark::State& state) {
    const Bitmap& picture = Picture();
    const int zoomed = static_cast<int>(std::int64_t{kSide} * state.range(0) / 100);
    Bitmap part;
    int shift = 0;
    for (auto _ : state) {
        const int left = -3000 - (shift++ % 50);
        const Rect target{left, -2000, left + zoomed, -2000 + zoomed};
        if (!StretchPart(picture, {kSide, kSide}, target, {0, 0, kClientW, kClientH}, part)) {
            state.SkipWithError("stretch failed");
            break;
        }
        benchmark::DoNotOptimize(part.Data());
    }
}
BENCHMARK(BM_FloatingPictureVisiblePart)
    ->Arg(50)
    ->Arg(100)
    ->Arg(800)
    ->Unit(benchmark::kMillisecond);

void BM_FloatingFrameMemcpy(benchmark::State& state) {
    const std::size_t pixels = std::size_t{kClientW} * kClientH;
    std::vector<Pixel> from(pixels, 0xFF102030u);
    std::vector<Pixel> to(pixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * sizeof(Pixel));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FloatingFrameMemcpy)->Unit(benchmark::kMillisecond);

void BM_FloatingPictureWhole(benchmark::State& state) {
    const Bitmap& picture = Picture();
    Bitmap whole;
    const Rect target{0, 0, kSide, kSide};
    for (auto _ : state) {
        if (!StretchPart(picture, {kSide, kSide}, target, target, whole)) {
            state.SkipWithError("stretch failed");
            break;
        }
        benchmark::DoNotOptimize(whole.Data());
    }
}
BENCHMARK(BM_FloatingPictureWhole)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palvex
