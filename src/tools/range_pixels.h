#pragma once

#include <vector>

#include "canvas/canvas_mapping.h"
#include "image/geometry.h"
#include "tools/processing_range.h"
#include "tools/range_shape.h"

namespace palvex {

// Pixels begin .. end - 1 of row y.
struct RangeSpan {
    int y = 0;
    int begin = 0;
    int end = 0;
    friend bool operator==(const RangeSpan&, const RangeSpan&) = default;
};

// The image pixels one application of the range visits, as row spans inside the image (rows
// ascending, one or more spans a row, left to right), with the order they are visited in.
struct RangePixelSet {
    std::vector<RangeSpan> spans;
    // Rectangle and triangle visit columns left to right and each column top to bottom; the
    // ellipse and a single pixel visit rows. Only the fill-back pen, which reads neighbours it
    // may have written, can tell the two apart.
    bool columnsFirst = false;
    // The rectangle reported as processed. It may reach outside the image, and for the ellipse
    // it can miss a column or row of visited pixels at zooms above 100 %.
    Rect reported;
    // The exact bounds of the visited pixels (empty when none is visited).
    Rect bounds;

    std::size_t PixelCount() const;
};

// The pixels of the shape range drawn last (`outline`, client pixels) for an application at the
// image point q. Size 1 is the pixel q alone. The rectangle and triangle visit the pixels of the
// corners' image bounding box, without its last column and row, that the winding test puts
// inside; the ellipse visits each row between the leftmost and rightmost outline point of that
// row, and a row narrower than 5 pixels repeats the span of the row above. Pixels outside the
// image are never visited.
RangePixelSet RangePixels(const ProcessingRange& range, const RangeOutline& outline, Point q,
                          const CanvasMapping& mapping, Size image);

// Calls f(x, y) for every pixel in the set's visiting order.
template <class F>
void ForEachRangePixel(const RangePixelSet& set, F&& f) {
    if (!set.columnsFirst) {
        for (const RangeSpan& s : set.spans) {
            for (int x = s.begin; x < s.end; ++x) {
                f(x, s.y);
            }
        }
        return;
    }
    for (int x = set.bounds.left; x < set.bounds.right; ++x) {
        for (const RangeSpan& s : set.spans) {
            if (x >= s.begin && x < s.end) {
                f(x, s.y);
            }
        }
    }
}

}  // namespace palvex
