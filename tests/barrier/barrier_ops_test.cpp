#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "barrier/barrier.h"
#include "barrier_test_util.h"
#include "geometry/math_sub.h"
#include "resources/string_table.h"
#include "support/test_support.h"

namespace palvex {
namespace {

using test::CountingBarrier;
using test::RecordingPrompter;
using Points = std::vector<Point>;

constexpr Size kLarge{500, 500};
constexpr BarrierView kPlain{};

// The barrier with every vertex selected and its frame shown, as the context menu inside it
// leaves it.
CountingBarrier WholeSelected(const Points& vertices, Point inside) {
    CountingBarrier b(vertices);
    EXPECT_EQ(b.barrier.ContextMenu(inside, kPlain), BarrierMenu::Inside);
    return b;
}

TEST(BarrierResize, MapsTheVerticesOntoTheEnlargedFrame) {
    CountingBarrier b =
        WholeSelected({{10, 10}, {110, 10}, {110, 60}, {10, 60}, {10, 30}, {60, 35}}, {90, 40});
    ASSERT_EQ(b.barrier.Frame(), (Rect{10, 10, 110, 60}));
    EXPECT_TRUE(b.barrier.ResizeBarrier(10, kLarge));
    EXPECT_EQ(b.barrier.Frame(), (Rect{0, 0, 120, 70}));
    EXPECT_EQ(b.barrier.Vertex(4), (Point{0, 28}));
    EXPECT_EQ(b.barrier.Vertex(5), (Point{60, 35}));
    EXPECT_EQ(b.barrier.Vertex(2), (Point{120, 70}));
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierResize, RefusesFramesBelowFifteenPixels) {
    CountingBarrier b = WholeSelected({{10, 10}, {30, 10}, {30, 30}, {10, 30}}, {20, 20});
    EXPECT_FALSE(b.barrier.ResizeBarrier(-10, kLarge));
    EXPECT_EQ(b.pushes, 0);
    EXPECT_TRUE(b.barrier.ResizeBarrier(-1, kLarge));
    EXPECT_EQ(b.barrier.Frame(), (Rect{11, 11, 29, 29}));
    EXPECT_EQ(b.barrier.Vertex(0), (Point{11, 11}));
}

TEST(BarrierResize, IsClampedToTheImageSoABarrierOnTheBorderGrowsInward) {
    CountingBarrier b = WholeSelected({{0, 0}, {50, 0}, {50, 40}, {0, 40}}, {25, 20});
    EXPECT_TRUE(b.barrier.ResizeBarrier(10, {100, 80}));
    EXPECT_EQ(b.Points(), (Points{{0, 0}, {60, 0}, {60, 50}, {0, 50}}));
}

TEST(BarrierResize, NeedsTheFrame) {
    CountingBarrier b({{10, 10}, {90, 10}, {90, 90}, {10, 90}});
    EXPECT_FALSE(b.barrier.ResizeBarrier(10, kLarge));
}

TEST(BarrierResize, TheRightEdgeStopsAtTheLastColumn) {
    CountingBarrier b = WholeSelected({{20, 20}, {95, 20}, {95, 80}, {20, 80}}, {50, 50});
    EXPECT_TRUE(b.barrier.ResizeBarrier(10, {100, 100}));
    EXPECT_EQ(b.barrier.Frame(), (Rect{10, 10, 99, 90}));
    EXPECT_EQ(b.barrier.Vertex(1), (Point{99, 10}));
}

TEST(BarrierResize, ABarrierReachingPastTheImageKeepsItsShape) {
    // After a shrink of the image: the frame (50, 10, 150, 60) on 100 x 80.
    CountingBarrier b =
        WholeSelected({{50, 10}, {150, 10}, {150, 60}, {50, 60}, {75, 35}}, {120, 30});
    EXPECT_TRUE(b.barrier.ResizeBarrier(1, {100, 80}));
    // Scaled about the frame grown by 1, then brought onto the image: not squeezed to half.
    EXPECT_EQ(b.Points(), (Points{{49, 9}, {99, 9}, {99, 61}, {49, 61}, {74, 35}}));
    EXPECT_EQ(b.barrier.Frame(), (Rect{49, 9, 99, 61}));
    EXPECT_EQ(b.pushes, 1);
    // Wholly right of the image: never mirrored, every vertex lands on the last column.
    CountingBarrier right =
        WholeSelected({{120, 10}, {170, 10}, {170, 60}, {120, 60}, {130, 20}}, {140, 30});
    EXPECT_TRUE(right.barrier.ResizeBarrier(10, {100, 80}));
    for (const Point v : right.Points()) {
        EXPECT_EQ(v.x, 99);
    }
    EXPECT_EQ(right.barrier.Vertex(0).y, 0);
    EXPECT_EQ(right.barrier.Vertex(2).y, 70);
}

TEST(BarrierMultiply, ByThreeTruncatesTowardTheSideStart) {
    CountingBarrier b({{0, 0}, {30, 0}, {30, 30}, {0, 30}});
    RecordingPrompter prompter;
    EXPECT_TRUE(b.barrier.MultiplyVertices(3, prompter));
    EXPECT_EQ(b.Points(), (Points{{0, 0},
                                  {9, 0},
                                  {19, 0},
                                  {30, 0},
                                  {30, 9},
                                  {30, 19},
                                  {30, 30},
                                  {21, 30},
                                  {11, 30},
                                  {0, 30},
                                  {0, 21},
                                  {0, 11}}));
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierMultiply, ByTwoUsesIntegerMidpointsAndDividesTheClosingSide) {
    CountingBarrier b({{0, 0}, {10, 0}, {5, 9}});
    RecordingPrompter prompter;
    EXPECT_TRUE(b.barrier.MultiplyVertices(2, prompter));
    EXPECT_EQ(b.Points(), (Points{{0, 0}, {5, 0}, {10, 0}, {7, 4}, {5, 9}, {2, 4}}));
}

TEST(BarrierMultiply, ByFiveCopiesEachVertexsFlagToItsSide) {
    CountingBarrier b = WholeSelected({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {50, 50});
    RecordingPrompter prompter;
    b.barrier.ClearVertexSelection();
    b.barrier.ContextMenu({100, 0}, kPlain);
    EXPECT_TRUE(b.barrier.MultiplyVertices(5, prompter));
    EXPECT_EQ(b.barrier.Count(), 20);
    EXPECT_EQ(b.Selected(), (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(b.barrier.Vertex(6), (Point{100, 20}));
    EXPECT_EQ(b.barrier.Vertex(9), (Point{100, 80}));
    EXPECT_EQ(b.barrier.MainVertex(), -1);
    EXPECT_FALSE(b.barrier.WholeSelection());
}

TEST(BarrierMultiply, UpToTheCapacityWithoutARefusal) {
    CountingBarrier b(Points(500, Point{5, 5}));
    RecordingPrompter prompter;
    EXPECT_TRUE(b.barrier.MultiplyVertices(2, prompter));
    EXPECT_EQ(b.barrier.Count(), 1000);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(BarrierMultiply, RefusesAResultOverTheCapacity) {
    CountingBarrier b(Points(201, Point{5, 5}));
    RecordingPrompter prompter;
    EXPECT_FALSE(b.barrier.MultiplyVertices(5, prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, str::kCannotAddMore);
    EXPECT_EQ(b.barrier.Count(), 201);
    EXPECT_EQ(b.pushes, 0);
    EXPECT_TRUE(b.barrier.MultiplyVertices(3, prompter));
    EXPECT_EQ(b.barrier.Count(), 603);
}

TEST(BarrierThin, KeepsEveryKthVertexFromTheFirst) {
    Points twelve;
    for (int i = 0; i < 12; ++i) {
        twelve.push_back({i, i * 2});
    }
    CountingBarrier b(twelve);
    EXPECT_TRUE(b.barrier.ThinVertices(5));
    EXPECT_EQ(b.Points(), (Points{{0, 0}, {5, 10}, {10, 20}}));
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierSpaceEvenly, SpreadsTheSelectedVerticesInTheOrderOfTheirCoordinate) {
    CountingBarrier b = WholeSelected({{10, 0}, {50, 10}, {20, 40}}, {25, 15});
    RecordingPrompter prompter;
    EXPECT_TRUE(b.barrier.SpaceEvenly(Axis::X, prompter));
    EXPECT_EQ(b.Points(), (Points{{10, 0}, {50, 10}, {30, 40}}));
    EXPECT_TRUE(b.barrier.SpaceEvenly(Axis::Y, prompter));
    EXPECT_EQ(b.Points(), (Points{{10, 0}, {50, 20}, {30, 40}}));
    EXPECT_EQ(b.pushes, 2);
}

TEST(BarrierSpaceEvenly, NeedsTwoSelectedVertices) {
    CountingBarrier b({{10, 0}, {50, 10}, {20, 40}});
    RecordingPrompter prompter;
    EXPECT_FALSE(b.barrier.SpaceEvenly(Axis::X, prompter));
    b.barrier.ContextMenu({50, 10}, kPlain);
    EXPECT_FALSE(b.barrier.SpaceEvenly(Axis::X, prompter));
    EXPECT_EQ(b.pushes, 0);
    EXPECT_EQ(b.Points(), (Points{{10, 0}, {50, 10}, {20, 40}}));
}

TEST(BarrierPlace, OnTheEllipseWithManyVerticesSpreadsThemEvenly) {
    const Points rim{{0, 0},     {50, 0},    {100, 0},   {150, 0},  {200, 0}, {200, 50},
                     {200, 100}, {150, 100}, {100, 100}, {50, 100}, {0, 100}, {0, 50}};
    CountingBarrier b = WholeSelected(rim, {100, 50});
    ASSERT_EQ(b.barrier.Frame(), (Rect{0, 0, 200, 100}));
    EXPECT_TRUE(b.barrier.PlaceOnEllipse());
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const double a = 6.283185307 * (i + 1) / 12;
        const Point v = b.barrier.Vertex(i);
        EXPECT_NEAR(v.x, 100 + 100 * std::cos(a), 2.0);
        EXPECT_NEAR(v.y, 50 + 50 * std::sin(a), 2.0);
    }
    EXPECT_EQ(b.barrier.Vertex(11), (Point{200, 50}));
    EXPECT_EQ(b.barrier.Frame(), (Rect{0, 0, 200, 100}));
}

TEST(BarrierPlace, OnTheEllipseWithFewVerticesKeepsTheirDirections) {
    CountingBarrier b = WholeSelected({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 50}}, {50, 50});
    EXPECT_TRUE(b.barrier.PlaceOnEllipse());
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const Point v = b.barrier.Vertex(i);
        EXPECT_NEAR(std::hypot(v.x - 50, v.y - 50), 50.0, 2.0);
    }
    EXPECT_LT(b.barrier.Vertex(0).x, 50);
    EXPECT_LT(b.barrier.Vertex(0).y, 50);
    EXPECT_GT(b.barrier.Vertex(2).x, 50);
    EXPECT_GT(b.barrier.Vertex(2).y, 50);
}

TEST(BarrierPlace, OnTheRectDropsVerticesOnTheNearestSideThenFixesTheEightAnchors) {
    CountingBarrier b = WholeSelected({{10, 10}, {60, 14}, {57, 50}, {13, 46}, {30, 30}}, {40, 25});
    ASSERT_EQ(b.barrier.Frame(), (Rect{10, 10, 60, 50}));
    EXPECT_TRUE(b.barrier.PlaceOnRect());
    // (30, 30) ties top, bottom and left and goes to the top, then to its middle; (13, 46) is
    // nearer the left and becomes the bottom-left corner in the last pass.
    EXPECT_EQ(b.Points(), (Points{{10, 10}, {60, 10}, {60, 50}, {10, 50}, {35, 10}}));
    EXPECT_EQ(b.barrier.Frame(), (Rect{10, 10, 60, 50}));
}

TEST(BarrierPlace, OnTheEllipseWithNineVerticesStillKeepsTheirDirections) {
    // Eight vertices crowd the top-left quarter; spreading evenly would take them round.
    CountingBarrier b = WholeSelected(
        {{25, 4}, {20, 8}, {10, 3}, {5, 5}, {3, 12}, {15, 15}, {8, 20}, {4, 25}, {100, 100}},
        {40, 40});
    EXPECT_TRUE(b.barrier.PlaceOnEllipse());
    int topLeft = 0;
    for (int i = 0; i < 8; ++i) {
        const Point v = b.barrier.Vertex(i);
        topLeft += v.x <= 50 && v.y <= 50 ? 1 : 0;
    }
    EXPECT_GE(topLeft, 6);
}

TEST(BarrierPlace, NeedsFourVertices) {
    CountingBarrier b = WholeSelected({{10, 10}, {60, 14}, {30, 50}}, {35, 25});
    EXPECT_FALSE(b.barrier.PlaceOnRect());
    EXPECT_FALSE(b.barrier.PlaceOnEllipse());
    EXPECT_EQ(b.pushes, 0);
}

TEST(BarrierAlign, CopiesTheMainVertexsCoordinateToTheSelectedOnes) {
    CountingBarrier b({{20, 20}, {60, 25}, {70, 50}, {40, 70}, {10, 50}});
    b.barrier.ContextMenu({20, 20}, kPlain);
    b.barrier.ContextMenu({70, 50}, kPlain);  // main vertex 2, vertex 0 still selected
    EXPECT_TRUE(b.barrier.AlignToMain(Axis::Y));
    EXPECT_EQ(b.Points(), (Points{{20, 50}, {60, 25}, {70, 50}, {40, 70}, {10, 50}}));
    EXPECT_TRUE(b.barrier.AlignToMain(Axis::X));
    EXPECT_EQ(b.barrier.Vertex(0), (Point{70, 50}));
    b.barrier.ContextMenu({200, 200}, kPlain);
    EXPECT_FALSE(b.barrier.AlignToMain(Axis::X));
    EXPECT_EQ(b.pushes, 2);
}

TEST(BarrierAlign, AShownFrameFollowsTheAlignedVertices) {
    CountingBarrier b = WholeSelected({{20, 20}, {80, 25}, {70, 60}, {30, 50}}, {50, 40});
    EXPECT_TRUE(b.barrier.AlignToMain(Axis::X));  // onto the main vertex 3's x
    EXPECT_EQ(b.barrier.Frame(), (Rect{30, 20, 30, 60}));
    CountingBarrier even = WholeSelected({{20, 20}, {80, 25}, {70, 60}, {30, 50}}, {50, 40});
    RecordingPrompter prompter;
    EXPECT_TRUE(even.barrier.SpaceEvenly(Axis::Y, prompter));
    EXPECT_EQ(even.barrier.Frame(), CMathSub::BoundingRect(even.barrier.Vertices()));
}

TEST(BarrierOps, AFailedSnapshotChangesNothing) {
    RecordingPrompter prompter;
    const std::vector<std::function<bool(Barrier&)>> operations{
        [](Barrier& b) { return b.ResizeBarrier(5, kLarge); },
        [&](Barrier& b) { return b.MultiplyVertices(2, prompter); },
        [](Barrier& b) { return b.ThinVertices(2); },
        [](Barrier& b) { return b.PlaceOnRect(); },
        [](Barrier& b) { return b.PlaceOnEllipse(); },
        [](Barrier& b) { return b.AlignToMain(Axis::X); },
        [&](Barrier& b) { return b.SpaceEvenly(Axis::Y, prompter); },
        [](Barrier& b) { return b.EraseBarrier(); },
        [&](Barrier& b) { return b.DeleteSelectedVertices(prompter); },
        [](Barrier& b) {
            return b.ArrowKey({1, 0}, {}, kLarge).repaint;
        },
    };
    const Points shape{{10, 10}, {60, 14}, {57, 50}, {13, 46}, {30, 30}, {20, 40}};
    for (std::size_t i = 0; i < operations.size(); ++i) {
        SCOPED_TRACE(i);
        CountingBarrier b = WholeSelected(shape, {40, 25});
        b.pushSucceeds = false;
        EXPECT_FALSE(operations[i](b.barrier));
        EXPECT_EQ(b.Points(), shape);
    }
}

}  // namespace
}  // namespace palvex
