#include "image/codecs/png_unfilter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PALVEX_PNG_SSE2 1
#endif

// The filters work per byte with the byte bpp back and the byte above. Both paths turn the file's
// R, G, B(, A) bytes into pixel order first and filter in pixel order, where the row above
// already is: the channels are independent, so the order they sit in does not matter. For RGB the
// alpha byte is filtered as junk and set to 0xFF on the way out.

namespace palvex {
namespace {

enum Filter { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

constexpr Pixel kLow7 = 0x7F7F7F7Fu;
constexpr Pixel kHigh = 0x80808080u;

// Four bytes added or floor-averaged at once, no carry crossing into the next byte.
inline Pixel AddBytes(Pixel x, Pixel y) {
    return ((x & kLow7) + (y & kLow7)) ^ ((x ^ y) & kHigh);
}
inline Pixel AverageBytes(Pixel x, Pixel y) {
    return (x & y) + ((x ^ y) >> 1 & kLow7);
}

template <int Bpp>
inline Pixel LoadFiltered(const std::uint8_t* s) {
    Pixel p = Pixel{s[2]} | Pixel{s[1]} << 8 | Pixel{s[0]} << 16;
    if constexpr (Bpp == 4) {
        p |= Pixel{s[3]} << 24;
    }
    return p;
}

template <int Bpp>
inline Pixel Finish(Pixel p) {
    if constexpr (Bpp == 3) {
        return p | kOpaqueAlpha;
    }
    return p;
}

template <int Bpp>
inline Pixel PaethBytes(Pixel f, Pixel a, Pixel b, Pixel c) {
    Pixel out = 0;
    for (int shift = 0; shift < 8 * Bpp; shift += 8) {
        const int av = static_cast<int>(a >> shift & 0xFF);
        const int bv = static_cast<int>(b >> shift & 0xFF);
        const int cv = static_cast<int>(c >> shift & 0xFF);
        const int pa = std::abs(bv - cv);
        const int pb = std::abs(av - cv);
        const int pc = std::abs(av + bv - 2 * cv);
        // Masks rather than branches: on noisy rows the choice is a coin toss for a predictor.
        const int useC = -static_cast<int>(pc < pb);
        const int notA = -static_cast<int>(std::min(pb, pc) < pa);
        const int nearBc = bv ^ ((bv ^ cv) & useC);
        const int pred = av ^ ((av ^ nearBc) & notA);
        out |= ((static_cast<Pixel>(pred) + (f >> shift)) & 0xFF) << shift;
    }
    return out;
}

// Pixels [x, width) one at a time; the left neighbour of x is read back from dst.
template <int Bpp, int Filter>
void ScalarRange(const std::uint8_t* src, const Pixel* prior, Pixel* dst, std::size_t x,
                 std::size_t width) {
    Pixel left = x > 0 ? dst[x - 1] : 0;
    Pixel upLeft = prior != nullptr && x > 0 ? prior[x - 1] : 0;
    for (; x < width; ++x) {
        // Read before the write: dst[x] may cover these very bytes.
        const Pixel f = LoadFiltered<Bpp>(src + Bpp * x);
        const Pixel up = prior != nullptr ? prior[x] : 0;
        Pixel out = f;
        if constexpr (Filter == kSub) {
            out = AddBytes(f, left);
        } else if constexpr (Filter == kUp) {
            out = AddBytes(f, up);
        } else if constexpr (Filter == kAverage) {
            out = AddBytes(f, AverageBytes(left, up));
        } else if constexpr (Filter == kPaeth) {
            out = PaethBytes<Bpp>(f, left, up, upLeft);
        }
        left = Finish<Bpp>(out);
        dst[x] = left;
        upLeft = up;
    }
}

template <int Bpp>
void ScalarRows(int filter, const std::uint8_t* src, const Pixel* prior, Pixel* dst, std::size_t x,
                std::size_t width) {
    switch (filter) {
        case kNone:
            return ScalarRange<Bpp, kNone>(src, prior, dst, x, width);
        case kSub:
            return ScalarRange<Bpp, kSub>(src, prior, dst, x, width);
        case kUp:
            return ScalarRange<Bpp, kUp>(src, prior, dst, x, width);
        case kAverage:
            return ScalarRange<Bpp, kAverage>(src, prior, dst, x, width);
        default:
            return ScalarRange<Bpp, kPaeth>(src, prior, dst, x, width);
    }
}

bool Valid(int filter, int bpp) {
    return filter >= kNone && filter <= kPaeth && (bpp == 3 || bpp == 4);
}

#ifdef PALVEX_PNG_SSE2

// Each loop below handles whole groups of four pixels and returns where it stopped; the last
// zero to three pixels go through the scalar code. A group's source bytes are all loaded before
// its 16 bytes of output are stored, which is what decoding in place needs.

inline __m128i Load(const void* p) {
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

// Four pixels' bytes in 32-bit lanes as the file has them: R, G, B, then A (junk for RGB).
template <int Bpp>
inline __m128i LoadFileOrder(const std::uint8_t* src, std::size_t x, std::size_t width) {
    if constexpr (Bpp == 4) {
        return Load(src + 4 * x);
    } else {
        const std::uint8_t* s = src + 3 * x;
        __m128i v;
        if (width - x >= 6) {
            // The four bytes past the group belong to pixels not written yet.
            v = Load(s);
        } else {
            std::uint8_t last[16] = {};
            std::memcpy(last, s, 12);
            v = Load(last);
        }
        return _mm_unpacklo_epi64(_mm_unpacklo_epi32(v, _mm_srli_si128(v, 3)),
                                  _mm_unpacklo_epi32(_mm_srli_si128(v, 6), _mm_srli_si128(v, 9)));
    }
}

// The same in pixel order: R and B trade places.
template <int Bpp>
inline __m128i LoadGroup(const std::uint8_t* src, std::size_t x, std::size_t width) {
    const __m128i v = LoadFileOrder<Bpp>(src, x, width);
    const __m128i greenAlpha = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
    const __m128i low = _mm_set1_epi32(0xFF);
    return _mm_or_si128(_mm_and_si128(v, greenAlpha),
                        _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 16), low),
                                     _mm_slli_epi32(_mm_and_si128(v, low), 16)));
}

template <int Bpp>
inline void StoreGroup(Pixel* dst, std::size_t x, __m128i v) {
    if constexpr (Bpp == 3) {
        v = _mm_or_si128(v, _mm_set1_epi32(static_cast<int>(kOpaqueAlpha)));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), v);
}

template <int Bpp>
std::size_t NoneGroups(const std::uint8_t* src, Pixel* dst, std::size_t width) {
    std::size_t x = 0;
    for (; x + 4 <= width; x += 4) {
        StoreGroup<Bpp>(dst, x, LoadGroup<Bpp>(src, x, width));
    }
    return x;
}

template <int Bpp>
std::size_t UpGroups(const std::uint8_t* src, const Pixel* prior, Pixel* dst, std::size_t width) {
    std::size_t x = 0;
    for (; x + 4 <= width; x += 4) {
        StoreGroup<Bpp>(dst, x, _mm_add_epi8(LoadGroup<Bpp>(src, x, width), Load(prior + x)));
    }
    return x;
}

template <int Bpp>
std::size_t SubGroups(const std::uint8_t* src, Pixel* dst, std::size_t width) {
    std::size_t x = 0;
    __m128i left = _mm_setzero_si128();
    for (; x + 4 <= width; x += 4) {
        // A running sum over the four pixels in two steps, then the group to the left.
        __m128i v = LoadGroup<Bpp>(src, x, width);
        v = _mm_add_epi8(v, _mm_slli_si128(v, 4));
        v = _mm_add_epi8(v, _mm_slli_si128(v, 8));
        v = _mm_add_epi8(v, _mm_shuffle_epi32(left, _MM_SHUFFLE(3, 3, 3, 3)));
        left = v;
        StoreGroup<Bpp>(dst, x, v);
    }
    return x;
}

// Each pixel waits for its left neighbour, so the chain decides the speed. pavgb rounds up, but
// floor((a + b) / 2) == ~pavgb(~a, ~b), so carrying the complement ~out = pavgb(~a, ~b) - f
// keeps the chain at two instructions a pixel.
template <int Bpp, bool HasPrior>
std::size_t AverageGroups(const std::uint8_t* src, const Pixel* prior, Pixel* dst,
                          std::size_t width) {
    const __m128i ones = _mm_set1_epi32(-1);
    std::size_t x = 0;
    __m128i notLeft = ones;
    for (; x + 4 <= width; x += 4) {
        const __m128i f = LoadGroup<Bpp>(src, x, width);
        __m128i notUp = ones;
        if constexpr (HasPrior) {
            notUp = _mm_xor_si128(Load(prior + x), ones);
        }
        const __m128i n0 = _mm_sub_epi8(_mm_avg_epu8(notLeft, notUp), f);
        const __m128i n1 =
            _mm_sub_epi8(_mm_avg_epu8(n0, _mm_srli_si128(notUp, 4)), _mm_srli_si128(f, 4));
        const __m128i n2 =
            _mm_sub_epi8(_mm_avg_epu8(n1, _mm_srli_si128(notUp, 8)), _mm_srli_si128(f, 8));
        const __m128i n3 =
            _mm_sub_epi8(_mm_avg_epu8(n2, _mm_srli_si128(notUp, 12)), _mm_srli_si128(f, 12));
        notLeft = n3;
        const __m128i n =
            _mm_unpacklo_epi64(_mm_unpacklo_epi32(n0, n1), _mm_unpacklo_epi32(n2, n3));
        StoreGroup<Bpp>(dst, x, _mm_xor_si128(n, ones));
    }
    return x;
}

// Paeth picks the left neighbour a, the byte above b or the one above-left c by which is nearest
// to a + b - c. Worked out per pixel that is a long chain of steps from a to the next pixel's a,
// and that chain decides the speed. But for given b and c, the choice only depends on where a
// lies relative to b, the midpoint m / 2 of c and k = 2c - b (m = 3c - b) and e = 3c - 2b:
//   c > b:  b < a <= m / 2 picks b,   m / 2 < a < e picks c,   anything else a;
//   c < b:  m / 2 <= a < b picks b,   e < a < m / 2 picks c,   anything else a.
// So the bounds are worked out ahead for the whole group, in one form for both cases, and each
// pixel only tests a against them. (With c == b the form picks b for a == b, which gives the
// same byte as a.) All in 16-bit lanes, one pixel in each half of a register.
struct PaethBounds {
    __m128i lowB, highB;  // b when lowB < a < highB
    __m128i lowC, highC;  // c when lowC < a < highC, else a
    __m128i f, bf, cf;    // the filtered bytes, and already added to b and c
};

inline PaethBounds Bounds(__m128i b, __m128i c, __m128i f) {
    const __m128i one = _mm_set1_epi16(1);
    const __m128i m = _mm_sub_epi16(_mm_add_epi16(_mm_add_epi16(c, c), c), b);
    const __m128i e = _mm_sub_epi16(m, b);
    const __m128i floorHalf = _mm_srai_epi16(m, 1);
    const __m128i ceilHalf = _mm_srai_epi16(_mm_add_epi16(m, one), 1);
    PaethBounds out;
    out.lowB = _mm_min_epi16(b, _mm_sub_epi16(ceilHalf, one));
    out.highB = _mm_max_epi16(b, _mm_add_epi16(floorHalf, one));
    out.lowC = _mm_min_epi16(e, floorHalf);
    out.highC = _mm_max_epi16(e, ceilHalf);
    // Byte adds: the high byte of each lane stays zero, the low one wraps as it must.
    out.f = f;
    out.bf = _mm_add_epi8(b, f);
    out.cf = _mm_add_epi8(c, f);
    return out;
}

inline __m128i High(__m128i v) {
    return _mm_unpackhi_epi64(v, v);
}

inline PaethBounds High(const PaethBounds& in) {
    return {High(in.lowB), High(in.highB), High(in.lowC), High(in.highC),
            High(in.f),    High(in.bf),    High(in.cf)};
}

// Five steps from a to the pixel.
inline __m128i PaethPixel(__m128i a, const PaethBounds& in) {
    const __m128i af = _mm_add_epi8(a, in.f);
    const __m128i useB = _mm_and_si128(_mm_cmpgt_epi16(a, in.lowB), _mm_cmpgt_epi16(in.highB, a));
    const __m128i useC = _mm_and_si128(_mm_cmpgt_epi16(a, in.lowC), _mm_cmpgt_epi16(in.highC, a));
    const __m128i picked = _mm_or_si128(_mm_and_si128(useB, in.bf), _mm_and_si128(useC, in.cf));
    return _mm_or_si128(_mm_andnot_si128(_mm_or_si128(useB, useC), af), picked);
}

template <int Bpp>
std::size_t PaethGroups(const std::uint8_t* src, const Pixel* prior, Pixel* dst,
                        std::size_t width) {
    const __m128i zero = _mm_setzero_si128();
    std::size_t x = 0;
    __m128i left = zero;
    __m128i lastUp = zero;
    for (; x + 4 <= width; x += 4) {
        const __m128i filtered = LoadFileOrder<Bpp>(src, x, width);
        const __m128i up = Load(prior + x);
        // R and B trade places in the 16-bit lanes.
        const __m128i f01 = _mm_shufflehi_epi16(
            _mm_shufflelo_epi16(_mm_unpacklo_epi8(filtered, zero), _MM_SHUFFLE(3, 0, 1, 2)),
            _MM_SHUFFLE(3, 0, 1, 2));
        const __m128i f23 = _mm_shufflehi_epi16(
            _mm_shufflelo_epi16(_mm_unpackhi_epi8(filtered, zero), _MM_SHUFFLE(3, 0, 1, 2)),
            _MM_SHUFFLE(3, 0, 1, 2));
        const __m128i b01 = _mm_unpacklo_epi8(up, zero);
        const __m128i b23 = _mm_unpackhi_epi8(up, zero);
        const __m128i c01 = _mm_or_si128(_mm_slli_si128(b01, 8), _mm_srli_si128(lastUp, 8));
        const __m128i c23 = _mm_or_si128(_mm_slli_si128(b23, 8), _mm_srli_si128(b01, 8));
        lastUp = b23;
        const PaethBounds in01 = Bounds(b01, c01, f01);
        const PaethBounds in23 = Bounds(b23, c23, f23);
        const __m128i o0 = PaethPixel(left, in01);
        const __m128i o1 = PaethPixel(o0, High(in01));
        const __m128i o2 = PaethPixel(o1, in23);
        const __m128i o3 = PaethPixel(o2, High(in23));
        left = o3;
        StoreGroup<Bpp>(dst, x,
                        _mm_packus_epi16(_mm_unpacklo_epi64(o0, o1), _mm_unpacklo_epi64(o2, o3)));
    }
    return x;
}

template <int Bpp>
void SimdRow(int filter, const std::uint8_t* src, const Pixel* prior, Pixel* dst,
             std::size_t width) {
    std::size_t done = 0;
    switch (filter) {
        case kNone:
            done = NoneGroups<Bpp>(src, dst, width);
            break;
        case kSub:
            done = SubGroups<Bpp>(src, dst, width);
            break;
        case kUp:
            done = prior != nullptr ? UpGroups<Bpp>(src, prior, dst, width)
                                    : NoneGroups<Bpp>(src, dst, width);
            break;
        case kAverage:
            done = prior != nullptr ? AverageGroups<Bpp, true>(src, prior, dst, width)
                                    : AverageGroups<Bpp, false>(src, prior, dst, width);
            break;
        default:
            // Above the first row everything is zero, and Paeth then always picks the left.
            done = prior != nullptr ? PaethGroups<Bpp>(src, prior, dst, width)
                                    : SubGroups<Bpp>(src, dst, width);
            break;
    }
    ScalarRows<Bpp>(filter, src, prior, dst, done, width);
}

#endif

}  // namespace

bool UnfilterRowToPixelsScalar(int filter, int bpp, const std::uint8_t* src, const Pixel* prior,
                               Pixel* dst, std::size_t width) {
    if (!Valid(filter, bpp)) {
        return false;
    }
    if (bpp == 4) {
        ScalarRows<4>(filter, src, prior, dst, 0, width);
    } else {
        ScalarRows<3>(filter, src, prior, dst, 0, width);
    }
    return true;
}

bool UnfilterRowToPixels(int filter, int bpp, const std::uint8_t* src, const Pixel* prior,
                         Pixel* dst, std::size_t width) {
#ifdef PALVEX_PNG_SSE2
    if (!Valid(filter, bpp)) {
        return false;
    }
    if (bpp == 4) {
        SimdRow<4>(filter, src, prior, dst, width);
    } else {
        SimdRow<3>(filter, src, prior, dst, width);
    }
    return true;
#else
    return UnfilterRowToPixelsScalar(filter, bpp, src, prior, dst, width);
#endif
}

}  // namespace palvex
