#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "barrier/barrier.h"
#include "barrier/barrier_commands.h"
#include "barrier_test_util.h"
#include "resources/string_table.h"
#include "support/test_support.h"

namespace palvex {
namespace {

using test::CountingBarrier;
using test::RecordingPrompter;
using Points = std::vector<Point>;

constexpr Size kImage{100, 80};
const Points kSquare{{20, 20}, {60, 20}, {60, 60}, {20, 60}};
constexpr BarrierView kPlain{};

void Click(Barrier& b, Point p, Modifiers mods = {}, BarrierView view = kPlain) {
    b.Press(p, view, mods);
    b.Release(mods);
}

TEST(BarrierHitTest, Codes) {
    CountingBarrier b(kSquare);
    const Barrier& s = b.barrier;
    EXPECT_EQ(s.HitTest({22, 22}, kPlain).code, 0);
    EXPECT_EQ(s.HitTest({16, 16}, kPlain).code, 0);
    EXPECT_EQ(s.HitTest({64, 20}, kPlain).code, kHitSide);  // the box of vertex 1 ends at 63
    const BarrierHitResult top = s.HitTest({24, 20}, kPlain);
    EXPECT_EQ(top.code, kHitSide);
    EXPECT_EQ(top.a, 0);
    EXPECT_EQ(top.b, 1);
    const BarrierHitResult closing = s.HitTest({20, 40}, kPlain);
    EXPECT_EQ(closing.code, kHitSide);
    EXPECT_EQ(closing.a, 0);
    EXPECT_EQ(closing.b, 3);
    EXPECT_EQ(s.HitTest({40, 40}, kPlain).code, kHitInside);
    EXPECT_EQ(s.HitTest({80, 70}, kPlain).code, kHitNothing);
    EXPECT_EQ(CountingBarrier().barrier.HitTest({40, 40}, kPlain).code, kHitNothing);
}

TEST(BarrierHitTest, WorksInZoomedWindowCoordinates) {
    CountingBarrier b(kSquare);
    const BarrierView zoomed{2.0f, {10, 20}};
    EXPECT_EQ(b.barrier.HitTest({110, 20}, zoomed).code, 1);
    EXPECT_EQ(b.barrier.HitTest({70, 60}, zoomed).code, kHitInside);
    // Vertex boxes are 8 window pixels at every zoom.
    EXPECT_EQ(b.barrier.HitTest({113, 20}, zoomed).code, 1);
    EXPECT_EQ(b.barrier.HitTest({114, 20}, zoomed).code, kHitSide);
    EXPECT_EQ(b.barrier.HitTest({30, 30}, {0.5f, {}}).code, 2);
}

TEST(BarrierEdit, PressingInsideSelectsTheWholeBarrierAndDragsIt) {
    CountingBarrier b(kSquare);
    EXPECT_TRUE(b.barrier.Press({40, 40}, kPlain, {}));
    EXPECT_TRUE(b.barrier.WholeSelection());
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(b.barrier.MainVertex(), 3);
    EXPECT_EQ(b.barrier.Frame(), (Rect{20, 20, 60, 60}));
    EXPECT_EQ(b.barrier.Dragging(), BarrierDrag::Whole);
    b.barrier.Move({55, 45}, kPlain, kImage);
    EXPECT_EQ(b.barrier.PendingOffset(), (Point{15, 5}));
    EXPECT_EQ(b.Points(), kSquare);  // a drag only previews
    const Barrier::ReleaseResult r = b.barrier.Release({});
    EXPECT_TRUE(r.repaint);
    ASSERT_TRUE(r.area);
    EXPECT_EQ(r.area->before, (Rect{20, 20, 60, 60}));
    EXPECT_EQ(r.area->after, (Rect{35, 25, 75, 65}));
    EXPECT_EQ(b.Points(), (Points{{35, 25}, {75, 25}, {75, 65}, {35, 65}}));
    EXPECT_EQ(b.barrier.Frame(), (Rect{35, 25, 75, 65}));
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierEdit, AWholeMoveStopsWhereTheFrameReachesTheImageSize) {
    CountingBarrier b(kSquare);
    b.barrier.Press({40, 40}, kPlain, {});
    b.barrier.Move({140, 140}, kPlain, kImage);
    EXPECT_EQ(b.barrier.PendingOffset(), (Point{40, 20}));
    b.barrier.Release({});
    EXPECT_EQ(b.barrier.Vertex(2), (Point{100, 80}));
}

TEST(BarrierEdit, AVertexDragStaysInsideThePixels) {
    CountingBarrier b(kSquare);
    b.barrier.Press({60, 20}, kPlain, {});
    EXPECT_EQ(b.barrier.Dragging(), BarrierDrag::Vertices);
    EXPECT_EQ(b.barrier.MainVertex(), 1);
    b.barrier.Move({160, -80}, kPlain, kImage);
    EXPECT_EQ(b.barrier.PendingOffset(), (Point{39, -20}));
    b.barrier.Release({});
    EXPECT_EQ(b.barrier.Vertex(1), (Point{99, 0}));
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierEdit, ADragDividesByTheZoom) {
    CountingBarrier b(kSquare);
    const BarrierView zoomed{2.0f, {}};
    b.barrier.Press({40, 40}, zoomed, {});
    b.barrier.Move({61, 19}, zoomed, kImage);
    EXPECT_EQ(b.barrier.PendingOffset(), (Point{10, -10}));
}

TEST(BarrierEdit, AZeroDragPushesNoSnapshot) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {60, 20});
    Click(b.barrier, {40, 40});
    b.barrier.Press({40, 40}, kPlain, {});
    b.barrier.Move({50, 40}, kPlain, kImage);
    b.barrier.Move({40, 40}, kPlain, kImage);
    EXPECT_FALSE(b.barrier.Release({}).repaint);
    EXPECT_EQ(b.pushes, 0);
}

TEST(BarrierEdit, ASideSelectsItsEndsAndCtrlAddsToTheSelection) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {40, 20});
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 1}));
    EXPECT_EQ(b.barrier.MainVertex(), 1);
    Click(b.barrier, {20, 60}, {.ctrl = true});
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(b.barrier.MainVertex(), 3);
    // Pressing a selected vertex drags the group.
    b.barrier.Press({60, 20}, kPlain, {});
    b.barrier.Move({65, 25}, kPlain, kImage);
    b.barrier.Release({});
    EXPECT_EQ(b.Points(), (Points{{25, 25}, {65, 25}, {60, 60}, {25, 65}}));
    Click(b.barrier, {60, 60});
    EXPECT_EQ(b.Selected(), std::vector<int>{2});
}

TEST(BarrierEdit, APressOutsideClearsTheSelectionUnlessCtrlIsHeld) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {40, 40});
    Click(b.barrier, {90, 5}, {.ctrl = true});
    EXPECT_TRUE(b.barrier.WholeSelection());
    EXPECT_EQ(b.Selected().size(), 4u);
    Click(b.barrier, {90, 5});
    EXPECT_FALSE(b.barrier.WholeSelection());
    EXPECT_EQ(b.barrier.MainVertex(), -1);
    EXPECT_TRUE(b.Selected().empty());
}

TEST(BarrierEdit, RubberBandSelectsWhatItEnclosesOnceLargeEnough) {
    CountingBarrier b(kSquare);
    b.barrier.Press({5, 5}, kPlain, {});
    EXPECT_EQ(b.barrier.Dragging(), BarrierDrag::RubberBand);
    b.barrier.Move({14, 14}, kPlain, kImage);
    EXPECT_FALSE(b.barrier.RubberBand());  // not more than 9 window pixels yet
    b.barrier.Move({70, 70}, kPlain, kImage);
    EXPECT_EQ(b.barrier.RubberBand(), (Rect{5, 5, 70, 70}));
    b.barrier.Release({});
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(b.barrier.MainVertex(), 3);
    EXPECT_EQ(b.pushes, 0);
}

TEST(BarrierEdit, RubberBandBelowFifteenPixelsSelectsNothing) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {20, 20});
    b.barrier.Press({15, 15}, kPlain, {});
    b.barrier.Move({29, 65}, kPlain, kImage);  // 14 wide
    b.barrier.Release({});
    EXPECT_TRUE(b.Selected().empty());
}

TEST(BarrierEdit, RubberBandKeepsOtherVerticesWhenCtrlIsHeldAtRelease) {
    for (const bool ctrl : {false, true}) {
        CountingBarrier b(kSquare);
        Click(b.barrier, {20, 20});
        b.barrier.Press({65, 55}, kPlain, {.ctrl = true});
        ASSERT_EQ(b.barrier.Dragging(), BarrierDrag::RubberBand);
        b.barrier.Move({500, 500}, kPlain, kImage);
        EXPECT_EQ(b.barrier.RubberBand(), (Rect{65, 55, 99, 79}));  // clamped to the image
        b.barrier.Move({50, 75}, kPlain, kImage);
        b.barrier.Release({.ctrl = ctrl});
        EXPECT_EQ(b.Selected(), ctrl ? (std::vector<int>{0, 2}) : std::vector<int>{2});
        EXPECT_EQ(b.barrier.MainVertex(), 2);
    }
}

TEST(BarrierEdit, DraggingAFrameHandleScalesTheBarrier) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {40, 40});
    EXPECT_EQ(b.barrier.HandleAt({64, 64}, kPlain), 2);
    EXPECT_EQ(b.barrier.HandleAt({65, 64}, kPlain), -1);
    EXPECT_EQ(b.barrier.HandleAt({40, 16}, kPlain), 4);
    b.barrier.Press({61, 61}, kPlain, {});
    EXPECT_EQ(b.barrier.Dragging(), BarrierDrag::FrameHandle);
    b.barrier.Move({80, 70}, kPlain, kImage);
    EXPECT_EQ(b.barrier.DraggedFrame(), (Rect{20, 20, 80, 70}));
    const Barrier::ReleaseResult r = b.barrier.Release({});
    EXPECT_TRUE(r.refreshImageInfo);
    EXPECT_EQ(b.Points(), (Points{{20, 20}, {80, 20}, {80, 70}, {20, 70}}));
    EXPECT_EQ(b.barrier.Frame(), (Rect{20, 20, 80, 70}));
    EXPECT_EQ(b.pushes, 1);

    b.barrier.Press({80, 70}, kPlain, {});
    b.barrier.Move({22, 22}, kPlain, kImage);
    EXPECT_EQ(b.barrier.DraggedFrame(), (Rect{20, 20, 35, 35}));
}

TEST(BarrierEdit, APressOnAFrameSideSelectsIt) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {40, 40});
    EXPECT_EQ(b.barrier.SelectedSide(), 1);
    EXPECT_TRUE(b.barrier.Press({30, 61}, kPlain, {}));
    EXPECT_EQ(b.barrier.SelectedSide(), 3);
    EXPECT_EQ(b.barrier.Dragging(), BarrierDrag::None);
    EXPECT_TRUE(b.barrier.WholeSelection());
}

TEST(BarrierKeys, ArrowsMoveTheWholeBarrierUpToTheImageSize) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {40, 40});
    b.barrier.ArrowKey({1, 0}, {}, kImage);
    EXPECT_EQ(b.barrier.Vertex(0), (Point{30, 20}));
    b.barrier.ArrowKey({0, 1}, {.ctrl = true}, kImage);
    EXPECT_EQ(b.barrier.Vertex(0), (Point{30, 21}));
    EXPECT_EQ(b.barrier.Frame(), (Rect{30, 21, 70, 61}));
    for (int i = 0; i < 5; ++i) {
        b.barrier.ArrowKey({1, 0}, {}, kImage);
    }
    EXPECT_EQ(b.barrier.Frame(), (Rect{60, 21, 100, 61}));
    EXPECT_EQ(b.pushes, 5);  // the last press had nowhere to go
}

TEST(BarrierKeys, ShiftArrowMovesTheSelectedFrameSide) {
    CountingBarrier b(kSquare);
    Click(b.barrier, {40, 40});
    const Barrier::ReleaseResult r = b.barrier.ArrowKey({0, -1}, {.shift = true}, kImage);
    EXPECT_TRUE(r.refreshImageInfo);
    EXPECT_EQ(b.barrier.Frame(), (Rect{20, 10, 60, 60}));
    EXPECT_EQ(b.Points(), (Points{{20, 10}, {60, 10}, {60, 60}, {20, 60}}));
    // A step along the side changes nothing.
    b.barrier.ArrowKey({1, 0}, {.shift = true}, kImage);
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierKeys, ArrowsMoveSelectedVerticesInsideThePixels) {
    CountingBarrier b(kSquare);
    b.barrier.ArrowKey({1, 0}, {}, kImage);  // no main vertex
    EXPECT_EQ(b.pushes, 0);
    Click(b.barrier, {20, 20});
    b.barrier.ArrowKey({-1, 0}, {}, kImage);
    EXPECT_EQ(b.barrier.Vertex(0), (Point{10, 20}));
    b.barrier.ArrowKey({-1, 0}, {.ctrl = true}, kImage);
    EXPECT_EQ(b.barrier.Vertex(0), (Point{9, 20}));
    b.barrier.ArrowKey({-1, 0}, {}, kImage);
    EXPECT_EQ(b.barrier.Vertex(0), (Point{0, 20}));
    b.barrier.ArrowKey({-1, 0}, {}, kImage);
    EXPECT_EQ(b.pushes, 3);
}

TEST(BarrierKeys, TabStepsThroughTheSidesIncludingTheClosingOne) {
    CountingBarrier b(kSquare);
    EXPECT_EQ(b.barrier.ContextMenu({20, 40}, kPlain), BarrierMenu::Side);
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 3}));
    b.barrier.TabKey(false);
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 1}));
    EXPECT_EQ(b.barrier.MainVertex(), 1);
    b.barrier.TabKey(true);
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 3}));
    EXPECT_EQ(b.barrier.MainVertex(), 3);
    b.barrier.TabKey(true);
    EXPECT_EQ(b.Selected(), (std::vector<int>{2, 3}));
    EXPECT_EQ(b.barrier.MainVertex(), 3);
    b.barrier.TabKey(false);
    EXPECT_EQ(b.Selected(), (std::vector<int>{0, 3}));
}

TEST(BarrierKeys, TabTurnsTheSelectedFrameSide) {
    CountingBarrier b(kSquare);
    EXPECT_FALSE(b.barrier.TabKey(false));
    Click(b.barrier, {40, 40});
    b.barrier.TabKey(false);
    EXPECT_EQ(b.barrier.SelectedSide(), 2);
    b.barrier.TabKey(true);
    b.barrier.TabKey(true);
    b.barrier.TabKey(true);
    EXPECT_EQ(b.barrier.SelectedSide(), 3);
}

TEST(BarrierEdit, DeletingAsksForSeveralAndKeepsThree) {
    const Points pentagon{{20, 20}, {60, 20}, {70, 50}, {40, 70}, {10, 50}};
    CountingBarrier b(pentagon);
    RecordingPrompter prompter;
    Click(b.barrier, {20, 20});
    Click(b.barrier, {60, 20}, {.ctrl = true});
    prompter.answers = {Answer::No};
    EXPECT_FALSE(b.barrier.DeleteSelectedVertices(prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, str::kDeleteSelectedVertices);
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(b.barrier.Count(), 5);
    EXPECT_EQ(b.pushes, 0);

    Click(b.barrier, {70, 50}, {.ctrl = true});
    EXPECT_FALSE(b.barrier.DeleteSelectedVertices(prompter));
    EXPECT_EQ(prompter.shown.back().id, str::kTooFewVertices);
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Information);
    EXPECT_EQ(b.barrier.Count(), 5);

    Click(b.barrier, {90, 5});
    Click(b.barrier, {60, 20});
    Click(b.barrier, {40, 70}, {.ctrl = true});
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(b.barrier.DeleteSelectedVertices(prompter));
    EXPECT_EQ(b.Points(), (Points{{20, 20}, {70, 50}, {10, 50}}));
    EXPECT_TRUE(b.Selected().empty());
    EXPECT_EQ(b.barrier.MainVertex(), -1);
    EXPECT_EQ(b.pushes, 1);
}

TEST(BarrierEdit, DeletingOneVertexAsksNothing) {
    CountingBarrier b(kSquare);
    RecordingPrompter prompter;
    Click(b.barrier, {60, 60});
    EXPECT_TRUE(b.barrier.DeleteSelectedVertices(prompter));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(b.barrier.Count(), 3);
}

TEST(BarrierEdit, InsertingOnASideHalvesItWithIntegerMidpoints) {
    const Points square{{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    const BarrierView zoomed{8.0f, {}};
    const std::vector<Points> expected{
        {{0, 0}, {4, 0}, {8, 0}, {8, 8}, {0, 8}},
        {{0, 0}, {2, 0}, {6, 0}, {8, 0}, {8, 8}, {0, 8}},
        {{0, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}, {8, 8}, {0, 8}},
    };
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        CountingBarrier b(square);
        RecordingPrompter prompter;
        ASSERT_EQ(b.barrier.ContextMenu({32, 0}, zoomed), BarrierMenu::Side);
        EXPECT_TRUE(b.barrier.InsertOnSide(k, prompter));
        EXPECT_EQ(b.Points(), expected[std::size_t(k - 1)]);
        EXPECT_EQ(b.barrier.Count(), 4 + k);
        EXPECT_EQ(int(b.Selected().size()), 2 + k);
        EXPECT_EQ(b.pushes, 1);
    }
}

TEST(BarrierEdit, InsertingOnTheClosingSideAppendsNearestToTheLastVertexFirst) {
    CountingBarrier b(Points{{0, 0}, {8, 0}, {8, 8}, {0, 8}});
    RecordingPrompter prompter;
    ASSERT_EQ(b.barrier.ContextMenu({0, 32}, {8.0f, {}}), BarrierMenu::Side);
    EXPECT_TRUE(b.barrier.InsertOnSide(3, prompter));
    EXPECT_EQ(b.Points(), (Points{{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 6}, {0, 4}, {0, 2}}));
}

TEST(BarrierEdit, InsertingRefusesToPassTheCapacity) {
    Points many(kBarrierCapacity - 2, Point{50, 50});
    many[0] = {0, 0};
    many[1] = {40, 0};
    CountingBarrier b(many);
    RecordingPrompter prompter;
    b.barrier.ContextMenu({20, 0}, kPlain);
    EXPECT_FALSE(b.barrier.InsertOnSide(3, prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, str::kCannotAddMore);
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(b.barrier.Count(), kBarrierCapacity - 2);
    EXPECT_EQ(b.pushes, 0);
    EXPECT_TRUE(b.barrier.InsertOnSide(2, prompter));
    EXPECT_EQ(b.barrier.Count(), kBarrierCapacity);
}

TEST(BarrierEdit, TheContextMenuFollowsWhatLiesUnderThePointer) {
    CountingBarrier b(kSquare);
    EXPECT_EQ(b.barrier.ContextMenu({40, 40}, kPlain), BarrierMenu::Inside);
    EXPECT_TRUE(b.barrier.WholeSelection());
    EXPECT_EQ(b.barrier.MainVertex(), 3);
    EXPECT_EQ(b.barrier.ContextMenu({60, 60}, kPlain), BarrierMenu::Vertex);
    EXPECT_FALSE(b.barrier.WholeSelection());
    EXPECT_EQ(b.barrier.MainVertex(), 2);
    EXPECT_EQ(b.Selected().size(), 4u);  // the other flags stay
    EXPECT_EQ(b.barrier.ContextMenu({90, 5}, kPlain), BarrierMenu::Outside);
    EXPECT_TRUE(b.Selected().empty());
    EXPECT_EQ(CountingBarrier().barrier.ContextMenu({40, 40}, kPlain), BarrierMenu::Outside);
}

TEST(BarrierEdit, MenuItemsThatWouldPassTheLimitsAreDisabled) {
    CountingBarrier four(kSquare);
    EXPECT_TRUE(four.barrier.IsMenuItemEnabled(kCmdMultiply5));
    EXPECT_FALSE(four.barrier.IsMenuItemEnabled(kCmdThin2));
    EXPECT_TRUE(four.barrier.IsMenuItemEnabled(kCmdPlaceOnEllipse));
    EXPECT_TRUE(four.barrier.IsMenuItemEnabled(kCmdOutsideAtPoint));
    CountingBarrier three(Points{{0, 0}, {9, 0}, {0, 9}});
    EXPECT_FALSE(three.barrier.IsMenuItemEnabled(kCmdPlaceOnRect));
    CountingBarrier many(Points(334, Point{1, 1}));
    EXPECT_TRUE(many.barrier.IsMenuItemEnabled(kCmdMultiply2));
    EXPECT_FALSE(many.barrier.IsMenuItemEnabled(kCmdMultiply3));
    EXPECT_TRUE(many.barrier.IsMenuItemEnabled(kCmdThin5));
    EXPECT_FALSE(CountingBarrier().barrier.IsMenuItemEnabled(kCmdOutsideAtPoint));
}

TEST(BarrierEdit, HoverPointersAndGuides) {
    CountingBarrier b(kSquare);
    EXPECT_EQ(b.barrier.Hover({22, 22}, kPlain).pointer, BarrierPointer::Vertex);
    EXPECT_EQ(b.barrier.Hover({40, 20}, kPlain).pointer, BarrierPointer::Side);
    EXPECT_EQ(b.barrier.Hover({40, 40}, kPlain).pointer, BarrierPointer::Hand);
    EXPECT_EQ(b.barrier.Hover({90, 5}, kPlain).pointer, BarrierPointer::Arrow);
    Click(b.barrier, {40, 40});
    EXPECT_EQ(b.barrier.Hover({20, 20}, kPlain).pointer, BarrierPointer::SizeNwSe);
    EXPECT_EQ(b.barrier.Hover({60, 20}, kPlain).pointer, BarrierPointer::SizeNeSw);
    EXPECT_EQ(b.barrier.Hover({40, 60}, kPlain).pointer, BarrierPointer::SizeNs);
    EXPECT_EQ(b.barrier.Hover({20, 40}, kPlain).pointer, BarrierPointer::SizeWe);
    const BarrierHover top = b.barrier.Hover({30, 21}, kPlain);
    EXPECT_EQ(top.pointer, BarrierPointer::Vertex);
    EXPECT_EQ(top.guide, str::kGuideTabTurnsSide);
    EXPECT_EQ(b.barrier.Hover({30, 61}, kPlain).guide, str::kGuideClickSide);
    EXPECT_EQ(b.barrier.Hover({21, 30}, kPlain).guide, str::kGuideShiftMovesSide);
    b.barrier.StartAdding();
    EXPECT_EQ(b.barrier.Hover({90, 5}, kPlain).pointer, BarrierPointer::Placing);
}

TEST(BarrierEdit, DraggingAndHitTestingAllocateNothing) {
    Points circle;
    for (int i = 0; i < kBarrierCapacity; ++i) {
        const double a = 6.283185307 * i / kBarrierCapacity;
        circle.push_back({100 + int(80 * std::cos(a)), 100 + int(80 * std::sin(a))});
    }
    CountingBarrier b(circle);
    const Size image{200, 200};
    const auto drag = [&](Point from, BarrierDrag kind) {
        b.barrier.Press(from, kPlain, {});
        EXPECT_EQ(b.barrier.Dragging(), kind);
        test::StartCountingAllocations();
        for (int i = 0; i < 50; ++i) {
            b.barrier.Move({from.x + i, from.y + i / 2}, kPlain, image);
            b.barrier.HitTest({from.x + i, from.y}, kPlain);
            b.barrier.Hover({from.x, from.y + i}, kPlain);
        }
        EXPECT_EQ(test::StopCountingAllocations(), 0);
        b.barrier.Release({});
    };
    drag({180, 100}, BarrierDrag::Vertices);
    drag({5, 5}, BarrierDrag::RubberBand);
    drag({100, 100}, BarrierDrag::Whole);
    const Rect frame = b.barrier.Frame().value_or(Rect{});
    drag({frame.right, frame.bottom}, BarrierDrag::FrameHandle);
}

}  // namespace
}  // namespace palvex
