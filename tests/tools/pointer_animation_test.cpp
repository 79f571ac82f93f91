#include "tools/pointer_animation.h"

#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "image/bitmap.h"
#include "tools/cursor_stop.h"

namespace palvex {
namespace {

// A generator that hands out a fixed sequence, then repeats it.
RingRandom Sequence(std::vector<std::uint32_t> values) {
    auto next = std::make_shared<std::size_t>(0);
    return [values = std::move(values), next] { return values[(*next)++ % values.size()]; };
}

bool Shown(Point p) {
    return p != kHiddenPosition;
}

TEST(PointerAnimation, RingsRunClockwiseRoundTheEllipseFromItsLeftEnd) {
    const auto ring = BuildRing({80, 90, 120, 110}, 0.0, {});
    ASSERT_TRUE(ring);
    const RingPositions& p = *ring;
    EXPECT_EQ(p[0], (Point{80, 100}));    // left end
    EXPECT_EQ(p[30], (Point{120, 100}));  // right end
    // Upper left, upper right (going back down the steps), lower right, lower left.
    for (int k = 1; k < 15; ++k) {
        EXPECT_LE(p[k].y, p[k - 1].y) << k;
        EXPECT_LT(p[k].x, 101) << k;
    }
    for (int k = 16; k < 30; ++k) {
        EXPECT_GE(p[k].y, p[k - 1].y) << k;
    }
    for (int k = 31; k < 46; ++k) {
        EXPECT_GE(p[k].y, p[30].y) << k;
    }
    for (const Point q : p) {
        const double dx = (q.x - 100) / 20.0;
        const double dy = (q.y - 100) / 10.0;
        EXPECT_NEAR(dx * dx + dy * dy, 1.0, 0.35) << q.x << "," << q.y;
    }
    EXPECT_EQ(BuildRing({0, 0, 2, 40}, 0.0, {}), std::nullopt);  // half-width 1
    EXPECT_EQ(BuildRing({0, 0, 40, 2}, 0.0, {}), std::nullopt);
}

TEST(PointerAnimation, TurnedPointsRightOfTheCentreInsideTheExclusionAreHidden) {
    const Rect exclusion{90, 90, 130, 110};
    const auto ring = BuildRing({80, 80, 120, 120}, 0.0, exclusion);
    ASSERT_TRUE(ring);
    int hidden = 0;
    for (const Point q : *ring) {
        if (!Shown(q)) {
            ++hidden;
        } else {
            EXPECT_FALSE(q.x >= 100 && exclusion.Contains(q.x, q.y)) << q.x << "," << q.y;
        }
    }
    EXPECT_GT(hidden, 0);
    EXPECT_EQ((*ring)[0], (Point{80, 100}));  // left of the centre: kept

    // A quarter turn carries the left end to the top.
    const auto turned = BuildRing({80, 80, 120, 120}, 3.14159265358979 / 2, {});
    ASSERT_TRUE(turned);
    EXPECT_NEAR((*turned)[0].x, 100, 1);
    EXPECT_NEAR((*turned)[0].y, 80, 1);
}

TEST(PointerAnimation, CanvasRingsTakeTheirSizesColoursAndBoxFromTheGenerator) {
    EXPECT_EQ(StartCanvasRings({200, 200}, 0, Sequence({0})), std::nullopt);

    const auto rings = StartCanvasRings({200, 200}, 10, Sequence({5, 3, 17}));
    ASSERT_TRUE(rings);
    EXPECT_EQ(rings->count, 10);
    std::set<Colour> colours;
    for (int i = 0; i < 10; ++i) {
        const AnimationRing& ring = rings->rings[static_cast<std::size_t>(i)];
        EXPECT_EQ(ring.colour, RingColour(i));
        EXPECT_EQ(ring.phase, 0);
        colours.insert(ring.colour);
        for (const Point q : ring.positions) {
            if (Shown(q)) {
                EXPECT_TRUE(rings->box.Contains(q.x, q.y));
                // Inside the ring's own box: rx <= 29, ry <= 39 round the pointer.
                EXPECT_LE(std::abs(q.x - 200), 40);
                EXPECT_LE(std::abs(q.y - 200), 40);
                EXPECT_FALSE(q.x >= 200 && (Rect{180, 180, 220, 220}).Contains(q.x, q.y));
            }
        }
    }
    EXPECT_EQ(colours.size(), 10u);
    EXPECT_EQ(RingColour(0), Rgb(255, 192, 192));
    EXPECT_EQ(RingColour(9), Rgb(255, 173, 243));

    // Sizes: a0 = 5 % 359, ring 0 rx = 20 + 3 % 10, ry = 20 + 17 % 20.
    const auto one = StartCanvasRings({200, 200}, 1, Sequence({5, 3, 17}));
    ASSERT_TRUE(one);
    int left = 1000, right = -1000, top = 1000, bottom = -1000;
    for (const Point q : one->rings[0].positions) {
        if (Shown(q)) {
            left = std::min(left, q.x);
            right = std::max(right, q.x);
            top = std::min(top, q.y);
            bottom = std::max(bottom, q.y);
        }
    }
    EXPECT_EQ(one->box, (Rect{left - 4, top - 4, right + 4, bottom + 4}));
}

TEST(PointerAnimation, NavigatorRingsUseTheFrameOrAHundredPixelSquare) {
    const Rect big{0, 0, 300, 200};
    const auto rings = StartNavigatorRings({150, 20}, big, 3, Sequence({0, 9, 49}));
    ASSERT_TRUE(rings);
    // Centred on the frame's vertical centre, and the square (100, 50)-(200, 150) is excluded.
    for (int i = 0; i < 3; ++i) {
        for (const Point q : rings->rings[static_cast<std::size_t>(i)].positions) {
            if (Shown(q)) {
                EXPECT_FALSE(q.x >= 150 && (Rect{100, 50, 200, 150}).Contains(q.x, q.y));
                EXPECT_LE(std::abs(q.y - 100), 50 + 49);
            }
        }
    }
    // A frame a pixel wide cannot carry a ring.
    EXPECT_EQ(StartNavigatorRings({5, 5}, {0, 0, 1, 50}, 3, Sequence({0})), std::nullopt);
}

TEST(PointerAnimation, DotsDarkenTowardThePhaseAndNeighbouringRingsTurnApart) {
    AnimationRings rings;
    rings.count = 2;
    for (int i = 0; i < 2; ++i) {
        AnimationRing& ring = rings.rings[static_cast<std::size_t>(i)];
        ring.colour = RingColour(i);
        for (int k = 0; k < kRingPositions; ++k) {
            ring.positions[static_cast<std::size_t>(k)] = {k, i};
        }
    }
    const AnimationRing& first = rings.rings[0];
    ASSERT_TRUE(DotOf(first, 7));
    EXPECT_EQ(DotOf(first, 7)->at, (Point{0, 0}));  // phase 0: the darkest dot at 0
    EXPECT_EQ(DotOf(first, 7)->colour, Rgb(255 - 56, 192 - 56, 192 - 56));
    EXPECT_EQ(DotOf(first, 0)->at, (Point{53, 0}));  // seven behind, wrapped
    EXPECT_EQ(DotOf(first, 0)->colour, RingColour(0));
    EXPECT_EQ(DotShade(Rgb(20, 5, 60), 3), Rgb(0, 0, 36));

    AdvanceRings(rings);
    EXPECT_EQ(rings.rings[0].phase, 1);
    EXPECT_EQ(rings.rings[1].phase, 59);
    rings.rings[0].phase = 59;
    AdvanceRings(rings);
    EXPECT_EQ(rings.rings[0].phase, 0);
    EXPECT_EQ(rings.rings[1].phase, 58);

    rings.rings[0].positions[0] = kHiddenPosition;
    EXPECT_EQ(DotOf(rings.rings[0], 7), std::nullopt);
}

TEST(PointerAnimation, SettingsKeepTheirRangesAndSpeedGivesThePeriod) {
    EXPECT_EQ(AnimationPeriod(0), 5);
    EXPECT_EQ(AnimationPeriod(4), 45);
    EXPECT_EQ(AnimationPeriod(99), 45);
    EXPECT_EQ(ClampRingCount(-3), 0);
    EXPECT_EQ(ClampRingCount(11), 10);
}

TEST(CursorStop, MovesToTheFirstNeighbourOfAnotherColourInColumnOrder) {
    const Colour draw = Rgb(0, 0, 255);
    const Colour other = Rgb(9, 9, 9);
    Bitmap image;
    ASSERT_TRUE(image.Create(5, 5));
    const auto fill = [&](Colour c) {
        for (Pixel& p : image.Pixels()) {
            p = PixelFromColour(c);
        }
    };
    const Point order[] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}, {3, 3}};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        fill(draw);
        // Every neighbour after the i-th differs too; the i-th must win.
        for (std::size_t j = i; j < std::size(order); ++j) {
            image.WritePixel(order[j].x, order[j].y, other);
        }
        EXPECT_EQ(CursorStopTarget(image, {2, 2}, draw), order[i]) << i;
    }
    fill(draw);
    EXPECT_EQ(CursorStopTarget(image, {2, 2}, draw), std::nullopt);  // nowhere to go
    image.WritePixel(2, 2, other);
    EXPECT_EQ(CursorStopTarget(image, {2, 2}, draw), std::nullopt);  // not on the colour

    // At a corner the neighbours off the image are skipped.
    fill(draw);
    image.WritePixel(1, 0, other);
    EXPECT_EQ(CursorStopTarget(image, {0, 0}, draw), (Point{1, 0}));
    EXPECT_EQ(CursorStopTarget(image, {-1, 0}, draw), std::nullopt);
}

}  // namespace
}  // namespace palvex
