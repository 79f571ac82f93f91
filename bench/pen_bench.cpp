// The range pens: one application against a plain loop over the same pixels, the whole-image
// pen against a memcpy of the image (BM_Memcpy6000x4000 in raster_bench.cpp), and the first
// application of a stroke on a 100-megapixel image against the full copy it avoids.

#include <chrono>
#include <cstring>

#include <benchmark/benchmark.h>

#include "bench/bench_images.h"
#include "image/bitmap.h"
#include "tools/pen_stroke.h"
#include "tools/pens.h"

namespace palvex {
namespace {

using bench::kImageHeight;
using bench::kImageWidth;
using bench::kKey;

constexpr int kLargeSide = 10000;  // 100 megapixels
const CanvasMapping kOneToOne{1.0f, {0, 0}};

// One colour, so every application with the colour under the pointer changes the whole range.
Bitmap& SolidImage(int width, int height) {
    static Bitmap image;
    if (image.Width() != width || image.Height() != height) {
        if (!image.Create(width, height)) {
            image.Reset();
            return image;
        }
        image.Fill(PixelFromColour(Rgb(90, 120, 150)));
    }
    return image;
}

ProcessingRange Ellipse(int size) {
    return {1, size, 0, 0, 0.0, false};
}

// The two drawing colours alternate, so each run matches and writes every pixel of the range.
Colour Alternate(bool& flip) {
    flip = !flip;
    return flip ? Rgb(91, 121, 151) : Rgb(90, 120, 150);
}

// Outline, visited pixels and the pen, as one mouse sample does them.
void BM_PenEllipseApplication6000x4000(benchmark::State& state) {
    Bitmap& image = SolidImage(kImageWidth, kImageHeight);
    if (image.IsNull()) {
        state.SkipWithError("no memory");
        return;
    }
    const ProcessingRange range = Ellipse(static_cast<int>(state.range(0)));
    const Point centre{kImageWidth / 2, kImageHeight / 2};
    bool flip = false;
    std::size_t pixels = 0;
    for (auto _ : state) {
        const PenSettings pen{PenMode::Pen, Alternate(flip), kKey, {false, 5}};
        const RangeOutline outline = MakeRangeOutline(range, centre);
        const RangePixelSet set =
            RangePixels(range, outline, centre, kOneToOne, {image.Width(), image.Height()});
        benchmark::DoNotOptimize(ApplyPen(image, centre, set, pen));
        pixels = set.PixelCount();
    }
    state.counters["pixels"] = static_cast<double>(pixels);
    state.counters["ns_per_pixel"] = benchmark::Counter(
        static_cast<double>(pixels) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PenEllipseApplication6000x4000)
    ->Arg(125)
    ->Arg(250)
    ->Arg(500)
    ->Unit(benchmark::kMicrosecond);

// Reference: a plain loop writing one colour into the same pixels.
void BM_PlainLoopSameEllipsePixels6000x4000(benchmark::State& state) {
    Bitmap& image = SolidImage(kImageWidth, kImageHeight);
    if (image.IsNull()) {
        state.SkipWithError("no memory");
        return;
    }
    const ProcessingRange range = Ellipse(static_cast<int>(state.range(0)));
    const Point centre{kImageWidth / 2, kImageHeight / 2};
    const RangePixelSet set = RangePixels(range, MakeRangeOutline(range, centre), centre, kOneToOne,
                                          {image.Width(), image.Height()});
    bool flip = false;
    for (auto _ : state) {
        const Pixel value = PixelFromColour(Alternate(flip));
        for (const RangeSpan& s : set.spans) {
            Pixel* row = image.Row(s.y);
            for (int x = s.begin; x < s.end; ++x) {
                row[x] = value;
            }
        }
        benchmark::DoNotOptimize(image.Data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = static_cast<double>(set.PixelCount());
}
BENCHMARK(BM_PlainLoopSameEllipsePixels6000x4000)
    ->Arg(125)
    ->Arg(250)
    ->Arg(500)
    ->Unit(benchmark::kMicrosecond);

void BM_WholeImagePen6000x4000(benchmark::State& state) {
    Bitmap& image = SolidImage(kImageWidth, kImageHeight);
    if (image.IsNull()) {
        state.SkipWithError("no memory");
        return;
    }
    bool flip = false;
    for (auto _ : state) {
        const PenSettings pen{PenMode::Pen, Alternate(flip), kKey, {false, 5}};
        benchmark::DoNotOptimize(ApplyPenWholeImage(image, {0, 0}, pen));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(image.ByteCount()));
}
BENCHMARK(BM_WholeImagePen6000x4000)->Unit(benchmark::kMillisecond);

// From the press to the first application: the stroke starts and one size-500 ellipse is
// applied, keeping the blocks it visits.
void BM_StrokeFirstApplication100Mpx(benchmark::State& state) {
    Bitmap& image = SolidImage(kLargeSide, kLargeSide);
    if (image.IsNull()) {
        state.SkipWithError("no memory");
        return;
    }
    const ProcessingRange range = Ellipse(500);
    const Point centre{kLargeSide / 2, kLargeSide / 2};
    bool flip = false;
    for (auto _ : state) {
        const PenSettings pen{PenMode::Pen, Alternate(flip), kKey, {false, 5}};
        PenStroke stroke(image);
        ApplyPen(image, centre, range, MakeRangeOutline(range, centre), kOneToOne, pen, &stroke);
        benchmark::DoNotOptimize(stroke.KeptBytes());
    }
}
BENCHMARK(BM_StrokeFirstApplication100Mpx)->Unit(benchmark::kMillisecond);

// Reference: the full copy of the image at the press that the lazy before-image avoids.
void BM_FullCopyAtPress100Mpx(benchmark::State& state) {
    Bitmap& image = SolidImage(kLargeSide, kLargeSide);
    Bitmap before;
    if (image.IsNull() || !before.Create(kLargeSide, kLargeSide)) {
        state.SkipWithError("no memory");
        return;
    }
    for (auto _ : state) {
        CopyBitmapBits(image, before);
        benchmark::DoNotOptimize(before.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullCopyAtPress100Mpx)->Unit(benchmark::kMillisecond);

// The whole-image fill-back pass alone, by the way it runs, on a cleared background around a
// photo-like middle ninth; each iteration times a memcpy of the image beside it (x_ref).
void BM_WholeImageFillBack100Mpx(benchmark::State& state) {
    const auto pass = static_cast<FillBackPass>(state.range(0));
    if (!FillBackPassAvailable(pass)) {
        state.SkipWithError("not on this processor");
        return;
    }
    Bitmap original;
    Bitmap image;
    Bitmap copy;
    if (!original.Create(kLargeSide, kLargeSide) || !image.Create(kLargeSide, kLargeSide) ||
        !copy.Create(kLargeSide, kLargeSide)) {
        state.SkipWithError("no memory");
        return;
    }
    std::uint32_t noise = 12345;
    for (int y = 0; y < kLargeSide; ++y) {
        Pixel* row = original.Row(y);
        for (int x = 0; x < kLargeSide; ++x) {
            const bool inside = x >= kLargeSide / 3 && x < 2 * kLargeSide / 3 &&
                                y >= kLargeSide / 3 && y < 2 * kLargeSide / 3;
            noise = noise * 1664525u + 1013904223u;
            row[x] = inside ? PixelFromColour(Rgb(x * 255 / kLargeSide, y * 255 / kLargeSide,
                                                  static_cast<int>(noise >> 24)))
                            : PixelFromColour(kKey);
        }
    }
    using Clock = std::chrono::steady_clock;
    double reference = 0;
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        std::memcpy(copy.Data(), original.Data(), original.PixelCount() * sizeof(Pixel));
        const auto copied = Clock::now();
        std::memcpy(image.Data(), original.Data(), original.PixelCount() * sizeof(Pixel));
        const auto begin = Clock::now();
        FillBackWholeImage(image, kKey, pass);
        const auto end = Clock::now();
        benchmark::DoNotOptimize(image.Data());
        reference += std::chrono::duration<double>(copied - start).count();
        total += std::chrono::duration<double>(end - begin).count();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["ref_ms"] = 1000 * reference / static_cast<double>(state.iterations());
    state.counters["x_ref"] = total / reference;
}
BENCHMARK(BM_WholeImageFillBack100Mpx)
    ->Arg(static_cast<int>(FillBackPass::Columns))
    ->Arg(static_cast<int>(FillBackPass::Vectors))
    ->Arg(static_cast<int>(FillBackPass::Avx2))
    ->Arg(static_cast<int>(FillBackPass::Avx512))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palvex
