#include "image/raster/rotate.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "image/parallel.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PALVEX_ROTATE_SSE2 1
#endif

namespace palvex {
namespace {

// Source tiles whose rows and the destination rows they feed stay in L1 together; 4 x 4 blocks
// inside a tile are turned in registers.
constexpr int kTile = 64;
// Below this a second thread costs more than it saves.
constexpr std::size_t kParallelPixels = std::size_t{1} << 20;
// Results from this size on are written past the caches.
constexpr std::size_t kStreamPixels = std::size_t{2} << 20;

struct Views {
    const Pixel* src;
    std::size_t srcStride;  // in pixels
    Pixel* dst;
    std::size_t dstStride;
    int w;
    int h;
};

template <bool kClockwise>
inline Pixel* Target(const Views& v, int x, int y) {
    // Where source (x, y) lands.
    return kClockwise ? v.dst + static_cast<std::size_t>(x) * v.dstStride + (v.h - 1 - y)
                      : v.dst + static_cast<std::size_t>(v.w - 1 - x) * v.dstStride + y;
}

template <bool kClockwise>
void TurnScalar(const Views& v, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
        const Pixel* row = v.src + static_cast<std::size_t>(y) * v.srcStride;
        for (int x = x0; x < x1; ++x) {
            *Target<kClockwise>(v, x, y) = row[x];
        }
    }
}

#ifdef PALVEX_ROTATE_SSE2
// Turns the 4 x 4 block whose top-left source pixel is (x, y).
template <bool kClockwise, bool kStream>
inline void TurnBlock(const Views& v, int x, int y) {
    const Pixel* s = v.src + static_cast<std::size_t>(y) * v.srcStride + x;
    const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + v.srcStride));
    const __m128i r2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * v.srcStride));
    const __m128i r3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 3 * v.srcStride));
    const __m128i t0 = _mm_unpacklo_epi32(r0, r1);
    const __m128i t1 = _mm_unpacklo_epi32(r2, r3);
    const __m128i t2 = _mm_unpackhi_epi32(r0, r1);
    const __m128i t3 = _mm_unpackhi_epi32(r2, r3);
    // Column k of the block, top to bottom.
    __m128i c[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1),
                    _mm_unpacklo_epi64(t2, t3), _mm_unpackhi_epi64(t2, t3)};
    for (int k = 0; k < 4; ++k) {
        if constexpr (kClockwise) {
            // A column turned right reads bottom to top.
            c[k] = _mm_shuffle_epi32(c[k], _MM_SHUFFLE(0, 1, 2, 3));
        }
        auto* to = reinterpret_cast<__m128i*>(kClockwise ? Target<true>(v, x + k, y + 3)
                                                         : Target<false>(v, x + k, y));
        if constexpr (kStream) {
            _mm_stream_si128(to, c[k]);
        } else {
            _mm_storeu_si128(to, c[k]);
        }
    }
}
#endif

template <bool kClockwise>
void Turn(const Views& v) {
#ifdef PALVEX_ROTATE_SSE2
    const int w4 = v.w & ~3;
    const int h4 = v.h & ~3;
    // Large results bypass the caches: a tile completes each destination line within a few
    // stores, so nothing has to be read before it is written. That needs 16-byte aligned rows.
    const bool stream =
        static_cast<std::size_t>(v.w) * static_cast<std::size_t>(v.h) >= kStreamPixels &&
        v.h % 4 == 0 && (reinterpret_cast<std::uintptr_t>(v.dst) & 15) == 0;
    // Bands of tile rows on every core: one core alone does not reach the memory's bandwidth.
    const int bands = (h4 + kTile - 1) / kTile;
    const auto band = [&](std::size_t i, unsigned /*worker*/) {
        const int ty = static_cast<int>(i) * kTile;
        const int yEnd = std::min(ty + kTile, h4);
        for (int tx = 0; tx < w4; tx += kTile) {
            const int xEnd = std::min(tx + kTile, w4);
            if (xEnd < w4) {
                // The next tile's source lines, one per row: its many rows are more streams than
                // the processor's prefetcher follows.
                for (int y = ty; y < yEnd; ++y) {
                    const Pixel* next = v.src + static_cast<std::size_t>(y) * v.srcStride + xEnd;
                    for (int i = 0; i < kTile; i += 16) {
                        _mm_prefetch(reinterpret_cast<const char*>(next + i), _MM_HINT_T0);
                    }
                }
            }
            for (int x = tx; x < xEnd; x += 4) {
                for (int y = ty; y < yEnd; y += 4) {
                    if (stream) {
                        TurnBlock<kClockwise, true>(v, x, y);
                    } else {
                        TurnBlock<kClockwise, false>(v, x, y);
                    }
                }
            }
        }
        if (stream) {
            _mm_sfence();
        }
    };
    if (static_cast<std::size_t>(v.w) * static_cast<std::size_t>(v.h) < kParallelPixels) {
        for (int i = 0; i < bands; ++i) {
            band(static_cast<std::size_t>(i), 0);
        }
    } else {
        ParallelFor(static_cast<std::size_t>(bands), band);
    }
    // The strips that do not fill a block.
    TurnScalar<kClockwise>(v, w4, v.w, 0, v.h);
    TurnScalar<kClockwise>(v, 0, w4, h4, v.h);
#else
    for (int ty = 0; ty < v.h; ty += kTile) {
        for (int tx = 0; tx < v.w; tx += kTile) {
            TurnScalar<kClockwise>(v, tx, std::min(tx + kTile, v.w), ty, std::min(ty + kTile, v.h));
        }
    }
#endif
}

template <bool kClockwise>
bool Rotate(const Bitmap& src, Bitmap& dst) {
    if (src.IsNull()) {
        dst.Reset();
        return false;
    }
    const int w = src.Width();
    const int h = src.Height();
    Bitmap aside;
    Bitmap* out = &dst;
    if (&dst == &src) {
        out = &aside;  // rotating an image into itself reads the original throughout
    } else if (!dst.Reshape(h, w)) {
        // A buffer of the same pixel count is taken as it is: its pages are already mapped,
        // where a fresh one would fault in every page as the turn writes it.
        dst.Reset();  // free its old buffer before the new one is allocated
    }
    if ((out->IsNull() || out->Width() != h || out->Height() != w) && !out->Create(h, w)) {
        if (out == &dst) {
            dst.Reset();
        }
        return false;  // an image turned into itself stays as it was
    }
    Turn<kClockwise>(
        {src.Data(), static_cast<std::size_t>(w), out->Data(), static_cast<std::size_t>(h), w, h});
    if (out != &dst) {
        dst = std::move(aside);
    }
    return true;
}

}  // namespace

bool RotateClockwise(const Bitmap& src, Bitmap& dst) {
    return Rotate<true>(src, dst);
}

bool RotateCounterClockwise(const Bitmap& src, Bitmap& dst) {
    return Rotate<false>(src, dst);
}

}  // namespace palvex
