#include "barrier/pixel_mask.h"

#include <algorithm>
#include <new>

namespace palvex {

bool PixelMask::Create(int width, int height) {
    bits_.reset();
    width_ = height_ = 0;
    words_ = 0;
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::size_t words = (static_cast<std::size_t>(width) + 63) / 64;
    bits_.reset(new (std::nothrow) Word[words * static_cast<std::size_t>(height)]());
    if (!bits_) {
        return false;
    }
    width_ = width;
    height_ = height;
    words_ = words;
    return true;
}

void PixelMask::Clear() {
    std::fill(bits_.get(), bits_.get() + words_ * static_cast<std::size_t>(height_), Word{0});
}

void PixelMask::SetRun(int y, int x0, int x1) {
    if (x0 >= x1) {
        return;
    }
    Word* row = Row(y);
    const int first = x0 >> 6;
    const int last = (x1 - 1) >> 6;
    const Word low = ~Word{0} << (x0 & 63);
    const Word high = ~Word{0} >> (63 - ((x1 - 1) & 63));
    if (first == last) {
        row[first] |= low & high;
        return;
    }
    row[first] |= low;
    std::fill(row + first + 1, row + last, ~Word{0});
    row[last] |= high;
}

}  // namespace palvex
