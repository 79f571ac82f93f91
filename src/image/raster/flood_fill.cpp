#include "image/raster/flood_fill.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "image/raster/pixel_rows.h"

namespace palvex {
namespace {

// A run of pixels [x1, x2] on row y still to be examined, reached from row y - dy.
struct Span {
    int x1;
    int x2;
    int y;
    int dy;
};

// First in, first out, in a ring that doubles when full: cheaper than std::deque, which
// allocates and frees a block every few dozen spans when used as a queue.
class SpanQueue {
public:
    bool Empty() const { return count_ == 0; }
    void Push(const Span& span) {
        if (count_ == ring_.size()) {
            Grow();
        }
        ring_[(head_ + count_) & (ring_.size() - 1)] = span;
        ++count_;
    }
    Span Pop() {
        const Span span = ring_[head_];
        head_ = (head_ + 1) & (ring_.size() - 1);
        --count_;
        return span;
    }

private:
    void Grow() {
        std::vector<Span> bigger(std::max<std::size_t>(64, 2 * ring_.size()));
        for (std::size_t i = 0; i < count_; ++i) {
            bigger[i] = ring_[(head_ + i) & (ring_.size() - 1)];
        }
        ring_.swap(bigger);
        head_ = 0;
    }

    std::vector<Span> ring_;  // size is zero or a power of two
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

// A fill policy says which pixels qualify and fills runs of them. Filling a pixel must stop it
// qualifying, which is what guarantees termination: either the new colour no longer matches or
// the policy records the pixel as visited.
//
// The scanline walk: each span is examined on its row, extended left and right, and the parts
// of the neighbouring rows that are not already known to be covered are queued. Every pixel is
// tested a bounded number of times and the queue holds spans, not pixels. First in, first out
// keeps it to the spans along the advancing front: a handful for a plain area, a few hundred
// for a 24-megapixel area full of holes, where last in, first out piled up a quarter million.
template <class Policy>
Rect ScanlineFill(Policy& policy, int width, int height, Point seed) {
    int minX = seed.x;
    int maxX = seed.x;
    int minY = seed.y;
    int maxY = seed.y;
    auto fill = [&](int y, int x0, int x1) {  // [x0, x1)
        policy.Fill(y, x0, x1);
        minX = std::min(minX, x0);
        maxX = std::max(maxX, x1 - 1);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };

    SpanQueue pending;
    pending.Push({seed.x, seed.x, seed.y, 1});
    pending.Push({seed.x, seed.x, seed.y - 1, -1});
    while (!pending.Empty()) {
        const Span span = pending.Pop();
        const int y = span.y;
        const int dy = span.dy;
        if (y < 0 || y >= height) {
            continue;
        }
        int x1 = span.x1;
        const int x2 = span.x2;
        int x = x1;
        if (policy.Qualifies(y, x1)) {
            x = policy.RunStart(y, x1);
            if (x < x1) {
                fill(y, x, x1);
                // The part left of the span may leak back past the row we came from.
                pending.Push({x, x1 - 1, y - dy, -dy});
            }
        }
        while (x1 <= x2) {
            const int end = policy.RunEnd(y, x1, width);
            if (end > x1) {
                fill(y, x1, end);
            }
            x1 = end;
            if (x1 > x) {
                pending.Push({x, x1 - 1, y + dy, dy});
            }
            if (x1 - 1 > x2) {
                pending.Push({x2 + 1, x1 - 1, y - dy, -dy});
            }
            ++x1;
            if (x1 < x2) {
                x1 = policy.NextQualifying(y, x1, x2);
            }
            x = x1;
        }
    }
    return {minX, minY, maxX + 1, maxY + 1};
}

// Pixels qualify while their colour equals (matchEqual) or differs from `rgb`; filling changes
// the colour so that they stop qualifying. Covers the surface fill and the border fill whose
// fill colour is the border colour.
class ColourPolicy {
public:
    ColourPolicy(Bitmap& image, Pixel rgb, bool matchEqual, Pixel fill)
        : image_(image), rgb_(rgb & kRgbMask), matchEqual_(matchEqual), fill_(fill) {}

    bool Qualifies(int y, int x) const {
        return ((image_.Row(y)[x] & kRgbMask) == rgb_) == matchEqual_;
    }
    // The first x' <= x such that [x', x] all qualify; x qualifies.
    int RunStart(int y, int x) const {
        while (x > 0 && Qualifies(y, x - 1)) {
            --x;
        }
        return x;
    }
    int RunEnd(int y, int x, int end) const {
        return detail::FindRgb(image_.Row(y), x, end, rgb_, !matchEqual_);
    }
    int NextQualifying(int y, int x, int end) const {
        return detail::FindRgb(image_.Row(y), x, end, rgb_, matchEqual_);
    }
    void Fill(int y, int x0, int x1) { std::fill(image_.Row(y) + x0, image_.Row(y) + x1, fill_); }

private:
    Bitmap& image_;
    Pixel rgb_;
    bool matchEqual_;
    Pixel fill_;
};

// Border fill whose fill colour is not the border colour: filled pixels still look fillable,
// so a one-bit-a-pixel mask records them.
class VisitedPolicy {
public:
    VisitedPolicy(Bitmap& image, Pixel border, bool hasBorder, Pixel fill,
                  std::unique_ptr<std::uint64_t[]> visited)
        : image_(image),
          border_(border & kRgbMask),
          hasBorder_(hasBorder),
          fill_(fill),
          visited_(std::move(visited)) {}

    bool Qualifies(int y, int x) const {
        return !(hasBorder_ && (image_.Row(y)[x] & kRgbMask) == border_) && !Visited(y, x);
    }
    int RunStart(int y, int x) const {
        while (x > 0 && Qualifies(y, x - 1)) {
            --x;
        }
        return x;
    }
    int RunEnd(int y, int x, int end) const {
        while (x < end && Qualifies(y, x)) {
            ++x;
        }
        return x;
    }
    int NextQualifying(int y, int x, int end) const {
        while (x < end && !Qualifies(y, x)) {
            ++x;
        }
        return x;
    }
    void Fill(int y, int x0, int x1) {
        Pixel* row = image_.Row(y);
        for (int x = x0; x < x1; ++x) {
            row[x] = fill_;
            const std::size_t bit = Index(y, x);
            visited_[bit / 64] |= std::uint64_t{1} << (bit % 64);
        }
    }

private:
    std::size_t Index(int y, int x) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.Width()) +
               static_cast<std::size_t>(x);
    }
    bool Visited(int y, int x) const {
        const std::size_t bit = Index(y, x);
        return (visited_[bit / 64] >> (bit % 64) & 1) != 0;
    }

    Bitmap& image_;
    Pixel border_;
    bool hasBorder_;
    Pixel fill_;
    std::unique_ptr<std::uint64_t[]> visited_;
};

}  // namespace

Rect FloodFillSurface(Bitmap& image, Point seed, Colour fill) {
    if (image.IsNull() || !image.Contains(seed.x, seed.y)) {
        return {};
    }
    const Pixel seedRgb = image.Row(seed.y)[seed.x] & kRgbMask;
    const Pixel fillPixel = PixelFromColour(fill);
    if ((fillPixel & kRgbMask) == seedRgb) {
        return {};
    }
    ColourPolicy policy(image, seedRgb, true, fillPixel);
    return ScanlineFill(policy, image.Width(), image.Height(), seed);
}

Rect FloodFillBorder(Bitmap& image, Point seed, Colour border, Colour fill) {
    if (image.IsNull() || !image.Contains(seed.x, seed.y)) {
        return {};
    }
    // kNoColour as border: no pixel stops the fill.
    const bool hasBorder = border != kNoColour;
    const Pixel borderRgb = PixelFromColour(border) & kRgbMask;
    const Pixel fillPixel = PixelFromColour(fill);
    if (hasBorder && (image.Row(seed.y)[seed.x] & kRgbMask) == borderRgb) {
        return {};
    }
    if (hasBorder && (fillPixel & kRgbMask) == borderRgb) {
        ColourPolicy policy(image, borderRgb, false, fillPixel);
        return ScanlineFill(policy, image.Width(), image.Height(), seed);
    }
    const std::size_t words = (image.PixelCount() + 63) / 64;
    std::unique_ptr<std::uint64_t[]> visited(new (std::nothrow) std::uint64_t[words]());
    if (!visited) {
        return {};
    }
    VisitedPolicy policy(image, borderRgb, hasBorder, fillPixel, std::move(visited));
    return ScanlineFill(policy, image.Width(), image.Height(), seed);
}

}  // namespace palvex
