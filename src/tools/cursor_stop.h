#pragma once

#include <optional>

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// The cursor stop of the transparent and real-colour pen: a pointer that lands on a pixel that
// already has the drawing colour is moved onto the first neighbour of another colour, so a pen
// dragged along an edge keeps to the part not yet drawn. Nothing when q does not have the
// drawing colour, or no neighbour inside the image differs from it.
std::optional<Point> CursorStopTarget(const Bitmap& image, Point q, Colour drawColour);

}  // namespace palvex
