#pragma once

#include <cstdint>

#include "image/geometry.h"

namespace palvex {

// What the left button does on the canvas. The transparent and the real-colour pen are both
// Pen: DrawColor equal to the key makes the pen transparent.
enum class ToolMode : std::int32_t {
    Select = 0,
    Pen = 1,
    FloodFill = 2,
    Eyedropper = 3,
    FillBack = 4,
    Barrier = 5,
};

inline constexpr int kToolModeCount = 6;

// A stored value outside the six modes reads as the selection mode.
ToolMode ToolModeFromStored(int stored);

// Modes 1 and 4: the pen's range follows the pointer and the right button shapes it.
constexpr bool IsPenMode(ToolMode mode) {
    return mode == ToolMode::Pen || mode == ToolMode::FillBack;
}

// The guide text a mode shows when it becomes active; 0 for the selection mode, which clears
// the guide instead.
int ModeGuideText(ToolMode mode);

// The hint chosen by the image column of the pointer in every mode; 0 when the column
// chooses none and the guide keeps its text.
int ColumnHint(int imageX);
// The range hint chosen by the window column in the pen modes; 0 for none.
int PenColumnHint(int clientX);

// Pointer pictures and the system pointers a situation asks for.
enum class PointerShape {
    Arrow,
    Pen,         // pen mode over the image, hot spot (0, 0)
    FloodFill,   // hot spot (0, 0)
    Eyedropper,  // hot spot (0, 0)
    FillBack,    // hot spot (7, 7)
    OverPoint,   // a barrier point or a side of a selection, hot spot (7, 0)
    AddPoints,   // while barrier points are being added, hot spot (0, 0)
    OverSide,    // a barrier side, hot spot (8, 9)
    Hand,
    SizeAll,
    SizeDiagonalDown,  // top-left and bottom-right handles
    SizeDiagonalUp,    // top-right and bottom-left handles
    SizeVertical,
    SizeHorizontal,
};

// The mode's own pointer over the image; the arrow for the modes that choose by what lies under
// the pointer (0 and 5).
PointerShape PointerForMode(ToolMode mode);
// Hot spot of a drawn 32 x 32 pointer.
Point PointerHotSpot(PointerShape shape);

// Which buttons and keys are down, as a mouse or wheel event reports them.
struct KeyState {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool ctrl = false;
    bool shift = false;

    friend constexpr bool operator==(const KeyState&, const KeyState&) = default;
};

// Where a wheel turn goes.
enum class WheelRoute {
    TurnRange,      // the pen range's angle turns; the event is consumed
    ResizeBarrier,  // the barrier grows or shrinks if it can; otherwise the default scrolling
    Zoom,           // one zoom level, forward smaller
    Default,        // the scrolling view's own handling (scrolls without Ctrl or Shift)
};

struct WheelContext {
    ToolMode mode = ToolMode::Select;
    bool wholeImage = false;     // the pen range covers the whole image
    bool hasBarrier = false;     // mode 5: the barrier has at least one point
    bool insideBarrier = false;  // the pointer is inside it
    KeyState keys;
};

WheelRoute RouteWheel(const WheelContext& context);

// The popups of the canvas context menu, by their position in the menu.
enum class ContextPopup {
    None = -1,  // the pen modes open no menu
    View = 0,
    Selection = 1,
    Paste = 2,
    BarrierInside = 3,
    BarrierPoint = 4,
    BarrierSide = 5,
    BarrierOutside = 6,
};

// What lies under the pointer for the barrier's menus.
enum class BarrierHit { None, Inside, Point, Side };

struct ContextMenuContext {
    ToolMode mode = ToolMode::Select;
    bool insideSelection = false;
    bool pasteFloating = false;
    bool hasBarrier = false;
    BarrierHit barrierHit = BarrierHit::None;
};

ContextPopup ChooseContextPopup(const ContextMenuContext& context);

// What a left double-click does.
enum class DoubleClickAction { Nothing, CopySelection, ZoomHere, Zoom100Here };

struct DoubleClickContext {
    ToolMode mode = ToolMode::Select;
    bool addingBarrierPoints = false;
    bool onImage = false;
    bool insideSelection = false;
    float zoomFactor = 1.0f;
};

DoubleClickAction ChooseDoubleClick(const DoubleClickContext& context);

}  // namespace palvex
