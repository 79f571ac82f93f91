#include "selection/selection.h"

#include <algorithm>
#include <cstdlib>

namespace palvex {
namespace {

int Trunc(float v) {
    return static_cast<int>(v);
}

}  // namespace

std::array<Point, 8> HandlePoints(const Rect& r) {
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    return {Point{r.left, r.top},    Point{r.right, r.top}, Point{r.right, r.bottom},
            Point{r.left, r.bottom}, Point{cx, r.top},      Point{r.right, cy},
            Point{cx, r.bottom},     Point{r.left, cy}};
}

int HandleAt(const Rect& r, Point client, const CanvasMapping& mapping) {
    const std::array<Point, 8> handles = HandlePoints(r);
    for (int i = 0; i < 8; ++i) {
        const Point h = mapping.ImageToWindow(handles[i]);
        if (h.x - kHandleReach <= client.x && client.x < h.x + kHandleReach &&
            h.y - kHandleReach <= client.y && client.y < h.y + kHandleReach) {
            return i;
        }
    }
    return -1;
}

Rect WindowRectToImage(const Rect& window, const CanvasMapping& mapping) {
    const Point topLeft = mapping.WindowToImage({window.left, window.top});
    return {topLeft.x, topLeft.y,
            topLeft.x + Trunc(static_cast<float>(window.Width()) / mapping.zoom),
            topLeft.y + Trunc(static_cast<float>(window.Height()) / mapping.zoom)};
}

Rect ImageRectToWindow(const Rect& image, const CanvasMapping& mapping) {
    return ZoomedRect(image, mapping.zoom).Translated(-mapping.scroll.x, -mapping.scroll.y);
}

bool RubberBand::Track(Point q, Size image, const CanvasMapping& mapping) {
    const Point c{std::clamp(q.x, 0, std::max(0, image.width - 1)),
                  std::clamp(q.y, 0, std::max(0, image.height - 1))};
    const Point a = mapping.ImageToWindow(start_);
    const Point b = mapping.ImageToWindow(c);
    if (std::abs(b.x - a.x) > kBandThreshold || std::abs(b.y - a.y) > kBandThreshold) {
        corner_ = c;
        return true;
    }
    return false;
}

Rect RubberBand::Band() const {
    if (!corner_) {
        return {};
    }
    return {std::min(start_.x, corner_->x), std::min(start_.y, corner_->y),
            std::max(start_.x, corner_->x), std::max(start_.y, corner_->y)};
}

Rect RubberBand::Result() const {
    const Rect r = Band();
    if (r.Width() < kMinSelectionSide || r.Height() < kMinSelectionSide) {
        return {};
    }
    return r;
}

Rect MovedSelection(const Rect& r, Point client, Point grab, const CanvasMapping& mapping,
                    bool keepSize) {
    const Rect window = ImageRectToWindow(r, mapping);
    const int left = client.x - grab.x;
    const int top = client.y - grab.y;
    const Rect moved =
        WindowRectToImage({left, top, left + window.Width(), top + window.Height()}, mapping);
    return keepSize ? WithSize(moved, {r.Width(), r.Height()}) : moved;
}

Rect SteppedSelection(const Rect& r, int dx, int dy, float zoom, bool keepSize) {
    const CanvasMapping mapping{zoom, {}};
    const Rect stepped =
        WindowRectToImage(ImageRectToWindow(r.Translated(dx, dy), mapping), mapping);
    return keepSize ? WithSize(stepped, {r.Width(), r.Height()}) : stepped;
}

Rect WithSize(const Rect& r, Size size) {
    return {r.left, r.top, r.left + size.width, r.top + size.height};
}

// Only the top-left passes through window pixels: a size taken back from zoomed pixels would
// lose a column or row at 50 %, and the commit would stretch the picture over what is left.
Rect PastePlacement(Point centre, Size size, const CanvasMapping& mapping) {
    const int halfW = Trunc(static_cast<float>(size.width) * mapping.zoom) / 2;
    const int halfH = Trunc(static_cast<float>(size.height) * mapping.zoom) / 2;
    return WithSize(mapping.WindowToImage({centre.x - halfW, centre.y - halfH}), size);
}

Point PasteCentre(Size client, Size image, const CanvasMapping& mapping) {
    const Point first = mapping.ImageToWindow({0, 0});
    const Point end = mapping.ImageToWindow({image.width, image.height});
    const int left = std::max(0, first.x);
    const int top = std::max(0, first.y);
    const int right = std::min(client.width, end.x);
    const int bottom = std::min(client.height, end.y);
    if (left >= right || top >= bottom) {
        return {client.width / 2, client.height / 2};
    }
    return {(left + right) / 2, (top + bottom) / 2};
}

Rect ShiftedInto(const Rect& r, Size image) {
    const Rect n = r.Translated(std::max(0, -r.left), std::max(0, -r.top));
    return n.Translated(std::min(0, image.width - n.right), std::min(0, image.height - n.bottom));
}

Rect RestoredPasteRect(const Rect& r, Size pasteSize, Size image, float zoom) {
    const CanvasMapping mapping{zoom, {}};
    Rect n = WithSize(mapping.WindowToImage(mapping.ImageToWindow({r.left, r.top})), pasteSize);
    if (n.Width() > image.width) {
        n = {0, n.top, image.width, n.bottom};
    }
    if (n.Height() > image.height) {
        n = {n.left, 0, n.right, image.height};
    }
    return ShiftedInto(n, image);
}

Rect RecentredRect(const Rect& r, Size size) {
    const int left = (r.left + r.right) / 2 - size.width / 2;
    const int top = (r.top + r.bottom) / 2 - size.height / 2;
    return {left, top, left + size.width, top + size.height};
}

int NextSide(int side, bool reverse) {
    return (side + (reverse ? 3 : 1)) % 4;
}

}  // namespace palvex
