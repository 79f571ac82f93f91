#pragma once

#include <cstdint>

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// The colour around the image and, with no background, under its transparent pixels. In the
// see-through mode the window lets the desktop show wherever it has exactly this colour.
inline constexpr Colour kNeutralColour = Rgb(214, 222, 231);

// What shows through key-coloured pixels: one of these, or a colour value (0x00BBGGRR).
inline constexpr std::int32_t kBackgroundNone = -1;
inline constexpr std::int32_t kBackgroundChecker = -2;
inline constexpr std::int32_t kBackgroundIcon = -3;
inline constexpr std::int32_t kBackgroundPicture = -4;
inline constexpr std::int32_t kDefaultBackground = 0x80FFFF;  // pale yellow

// The repeated tiles, aligned to the window's client origin whatever the scroll position.
struct BackgroundTiles {
    Bitmap checker;  // 16 x 16
    Bitmap icon;     // 32 x 32
    Bitmap picture;  // the user's free background picture at its own size; may be null
};

Bitmap MakeCheckerTile();
Bitmap MakeIconTile();

// Fills a window rectangle of `screen` (whose pixel (0, 0) is the client area's top-left) with
// the background of `mode`.
void FillBackground(Bitmap& screen, const Rect& area, std::int32_t mode,
                    const BackgroundTiles& tiles);

struct ImageLayer {
    const Bitmap& image;
    Colour key;  // pixels of this colour are left out, so the background shows
    float zoom;
};

// Draws the image layer into `screen` for a view scrolled to `scroll`: the background, then the
// image scaled by nearest pixel without its key-coloured pixels. `dirty` (image pixels) limits
// the work to the part an edit changed; empty redraws the whole image. Only what falls inside
// the screen is drawn, so the cost follows the visible area, never the image size. Returns the
// window rectangle drawn.
Rect DrawImageLayer(Bitmap& screen, Point scroll, const ImageLayer& layer, const Rect& dirty,
                    std::int32_t backgroundMode, const BackgroundTiles& tiles);

// Fills the client area right of and below the zoomed image with the neutral colour.
void FillBeyondImage(Bitmap& screen, Point scroll, Size zoomedImage, Size client);

}  // namespace palvex
