#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "barrier/barrier.h"
#include "barrier_test_util.h"
#include "resources/string_table.h"
#include "support/test_support.h"

namespace palvex {
namespace {

using test::CountingBarrier;

constexpr Size kImage{100, 80};
constexpr auto kCw = ClosingDirection::Clockwise;
constexpr auto kCcw = ClosingDirection::CounterClockwise;

using Points = std::vector<Point>;

// Places the points by clicking and ends adding.
CountingBarrier Placed(const Points& clicks, ClosingDirection direction = kCw,
                       Size image = kImage) {
    CountingBarrier b;
    b.barrier.StartAdding();
    for (const Point p : clicks) {
        b.barrier.PlacingClick(p, false, image, direction);
    }
    b.barrier.EndAdding(image, direction);
    return b;
}

TEST(BarrierPlacing, ClicksSnapToTheBorderWithinNinePixels) {
    CountingBarrier b;
    b.barrier.StartAdding();
    for (const Point p : Points{{9, 9}, {90, 70}, {10, 10}, {89, 69}, {1, 78}, {0, 79}}) {
        b.barrier.PlacingClick(p, false, kImage, kCw);
    }
    EXPECT_EQ(b.Points(), (Points{{0, 0}, {99, 79}, {10, 10}, {89, 69}, {0, 79}, {0, 79}}));
    // Only the newest vertex is shown selected while placing.
    EXPECT_EQ(b.Selected(), std::vector<int>{5});
}

TEST(BarrierPlacing, InANarrowImageTheFarEdgeWins) {
    CountingBarrier b;
    b.barrier.StartAdding();
    b.barrier.PlacingClick({5, 40}, false, {8, 80}, kCw);
    EXPECT_EQ(b.barrier.Vertex(0), (Point{7, 40}));
}

TEST(BarrierPlacing, PressesBeyondTheImageAreIgnored) {
    CountingBarrier b;
    b.barrier.StartAdding();
    b.barrier.PlacingClick({100, 40}, false, kImage, kCw);
    b.barrier.PlacingClick({40, 80}, false, kImage, kCw);
    EXPECT_EQ(b.barrier.Count(), 0);
}

TEST(BarrierPlacing, ShiftClickAndEscDropTheLastVertexWithoutSnapshot) {
    CountingBarrier b;
    EXPECT_EQ(b.barrier.StartAdding().guide, str::kGuideAddingVertices);
    EXPECT_EQ(b.pushes, 1);
    EXPECT_FALSE(b.barrier.Escape().repaint);
    EXPECT_FALSE(b.barrier.PlacingClick({50, 40}, true, kImage, kCw).repaint);
    b.barrier.PlacingClick({20, 20}, false, kImage, kCw);
    b.barrier.PlacingClick({30, 20}, false, kImage, kCw);
    b.barrier.PlacingClick({40, 20}, false, kImage, kCw);
    EXPECT_TRUE(b.barrier.PlacingClick({50, 40}, true, kImage, kCw).repaint);
    EXPECT_TRUE(b.barrier.Escape().repaint);
    EXPECT_EQ(b.Points(), (Points{{20, 20}}));
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierPlacing, TheFifthVertexShowsTheEscGuide) {
    CountingBarrier b;
    b.barrier.StartAdding();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(b.barrier.PlacingClick({20 + i, 20}, false, kImage, kCw).guide, 0);
    }
    EXPECT_EQ(b.barrier.PlacingClick({30, 30}, false, kImage, kCw).guide,
              str::kGuideEscRemovesVertex);
}

TEST(BarrierPlacing, StartingClearsTheSelectionAndKeepsTheVertices) {
    CountingBarrier b({{20, 20}, {60, 20}, {40, 60}});
    b.barrier.ContextMenu({40, 30}, {});
    ASSERT_TRUE(b.barrier.WholeSelection());
    b.barrier.StartAdding();
    EXPECT_FALSE(b.barrier.WholeSelection());
    EXPECT_EQ(b.barrier.MainVertex(), -1);
    EXPECT_TRUE(b.Selected().empty());
    b.barrier.PlacingClick({50, 50}, false, kImage, kCw);
    EXPECT_EQ(b.barrier.Count(), 4);
}

TEST(BarrierPlacing, AFailedSnapshotDoesNotStartAdding) {
    CountingBarrier b;
    b.pushSucceeds = false;
    b.barrier.StartAdding();
    EXPECT_FALSE(b.barrier.Adding());
}

TEST(BarrierPlacing, TheTimerEndsAddingAtTheTwelfthTick) {
    CountingBarrier b;
    b.barrier.StartAdding();
    b.barrier.PlacingClick({20, 20}, false, kImage, kCw);
    b.barrier.PlacingClick({60, 20}, false, kImage, kCw);
    b.barrier.PlacingClick({40, 60}, false, kImage, kCw);
    EXPECT_EQ(b.barrier.SecondsLeft(), 60);
    for (int i = 0; i < 11; ++i) {
        EXPECT_FALSE(b.barrier.Tick(kImage, kCw).ended);
    }
    EXPECT_EQ(b.barrier.SecondsLeft(), 5);
    b.barrier.RestartTimer();
    EXPECT_EQ(b.barrier.SecondsLeft(), 60);
    for (int i = 0; i < 11; ++i) {
        b.barrier.Tick(kImage, kCw);
    }
    EXPECT_TRUE(b.barrier.Adding());
    const PlacingResult end = b.barrier.Tick(kImage, kCw);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.guide, str::kGuideDragVertices);
    EXPECT_FALSE(b.barrier.Adding());
    EXPECT_EQ(b.barrier.SecondsLeft(), 60);
    EXPECT_EQ(b.barrier.MainVertex(), 2);
    EXPECT_FALSE(b.barrier.Tick(kImage, kCw).ended);
}

TEST(BarrierPlacing, EndingWithNoVertexEmptiesTheGuide) {
    CountingBarrier b;
    b.barrier.StartAdding();
    const PlacingResult end = b.barrier.EndAdding(kImage, kCw);
    EXPECT_TRUE(end.ended);
    EXPECT_TRUE(end.clearGuide);
}

TEST(BarrierPlacing, The996thVertexEndsAddingAndCloses) {
    CountingBarrier b;
    b.barrier.StartAdding();
    for (int i = 0; i < 995; ++i) {
        b.barrier.PlacingClick({10 + i % 80, 10 + i / 80}, false, kImage, kCw);
    }
    EXPECT_TRUE(b.barrier.Adding());
    // The last click lands on the left edge, so closing appends border points.
    const PlacingResult r = b.barrier.PlacingClick({0, 50}, false, kImage, kCw);
    EXPECT_TRUE(r.ended);
    EXPECT_FALSE(b.barrier.Adding());
    EXPECT_GT(b.barrier.Count(), 996);
    EXPECT_LE(b.barrier.Count(), kBarrierCapacity);
}

// A barrier of `n` vertices from (0, 50) round to (0, 20): closing it clockwise in the 100 x 80
// image appends all four corners.
Points FourCornerChain(int n) {
    Points v{{0, 50}};
    for (int i = 1; i < n - 1; ++i) {
        v.push_back({10 + i % 80, 10 + (i / 80) % 60});
    }
    v.push_back({0, 20});
    return v;
}

TEST(BarrierPlacing, AtTheLimitAClickAddsNothingAndClosingAppendsOnlyWhatFits) {
    for (const int n : {996, 998, 1000}) {
        SCOPED_TRACE(n);
        CountingBarrier b(FourCornerChain(n));
        b.barrier.StartAdding();
        const PlacingResult r = b.barrier.PlacingClick({50, 40}, false, kImage, kCw);
        EXPECT_TRUE(r.ended);
        EXPECT_FALSE(b.barrier.Adding());
        ASSERT_EQ(b.barrier.Count(), std::min(n + 4, kBarrierCapacity));
        EXPECT_EQ(b.barrier.Vertex(n - 1), (Point{0, 20}));
        if (n < kBarrierCapacity) {
            EXPECT_EQ(b.barrier.Vertex(n), (Point{0, 0}));
        }
    }
}

TEST(BarrierClosing, AChainFromInsideToAnEdgeBecomesACutAcrossTheImage) {
    CountingBarrier cw = Placed({{50, 40}, {0, 30}});
    EXPECT_EQ(cw.Points(), (Points{{99, 40}, {50, 40}, {0, 30}, {0, 0}, {99, 0}}));
    EXPECT_EQ(cw.barrier.ClosingMark(), 3);
    EXPECT_EQ(cw.barrier.MainVertex(), 4);
    // The last placed vertex stays selected beside the appended corners.
    EXPECT_EQ(cw.Selected(), (std::vector<int>{2, 3, 4}));

    const int pushes = cw.pushes;
    EXPECT_TRUE(cw.barrier.Reclose(kImage, kCcw));
    EXPECT_EQ(cw.Points(), (Points{{99, 40}, {50, 40}, {0, 30}, {0, 79}, {99, 79}}));
    EXPECT_EQ(cw.pushes, pushes);
}

TEST(BarrierClosing, TheInsertedFirstVertexFacesTheLastOnesEdge) {
    struct Case {
        Point last;
        Point inserted;
    };
    for (const Case c : {Case{{0, 30}, {99, 40}}, Case{{99, 30}, {0, 40}}, Case{{60, 0}, {50, 79}},
                         Case{{60, 79}, {50, 0}}}) {
        SCOPED_TRACE(testing::Message() << c.last.x << "," << c.last.y);
        CountingBarrier b;
        b.barrier.ReplaceVertices(Points{{50, 40}, c.last});
        b.barrier.CloseBarrier(kImage, kCw);
        EXPECT_EQ(b.barrier.Vertex(0), c.inserted);
        EXPECT_EQ(b.barrier.Vertex(2), c.last);
    }
}

TEST(BarrierClosing, AnInsideLastVertexIsProjectedOppositeTheFirstOnesEdge) {
    struct Case {
        Point first;
        Point appended;
    };
    for (const Case c : {Case{{0, 30}, {99, 40}}, Case{{60, 0}, {50, 79}}, Case{{99, 30}, {0, 40}},
                         Case{{60, 79}, {50, 0}}}) {
        SCOPED_TRACE(testing::Message() << c.first.x << "," << c.first.y);
        CountingBarrier b(Points{c.first, {50, 40}});
        b.barrier.CloseBarrier(kImage, kCw);
        EXPECT_EQ(b.Points(), (Points{c.first, {50, 40}, c.appended}));
        EXPECT_EQ(b.barrier.ClosingMark(), 2);
        EXPECT_EQ(b.Selected(), std::vector<int>{2});
    }
}

TEST(BarrierClosing, BothEndsOnTheBorderWalkPastTheCorners) {
    struct Case {
        Point first;
        Point last;
        ClosingDirection direction;
        Points appended;
    };
    const Case cases[] = {
        {{0, 50}, {0, 20}, kCw, {{0, 0}, {99, 0}, {99, 79}, {0, 79}}},
        {{0, 20}, {0, 50}, kCw, {}},
        {{0, 20}, {0, 50}, kCcw, {{0, 79}, {99, 79}, {99, 0}, {0, 0}}},
        // Counter-clockwise from the top edge to the right edge.
        {{99, 40}, {50, 0}, kCcw, {{0, 0}, {0, 79}, {99, 79}}},
        {{99, 40}, {50, 0}, kCw, {{99, 0}}},
        {{30, 79}, {99, 10}, kCw, {{99, 79}}},
        {{30, 79}, {99, 10}, kCcw, {{99, 0}, {0, 0}, {0, 79}}},
        // Corners that are an end of the chain are not appended again.
        {{0, 79}, {99, 0}, kCw, {{99, 79}}},
        {{0, 0}, {99, 79}, kCw, {{0, 79}}},
        {{0, 0}, {99, 79}, kCcw, {{99, 0}}},
        {{99, 0}, {0, 0}, kCcw, {{0, 79}, {99, 79}}},
        // The same point, and a chain that ends ahead of where it starts.
        {{0, 40}, {0, 40}, kCw, {}},
        {{60, 0}, {20, 0}, kCw, {}},
        {{20, 0}, {60, 0}, kCcw, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "(" << c.first.x << "," << c.first.y << ") to (" << c.last.x << ","
                     << c.last.y << ")" << (c.direction == kCw ? " cw" : " ccw"));
        CountingBarrier b(Points{c.first, {50, 40}, c.last});
        b.barrier.CloseBarrier(kImage, c.direction);
        Points expected{c.first, {50, 40}, c.last};
        expected.insert(expected.end(), c.appended.begin(), c.appended.end());
        EXPECT_EQ(b.Points(), expected);
        EXPECT_EQ(b.barrier.ClosingMark(), c.appended.empty() ? 0 : 3);
    }
}

TEST(BarrierClosing, ASquareImageWalksTheSameWay) {
    CountingBarrier b(Points{{99, 40}, {50, 40}, {50, 0}});
    b.barrier.CloseBarrier({100, 100}, kCcw);
    EXPECT_EQ(b.Points(), (Points{{99, 40}, {50, 40}, {50, 0}, {0, 0}, {0, 99}, {99, 99}}));
}

TEST(BarrierClosing, BothEndsInsideLeaveTheChainAsPlaced) {
    CountingBarrier b = Placed({{20, 20}, {60, 20}, {40, 60}});
    EXPECT_EQ(b.Points(), (Points{{20, 20}, {60, 20}, {40, 60}}));
    EXPECT_EQ(b.barrier.ClosingMark(), 0);
}

TEST(BarrierClosing, WithNothingAppendedReclosingOnlyChangesTheSetting) {
    CountingBarrier b = Placed({{0, 20}, {0, 50}});
    EXPECT_EQ(b.barrier.ClosingMark(), 0);
    EXPECT_FALSE(b.barrier.Reclose(kImage, kCcw));
    EXPECT_EQ(b.Points(), (Points{{0, 20}, {0, 50}}));
}

TEST(BarrierClosing, OnePixelImagesDoNotDivideByZero) {
    // A whole move can take a vertex one beyond the last pixel, onto x = W.
    CountingBarrier b(Points{{0, 0}, {1, 0}});
    b.barrier.CloseBarrier({1, 1}, kCw);
    EXPECT_EQ(b.barrier.Count(), 2);

    CountingBarrier narrow(Points{{0, 2}, {0, 5}});
    narrow.barrier.CloseBarrier({1, 10}, kCw);
    // The two corners at each end of the one-pixel column are one point each.
    EXPECT_EQ(narrow.Points(), (Points{{0, 2}, {0, 5}, {0, 9}, {0, 0}}));
}

TEST(BarrierClosing, ClosingAppendsNothingBeyondTheCapacity) {
    CountingBarrier b(FourCornerChain(kBarrierCapacity - 1));
    b.barrier.CloseBarrier(kImage, kCw);
    EXPECT_EQ(b.barrier.Count(), kBarrierCapacity);
    // A cut across the image needs a slot for its new first vertex.
    Points full(kBarrierCapacity, Point{50, 40});
    full.back() = {0, 30};
    CountingBarrier c(full);
    c.barrier.CloseBarrier(kImage, kCw);
    EXPECT_EQ(c.barrier.Count(), kBarrierCapacity);
    EXPECT_EQ(c.barrier.Vertex(0), (Point{50, 40}));
}

// Re-closing cuts the list back to the closing mark without a snapshot, so the mark must not
// outlive a change of the list.
TEST(BarrierClosing, EveryOtherChangeForgetsTheClosingMark) {
    const auto closed = [] {
        auto b = std::make_unique<CountingBarrier>(Points{{50, 40}, {0, 30}});
        b->barrier.CloseBarrier(kImage, kCw);
        EXPECT_EQ(b->barrier.ClosingMark(), 3);
        return b;
    };
    {
        auto b = closed();
        const BarrierSnapshot before = b->barrier.TakeSnapshot();
        b->barrier.RestoreSnapshot(before);
        EXPECT_EQ(b->barrier.ClosingMark(), 0);
        EXPECT_FALSE(b->barrier.Reclose(kImage, kCcw));
    }
    {
        auto b = closed();
        b->barrier.ContextMenu({30, 20}, {});
        b->barrier.ArrowKey({0, 1}, {}, kImage);
        EXPECT_FALSE(b->barrier.Reclose(kImage, kCcw));
        EXPECT_EQ(b->barrier.Count(), 5);
    }
    {
        auto b = closed();
        b->barrier.StartAdding();
        b->barrier.PlacingClick({50, 60}, false, kImage, kCw);
        EXPECT_EQ(b->barrier.ClosingMark(), 0);
        b->barrier.PlacingClick({50, 60}, true, kImage, kCw);
        b->barrier.EndAdding(kImage, kCw);
        EXPECT_EQ(b->barrier.Count(), 5);
    }
    {
        auto b = closed();
        test::RecordingPrompter prompter;
        b->barrier.ClearVertexSelection();
        b->barrier.ContextMenu({50, 40}, {});
        ASSERT_EQ(b->barrier.MainVertex(), 1);
        b->barrier.DeleteSelectedVertices(prompter);
        EXPECT_FALSE(b->barrier.Reclose(kImage, kCcw));
        EXPECT_EQ(b->barrier.Count(), 4);
    }
}

TEST(BarrierModel, SelectionToBarrierKeepsTheOldBarrierForUndo) {
    CountingBarrier b(Points{{20, 20}, {60, 20}, {40, 60}, {30, 50}, {10, 40}});
    b.barrier.ContextMenu({40, 30}, {});
    const BarrierSnapshot old = b.barrier.TakeSnapshot();
    EXPECT_TRUE(b.barrier.SelectionToBarrier({5, 6, 50, 40}));
    EXPECT_EQ(b.pushes, 1);
    EXPECT_EQ(b.Points(), (Points{{5, 6}, {50, 6}, {50, 40}, {5, 40}}));
    EXPECT_TRUE(b.Selected().empty());
    EXPECT_EQ(b.barrier.MainVertex(), -1);
    EXPECT_FALSE(b.barrier.WholeSelection());
    b.barrier.RestoreSnapshot(old);
    EXPECT_EQ(b.barrier.Count(), 5);

    b.pushSucceeds = false;
    EXPECT_FALSE(b.barrier.SelectionToBarrier({1, 1, 30, 30}));
    EXPECT_EQ(b.barrier.Count(), 5);
}

TEST(BarrierModel, EraseIsUndoableAndIgnoresAnEmptyBarrier) {
    CountingBarrier b(Points{{20, 20}, {60, 20}, {40, 60}});
    EXPECT_TRUE(b.barrier.EraseBarrier());
    EXPECT_EQ(b.barrier.Count(), 0);
    EXPECT_EQ(b.pushes, 1);
    EXPECT_FALSE(b.barrier.EraseBarrier());
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierModel, RestoringASnapshotClearsTheSelection) {
    CountingBarrier b(Points{{20, 20}, {60, 20}, {40, 60}});
    const BarrierSnapshot s = b.barrier.TakeSnapshot();
    b.barrier.ContextMenu({40, 30}, {});
    b.barrier.RestoreSnapshot(s);
    EXPECT_TRUE(b.Selected().empty());
    EXPECT_FALSE(b.barrier.Frame());
    EXPECT_EQ(b.barrier.MainVertex(), -1);
}

TEST(BarrierModel, EnablingRules) {
    CountingBarrier b;
    EXPECT_FALSE(b.barrier.CanSaveOrFill());
    EXPECT_FALSE(b.barrier.CanLoad(false));
    EXPECT_TRUE(b.barrier.CanLoad(true));
    b.barrier.ReplaceVertices(Points{{20, 20}, {60, 20}, {40, 60}});
    EXPECT_TRUE(b.barrier.CanSaveOrFill());
    b.barrier.StartAdding();
    EXPECT_FALSE(b.barrier.CanSaveOrFill());
    EXPECT_FALSE(b.barrier.CanLoad(true));
    EXPECT_FALSE(b.barrier.CanLeaveBarrierMode());
    b.barrier.EndAdding(kImage, kCw);
    EXPECT_TRUE(b.barrier.CanLeaveBarrierMode());
    b.barrier.ContextMenu({40, 30}, {});
    EXPECT_TRUE(b.barrier.CanAlign(true));
    EXPECT_FALSE(b.barrier.CanAlign(false));
    EXPECT_TRUE(b.barrier.CanSpaceEvenly(true));
    b.barrier.ContextMenu({40, 20}, {});  // the side from vertex 0 to 1
    EXPECT_TRUE(b.barrier.CanAlign(true));
    EXPECT_FALSE(b.barrier.CanSpaceEvenly(true));
}

}  // namespace
}  // namespace palvex
