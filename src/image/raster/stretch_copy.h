#pragma once

#include <cstddef>

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// Nearest-pixel scaled copy of srcRect onto dstRect, no blending. Destination column i (counted
// from the left of the covered area, 0 <= i < |width|) takes source column
// srcRect.left + floor(i * srcWidth / |width|), rows likewise. A dstRect with right < left
// (bottom < top) covers the same pixels as its normalised rectangle but mirrors that axis:
// column i then takes srcRect.left + srcWidth - 1 - floor(i * srcWidth / |width|).
// Source pixels whose colour equals `key` are not drawn; kNoColour skips nothing. Pixels mapped
// from outside src or landing outside dst are skipped without moving the mapping. An empty or
// inverted srcRect draws nothing. Written pixels get an opaque fourth byte. dst and src may be
// the same bitmap (the sampled area is copied first; if that copy fails nothing is drawn).
void KeyedStretchCopy(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect,
                      Colour key);

// What shows under key-coloured pixels: the background of `count` destination pixels of row y
// from column x.
class BackgroundRows {
public:
    virtual ~BackgroundRows() = default;
    virtual const Pixel* Row(int y, int x, std::size_t count) = 0;
};

// KeyedStretchCopy onto a background: every destination pixel of the mapped area is written
// once, with the background where the source has the key. Same result as filling the
// background first, at the cost of one pass.
void KeyedStretchCopyOver(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect,
                          Colour key, BackgroundRows& background);

// KeyedStretchCopy with every source pixel drawn.
void StretchCopy(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect);

// One-to-one copy of srcRect with its top-left corner at `at`, clipped to both bitmaps. dst and
// src may be the same bitmap, with overlapping areas.
void BlockCopy(Bitmap& dst, Point at, const Bitmap& src, const Rect& srcRect);

}  // namespace palvex
