#include "geometry/math_sub.h"

#include <cfenv>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace palvex {
namespace {

using M = CMathSub;

bool FitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

TEST(MathSub, PointInPolygonCountsRightAndBottomEdgesInside) {
    const std::vector<Point> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(M::PointInPolygon({5, 5}, square));
    EXPECT_FALSE(M::PointInPolygon({15, 5}, square));
    EXPECT_TRUE(M::PointInPolygon({10, 5}, square));
    EXPECT_TRUE(M::PointInPolygon({5, 10}, square));
    EXPECT_FALSE(M::PointInPolygon({0, 5}, square));
    EXPECT_FALSE(M::PointInPolygon({5, 0}, square));
    EXPECT_FALSE(M::PointInPolygon({5, 5}, {}));
}

TEST(MathSub, PointInPolygonHoldsAtZoomedCoordinates) {
    // 47000 x 48000 does not fit in 32 bits.
    const std::vector<Point> triangle{{0, 0}, {48000, 48000}, {0, 48000}};
    EXPECT_TRUE(M::PointInPolygon({46000, 47000}, triangle));
    EXPECT_FALSE(M::PointInPolygon({47500, 47000}, triangle));
}

TEST(MathSub, NearSegment) {
    EXPECT_TRUE(M::NearSegment({5, 4}, {0, 0}, {10, 0}));
    EXPECT_FALSE(M::NearSegment({5, 5}, {0, 0}, {10, 0}));
    EXPECT_TRUE(M::NearSegment({14, 0}, {0, 0}, {10, 0}));
    EXPECT_FALSE(M::NearSegment({15, 0}, {0, 0}, {10, 0}));  // outside the widened box
    EXPECT_TRUE(M::NearSegment({3, 3}, {0, 0}, {10, 10}));
    EXPECT_FALSE(M::NearSegment({0, 8}, {0, 0}, {10, 10}));
}

TEST(MathSub, NearSegmentCountsNotANumberAsNear) {
    // The zero-length segment equal to p: 0 / 0 in the foot distance.
    EXPECT_TRUE(M::NearSegment({0, 0}, {0, 0}, {0, 0}));
    EXPECT_FALSE(M::NearSegment({1, 0}, {0, 0}, {0, 0}));
}

TEST(MathSub, NearSegmentHoldsAtZoomedCoordinates) {
    // 48000 squared does not fit in 32 bits.
    EXPECT_TRUE(M::NearSegment({24000, 3}, {0, 0}, {48000, 0}));
    EXPECT_FALSE(M::NearSegment({24000, 5}, {0, 0}, {48000, 0}));
    EXPECT_FALSE(M::NearSegment({24000, 24100}, {0, 0}, {48000, 48000}));
    EXPECT_TRUE(M::NearSegment({24002, 24000}, {0, 0}, {48000, 48000}));
}

TEST(MathSub, DistanceTruncates) {
    EXPECT_EQ(M::Distance({0, 0}, {3, 4}), 5);
    EXPECT_EQ(M::Distance({0, 0}, {1, 1}), 1);
    EXPECT_EQ(M::Distance({0, 0}, {48000, 48000}), 67882);
}

TEST(MathSub, BoundingRectIncludesItsMaxima) {
    const std::vector<Point> v{{3, 9}, {-2, 4}, {7, -1}};
    EXPECT_EQ(M::BoundingRect(v), (Rect{-2, -1, 7, 9}));
}

TEST(MathSub, EmptyBoundingRectIsInvertedAndSurvivesWidening) {
    const Rect r = M::BoundingRect({});
    EXPECT_LT(r.right, r.left);
    EXPECT_LT(r.bottom, r.top);
    // Enlarged by a few pixels, scaled to 800 %, and its width taken, as the barrier code does.
    for (const int margin : {4, 6, 46}) {
        const std::int64_t left = std::int64_t{r.left} - margin;
        const std::int64_t right = std::int64_t{r.right} + margin;
        EXPECT_TRUE(FitsInt32(left * 8));
        EXPECT_TRUE(FitsInt32(right * 8));
        EXPECT_TRUE(FitsInt32((right - left) * 8));
        EXPECT_TRUE(FitsInt32((left - right) * 8));
    }
}

TEST(MathSub, BorderSamplePoints) {
    const auto p = M::BorderSamplePoints(100, 80);
    EXPECT_EQ(p[0], (Point{0, 0}));
    EXPECT_EQ(p[1], (Point{6, 0}));
    EXPECT_EQ(p[16], (Point{99, 0}));
    EXPECT_EQ(p[32], (Point{100, 79}));
    EXPECT_EQ(p[48], (Point{0, 80}));
    EXPECT_EQ(p[63], (Point{0, 5}));
}

TEST(MathSub, PointAlongSegment) {
    EXPECT_EQ(M::PointAlongSegment({0, 0}, {10, 0}, 5), (Point{5, 0}));
    EXPECT_EQ(M::PointAlongSegment({2, 2}, {10, 0}, 0), (Point{2, 2}));
    EXPECT_EQ(M::PointAlongSegment({2, 2}, {2, 2}, 7), (Point{2, 2}));
    EXPECT_EQ(M::PointAlongSegment({0, 0}, {10, 0}, -3), (Point{-3, 0}));
    EXPECT_EQ(M::PointAlongSegment({0, 0}, {10, 0}, 25), (Point{25, 0}));
    // L = trunc(sqrt(2)) = 1, so the single-precision f is 3.
    EXPECT_EQ(M::PointAlongSegment({0, 0}, {1, 1}, 3), (Point{3, 3}));
}

TEST(MathSub, FootOfPerpendicular) {
    EXPECT_EQ(M::FootOfPerpendicular({5, 5}, {0, 0}, {10, 0}), (Point{5, 0}));
    EXPECT_EQ(M::FootOfPerpendicular({15, -5}, {0, 0}, {10, 0}), (Point{15, 0}));  // beyond b
    EXPECT_EQ(M::FootOfPerpendicular({0, 10}, {0, 0}, {10, 10}), (Point{5, 5}));
}

TEST(MathSub, FootOfPerpendicularOnAPointDoesNotDivideByZero) {
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(M::FootOfPerpendicular({7, 3}, {2, 2}, {2, 2}), (Point{2, 2}));
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID));
}

TEST(MathSub, RotatePointTurnsClockwiseOnScreen) {
    EXPECT_EQ(M::RotatePoint({10, 0}, {0, 0}, std::numbers::pi / 2), (Point{0, 10}));
    EXPECT_EQ(M::RotatePoint({15, 5}, {5, 5}, std::numbers::pi), (Point{-5, 5}));
    // The stored full turn is the identity; turned, 7 would truncate from 6.999999998 to 6.
    EXPECT_EQ(M::RotatePoint({7, 7}, {0, 0}, 6.283185307), (Point{7, 7}));
}

TEST(MathSub, ScaleBetweenRectsSnapsEdges) {
    std::vector<Point> v{{1, 5}, {10, 10}, {7, 3}};
    M::ScaleBetweenRects(v, {0, 0, 10, 10}, {0, 0, 20, 20});
    EXPECT_EQ(v[0], (Point{0, 10}));
    EXPECT_EQ(v[1], (Point{20, 20}));
    EXPECT_EQ(v[2], (Point{14, 6}));
}

TEST(MathSub, ScaleBetweenRectsFromAZeroWidthSourceIsGuarded) {
    std::vector<Point> v{{5, 0}, {6, 10}, {9, 5}};
    std::feclearexcept(FE_ALL_EXCEPT);
    M::ScaleBetweenRects(v, {5, 0, 5, 10}, {0, 0, 40, 20});
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID));
    EXPECT_EQ(v[0], (Point{0, 0}));
    EXPECT_EQ(v[1], (Point{0, 20}));
    EXPECT_EQ(v[2], (Point{20, 10}));  // off the zero-width source: onto the target's centre
}

TEST(MathSub, ProjectToCircle) {
    std::vector<Point> v{{30, 10}, {10, 10}, {10, 13}, {13, 14}};
    M::ProjectToCircle(v, {0, 0, 20, 30});  // r = 10, centre (10, 15)
    EXPECT_EQ(v[0], (Point{20, 13}));       // f = 10 / trunc(20.6) = 0.5
    EXPECT_EQ(v[1], (Point{10, 5}));
    EXPECT_EQ(v[2], (Point{10, 5}));
    EXPECT_EQ(v[3], (Point{20, 12}));  // distance trunc(3.16) = 3 overshoots the circle
    std::vector<Point> flat{{4, 4}};
    M::ProjectToCircle(flat, {0, 0, 1, 30});
    EXPECT_EQ(flat[0], (Point{0, 15}));
}

TEST(MathSub, SpreadOnCircleStartsOneStepOnAndEndsAtAFullTurn) {
    std::vector<Point> v(4);
    M::SpreadOnCircle(v, {0, 0, 20, 20});
    EXPECT_EQ(v[0], (Point{10, 20}));
    EXPECT_EQ(v[1], (Point{0, 10}));
    EXPECT_EQ(v[2], (Point{10, 0}));
    EXPECT_EQ(v[3], (Point{20, 10}));
}

TEST(MathSub, SnapToRect) {
    std::vector<Point> v{{1, 1}, {9, 2}, {8, 9}, {2, 8}};
    EXPECT_EQ(M::SnapToRect(v, {0, 0, 10, 10}), 1);
    EXPECT_EQ(v, (std::vector<Point>{{0, 10}, {10, 0}, {10, 10}, {2, 10}}));
}

}  // namespace
}  // namespace palvex
