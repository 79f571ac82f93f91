// Built without contraction into fused multiply-adds: every product and sum below is rounded on
// its own, which decides the truncated source positions.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PALVEX_ANGLE_SSE2 1
#endif

#include "resources/string_table.h"
#include "selection/transform_buffer.h"
#include "selection/transforms.h"

namespace palvex {
namespace {

// The source position of target column j in a row, evaluated the same way for every pixel.
struct RowMapping {
    double minX;
    double c;
    double s;
    double ys;  // Y x s of the row
    double yc;  // Y x c of the row

    int SourceX(int j) const {
        const double x = static_cast<double>(j) + minX;
        return static_cast<int>(x * c - ys + 0.5);
    }
    int SourceY(int j) const {
        const double x = static_cast<double>(j) + minX;
        return static_cast<int>(x * s + yc + 0.5);
    }
};

// Copies target columns [from, to) of one row, whose sources all lie inside the picture. Four
// pixels a step with the very operations of SourceX and SourceY, two lanes of doubles at a time.
void CopyRun(const RowMapping& m, const Pixel* pixels, int w, Pixel* row, int from, int to) {
    int j = from;
#ifdef PALVEX_ANGLE_SSE2
    const __m128d minX = _mm_set1_pd(m.minX);
    const __m128d c = _mm_set1_pd(m.c);
    const __m128d s = _mm_set1_pd(m.s);
    const __m128d ys = _mm_set1_pd(m.ys);
    const __m128d yc = _mm_set1_pd(m.yc);
    const __m128d half = _mm_set1_pd(0.5);
    const __m128d two = _mm_set1_pd(2.0);
    const __m128i width = _mm_set1_epi32(w);
    // Whole numbers below 2^53: adding 2 keeps them exact.
    __m128d jd = _mm_set_pd(static_cast<double>(j) + 1.0, static_cast<double>(j));
    for (; j + 4 <= to; j += 4) {
        const __m128d x0 = _mm_add_pd(jd, minX);
        jd = _mm_add_pd(jd, two);
        const __m128d x1 = _mm_add_pd(jd, minX);
        jd = _mm_add_pd(jd, two);
        const __m128i sx = _mm_unpacklo_epi64(
            _mm_cvttpd_epi32(_mm_add_pd(_mm_sub_pd(_mm_mul_pd(x0, c), ys), half)),
            _mm_cvttpd_epi32(_mm_add_pd(_mm_sub_pd(_mm_mul_pd(x1, c), ys), half)));
        const __m128i sy = _mm_unpacklo_epi64(
            _mm_cvttpd_epi32(_mm_add_pd(_mm_add_pd(_mm_mul_pd(x0, s), yc), half)),
            _mm_cvttpd_epi32(_mm_add_pd(_mm_add_pd(_mm_mul_pd(x1, s), yc), half)));
        // sy x w + sx stays below 2^28: 32-bit lanes suffice.
        const __m128i even = _mm_mul_epu32(sy, width);
        const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(sy, 32), width);
        const __m128i index =
            _mm_add_epi32(_mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                             _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0))),
                          sx);
        alignas(16) std::uint32_t at[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
        row[j] = pixels[at[0]];
        row[j + 1] = pixels[at[1]];
        row[j + 2] = pixels[at[2]];
        row[j + 3] = pixels[at[3]];
    }
#endif
    const auto stride = static_cast<std::size_t>(w);
    for (; j < to; ++j) {
        row[j] = pixels[static_cast<std::size_t>(m.SourceY(j)) * stride +
                        static_cast<std::size_t>(m.SourceX(j))];
    }
}

// Each of SourceX and SourceY is monotonic in j (every step of it is a rounded monotonic
// operation), so "above the lower bound" and "below the upper bound" each hold on one run of
// the row. Narrows [lo, hi] to where `holds` does; false when it holds nowhere.
template <class Holds>
bool Narrow(int n, Holds holds, int& lo, int& hi) {
    const bool first = holds(0);
    const bool last = holds(n - 1);
    if (first && last) {
        return true;
    }
    if (!first && !last) {
        return false;
    }
    int a = 0;  // holds(a) == first
    int b = n - 1;
    while (b - a > 1) {
        const int m = a + (b - a) / 2;
        (holds(m) == first ? a : b) = m;
    }
    if (last) {
        lo = std::max(lo, b);
    } else {
        hi = std::min(hi, a);
    }
    return true;
}

// The run of target columns [lo, hi] whose source lies inside the w x h picture.
bool SourceSpan(const RowMapping& m, int n, int w, int h, int& lo, int& hi) {
    lo = 0;
    hi = n - 1;
    return Narrow(
               n, [&](int j) { return m.SourceX(j) >= 0; }, lo, hi) &&
           Narrow(
               n, [&](int j) { return m.SourceX(j) < w; }, lo, hi) &&
           Narrow(
               n, [&](int j) { return m.SourceY(j) >= 0; }, lo, hi) &&
           Narrow(
               n, [&](int j) { return m.SourceY(j) < h; }, lo, hi) &&
           lo <= hi;
}

}  // namespace

RotatedFrame RotatedFrameOf(int degrees, int w, int h) {
    RotatedFrame f;
    // The angle as the editor computes it: pi from atan(1), steps taken left to right.
    // (360 - a) in double: exact for every int, and no overflow for hostile angles.
    const double theta = std::atan(1.0) * (360.0 - degrees) * 4 / 180;
    f.s = std::sin(theta);
    f.c = std::cos(theta);
    const double xs[4] = {0, static_cast<double>(w - 1), static_cast<double>(w - 1), 0};
    const double ys[4] = {0, 0, static_cast<double>(h - 1), static_cast<double>(h - 1)};
    double maxX = 0;
    double maxY = 0;
    for (int k = 0; k < 4; ++k) {
        const double tx = xs[k] * f.c + ys[k] * f.s;
        const double ty = ys[k] * f.c - xs[k] * f.s;
        if (k == 0) {
            f.minX = maxX = tx;
            f.minY = maxY = ty;
        }
        f.minX = std::min(f.minX, tx);
        maxX = std::max(maxX, tx);
        f.minY = std::min(f.minY, ty);
        maxY = std::max(maxY, ty);
    }
    f.width = static_cast<std::int64_t>(maxX - f.minX + 1.5);
    f.height = static_cast<std::int64_t>(maxY - f.minY + 1.5);
    return f;
}

TransformResult RotateByAngle(const Bitmap& src, int degrees, Colour fill, Bitmap& out) {
    if (src.IsNull()) {
        return {};
    }
    const int w = src.Width();
    const int h = src.Height();
    const RotatedFrame f = RotatedFrameOf(degrees, w, h);
    // Refused before anything is allocated: a long thin picture turned by 45 degrees would
    // otherwise ask for more than the whole address space.
    if (f.width < 1 || f.height < 1 ||
        static_cast<std::uint64_t>(f.width) * static_cast<std::uint64_t>(f.height) > kMaxPixels ||
        !detail::PrepareTarget(src, static_cast<int>(f.width), static_cast<int>(f.height), out)) {
        return {false, str::kMemoryAllocationFailed};
    }
    const Pixel background = PixelFromColour(fill);
    const int n = out.Width();
    const Pixel* pixels = src.Data();
    // Target tiles of kBand rows by kBlock columns: a tile's source is a small turned square
    // whose few rows (and their pages) stay cached while the tile is drawn.
    constexpr int kBand = 16;
    constexpr int kBlock = 16;
    auto rows = [&](int first, int last) {
        RowMapping maps[kBand];
        int spanFrom[kBand];
        int spanTo[kBand];  // exclusive
        for (int i0 = first; i0 < last; i0 += kBand) {
            const int count = std::min(kBand, last - i0);
            for (int k = 0; k < count; ++k) {
                const double y = static_cast<double>(i0 + k) + f.minY;
                maps[k] = {f.minX, f.c, f.s, y * f.s, y * f.c};
                int lo = 0;
                int hi = -1;
                if (!SourceSpan(maps[k], n, w, h, lo, hi)) {
                    lo = n;  // nothing inside: all of the row is fill
                    hi = n - 1;
                }
                spanFrom[k] = lo;
                spanTo[k] = hi + 1;
                Pixel* row = out.Row(i0 + k);
                std::fill(row, row + lo, background);
                std::fill(row + hi + 1, row + n, background);
            }
            for (int j0 = 0; j0 < n; j0 += kBlock) {
                for (int k = 0; k < count; ++k) {
                    CopyRun(maps[k], pixels, w, out.Row(i0 + k), std::max(spanFrom[k], j0),
                            std::min(spanTo[k], j0 + kBlock));
                }
            }
        }
    };
    detail::SplitRows(out.Height(), out.PixelCount(), rows);
    return {true, 0};
}

}  // namespace palvex
