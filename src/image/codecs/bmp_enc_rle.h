#pragma once

#include <cstdint>

#include "image/output_buffer.h"
#include "image/quantize/quantize.h"

// Private to the BMP writer.
namespace palvex::bmp {

// The RLE8 (fourBit false) or RLE4 stream of the indexes, rows bottom-up: encoded runs for
// repeats, absolute runs of at least 3 pixels for the rest, an end of line after every row and
// an end of bitmap at the end. False when the buffer fails.
bool EncodeRle(const IndexedImage& image, bool fourBit, OutputBuffer& out);

}  // namespace palvex::bmp
