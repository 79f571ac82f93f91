#include "image/raster/pattern.h"

#include <algorithm>
#include <cstdint>

#include "image/raster/pixel_rows.h"

namespace palvex {
namespace {

int FloorMod(std::int64_t value, int modulus) {
    const std::int64_t m = value % modulus;
    return static_cast<int>(m < 0 ? m + modulus : m);
}

}  // namespace

void PatternFill(Bitmap& dst, const Rect& area, const Bitmap& tile, Point origin) {
    if (tile.IsNull()) {
        return;
    }
    const Rect clipped = area.Intersected(dst.Bounds());
    if (clipped.IsEmpty()) {
        return;
    }
    const int tw = tile.Width();
    const int firstColumn = FloorMod(std::int64_t{clipped.left} - origin.x, tw);
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const Pixel* tileRow = tile.Row(FloorMod(std::int64_t{y} - origin.y, tile.Height()));
        Pixel* out = dst.Row(y) + clipped.left;
        int remaining = clipped.Width();
        int column = firstColumn;
        while (remaining > 0) {
            const int run = std::min(tw - column, remaining);
            detail::CopyRowOpaque(out, tileRow + column, static_cast<std::size_t>(run));
            out += run;
            remaining -= run;
            column = 0;
        }
    }
}

}  // namespace palvex
