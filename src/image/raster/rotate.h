#pragma once

#include "image/bitmap.h"

namespace palvex {

// Quarter turns into a new h x w bitmap; every pixel keeps all four bytes. False (dst null) when
// src is null or dst cannot be created. dst may be src itself.

// Source (x, y) goes to (h - 1 - y, x).
[[nodiscard]] bool RotateClockwise(const Bitmap& src, Bitmap& dst);
// Source (x, y) goes to (y, w - 1 - x).
[[nodiscard]] bool RotateCounterClockwise(const Bitmap& src, Bitmap& dst);

}  // namespace palvex
