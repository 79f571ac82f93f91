#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <new>

#include "barrier/barrier.h"
#include "geometry/math_sub.h"
#include "resources/string_table.h"

namespace palvex {
namespace {

int Between(int a, int b, float f) {
    return a + static_cast<int>(static_cast<float>(b - a) * f);
}

int Mid(int a, int b) {
    return std::min(a, b) + std::abs(a - b) / 2;
}

// The points a multiply puts between two vertices; the products in single precision.
int PointsBetween(Point a, Point b, int k, std::array<Point, 4>& out) {
    static constexpr std::array<float, 2> kThirds{0.333f, 0.666f};
    static constexpr std::array<float, 4> kFifths{0.2f, 0.4f, 0.6f, 0.8f};
    if (k == 2) {
        out[0] = {Mid(a.x, b.x), Mid(a.y, b.y)};
        return 1;
    }
    const std::span<const float> factors =
        k == 3 ? std::span<const float>(kThirds) : std::span<const float>(kFifths);
    for (std::size_t i = 0; i < factors.size(); ++i) {
        out[i] = {Between(a.x, b.x, factors[i]), Between(a.y, b.y, factors[i])};
    }
    return int(factors.size());
}

int& Coordinate(Point& p, Axis axis) {
    return axis == Axis::X ? p.x : p.y;
}

}  // namespace

bool Barrier::ResizeBarrier(int d, Size image) {
    const std::optional<Rect> frame = Frame();
    if (!frame) {
        return false;
    }
    const Rect f = *frame;
    if ((f.right - f.left) + 2 * d < kBarrierMinFrame ||
        (f.bottom - f.top) + 2 * d < kBarrierMinFrame) {
        return false;
    }
    const Rect grown{f.left - d, f.top - d, f.right + d, f.bottom + d};
    if (f.left >= 0 && f.top >= 0 && f.right < image.width && f.bottom < image.height) {
        // Within the image the new frame is clamped and the barrier stretches away from the
        // border it touches.
        return ApplyFrame(
            f, {std::max(grown.left, 0), std::max(grown.top, 0),
                std::min(grown.right, image.width - 1), std::min(grown.bottom, image.height - 1)});
    }
    // A barrier reaching past the image (after a shrink or trim) would be squeezed or mirrored
    // by a clamped frame: it keeps its shape and only its vertices are brought onto the image.
    if (!PushSnapshot()) {
        return false;
    }
    const std::span<Point> v{vertices_.data(), std::size_t(count_)};
    CMathSub::ScaleBetweenRects(v, f, grown);
    for (Point& p : v) {
        p = {std::clamp(p.x, 0, image.width - 1), std::clamp(p.y, 0, image.height - 1)};
    }
    VerticesChanged();
    frame_ = CMathSub::BoundingRect(Vertices());
    return true;
}

bool Barrier::MultiplyVertices(int k, Prompter& prompter) {
    if ((k != 2 && k != 3 && k != 5) || count_ == 0) {
        return false;
    }
    const int n = count_;
    if (n * k > kBarrierCapacity) {
        prompter.Error(str::kCannotAddMore);
        return false;
    }
    const std::unique_ptr<Point[]> points(new (std::nothrow) Point[std::size_t(n)]);
    const std::unique_ptr<std::uint8_t[]> flags(new (std::nothrow) std::uint8_t[std::size_t(n)]);
    if (!points || !flags) {
        prompter.Error(str::kMemoryAllocationFailed);
        return false;
    }
    std::copy_n(vertices_.begin(), n, points.get());
    std::copy_n(selected_.begin(), n, flags.get());
    if (!PushSnapshot()) {
        return false;
    }
    std::size_t out = 0;
    for (int i = 0; i < n; ++i) {
        const Point a = points[std::size_t(i)];
        const Point b = points[std::size_t(i + 1 < n ? i + 1 : 0)];
        const std::uint8_t flag = flags[std::size_t(i)];
        std::array<Point, 4> between{};
        const int added = PointsBetween(a, b, k, between);
        vertices_[out] = a;
        selected_[out++] = flag;
        for (int j = 0; j < added; ++j) {
            vertices_[out] = between[std::size_t(j)];
            selected_[out++] = flag;
        }
    }
    count_ = n * k;
    VerticesChanged();
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    return true;
}

bool Barrier::ThinVertices(int k) {
    if ((k != 2 && k != 3 && k != 5) || count_ == 0 || !PushSnapshot()) {
        return false;
    }
    int kept = 0;
    for (int i = 0; i < count_; i += k) {
        vertices_[std::size_t(kept)] = vertices_[std::size_t(i)];
        selected_[std::size_t(kept)] = selected_[std::size_t(i)];
        ++kept;
    }
    count_ = kept;
    VerticesChanged();
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    return true;
}

bool Barrier::PlaceOnRect() {
    const std::optional<Rect> frame = Frame();
    if (!frame || count_ < 4 || !PushSnapshot()) {
        return false;
    }
    CMathSub::SnapToRect({vertices_.data(), std::size_t(count_)}, *frame);
    VerticesChanged();
    return true;
}

bool Barrier::PlaceOnEllipse() {
    const std::optional<Rect> frame = Frame();
    if (!frame || count_ < 4 || !PushSnapshot()) {
        return false;
    }
    const Rect r = *frame;
    const Point c{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const int s = std::min(r.right - r.left, r.bottom - r.top) / 2;
    const std::span<Point> v{vertices_.data(), std::size_t(count_)};
    // Few vertices keep their directions from the centre; many are spread evenly.
    if (count_ <= 9) {
        CMathSub::SnapToRect(v, r);
        CMathSub::ProjectToCircle(v, r);
    } else {
        CMathSub::SpreadOnCircle(v, r);
    }
    CMathSub::ScaleBetweenRects(v, {c.x - s, c.y - s, c.x + s, c.y + s}, r);
    VerticesChanged();
    return true;
}

bool Barrier::AlignToMain(Axis axis) {
    if (mainVertex_ < 0 || mainVertex_ >= count_ || SelectedCount() < 2 || !PushSnapshot()) {
        return false;
    }
    const int target = Coordinate(vertices_[std::size_t(mainVertex_)], axis);
    for (int i = 0; i < count_; ++i) {
        if (selected_[std::size_t(i)] != 0) {
            Coordinate(vertices_[std::size_t(i)], axis) = target;
        }
    }
    VerticesChanged();
    frame_.reset();  // a shown frame follows the vertices
    return true;
}

bool Barrier::SpaceEvenly(Axis axis, Prompter& prompter) {
    int m = 0;
    int lo = 0;
    int hi = 0;
    for (int i = 0; i < count_; ++i) {
        if (selected_[std::size_t(i)] == 0) {
            continue;
        }
        Point& p = vertices_[std::size_t(i)];
        lo = m == 0 ? Coordinate(p, axis) : std::min(lo, Coordinate(p, axis));
        hi = std::max(hi, Coordinate(p, axis));
        ++m;
    }
    // One selected vertex leaves no interval to divide.
    if (m < 2 || !PushSnapshot()) {
        return false;
    }
    const std::unique_ptr<bool[]> marked(new (std::nothrow) bool[std::size_t(count_)]());
    if (!marked) {
        prompter.Error(str::kMemoryAllocationFailed);
        return false;
    }
    float pos = static_cast<float>(lo);
    const float step = static_cast<float>(hi - lo) / static_cast<float>(m - 1);
    for (int round = 0; round < count_; ++round) {
        int pick = -1;
        for (int i = 0; i < count_; ++i) {
            if (selected_[std::size_t(i)] != 0 && !marked[std::size_t(i)] &&
                (pick < 0 || Coordinate(vertices_[std::size_t(i)], axis) <
                                 Coordinate(vertices_[std::size_t(pick)], axis))) {
                pick = i;
            }
        }
        if (pick < 0) {
            break;
        }
        Coordinate(vertices_[std::size_t(pick)], axis) = static_cast<int>(pos);
        pos += step;
        if (static_cast<float>(hi) <= pos) {
            break;
        }
        marked[std::size_t(pick)] = true;
    }
    VerticesChanged();
    frame_.reset();  // a shown frame follows the vertices
    return true;
}

}  // namespace palvex
