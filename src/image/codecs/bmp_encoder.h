#pragma once

#include "image/bitmap.h"
#include "image/output_buffer.h"

namespace palvex {

enum class BmpConvertResult { Ok, OutOfMemory, Failed };

// The image as a plain BMP without its 14-byte file header, in two parts. `infoBlock`: a
// 40-byte BITMAPINFOHEADER (size 40, width, positive height, 1 plane, the bit count and
// compression, image size = pixel data length, resolutions, colours used and important all 0),
// then the colour table for 1, 4 and 8 bits (B,G,R,0 entries, 2, 16 or 256 of them, unused
// ones zero), the masks R,G,B for 16 and 32 bits, nothing for 24. `pixels`: the pixel data,
// rows bottom-up. Both buffers are cleared first; the fourth byte of the image is ignored.
//
// (bitCount, compression): (1,0), (4,0), (4,2) RLE4, (8,0), (8,1) RLE8 through a palette of
// 2, 16 or 256 colours (exact when the image has no more); (16,3) as 5-6-5; (24,0); (32,3)
// with the fourth byte 0xFF. Anything else, or a null image, is Failed.
BmpConvertResult ConvertToPlainBmp(const Bitmap& image, int bitCount, int compression,
                                   OutputBuffer& infoBlock, OutputBuffer& pixels);

}  // namespace palvex
