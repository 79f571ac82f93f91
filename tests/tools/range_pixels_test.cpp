#include "tools/range_pixels.h"

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/math_sub.h"

namespace palvex {
namespace {

const CanvasMapping kOneToOne{1.0f, {0, 0}};

std::vector<Point> Visited(const RangePixelSet& set) {
    std::vector<Point> out;
    ForEachRangePixel(set, [&out](int x, int y) { out.push_back({x, y}); });
    return out;
}

RangeOutline Polygon(std::vector<Point> corners) {
    RangeOutline outline;
    outline.shape = corners.size() == 3 ? RangeShapeKind::Triangle : RangeShapeKind::Rectangle;
    outline.cornerCount = static_cast<int>(corners.size());
    std::copy(corners.begin(), corners.end(), outline.corners.begin());
    return outline;
}

RangeOutline Ellipse(std::vector<Point> points) {
    RangeOutline outline;
    outline.shape = RangeShapeKind::Ellipse;
    outline.ellipse = std::move(points);
    return outline;
}

const ProcessingRange kRange{0, 30, 0, 0, 0.0, false};

TEST(RangePixels, RectangleLeavesOutTheFirstAndLastColumnAndRow) {
    const RangePixelSet set = RangePixels(kRange, Polygon({{10, 10}, {20, 10}, {20, 20}, {10, 20}}),
                                          {15, 15}, kOneToOne, {100, 100});
    const std::vector<Point> visited = Visited(set);
    ASSERT_EQ(visited.size(), 81u);
    EXPECT_EQ(visited.front(), (Point{11, 11}));
    EXPECT_EQ(visited[1], (Point{11, 12}));  // columns outer, rows inner
    EXPECT_EQ(visited[9], (Point{12, 11}));
    EXPECT_EQ(visited.back(), (Point{19, 19}));
    EXPECT_EQ(set.reported, (Rect{10, 10, 20, 20}));
    EXPECT_EQ(set.bounds, (Rect{11, 11, 20, 20}));
}

TEST(RangePixels, TriangleVisitsFortyFivePixels) {
    const RangePixelSet set = RangePixels(kRange, Polygon({{10, 20}, {15, 10}, {20, 20}}), {15, 15},
                                          kOneToOne, {100, 100});
    EXPECT_EQ(Visited(set).size(), 45u);
    EXPECT_EQ(set.spans.front(), (RangeSpan{11, 15, 16}));
    EXPECT_EQ(set.spans.back(), (RangeSpan{19, 11, 20}));
    EXPECT_EQ(set.bounds.top, 11);
}

TEST(RangePixels, ClippedAtTheImageEdges) {
    // Clipped on the left the width becomes x1 (column 4 stays out); on the right the last
    // image column is visited.
    const RangePixelSet left = RangePixels(kRange, Polygon({{-6, 2}, {4, 2}, {4, 8}, {-6, 8}}),
                                           {0, 5}, kOneToOne, {10, 10});
    EXPECT_EQ(left.reported, (Rect{0, 2, 4, 8}));
    EXPECT_EQ(left.bounds, (Rect{0, 3, 4, 8}));
    const RangePixelSet right = RangePixels(kRange, Polygon({{6, 2}, {16, 2}, {16, 8}, {6, 8}}),
                                            {9, 5}, kOneToOne, {10, 10});
    EXPECT_EQ(right.reported, (Rect{6, 2, 10, 8}));
    EXPECT_EQ(right.bounds, (Rect{7, 3, 10, 8}));
    const RangePixelSet outside = RangePixels(kRange, Polygon({{20, 2}, {30, 2}, {30, 8}, {20, 8}}),
                                              {25, 5}, kOneToOne, {10, 10});
    EXPECT_TRUE(outside.reported.IsEmpty());
    EXPECT_TRUE(outside.spans.empty());
}

// The spans must hold exactly the pixels the winding test puts inside, in its visiting order,
// for any turned, flattened or clipped shape, also at zoomed coordinates.
TEST(RangePixels, SpansMatchThePerPixelWindingTest) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-40, 140);
    std::uniform_real_distribution<double> angle(0.0, 6.28);
    const Size image{100, 80};
    for (int round = 0; round < 400; ++round) {
        const ProcessingRange range{round % 3 == 0 ? 2 : 0, 2 + round % 90,
                                    (round * 7) % 96,       round % 2,
                                    angle(random),          false};
        const Point client{coordinate(random), coordinate(random)};
        const CanvasMapping mapping{kZoomLevels[round % 5], {round % 13, round % 7}};
        const RangeOutline outline = MakeRangeOutline(range, client);
        const Point q = mapping.WindowToImage(client);
        const RangePixelSet set = RangePixels(range, outline, q, mapping, image);

        std::vector<Point> corners;
        for (const Point c : outline.Corners()) {
            corners.push_back(mapping.WindowToImage(c));
        }
        std::vector<Point> expected;
        const Rect& r = set.reported;
        for (int x = r.left; x < r.right; ++x) {
            for (int y = r.top; y < r.bottom; ++y) {
                if (CMathSub::PointInPolygon({x, y}, corners)) {
                    expected.push_back({x, y});
                }
            }
        }
        SCOPED_TRACE(::testing::Message() << "round " << round);
        ASSERT_EQ(Visited(set), expected);
    }
}

TEST(RangePixels, SizeOneIsOnePixelWhateverTheShapeAndZoom) {
    for (const int shape : {0, 1, 2}) {
        for (const float zoom : kZoomLevels) {
            const ProcessingRange range{shape, 1, 0, 0, 0.7, false};
            const CanvasMapping mapping{zoom, {3, 3}};
            const RangePixelSet set =
                RangePixels(range, MakeRangeOutline(range, {40, 40}), {20, 21}, mapping, {50, 50});
            EXPECT_EQ(Visited(set), (std::vector<Point>{{20, 21}}));
            EXPECT_EQ(set.reported, (Rect{15, 16, 25, 26}));
        }
    }
    const RangePixelSet outside =
        RangePixels({0, 1, 0, 0, 0.0, false}, {}, {-1, 3}, kOneToOne, {50, 50});
    EXPECT_TRUE(outside.spans.empty());
    EXPECT_FALSE(outside.reported.IsEmpty());
}

TEST(RangePixels, ZoomScalesTheRange) {
    const ProcessingRange range{0, 30, 0, 0, 0.0, false};
    const CanvasMapping zoom2{2.0f, {0, 0}};
    const RangePixelSet set =
        RangePixels(range, MakeRangeOutline(range, {100, 100}), {50, 50}, zoom2, {200, 200});
    EXPECT_EQ(set.reported.Width(), 15);
    EXPECT_EQ(set.reported.Height(), 15);
}

TEST(RangePixels, EllipseRowsBetweenTheOutermostPointsOfEachRow) {
    const ProcessingRange circle{1, 30, 0, 0, 0.0, false};
    const RangePixelSet set =
        RangePixels(circle, MakeRangeOutline(circle, {50, 50}), {50, 50}, kOneToOne, {100, 100});
    EXPECT_FALSE(set.columnsFirst);
    EXPECT_EQ(set.reported, (Rect{35, 35, 65, 65}));
    // The middle row spans from the leftmost to before the rightmost outline point.
    bool middle = false;
    for (const RangeSpan& s : set.spans) {
        if (s.y == 50) {
            EXPECT_EQ(s, (RangeSpan{50, 35, 65}));
            middle = true;
        }
    }
    EXPECT_TRUE(middle);

    const ProcessingRange two{1, 2, 0, 0, 0.0, false};
    EXPECT_TRUE(RangePixels(two, MakeRangeOutline(two, {50, 50}), {50, 50}, kOneToOne, {100, 100})
                    .spans.empty());
}

TEST(RangePixels, EllipseShortRowsRepeatTheRowAbove) {
    // Row 3 starts with a short span: the (0, 0) before the first row, nothing visited. Row 5
    // and the empty row 6 repeat row 4; u is clamped at 0 and v runs past the image's width.
    const RangeOutline outline =
        Ellipse({{4, 3}, {6, 3}, {-3, 4}, {30, 4}, {9, 5}, {11, 5}, {10, 7}, {18, 7}});
    const RangePixelSet set =
        RangePixels({1, 30, 0, 0, 0.0, false}, outline, {10, 5}, kOneToOne, {20, 20});
    EXPECT_EQ(set.spans, (std::vector<RangeSpan>{{4, 0, 20}, {5, 0, 20}, {6, 0, 20}, {7, 10, 18}}));
}

// Small ellipses have rows only a few pixels wide, where a row of exactly 5 takes its own span
// and a narrower one repeats the row above. Checked against the row rule written out plainly.
TEST(RangePixels, SmallEllipsesMatchTheRowRuleRowByRow) {
    const Size image{40, 40};
    int rowsOfFive = 0;
    for (int size = 6; size <= 12; ++size) {
        for (const int flatness : {0, 30}) {
            for (const double angle : {0.0, 0.4}) {
                const ProcessingRange range{1, size, flatness, 0, angle, false};
                const RangeOutline outline = MakeRangeOutline(range, {20, 20});
                const RangePixelSet set = RangePixels(range, outline, {20, 20}, kOneToOne, image);
                int top = INT_MAX;
                int bottom = INT_MIN;
                for (const Point p : outline.ellipse) {
                    top = std::min(top, p.y);
                    bottom = std::max(bottom, p.y);
                }
                std::vector<RangeSpan> expected;
                int u = 0;
                int v = 0;
                for (int y = top; y <= bottom; ++y) {
                    int left = INT_MAX;
                    int right = 0;
                    for (const Point p : outline.ellipse) {
                        if (p.y == y) {
                            left = std::min(left, p.x);
                            right = std::max(right, p.x);
                        }
                    }
                    left = std::max(left, 0);
                    rowsOfFive += right - left == 5 ? 1 : 0;
                    if (right - left >= 5) {
                        u = left;
                        v = right;
                    }
                    if (u < v) {
                        expected.push_back({y, u, v});
                    }
                }
                SCOPED_TRACE(::testing::Message() << "size " << size << ", flatness " << flatness
                                                  << ", angle " << angle);
                EXPECT_EQ(set.spans, expected);
            }
        }
    }
    EXPECT_GT(rowsOfFive, 0) << "no row of exactly five pixels was tried";
}

// A one-pixel range just beyond the image's right or bottom edge visits nothing: its pixel would
// be the first of the next row, or past the last row.
TEST(RangePixels, SizeOneJustOutsideTheImageVisitsNothing) {
    const ProcessingRange one{0, 1, 0, 0, 0.0, false};
    const Size image{6, 4};
    for (const Point q :
         {Point{6, 0}, Point{6, 3}, Point{0, 4}, Point{5, 4}, Point{-1, 3}, Point{2, -1}}) {
        EXPECT_TRUE(RangePixels(one, {}, q, kOneToOne, image).spans.empty()) << q.x << "," << q.y;
    }
    EXPECT_EQ(RangePixels(one, {}, {5, 3}, kOneToOne, image).spans,
              (std::vector<RangeSpan>{{3, 5, 6}}));
}

TEST(RangePixels, EllipseAboveTheImageChangesNothing) {
    const RangeOutline outline = Ellipse({{0, -20}, {10, -20}, {3, -12}, {5, -12}});
    const RangePixelSet set =
        RangePixels({1, 30, 0, 0, 0.0, false}, outline, {5, -16}, kOneToOne, {20, 20});
    EXPECT_TRUE(set.spans.empty());
}

TEST(RangePixels, EllipseReportedRectangleStopsBeforeTheLastPixel) {
    // At the right and bottom edges the reported rectangle ends at W - 1 and H - 1 (kept).
    const ProcessingRange circle{1, 30, 0, 0, 0.0, false};
    const RangePixelSet set =
        RangePixels(circle, MakeRangeOutline(circle, {95, 95}), {95, 95}, kOneToOne, {100, 100});
    EXPECT_EQ(set.reported, (Rect{80, 80, 99, 99}));
    EXPECT_EQ(set.bounds.right, 100);  // the last column is visited all the same
}

}  // namespace
}  // namespace palvex
