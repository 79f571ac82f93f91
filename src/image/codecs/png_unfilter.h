#pragma once

#include <cstddef>
#include <cstdint>

#include "image/colour.h"

namespace palvex {

// Reverses one row's PNG filter (0 None, 1 Sub, 2 Up, 3 Average, 4 Paeth) for 8-bit RGBA (bpp 4)
// or RGB (bpp 3) data and writes the row as pixels (B | G << 8 | R << 16 | A << 24; A = 0xFF for
// RGB). `src` holds the row's width * bpp filtered bytes without the filter-type byte; `prior`
// is the previous row's output pixels, nullptr for the first row (a row of zeros). Returns false
// for an unknown filter type or a bpp other than 3 or 4; dst is then unspecified.
//
// The row may be decoded in place: dst may overlap src as long as, for every x, pixel x of dst
// ends at or before the first byte of pixel x + 1 in src (dst + 4 * (x + 1) <= src + bpp * (x +
// 1) in bytes). Nothing past src + bpp * width is read, nothing past dst + width written. prior
// must not overlap the row.
bool UnfilterRowToPixels(int filter, int bpp, const std::uint8_t* src, const Pixel* prior,
                         Pixel* dst, std::size_t width);

// The same without SIMD: the path of machines without SSE2, kept callable for tests and
// benchmarks.
bool UnfilterRowToPixelsScalar(int filter, int bpp, const std::uint8_t* src, const Pixel* prior,
                               Pixel* dst, std::size_t width);

}  // namespace palvex
