#include "canvas/image_layer.h"

#include <gtest/gtest.h>

#include "canvas/canvas_mapping.h"
#include "image/raster/stretch_copy.h"
#include "support/test_support.h"

namespace palvex {
namespace {

constexpr Colour kKey = Rgb(0, 255, 0);
const Pixel kSentinel = 0xFF123456u;
const Pixel kGrey = PixelFromColour(Rgb(128, 128, 128));
const Pixel kSilver = PixelFromColour(Rgb(192, 192, 192));

// A 4 x 2 image: key pixels in column 0, red elsewhere.
Bitmap Image() {
    Bitmap image = test::SolidBitmap(4, 2, PixelFromColour(Rgb(255, 0, 0)));
    image.WritePixel(0, 0, kKey);
    image.WritePixel(0, 1, kKey);
    return image;
}

BackgroundTiles Tiles() {
    return {MakeCheckerTile(), MakeIconTile(), {}};
}

TEST(ImageLayer, KeyPixelsShowEachBackground) {
    const Bitmap image = Image();
    const BackgroundTiles tiles = Tiles();
    const ImageLayer layer{image, kKey, 2.0f};
    struct Case {
        std::int32_t mode;
        Pixel expected;
    };
    for (const Case& c :
         {Case{kBackgroundNone, PixelFromColour(kNeutralColour)}, Case{kBackgroundChecker, kGrey},
          Case{kBackgroundIcon, tiles.icon.Row(0)[0]},
          Case{0x0000FF, PixelFromColour(Rgb(255, 0, 0))},
          Case{kDefaultBackground, PixelFromColour(Rgb(255, 255, 128))},
          Case{kBackgroundPicture, PixelFromColour(kNeutralColour)}}) {
        SCOPED_TRACE(c.mode);
        Bitmap screen = test::SolidBitmap(20, 10, kSentinel);
        EXPECT_EQ(DrawImageLayer(screen, {0, 0}, layer, {}, c.mode, tiles), (Rect{0, 0, 8, 4}));
        EXPECT_EQ(screen.Row(0)[0], c.expected);
        EXPECT_EQ(screen.Row(3)[1], c.mode == kBackgroundChecker ? kGrey : c.expected);
        EXPECT_EQ(screen.Row(0)[2], PixelFromColour(Rgb(255, 0, 0)));
        EXPECT_EQ(screen.Row(0)[8], kSentinel);  // outside the image: not this layer's
    }
}

TEST(ImageLayer, TilesStayWithTheWindowWhileTheImageScrolls) {
    Bitmap image = test::SolidBitmap(40, 40, PixelFromColour(kKey));
    image.WritePixel(9, 0, Rgb(1, 2, 3));
    const BackgroundTiles tiles = Tiles();
    Bitmap screen = test::SolidBitmap(16, 16, kSentinel);
    DrawImageLayer(screen, {1, 0}, {image, kKey, 1.0f}, {}, kBackgroundChecker, tiles);
    EXPECT_EQ(screen.Row(0)[7], kGrey);
    EXPECT_EQ(screen.Row(0)[8], PixelFromColour(Rgb(1, 2, 3)));  // image pixel 9 moved left
    EXPECT_EQ(screen.Row(0)[9], kSilver);
    EXPECT_EQ(screen.Row(8)[0], kSilver);
}

TEST(ImageLayer, DirtyRectRedrawsOnlyItsZoomedRectangle) {
    const Bitmap image = test::SolidBitmap(30, 30, PixelFromColour(Rgb(9, 9, 9)));
    Bitmap screen = test::SolidBitmap(200, 200, kSentinel);
    const Rect drawn = DrawImageLayer(screen, {0, 0}, {image, kKey, 4.0f}, {10, 10, 20, 20},
                                      kBackgroundNone, Tiles());
    EXPECT_EQ(drawn, (Rect{40, 40, 80, 80}));
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool inside = drawn.Contains(x, y);
            ASSERT_EQ(screen.Row(y)[x] == kSentinel, !inside) << x << "," << y;
        }
    }
}

TEST(ImageLayer, OnlyTheVisiblePartIsDrawn) {
    const Bitmap image = test::SolidBitmap(100, 100, PixelFromColour(Rgb(5, 5, 5)));
    Bitmap screen = test::SolidBitmap(50, 40, kSentinel);
    const Rect drawn =
        DrawImageLayer(screen, {300, 200}, {image, kKey, 8.0f}, {}, kBackgroundNone, Tiles());
    EXPECT_EQ(drawn, (Rect{0, 0, 50, 40}));
    EXPECT_EQ(screen.Row(39)[49], PixelFromColour(Rgb(5, 5, 5)));
}

TEST(ImageLayer, TheAreaBeyondTheImageIsNeutral) {
    Bitmap screen = test::SolidBitmap(10, 10, kSentinel);
    FillBeyondImage(screen, {0, 0}, {6, 4}, {8, 9});
    EXPECT_EQ(screen.Row(0)[5], kSentinel);
    EXPECT_EQ(screen.Row(0)[6], PixelFromColour(kNeutralColour));
    EXPECT_EQ(screen.Row(4)[0], PixelFromColour(kNeutralColour));
    EXPECT_EQ(screen.Row(9)[0], kSentinel);  // below the client area
    EXPECT_EQ(screen.Row(0)[8], kSentinel);
}

TEST(ImageLayer, OnePassEqualsBackgroundThenKeyedCopy) {
    // Random pixels, a third of them the key, at every zoom, scroll and background.
    Bitmap image = test::SolidBitmap(53, 37, 0);
    std::uint32_t seed = 7;
    for (Pixel& p : image.Pixels()) {
        seed = seed * 1664525u + 1013904223u;
        p = seed % 3 == 0 ? PixelFromColour(kKey) : (seed >> 8) | 0xFF000000u;
    }
    BackgroundTiles tiles = Tiles();
    tiles.picture = test::SolidBitmap(7, 5, 0xFF010203u);
    tiles.picture.WritePixel(3, 2, Rgb(9, 8, 7));
    for (const float zoom : {0.5f, 1.0f, 2.0f, 8.0f}) {
        for (const Point scroll : {Point{0, 0}, Point{13, 5}}) {
            for (const std::int32_t mode : {kBackgroundNone, kBackgroundChecker, kBackgroundIcon,
                                            kBackgroundPicture, std::int32_t{0x123456}}) {
                SCOPED_TRACE(testing::Message() << zoom << " " << scroll.x << " " << mode);
                Bitmap actual = test::SolidBitmap(90, 70, kSentinel);
                Bitmap expected = test::SolidBitmap(90, 70, kSentinel);
                const Rect drawn =
                    DrawImageLayer(actual, scroll, {image, kKey, zoom}, {}, mode, tiles);
                FillBackground(expected, drawn, mode, tiles);
                KeyedStretchCopy(expected,
                                 ZoomedRect(image.Bounds(), zoom).Translated(-scroll.x, -scroll.y),
                                 image, image.Bounds(), kKey);
                ASSERT_TRUE(test::SameBitmaps(expected, actual, "layer"));
            }
        }
    }
}

TEST(ImageLayer, CheckerTileHasFourSquares) {
    const Bitmap tile = MakeCheckerTile();
    ASSERT_EQ(tile.Width(), 16);
    EXPECT_EQ(tile.Row(0)[0], kGrey);
    EXPECT_EQ(tile.Row(0)[8], kSilver);
    EXPECT_EQ(tile.Row(8)[0], kSilver);
    EXPECT_EQ(tile.Row(15)[15], kGrey);
    EXPECT_EQ(MakeIconTile().Width(), 32);
}

}  // namespace
}  // namespace palvex
