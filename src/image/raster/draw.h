#pragma once

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// Both clip the rectangle to the bitmap and write opaque pixels.

void FillRect(Bitmap& image, const Rect& rect, Colour colour);

// Each colour channel v becomes 255 - v.
void InvertRect(Bitmap& image, const Rect& rect);

}  // namespace palvex
