#include "canvas/canvas_mapping.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace palvex {
namespace {

// Truncation toward zero that saturates: a float beyond the int range (an image of 2^28 pixels
// in one row at 800 %) would make the plain conversion undefined.
int Trunc(float value) {
    constexpr float kLimit = 2147483648.0f;  // 2^31
    if (std::isnan(value)) {
        return 0;
    }
    if (value < -kLimit) {
        return std::numeric_limits<int>::min();
    }
    if (value >= kLimit) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

}  // namespace

int ZoomSliderPosition(float zoom) {
    if (zoom == 0.5f) {
        return 1;
    }
    if (zoom == 2.0f) {
        return 3;
    }
    if (zoom == 4.0f) {
        return 4;
    }
    if (zoom == 8.0f) {
        return 5;
    }
    return 2;
}

float ZoomForSliderPosition(int position) {
    switch (position) {
        case 1:
            return 0.5f;
        case 3:
            return 2.0f;
        case 4:
            return 4.0f;
        case 5:
            return 8.0f;
        default:
            return 1.0f;
    }
}

std::optional<int> WheelZoomPosition(int sliderPosition, int wheelDelta) {
    if (wheelDelta == 0) {
        return std::nullopt;
    }
    const int next = sliderPosition + (wheelDelta > 0 ? -1 : 1);
    if (next < 1 || next > static_cast<int>(kZoomLevels.size())) {
        return std::nullopt;
    }
    return next;
}

Point CanvasMapping::WindowToImage(Point client) const {
    return {Trunc(static_cast<float>(client.x + scroll.x) / zoom),
            Trunc(static_cast<float>(client.y + scroll.y) / zoom)};
}

Point CanvasMapping::ImageToWindow(Point image) const {
    return {Trunc(static_cast<float>(image.x) * zoom) - scroll.x,
            Trunc(static_cast<float>(image.y) * zoom) - scroll.y};
}

Rect ZoomedRect(const Rect& imageRect, float zoom) {
    const int left = Trunc(static_cast<float>(imageRect.left) * zoom);
    const int top = Trunc(static_cast<float>(imageRect.top) * zoom);
    return {left, top, left + Trunc(static_cast<float>(imageRect.Width()) * zoom),
            top + Trunc(static_cast<float>(imageRect.Height()) * zoom)};
}

Size ScrollExtent(int width, int height, float zoom) {
    return {Trunc(static_cast<float>(width) * zoom), Trunc(static_cast<float>(height) * zoom)};
}

ScrollSteps ScrollStepsFor(Size extent) {
    const Size page{extent.width / 10, extent.height / 10};
    return {page, {page.width / 10, page.height / 10}};
}

std::optional<Point> CentreOnTarget(Point zoomedPoint, Size client, Size extent) {
    const bool horizontal = extent.width > client.width;
    const bool vertical = extent.height > client.height;
    if (!horizontal && !vertical) {
        return std::nullopt;
    }
    return Point{horizontal ? zoomedPoint.x - client.width / 2 : 0,
                 vertical ? zoomedPoint.y - client.height / 2 : 0};
}

ScrollLayout ScrollLayoutFor(Size area, Size extent, Size bars) {
    ScrollLayout layout;
    const auto clientOf = [&](const ScrollLayout& l) {
        return Size{std::max(0, area.width - (l.vertical ? bars.width : 0)),
                    std::max(0, area.height - (l.horizontal ? bars.height : 0))};
    };
    // Bars only ever add up (each narrows the client), so this settles within three rounds.
    for (int round = 0; round < 3; ++round) {
        layout.client = clientOf(layout);
        layout.horizontal = extent.width > layout.client.width;
        layout.vertical = extent.height > layout.client.height;
    }
    layout.client = clientOf(layout);
    return layout;
}

}  // namespace palvex
