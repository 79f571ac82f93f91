// Colour reduction and the indexed writers on a photograph-sized image.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <benchmark/benchmark.h>

#include "image/bitmap.h"
#include "image/codecs/bmp_encoder.h"
#include "image/codecs/encoder.h"
#include "image/output_buffer.h"
#include "image/quantize/quantize.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// Smooth gradients, a few soft-edged discs of colour and noise: many thousands of colours,
// spread the way a photograph spreads them.
const palvex::Bitmap& Photo() {
    static const palvex::Bitmap image = [] {
        struct Disc {
            double x, y, radius;
            int r, g, b;
        };
        const Disc discs[] = {{1500, 1200, 900, 220, 60, 40},
                              {4200, 2500, 1300, 40, 160, 70},
                              {3000, 800, 600, 250, 220, 120},
                              {900, 3300, 700, 60, 60, 200}};
        palvex::Bitmap bitmap;
        if (!bitmap.Create(kWidth, kHeight)) {
            return bitmap;
        }
        std::uint32_t seed = 12345;
        for (int y = 0; y < kHeight; ++y) {
            palvex::Pixel* row = bitmap.Row(y);
            for (int x = 0; x < kWidth; ++x) {
                double r = 40 + 150.0 * y / kHeight;
                double g = 90 + 100.0 * x / kWidth * y / kHeight;
                double b = 200 - 120.0 * y / kHeight + 20.0 * x / kWidth;
                for (const Disc& d : discs) {
                    const double dx = (x - d.x) / d.radius;
                    const double dy = (y - d.y) / d.radius;
                    const double t =
                        std::clamp((1.2 - std::sqrt(dx * dx + dy * dy)) / 0.4, 0.0, 1.0);
                    const double w = t * t * (3 - 2 * t);  // soft edge
                    r += (d.r - r) * w;
                    g += (d.g - g) * w;
                    b += (d.b - b) * w;
                }
                seed = seed * 1664525u + 1013904223u;
                const int noise = static_cast<int>(seed >> 28) - 8;
                const auto level = [noise](double v) {
                    return static_cast<palvex::Pixel>(
                        std::clamp(static_cast<int>(v) + noise, 0, 255));
                };
                row[x] = palvex::kOpaqueAlpha | level(r) << 16 | level(g) << 8 | level(b);
            }
        }
        return bitmap;
    }();
    return image;
}

// The photograph cut to 3-3-2 bits: at most 256 colours, so the palette is exact.
const palvex::Bitmap& FewColours() {
    static const palvex::Bitmap image = [] {
        palvex::Bitmap bitmap;
        if (bitmap.Create(kWidth, kHeight)) {
            const palvex::Pixel* in = Photo().Data();
            for (std::size_t i = 0; i < bitmap.PixelCount(); ++i) {
                bitmap.Data()[i] = in[i] & 0xFFE0E0C0u;
            }
        }
        return bitmap;
    }();
    return image;
}

void Quantize(benchmark::State& state, const palvex::Bitmap& image) {
    for (auto _ : state) {
        palvex::IndexedImage indexed;
        if (!palvex::QuantizeToPalette(image, 256, indexed)) {
            state.SkipWithError("quantize failed");
        }
        benchmark::DoNotOptimize(indexed.indices.get());
    }
}

void BM_Quantize256(benchmark::State& state) {
    Quantize(state, Photo());
}
void BM_QuantizeExact256(benchmark::State& state) {
    Quantize(state, FewColours());
}

void BM_BmpRle8(benchmark::State& state) {
    const palvex::Bitmap& image = Photo();
    palvex::OutputBuffer info;
    palvex::OutputBuffer pixels;
    for (auto _ : state) {
        if (palvex::ConvertToPlainBmp(image, 8, 1, info, pixels) != palvex::BmpConvertResult::Ok) {
            state.SkipWithError("conversion failed");
        }
        benchmark::DoNotOptimize(pixels.Data());
    }
}

void BM_EncodeGif(benchmark::State& state) {
    const palvex::Bitmap& image = Photo();
    palvex::OutputBuffer out;
    for (auto _ : state) {
        if (!palvex::EncodeGif(image, palvex::kNoColour, out)) {
            state.SkipWithError("encoding failed");
        }
        benchmark::DoNotOptimize(out.Data());
    }
}

// The same photo with its top-left colour as a transparent GIF's key: the key's pixels are kept
// out of the palette search and get an entry of their own.
void BM_EncodeGifWithKey(benchmark::State& state) {
    const palvex::Bitmap& image = Photo();
    const palvex::Colour key = image.ReadPixel(0, 0);
    palvex::OutputBuffer out;
    for (auto _ : state) {
        if (!palvex::EncodeGif(image, key, out)) {
            state.SkipWithError("encoding failed");
        }
        benchmark::DoNotOptimize(out.Data());
    }
}

BENCHMARK(BM_Quantize256)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_QuantizeExact256)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_BmpRle8)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_EncodeGif)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_EncodeGifWithKey)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
