#pragma once

#include <cstddef>

#include "image/colour.h"

// Row kernels shared by the raster operations. Internal to palvex_raster.
namespace palvex::detail {

// dst[i] = src[i] with the fourth byte forced to 0xFF. The ranges must not overlap.
void CopyRowOpaque(Pixel* dst, const Pixel* src, std::size_t count);

// As CopyRowOpaque, but source pixels whose colour channels equal keyRgb leave dst unchanged.
void CopyRowKeyed(Pixel* dst, const Pixel* src, std::size_t count, Pixel keyRgb);

// dst[i] = background[i] where src[i] has the key colour, else src[i]; the fourth byte 0xFF.
// One write a pixel: a keyed copy over a background without filling the background first.
void CopyRowKeyedOver(Pixel* dst, const Pixel* src, const Pixel* background, std::size_t count,
                      Pixel keyRgb);

// Hints that pixels [0, count) will be read soon.
void PrefetchPixels(const Pixel* pixels, std::size_t count);

// The first index in [from, to) whose colour channels equal rgb (equal = true) or differ from
// it (equal = false); `to` when there is none. Needs from <= to.
int FindRgb(const Pixel* row, int from, int to, Pixel rgb, bool equal);

}  // namespace palvex::detail
