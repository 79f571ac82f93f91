#include "barrier/inside_point.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "geometry/math_sub.h"

namespace palvex {
namespace {

constexpr double kQuarterTurn = 1.57079632675;

int Mid(int u, int v) {
    const std::int64_t low = std::min(u, v);
    return static_cast<int>(low + std::llabs(std::int64_t{u} - v) / 2);
}

// The point 3 pixels from m towards `to` (m itself when they coincide), turned a quarter about
// m. The step is in single precision, as the candidates' truncated positions depend on it.
Point Candidate(Point m, Point to) {
    Point g = m;
    if (m != to) {
        const float f = 3.0f / static_cast<float>(CMathSub::Distance(to, m));
        g = {m.x + static_cast<int>(static_cast<float>(std::int64_t{to.x} - m.x) * f),
             m.y + static_cast<int>(static_cast<float>(std::int64_t{to.y} - m.y) * f)};
    }
    return CMathSub::RotatePoint(g, m, kQuarterTurn);
}

}  // namespace

Point FindInsidePoint(std::span<const Point> vertices, const std::function<bool(Point)>& usable) {
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        const Point c = vertices[i];
        const Point d = vertices[i + 1];
        const Point m{Mid(c.x, d.x), Mid(c.y, d.y)};
        for (const Point to : {d, c}) {
            const Point q = Candidate(m, to);
            if (CMathSub::PointInPolygon(q, vertices) && (!usable || usable(q))) {
                return q;
            }
        }
    }
    return kNoInsidePoint;
}

}  // namespace palvex
