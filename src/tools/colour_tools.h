#pragma once

#include <optional>
#include <string>

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"
#include "image/raster/fill_record.h"

namespace palvex {

// The flood-fill tool's change to the pixels: every pixel connected to `q` through horizontal
// or vertical neighbours of exactly q's colour becomes `drawColour`. The caller has already
// stored what it overwrites, or passes a record to be filled with it. Returns the rectangle written
// (empty when no pixel changed, as when q already has the drawing colour, or q is off the image).
Rect FloodFillAt(Bitmap& image, Point q, Colour drawColour, FillRecord* record = nullptr);

// The eyedropper: the colour of the pixel at q; nothing off the image.
std::optional<Colour> PickColour(const Bitmap& image, Point q);

// Readouts of a colour and a point as the status bar and the probe show them.
std::string ColourPaneText(Colour c);  // "%3d, %3d, %3d"
std::string CursorPaneText(Point q);   // "%d, %d"
std::string ProbeText(Colour c);       // "RGB(%d, %d, %d)"

}  // namespace palvex
