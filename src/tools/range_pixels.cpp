#include "tools/range_pixels.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "geometry/math_sub.h"

namespace palvex {
namespace {

using Wide = std::int64_t;

Rect BoundsOf(const std::vector<RangeSpan>& spans) {
    Rect r;
    for (const RangeSpan& s : spans) {
        r = r.United({s.begin, s.y, s.end, s.y + 1});
    }
    return r;
}

// One edge's share of the winding count along a row: it adds `step` for every x <= limit.
struct Crossing {
    Wide limit;
    int step;
};

// The inside pixels of row y within [from, to), as spans. Equivalent to testing every pixel with
// CMathSub::PointInPolygon: for an edge crossing the row, the winding test's comparisons reduce
// to x <= xi, with xi computed exactly as the test computes it.
void PolygonRowSpans(std::span<const Point> v, int y, int from, int to,
                     std::vector<RangeSpan>& out) {
    Crossing crossings[4];
    int count = 0;
    Point prev = v[0];
    for (std::size_t i = 1; i <= v.size(); ++i) {
        const Point cur = v[i % v.size()];
        const bool prevBelow = y <= prev.y;
        if (prevBelow != (y <= cur.y)) {
            const Wide xi =
                prev.x + (Wide{y} - prev.y) * (Wide{cur.x} - prev.x) / (Wide{cur.y} - prev.y);
            crossings[count++] = {xi, prevBelow ? -1 : 1};
        }
        prev = cur;
    }
    for (int i = 1; i < count; ++i) {  // at most four: insertion sort
        for (int j = i; j > 0 && crossings[j].limit < crossings[j - 1].limit; --j) {
            std::swap(crossings[j], crossings[j - 1]);
        }
    }
    // Between consecutive limits the count is the sum of the steps of the limits to the right.
    for (int j = 0; j < count; ++j) {
        int wn = 0;
        for (int k = j; k < count; ++k) {
            wn += crossings[k].step;
        }
        const Wide lo = std::max(Wide{from}, j == 0 ? Wide{from} : crossings[j - 1].limit + 1);
        const Wide hi = std::min(Wide{to}, crossings[j].limit + 1);
        if (wn == 0 || lo >= hi) {
            continue;
        }
        if (!out.empty() && out.back().y == y && out.back().end == lo) {
            out.back().end = static_cast<int>(hi);
        } else {
            out.push_back({y, static_cast<int>(lo), static_cast<int>(hi)});
        }
    }
}

void PolygonPixels(const RangeOutline& outline, const CanvasMapping& mapping, Size image,
                   RangePixelSet& set) {
    std::array<Point, 4> corners{};
    const std::span<const Point> client = outline.Corners();
    for (std::size_t i = 0; i < client.size(); ++i) {
        corners[i] = mapping.WindowToImage(client[i]);
    }
    const std::span<const Point> v{corners.data(), client.size()};
    const Rect box = CMathSub::BoundingRect(v);
    int x0 = box.left;
    int y0 = box.top;
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    if (x0 < 0) {
        x0 = 0;
        width = box.right;
    }
    if (y0 < 0) {
        y0 = 0;
        height = box.bottom;
    }
    if (x0 + width > image.width) {
        width = image.width - x0;
    }
    if (y0 + height > image.height) {
        height = image.height - y0;
    }
    set.columnsFirst = true;
    set.reported = {x0, y0, x0 + width, y0 + height};
    for (int y = y0; y < y0 + height; ++y) {
        PolygonRowSpans(v, y, x0, x0 + width, set.spans);
    }
}

void EllipsePixels(const RangeOutline& outline, const CanvasMapping& mapping, Point q, int size,
                   Size image, RangePixelSet& set) {
    const int s = static_cast<int>(static_cast<float>(size) / mapping.zoom);
    const int h = s / 2;
    set.reported = {std::max(0, q.x - h), std::max(0, q.y - h),
                    q.x + h > image.width ? image.width - 1 : q.x + h,
                    q.y + h > image.height ? image.height - 1 : q.y + h};
    if (outline.ellipse.empty()) {
        return;
    }
    std::vector<Point> points(outline.ellipse.size());
    std::transform(outline.ellipse.begin(), outline.ellipse.end(), points.begin(),
                   [&mapping](Point p) { return mapping.WindowToImage(p); });
    const auto [lowest, highest] = std::minmax_element(points.begin(), points.end(),
                                                       [](Point a, Point b) { return a.y < b.y; });
    const int top = lowest->y;
    // Rows end at the outline's last row: an outline wholly above the image changes nothing
    // (stretching the rows down to row 0 repeated the last span into the image's top row).
    const int bottom = highest->y;
    // The leftmost and rightmost point of every row in one pass instead of a scan of the whole
    // list for each row; the extremes start at the largest int and at 0 as the row search does.
    const std::size_t rows = static_cast<std::size_t>(Wide{bottom} - top + 1);
    std::vector<int> lefts(rows, INT_MAX);
    std::vector<int> rights(rows, 0);
    for (const Point p : points) {
        const std::size_t row = static_cast<std::size_t>(p.y - top);
        lefts[row] = std::min(lefts[row], p.x);
        rights[row] = std::max(rights[row], p.x);
    }
    int u = 0;
    int v = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        const int left = std::max(lefts[row], 0);
        const int right = rights[row];
        if (Wide{right} - left >= 5) {
            u = left;
            v = right;
        }
        const int y = top + static_cast<int>(row);
        const int end = std::min(v, image.width);
        if (y >= 0 && y < image.height && u < end) {
            set.spans.push_back({y, u, end});
        }
    }
}

}  // namespace

std::size_t RangePixelSet::PixelCount() const {
    std::size_t count = 0;
    for (const RangeSpan& s : spans) {
        count += static_cast<std::size_t>(s.end - s.begin);
    }
    return count;
}

RangePixelSet RangePixels(const ProcessingRange& range, const RangeOutline& outline, Point q,
                          const CanvasMapping& mapping, Size image) {
    RangePixelSet set;
    if (range.size == 1) {
        set.reported = {q.x - 5, q.y - 5, q.x + 5, q.y + 5};
        if (q.x >= 0 && q.y >= 0 && q.x < image.width && q.y < image.height) {
            set.spans.push_back({q.y, q.x, q.x + 1});
        }
    } else if (outline.shape == RangeShapeKind::Ellipse) {
        EllipsePixels(outline, mapping, q, range.size, image, set);
    } else if (outline.cornerCount > 0) {
        PolygonPixels(outline, mapping, image, set);
    }
    set.bounds = BoundsOf(set.spans);
    return set;
}

}  // namespace palvex
