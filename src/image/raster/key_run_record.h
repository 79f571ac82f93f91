#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex {

// Where the key colour was, as runs per row, taken before a pass that changes exactly the
// key-coloured pixels and keeps every pixel's fourth byte (the whole-image fill-back). Writing
// the key's red, green and blue back into the runs then restores the image bit for bit; the
// pass itself, being deterministic, serves as the way forward again. A background of long runs
// costs a few bytes a row instead of a copy of the image.
class KeyRunRecord {
public:
    KeyRunRecord() = default;
    // One scan of `image`. Beyond `budget` bytes (0: an eighth of the image's bytes) the record
    // gives up and is lost: a ragged key costs more than the copy it would replace.
    KeyRunRecord(const Bitmap& image, Colour key, std::size_t budget = 0);

    // Writes the key into the recorded runs, keeping each pixel's fourth byte. False, writing
    // nothing, when the image is not the size the record was made on or the record is lost.
    bool Write(Bitmap& image) const;

    bool Fits(const Bitmap& image) const;
    bool Lost() const { return lost_; }
    Colour Key() const { return key_; }
    std::size_t RunCount() const { return runs_.size(); }
    std::size_t Bytes() const { return runs_.capacity() * sizeof(Run); }

private:
    struct Run {
        std::int32_t y;
        std::int32_t x0;
        std::int32_t x1;
    };
    // Appends the key's runs of row y; false when `runs` would outgrow the budget.
    static bool ScanRow(const Pixel* row, int y, Pixel key, int width, std::size_t budget,
                        std::vector<Run>& runs);

    int width_ = 0;
    int height_ = 0;
    Colour key_ = 0;
    std::size_t budget_ = 0;  // runs
    bool lost_ = true;        // until a scan succeeds
    std::vector<Run> runs_;
};

}  // namespace palvex
