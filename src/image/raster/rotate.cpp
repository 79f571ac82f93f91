#include "image/raster/rotate.h"

#include <algorithm>
#include <utility>

namespace palvex {
namespace {

// Square tiles small enough that a tile's source rows and destination rows stay in L1 together.
constexpr int kTile = 64;

template <bool kClockwise>
bool Rotate(const Bitmap& src, Bitmap& dst) {
    if (src.IsNull()) {
        dst.Reset();
        return false;
    }
    const int w = src.Width();
    const int h = src.Height();
    if (&dst != &src) {
        dst.Reset();  // free its old buffer before the new one is allocated
    }
    Bitmap out;
    if (!out.Create(h, w)) {
        dst.Reset();
        return false;
    }
    for (int ty = 0; ty < h; ty += kTile) {
        const int yEnd = std::min(ty + kTile, h);
        for (int tx = 0; tx < w; tx += kTile) {
            const int xEnd = std::min(tx + kTile, w);
            // Walk the destination rows of the tile so each write run is contiguous.
            for (int x = tx; x < xEnd; ++x) {
                Pixel* row = out.Row(kClockwise ? x : w - 1 - x);
                for (int y = ty; y < yEnd; ++y) {
                    row[kClockwise ? h - 1 - y : y] = src.Row(y)[x];
                }
            }
        }
    }
    // Built aside so that rotating an image into itself reads the original throughout.
    dst = std::move(out);
    return true;
}

}  // namespace

bool RotateClockwise(const Bitmap& src, Bitmap& dst) {
    return Rotate<true>(src, dst);
}

bool RotateCounterClockwise(const Bitmap& src, Bitmap& dst) {
    return Rotate<false>(src, dst);
}

}  // namespace palvex
