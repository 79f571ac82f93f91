#include "image/raster/draw.h"

#include <algorithm>

namespace palvex {

void FillRect(Bitmap& image, const Rect& rect, Colour colour) {
    const Rect area = rect.Intersected(image.Bounds());
    if (area.IsEmpty()) {
        return;
    }
    const Pixel value = PixelFromColour(colour);
    for (int y = area.top; y < area.bottom; ++y) {
        std::fill(image.Row(y) + area.left, image.Row(y) + area.right, value);
    }
}

void InvertRect(Bitmap& image, const Rect& rect) {
    const Rect area = rect.Intersected(image.Bounds());
    for (int y = area.top; y < area.bottom; ++y) {
        Pixel* row = image.Row(y);
        for (int x = area.left; x < area.right; ++x) {
            row[x] = (row[x] ^ kRgbMask) | kOpaqueAlpha;
        }
    }
}

}  // namespace palvex
