#include "selection/transform_buffer.h"

#include <cstdint>
#include <thread>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PALVEX_TRANSFORM_SSE2 1
#endif

namespace palvex::detail {

bool PrepareTarget(const Bitmap& src, int width, int height, Bitmap& out) {
    if (&out == &src) {
        return false;
    }
    if (!out.IsNull() && out.Width() == width && out.Height() == height) {
        return true;
    }
    out.Reset();  // its old buffer goes before the new one is asked for
    return out.Create(width, height);
}

void WriteRow(Pixel* dst, const Pixel* src, std::size_t count, Pixel orMask, bool stream) {
    std::size_t i = 0;
#ifdef PALVEX_TRANSFORM_SSE2
    if (stream) {
        // Streaming stores need 16-byte aligned targets; pixels are 4-byte aligned.
        for (; i < count && (reinterpret_cast<std::uintptr_t>(dst + i) & 15) != 0; ++i) {
            dst[i] = src[i] | orMask;
        }
        const __m128i mask = _mm_set1_epi32(static_cast<int>(orMask));
        for (; i + 4 <= count; i += 4) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(v, mask));
        }
    }
#else
    (void)stream;
#endif
    for (; i < count; ++i) {
        dst[i] = src[i] | orMask;
    }
}

void GatherRow(Pixel* dst, const Pixel* src, const int* columns, std::size_t count, Pixel orMask,
               bool stream) {
    std::size_t i = 0;
#ifdef PALVEX_TRANSFORM_SSE2
    if (stream) {
        for (; i < count && (reinterpret_cast<std::uintptr_t>(dst + i) & 15) != 0; ++i) {
            dst[i] = src[columns[i]] | orMask;
        }
        const __m128i mask = _mm_set1_epi32(static_cast<int>(orMask));
        for (; i + 4 <= count; i += 4) {
            const __m128i v = _mm_set_epi32(
                static_cast<int>(src[columns[i + 3]]), static_cast<int>(src[columns[i + 2]]),
                static_cast<int>(src[columns[i + 1]]), static_cast<int>(src[columns[i]]));
            _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(v, mask));
        }
    }
#else
    (void)stream;
#endif
    for (; i < count; ++i) {
        dst[i] = src[columns[i]] | orMask;
    }
}

void WriteRowReversed(Pixel* dst, const Pixel* src, std::size_t count, bool stream) {
    std::size_t i = 0;
#ifdef PALVEX_TRANSFORM_SSE2
    if (stream) {
        for (; i < count && (reinterpret_cast<std::uintptr_t>(dst + i) & 15) != 0; ++i) {
            dst[i] = src[count - 1 - i];
        }
    }
    for (; i + 4 <= count; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + count - 4 - i));
        const __m128i r = _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));
        if (stream) {
            _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i), r);
        } else {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), r);
        }
    }
#else
    (void)stream;
#endif
    for (; i < count; ++i) {
        dst[i] = src[count - 1 - i];
    }
}

void StreamFence() {
#ifdef PALVEX_TRANSFORM_SSE2
    _mm_sfence();
#endif
}

void SplitRows(int count, std::size_t workPixels, void (*body)(void*, int, int), void* context) {
    // Below a few megapixels a thread costs more than it saves.
    constexpr std::size_t kSplitPixels = std::size_t{4} << 20;
    if (count < 2 || workPixels < kSplitPixels || std::thread::hardware_concurrency() < 2) {
        body(context, 0, count);
        return;
    }
    const int half = count / 2;
    std::thread other;
    try {
        other = std::thread(body, context, half, count);
    } catch (...) {
        // No thread to be had: the same work, here.
        body(context, 0, count);
        return;
    }
    body(context, 0, half);
    other.join();
}

}  // namespace palvex::detail
