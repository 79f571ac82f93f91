#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex {

// An image as palette indexes, rows top-down, width bytes a row.
struct IndexedImage {
    std::vector<Colour> palette;
    std::unique_ptr<std::uint8_t[]> indices;
    int width = 0;
    int height = 0;
    int reservedIndex = -1;  // the entry of the reserved colour, -1 when it has none
};

// Reduces the image to at most maxColours colours (clamped to 2..256); the fourth byte of every
// pixel is ignored. Exact when the image has at most maxColours distinct colours: the palette
// then holds exactly those colours, in order of first appearance, and every pixel maps to its
// own colour. Otherwise the palette is built by median cut refined with k-means, and every pixel
// maps to its nearest entry (squared RGB distance, no dithering). A null image gives an empty
// result. False only when memory runs out.
//
// A `reserved` colour that some pixel has gets an entry of its own, used by exactly the pixels
// of that colour (a transparent GIF's key must not take in its neighbours): the other pixels
// share the remaining entries, none of which equals the reserved colour. When the reduction is
// needed the reserved entry is the last one.
[[nodiscard]] bool QuantizeToPalette(const Bitmap& image, int maxColours, IndexedImage& out,
                                     Colour reserved = kNoColour);

}  // namespace palvex
