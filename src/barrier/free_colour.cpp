#include "barrier/free_colour.h"

#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace palvex {
namespace {

using Word = std::uint64_t;

// Only the 32768 candidates can be the answer, and a channel value is a candidate level exactly
// when its low three bits repeat its top three (v = 8j + j div 4). So only pixels whose three
// channels pass that test are recorded, in a 4 KiB set: a set of all 2^24 colours (2 MiB)
// costs a cache miss a pixel on a photograph, about forty times a memcpy of the image.
constexpr Pixel kLowBits = 0x070707u;
constexpr std::size_t kCandidates = 32768;

bool IsCandidate(Pixel p) {
    return ((p ^ (p >> 5)) & kLowBits) == 0;
}

// The candidate's position in the search order: red, then green, then blue, each from 255 down.
std::size_t CandidateIndex(Pixel p) {
    const Pixel levels = (p >> 19 & 31) << 10 | (p >> 11 & 31) << 5 | (p >> 3 & 31);
    return kCandidates - 1 - levels;
}

constexpr int kBlock = 16;

// Whether any of a block's pixels is a candidate (photographs rarely have one) and whether they
// differ (flat areas and the key mostly do not). The compiler unrolls the plain loop before it
// could vectorise it, hence the SSE2 version: together they make the pass about as fast as
// reading the image.
#if defined(__SSE2__) || defined(_M_X64)
bool AnyCandidate(const Pixel* block, bool& mixed) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_set1_epi32(static_cast<int>(kLowBits));
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i first = _mm_set1_epi32(static_cast<int>(block[0]));
    __m128i hit = zero;
    __m128i differ = zero;
    for (int i = 0; i < kBlock; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
        const __m128i bits = _mm_and_si128(_mm_xor_si128(p, _mm_srli_epi32(p, 5)), low);
        hit = _mm_or_si128(hit, _mm_cmpeq_epi32(bits, zero));
        differ = _mm_or_si128(differ, _mm_and_si128(_mm_xor_si128(p, first), rgb));
    }
    mixed = _mm_movemask_epi8(_mm_cmpeq_epi32(differ, zero)) != 0xFFFF;
    return _mm_movemask_epi8(hit) != 0;
}
#else
bool AnyCandidate(const Pixel* block, bool& mixed) {
    bool any = false;
    Pixel differ = 0;
    for (int i = 0; i < kBlock; ++i) {
        any = any || IsCandidate(block[i]);
        differ |= (block[i] ^ block[0]) & kRgbMask;
    }
    mixed = differ != 0;
    return any;
}
#endif

constexpr Colour Level(std::size_t k) {
    const auto j = static_cast<int>(31 - k);
    return static_cast<Colour>(j * 8 + j / 4);
}

class CandidateSet {
public:
    void Mark(Pixel p) {
        const std::size_t i = CandidateIndex(p);
        words_[i / 64] |= Word{1} << (i % 64);
    }
    // Records the candidates among the pixels; runs of one colour (flat backgrounds, the key)
    // cost a comparison a pixel.
    void MarkRow(const Pixel* row, int count) {
        int x = 0;
        for (; x + kBlock <= count; x += kBlock) {
            const Pixel* block = row + x;
            bool mixed = false;
            if (AnyCandidate(block, mixed)) {
                MarkEach(block, mixed ? kBlock : 1);
            }
        }
        MarkEach(row + x, count - x);
    }
    // The first candidate not marked, as a colour; kNoColour when all are.
    Colour FirstFree() const {
        for (std::size_t w = 0; w < words_.size(); ++w) {
            if (words_[w] != ~Word{0}) {
                const std::size_t k = w * 64 + static_cast<std::size_t>(std::countr_one(words_[w]));
                return Rgb(static_cast<int>(Level(k >> 10)), static_cast<int>(Level(k >> 5 & 31)),
                           static_cast<int>(Level(k & 31)));
            }
        }
        return kNoColour;
    }

private:
    void MarkEach(const Pixel* pixels, int count) {
        for (int i = 0; i < count; ++i) {
            const Pixel p = pixels[i] & kRgbMask;
            if (p != last_ && IsCandidate(p)) {
                Mark(p);
                last_ = p;
            }
        }
    }

    std::array<Word, kCandidates / 64> words_{};
    Pixel last_ = ~Pixel{0};  // no pixel's colour bits
};

}  // namespace

FreeColour FindFreeColor(const Bitmap& image, const Rect& r) {
    CandidateSet seen;
    if (!r.IsEmpty()) {
        const Rect inside = r.Intersected(image.Bounds());
        if (inside != r) {
            seen.Mark(kRgbMask);  // white
        }
        for (int y = inside.top; y < inside.bottom; ++y) {
            seen.MarkRow(image.Row(y) + inside.left, inside.Width());
        }
    }
    const Colour free = seen.FirstFree();
    if (free == kNoColour) {
        return {FreeColourStatus::NoneFree, 0};
    }
    return {FreeColourStatus::Found, free};
}

}  // namespace palvex
