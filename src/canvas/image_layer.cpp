#include "canvas/image_layer.h"
#include <algorithm>

#include "canvas/canvas_mapping.h"
#include "image/raster/draw.h"
#include "image/raster/ellipse.h"
#include "image/raster/pattern.h"
#include "image/raster/stretch_copy.h"

namespace palvex {

Bitmap MakeCheckerTile() {
    Bitmap tile;
    if (!tile.Create(16, 16)) {
        return tile;
    }
    const Pixel grey = PixelFromColour(Rgb(128, 128, 128));
    const Pixel silver = PixelFromColour(Rgb(192, 192, 192));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            tile.Row(y)[x] = (x < 8) == (y < 8) ? grey : silver;
        }
    }
    return tile;
}

Bitmap MakeIconTile() {
    // A small yellow sun on white: easy to tell from any image content.
    Bitmap tile;
    if (!tile.Create(32, 32)) {
        return tile;
    }
    tile.Fill(PixelFromColour(Rgb(255, 255, 255)));
    FillEllipse(tile, {6, 6, 26, 26}, Rgb(232, 176, 0));
    FillEllipse(tile, {8, 8, 24, 24}, Rgb(255, 214, 32));
    FillEllipse(tile, {11, 11, 15, 15}, Rgb(255, 240, 160));
    return tile;
}

void FillBackground(Bitmap& screen, const Rect& area, std::int32_t mode,
                    const BackgroundTiles& tiles) {
    const Rect clipped = area.Intersected(screen.Bounds());
    if (clipped.IsEmpty()) {
        return;
    }
    const Bitmap* tile = mode == kBackgroundChecker ? &tiles.checker
                         : mode == kBackgroundIcon  ? &tiles.icon
                         : mode == kBackgroundPicture ? &tiles.picture
                                                      : nullptr;
    if (tile != nullptr && !tile->IsNull()) {
        PatternFill(screen, clipped, *tile, {0, 0});
        return;
    }
    // Other negative values are no colour: a missing tile and a garbled mode show neutral.
    const Colour colour = mode >= 0 ? static_cast<Colour>(mode) : kNeutralColour;
    FillRect(screen, clipped, colour);
}

Rect DrawImageLayer(Bitmap& screen, Point scroll, const ImageLayer& layer, const Rect& dirty,
                    std::int32_t backgroundMode, const BackgroundTiles& tiles) {
    if (layer.image.IsNull() || screen.IsNull()) {
        return {};
    }
    const Rect source = dirty.IsEmpty() ? layer.image.Bounds() : dirty;
    const Rect target = ZoomedRect(source, layer.zoom).Translated(-scroll.x, -scroll.y);
    const Rect visible = target.Intersected(screen.Bounds());
    if (visible.IsEmpty()) {
        return {};
    }
    FillBackground(screen, visible, backgroundMode, tiles);
    KeyedStretchCopy(screen, target, layer.image, source, layer.key);
    return visible;
}

void FillBeyondImage(Bitmap& screen, Point scroll, Size zoomedImage, Size client) {
    const int right = zoomedImage.width - scroll.x;
    const int bottom = zoomedImage.height - scroll.y;
    FillRect(screen, Rect{right, 0, client.width, client.height}.Intersected(screen.Bounds()),
             kNeutralColour);
    FillRect(screen, Rect{0, bottom, std::min(right, client.width), client.height}.Intersected(
                         screen.Bounds()),
             kNeutralColour);
}

}  // namespace palvex
