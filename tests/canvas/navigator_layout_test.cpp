#include "canvas/navigator_layout.h"

#include <random>

#include <gtest/gtest.h>

namespace palvex {
namespace {

TEST(NavigatorLayout, SmallImagesSitCentredAndLargeOnesFitTheTighterSide) {
    const NavigatorThumbnail small = LayOutThumbnail({150, 150}, {80, 60});
    EXPECT_EQ(small.scale, 1.0f);
    EXPECT_EQ(small.rect, (Rect{35, 45, 115, 105}));

    const NavigatorThumbnail wide = LayOutThumbnail({200, 200}, {1000, 500});
    EXPECT_FLOAT_EQ(wide.scale, 0.2f);
    EXPECT_EQ(wide.rect, (Rect{0, 50, 200, 150}));

    const NavigatorThumbnail tall = LayOutThumbnail({200, 100}, {300, 600});
    EXPECT_FLOAT_EQ(tall.scale, 100.0f / 600.0f);
    EXPECT_EQ(tall.rect, (Rect{75, 0, 125, 100}));

    // A side equal to the client is not "smaller": the image is fitted, not centred.
    EXPECT_EQ(LayOutThumbnail({100, 100}, {100, 50}).rect, (Rect{0, 25, 100, 75}));
    EXPECT_TRUE(LayOutThumbnail({100, 100}, {0, 0}).rect.IsEmpty());
}

TEST(NavigatorLayout, ViewFrameFollowsZoomAndScroll) {
    const Size image{1000, 500};
    const NavigatorThumbnail thumb = LayOutThumbnail({200, 200}, image);  // s = 0.2 at (0, 50)
    EXPECT_EQ(NavigatorViewFrame(thumb, image, 1.0f, {0, 0}, {400, 300}, false), thumb.rect);
    // 100 %: the client 400 x 300 from (100, 50) covers image (100, 50)-(500, 350).
    EXPECT_EQ(NavigatorViewFrame(thumb, image, 1.0f, {100, 50}, {400, 300}, true),
              (Rect{20, 60, 100, 120}));
    // 200 %: the same client shows half as much.
    EXPECT_EQ(NavigatorViewFrame(thumb, image, 2.0f, {200, 100}, {400, 300}, true),
              (Rect{20, 60, 60, 90}));
    // 50 %: the client is wider than the zoomed image, which limits the frame.
    EXPECT_EQ(NavigatorViewFrame(thumb, image, 0.5f, {0, 0}, {800, 200}, true),
              (Rect{0, 50, 200, 130}));
    // 800 %.
    EXPECT_EQ(NavigatorViewFrame(thumb, image, 8.0f, {800, 800}, {400, 400}, true),
              (Rect{20, 70, 30, 80}));
}

TEST(NavigatorLayout, FrameDragScrollsByZoomOverScale) {
    // Pointer 40 right of the thumbnail's left, pressed 10 inside the frame, s 0.2, zoom 2.
    EXPECT_EQ(FrameDragScroll(40, 0, 10, 2.0f, 0.2f), 300);
    EXPECT_EQ(FrameDragScroll(5, 0, 10, 2.0f, 0.2f), 0);  // past the left edge
    EXPECT_EQ(FrameDragScroll(75, 50, 0, 1.0f, 1.0f), 25);
}

TEST(NavigatorLayout, ZoomingInCentresOnThePixelUnderThePointer) {
    const NavigatorThumbnail thumb = LayOutThumbnail({200, 200}, {1000, 500});
    EXPECT_EQ(NavigatorZoomCentre({100, 100}, thumb), (Point{4000, 2000}));
    EXPECT_EQ(NavigatorZoomCentre({0, 50}, thumb), (Point{0, 0}));
}

TEST(NavigatorLayout, SnapIsWithinTwentyPixelsOfTheFrameCentre) {
    const Rect frame{10, 10, 51, 31};
    EXPECT_EQ(FrameCentre(frame), (Point{30, 20}));
    EXPECT_TRUE(SnapsToFrameCentre(frame, {49, 20}));   // 19 away
    EXPECT_FALSE(SnapsToFrameCentre(frame, {50, 20}));  // 20 away
    EXPECT_TRUE(SnapsToFrameCentre(frame, {44, 34}));   // trunc(19.79)
}

TEST(NavigatorLayout, OutlineColourIsTheDifferenceFrom16581375) {
    EXPECT_EQ(FrameOutlineColour(0), Colour{16581375});
    EXPECT_EQ(FrameOutlineColour(Rgb(255, 2, 253)), Colour{0});
    // Beyond it the difference wraps but stays a colour.
    EXPECT_EQ(FrameOutlineColour(Rgb(255, 255, 255)) & 0xFF000000u, 0u);
}

TEST(NavigatorLayout, AspectFitKeepsOneSideAndStaysWithinTheWindowLimits) {
    EXPECT_EQ(AspectFitKeepingWidth({200, 150}, {1000, 500}), (Size{200, 100}));
    EXPECT_EQ(AspectFitKeepingHeight({200, 150}, {1000, 500}), (Size{300, 150}));
    EXPECT_EQ(AspectFitKeepingWidth({200, 150}, {100, 1000}), (Size{200, 600}));
    EXPECT_EQ(AspectFitKeepingHeight({200, 150}, {10000, 10}), (Size{600, 150}));
    EXPECT_EQ(AspectFitKeepingWidth({200, 150}, {2000, 10}), (Size{200, 100}));
    EXPECT_EQ(AspectFitKeepingWidth({200, 150}, {0, 0}), std::nullopt);
    EXPECT_EQ(AspectFitKeepingHeight({200, 150}, {0, 0}), std::nullopt);
}

TEST(NavigatorLayout, PlacementCentresAtFirstAndKeepsAStoredWindowOnItsScreen) {
    const Rect screen{0, 0, 1920, 1080};
    const Rect owner{100, 100, 1124, 820};
    const Size designed{150, 152};
    EXPECT_EQ(PlaceNavigator(NavigatorPlacement{0, 0, 0, 0}, designed, screen, owner),
              (Rect{537, 384, 687, 536}));
    EXPECT_EQ(PlaceNavigator(NavigatorPlacement{300, 200, 0, 0}, designed, screen, owner),
              (Rect{300, 200, 450, 352}));
    EXPECT_EQ(PlaceNavigator(NavigatorPlacement{300, 200, 250, 260}, designed, screen, owner),
              (Rect{300, 200, 550, 460}));
    // Off the screen (a monitor that is gone, negative values, a huge garbled position).
    EXPECT_EQ(PlaceNavigator(NavigatorPlacement{5000, 4000, 200, 200}, designed, screen, owner),
              (Rect{1720, 880, 1920, 1080}));
    EXPECT_EQ(PlaceNavigator(NavigatorPlacement{-50, 300, 0, 0}, designed, screen, owner),
              (Rect{0, 300, 150, 452}));
    EXPECT_EQ(PlaceNavigator(NavigatorPlacement{10, 10, 100000, -7}, designed, screen, owner),
              (Rect{10, 10, 610, 110}));
    // A second screen to the right keeps the window on that screen.
    EXPECT_EQ(KeepOnScreen({1900, 50}, {200, 200}, {1920, 0, 3840, 1080}), (Point{1920, 50}));
}

TEST(NavigatorPicture, EachPixelAveragesTheImagePixelsItCoversLeavingOutTheKey) {
    const Colour key = Rgb(0, 255, 0);
    Bitmap image;
    ASSERT_TRUE(image.Create(4, 2));
    image.WritePixel(0, 0, Rgb(100, 0, 0));
    image.WritePixel(1, 0, Rgb(200, 0, 0));
    image.WritePixel(0, 1, Rgb(0, 0, 30));
    image.WritePixel(1, 1, key);
    for (int y = 0; y < 2; ++y) {
        image.WritePixel(2, y, key);
        image.WritePixel(3, y, key);
    }
    Bitmap picture;
    ASSERT_TRUE(MakeNavigatorPicture(image, key, {2, 1}, picture));
    const Pixel left = picture.Row(0)[0];
    EXPECT_EQ(left >> 24, 191u);  // three of four kept
    EXPECT_EQ(ColourFromPixel(left & 0xFFFFFFu), Rgb(100, 0, 10));
    EXPECT_EQ(picture.Row(0)[1] >> 24, 0u);  // all key: nothing shows

    // At scale 1 the picture is the image, key pixels see-through.
    ASSERT_TRUE(MakeNavigatorPicture(image, key, {4, 2}, picture));
    EXPECT_EQ(picture.Row(0)[1], 0xFF000000u | PixelFromColour(Rgb(200, 0, 0)));
    EXPECT_EQ(picture.Row(1)[1] >> 24, 0u);

    EXPECT_FALSE(MakeNavigatorPicture(image, key, {5, 2}, picture));
}

// Shares and means round to nearest: two kept pixels of seven show with alpha 510 / 7 = 72.9
// as 73, and the mean of 10 and 11 as 11.
TEST(NavigatorPicture, SharesAndMeansRoundToNearest) {
    const Colour key = Rgb(0, 255, 0);
    Bitmap image;
    ASSERT_TRUE(image.Create(7, 1));
    for (int x = 0; x < 7; ++x) {
        image.WritePixel(x, 0, key);
    }
    image.WritePixel(2, 0, Rgb(10, 0, 200));
    image.WritePixel(5, 0, Rgb(11, 1, 201));
    Bitmap picture;
    ASSERT_TRUE(MakeNavigatorPicture(image, key, {1, 1}, picture));
    EXPECT_EQ(picture.Row(0)[0] >> 24, 73u);
    EXPECT_EQ(ColourFromPixel(picture.Row(0)[0] & kRgbMask), Rgb(11, 1, 201));
}

TEST(NavigatorPicture, MendingAnEditedRectangleEqualsMakingItAgain) {
    std::mt19937 random(7);
    const Colour key = Rgb(1, 2, 3);
    Bitmap image;
    ASSERT_TRUE(image.Create(997, 613));
    for (Pixel& p : image.Pixels()) {
        p = random() % 4 == 0 ? PixelFromColour(key) : static_cast<Pixel>(random() & 0xFFFFFF);
    }
    Bitmap mended;
    ASSERT_TRUE(MakeNavigatorPicture(image, key, {131, 80}, mended));
    for (int round = 0; round < 20; ++round) {
        const int x = static_cast<int>(random() % 997);
        const int y = static_cast<int>(random() % 613);
        const Rect edit{x, y, std::min(997, x + 1 + static_cast<int>(random() % 40)),
                        std::min(613, y + 1 + static_cast<int>(random() % 40))};
        for (int yy = edit.top; yy < edit.bottom; ++yy) {
            for (int xx = edit.left; xx < edit.right; ++xx) {
                image.WritePixel(xx, yy, round % 2 == 0 ? key : Rgb(round, 255, 0));
            }
        }
        UpdateNavigatorPicture(image, key, edit, mended);
        Bitmap fresh;
        ASSERT_TRUE(MakeNavigatorPicture(image, key, {131, 80}, fresh));
        ASSERT_TRUE(
            std::equal(fresh.Pixels().begin(), fresh.Pixels().end(), mended.Pixels().begin()))
            << "after edit " << round;
    }
}

// Pixel by pixel, the plain way: the kept pixels' rounded mean and their rounded share.
Pixel ReferenceAverage(const Bitmap& image, Colour key, Size size, int c, int t) {
    const auto start = [](int i, int n, int m) {
        return static_cast<int>(std::int64_t{i} * n / m);
    };
    std::uint64_t r = 0, g = 0, b = 0, kept = 0, all = 0;
    for (int y = start(t, image.Height(), size.height);
         y < start(t + 1, image.Height(), size.height); ++y) {
        for (int x = start(c, image.Width(), size.width);
             x < start(c + 1, image.Width(), size.width); ++x) {
            ++all;
            const Colour colour = image.ReadPixel(x, y);
            if (colour != key) {
                r += RedOf(colour);
                g += GreenOf(colour);
                b += BlueOf(colour);
                ++kept;
            }
        }
    }
    if (kept == 0) {
        return 0;
    }
    const auto mean = [kept](std::uint64_t sum) {
        return static_cast<Pixel>((sum + kept / 2) / kept);
    };
    return static_cast<Pixel>((kept * 255 + all / 2) / all) << 24 |
           (PixelFromColour(Rgb(mean(r), mean(g), mean(b))) & kRgbMask);
}

// Blocks of every width, from one pixel to rows wider than the sums' chunks, over random pixels
// with the key and with white, whatever their fourth byte holds; and an all-white image, whose
// sums are the largest.
TEST(NavigatorPicture, EqualsThePlainAverageOnRandomImages) {
    std::mt19937 random(11);
    const Colour key = Rgb(200, 10, 90);
    struct Case {
        Size image;
        Size picture;
        bool allWhite;
    };
    const Case cases[] = {{{1200, 7}, {2, 3}, false},     {{1000, 900}, {3, 2}, false},
                          {{613, 411}, {131, 80}, false}, {{300, 200}, {300, 200}, false},
                          {{257, 258}, {1, 2}, false},    {{999, 5}, {1, 1}, true}};
    for (const Case& c : cases) {
        Bitmap image;
        ASSERT_TRUE(image.Create(c.image.width, c.image.height));
        for (Pixel& p : image.Pixels()) {
            const std::uint32_t pick = c.allWhite ? 1 : random() % 8;
            const Pixel top = random() % 2 == 0 ? 0xFF000000u : 0u;
            p = top | (pick == 0   ? PixelFromColour(key) & kRgbMask
                       : pick <= 3 ? 0x00FFFFFFu
                                   : static_cast<Pixel>(random() & 0xFFFFFF));
        }
        Bitmap picture;
        ASSERT_TRUE(MakeNavigatorPicture(image, key, c.picture, picture));
        for (int t = 0; t < c.picture.height; ++t) {
            for (int x = 0; x < c.picture.width; ++x) {
                ASSERT_EQ(picture.Row(t)[x], ReferenceAverage(image, key, c.picture, x, t))
                    << c.image.width << " x " << c.image.height << " at " << x << ", " << t;
            }
        }
    }
}

TEST(NavigatorPicture, ComposedOverTheBackgroundWithItsShareOfKeptPixels) {
    Bitmap picture;
    ASSERT_TRUE(picture.Create(2, 1));
    picture.Row(0)[0] = 0xFF000000u | (PixelFromColour(Rgb(10, 20, 30)) & 0xFFFFFFu);
    picture.Row(0)[1] = 0x80000000u | (PixelFromColour(Rgb(255, 255, 255)) & 0xFFFFFFu);
    Bitmap screen;
    ASSERT_TRUE(screen.Create(4, 3));
    BackgroundTiles tiles;
    // Mode 0 fills with the background colour; the picture sits at (1, 1).
    ComposeNavigator(screen, {{1, 1, 3, 2}, 1.0f}, picture, 0, tiles);
    EXPECT_EQ(screen.ReadPixel(0, 0), kNavigatorNeutral);
    EXPECT_EQ(screen.ReadPixel(3, 1), kNavigatorNeutral);
    EXPECT_EQ(screen.ReadPixel(1, 1), Rgb(10, 20, 30));
    const Colour half = screen.ReadPixel(2, 1);
    Bitmap bare;
    ASSERT_TRUE(bare.Create(4, 3));
    FillBackground(bare, {2, 1, 3, 2}, 0, tiles);
    const Colour under = bare.ReadPixel(2, 1);
    EXPECT_EQ(RedOf(half), (255 * 128 + RedOf(under) * 127 + 127) / 255);
}

}  // namespace
}  // namespace palvex
