#pragma once

#include <cstdint>
#include <span>

#include "image/bitmap.h"
#include "image/codecs/bmp_header.h"

namespace palvex::bmp {

// Decodes an RLE8 or RLE4 stream (layout.layout says which) into out, which must already have
// the layout's size. Every pixel of out is written: those the stream never sets get palette
// entry 0 with alpha 0. Reads only within stream, whatever it says.
void DecodeRle(std::span<const std::uint8_t> stream, const BmpLayout& layout, Bitmap& out);

}  // namespace palvex::bmp
