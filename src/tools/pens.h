#pragma once

#include <functional>

#include "canvas/canvas_mapping.h"
#include "image/bitmap.h"
#include "image/colour.h"
#include "image/raster/key_run_record.h"
#include "tools/processing_range.h"
#include "tools/range_pixels.h"
#include "tools/range_shape.h"

namespace palvex {

class PenStroke;

// The pen writes the drawing colour into the target pixels of the range (it is the transparent
// pen when that colour is the key); the fill-back pen gives every key-coloured pixel of the
// range the mean colour of its other neighbours.
enum class PenMode { Pen, FillBack };

struct PenSettings {
    PenMode mode = PenMode::Pen;
    Colour drawColour = 0;
    Colour key = 0;
    TargetColours targets;
};

// Progress of a whole-image pass: called with (position, range), and with position 0 at the end.
using PassProgress = std::function<void(int position, int range)>;

// The mean colour of the pixel's neighbours that are not the key, read in a fixed order; a
// neighbour outside the image reads as white. Black when every neighbour is the key.
Colour FillBackColour(const Bitmap& image, int x, int y, Colour key);

// What one application processed: the reported rectangle (when it is empty the caller does not
// repaint) and the exact bounds of the visited pixels.
struct PenApplied {
    Rect reported;
    Rect visited;
};

// One application at the image point q over `pixels` (RangePixels for the outline drawn last).
// The reference colour is the pixel at q, read again at every application. Pixels are read and
// written in place in the set's visiting order, so the fill-back pen sees what it wrote
// before. With a stroke, the blocks about to be visited are kept first and the rectangles
// recorded. The whole-image range has no shape: it goes through ApplyPenWholeImage.
PenApplied ApplyPen(Bitmap& image, Point q, const RangePixelSet& pixels,
                    const PenSettings& settings, PenStroke* stroke = nullptr);

// The same for the range outline drawn last at a zoom and scroll position.
PenApplied ApplyPen(Bitmap& image, Point q, const ProcessingRange& range,
                    const RangeOutline& outline, const CanvasMapping& mapping,
                    const PenSettings& settings, PenStroke* stroke = nullptr);

// The whole-image pen combined with "all colours" would turn the whole image into one colour;
// it is refused (string 30003) before anything changes.
bool WholeImagePenRefused(const PenSettings& settings);

// The whole-image pass of the pen: every pixel within the tolerance of the reference colour on
// all three channels gets the colour's red, green and blue; the fourth byte stays.
void ReplaceMatchingColours(Bitmap& image, Colour reference, Colour drawColour, int tolerance);

// The whole-image fill-back: the pixels that filling columns left to right, each top to bottom,
// in place, gives. Progress range is the width; positions are multiples of 20. With `before`
// (Reset to the image's size), the pass also sets the bits where the key was before it, taken
// as it reads the image: the undo record needs no scan of its own.
void FillBackWholeImage(Bitmap& image, Colour key, const PassProgress& progress = {},
                        KeyBits* before = nullptr);

// The ways that pass can run, all to the same pixels: column by column, or in strips of columns
// on every core with vectors of the build's own width or of the processor's AVX2 or AVX-512.
// FillBackWholeImage takes the fastest available; tests compare them.
enum class FillBackPass { Columns, Vectors, Avx2, Avx512 };
bool FillBackPassAvailable(FillBackPass pass);
void FillBackWholeImage(Bitmap& image, Colour key, FillBackPass pass,
                        const PassProgress& progress = {}, KeyBits* before = nullptr);

// The whole-image application at the press (the caller has pushed a whole-image undo
// snapshot, or passes `before` to the fill-back). False, changing nothing, when
// WholeImagePenRefused.
bool ApplyPenWholeImage(Bitmap& image, Point q, const PenSettings& settings,
                        const PassProgress& progress = {}, KeyBits* before = nullptr);

}  // namespace palvex
