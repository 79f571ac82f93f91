#include "image/raster/key_run_record.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <new>

#include "image/parallel.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PALVEX_KEY_RUNS_SSE2 1
#endif

namespace palvex {
namespace {

constexpr int kBlock = 32;

inline bool IsKey(Pixel p, Pixel key) {
    return ((p ^ key) & kRgbMask) == 0;
}

// Bit i set when pixel i of the block is the key. A block wholly inside or outside a run is then
// passed over with one comparison, and the edges inside a block are found from the bits, which
// keeps the scan near the speed of reading the image.
inline std::uint32_t KeyMask(const Pixel* p, Pixel key) {
#ifdef PALVEX_KEY_RUNS_SSE2
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i wanted = _mm_set1_epi32(static_cast<int>(key & kRgbMask));
    std::uint32_t mask = 0;
    for (int i = 0; i < kBlock / 4; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4 * i));
        const __m128i same = _mm_cmpeq_epi32(_mm_and_si128(v, rgb), wanted);
        mask |= static_cast<std::uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(same))) << (4 * i);
    }
    return mask;
#else
    std::uint32_t mask = 0;
    for (int i = 0; i < kBlock; ++i) {
        mask |= static_cast<std::uint32_t>(IsKey(p[i], key)) << i;
    }
    return mask;
#endif
}

// Calls fn(x0, x1) for each run of set bits of row y, left to right. No bit outside the image's
// columns is ever set.
template <typename Fn>
void ForEachBitRun(const KeyBits& bits, int y, Fn&& fn) {
    bool inRun = false;
    int start = 0;
    for (std::ptrdiff_t w = 0; w < bits.WordsPerRow(); ++w) {
        const std::uint64_t word = bits.Word(w, y);
        if (word == (inRun ? ~std::uint64_t{0} : 0)) {
            continue;
        }
        for (std::uint64_t edges = word ^ (word << 1 | (inRun ? 1u : 0u)); edges != 0;
             edges &= edges - 1) {
            const int x = static_cast<int>(w * 64 + std::countr_zero(edges));
            if (!inRun) {
                start = x;
            } else {
                fn(start, x);
            }
            inRun = !inRun;
        }
    }
    if (inRun) {
        fn(start, bits.Width());
    }
}

void WriteKey(Pixel* row, int x0, int x1, Pixel rgb) {
    // Bounds in locals: the compiler cannot tell the pixels from the record, and would read the
    // run's end again after every store instead of vectorising.
    Pixel* p = row + x0;
    Pixel* const end = row + x1;
    for (; p != end; ++p) {
        *p = (*p & ~kRgbMask) | rgb;
    }
}

}  // namespace

bool KeyBits::Reset(int width, int height) {
    width_ = 0;
    height_ = 0;
    wordsPerRow_ = 0;
    words_.reset();
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::ptrdiff_t perRow = (std::ptrdiff_t{width} + 63) / 64;
    const std::size_t bytes = static_cast<std::size_t>(perRow) * height * sizeof(std::uint64_t);
    words_.reset(static_cast<std::uint64_t*>(AllocateLarge(bytes)));
    if (!words_) {
        return false;
    }
    std::memset(words_.get(), 0, bytes);
    width_ = width;
    height_ = height;
    wordsPerRow_ = perRow;
    return true;
}

void KeyBits::Scan(const Bitmap& image, Colour key, int x0, int x1) {
    if (key > kRgbMask || image.Width() != width_ || image.Height() != height_) {
        return;
    }
    const Pixel pixelKey = PixelFromColour(key);
    for (int y = 0; y < height_; ++y) {
        const Pixel* row = image.Row(y);
        for (int x = x0; x < x1; ++x) {
            if (IsKey(row[x], pixelKey)) {
                Set(x, y);
            }
        }
    }
}

KeyRunRecord::KeyRunRecord(const Bitmap& image, Colour key, std::size_t budget)
    : width_(image.Width()), height_(image.Height()), key_(key) {
    if (image.IsNull()) {
        return;
    }
    const std::size_t bytes = budget != 0 ? budget : image.ByteCount() / 8;
    // A floor, so that small images, whose copies cost little either way, are recorded too.
    budget_ = std::max<std::size_t>(bytes / sizeof(Run), budget != 0 ? 0 : 4096);
    lost_ = false;
    // No pixel's colour has the top byte of "no colour": then nothing is the key.
    if (key > kRgbMask) {
        return;
    }
    const Pixel pixelKey = PixelFromColour(key);
    // Bands of rows on every core, each with its runs of its own, joined in order: the scan is a
    // read of the whole image, and one core does not reach the memory's speed.
    const std::size_t bands = std::min<std::size_t>(static_cast<std::size_t>(height_),
                                                    std::size_t{4} * WorkersFor(height_));
    std::vector<std::vector<Run>> found(bands);
    std::vector<char> failed(bands, 0);
    ParallelFor(bands, [&](std::size_t band, unsigned) {
        const int first = static_cast<int>(band * height_ / bands);
        const int last = static_cast<int>((band + 1) * height_ / bands);
        try {
            for (int y = first; y < last; ++y) {
                if (!ScanRow(image.Row(y), y, pixelKey, width_, budget_, found[band])) {
                    failed[band] = 1;
                    return;
                }
            }
        } catch (const std::bad_alloc&) {
            failed[band] = 1;
        }
    });
    std::size_t total = 0;
    for (std::size_t band = 0; band < bands; ++band) {
        lost_ = lost_ || failed[band] != 0;
        total += found[band].size();
    }
    lost_ = lost_ || total > budget_;
    try {
        if (!lost_) {
            runs_.reserve(total);
            for (const std::vector<Run>& runs : found) {
                runs_.insert(runs_.end(), runs.begin(), runs.end());
            }
        }
    } catch (const std::bad_alloc&) {
        lost_ = true;
    }
    if (lost_) {
        runs_ = {};  // the caller falls back to a copy, which needs the memory
    }
}

KeyRunRecord::KeyRunRecord(KeyBits bits, Colour key, std::size_t budget)
    : width_(bits.Width()), height_(bits.Height()), key_(key) {
    lost_ = false;
    if (height_ == 0) {
        return;
    }
    const std::size_t bitBytes = bits.WordCount() * sizeof(std::uint64_t);
    const std::size_t imageBytes = std::size_t{4} * static_cast<std::size_t>(width_) * height_;
    budget_ = std::min(bitBytes, budget != 0 ? budget : imageBytes / 8) / sizeof(Run);
    const std::size_t bands = std::min<std::size_t>(static_cast<std::size_t>(height_),
                                                    std::size_t{4} * WorkersFor(height_));
    std::vector<std::vector<Run>> found(bands);
    // The runs of every band so far: a ragged key stops all of them as soon as it is over.
    std::atomic<std::size_t> total{0};
    ParallelFor(bands, [&](std::size_t band, unsigned) {
        const int first = static_cast<int>(band * height_ / bands);
        const int last = static_cast<int>((band + 1) * height_ / bands);
        std::vector<Run>& runs = found[band];
        try {
            for (int y = first; y < last && total.load(std::memory_order_relaxed) <= budget_; ++y) {
                const std::size_t before = runs.size();
                ForEachBitRun(bits, y, [&](int x0, int x1) { runs.push_back({y, x0, x1}); });
                total += runs.size() - before;
            }
        } catch (const std::bad_alloc&) {
            total = budget_ + 1;
        }
    });
    if (total <= budget_) {
        try {
            runs_.reserve(total.load());
            for (const std::vector<Run>& runs : found) {
                runs_.insert(runs_.end(), runs.begin(), runs.end());
            }
            return;
        } catch (const std::bad_alloc&) {
            runs_ = {};
        }
    }
    // Too ragged for runs: the bits themselves, at most a thirty-second of the image.
    bits_ = std::move(bits);
}

bool KeyRunRecord::ScanRow(const Pixel* row, int y, Pixel key, int width, std::size_t budget,
                           std::vector<Run>& runs) {
    bool inRun = false;
    int start = 0;
    const auto edge = [&](int x) {
        if (!inRun) {
            start = x;
            inRun = true;
            return true;
        }
        inRun = false;
        if (runs.size() >= budget) {
            return false;
        }
        runs.push_back({y, start, x});
        return true;
    };
    int x = 0;
    for (; x <= width - kBlock; x += kBlock) {
        const std::uint32_t mask = KeyMask(row + x, key);
        if (mask == (inRun ? ~0u : 0u)) {
            continue;
        }
        // A bit for every pixel that differs from the one before it.
        for (std::uint32_t edges = mask ^ (mask << 1 | (inRun ? 1u : 0u)); edges != 0;
             edges &= edges - 1) {
            if (!edge(x + std::countr_zero(edges))) {
                return false;
            }
        }
    }
    for (; x < width; ++x) {
        if (IsKey(row[x], key) != inRun && !edge(x)) {
            return false;
        }
    }
    return !inRun || edge(width);
}

bool KeyRunRecord::Fits(const Bitmap& image) const {
    return !lost_ && !image.IsNull() && image.Width() == width_ && image.Height() == height_;
}

bool KeyRunRecord::Write(Bitmap& image) const {
    if (!Fits(image)) {
        return false;
    }
    const Pixel rgb = PixelFromColour(key_) & kRgbMask;
    if (KeepsBits()) {
        for (int y = 0; y < height_; ++y) {
            ForEachBitRun(bits_, y, [&](int x0, int x1) { WriteKey(image.Row(y), x0, x1, rgb); });
        }
        return true;
    }
    for (const Run& run : runs_) {
        WriteKey(image.Row(run.y), run.x0, run.x1, rgb);
    }
    return true;
}

}  // namespace palvex
