#include "image/raster/pixel_rows.h"

#include <bit>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PALVEX_RASTER_SSE2 1
#endif

namespace palvex::detail {

void CopyRowOpaque(Pixel* dst, const Pixel* src, std::size_t count) {
    std::size_t i = 0;
#ifdef PALVEX_RASTER_SSE2
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(kOpaqueAlpha));
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(s, alpha));
    }
#endif
    for (; i < count; ++i) {
        dst[i] = src[i] | kOpaqueAlpha;
    }
}

#ifdef PALVEX_RASTER_SSE2
namespace {

// Byte mask (one bit a byte) of the lanes of four pixels that are the key colour.
inline int KeyLanes(__m128i pixels, __m128i rgb, __m128i key) {
    return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(pixels, rgb), key));
}

// Key pixels usually come in areas, so groups are mostly all or nothing. Mixed groups are
// stored lane by lane so that the destination, often not in cache, is never read.
inline void StoreUnlessKey(Pixel* dst, const Pixel* src, __m128i pixels, int keys, __m128i alpha) {
    if (keys == 0) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(pixels, alpha));
    } else if (keys != 0xFFFF) {
        for (int lane = 0; lane < 4; ++lane) {
            if ((keys >> (4 * lane) & 1) == 0) {
                dst[lane] = src[lane] | kOpaqueAlpha;
            }
        }
    }
}

}  // namespace
#endif

void CopyRowKeyed(Pixel* dst, const Pixel* src, std::size_t count, Pixel keyRgb) {
    keyRgb &= kRgbMask;
    std::size_t i = 0;
#ifdef PALVEX_RASTER_SSE2
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(kOpaqueAlpha));
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i key = _mm_set1_epi32(static_cast<int>(keyRgb));
    for (; i + 16 <= count; i += 16) {
        __m128i p[4];
        int keys[4];
        for (int k = 0; k < 4; ++k) {
            p[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4 * k));
            keys[k] = KeyLanes(p[k], rgb, key);
        }
        if ((keys[0] | keys[1] | keys[2] | keys[3]) == 0) {
            for (int k = 0; k < 4; ++k) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 4 * k),
                                 _mm_or_si128(p[k], alpha));
            }
        } else {
            for (int k = 0; k < 4; ++k) {
                StoreUnlessKey(dst + i + 4 * k, src + i + 4 * k, p[k], keys[k], alpha);
            }
        }
    }
    for (; i + 4 <= count; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        StoreUnlessKey(dst + i, src + i, p, KeyLanes(p, rgb, key), alpha);
    }
#endif
    for (; i < count; ++i) {
        if ((src[i] & kRgbMask) != keyRgb) {
            dst[i] = src[i] | kOpaqueAlpha;
        }
    }
}

void CopyRowKeyedOver(Pixel* dst, const Pixel* src, const Pixel* background, std::size_t count,
                      Pixel keyRgb) {
    // keyRgb is compared as given: a value with a fourth byte matches nothing.

    std::size_t i = 0;
#ifdef PALVEX_RASTER_SSE2
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(kOpaqueAlpha));
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i key = _mm_set1_epi32(static_cast<int>(keyRgb));
    for (; i + 4 <= count; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(background + i));
        const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(p, rgb), key);
        const __m128i own = _mm_andnot_si128(isKey, _mm_or_si128(p, alpha));
        const __m128i shown = _mm_and_si128(isKey, _mm_or_si128(b, alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(own, shown));
    }
#endif
    for (; i < count; ++i) {
        dst[i] = ((src[i] & kRgbMask) == keyRgb ? background[i] : src[i]) | kOpaqueAlpha;
    }
}

void PrefetchPixels(const Pixel* pixels, std::size_t count) {
#if defined(__GNUC__) || defined(__clang__)
    if (count == 0) {
        return;
    }
    constexpr std::size_t kLine = 64 / sizeof(Pixel);
    for (std::size_t i = 0; i < count; i += kLine) {
        __builtin_prefetch(pixels + i);
    }
    __builtin_prefetch(pixels + count - 1);
#else
    (void)pixels;
    (void)count;
#endif
}

int FindRgb(const Pixel* row, int from, int to, Pixel rgb, bool equal) {
    rgb &= kRgbMask;
    int x = from;
#ifdef PALVEX_RASTER_SSE2
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i key = _mm_set1_epi32(static_cast<int>(rgb));
    // Byte mask bits of the lanes we are looking for: all set when every lane matches.
    const int flip = equal ? 0 : 0xFFFF;
    for (; x + 4 <= to; x += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(p, mask), key)) ^ flip;
        if (hits != 0) {
            return x + std::countr_zero(static_cast<unsigned>(hits)) / 4;
        }
    }
#endif
    for (; x < to; ++x) {
        if (((row[x] & kRgbMask) == rgb) == equal) {
            return x;
        }
    }
    return to;
}

}  // namespace palvex::detail
