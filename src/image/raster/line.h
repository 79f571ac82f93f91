#pragma once

#include <cstdint>
#include <span>

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// The visible part of a one-pixel-wide, 8-connected (Bresenham) line. Along the major axis (the
// longer of |dx|, |dy|; x on a tie) step i lands on minor offset round(i * minor / major), halves
// rounded away from the start. Built already clipped, so a line reaching far outside costs only
// its visible pixels.
class LineWalk {
public:
    // The line from `from` to `to` (the end pixel only when includeEnd), restricted to `clip`.
    LineWalk(Point from, Point to, bool includeEnd, const Rect& clip);

    // Visible pixels left, the current one included.
    std::int64_t Remaining() const { return remaining_; }
    Point Current() const {
        return xMajor_ ? Point{static_cast<int>(major_), static_cast<int>(minor_)}
                       : Point{static_cast<int>(minor_), static_cast<int>(major_)};
    }
    void Advance() {
        --remaining_;
        major_ += majorStep_;
        error_ += errorStep_;
        if (error_ >= errorLimit_) {
            error_ -= errorLimit_;
            minor_ += minorStep_;
        }
    }

private:
    // 64-bit so that stepping past a clip edge at the int limits cannot overflow.
    std::int64_t major_ = 0;
    std::int64_t minor_ = 0;
    bool xMajor_ = true;
    int majorStep_ = 1;
    int minorStep_ = 1;
    // Twice the fractional minor offset, scaled by the major length, and its wrap value.
    std::int64_t error_ = 0;
    std::int64_t errorStep_ = 0;
    std::int64_t errorLimit_ = 1;
    std::int64_t remaining_ = 0;
};

// Calls visit(Point) for each visible pixel of the line, in order from `from`.
template <class Visit>
void LinePixels(Point from, Point to, bool includeEnd, const Rect& clip, Visit&& visit) {
    for (LineWalk walk(from, to, includeEnd, clip); walk.Remaining() > 0; walk.Advance()) {
        visit(walk.Current());
    }
}

// Draws the line in opaque `colour`; pixels outside the bitmap are skipped.
void DrawLine(Bitmap& image, Point from, Point to, Colour colour, bool includeEnd);

// Draws each segment without its end point, as a pen moving from point to point; when closed,
// also the segment from the last point back to the first, making a wall that a 4-connected fill
// cannot cross.
void DrawPolyline(Bitmap& image, std::span<const Point> points, Colour colour, bool closed);

}  // namespace palvex
