#include "tools/tool_mode.h"

#include "resources/string_table.h"

namespace palvex {

ToolMode ToolModeFromStored(int stored) {
    return stored >= 0 && stored < kToolModeCount ? static_cast<ToolMode>(stored)
                                                  : ToolMode::Select;
}

int ModeGuideText(ToolMode mode) {
    switch (mode) {
        case ToolMode::Pen:
            return str::kGuidePenMode;
        case ToolMode::FloodFill:
            return str::kGuideFloodFillMode;
        case ToolMode::Eyedropper:
            return str::kGuideEyedropperMode;
        case ToolMode::FillBack:
            return str::kGuideFillBackMode;
        case ToolMode::Barrier:
            return str::kGuideBarrierMode;
        case ToolMode::Select:
            break;
    }
    return 0;
}

int ColumnHint(int imageX) {
    switch (imageX % 50) {
        case 5:
            return str::kGuideCtrlWheelZooms;
        case 15:
            return str::kGuideF2;
        case 25:
            return str::kGuideF3;
        case 35:
            return str::kGuideF9;
        default:
            return 0;
    }
}

int PenColumnHint(int clientX) {
    // A negative column (the pointer left of the window while captured) chooses nothing.
    switch (clientX % 80) {
        case 1:
            return str::kGuideRightDragFlatness;
        case 21:
            return str::kGuideRightDragSize;
        case 31:
            return str::kGuideF4;
        case 41:
            return str::kGuideCtrlRightFlips;
        case 51:
            return str::kGuideRightWheelAngle;
        case 61:
            return str::kGuideCtrlRightWheelAngle;
        case 71:
            return str::kGuideRightDoubleClickStyle;
        default:
            return 0;
    }
}

PointerShape PointerForMode(ToolMode mode) {
    switch (mode) {
        case ToolMode::Pen:
            return PointerShape::Pen;
        case ToolMode::FloodFill:
            return PointerShape::FloodFill;
        case ToolMode::Eyedropper:
            return PointerShape::Eyedropper;
        case ToolMode::FillBack:
            return PointerShape::FillBack;
        case ToolMode::Select:
        case ToolMode::Barrier:
            break;
    }
    return PointerShape::Arrow;
}

Point PointerHotSpot(PointerShape shape) {
    switch (shape) {
        case PointerShape::FillBack:
            return {7, 7};
        case PointerShape::OverPoint:
            return {7, 0};
        case PointerShape::OverSide:
            return {8, 9};
        default:
            return {0, 0};
    }
}

WheelRoute RouteWheel(const WheelContext& context) {
    const KeyState& keys = context.keys;
    if (IsPenMode(context.mode) && !context.wholeImage) {
        const bool rightAlone = keys == KeyState{.right = true};
        const bool rightCtrl = keys == KeyState{.right = true, .ctrl = true};
        // Every other key state, Ctrl alone included, scrolls: the range owns the wheel here.
        return rightAlone || rightCtrl ? WheelRoute::TurnRange : WheelRoute::Default;
    }
    if (context.mode == ToolMode::Barrier && context.hasBarrier) {
        // A barrier on the canvas never lets the wheel zoom.
        return context.insideBarrier ? WheelRoute::ResizeBarrier : WheelRoute::Default;
    }
    return keys == KeyState{.ctrl = true} ? WheelRoute::Zoom : WheelRoute::Default;
}

ContextPopup ChooseContextPopup(const ContextMenuContext& context) {
    switch (context.mode) {
        case ToolMode::Pen:
        case ToolMode::FillBack:
            return ContextPopup::None;
        case ToolMode::Select:
            if (!context.insideSelection) {
                return ContextPopup::View;
            }
            return context.pasteFloating ? ContextPopup::Paste : ContextPopup::Selection;
        case ToolMode::FloodFill:
        case ToolMode::Eyedropper:
            return ContextPopup::View;
        case ToolMode::Barrier:
            break;
    }
    if (!context.hasBarrier) {
        return ContextPopup::BarrierOutside;
    }
    switch (context.barrierHit) {
        case BarrierHit::Inside:
            return ContextPopup::BarrierInside;
        case BarrierHit::Point:
            return ContextPopup::BarrierPoint;
        case BarrierHit::Side:
            return ContextPopup::BarrierSide;
        case BarrierHit::None:
            break;
    }
    return ContextPopup::BarrierOutside;
}

DoubleClickAction ChooseDoubleClick(const DoubleClickContext& context) {
    if (context.addingBarrierPoints || !context.onImage || IsPenMode(context.mode)) {
        return DoubleClickAction::Nothing;
    }
    if (context.insideSelection) {
        return DoubleClickAction::CopySelection;
    }
    return context.zoomFactor != 8.0f ? DoubleClickAction::ZoomHere
                                      : DoubleClickAction::Zoom100Here;
}

}  // namespace palvex
