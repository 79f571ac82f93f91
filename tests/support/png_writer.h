#pragma once

#include <cstdint>
#include <vector>

#include "image/bitmap.h"

namespace palvex::test {

// An 8-bit RGBA PNG of the bitmap's pixels (straight alpha), for inspection and simple inputs.
std::vector<std::uint8_t> EncodeRgbaPng(const Bitmap& image);

}  // namespace palvex::test
