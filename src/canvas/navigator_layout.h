#pragma once

#include <cstdint>
#include <optional>

#include "app/app_settings.h"
#include "canvas/image_layer.h"
#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// The navigator's arithmetic: where the thumbnail sits, the frame of what the canvas shows,
// the scrolling a frame drag asks for, and the window's placement. Single precision and
// truncation, as the canvas's own mapping.

inline constexpr Colour kNavigatorNeutral = Rgb(214, 222, 231);
inline constexpr int kNavigatorMinSide = 100;
inline constexpr int kNavigatorMaxSide = 600;

struct NavigatorThumbnail {
    Rect rect;           // navigator client pixels
    float scale = 1.0f;  // navigator pixels per image pixel
};

// A small image sits centred at scale 1; a larger one is fitted to the client by its tighter
// side and centred along the other.
NavigatorThumbnail LayOutThumbnail(Size client, Size image);

// The part of the image the canvas shows, scaled into the thumbnail; the thumbnail itself when
// the canvas has no scroll bar.
Rect NavigatorViewFrame(const NavigatorThumbnail& thumb, Size image, float zoom, Point scroll,
                        Size canvasClient, bool canvasScrolls);

// The frame's outline colour against the corner pixel c: 16581375 - c, kept to 24 bits.
Colour FrameOutlineColour(Colour corner);

// A frame drag's scroll position on one axis: trunc((pointer - origin - press) x zoom / scale),
// not below 0.
int FrameDragScroll(int pointer, int thumbOrigin, int pressDistance, float zoom, float scale);

// Zooming in on navigator point p: the image pixel under it scaled to 800 %, the point the
// canvas centres on.
Point NavigatorZoomCentre(Point p, const NavigatorThumbnail& thumb);

// The snap at 800 %: the pointer comes closer than 20 pixels to the frame's centre.
inline constexpr int kSnapDistance = 20;
Point FrameCentre(const Rect& frame);
bool SnapsToFrameCentre(const Rect& frame, Point pointer);

// The window fitted to the image's aspect ratio keeping its width or height; sides kept to
// 100..600. Nothing without an image.
std::optional<Size> AspectFitKeepingWidth(Size window, Size image);
std::optional<Size> AspectFitKeepingHeight(Size window, Size image);

// The stored placement (section Navi): both positions 0 centre the window on its owner;
// otherwise the position is kept on `screen` and a stored width other than 0 gives the size.
Rect PlaceNavigator(const NavigatorPlacement& stored, Size designed, const Rect& screen,
                    const Rect& owner);

// A window position kept on `screen` for a window of `size`.
Point KeepOnScreen(Point topLeft, Size size, const Rect& screen);

// The navigator's picture of the image: each pixel the mean of the image pixels it covers that
// are not the key colour, its fourth byte the share of those pixels (255: none is the key, 0:
// all are). Made once per image and mended where an edit changes it, never on a scroll.
bool MakeNavigatorPicture(const Bitmap& image, Colour key, Size size, Bitmap& picture);
// Recomputes the picture's pixels that cover `imageRect`.
void UpdateNavigatorPicture(const Bitmap& image, Colour key, const Rect& imageRect,
                            Bitmap& picture);

// The navigator's client as drawn before its frame: the neutral colour, the canvas's background
// over the thumbnail (tiles aligned to the client's corner), the picture blended over it.
void ComposeNavigator(Bitmap& screen, const NavigatorThumbnail& thumb, const Bitmap& picture,
                      std::int32_t backgroundMode, const BackgroundTiles& tiles);

}  // namespace palvex
