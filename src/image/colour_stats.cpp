#include "image/colour_stats.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "image/parallel.h"

namespace palvex {
namespace {

// One bit for each of the 2^24 colours: 2 MiB, and one pass whatever the image size.
constexpr std::size_t kWords = (std::size_t{1} << 24) / 64;
// Below this a second thread costs more than it saves.
constexpr std::size_t kSplitFrom = std::size_t{1} << 20;

using Seen = std::unique_ptr<std::uint64_t[]>;

Seen NewSeen() {
    return Seen(new (std::nothrow) std::uint64_t[kWords]());
}

void Mark(std::span<const Pixel> pixels, std::uint64_t* seen) {
    for (const Pixel p : pixels) {
        const std::uint32_t rgb = p & kRgbMask;
        seen[rgb >> 6] |= std::uint64_t{1} << (rgb & 63);
    }
}

}  // namespace

std::size_t CountDistinctColours(const Bitmap& image, std::size_t limit) {
    const std::span<const Pixel> pixels = image.Pixels();
    if (limit == SIZE_MAX && pixels.size() >= kSplitFrom) {
        // The whole count: each thread marks its share of the rows in its own table, and the
        // tables are merged at the end.
        const std::size_t parts = WorkersFor(pixels.size() / kSplitFrom);
        std::vector<Seen> tables(parts);
        for (Seen& table : tables) {
            table = NewSeen();
            if (!table) {
                return 0;
            }
        }
        const std::size_t share = (pixels.size() + parts - 1) / parts;
        ParallelFor(parts, [&](std::size_t i, unsigned /*worker*/) {
            const std::size_t first = i * share;
            Mark(pixels.subspan(first, std::min(share, pixels.size() - first)), tables[i].get());
        });
        std::size_t count = 0;
        for (std::size_t w = 0; w < kWords; ++w) {
            std::uint64_t word = 0;
            for (const Seen& table : tables) {
                word |= table[w];
            }
            count += static_cast<std::size_t>(std::popcount(word));
        }
        return count;
    }
    const Seen seen = NewSeen();
    if (!seen) {
        return 0;
    }
    std::size_t count = 0;
    for (const Pixel p : pixels) {
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
