#include "image/colour_stats.h"

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace palvex {

std::size_t CountDistinctColours(const Bitmap& image, std::size_t limit) {
    // One bit for each of the 2^24 colours: 2 MiB, and one pass whatever the image size.
    constexpr std::size_t kWords = (std::size_t{1} << 24) / 64;
    std::unique_ptr<std::uint64_t[]> seen(new (std::nothrow) std::uint64_t[kWords]());
    if (!seen) {
        return 0;
    }
    std::size_t count = 0;
    for (const Pixel p : image.Pixels()) {
        const std::uint32_t rgb = p & kRgbMask;
        std::uint64_t& word = seen[rgb >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (rgb & 63);
        if (!(word & bit)) {
            word |= bit;
            if (++count >= limit) {
                break;
            }
        }
    }
    return count;
}

}  // namespace palvex
