#include "tools/pens.h"

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/math_sub.h"
#include "image/raster/key_run_record.h"
#include "support/test_support.h"

namespace palvex {
namespace {

using test::SameBitmaps;
using test::SolidBitmap;

constexpr Colour kKey = Rgb(0, 255, 0);
const CanvasMapping kOneToOne{1.0f, {0, 0}};

Bitmap Solid(int w, int h, Colour c) {
    return SolidBitmap(w, h, PixelFromColour(c));
}

RangeOutline Square(int left, int top, int right, int bottom) {
    RangeOutline outline;
    outline.cornerCount = 4;
    outline.corners = {Point{left, top}, Point{right, top}, Point{right, bottom},
                       Point{left, bottom}};
    return outline;
}

const ProcessingRange kRange{0, 30, 0, 0, 0.0, false};

TEST(Pens, TransparentPenTakesPixelsWithinTheTolerance) {
    Bitmap image = Solid(8, 8, Rgb(100, 100, 100));
    image.WritePixel(2, 2, Rgb(109, 91, 100));
    image.WritePixel(3, 3, Rgb(110, 100, 100));
    const PenSettings pen{PenMode::Pen, kKey, kKey, {false, 5}};
    const PenApplied applied = ApplyPen(image, {4, 4}, kRange, Square(0, 0, 8, 8), kOneToOne, pen);
    EXPECT_EQ(applied.reported, (Rect{0, 0, 8, 8}));
    EXPECT_EQ(image.ReadPixel(2, 2), kKey);
    EXPECT_EQ(image.ReadPixel(3, 3), Rgb(110, 100, 100));
    EXPECT_EQ(image.ReadPixel(4, 4), kKey);
    EXPECT_EQ(image.ReadPixel(0, 4), Rgb(100, 100, 100));  // first column outside the range
    EXPECT_EQ(AlphaOf(image.Row(4)[4]), 255);
}

// Spans shorter than four pixels take only the per-pixel test: it must draw the same line as the
// four-at-a-time one, just inside 2 x tolerance on either side of every channel.
TEST(Pens, ShortSpansStopJustInsideTwiceTheToleranceOnEveryChannel) {
    const Colour reference = Rgb(100, 120, 140);
    for (const int tolerance : {1, 5, 9}) {
        const int limit = 2 * tolerance;
        for (const int channel : {0, 8, 16}) {
            for (const int offset : {-limit, -(limit - 1), limit - 1, limit}) {
                const Pixel shifted = static_cast<Pixel>(
                    static_cast<int>(PixelFromColour(reference)) + (offset << channel));
                Bitmap image = Solid(3, 1, reference);
                image.Row(0)[1] = shifted;
                image.Row(0)[2] = shifted;
                const RangePixelSet row{{{0, 0, 3}}, false, {0, 0, 3, 1}, {0, 0, 3, 1}};
                ApplyPen(image, {0, 0}, row, {PenMode::Pen, kKey, kKey, {false, tolerance}});
                const bool inside = offset > -limit && offset < limit;
                SCOPED_TRACE(::testing::Message() << "tolerance " << tolerance << ", channel shift "
                                                  << channel << ", offset " << offset);
                EXPECT_EQ(image.ReadPixel(0, 0), kKey);
                EXPECT_EQ(image.ReadPixel(1, 0), inside ? kKey : ColourFromPixel(shifted));
                EXPECT_EQ(image.ReadPixel(2, 0), inside ? kKey : ColourFromPixel(shifted));
            }
        }
    }
}

// A one-pixel pen just beyond the right edge must not reach the next row's first pixel, nor, on
// the last row, memory past the image.
TEST(Pens, OnePixelPenJustOutsideTheImageChangesNothing) {
    const ProcessingRange one{0, 1, 0, 0, 0.0, false};
    for (const PenMode mode : {PenMode::Pen, PenMode::FillBack}) {
        Bitmap image = Solid(5, 3, kKey);
        for (const Point q : {Point{5, 0}, Point{5, 2}, Point{0, 3}, Point{-1, 1}}) {
            ApplyPen(image, q, one, {}, kOneToOne, {mode, Rgb(1, 2, 3), kKey, {true, 5}});
        }
        EXPECT_TRUE(SameBitmaps(Solid(5, 3, kKey), image, "one_pixel_outside"));
    }
}

TEST(Pens, AllColoursPaintsEveryPixelOfTheRange) {
    Bitmap image = Solid(6, 6, Rgb(1, 2, 3));
    image.WritePixel(2, 3, Rgb(200, 0, 0));
    image.WritePixel(3, 3, Rgb(9, 9, 9));  // already the drawing colour
    const PenSettings pen{PenMode::Pen, Rgb(9, 9, 9), kKey, {true, 1}};
    ApplyPen(image, {3, 3}, kRange, Square(0, 0, 6, 6), kOneToOne, pen);
    for (int y = 1; y < 6; ++y) {
        for (int x = 1; x < 6; ++x) {
            EXPECT_EQ(image.ReadPixel(x, y), Rgb(9, 9, 9)) << x << "," << y;
        }
    }
    EXPECT_EQ(image.ReadPixel(0, 0), Rgb(1, 2, 3));
}

TEST(Pens, TheReferenceIsThePixelUnderTheApplicationPoint) {
    Bitmap image = Solid(6, 1, Rgb(10, 10, 10));
    image.WritePixel(4, 0, Rgb(200, 200, 200));
    const PenSettings pen{PenMode::Pen, kKey, kKey, {false, 5}};
    const RangePixelSet all{{{0, 0, 6}}, false, {0, 0, 6, 1}, {0, 0, 6, 1}};
    ApplyPen(image, {4, 0}, all, pen);
    EXPECT_EQ(image.ReadPixel(4, 0), kKey);
    EXPECT_EQ(image.ReadPixel(0, 0), Rgb(10, 10, 10));
}

TEST(Pens, FillBackColourAveragesTheOtherNeighbours) {
    Bitmap image = Solid(5, 5, kKey);
    EXPECT_EQ(FillBackColour(image, 2, 2, kKey), Rgb(0, 0, 0));
    image.WritePixel(3, 1, Rgb(30, 60, 90));
    EXPECT_EQ(FillBackColour(image, 2, 2, kKey), Rgb(30, 60, 90));
    image.WritePixel(1, 2, Rgb(31, 0, 255));
    EXPECT_EQ(FillBackColour(image, 2, 2, kKey), Rgb(30, 30, 172));  // sums / 2, truncated
    // In the corner five neighbours lie outside and read as white.
    EXPECT_EQ(FillBackColour(image, 0, 0, kKey), Rgb(255, 255, 255));
    // Outside reads white even with a white key: "no colour" is never the key.
    const Bitmap white = Solid(3, 3, Rgb(255, 255, 255));
    EXPECT_EQ(FillBackColour(white, 0, 0, Rgb(255, 255, 255)), Rgb(255, 255, 255));
}

// Each of the eight neighbours counts on its own: with all the others key-coloured, the result
// is that one's colour, never black.
TEST(Pens, FillBackColourTakesEveryNeighbourAlone) {
    const Point neighbours[] = {{0, -1},  {1, 0},  {0, 1}, {-1, 0},
                                {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const Point d : neighbours) {
        Bitmap image = Solid(3, 3, kKey);
        image.WritePixel(1 + d.x, 1 + d.y, Rgb(30, 60, 90));
        EXPECT_EQ(FillBackColour(image, 1, 1, kKey), Rgb(30, 60, 90)) << d.x << "," << d.y;
    }
}

// Filling back writes red, green and blue only: the fourth byte a loaded pixel carries stays.
TEST(Pens, FillBackKeepsTheFourthByteOfThePixelItFills) {
    Bitmap image = Solid(3, 3, Rgb(10, 20, 30));
    image.Row(1)[1] = 0x5A000000u | (PixelFromColour(kKey) & kRgbMask);
    const RangePixelSet middle{{{1, 1, 2}}, false, {1, 1, 2, 2}, {1, 1, 2, 2}};
    ApplyPen(image, {1, 1}, middle, {PenMode::FillBack, kKey, kKey, {false, 5}});
    EXPECT_EQ(image.Row(1)[1], 0x5A000000u | (PixelFromColour(Rgb(10, 20, 30)) & kRgbMask));
}

TEST(Pens, WholeImageFillBackOfAllKeyTurnsWhite) {
    Bitmap image = Solid(7, 5, kKey);
    std::vector<std::pair<int, int>> progress;
    EXPECT_TRUE(ApplyPenWholeImage(image, {3, 3}, {PenMode::FillBack, kKey, kKey, {true, 1}},
                                   [&](int p, int r) { progress.emplace_back(p, r); }));
    EXPECT_TRUE(SameBitmaps(Solid(7, 5, Rgb(255, 255, 255)), image, "fill_back_white"));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 7}, {0, 7}, {0, 7}}));

    Bitmap wide = Solid(45, 2, Rgb(1, 1, 1));
    progress.clear();
    FillBackWholeImage(wide, kKey, [&](int p, int r) { progress.emplace_back(p, r); });
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 45}, {20, 45}, {40, 45}}));
}

// The whole-image fill-back as plain columns, each top to bottom: the order whose result the
// fast pass must give bit for bit.
void FillBackByColumns(Bitmap& image, Colour key) {
    for (int x = 0; x < image.Width(); ++x) {
        for (int y = 0; y < image.Height(); ++y) {
            Pixel& p = image.Row(y)[x];
            if (ColourFromPixel(p) == key) {
                p = (p & ~kRgbMask) |
                    (PixelFromColour(FillBackColour(image, x, y, key)) & kRgbMask);
            }
        }
    }
}

// Random few-coloured images with key rectangles (the key may be black, what a pixel with only
// key neighbours becomes, or white, what the outside reads as), random fourth bytes, sizes
// around the pass's blocks, rows of whole cache lines, and one pixel wide or high.
TEST(Pens, WholeImageFillBackMatchesTheColumnOrderBitForBit) {
    std::mt19937 random(26);
    const std::vector<std::pair<int, int>> sizes = {
        {1, 1},
        {1, 300},
        {300, 1},
        {2, 2},
        {2, 129},
        {129, 2},
        {3, 3},
        {64, 64},
        {65, 63},
        {63, 65},
        {128, 200},
        {150, 131},
        {200, 70},
        // one strip of columns and one over; taller than the strips' window of rows, ending
        // on a whole chunk of rows and one row after one
        {66, 40},
        {67, 3},
        {67, 600},
        {300, 290},
        {130, 640},
        {131, 769},
        {320, 150}};
    const Colour keys[] = {kKey, Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(85, 85, 85)};
    int round = 0;
    for (const auto& [w, h] : sizes) {
        for (const Colour key : keys) {
            for (const FillBackPass pass : {FillBackPass::Columns, FillBackPass::Vectors,
                                            FillBackPass::Avx2, FillBackPass::Avx512}) {
                if (!FillBackPassAvailable(pass)) {
                    continue;
                }
                const Colour palette[] = {key,
                                          Rgb(0, 0, 0),
                                          Rgb(255, 255, 255),
                                          Rgb(255, 0, 0),
                                          Rgb(10, 200, 30),
                                          Rgb(128, 128, 128)};
                Bitmap image;
                ASSERT_TRUE(image.Create(w, h));
                for (Pixel& p : image.Pixels()) {
                    p = (PixelFromColour(palette[random() % 6]) & kRgbMask) | (random() << 24);
                }
                for (int n = static_cast<int>(random() % 6); n > 0; --n) {
                    const int left = static_cast<int>(random() % static_cast<unsigned>(w));
                    const int top = static_cast<int>(random() % static_cast<unsigned>(h));
                    const int right =
                        left + 1 + static_cast<int>(random() % static_cast<unsigned>(w));
                    const int bottom =
                        top + 1 + static_cast<int>(random() % static_cast<unsigned>(h));
                    for (int y = top; y < std::min(bottom, h); ++y) {
                        for (int x = left; x < std::min(right, w); ++x) {
                            image.Row(y)[x] =
                                (image.Row(y)[x] & ~kRgbMask) | (PixelFromColour(key) & kRgbMask);
                        }
                    }
                }
                Bitmap original;
                ASSERT_TRUE(original.Create(w, h));
                ASSERT_TRUE(CopyBitmapBits(image, original));
                Bitmap expected;
                ASSERT_TRUE(expected.Create(w, h));
                ASSERT_TRUE(CopyBitmapBits(image, expected));
                FillBackByColumns(expected, key);
                KeyBits bits;
                ASSERT_TRUE(bits.Reset(w, h));
                FillBackWholeImage(image, key, pass, {}, &bits);
                const std::string where = std::to_string(w) + " x " + std::to_string(h) + ", key " +
                                          std::to_string(key) + ", pass " +
                                          std::to_string(static_cast<int>(pass));
                ASSERT_TRUE(
                    SameBitmaps(expected, image, "fill_back_exact_" + std::to_string(round)))
                    << where;
                // The pass took where the key was as it went; the record made of that, as runs
                // or (with no budget for runs) as the bits, takes the pass back.
                KeyBits scanned;
                ASSERT_TRUE(scanned.Reset(w, h));
                scanned.Scan(original, key, 0, w);
                ASSERT_TRUE(std::equal(bits.Data(), bits.Data() + bits.WordCount(), scanned.Data()))
                    << where;
                const KeyRunRecord record(std::move(bits), key, round % 2 == 0 ? 0 : 1);
                ASSERT_TRUE(record.Write(image));
                ASSERT_TRUE(SameBitmaps(original, image, "fill_back_undone")) << where;
                ++round;
            }
        }
    }
}

// A photo on a cleared background, as the pen meets it: wide areas that refill with one colour
// (where the pass takes its shortcut) beside smears of many, over many strips and both threads.
TEST(Pens, WholeImageFillBackOfAPhotoOnAClearedBackgroundMatchesTheColumnOrder) {
    constexpr int kWidth = 1000;
    constexpr int kHeight = 700;
    for (const Colour key : {kKey, Rgb(255, 255, 255)}) {
        Bitmap original;
        ASSERT_TRUE(original.Create(kWidth, kHeight));
        std::uint32_t noise = 99;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool object = x >= 300 && x < 650 && y >= 200 && y < 520;
                noise = noise * 1664525u + 1013904223u;
                original.Row(y)[x] = object
                                         ? PixelFromColour(Rgb(x * 255 / kWidth, y * 255 / kHeight,
                                                               static_cast<int>(noise >> 24)))
                                         : PixelFromColour(key) | (noise & 0xFF000000u);
            }
        }
        Bitmap expected;
        ASSERT_TRUE(expected.Create(kWidth, kHeight));
        ASSERT_TRUE(CopyBitmapBits(original, expected));
        FillBackByColumns(expected, key);
        for (const FillBackPass pass :
             {FillBackPass::Vectors, FillBackPass::Avx2, FillBackPass::Avx512}) {
            if (!FillBackPassAvailable(pass)) {
                continue;
            }
            Bitmap image;
            ASSERT_TRUE(image.Create(kWidth, kHeight));
            ASSERT_TRUE(CopyBitmapBits(original, image));
            FillBackWholeImage(image, key, pass);
            EXPECT_TRUE(SameBitmaps(expected, image, "fill_back_photo"))
                << "key " << key << ", pass " << static_cast<int>(pass);
        }
    }
}

// "No colour" as the key matches no pixel: nothing changes.
TEST(Pens, WholeImageFillBackWithNoKeyChangesNothing) {
    Bitmap image = Solid(70, 3, Rgb(255, 255, 255));
    image.Row(1)[5] = 0xFFFFFFFFu;
    FillBackWholeImage(image, kNoColour);
    EXPECT_EQ(image.Row(1)[5], 0xFFFFFFFFu);
    EXPECT_EQ(image.Row(0)[0], PixelFromColour(Rgb(255, 255, 255)));
}

// The fill-back pen reads neighbours it may have written: its result depends on the visiting
// order, columns outer for the rectangle and triangle.
TEST(Pens, FillBackVisitsColumnsFirstAndSeesItsOwnWrites) {
    Bitmap image = Solid(12, 12, kKey);
    image.WritePixel(1, 1, Rgb(240, 0, 0));
    image.WritePixel(10, 9, Rgb(0, 0, 240));
    image.WritePixel(6, 2, Rgb(0, 90, 0));
    Bitmap expected = Solid(12, 12, kKey);
    CopyBitmapBits(image, expected);
    const RangeOutline outline = Square(0, 0, 11, 11);
    for (int x = 0; x < 11; ++x) {
        for (int y = 0; y < 11; ++y) {
            if (CMathSub::PointInPolygon({x, y}, outline.Corners()) &&
                expected.ReadPixel(x, y) == kKey) {
                expected.WritePixel(x, y, FillBackColour(expected, x, y, kKey));
            }
        }
    }
    ApplyPen(image, {5, 5}, kRange, outline, kOneToOne,
             {PenMode::FillBack, Rgb(1, 2, 3), kKey, {false, 5}});
    EXPECT_TRUE(SameBitmaps(expected, image, "fill_back_order"));
    EXPECT_EQ(image.ReadPixel(0, 5), kKey);  // outside the range
}

TEST(Pens, WholeImagePenReplacesMatchingColoursAndKeepsTheFourthByte) {
    Bitmap image = Solid(4, 2, Rgb(50, 50, 50));
    image.Row(0)[1] = 0x12000000u | (PixelFromColour(Rgb(55, 45, 50)) & kRgbMask);
    image.WritePixel(2, 0, Rgb(56, 50, 50));
    image.WritePixel(3, 1, Rgb(200, 1, 1));
    const PenSettings pen{PenMode::Pen, Rgb(9, 8, 7), kKey, {false, 3}};
    EXPECT_TRUE(ApplyPenWholeImage(image, {0, 0}, pen));
    EXPECT_EQ(image.Row(0)[1], 0x12000000u | (PixelFromColour(Rgb(9, 8, 7)) & kRgbMask));
    EXPECT_EQ(image.ReadPixel(0, 1), Rgb(9, 8, 7));
    EXPECT_EQ(image.ReadPixel(2, 0), Rgb(56, 50, 50));
    EXPECT_EQ(image.ReadPixel(3, 1), Rgb(200, 1, 1));
}

// The whole-image pass tests four pixels at a time; it must agree with the target test on every
// channel difference, at every tolerance.
TEST(Pens, WholeImagePassAgreesWithTheTargetTest) {
    std::mt19937 random(3);
    const Colour reference = Rgb(100, 3, 250);
    for (const int tolerance : {0, 1, 2, 5, 9, 200}) {
        Bitmap image;
        ASSERT_TRUE(image.Create(61, 7));
        for (Pixel& p : image.Pixels()) {
            const auto near = [&random](int c) {
                return std::clamp(c + static_cast<int>(random() % 41) - 20, 0, 255);
            };
            p = (random() % 2 ? 0xFF000000u : 0x7F000000u) |
                (PixelFromColour(Rgb(near(100), near(3), near(250))) & kRgbMask);
        }
        Bitmap expected;
        ASSERT_TRUE(expected.Create(61, 7));
        CopyBitmapBits(image, expected);
        for (Pixel& p : expected.Pixels()) {
            if (ColourMatches(ColourFromPixel(p), reference, {false, tolerance})) {
                p = (p & ~kRgbMask) | (PixelFromColour(kKey) & kRgbMask);
            }
        }
        ReplaceMatchingColours(image, reference, kKey, tolerance);
        EXPECT_TRUE(SameBitmaps(expected, image, "replace_" + std::to_string(tolerance)));
    }
}

TEST(Pens, WholeImagePenWithAllColoursIsRefused) {
    Bitmap image = Solid(3, 3, Rgb(5, 5, 5));
    const PenSettings pen{PenMode::Pen, kKey, kKey, {true, 5}};
    EXPECT_TRUE(WholeImagePenRefused(pen));
    EXPECT_FALSE(ApplyPenWholeImage(image, {1, 1}, pen));
    EXPECT_TRUE(SameBitmaps(Solid(3, 3, Rgb(5, 5, 5)), image, "refused"));
    EXPECT_FALSE(WholeImagePenRefused({PenMode::FillBack, kKey, kKey, {true, 5}}));
}

}  // namespace
}  // namespace palvex
