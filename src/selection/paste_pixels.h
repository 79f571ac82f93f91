#pragma once

#include "image/bitmap.h"
#include "image/geometry.h"

namespace palvex {

// The pixel work of the selection and the floating picture.

// The pixels under `area` at 1:1; what lies beyond the image keeps kOutsideImageColour. False
// when the picture cannot be made.
[[nodiscard]] bool CopyArea(const Bitmap& image, const Rect& area, Bitmap& out);

// The part `visible` of the picture `src` (its top-left `srcSize` pixels) stretched by nearest
// neighbour over `target`: target pixel i takes source pixel floor(i x source side / target
// side). `out` gets the size of visible clipped to target; only that part is computed, so a
// large stretch costs what is seen. False when nothing is visible or out cannot be made.
[[nodiscard]] bool StretchPart(const Bitmap& src, Size srcSize, const Rect& target,
                               const Rect& visible, Bitmap& out);

// The floating picture stretched into `target` of the image, opaque; what falls beyond the image
// is lost. Returns the changed image rectangle (empty when nothing lands on the image).
Rect PastePicture(Bitmap& image, const Bitmap& picture, Size pictureSize, const Rect& target);

// Re-makes the picture at `newSize` from its `pictureSize` pixels. On failure (a side below 1,
// no memory) the picture and its size are left as they were.
[[nodiscard]] bool ResamplePicture(Bitmap& picture, Size& pictureSize, Size newSize);

// A pasted picture of `picture` pixels needs the image enlarged; the enlarged size, if it can
// be held (computed in 64 bits).
bool PasteEnlarges(Size image, Size picture);
bool EnlargedSizeFits(Size image, Size picture);
// The image enlarged to hold the picture: the old pixels at (0, 0), the new area white.
[[nodiscard]] bool EnlargeImage(const Bitmap& image, Size picture, Bitmap& out);

// Fills the part of `area` inside the image. Returns that part.
Rect FillArea(Bitmap& image, const Rect& area, Pixel value);

}  // namespace palvex
