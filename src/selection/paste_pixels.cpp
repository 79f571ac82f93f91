#include "selection/paste_pixels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/colour.h"
#include "selection/selection.h"

namespace palvex {
namespace {

constexpr Pixel kWhitePixel = kOpaqueAlpha | kRgbMask;

std::int64_t Area(Size s) {
    return std::int64_t{s.width} * s.height;
}

}  // namespace

bool CopyArea(const Bitmap& image, const Rect& area, Bitmap& out) {
    if (area.IsEmpty() || !out.Create(area.Width(), area.Height())) {
        return false;
    }
    out.Fill(PixelFromColour(kOutsideImageColour));
    const Rect inside = area.Intersected(image.Bounds());
    for (int y = inside.top; y < inside.bottom; ++y) {
        std::memcpy(out.Row(y - area.top) + (inside.left - area.left), image.Row(y) + inside.left,
                    static_cast<std::size_t>(inside.Width()) * sizeof(Pixel));
    }
    return true;
}

bool StretchPart(const Bitmap& src, Size srcSize, const Rect& target, const Rect& visible,
                 Bitmap& out) {
    // Never beyond the picture that is there.
    const int sw = std::min(srcSize.width, src.Width());
    const int sh = std::min(srcSize.height, src.Height());
    const Rect part = visible.Intersected(target);
    if (sw < 1 || sh < 1 || part.IsEmpty() || !out.Create(part.Width(), part.Height())) {
        return false;
    }
    const std::int64_t tw = target.Width();
    const std::int64_t th = target.Height();
    std::vector<int> columns(static_cast<std::size_t>(part.Width()));
    for (int x = part.left; x < part.right; ++x) {
        columns[static_cast<std::size_t>(x - part.left)] =
            static_cast<int>((x - target.left) * std::int64_t{sw} / tw);
    }
    for (int y = part.top; y < part.bottom; ++y) {
        const Pixel* from = src.Row(static_cast<int>((y - target.top) * std::int64_t{sh} / th));
        Pixel* to = out.Row(y - part.top);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            to[i] = from[columns[i]] | kOpaqueAlpha;
        }
    }
    return true;
}

Rect PastePicture(Bitmap& image, const Bitmap& picture, Size pictureSize, const Rect& target) {
    Bitmap part;
    if (!StretchPart(picture, pictureSize, target, image.Bounds(), part)) {
        return {};
    }
    const Rect placed = target.Intersected(image.Bounds());
    for (int y = 0; y < part.Height(); ++y) {
        std::memcpy(image.Row(placed.top + y) + placed.left, part.Row(y),
                    static_cast<std::size_t>(part.Width()) * sizeof(Pixel));
    }
    return placed;
}

bool ResamplePicture(Bitmap& picture, Size& pictureSize, Size newSize) {
    Bitmap resampled;
    if (!StretchPart(picture, pictureSize, {0, 0, newSize.width, newSize.height},
                     {0, 0, newSize.width, newSize.height}, resampled) ||
        resampled.Width() != newSize.width || resampled.Height() != newSize.height) {
        return false;
    }
    picture = std::move(resampled);
    pictureSize = newSize;
    return true;
}

bool PasteEnlarges(Size image, Size picture) {
    return picture.width > image.width || picture.height > image.height;
}

bool EnlargedSizeFits(Size image, Size picture) {
    const Size enlarged{std::max(image.width, picture.width),
                        std::max(image.height, picture.height)};
    return enlarged.width > 0 && enlarged.height > 0 &&
           static_cast<std::uint64_t>(Area(enlarged)) <= kMaxPixels;
}

bool EnlargeImage(const Bitmap& image, Size picture, Bitmap& out) {
    const Size size{std::max(image.Width(), picture.width),
                    std::max(image.Height(), picture.height)};
    if (!EnlargedSizeFits({image.Width(), image.Height()}, picture) ||
        !out.Create(size.width, size.height)) {
        return false;
    }
    out.Fill(kWhitePixel);
    for (int y = 0; y < image.Height(); ++y) {
        std::memcpy(out.Row(y), image.Row(y), image.Stride());
    }
    return true;
}

Rect FillArea(Bitmap& image, const Rect& area, Pixel value) {
    const Rect inside = area.Intersected(image.Bounds());
    for (int y = inside.top; y < inside.bottom; ++y) {
        std::fill_n(image.Row(y) + inside.left, inside.Width(), value);
    }
    return inside;
}

}  // namespace palvex
