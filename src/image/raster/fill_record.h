#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex {

// What a surface fill changed: the runs it wrote, the one pixel value it wrote, and the one
// value that was there before. A fill matches colour channels only, so the fourth byte of the
// old pixels may vary; the few that differ from the common old value are kept one by one. Far
// smaller than a copy of the pixels for any fill that leaves long runs.
class FillRecord {
public:
    FillRecord() = default;
    // The budget is a quarter of the bytes of `area` pixels (0: the whole image): the copy the
    // record stands in for.
    FillRecord(int width, int height, Pixel before, Pixel after, std::size_t area = 0);

    // Writes the fill's value into [x0, x1) of row `row` (y), recording the run and what it
    // held. False when memory ran out or the record outgrew its budget (a ragged fill over pixels
    // of many fourth bytes would otherwise cost more than the copy it replaces): then the run is
    // left as it was and not recorded.
    bool Fill(int y, int x0, int x1, Pixel* row);

    // The pixels as they were (Before) or as the fill left them (After), written into the
    // recorded runs. Nothing is written and false returned when the image is not the size the
    // record was made on, or when `check` is set, `before` is wanted and some run no longer holds
    // the fill's value (a change the record does not know about).
    bool Write(Bitmap& image, bool before, bool check = false) const;

    // Whether the record can be written into `image`: made on its size, or empty.
    bool Fits(const Bitmap& image) const;
    // The fill could not be recorded; the caller stores its undo step another way.
    bool Lost() const { return lost_; }
    void SetLost() { lost_ = true; }
    std::size_t RunCount() const { return runs_.size(); }
    std::size_t Bytes() const;

private:
    struct Run {
        std::int32_t y;
        std::int32_t x0;
        std::int32_t x1;
    };
    struct Odd {  // an old pixel whose fourth byte differed from `before_`
        std::int32_t y;
        std::int32_t x;
        Pixel value;
    };
    int width_ = 0;
    int height_ = 0;
    Pixel before_ = 0;
    Pixel after_ = 0;
    std::size_t budget_ = 0;  // entries
    bool lost_ = false;
    std::vector<Run> runs_;
    std::vector<Odd> odd_;
};

}  // namespace palvex
