#include "barrier/free_colour.h"

#include <cstdint>
#include <memory>
#include <new>

namespace palvex {
namespace {

using Word = std::uint64_t;
constexpr std::size_t kColourWords = (std::size_t{1} << 24) / 64;

constexpr int Level(int k) {
    return (31 - k) * 8 + (31 - k) / 4;
}

}  // namespace

FreeColour FindFreeColor(const Bitmap& image, const Rect& r) {
    const std::unique_ptr<Word[]> seen(new (std::nothrow) Word[kColourWords]());
    if (!seen) {
        return {FreeColourStatus::NoMemory, 0};
    }
    // Indexed by the pixel's own 0xRRGGBB bits, so the pass does no channel shuffling.
    const auto mark = [&seen](Pixel p) {
        const Pixel rgb = p & kRgbMask;
        seen[rgb >> 6] |= Word{1} << (rgb & 63);
    };
    if (r.IsEmpty()) {
        return {FreeColourStatus::Found, Rgb(255, 255, 255)};
    }
    const Rect inside = r.Intersected(image.Bounds());
    if (inside != r) {
        mark(PixelFromColour(Rgb(255, 255, 255)));
    }
    for (int y = inside.top; y < inside.bottom; ++y) {
        const Pixel* row = image.Row(y);
        for (int x = inside.left; x < inside.right; ++x) {
            mark(row[x]);
        }
    }
    for (int red = 0; red < 32; ++red) {
        for (int green = 0; green < 32; ++green) {
            for (int blue = 0; blue < 32; ++blue) {
                const Pixel rgb =
                    PixelFromColour(Rgb(Level(red), Level(green), Level(blue))) & kRgbMask;
                if ((seen[rgb >> 6] >> (rgb & 63) & 1) == 0) {
                    return {FreeColourStatus::Found, ColourFromPixel(rgb)};
                }
            }
        }
    }
    return {FreeColourStatus::NoneFree, 0};
}

}  // namespace palvex
