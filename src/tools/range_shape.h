#pragma once

#include <array>
#include <span>
#include <vector>

#include "image/geometry.h"
#include "tools/processing_range.h"

namespace palvex {

// The ellipse outline stops at this many points; it bounds both its drawing and the span search.
inline constexpr int kMaxEllipsePoints = 2000;

// The range shape around a client point, in client pixels.
struct RangeShape {
    int width = 1;
    int height = 1;
    Rect box;  // (L, T, R, B) before rotation, R = L + width, B = T + height
    Point centre;
};

RangeShape ComputeRangeShape(const ProcessingRange& range, Point client);

// What the last drawing of the range outline left behind, in client pixels after rotation: the
// corners of the rectangle (4) or triangle (3), or the traced ellipse points. The pen processes
// the outline drawn last.
struct RangeOutline {
    RangeShapeKind shape = RangeShapeKind::Rectangle;
    std::array<Point, 4> corners{};
    int cornerCount = 0;
    std::vector<Point> ellipse;
    RangeShape geometry;

    std::span<const Point> Corners() const {
        return {corners.data(), static_cast<std::size_t>(cornerCount)};
    }
};

RangeOutline MakeRangeOutline(const ProcessingRange& range, Point client);

// Traces the ellipse inscribed in (L, T, R, B) by stepping an incremental rotation around one
// quadrant and mirroring each step into the four, rotated about the box's centre by `angle`
// (skipped when the angle is 0). Neighbouring points are about one pixel apart; at most 2000
// points. A box of half-width or half-height 1 or less gives none.
void TraceEllipseOutline(const Rect& box, double angle, std::vector<Point>& points);

}  // namespace palvex
