#pragma once

#include "image/bitmap.h"

namespace palvex {

// Whole-image edits that can be taken back exactly by another of them, so that their undo step
// needs no copy of the pixels. Every byte of every pixel is kept or complemented, never lost.
enum class ImageOperation : int {
    Invert,                // colour channels v -> 255 - v; the fourth byte is kept
    MirrorX,               // (x, y) -> (w - 1 - x, y)
    MirrorY,               // (x, y) -> (x, h - 1 - y)
    Turn180,               // both mirrors
    TurnClockwise,         // (x, y) -> (h - 1 - y, x); the image becomes h x w
    TurnCounterClockwise,  // (x, y) -> (y, w - 1 - x)
};

// The operation that undoes `op`.
ImageOperation Inverse(ImageOperation op);

// Applies `op` to the image. The mirrors and the inversion work in place and cannot fail; a turn
// of an image that is not square is built in a new buffer (`spare`, when it already has the
// room, else a fresh one), and the old buffer is left in `spare` for the next turn. False, with
// the image as it was, when no buffer could be had or the image is null.
[[nodiscard]] bool ApplyOperation(Bitmap& image, ImageOperation op, Bitmap* spare = nullptr);

}  // namespace palvex
