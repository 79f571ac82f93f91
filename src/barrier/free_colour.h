#pragma once

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

enum class FreeColourStatus { Found, NoneFree };

struct FreeColour {
    FreeColourStatus status = FreeColourStatus::NoneFree;
    Colour colour = 0;
};

// The first of the 32768 colours whose channels are 5-bit levels expanded to 8 bits (white,
// then RGB(255, 255, 247), ... blue varying fastest) that occurs nowhere in r (right and bottom
// exclusive). Parts of r outside the image read as white. One pass over r that records only
// pixels of candidate colours in a 32768-bit set, so it costs about one read of the area.
FreeColour FindFreeColor(const Bitmap& image, const Rect& r);

}  // namespace palvex
