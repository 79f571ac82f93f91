#pragma once

#include <cstddef>
#include <cstdint>

#include "image/bitmap.h"

namespace palvex {

// The number of distinct colours (fourth byte ignored), counting no further than `limit`.
std::size_t CountDistinctColours(const Bitmap& image, std::size_t limit = SIZE_MAX);

}  // namespace palvex
