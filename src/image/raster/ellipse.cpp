#include "image/raster/ellipse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace palvex {
namespace {

// Box sides reach 2^32, so squared products need 128 bits; GCC and clang provide them.
__extension__ using Wide = unsigned __int128;

std::uint64_t SquareRootFloor(Wide value) {
    const long double estimate = std::sqrt(static_cast<long double>(value));
    std::uint64_t root =
        estimate >= 18446744073709551615.0L ? UINT64_MAX : static_cast<std::uint64_t>(estimate);
    // The floating estimate can be a little off either way for large values.
    while (root > 0 && static_cast<Wide>(root) * root > value) {
        --root;
    }
    while (root < UINT64_MAX && static_cast<Wide>(root + 1) * (root + 1) <= value) {
        ++root;
    }
    return root;
}

// Columns [first, last] of one row of the ellipse; empty when first > last.
struct RowSpan {
    std::int64_t first = 1;
    std::int64_t last = 0;
    bool Empty() const { return first > last; }
};

// In doubled coordinates centred on the box, pixel (x, y) sits at u = 2x + 1 - (left + right),
// v = 2y + 1 - (top + bottom), and lies inside when u^2 H^2 + v^2 W^2 <= W^2 H^2.
class EllipseRows {
public:
    explicit EllipseRows(const Rect& box)
        : left_(box.left),
          top_(box.top),
          width_(std::int64_t{box.right} - box.left),
          height_(std::int64_t{box.bottom} - box.top) {}

    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    RowSpan Row(std::int64_t y) const {
        const std::int64_t v = 2 * (y - top_) + 1 - height_;
        const std::int64_t av = v < 0 ? -v : v;
        if (av >= height_) {
            return {};
        }
        const Wide w = static_cast<Wide>(width_);
        const Wide h = static_cast<Wide>(height_);
        // The largest |u| with u^2 H^2 <= W^2 (H^2 - v^2), i.e. uH <= isqrt(...).
        const Wide bound = w * w * ((h - static_cast<Wide>(av)) * (h + static_cast<Wide>(av)));
        auto u = static_cast<std::int64_t>(SquareRootFloor(bound) / static_cast<std::uint64_t>(h));
        // u shares the parity of W + 1.
        if ((u + width_ + 1) % 2 != 0) {
            --u;
        }
        if (u < 0) {
            return {};
        }
        const std::int64_t twiceCentre = 2 * left_ + width_ - 1;  // left + right - 1
        return {(twiceCentre - u) / 2, (twiceCentre + u) / 2};
    }

private:
    std::int64_t left_;
    std::int64_t top_;
    std::int64_t width_;
    std::int64_t height_;
};

void FillSpan(Bitmap& image, std::int64_t y, std::int64_t first, std::int64_t last, Pixel value) {
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, image.Width() - 1);
    if (first <= last) {
        Pixel* row = image.Row(static_cast<int>(y));
        std::fill(row + first, row + last + 1, value);
    }
}

// The rows of the box that are inside the bitmap.
bool VisibleRows(const Bitmap& image, const Rect& box, std::int64_t& y0, std::int64_t& y1) {
    y0 = std::max(box.top, 0);
    y1 = std::min(box.bottom, image.Height());
    return !image.IsNull() && y0 < y1;
}

}  // namespace

void FillEllipse(Bitmap& image, const Rect& box, Colour colour) {
    const EllipseRows rows(box);
    std::int64_t y0 = 0;
    std::int64_t y1 = 0;
    if (rows.Empty() || !VisibleRows(image, box, y0, y1)) {
        return;
    }
    const Pixel value = PixelFromColour(colour);
    for (std::int64_t y = y0; y < y1; ++y) {
        const RowSpan span = rows.Row(y);
        if (!span.Empty()) {
            FillSpan(image, y, span.first, span.last, value);
        }
    }
}

void DrawEllipseOutline(Bitmap& image, const Rect& box, Colour colour) {
    const EllipseRows rows(box);
    std::int64_t y0 = 0;
    std::int64_t y1 = 0;
    if (rows.Empty() || !VisibleRows(image, box, y0, y1)) {
        return;
    }
    const Pixel value = PixelFromColour(colour);
    RowSpan above = rows.Row(y0 - 1);
    RowSpan span = rows.Row(y0);
    for (std::int64_t y = y0; y < y1; ++y) {
        const RowSpan below = rows.Row(y + 1);
        if (!span.Empty()) {
            if (above.Empty() || below.Empty()) {
                FillSpan(image, y, span.first, span.last, value);
            } else {
                // Pixels not covered by both neighbouring rows, and the two ends.
                const std::int64_t leftEnd = std::max(above.first, below.first) - 1;
                const std::int64_t rightStart = std::min(above.last, below.last) + 1;
                if (leftEnd + 1 >= rightStart) {
                    FillSpan(image, y, span.first, span.last, value);
                } else {
                    FillSpan(image, y, span.first, std::max(leftEnd, span.first), value);
                    FillSpan(image, y, std::min(rightStart, span.last), span.last, value);
                }
            }
        }
        above = span;
        span = below;
    }
}

}  // namespace palvex
