#pragma once

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"
#include "image/raster/fill_record.h"

namespace palvex {

// Both fills spread through horizontally or vertically adjacent pixels only (never diagonally),
// compare colour channels only, write opaque pixels, and return the bounding rectangle of the
// pixels written (empty when nothing was). Pending spans live in a heap queue, so region size
// is not limited by the call stack.

// Fills the region of the seed's exact colour around the seed. Nothing happens when the seed is
// outside the image or `fill` equals the seed's colour. With a record, the record is replaced by
// what this fill changes (nothing, when it changes nothing), gathered as it goes; when the record
// runs out of memory the image is left as it was, the record is Lost() and the rectangle empty.
Rect FloodFillSurface(Bitmap& image, Point seed, Colour fill, FillRecord* record = nullptr);

// Fills everything reachable from the seed without stepping on a pixel of colour `border`.
// Nothing happens when the seed is outside or has the border colour. When fill differs from
// border a one-bit-a-pixel visited mask is needed; if it cannot be allocated nothing happens.
Rect FloodFillBorder(Bitmap& image, Point seed, Colour border, Colour fill);

}  // namespace palvex
