#include "image/raster/fill_record.h"

#include <algorithm>
#include <new>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace palvex {

FillRecord::FillRecord(int width, int height, Pixel before, Pixel after, std::size_t area)
    : width_(width),
      height_(height),
      before_(before),
      after_(after),
      // A floor, so that small images, whose copies cost little either way, are recorded too.
      budget_(std::max<std::size_t>(
          (area != 0 ? area : static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) /
              sizeof(Run),
          4096)) {
    static_assert(sizeof(Run) == sizeof(Odd));
}

namespace {

// Writes `after` into [from, to) of a row whose pixels are `before` but for a few. Returns the
// first pixel left unwritten because it differs, or `to`. Reading and writing in one pass, four
// pixels at a time where the processor has SSE2: the fill writes the run anyway, so recording
// it costs a comparison per four pixels.
Pixel* WriteWhileSame(Pixel* from, Pixel* to, Pixel before, Pixel after) {
    Pixel* p = from;
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i old = _mm_set1_epi32(static_cast<int>(before));
    const __m128i value = _mm_set1_epi32(static_cast<int>(after));
    for (; to - p >= 4; p += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(p);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_loadu_si128(at), old)) != 0xFFFF) {
            break;
        }
        _mm_storeu_si128(at, value);
    }
#endif
    for (; p != to && *p == before; ++p) {
        *p = after;
    }
    return p;
}

}  // namespace

bool FillRecord::Fill(int y, int x0, int x1, Pixel* row) {
    if (runs_.size() + odd_.size() >= budget_) {
        lost_ = true;
        return false;
    }
    bool recorded = false;
    int written = x0;  // [x0, written) holds the fill's value
    try {
        runs_.push_back({y, x0, x1});
        recorded = true;
        while (written < x1) {
            written =
                static_cast<int>(WriteWhileSame(row + written, row + x1, before_, after_) - row);
            if (written < x1) {  // an old pixel whose fourth byte differs
                odd_.push_back({y, written, row[written]});
                row[written++] = after_;
            }
        }
    } catch (const std::bad_alloc&) {
        // The run is put back as it was and forgotten.
        if (recorded) {
            runs_.pop_back();
            std::fill(row + x0, row + written, before_);
            while (!odd_.empty() && odd_.back().y == y && odd_.back().x >= x0 &&
                   odd_.back().x < x1) {
                row[odd_.back().x] = odd_.back().value;
                odd_.pop_back();
            }
        }
        lost_ = true;
        return false;
    }
    return true;
}

bool FillRecord::Fits(const Bitmap& image) const {
    return runs_.empty() ||
           (!image.IsNull() && image.Width() == width_ && image.Height() == height_);
}

bool FillRecord::Write(Bitmap& image, bool before, bool check) const {
    if (!Fits(image)) {
        return false;
    }
    const Pixel to = before ? before_ : after_;
    const Pixel from = before ? after_ : before_;
    // Only the after side holds one value throughout, so only the way back is checked, as it is
    // written; a run found changed undoes what was written, which all held `from`.
    check = check && before;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        const Run& run = runs_[i];
        Pixel* row = image.Row(run.y);
        if (!check) {
            std::fill(row + run.x0, row + run.x1, to);
            continue;
        }
        Pixel* const stop = WriteWhileSame(row + run.x0, row + run.x1, from, to);
        if (stop != row + run.x1) {
            std::fill(row + run.x0, stop, from);
            for (std::size_t j = 0; j < i; ++j) {
                std::fill(image.Row(runs_[j].y) + runs_[j].x0, image.Row(runs_[j].y) + runs_[j].x1,
                          from);
            }
            return false;
        }
    }
    if (before) {
        for (const Odd& odd : odd_) {
            image.Row(odd.y)[odd.x] = odd.value;
        }
    }
    return true;
}

std::size_t FillRecord::Bytes() const {
    return runs_.capacity() * sizeof(Run) + odd_.capacity() * sizeof(Odd);
}

}  // namespace palvex
