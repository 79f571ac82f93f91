#pragma once

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/output_buffer.h"

namespace palvex {

// Encoders write a complete file into `out` and return false on any failure (then `out` holds
// nothing usable). Only the colour channels of the image are read; the fourth byte is ignored.
//
// `alphaKey`: kNoColour writes an opaque file; any colour writes alpha 0 exactly on the pixels
// of that colour (all three channels equal) and 255 everywhere else, with the colour channels
// of every pixel, transparent ones included, unchanged.

// Baseline JPEG, quality 0..100 as the library defines it; no chroma subsampling from 90 up.
bool EncodeJpeg(const Bitmap& image, int quality, OutputBuffer& out);

// 8-bit RGB, or 8-bit RGBA with a key.
bool EncodePng(const Bitmap& image, Colour alphaKey, OutputBuffer& out);

// RGB, or RGBA with unassociated alpha with a key.
bool EncodeTiff(const Bitmap& image, Colour alphaKey, OutputBuffer& out);

// A GIF: an exact palette when the image has at most 256 colours, a quantised one otherwise.
// With a key that some pixel has, the key gets an entry of its own that only the key-coloured
// pixels use, and that entry is the transparent index; without one the file is opaque. The block
// layout is fixed: header, screen descriptor, global table from offset 13, then directly a
// graphic control extension (0x21 0xF9 4 flags delay(2) index 0), then the image descriptor.
bool EncodeGif(const Bitmap& image, Colour alphaKey, OutputBuffer& out);

// The transparent BMP: 32 bits, uncompressed (BI_RGB), the fourth byte of every pixel holding
// its alpha, rows bottom-up.
bool EncodeBmpWithAlpha(const Bitmap& image, Colour alphaKey, OutputBuffer& out);

}  // namespace palvex
