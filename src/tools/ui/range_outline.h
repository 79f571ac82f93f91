#pragma once

#include <functional>
#include <optional>

#include "image/colour.h"
#include "image/geometry.h"
#include "tools/range_shape.h"

class QPainter;

namespace palvex::ui {

// What the pointer feedback of the range pens shows at the client point p.
struct RangeOutlineLook {
    Colour colour = 0;             // the pixel under the pointer
    bool shapeShown = true;        // off with the whole-image range: no shape is drawn
    std::optional<Colour> swatch;  // the swatch's fill; unset in the fill-back pen
    bool readout = false;          // the "RGB(r, g, b)" text above the pointer
};

// The window area the feedback covers: the shape's bounding box (for the ellipse the box made
// square, with room for any angle), 5 pixels around it, the readout above the pointer and the
// swatch below it. With the whole-image range the unrotated box stands for the shape.
Rect RangeOutlineArea(const RangeOutline& outline, Point p, const RangeOutlineLook& look);

// Draws the shape in the inverse of the pixel's colour (a closed one-pixel line through the
// corners, or the traced ellipse points), the swatch and the readout. It keeps copies, so the
// view can call it again at every repaint of the area.
std::function<void(QPainter&)> RangeOutlinePainter(const RangeOutline& outline, Point p,
                                                   const RangeOutlineLook& look);

}  // namespace palvex::ui
