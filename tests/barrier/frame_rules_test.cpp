#include "barrier/frame_rules.h"

#include <gtest/gtest.h>

namespace palvex {
namespace {

constexpr Rect kFrame{10, 10, 60, 60};
constexpr Size kImage{100, 100};

TEST(FrameRules, SideAtUsesHalfOpenBandsInTheOrderTopRightBottomLeft) {
    const Rect r{10, 10, 50, 40};
    EXPECT_EQ(SideAt({10, 7}, r), kFrameSideTop);
    EXPECT_EQ(SideAt({30, 12}, r), kFrameSideTop);
    EXPECT_EQ(SideAt({30, 13}, r), -1);
    EXPECT_EQ(SideAt({30, 6}, r), -1);
    EXPECT_EQ(SideAt({50, 10}, r), kFrameSideRight);  // the top band ends before right
    EXPECT_EQ(SideAt({48, 11}, r), kFrameSideTop);    // in both bands: top first
    EXPECT_EQ(SideAt({52, 39}, r), kFrameSideRight);
    EXPECT_EQ(SideAt({30, 42}, r), kFrameSideBottom);
    EXPECT_EQ(SideAt({30, 43}, r), -1);
    EXPECT_EQ(SideAt({7, 20}, r), kFrameSideLeft);
    EXPECT_EQ(SideAt({11, 38}, r), kFrameSideBottom);  // bottom is tested before left
    EXPECT_EQ(SideAt({30, 20}, r), -1);
}

TEST(FrameRules, DragRectHandleReplacesTheNamedEdges) {
    EXPECT_EQ(DragRectHandle(kFrame, 2, {80, 90}, kImage), (Rect{10, 10, 80, 90}));
    EXPECT_EQ(DragRectHandle(kFrame, 4, {80, 0}, kImage), (Rect{10, 0, 60, 60}));
    EXPECT_EQ(DragRectHandle(kFrame, 5, {90, 0}, kImage), (Rect{10, 10, 90, 60}));
    // The pointer is limited to the image, crossed edges are swapped.
    EXPECT_EQ(DragRectHandle(kFrame, 0, {200, -5}, kImage), (Rect{60, 0, 99, 60}));
}

TEST(FrameRules, DragRectHandleKeepsFifteenPixelsByMovingTheDraggedEdge) {
    EXPECT_EQ(DragRectHandle(kFrame, 7, {55, 0}, kImage), (Rect{45, 10, 60, 60}));
    EXPECT_EQ(DragRectHandle(kFrame, 3, {55, 65}, kImage), (Rect{45, 10, 60, 65}));
    EXPECT_EQ(DragRectHandle(kFrame, 5, {12, 0}, kImage), (Rect{10, 10, 25, 60}));
    EXPECT_EQ(DragRectHandle(kFrame, 4, {0, 50}, kImage), (Rect{10, 45, 60, 60}));
    EXPECT_EQ(DragRectHandle(kFrame, 6, {0, 20}, kImage), (Rect{10, 10, 60, 25}));
    EXPECT_EQ(DragRectHandle(kFrame, 1, {5, 70}, kImage), (Rect{5, 55, 20, 70}));
    // Exactly 15 is wide enough; 14 is not.
    EXPECT_EQ(DragRectHandle(kFrame, 2, {25, 25}, kImage), (Rect{10, 10, 25, 25}));
    EXPECT_EQ(DragRectHandle(kFrame, 2, {24, 24}, kImage), (Rect{10, 10, 25, 25}));
}

TEST(FrameRules, MoveRectSideStaysInTheImageAndFifteenPixelsWide) {
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideRight, {10, 0}, kImage), (Rect{10, 10, 70, 60}));
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideLeft, {-20, 0}, kImage), (Rect{0, 10, 60, 60}));
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideTop, {5, 0}, kImage), kFrame);
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideBottom, {0, 50}, kImage), (Rect{10, 10, 60, 99}));
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideRight, {-40, 0}, kImage), (Rect{10, 10, 25, 60}));
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideRight, {-36, 0}, kImage), (Rect{10, 10, 25, 60}));
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideLeft, {45, 0}, kImage), (Rect{45, 10, 60, 60}));
    EXPECT_EQ(MoveRectSide(kFrame, kFrameSideTop, {0, 45}, kImage), (Rect{10, 45, 60, 60}));
}

TEST(FrameRules, ClampFrameOffsetLetsTheFrameReachWAndTheLeftBoundWins) {
    const Size image{100, 80};
    EXPECT_EQ(ClampFrameOffset(kFrame, {10, 5}, image), (Point{10, 5}));
    EXPECT_EQ(ClampFrameOffset(kFrame, {50, 0}, image), (Point{40, 0}));
    EXPECT_EQ(ClampFrameOffset(kFrame, {-20, -30}, image), (Point{-10, -10}));
    EXPECT_EQ(ClampFrameOffset(kFrame, {0, 30}, image), (Point{0, 20}));
    EXPECT_EQ(ClampFrameOffset({0, 0, 150, 10}, {0, 0}, image), (Point{0, 0}));
    EXPECT_EQ(ClampFrameOffset({20, 0, 150, 10}, {5, 0}, image), (Point{-20, 0}));
}

}  // namespace
}  // namespace palvex
