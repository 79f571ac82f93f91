#pragma once

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// The ellipse inscribed in `box` (right/bottom exclusive) holds the pixels whose centres lie
// inside or on it. It is symmetric in both axes, every row is a single span, a 1x1 box gives one
// pixel and a 2x2 box four. Empty or inverted boxes draw nothing; pixels outside the bitmap are
// skipped and cost nothing.
void FillEllipse(Bitmap& image, const Rect& box, Colour colour);

// The boundary of the filled ellipse: its pixels with a horizontal or vertical neighbour outside
// it. One pixel wide and 8-connected.
void DrawEllipseOutline(Bitmap& image, const Rect& box, Colour colour);

}  // namespace palvex
