#pragma once

#include <array>
#include <optional>

#include "canvas/canvas_mapping.h"
#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// The selection rectangle, its handles and drags, and the floating picture of a paste. All
// rectangles are in image pixels with right and bottom one beyond, unless named window.

inline constexpr int kMinSelectionSide = 15;
// A rubber band starts to count once it spans more than this many window pixels.
inline constexpr int kBandThreshold = 9;
// A handle is hit within this many window pixels of its point.
inline constexpr int kHandleReach = 5;
// What a copy shows where the selection lies beyond the image: RGB(214, 222, 231).
inline constexpr Colour kOutsideImageColour = 0x00E7DED6u;

struct SelectionState {
    Rect rect;               // empty: none; the floating picture's place in the paste mode
    bool pasteMode = false;  // a floating picture exists
    Bitmap pasteBuffer;      // the floating picture, or the last copied selection
    Size pasteSize;          // the picture's own size, which it is stretched from
    int selectedSide = 1;    // 0 left, 1 top, 2 right, 3 bottom

    bool HasSelection() const { return !rect.IsEmpty(); }
};

// (left, top), (right, top), (right, bottom), (left, bottom), then the middles of the top, right,
// bottom and left sides.
std::array<Point, 8> HandlePoints(const Rect& r);
// The first handle whose zoomed point h has h - 5 <= p < h + 5 on both axes; -1 for none.
int HandleAt(const Rect& r, Point client, const CanvasMapping& mapping);

// A window rectangle in image pixels: left = trunc((window left + scroll) / zoom), width =
// trunc(window width / zoom); likewise vertically.
Rect WindowRectToImage(const Rect& window, const CanvasMapping& mapping);
// An image rectangle in window pixels (each edge through ZoomedRect, then the scroll).
Rect ImageRectToWindow(const Rect& image, const CanvasMapping& mapping);

// The rubber band of a press beside the selection.
class RubberBand {
public:
    explicit RubberBand(Point start) : start_(start) {}
    // The pointer's image point, limited to the image; true when the far corner was recorded.
    bool Track(Point q, Size image, const CanvasMapping& mapping);
    bool HasCorner() const { return corner_.has_value(); }
    // The band so far, normalised; empty before a corner was recorded.
    Rect Band() const;
    // The selection the band makes at release: empty when narrower or lower than 15 pixels.
    Rect Result() const;

private:
    Point start_;
    std::optional<Point> corner_;
};

// A moved selection: the pointer minus the grab distance is its new window top-left; its
// window size is kept and the whole taken back to image pixels. Not limited to the image.
// `keepSize` (a floating picture): only the place changes, never the size in image pixels.
Rect MovedSelection(const Rect& r, Point client, Point grab, const CanvasMapping& mapping,
                    bool keepSize = false);

// An arrow key without Shift: the selection moves by (dx, dy) and passes through window
// coordinates and back, so at zoom 0.5 its places and sizes become even (with `keepSize`,
// only its place).
Rect SteppedSelection(const Rect& r, int dx, int dy, float zoom, bool keepSize = false);

// `r`'s top-left with `size`.
Rect WithSize(const Rect& r, Size size);
inline Rect WithSize(Point topLeft, Size size) {
    return {topLeft.x, topLeft.y, topLeft.x + size.width, topLeft.y + size.height};
}

// Where a pasted picture of `size` floats, centred on the window point `centre`: exactly its
// own size in image pixels at every zoom. Not limited to the image.
Rect PastePlacement(Point centre, Size size, const CanvasMapping& mapping);
// The window point a paste with no point of its own centres on: the middle of the part of the
// client area that shows the image. A picture pasted over an image smaller than the window
// would otherwise float beside it, and putting it down would drop it without a word.
Point PasteCentre(Size client, Size image, const CanvasMapping& mapping);
// `r` moved, keeping its size, as little as needed to lie within the image (right and bottom
// win when it is larger).
Rect ShiftedInto(const Rect& r, Size image);

// The floating picture back at exactly its own size, kept at its top-left but fitted into the
// image.
Rect RestoredPasteRect(const Rect& r, Size pasteSize, Size image, float zoom);

// The floating picture keeps its centre at its new size.
Rect RecentredRect(const Rect& r, Size size);

// Tab steps the selected side left, top, right, bottom (reverse: backwards), wrapping.
int NextSide(int side, bool reverse);

}  // namespace palvex
