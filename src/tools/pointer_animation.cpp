#include "tools/pointer_animation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "geometry/math_sub.h"

namespace palvex {
namespace {

constexpr std::array<Colour, kMaxRings> kRingColours = {
    Rgb(255, 192, 192), Rgb(247, 192, 255), Rgb(123, 192, 247), Rgb(255, 165, 165),
    Rgb(247, 192, 192), Rgb(128, 165, 247), Rgb(255, 123, 123), Rgb(247, 192, 123),
    Rgb(128, 243, 247), Rgb(255, 173, 243)};

constexpr int kQuarterSteps = 16;
constexpr double kDegree = 3.14159265358979323846 / 180.0;

int Trunc(double v) {
    return static_cast<int>(v);
}

bool Hidden(Point p, Point centre, const Rect& exclusion) {
    return p.x >= centre.x && exclusion.Contains(p.x, p.y);
}

// Builds every ring from the same starting angle rule; the sizes come from the generator.
std::optional<AnimationRings> StartRings(Point centre, int r0, int ryRange, const Rect& exclusion,
                                         int count, const RingRandom& random) {
    count = std::clamp(count, 0, kMaxRings);
    if (count == 0) {
        return std::nullopt;
    }
    AnimationRings out;
    int angle = static_cast<int>(random() % 359);
    Rect box{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
             std::numeric_limits<int>::min(), std::numeric_limits<int>::min()};
    for (int i = 0; i < count; ++i) {
        const int rx = r0 / 2 + static_cast<int>(random() % 10);
        const int ry = r0 / 2 + static_cast<int>(random() % static_cast<std::uint32_t>(ryRange));
        angle += 120 * i;
        if (angle > 359) {
            angle -= 360;
        }
        const Rect ringBox{centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry};
        const auto positions = BuildRing(ringBox, angle * kDegree, exclusion);
        if (!positions) {
            return std::nullopt;
        }
        AnimationRing& ring = out.rings[static_cast<std::size_t>(i)];
        ring.positions = *positions;
        ring.phase = 0;
        ring.colour = RingColour(i);
        for (const Point p : ring.positions) {
            if (p == kHiddenPosition) {
                continue;
            }
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
    }
    out.count = count;
    // A ring whose every dot is hidden leaves nothing to frame.
    out.box = box.left > box.right ? Rect{}
                                   : Rect{box.left - 4, box.top - 4, box.right + 4, box.bottom + 4};
    return out;
}

}  // namespace

int ClampRingCount(std::int32_t stored) {
    return std::clamp<std::int32_t>(stored, 0, kMaxRings);
}

int ClampAnimationSpeed(std::int32_t stored) {
    return std::clamp<std::int32_t>(stored, 0, 4);
}

int AnimationPeriod(int speed) {
    return ClampAnimationSpeed(speed) * 10 + 5;
}

RingRandom TimeSeededRandom() {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    auto engine = std::make_shared<std::minstd_rand>(static_cast<std::uint32_t>(seconds));
    return [engine] { return static_cast<std::uint32_t>((*engine)()); };
}

std::optional<RingPositions> BuildRing(const Rect& box, double angle, const Rect& exclusion) {
    const double a = (box.right - box.left) * 0.5;
    const double b = (box.bottom - box.top) * 0.5;
    if (a <= 1.0 || b <= 1.0) {
        return std::nullopt;
    }
    const Point c{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    std::array<Point, kQuarterSteps> ul{}, ur{}, ll{}, lr{};
    double x = 10 * a;
    double y = 0;
    int s = 0;
    for (; x >= 0; ++s) {
        if (s == kQuarterSteps) {
            return std::nullopt;
        }
        const int ix = Trunc(x / 10);
        const int iy = Trunc(y / 10);
        Point corners[4] = {
            {c.x - ix, c.y - iy}, {c.x + ix, c.y - iy}, {c.x - ix, c.y + iy}, {c.x + ix, c.y + iy}};
        for (Point& p : corners) {
            if (angle != 0) {
                p = CMathSub::RotatePoint(p, c, angle);
            }
            if (Hidden(p, c, exclusion)) {
                p = kHiddenPosition;
            }
        }
        ul[s] = corners[0];
        ur[s] = corners[1];
        ll[s] = corners[2];
        lr[s] = corners[3];
        y = y + x * b / a / 10;
        x = x - y * a / b / 10;
    }
    if (s != kQuarterSteps) {
        return std::nullopt;  // the walk needs all sixteen steps to fill the ring
    }
    RingPositions out{};
    for (int k = 0; k < 15; ++k) {
        out[k] = ul[k];
    }
    for (int k = 15; k < 30; ++k) {
        out[k] = ur[30 - k];
    }
    for (int k = 30; k < 46; ++k) {
        out[k] = lr[k - 30];
    }
    for (int k = 46; k < 60; ++k) {
        out[k] = ll[60 - k];
    }
    return out;
}

Colour RingColour(int ring) {
    return kRingColours[static_cast<std::size_t>(std::clamp(ring, 0, kMaxRings - 1))];
}

Colour DotShade(Colour ringColour, int j) {
    const int less = 8 * j;
    return Rgb(std::max(0, RedOf(ringColour) - less), std::max(0, GreenOf(ringColour) - less),
               std::max(0, BlueOf(ringColour) - less));
}

std::optional<AnimationRings> StartCanvasRings(Point p, int count, const RingRandom& random) {
    const Rect exclusion{p.x - 20, p.y - 20, p.x + 20, p.y + 20};
    const int r0 = std::min(exclusion.Width(), exclusion.Height());
    return StartRings(p, r0, 20, exclusion, count, random);
}

std::optional<AnimationRings> StartNavigatorRings(Point p, const Rect& frame, int count,
                                                  const RingRandom& random) {
    Rect b = frame;
    if (frame.Width() > 100 && frame.Height() > 100) {
        const Point c{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
        b = {c.x - 50, c.y - 50, c.x + 50, c.y + 50};
    }
    const int r0 = std::min(b.Width(), b.Height());
    if (r0 <= 0) {
        return std::nullopt;
    }
    const Point centre{p.x, (frame.top + frame.bottom) / 2};
    return StartRings(centre, r0, 50, b, count, random);
}

std::optional<RingDot> DotOf(const AnimationRing& ring, int j) {
    int k = ring.phase - 7 + j;
    if (k < 0) {
        k += kRingPositions;
    } else if (k >= kRingPositions) {
        k = 0;
    }
    const Point at = ring.positions[static_cast<std::size_t>(k)];
    if (at == kHiddenPosition) {
        return std::nullopt;
    }
    // Pen 0 has the ring's colour and each later pen is darker, so the phase dot is darkest.
    return RingDot{at, DotShade(ring.colour, j)};
}

void AdvanceRings(AnimationRings& rings) {
    for (int i = 0; i < rings.count; ++i) {
        int& phase = rings.rings[static_cast<std::size_t>(i)].phase;
        if (i % 2 == 0) {
            phase = phase == kRingPositions - 1 ? 0 : phase + 1;
        } else {
            phase = phase == 0 ? kRingPositions - 1 : phase - 1;
        }
    }
}

}  // namespace palvex
