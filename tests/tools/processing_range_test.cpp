#include "tools/processing_range.h"

#include <numbers>

#include <gtest/gtest.h>

#include "tools/range_shape.h"

namespace palvex {
namespace {

TEST(ProcessingRange, SettingsUseTheirKeysAndKeepTheAngleToATenThousandth) {
    MemorySettings store;
    EXPECT_EQ(ReadProcessingRange(store), ProcessingRange{});
    EXPECT_EQ(ReadTargetColours(store), TargetColours{});

    const ProcessingRange range{2, 123, 40, 1, 1.23456789, true};
    WriteProcessingRange(store, range);
    WriteTargetColours(store, {true, 7});
    EXPECT_EQ(store.GetInt("Last", "PenStyle", -1), 2);
    EXPECT_EQ(store.GetInt("Last", "Hani", -1), 123);
    EXPECT_EQ(store.GetInt("Last", "Flat", -1), 40);
    EXPECT_EQ(store.GetInt("Last", "FlatH", -1), 1);
    EXPECT_EQ(store.GetInt("Last", "Rad", -1), 12345);
    EXPECT_EQ(store.GetInt("Last", "HaniAll", -1), 1);
    EXPECT_EQ(store.GetInt("Last", "KinjiAll", -1), 1);
    EXPECT_EQ(store.GetInt("Last", "Kinji", -1), 7);

    ProcessingRange back = ReadProcessingRange(store);
    EXPECT_DOUBLE_EQ(back.angle, 1.2345);
    back.angle = range.angle;
    EXPECT_EQ(back, range);

    AppSettings settings;
    StoreProcessingRange(settings, range);
    StoreTargetColours(settings, {true, 7});
    EXPECT_EQ(ProcessingRangeOf(settings), range);
    EXPECT_EQ(TargetColoursOf(settings), (TargetColours{true, 7}));
}

TEST(ProcessingRange, TypedValuesAreClampedToTheSpinRanges) {
    EXPECT_EQ(ClampRangeSize(0), 1);
    EXPECT_EQ(ClampRangeSize(501), 500);
    EXPECT_EQ(ClampRangeSize(77), 77);
    EXPECT_EQ(ClampFlatness(-3), 0);
    EXPECT_EQ(ClampFlatness(96), 95);
    EXPECT_EQ(ClampTolerance(0), 1);
    EXPECT_EQ(ClampTolerance(10), 9);
}

TEST(ProcessingRange, ShapeOfTheRange) {
    const RangeOutline flat = MakeRangeOutline({0, 30, 50, 0, 0.0, false}, {100, 100});
    EXPECT_EQ(flat.geometry.width, 30);
    EXPECT_EQ(flat.geometry.height, 15);
    ASSERT_EQ(flat.cornerCount, 4);
    EXPECT_EQ(flat.corners[0], (Point{85, 93}));
    EXPECT_EQ(flat.corners[1], (Point{115, 93}));
    EXPECT_EQ(flat.corners[2], (Point{115, 108}));
    EXPECT_EQ(flat.corners[3], (Point{85, 108}));

    // Flat direction 1 shortens the width; d = trunc(33 x 31 / 100.0) = 10.
    const RangeShape sideways = ComputeRangeShape({0, 31, 33, 1, 0.0, false}, {0, 0});
    EXPECT_EQ(sideways.box, (Rect{-10, -15, 11, 16}));

    const RangeOutline triangle = MakeRangeOutline({2, 20, 0, 0, 0.0, false}, {50, 50});
    ASSERT_EQ(triangle.cornerCount, 3);
    EXPECT_EQ(triangle.corners[0], (Point{40, 60}));
    EXPECT_EQ(triangle.corners[1], (Point{50, 40}));
    EXPECT_EQ(triangle.corners[2], (Point{60, 60}));

    // A quarter turn about the pointer: (40, 60) goes to (40, 40) on a y-down screen.
    const RangeOutline turned =
        MakeRangeOutline({2, 20, 0, 0, std::numbers::pi / 2, false}, {50, 50});
    EXPECT_EQ(turned.corners[1], (Point{60, 50}));

    for (const int shape : {0, 1, 2}) {
        const RangeShape one = ComputeRangeShape({shape, 1, 90, 0, 0.0, false}, {7, 7});
        EXPECT_EQ(one.box, (Rect{7, 7, 8, 8}));
    }
}

TEST(ProcessingRange, EllipseOutlinePointCounts) {
    std::vector<Point> points;
    TraceEllipseOutline(ComputeRangeShape({1, 500, 0, 0, 0.0, false}, {600, 600}).box, 0.0, points);
    EXPECT_EQ(points.size(), 1572u);
    TraceEllipseOutline(ComputeRangeShape({1, 30, 0, 0, 0.0, false}, {50, 50}).box, 0.0, points);
    EXPECT_EQ(points.size(), 96u);
    EXPECT_EQ(points[0], (Point{35, 50}));
    EXPECT_EQ(points[1], (Point{65, 50}));
    TraceEllipseOutline(ComputeRangeShape({1, 2, 0, 0, 0.0, false}, {50, 50}).box, 0.0, points);
    EXPECT_TRUE(points.empty());
    TraceEllipseOutline({0, 0, 5000, 5000}, 0.5, points);
    EXPECT_EQ(points.size(), static_cast<std::size_t>(kMaxEllipsePoints));
}

TEST(ProcessingRange, ToleranceIsStrictPerChannel) {
    const TargetColours five{false, 5};
    const Colour grey = Rgb(100, 100, 100);
    EXPECT_TRUE(ColourMatches(Rgb(109, 91, 100), grey, five));
    EXPECT_FALSE(ColourMatches(Rgb(110, 100, 100), grey, five));
    EXPECT_FALSE(ColourMatches(Rgb(100, 100, 90), grey, five));
    const TargetColours one{false, 1};
    EXPECT_TRUE(ColourMatches(Rgb(101, 99, 101), grey, one));
    EXPECT_FALSE(ColourMatches(Rgb(100, 102, 100), grey, one));
    EXPECT_TRUE(ColourMatches(Rgb(0, 255, 0), grey, {true, 1}));
}

TEST(ProcessingRange, WheelTurnsTheAngle) {
    const double back = WheelAngleStep(0.0, true, false);
    EXPECT_DOUBLE_EQ(back, 6.108185307);
    EXPECT_EQ(AnglePaneDegrees(back), 349);
    EXPECT_DOUBLE_EQ(WheelAngleStep(0.0, false, false), 0.175);
    EXPECT_DOUBLE_EQ(WheelAngleStep(0.0, false, true), 0.0175);
    // Fine steps back towards 0 snap to exactly 0 within 0.012, which the pane shows as 360.
    double angle = 0.0175 * 3;
    for (int i = 0; i < 3; ++i) {
        angle = WheelAngleStep(angle, true, true);
    }
    EXPECT_EQ(angle, 0.0);
    EXPECT_EQ(AnglePaneDegrees(angle), 360);
    EXPECT_EQ(WheelAngleStep(6.27, false, true), 0.0);  // above 6.28
}

TEST(ProcessingRange, RightDragStepsSizeAndFlatness) {
    ProcessingRange range;
    range.size = 498;
    EXPECT_FALSE(RightDragStep(range, {100, 100}, {104, 96}).anchorMoved);
    DragStep step = RightDragStep(range, {100, 100}, {105, 100});
    EXPECT_TRUE(step.anchorMoved);
    EXPECT_EQ(step.range.size, 500);
    EXPECT_EQ(RightDragStep(step.range, {105, 100}, {140, 100}).range.size, 500);

    step = RightDragStep(range, {100, 100}, {100, 107});
    EXPECT_EQ(step.range.size, 498);
    EXPECT_EQ(step.range.flatness, 7);
    EXPECT_EQ(RightDragStep(step.range, {0, 0}, {0, -20}).range.flatness, 0);

    range.flatDirection = 1;  // the gestures swap with the flattened side
    step = RightDragStep(range, {100, 100}, {100, 90});
    EXPECT_EQ(step.range.size, 488);
    EXPECT_EQ(step.range.flatness, 0);
}

}  // namespace
}  // namespace palvex
