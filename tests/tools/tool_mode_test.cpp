#include "tools/tool_mode.h"

#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace palvex {
namespace {

TEST(ToolMode, StoredValuesOutsideTheSixModesReadAsSelection) {
    EXPECT_EQ(ToolModeFromStored(4), ToolMode::FillBack);
    EXPECT_EQ(ToolModeFromStored(5), ToolMode::Barrier);
    EXPECT_EQ(ToolModeFromStored(6), ToolMode::Select);
    EXPECT_EQ(ToolModeFromStored(-1), ToolMode::Select);
}

TEST(ToolMode, EachModeHasItsGuideTextAndSelectionNone) {
    EXPECT_EQ(ModeGuideText(ToolMode::Select), 0);
    EXPECT_EQ(ModeGuideText(ToolMode::Pen), 30304);
    EXPECT_EQ(ModeGuideText(ToolMode::FloodFill), 30306);
    EXPECT_EQ(ModeGuideText(ToolMode::Eyedropper), 30307);
    EXPECT_EQ(ModeGuideText(ToolMode::FillBack), 30308);
    EXPECT_EQ(ModeGuideText(ToolMode::Barrier), 30309);
}

TEST(ToolMode, HintsRotateByImageColumnAndPenHintsByWindowColumn) {
    const std::pair<int, int> columns[] = {{5, 30353},  {15, 30316}, {25, 30305}, {35, 30317},
                                           {55, 30353}, {65, 30316}, {45, 0},     {0, 0}};
    for (const auto& [x, hint] : columns) {
        EXPECT_EQ(ColumnHint(x), hint) << x;
    }
    const std::pair<int, int> penColumns[] = {{1, 30357},  {21, 30358}, {31, 30312}, {41, 30313},
                                              {51, 30359}, {61, 30360}, {71, 30361}, {81, 30357},
                                              {11, 0},     {0, 0},      {-79, 0}};
    for (const auto& [x, hint] : penColumns) {
        EXPECT_EQ(PenColumnHint(x), hint) << x;
    }
}

TEST(ToolMode, PointersAndTheirHotSpots) {
    EXPECT_EQ(PointerForMode(ToolMode::Pen), PointerShape::Pen);
    EXPECT_EQ(PointerForMode(ToolMode::FloodFill), PointerShape::FloodFill);
    EXPECT_EQ(PointerForMode(ToolMode::Eyedropper), PointerShape::Eyedropper);
    EXPECT_EQ(PointerForMode(ToolMode::FillBack), PointerShape::FillBack);
    EXPECT_EQ(PointerForMode(ToolMode::Select), PointerShape::Arrow);
    EXPECT_EQ(PointerHotSpot(PointerShape::Pen), (Point{0, 0}));
    EXPECT_EQ(PointerHotSpot(PointerShape::FillBack), (Point{7, 7}));
    EXPECT_EQ(PointerHotSpot(PointerShape::OverPoint), (Point{7, 0}));
    EXPECT_EQ(PointerHotSpot(PointerShape::OverSide), (Point{8, 9}));
    EXPECT_EQ(PointerHotSpot(PointerShape::AddPoints), (Point{0, 0}));
}

WheelRoute Route(ToolMode mode, KeyState keys, bool wholeImage = false, bool hasBarrier = false,
                 bool insideBarrier = false) {
    return RouteWheel({mode, wholeImage, hasBarrier, insideBarrier, keys});
}

TEST(WheelRouting, ThePensTakeTheRightButtonAloneOrWithCtrl) {
    const KeyState right{.right = true};
    const KeyState rightCtrl{.right = true, .ctrl = true};
    const KeyState ctrl{.ctrl = true};
    for (const ToolMode pen : {ToolMode::Pen, ToolMode::FillBack}) {
        EXPECT_EQ(Route(pen, right), WheelRoute::TurnRange);
        EXPECT_EQ(Route(pen, rightCtrl), WheelRoute::TurnRange);
        EXPECT_EQ(Route(pen, KeyState{.right = true, .shift = true}), WheelRoute::Default);
        EXPECT_EQ(Route(pen, KeyState{}), WheelRoute::Default);
        // Kept as routed: with the range around the pointer, Ctrl alone does not zoom.
        EXPECT_EQ(Route(pen, ctrl), WheelRoute::Default);
        // The whole-image range has no angle: the wheel zooms and scrolls as elsewhere.
        EXPECT_EQ(Route(pen, right, true), WheelRoute::Default);
        EXPECT_EQ(Route(pen, ctrl, true), WheelRoute::Zoom);
    }
}

TEST(WheelRouting, CtrlAloneZoomsWhereNoToolClaimsTheWheel) {
    for (const ToolMode mode : {ToolMode::Select, ToolMode::FloodFill, ToolMode::Eyedropper}) {
        EXPECT_EQ(Route(mode, KeyState{.ctrl = true}), WheelRoute::Zoom);
        EXPECT_EQ(Route(mode, KeyState{.ctrl = true, .shift = true}), WheelRoute::Default);
        EXPECT_EQ(Route(mode, KeyState{.left = true, .ctrl = true}), WheelRoute::Default);
        EXPECT_EQ(Route(mode, KeyState{}), WheelRoute::Default);
    }
    EXPECT_EQ(Route(ToolMode::Barrier, KeyState{.ctrl = true}), WheelRoute::Zoom);
}

TEST(WheelRouting, ABarrierNeverLetsTheWheelZoom) {
    const KeyState ctrl{.ctrl = true};
    EXPECT_EQ(Route(ToolMode::Barrier, ctrl, false, true, true), WheelRoute::ResizeBarrier);
    EXPECT_EQ(Route(ToolMode::Barrier, KeyState{}, false, true, true), WheelRoute::ResizeBarrier);
    EXPECT_EQ(Route(ToolMode::Barrier, ctrl, false, true, false), WheelRoute::Default);
}

TEST(ContextMenu, ThePopupFollowsTheModeAndWhatLiesUnderThePointer) {
    auto popup = [](ToolMode mode, bool inside = false, bool paste = false, bool barrier = false,
                    BarrierHit hit = BarrierHit::None) {
        return ChooseContextPopup({mode, inside, paste, barrier, hit});
    };
    EXPECT_EQ(popup(ToolMode::Pen), ContextPopup::None);
    EXPECT_EQ(popup(ToolMode::FillBack, true), ContextPopup::None);
    EXPECT_EQ(popup(ToolMode::Select), ContextPopup::View);
    EXPECT_EQ(popup(ToolMode::Select, true), ContextPopup::Selection);
    EXPECT_EQ(popup(ToolMode::Select, true, true), ContextPopup::Paste);
    EXPECT_EQ(popup(ToolMode::FloodFill, true, true), ContextPopup::View);
    EXPECT_EQ(popup(ToolMode::Eyedropper), ContextPopup::View);
    EXPECT_EQ(popup(ToolMode::Barrier), ContextPopup::BarrierOutside);
    EXPECT_EQ(popup(ToolMode::Barrier, false, false, false, BarrierHit::Inside),
              ContextPopup::BarrierOutside);
    EXPECT_EQ(popup(ToolMode::Barrier, false, false, true, BarrierHit::Inside),
              ContextPopup::BarrierInside);
    EXPECT_EQ(popup(ToolMode::Barrier, false, false, true, BarrierHit::Point),
              ContextPopup::BarrierPoint);
    EXPECT_EQ(popup(ToolMode::Barrier, false, false, true, BarrierHit::Side),
              ContextPopup::BarrierSide);
    EXPECT_EQ(popup(ToolMode::Barrier, false, false, true, BarrierHit::None),
              ContextPopup::BarrierOutside);
}

TEST(DoubleClick, ZoomsOnlyOnTheImageOutsideThePensAndWhileNoPointsAreAdded) {
    auto action = [](ToolMode mode, bool onImage, float zoom = 1.0f, bool inside = false,
                     bool adding = false) {
        return ChooseDoubleClick({mode, adding, onImage, inside, zoom});
    };
    EXPECT_EQ(action(ToolMode::Select, true), DoubleClickAction::ZoomHere);
    EXPECT_EQ(action(ToolMode::FloodFill, true, 4.0f), DoubleClickAction::ZoomHere);
    EXPECT_EQ(action(ToolMode::Eyedropper, true, 8.0f), DoubleClickAction::Zoom100Here);
    EXPECT_EQ(action(ToolMode::Barrier, true), DoubleClickAction::ZoomHere);
    EXPECT_EQ(action(ToolMode::Select, true, 1.0f, true), DoubleClickAction::CopySelection);
    EXPECT_EQ(action(ToolMode::Select, false), DoubleClickAction::Nothing);
    EXPECT_EQ(action(ToolMode::Pen, true), DoubleClickAction::Nothing);
    EXPECT_EQ(action(ToolMode::FillBack, true), DoubleClickAction::Nothing);
    EXPECT_EQ(action(ToolMode::Barrier, true, 1.0f, false, true), DoubleClickAction::Nothing);
}

}  // namespace
}  // namespace palvex
