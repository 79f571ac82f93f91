#include "image/raster/flood_fill.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "image/raster/fill_record.h"
#include "image/raster/pixel_rows.h"
#include "image/raster/scanline_fill.h"

namespace palvex {
namespace {

// Pixels qualify while their colour equals (matchEqual) or differs from `rgb`; filling changes
// the colour so that they stop qualifying. Covers the surface fill and the border fill whose
// fill colour is the border colour.
class ColourPolicy {
public:
    ColourPolicy(Bitmap& image, Pixel rgb, bool matchEqual, Pixel fill,
                 FillRecord* record = nullptr)
        : image_(image),
          rgb_(rgb & kRgbMask),
          matchEqual_(matchEqual),
          fill_(fill),
          record_(record) {}

    // Once a run could not be recorded nothing qualifies, so the walk drains its queue and ends.
    bool Qualifies(int y, int x) const {
        return !stopped_ && ((image_.Row(y)[x] & kRgbMask) == rgb_) == matchEqual_;
    }
    // The first x' <= x such that [x', x] all qualify; x qualifies.
    int RunStart(int y, int x) const {
        while (x > 0 && Qualifies(y, x - 1)) {
            --x;
        }
        return x;
    }
    int RunEnd(int y, int x, int end) const {
        return stopped_ ? x : detail::FindRgb(image_.Row(y), x, end, rgb_, !matchEqual_);
    }
    int NextQualifying(int y, int x, int end) const {
        return stopped_ ? end : detail::FindRgb(image_.Row(y), x, end, rgb_, matchEqual_);
    }
    void Fill(int y, int x0, int x1) {
        Pixel* row = image_.Row(y);
        if (record_ == nullptr) {
            std::fill(row + x0, row + x1, fill_);
        } else if (stopped_ || !record_->Fill(y, x0, x1, row)) {
            stopped_ = true;
        }
    }

private:
    Bitmap& image_;
    Pixel rgb_;
    bool matchEqual_;
    Pixel fill_;
    FillRecord* record_;
    bool stopped_ = false;
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

Rect FloodFillSurface(Bitmap& image, Point seed, Colour fill, FillRecord* record) {
    if (record != nullptr) {
        *record = FillRecord();
    }
    if (image.IsNull() || !image.Contains(seed.x, seed.y)) {
        return {};
    }
    const Pixel seedRgb = image.Row(seed.y)[seed.x] & kRgbMask;
    const Pixel fillPixel = PixelFromColour(fill);
    if ((fillPixel & kRgbMask) == seedRgb) {
        return {};
    }
    if (record != nullptr) {
        *record = FillRecord(image.Width(), image.Height(), image.Row(seed.y)[seed.x], fillPixel);
    }
    ColourPolicy policy(image, seedRgb, true, fillPixel, record);
    const Rect changed = detail::ScanlineFill(policy, image.Width(), image.Height(), seed);
    if (record != nullptr && record->Lost()) {
        record->Write(image, true);  // what was filled before memory ran out goes back
        return {};
    }
    return changed;
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
        return detail::ScanlineFill(policy, image.Width(), image.Height(), seed);
    }
    const std::size_t words = (image.PixelCount() + 63) / 64;
    std::unique_ptr<std::uint64_t[]> visited(new (std::nothrow) std::uint64_t[words]());
    if (!visited) {
        return {};
    }
    VisitedPolicy policy(image, borderRgb, hasBorder, fillPixel, std::move(visited));
    return detail::ScanlineFill(policy, image.Width(), image.Height(), seed);
}

}  // namespace palvex
