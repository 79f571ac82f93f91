#include "image/raster/fill_record.h"

#include <algorithm>
#include <new>

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

// Whether any pixel of [from, to) differs from `value`. Without an early exit the compiler
// vectorises it; runs are short enough that reading one to its end costs little.
bool AnyDiffers(const Pixel* from, const Pixel* to, Pixel value) {
    Pixel diff = 0;
    const Pixel* p = from;
    for (; to - p >= 16; p += 16) {  // unrolled: the loop's own cost halves
        Pixel block = 0;
        for (int i = 0; i < 16; ++i) {
            block |= p[i] ^ value;
        }
        diff |= block;
    }
    for (; p != to; ++p) {
        diff |= *p ^ value;
    }
    return diff != 0;
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
        // In pieces that stay in the first-level cache between the check and the write, so
        // that the check costs no second trip to memory.
        constexpr int kPiece = 512;
        for (; written < x1; written = std::min(written + kPiece, x1)) {
            const int to = std::min(written + kPiece, x1);
            if (AnyDiffers(row + written, row + to, before_)) {
                for (int x = written; x < to; ++x) {
                    if (row[x] != before_) {
                        odd_.push_back({y, x, row[x]});
                    }
                }
            }
            std::fill(row + written, row + to, after_);
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
    // Only the after side holds one value throughout, so only the way back is checked. Each run
    // is checked just before it is written, while it is in the cache; a run found changed undoes
    // the runs already written, which all held `from`.
    check = check && before;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        const Run& run = runs_[i];
        Pixel* row = image.Row(run.y);
        if (check && AnyDiffers(row + run.x0, row + run.x1, from)) {
            for (std::size_t j = 0; j < i; ++j) {
                std::fill(image.Row(runs_[j].y) + runs_[j].x0, image.Row(runs_[j].y) + runs_[j].x1,
                          from);
            }
            return false;
        }
        std::fill(row + run.x0, row + run.x1, to);
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
