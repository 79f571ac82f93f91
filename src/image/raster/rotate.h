#pragma once

#include "image/bitmap.h"

namespace palvex {

// Quarter turns into an h x w bitmap; every pixel keeps all four bytes. dst is reused when it
// already holds h x w pixels in any shape and is not src, else re-created. dst may be src itself:
// the turn is then built aside and moved in. False when src is null or the result cannot be
// created; dst is then null, unless it is src, which stays as it was.

// Source (x, y) goes to (h - 1 - y, x).
[[nodiscard]] bool RotateClockwise(const Bitmap& src, Bitmap& dst);
// Source (x, y) goes to (y, w - 1 - x).
[[nodiscard]] bool RotateCounterClockwise(const Bitmap& src, Bitmap& dst);

}  // namespace palvex
