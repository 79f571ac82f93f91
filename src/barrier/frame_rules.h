#pragma once

#include "image/geometry.h"

namespace palvex {

// The rules a frame follows when its sides and handles are dragged or moved by keys, shared by
// the barrier frame and the selection rectangle. Rectangles here have inclusive right and bottom.
// Sides: 0 left, 1 top, 2 right, 3 bottom. Handles: 0 left-top, 1 right-top, 2 right-bottom,
// 3 left-bottom, 4 top middle, 5 right middle, 6 bottom middle, 7 left middle.

inline constexpr int kFrameSideLeft = 0;
inline constexpr int kFrameSideTop = 1;
inline constexpr int kFrameSideRight = 2;
inline constexpr int kFrameSideBottom = 3;

// The side whose band (3 pixels either way across the side) holds q, tested top, right, bottom,
// left; -1 for none.
int SideAt(Point q, const Rect& r);

// The pointer, limited to the image, replaces the edges the handle names; the result is
// normalised and kept at least 15 pixels wide and high by moving the dragged edge.
Rect DragRectHandle(const Rect& r, int handle, Point pointer, Size image);

// Moves one side by the step's component across it, keeps the rectangle in the image and at
// least 15 pixels wide and high.
Rect MoveRectSide(const Rect& r, int side, Point step, Size image);

// Corrects a whole move of everything inside `bounds` by d so that the bounds stay within
// 0..W and 0..H; when they cannot, the left and top bounds win.
Point ClampFrameOffset(const Rect& bounds, Point d, Size image);

}  // namespace palvex
