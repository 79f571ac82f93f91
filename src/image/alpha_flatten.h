#pragma once

#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex {

struct AlphaScan {
    Colour key = kNoColour;       // colour of the first fully transparent pixel, top-down
    bool anyTranslucent = false;  // some pixel has alpha below 255
};

// One pass over a decoded image's alpha bytes.
AlphaScan ScanAlpha(const Bitmap& decoded);

// One channel of a partly transparent pixel blended onto the key's channel. Single precision
// in exactly this order, truncated: the divisor (t + 1) - t is 1 - 2^-24 for 32 alpha values,
// which raises some results by one; files flattened before must keep flattening the same way.
int BlendOntoKey(int keyChannel, int channel, int alpha);

// Flattens straight alpha onto the key: transparent pixels become the key, partly transparent
// ones are blended onto it, and opaque pixels of the key colour are nudged (green +-8) so they
// stay opaque. Leaves every fourth byte at 0xFF, as the working image expects.
void FlattenOntoKey(Bitmap& image, Colour key);

// Sets every fourth byte to 0xFF without touching the colours.
void MakeOpaque(Bitmap& image);

}  // namespace palvex
