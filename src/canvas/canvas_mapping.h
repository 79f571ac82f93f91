#pragma once

#include <array>
#include <optional>

#include "image/geometry.h"

namespace palvex {

// The five zoom levels, by ribbon slider position 1..5.
inline constexpr std::array<float, 5> kZoomLevels = {0.5f, 1.0f, 2.0f, 4.0f, 8.0f};

// The slider position showing a factor: 1, 3, 4 or 5 for 0.5, 2, 4, 8; 2 for anything else
// (also for factors that match no level, such as a stored 1.5).
int ZoomSliderPosition(float zoom);
// The factor of a slider position: 1 -> 0.5, 3 -> 2, 4 -> 4, 5 -> 8, any other -> 1.
float ZoomForSliderPosition(int position);

// Ctrl + wheel: one slider step toward larger images for a backward turn, smaller for a forward
// one, starting from the slider position; nothing beyond the ends.
std::optional<int> WheelZoomPosition(int sliderPosition, int wheelDelta);

// Window (client) to image coordinates and back at one zoom and scroll position. Single
// precision and truncation toward zero, as every tool expects.
struct CanvasMapping {
    float zoom = 1.0f;
    Point scroll;

    Point WindowToImage(Point client) const;
    Point ImageToWindow(Point image) const;
};

// An image rectangle scaled to zoomed pixels: left' = trunc(left z), right' = left' +
// trunc(width z), likewise vertically.
Rect ZoomedRect(const Rect& imageRect, float zoom);

// The scrollable extent: the zoomed image size.
Size ScrollExtent(int width, int height, float zoom);

// Page and line steps of the scroll bars: extent / 10 and page / 10 per axis.
struct ScrollSteps {
    Size page;
    Size line;
};
ScrollSteps ScrollStepsFor(Size extent);

// The scroll position that brings a zoomed point to the middle of the client area, before the
// view clamps it to its range. Nothing when the client area holds the whole extent. An axis
// without a scroll bar (its extent fits) scrolls to 0.
std::optional<Point> CentreOnTarget(Point zoomedPoint, Size client, Size extent);

// The client area a scroll view has for an extent. `area` is its room without bars; a bar appears
// along an axis whose extent exceeds the client size, and takes `bars.height` (horizontal bar)
// or `bars.width` (vertical bar) from the other axis, which can then need its own bar.
struct ScrollLayout {
    Size client;
    bool horizontal = false;
    bool vertical = false;
};
ScrollLayout ScrollLayoutFor(Size area, Size extent, Size bars);

}  // namespace palvex
