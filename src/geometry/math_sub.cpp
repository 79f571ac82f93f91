#include "geometry/math_sub.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

// NearSegment treats a NaN distance as near, and the single/double steps decide truncated
// results; both need IEEE arithmetic.
#if defined(__FAST_MATH__) || defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "the geometry routines need IEEE arithmetic: build without -ffast-math"
#endif

namespace palvex {
namespace {

using Wide = std::int64_t;

constexpr double kFullTurn = 6.283185307;

int Trunc(double value) {
    return static_cast<int>(value);
}

int TruncF(float value) {
    return static_cast<int>(value);
}

Wide Squared(Point a, Point b) {
    const Wide dx = Wide{b.x} - a.x;
    const Wide dy = Wide{b.y} - a.y;
    return dx * dx + dy * dy;
}

Wide AbsDiff(int a, int b) {
    return std::llabs(Wide{a} - b);
}

Point Centre(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int InscribedRadius(const Rect& r) {
    return std::min(r.right - r.left, r.bottom - r.top) / 2;
}

// One snapping coordinate: near A's edges it lands on B's, elsewhere it scales about the centres.
int ScaleCoordinate(int value, int lowA, int highA, int centreA, float scale, int lowB, int highB,
                    int centreB) {
    if (AbsDiff(value, lowA) < 2) {
        return lowB;
    }
    if (AbsDiff(value, highA) < 2) {
        return highB;
    }
    return TruncF(static_cast<float>(value - centreA) * scale + static_cast<float>(centreB));
}

// A zero-size source side has no scale; its points collapse onto the target's centre line.
float ScaleOf(int lowA, int highA, int lowB, int highB) {
    if (highA == lowA) {
        return 0.0f;
    }
    return static_cast<float>(highB - lowB) / static_cast<float>(highA - lowA);
}

enum class Side { Top, Right, Bottom, Left };

bool OnSide(Point p, Side side, const Rect& r) {
    switch (side) {
        case Side::Top:
            return p.y == r.top;
        case Side::Right:
            return p.x == r.right;
        case Side::Bottom:
            return p.y == r.bottom;
        case Side::Left:
            return p.x == r.left;
    }
    return false;
}

// The point on `side` whose coordinate along the side is strictly nearest to target (the lowest
// index wins ties) takes the target.
void Anchor(std::span<Point> v, const Rect& r, Side side, int target) {
    const bool horizontal = side == Side::Top || side == Side::Bottom;
    Point* best = nullptr;
    Wide bestDistance = std::numeric_limits<Wide>::max();
    for (Point& p : v) {
        if (!OnSide(p, side, r)) {
            continue;
        }
        const Wide distance = AbsDiff(horizontal ? p.x : p.y, target);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &p;
        }
    }
    if (best != nullptr) {
        (horizontal ? best->x : best->y) = target;
    }
}

}  // namespace

bool CMathSub::PointInPolygon(Point p, std::span<const Point> v) {
    if (v.empty()) {
        return false;
    }
    const auto below = [p](Point q) { return p.y <= q.y; };
    const auto right = [p](Point q) { return p.x <= q.x; };
    int wn = 0;
    Point prev = v[0];
    for (std::size_t i = 1; i <= v.size(); ++i) {
        const Point cur = v[i % v.size()];
        if (below(prev) != below(cur)) {
            const int step = below(prev) ? -1 : 1;
            if (right(prev) == right(cur)) {
                if (right(prev)) {
                    wn += step;
                }
            } else {
                const Wide xi =
                    prev.x + (Wide{p.y} - prev.y) * (Wide{cur.x} - prev.x) / (Wide{cur.y} - prev.y);
                if (p.x <= xi) {
                    wn += step;
                }
            }
        }
        prev = cur;
    }
    return wn != 0;
}

bool CMathSub::NearSegment(Point p, Point a, Point b) {
    if (a == b && p != a) {
        return false;
    }
    const auto within = [](int value, int from, int to) {
        if (to > from) {
            return Wide{value} >= Wide{from} - 4 && Wide{value} <= Wide{to} + 4;
        }
        if (from > to) {
            return Wide{value} >= Wide{to} - 4 && Wide{value} <= Wide{from} + 4;
        }
        return true;
    };
    if (!within(p.x, a.x, b.x) || !within(p.y, a.y, b.y)) {
        return false;
    }
    const double ab2 = static_cast<double>(Squared(a, b));
    const double pa2 = static_cast<double>(Squared(p, a));
    const double pb2 = static_cast<double>(Squared(p, b));
    const double length = std::sqrt(ab2);
    const double t = length - (ab2 + pa2 - pb2) / (2.0 * length);
    const double distance = std::sqrt(pb2 - t * t);
    // NaN (a rounding-negative root, or the zero-length segment equal to p) counts as near.
    return !(distance > 4.0);
}

int CMathSub::Distance(Point a, Point b) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return Trunc(std::sqrt(dx * dx + dy * dy));
}

Rect CMathSub::BoundingRect(std::span<const Point> v) {
    if (v.empty()) {
        return kEmptyBounds;
    }
    Rect r{v[0].x, v[0].y, v[0].x, v[0].y};
    for (const Point p : v) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

std::array<Point, 64> CMathSub::BorderSamplePoints(int w, int h) {
    const float wStep = static_cast<float>(w) * 0.00390625f;
    const float hStep = static_cast<float>(h) * 0.00390625f;
    const auto at = [](int sixteenths, float step) {
        return static_cast<int>(std::floor(static_cast<float>(16 * sixteenths) * step));
    };
    std::array<Point, 64> points{};
    for (int k = 0; k < 16; ++k) {
        points[k] = {at(k, wStep), 0};
        points[16 + k] = {w - 1, at(k, hStep)};
        points[32 + k] = {at(16 - k, wStep), h - 1};
        points[48 + k] = {0, at(16 - k, hStep)};
    }
    return points;
}

Point CMathSub::PointAlongSegment(Point a, Point b, int d) {
    if (d == 0 || a == b) {
        return a;
    }
    const float f = static_cast<float>(d) / static_cast<float>(Distance(a, b));
    return {TruncF(static_cast<float>(b.x - a.x) * f) + a.x,
            TruncF(static_cast<float>(b.y - a.y) * f) + a.y};
}

Point CMathSub::FootOfPerpendicular(Point p, Point a, Point b) {
    if (a == b) {
        return a;  // the quotient below would be 0 / 0
    }
    const double ab2 = static_cast<double>(Squared(a, b));
    const double pa2 = static_cast<double>(Squared(p, a));
    const double pb2 = static_cast<double>(Squared(p, b));
    const double t = (ab2 + pa2 - pb2) / (2.0 * std::sqrt(ab2));
    return PointAlongSegment(a, b, Trunc(t));
}

Point CMathSub::RotatePoint(Point p, Point c, double t) {
    if (t == kFullTurn) {
        return p;
    }
    const double dx = static_cast<double>(p.x) - c.x;
    const double dy = static_cast<double>(p.y) - c.y;
    const double angle = std::atan2(dy, dx);
    const double r = std::sqrt(dx * dx + dy * dy);
    return {Trunc(std::cos(angle + t) * r) + c.x, Trunc(std::sin(angle + t) * r) + c.y};
}

void CMathSub::ScaleBetweenRects(std::span<Point> v, const Rect& a, const Rect& b) {
    const Point ca = Centre(a);
    const Point cb = Centre(b);
    const float sx = ScaleOf(a.left, a.right, b.left, b.right);
    const float sy = ScaleOf(a.top, a.bottom, b.top, b.bottom);
    for (Point& p : v) {
        p.x = ScaleCoordinate(p.x, a.left, a.right, ca.x, sx, b.left, b.right, cb.x);
        p.y = ScaleCoordinate(p.y, a.top, a.bottom, ca.y, sy, b.top, b.bottom, cb.y);
    }
}

void CMathSub::ProjectToCircle(std::span<Point> v, const Rect& r) {
    const int radius = InscribedRadius(r);
    const Point c = Centre(r);
    for (Point& p : v) {
        if (radius == 0 || p == c) {
            p = c;
            continue;
        }
        const float f = static_cast<float>(radius) / static_cast<float>(Distance(p, c));
        p = {TruncF(static_cast<float>(p.x - c.x) * f) + c.x,
             TruncF(static_cast<float>(p.y - c.y) * f) + c.y};
    }
}

void CMathSub::SpreadOnCircle(std::span<Point> v, const Rect& r) {
    const double radius = InscribedRadius(r);
    const Point c = Centre(r);
    const double n = static_cast<double>(v.size());
    for (std::size_t k = 1; k <= v.size(); ++k) {
        const double angle = (static_cast<double>(k) / n) * kFullTurn;
        v[k - 1] = {Trunc(std::cos(angle) * radius) + c.x, c.y + Trunc(std::sin(angle) * radius)};
    }
}

int CMathSub::SnapToRect(std::span<Point> v, const Rect& r) {
    for (Point& p : v) {
        Side side = Side::Top;
        Wide best = AbsDiff(p.y, r.top);
        const auto consider = [&](Side candidate, Wide distance) {
            if (distance < best) {
                best = distance;
                side = candidate;
            }
        };
        consider(Side::Right, AbsDiff(p.x, r.right));
        consider(Side::Bottom, AbsDiff(p.y, r.bottom));
        consider(Side::Left, AbsDiff(p.x, r.left));
        switch (side) {
            case Side::Top:
                p.y = r.top;
                break;
            case Side::Right:
                p.x = r.right;
                break;
            case Side::Bottom:
                p.y = r.bottom;
                break;
            case Side::Left:
                p.x = r.left;
                break;
        }
    }
    const Point c = Centre(r);
    Anchor(v, r, Side::Top, c.x);
    Anchor(v, r, Side::Right, c.y);
    Anchor(v, r, Side::Bottom, c.x);
    Anchor(v, r, Side::Left, c.y);
    Anchor(v, r, Side::Top, r.left);
    Anchor(v, r, Side::Right, r.top);
    Anchor(v, r, Side::Bottom, r.right);
    Anchor(v, r, Side::Left, r.bottom);
    return 1;
}

}  // namespace palvex
