#include "canvas/canvas_mapping.h"

#include <limits>

#include <gtest/gtest.h>

namespace palvex {
namespace {

TEST(CanvasMapping, WindowAndImageCoordinatesTruncate) {
    const CanvasMapping zoom2{2.0f, {10, 0}};
    EXPECT_EQ(zoom2.WindowToImage({5, 7}), (Point{7, 3}));
    EXPECT_EQ(zoom2.ImageToWindow({7, 3}), (Point{4, 6}));
    EXPECT_EQ(zoom2.ImageToWindow({8, 4}), (Point{6, 8}));  // the pixel covers (4,6)-(5,7)

    const CanvasMapping half{0.5f, {0, 0}};
    EXPECT_EQ(half.WindowToImage({3, 3}), (Point{6, 6}));
    EXPECT_EQ(half.ImageToWindow({7, 7}), (Point{3, 3}));

    EXPECT_EQ(ScrollExtent(3, 3, 0.5f), (Size{1, 1}));
    EXPECT_EQ(ScrollExtent(400, 300, 8.0f), (Size{3200, 2400}));
}

TEST(CanvasMapping, ZoomedRectanglesKeepTheirOwnWidth) {
    EXPECT_EQ(ZoomedRect({10, 10, 20, 20}, 4.0f), (Rect{40, 40, 80, 80}));
    EXPECT_EQ(ZoomedRect({3, 3, 6, 6}, 0.5f), (Rect{1, 1, 2, 2}));
    EXPECT_EQ(ZoomedRect({0, 0, 3, 3}, 1.5f), (Rect{0, 0, 4, 4}));
}

TEST(CanvasMapping, ZoomLevelsAndTheSlider) {
    for (int position = 1; position <= 5; ++position) {
        EXPECT_EQ(ZoomSliderPosition(ZoomForSliderPosition(position)), position);
    }
    EXPECT_EQ(ZoomSliderPosition(1.5f), 2);
    EXPECT_EQ(ZoomForSliderPosition(0), 1.0f);
    EXPECT_EQ(ZoomForSliderPosition(9), 1.0f);
}

TEST(CanvasMapping, WheelStepsFromTheSliderAndStopsAtTheEnds) {
    EXPECT_EQ(WheelZoomPosition(1, 120), std::nullopt);   // forward at 50 %
    EXPECT_EQ(WheelZoomPosition(5, -120), std::nullopt);  // backward at 800 %
    EXPECT_EQ(WheelZoomPosition(2, -120), 3);             // a stored 1.5 shows position 2
    EXPECT_EQ(WheelZoomPosition(3, 120), 2);
}

TEST(CanvasMapping, ScrollStepsAreTenthsOfTheExtent) {
    const ScrollSteps steps = ScrollStepsFor({3200, 2405});
    EXPECT_EQ(steps.page, (Size{320, 240}));
    EXPECT_EQ(steps.line, (Size{32, 24}));
}

TEST(CanvasMapping, CentreOnBringsThePointToTheMiddle) {
    // "Zoom here" at (100, 50) of a 400 x 300 image at 100 %: q = (100, 50), at 800 % the
    // extent is 3200 x 2400 and (800, 400) goes to the middle of a 300 x 200 client area.
    EXPECT_EQ(CentreOnTarget({800, 400}, {300, 200}, {3200, 2400}), (Point{650, 300}));
    EXPECT_EQ(CentreOnTarget({800, 400}, {4000, 3000}, {3200, 2400}), std::nullopt);
    EXPECT_EQ(CentreOnTarget({800, 400}, {4000, 200}, {3200, 2400}), (Point{0, 300}));
}

TEST(CanvasMapping, ScrollBarsAppearWhereTheExtentDoesNotFit) {
    const Size bars{15, 12};  // vertical bar width, horizontal bar height
    // Everything fits: no bar, the whole area.
    ScrollLayout layout = ScrollLayoutFor({300, 200}, {300, 200}, bars);
    EXPECT_FALSE(layout.horizontal || layout.vertical);
    EXPECT_EQ(layout.client, (Size{300, 200}));
    // Too wide only: the horizontal bar takes 12 rows.
    layout = ScrollLayoutFor({300, 200}, {301, 188}, bars);
    EXPECT_TRUE(layout.horizontal);
    EXPECT_FALSE(layout.vertical);
    EXPECT_EQ(layout.client, (Size{300, 188}));
    // One row more, and the horizontal bar calls up the vertical one.
    layout = ScrollLayoutFor({300, 200}, {301, 189}, bars);
    EXPECT_TRUE(layout.horizontal && layout.vertical);
    EXPECT_EQ(layout.client, (Size{285, 188}));
    // And the other way round: the vertical bar makes a width of 290 too wide.
    layout = ScrollLayoutFor({300, 200}, {290, 201}, bars);
    EXPECT_TRUE(layout.horizontal && layout.vertical);
    EXPECT_EQ(layout.client, (Size{285, 188}));
    // A window smaller than its bars has no client area, never a negative one.
    EXPECT_EQ(ScrollLayoutFor({10, 5}, {100, 100}, bars).client, (Size{0, 0}));
}

TEST(CanvasMapping, SizesBeyondTheIntRangeSaturate) {
    // A single row of 2^28 pixels at 800 % is 2^31 zoomed pixels wide.
    EXPECT_EQ(ScrollExtent(1 << 28, 1, 8.0f), (Size{std::numeric_limits<int>::max(), 8}));
    EXPECT_EQ(ZoomedRect({0, 0, 1 << 28, 1}, 8.0f).right, std::numeric_limits<int>::max());
}

}  // namespace
}  // namespace palvex
