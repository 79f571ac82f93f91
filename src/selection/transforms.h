#pragma once

#include <cstdint>
#include <functional>

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// The image transforms on any bitmap: the whole image or a floating picture. Each builds its
// result in `out`, never in `src`, so a failure leaves the picture as it was; the caller swaps
// the result in on success. `out` is reused when it already has the result's size (the scratch
// bitmap of repeated commands), else re-created; it must not be `src`.
struct TransformResult {
    bool ok = false;
    int message = 0;  // string-table number to show on failure; 0 for none (no picture)
};

enum class QuarterTurn { Clockwise, CounterClockwise };

// Target (x, y) takes source (w - 1 - x when mirrorX, y likewise). Both mirrors: the turn by
// 180 degrees. Every byte of each pixel is kept.
TransformResult Flip(const Bitmap& src, bool mirrorX, bool mirrorY, Bitmap& out);

// Clockwise: source (x, y) goes to (h - 1 - y, x); counter-clockwise: to (y, w - 1 - x).
TransformResult RotateQuarter(const Bitmap& src, QuarterTurn direction, Bitmap& out);

// The frame of a turn by `degrees`: the sine and cosine of the turn's angle, the turned
// corners' lower extremes and the enclosing size, which can exceed what a bitmap may hold.
struct RotatedFrame {
    double s = 0;
    double c = 0;
    double minX = 0;
    double minY = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};
RotatedFrame RotatedFrameOf(int degrees, int w, int h);

// Turns the picture clockwise (on screen) by `degrees`: each target pixel takes the source pixel
// its rounded back-turned position names, or `fill` where that lies outside; colours are never
// blended. 90, 180 and 270 give exactly the quarter turns and the 180-degree flip. A result
// over kMaxPixels is refused with the memory message before anything is allocated.
TransformResult RotateByAngle(const Bitmap& src, int degrees, Colour fill, Bitmap& out);

// Nearest-neighbour stretch to width x height: target column i takes source column
// floor(i * w / width), rows likewise; the fourth byte becomes opaque.
TransformResult Resize(const Bitmap& src, int width, int height, Bitmap& out);

// Each colour channel v becomes 255 - v; the fourth byte is kept.
TransformResult Invert(const Bitmap& src, Bitmap& out);

// Progress of a column pass: called with (position, range), and with position 0 at the end.
using ColumnProgress = std::function<void(int position, int range)>;

// Each pixel becomes grey at the level of its green channel (red and blue are ignored, not
// averaged), opaque. With `progress`, the range is the width and every column x that is a
// multiple of 20 is reported, in order, once that share of the image is grey. `out` may be `src`:
// the pass then works in place and cannot fail.
TransformResult Greyscale(const Bitmap& src, Bitmap& out, const ColumnProgress& progress = {});

// The pixels of `area`, which must be non-empty and lie inside src.
TransformResult Crop(const Bitmap& src, const Rect& area, Bitmap& out);

// The fixed sizes of the 50 % and 75 % commands: w div 2 and (w x 3) div 4 in 64 bits, each side
// at least 1 pixel.
Size HalfSize(Size size);
Size ThreeQuarterSize(Size size);
// (percent x side) div 100 in 64 bits, at least 1 and at most INT32_MAX.
int PercentOf(int percent, int side);

}  // namespace palvex
