#include "canvas/image_layer.h"

#include <algorithm>
#include <vector>

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

namespace {

// The tile a mode repeats; nullptr for the solid modes and for a tile that is missing.
const Bitmap* TileOf(std::int32_t mode, const BackgroundTiles& tiles) {
    const Bitmap* tile = mode == kBackgroundChecker   ? &tiles.checker
                         : mode == kBackgroundIcon    ? &tiles.icon
                         : mode == kBackgroundPicture ? &tiles.picture
                                                      : nullptr;
    return tile != nullptr && !tile->IsNull() ? tile : nullptr;
}

// Other negative values are no colour: a missing tile and a garbled mode show neutral.
Colour SolidOf(std::int32_t mode) {
    return mode >= 0 ? static_cast<Colour>(mode) : kNeutralColour;
}

}  // namespace

void FillBackground(Bitmap& screen, const Rect& area, std::int32_t mode,
                    const BackgroundTiles& tiles) {
    const Rect clipped = area.Intersected(screen.Bounds());
    if (clipped.IsEmpty()) {
        return;
    }
    if (const Bitmap* tile = TileOf(mode, tiles)) {
        PatternFill(screen, clipped, *tile, {0, 0});
        return;
    }
    FillRect(screen, clipped, SolidOf(mode));
}

namespace {

// The background of window rows for a keyed copy over it. Rows of a small tile are made once
// each for the whole call; a large picture is repeated one row at a time.
class LayerBackground final : public BackgroundRows {
public:
    LayerBackground(std::int32_t mode, const BackgroundTiles& tiles)
        : tile_(TileOf(mode, tiles)), solid_(PixelFromColour(SolidOf(mode))) {}

    const Pixel* Row(int y, int x, std::size_t count) override {
        if (tile_ == nullptr) {
            if (rows_.size() < count) {
                rows_.assign(count, solid_);
            }
            return rows_.data();
        }
        const int tileRow = y % tile_->Height();
        // Every row of one call starts at the same column, so a cached row stays valid.
        constexpr std::size_t kCachedPixels = std::size_t{1} << 20;
        const auto height = static_cast<std::size_t>(tile_->Height());
        if (height * count <= kCachedPixels) {
            if (count != width_) {
                width_ = count;
                rows_.assign(height * count, 0);
                made_.assign(height, false);
            }
            Pixel* row = rows_.data() + static_cast<std::size_t>(tileRow) * count;
            if (!made_[tileRow]) {
                Repeat(tileRow, x, count, row);
                made_[tileRow] = true;
            }
            return row;
        }
        if (rows_.size() < count) {
            rows_.resize(count);
        }
        Repeat(tileRow, x, count, rows_.data());
        return rows_.data();
    }

private:
    void Repeat(int tileRow, int x, std::size_t count, Pixel* out) const {
        const int width = tile_->Width();
        const Pixel* source = tile_->Row(tileRow);
        int column = x % width;
        for (std::size_t i = 0; i < count;) {
            const std::size_t run = std::min<std::size_t>(count - i, width - column);
            std::copy_n(source + column, run, out + i);
            i += run;
            column = 0;
        }
    }

    const Bitmap* tile_;
    Pixel solid_;
    std::vector<Pixel> rows_;
    std::vector<bool> made_;
    std::size_t width_ = 0;
};

}  // namespace

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
    LayerBackground background(backgroundMode, tiles);
    KeyedStretchCopyOver(screen, target, layer.image, source, layer.key, background);
    return visible;
}

void FillBeyondImage(Bitmap& screen, Point scroll, Size zoomedImage, Size client) {
    const int right = zoomedImage.width - scroll.x;
    const int bottom = zoomedImage.height - scroll.y;
    FillRect(screen, Rect{right, 0, client.width, client.height}.Intersected(screen.Bounds()),
             kNeutralColour);
    FillRect(
        screen,
        Rect{0, bottom, std::min(right, client.width), client.height}.Intersected(screen.Bounds()),
        kNeutralColour);
}

}  // namespace palvex
