#include "tools/colour_tools.h"

#include <cstdio>

#include "image/raster/flood_fill.h"

namespace palvex {

Rect FloodFillAt(Bitmap& image, Point q, Colour drawColour, FillRecord* record) {
    return FloodFillSurface(image, q, drawColour, record);
}

std::optional<Colour> PickColour(const Bitmap& image, Point q) {
    if (image.IsNull() || !image.Contains(q.x, q.y)) {
        return std::nullopt;
    }
    return image.ReadPixel(q.x, q.y);
}

std::string ColourPaneText(Colour c) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%3d, %3d, %3d", RedOf(c), GreenOf(c), BlueOf(c));
    return buffer;
}

std::string CursorPaneText(Point q) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d, %d", q.x, q.y);
    return buffer;
}

std::string ProbeText(Colour c) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "RGB(%d, %d, %d)", RedOf(c), GreenOf(c), BlueOf(c));
    return buffer;
}

}  // namespace palvex
