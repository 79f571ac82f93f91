#pragma once

#include <functional>
#include <span>

#include "image/geometry.h"

namespace palvex {

inline constexpr Point kNoInsidePoint{-1, -1};

// A seed inside the barrier: for each side but the closing one, the points about 3 pixels from
// the side's middle on either side of it, the first that the winding rule puts inside and that
// `usable` accepts (none: every inside candidate is taken). kNoInsidePoint when there is none.
Point FindInsidePoint(std::span<const Point> vertices,
                      const std::function<bool(Point)>& usable = {});

}  // namespace palvex
