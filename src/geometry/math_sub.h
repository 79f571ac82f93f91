#pragma once

#include <array>
#include <span>

#include "image/geometry.h"

namespace palvex {

// The integer plane geometry that the barrier, the pen ranges, the pointer animation and the
// navigator share. Stateless. Where a step is done in single or double precision that choice is
// part of the contract: it decides the truncated integer results callers rely on. Rectangles
// here are (left, top, right, bottom) with the inclusiveness each caller states.
class CMathSub {
public:
    // Winding rule. On the square (0,0)-(10,10), points on the right and bottom edges count as
    // inside and points on the left and top edges as outside.
    static bool PointInPolygon(Point p, std::span<const Point> v);
    // Within 4.0 of the line through a and b and inside the segment's box widened by 4.
    static bool NearSegment(Point p, Point a, Point b);
    // trunc of the Euclidean distance.
    static int Distance(Point a, Point b);
    // (min x, min y, max x, max y) with the maxima inclusive; for no points an inverted rectangle
    // (right < left, bottom < top) that callers treat as empty.
    static Rect BoundingRect(std::span<const Point> v);
    // 64 points clockwise along the image border from the top-left corner; points 32 and 48 lie
    // one pixel outside the image.
    static std::array<Point, 64> BorderSamplePoints(int w, int h);
    static Point PointAlongSegment(Point a, Point b, int d);
    // The foot on the infinite line through a and b; a itself when a equals b.
    static Point FootOfPerpendicular(Point p, Point a, Point b);
    // Positive angles turn clockwise on a y-down screen. An angle of exactly 6.283185307 is the
    // identity.
    static Point RotatePoint(Point p, Point c, double t);
    // Maps points from rectangle A to rectangle B; points within 2 of an edge of A land exactly
    // on B's edge.
    static void ScaleBetweenRects(std::span<Point> v, const Rect& a, const Rect& b);
    static void ProjectToCircle(std::span<Point> v, const Rect& r);
    static void SpreadOnCircle(std::span<Point> v, const Rect& r);
    // Moves every point onto its nearest side of r (inclusive right and bottom), then pins eight
    // anchors (side middles and corners). Returns 1.
    static int SnapToRect(std::span<Point> v, const Rect& r);
};

// Zoomed coordinates reach about 48000 (a 6000-pixel image at 800 %), so squares and products
// of coordinate differences exceed 32 bits; the routines form them in 64 bits or double.

// The rectangle BoundingRect returns for no points: inverted, and far enough from the 32-bit
// limits that callers can widen it, scale it by a zoom factor or take its width without
// overflowing.
inline constexpr int kEmptyBoundLow = 1 << 26;
inline constexpr Rect kEmptyBounds{kEmptyBoundLow, kEmptyBoundLow, -kEmptyBoundLow,
                                   -kEmptyBoundLow};

}  // namespace palvex
