#include "tools/range_shape.h"

#include <algorithm>

#include "geometry/math_sub.h"

namespace palvex {

RangeShape ComputeRangeShape(const ProcessingRange& range, Point client) {
    RangeShape shape;
    if (range.size >= 2) {
        const int d = static_cast<int>(range.flatness * range.size / 100.0);
        shape.width = range.flatDirection == 1 ? range.size - d : range.size;
        shape.height = range.flatDirection == 1 ? range.size : range.size - d;
    }
    const int left = client.x - shape.width / 2;
    const int top = client.y - shape.height / 2;
    shape.box = {left, top, left + shape.width, top + shape.height};
    shape.centre = client;
    return shape;
}

RangeOutline MakeRangeOutline(const ProcessingRange& range, Point client) {
    RangeOutline outline;
    outline.shape = range.Shape();
    outline.geometry = ComputeRangeShape(range, client);
    const Rect& b = outline.geometry.box;
    if (outline.shape == RangeShapeKind::Ellipse) {
        TraceEllipseOutline(b, range.angle, outline.ellipse);
        return outline;
    }
    if (outline.shape == RangeShapeKind::Triangle) {
        outline.corners = {Point{b.left, b.bottom}, Point{client.x, b.top},
                           Point{b.right, b.bottom}, Point{}};
        outline.cornerCount = 3;
    } else {
        outline.corners = {Point{b.left, b.top}, Point{b.right, b.top}, Point{b.right, b.bottom},
                           Point{b.left, b.bottom}};
        outline.cornerCount = 4;
    }
    if (range.angle != 0.0) {
        for (int i = 0; i < outline.cornerCount; ++i) {
            outline.corners[i] = CMathSub::RotatePoint(outline.corners[i], client, range.angle);
        }
    }
    return outline;
}

void TraceEllipseOutline(const Rect& box, double angle, std::vector<Point>& points) {
    points.clear();
    const double a = (box.right - box.left) * 0.5;
    const double b = (box.bottom - box.top) * 0.5;
    if (a <= 1.0 || b <= 1.0) {
        return;
    }
    const double m = std::max(a, b);
    const Point c{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    double x = m * a;
    double y = 0.0;
    points.reserve(kMaxEllipsePoints);
    while (x >= 0) {
        const int ix = static_cast<int>(x / m);
        const int iy = static_cast<int>(y / m);
        for (const Point p : {Point{c.x - ix, c.y - iy}, Point{c.x + ix, c.y - iy},
                              Point{c.x - ix, c.y + iy}, Point{c.x + ix, c.y + iy}}) {
            points.push_back(angle != 0.0 ? CMathSub::RotatePoint(p, c, angle) : p);
            if (points.size() == kMaxEllipsePoints) {
                return;
            }
        }
        y = y + x * b / a / m;
        x = x - y * a / b / m;
    }
}

}  // namespace palvex
