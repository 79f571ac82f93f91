#pragma once

#include "image/bitmap.h"
#include "image/geometry.h"

namespace palvex {

// Tiles `area` (clipped to dst) with `tile` anchored at `origin`: pixel (x, y) takes
// tile((x - origin.x) mod tw, (y - origin.y) mod th), the modulo never negative, so tiles line
// up with a fixed origin whatever part of the area is drawn. Written pixels are opaque. The tile
// must be a bitmap other than dst.
void PatternFill(Bitmap& dst, const Rect& area, const Bitmap& tile, Point origin);

}  // namespace palvex
