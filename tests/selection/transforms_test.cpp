#include "selection/transforms.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "image/raster/rotate.h"
#include "resources/string_table.h"
#include "support/test_support.h"

namespace palvex {
namespace {

using test::SameBitmaps;

// Every pixel different, all four bytes used, so a misplaced or half-copied pixel shows.
Bitmap Numbered(int w, int h) {
    Bitmap b;
    EXPECT_TRUE(b.Create(w, h));
    for (std::size_t i = 0; i < b.PixelCount(); ++i) {
        b.Data()[i] = static_cast<Pixel>((i + 1) * 2654435761u);
    }
    return b;
}

struct Shape {
    int w;
    int h;
};
// 1 x 1, single rows and columns, odd sizes, and sizes across the 4 x 4 blocks and the tiles.
const Shape kShapes[] = {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {5, 7}, {61, 37}, {131, 70}};

Bitmap Blank(int w, int h) {
    Bitmap b;
    EXPECT_TRUE(b.Create(w, h));
    return b;
}

// The plain mappings, pixel by pixel.
Bitmap ReferenceFlip(const Bitmap& src, bool mx, bool my) {
    const int w = src.Width();
    const int h = src.Height();
    Bitmap out = Blank(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out.Row(y)[x] = src.Row(my ? h - 1 - y : y)[mx ? w - 1 - x : x];
        }
    }
    return out;
}

Bitmap ReferenceQuarter(const Bitmap& src, bool clockwise) {
    const int w = src.Width();
    const int h = src.Height();
    Bitmap out = Blank(h, w);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (clockwise) {
                out.Row(x)[h - 1 - y] = src.Row(y)[x];
            } else {
                out.Row(w - 1 - x)[y] = src.Row(y)[x];
            }
        }
    }
    return out;
}

// The turn by an angle exactly as the editor's steps read, every value recomputed per pixel.
// This file is built without fused multiply-adds, as the code under test is.
Bitmap ReferenceRotate(const Bitmap& src, int a, Pixel fill) {
    const int w = src.Width();
    const int h = src.Height();
    const double theta = std::atan(1.0) * (360 - a) * 4 / 180;
    const double s = std::sin(theta);
    const double c = std::cos(theta);
    const double px[4] = {0, double(w - 1), double(w - 1), 0};
    const double py[4] = {0, 0, double(h - 1), double(h - 1)};
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int k = 0; k < 4; ++k) {
        const double tx = px[k] * c + py[k] * s;
        const double ty = py[k] * c - px[k] * s;
        minX = k == 0 ? tx : std::min(minX, tx);
        maxX = k == 0 ? tx : std::max(maxX, tx);
        minY = k == 0 ? ty : std::min(minY, ty);
        maxY = k == 0 ? ty : std::max(maxY, ty);
    }
    const int outW = static_cast<int>(maxX - minX + 1.5);
    const int outH = static_cast<int>(maxY - minY + 1.5);
    Bitmap out = Blank(outW, outH);
    for (int i = 0; i < outH; ++i) {
        for (int j = 0; j < outW; ++j) {
            const double X = j + minX;
            const double Y = i + minY;
            const int sx = static_cast<int>(X * c - Y * s + 0.5);
            const int sy = static_cast<int>(X * s + Y * c + 0.5);
            out.Row(i)[j] = sx >= 0 && sx < w && sy >= 0 && sy < h ? src.Row(sy)[sx] : fill;
        }
    }
    return out;
}

Bitmap ReferenceResize(const Bitmap& src, int w2, int h2) {
    Bitmap out = Blank(w2, h2);
    for (int y = 0; y < h2; ++y) {
        for (int x = 0; x < w2; ++x) {
            const auto sx = static_cast<int>(std::int64_t{x} * src.Width() / w2);
            const auto sy = static_cast<int>(std::int64_t{y} * src.Height() / h2);
            out.Row(y)[x] = src.Row(sy)[sx] | kOpaqueAlpha;
        }
    }
    return out;
}

TEST(Transforms, FlipsMatchTheMirrorMapping) {
    for (const Shape& shape : kShapes) {
        const Bitmap src = Numbered(shape.w, shape.h);
        for (const auto& [mx, my] : {std::pair{true, false}, {false, true}, {true, true}}) {
            Bitmap out;
            ASSERT_TRUE(Flip(src, mx, my, out).ok);
            EXPECT_TRUE(SameBitmaps(ReferenceFlip(src, mx, my), out, "flip"))
                << shape.w << "x" << shape.h << " mirror " << mx << my;
        }
    }
}

TEST(Transforms, QuarterTurnsMatchTheMapping) {
    for (const Shape& shape : kShapes) {
        const Bitmap src = Numbered(shape.w, shape.h);
        for (const bool clockwise : {true, false}) {
            Bitmap out;
            ASSERT_TRUE(
                RotateQuarter(
                    src, clockwise ? QuarterTurn::Clockwise : QuarterTurn::CounterClockwise, out)
                    .ok);
            EXPECT_TRUE(SameBitmaps(ReferenceQuarter(src, clockwise), out, "quarter"))
                << shape.w << "x" << shape.h << " clockwise " << clockwise;
        }
    }
}

// Large enough that the work is split between threads (and streamed), with odd sides so the
// split never falls on a tile or block edge.
TEST(Transforms, FlipsTurnsAndResizesOfALargeImageMatchTheMappingAcrossThreads) {
    const Bitmap src = Numbered(2101, 2003);
    for (const auto& [mx, my] : {std::pair{true, false}, {false, true}, {true, true}}) {
        Bitmap out;
        ASSERT_TRUE(Flip(src, mx, my, out).ok);
        EXPECT_TRUE(SameBitmaps(ReferenceFlip(src, mx, my), out, "flip")) << mx << my;
    }
    // A height of a multiple of 4 gives aligned rows, which are streamed.
    const Bitmap aligned = Numbered(2101, 2004);
    for (const Bitmap* from : {&src, &aligned}) {
        for (const bool clockwise : {true, false}) {
            Bitmap out;
            ASSERT_TRUE(
                RotateQuarter(
                    *from, clockwise ? QuarterTurn::Clockwise : QuarterTurn::CounterClockwise, out)
                    .ok);
            EXPECT_TRUE(SameBitmaps(ReferenceQuarter(*from, clockwise), out, "quarter"))
                << from->Height() << " clockwise " << clockwise;
        }
    }
    // Larger and smaller, where rows repeat and where they are skipped.
    for (const auto& [w, h] : {std::pair{2795, 2664}, {1575, 1502}}) {
        Bitmap out;
        ASSERT_TRUE(Resize(src, w, h, out).ok);
        EXPECT_TRUE(SameBitmaps(ReferenceResize(src, w, h), out, "resize")) << w << "x" << h;
    }
}

TEST(Transforms, QuarterTurnOfThreeHundredByTwoHundredMovesTheCorner) {
    const Bitmap src = Numbered(300, 200);
    Bitmap right;
    ASSERT_TRUE(RotateQuarter(src, QuarterTurn::Clockwise, right).ok);
    ASSERT_EQ(right.Width(), 200);
    ASSERT_EQ(right.Height(), 300);
    EXPECT_EQ(right.Row(0)[199], src.Row(0)[0]);
    Bitmap left;
    ASSERT_TRUE(RotateQuarter(src, QuarterTurn::CounterClockwise, left).ok);
    EXPECT_EQ(left.Row(299)[0], src.Row(0)[0]);
}

TEST(Transforms, RotationByAnAngleMatchesTheFormulaBitForBit) {
    const Pixel fill = 0xFF00FF00u;
    for (const Shape& shape : kShapes) {
        const Bitmap src = Numbered(shape.w, shape.h);
        for (const int angle : {0, 1, 33, 45, 89, 90, 91, 135, 180, 225, 270, 300, 359}) {
            Bitmap out;
            ASSERT_TRUE(RotateByAngle(src, angle, Rgb(0, 255, 0), out).ok);
            EXPECT_TRUE(SameBitmaps(ReferenceRotate(src, angle, fill), out, "rotate"))
                << shape.w << "x" << shape.h << " by " << angle;
        }
    }
}

TEST(Transforms, RotationByEveryWholeAngleOfSmallOddPictures) {
    // Every angle: the run of each row whose source lies inside is found exactly, also where a
    // row touches the picture in one pixel.
    for (const Shape& shape : {Shape{7, 5}, Shape{1, 9}, Shape{2, 3}, Shape{23, 11}}) {
        const Bitmap src = Numbered(shape.w, shape.h);
        for (int angle = 0; angle < 360; ++angle) {
            Bitmap out;
            ASSERT_TRUE(RotateByAngle(src, angle, Rgb(1, 2, 3), out).ok);
            ASSERT_TRUE(SameBitmaps(ReferenceRotate(src, angle, PixelFromColour(Rgb(1, 2, 3))), out,
                                    "rotate-all"))
                << shape.w << "x" << shape.h << " by " << angle;
        }
    }
}

TEST(Transforms, RotationOfALargePictureSplitOverTwoThreads) {
    const Bitmap src = Numbered(2047, 2049);
    for (const int angle : {33, 200}) {
        Bitmap out;
        ASSERT_TRUE(RotateByAngle(src, angle, Rgb(0, 0, 0), out).ok);
        EXPECT_TRUE(SameBitmaps(ReferenceRotate(src, angle, PixelFromColour(Rgb(0, 0, 0))), out,
                                "rotate-large"))
            << angle;
    }
}

TEST(Transforms, RightAnglesGiveTheQuarterTurnsAndTheHalfTurnWithoutFill) {
    const Bitmap src = Numbered(7, 5);
    Bitmap byAngle;
    Bitmap expected;
    ASSERT_TRUE(RotateByAngle(src, 90, Rgb(0, 255, 0), byAngle).ok);
    ASSERT_TRUE(RotateQuarter(src, QuarterTurn::Clockwise, expected).ok);
    EXPECT_TRUE(SameBitmaps(expected, byAngle, "by-90"));
    ASSERT_TRUE(RotateByAngle(src, 180, Rgb(0, 255, 0), byAngle).ok);
    ASSERT_TRUE(Flip(src, true, true, expected).ok);
    EXPECT_TRUE(SameBitmaps(expected, byAngle, "by-180"));
    ASSERT_TRUE(RotateByAngle(src, 270, Rgb(0, 255, 0), byAngle).ok);
    ASSERT_TRUE(RotateQuarter(src, QuarterTurn::CounterClockwise, expected).ok);
    EXPECT_TRUE(SameBitmaps(expected, byAngle, "by-270"));
}

TEST(Transforms, FortyFiveDegreesOnAHundredSquare) {
    const Bitmap src = Numbered(100, 100);
    Bitmap out;
    ASSERT_TRUE(RotateByAngle(src, 45, Rgb(0, 255, 0), out).ok);
    ASSERT_EQ(out.Width(), 141);
    ASSERT_EQ(out.Height(), 141);
    const Pixel key = PixelFromColour(Rgb(0, 255, 0));
    EXPECT_EQ(out.Row(0)[0], key);
    EXPECT_EQ(out.Row(0)[140], key);
    EXPECT_EQ(out.Row(140)[0], key);
    EXPECT_EQ(out.Row(140)[140], key);
    EXPECT_EQ(out.Row(0)[70], src.Row(0)[0]);
}

TEST(Transforms, NoKeyFillsWithWhite) {
    Bitmap out;
    ASSERT_TRUE(RotateByAngle(Numbered(5, 5), 45, kNoColour, out).ok);
    EXPECT_EQ(out.Row(0)[0] & kRgbMask, 0xFFFFFFu);
}

TEST(Transforms, ResizeTakesTheNearestSourcePixel) {
    for (const Shape& shape : kShapes) {
        const Bitmap src = Numbered(shape.w, shape.h);
        const Shape targets[] = {{1, 1},
                                 {shape.w * 2 + 1, shape.h * 3},
                                 {shape.w, shape.h},
                                 {(shape.w + 1) / 2, (shape.h + 2) / 3}};
        for (const Shape& to : targets) {
            Bitmap out;
            ASSERT_TRUE(Resize(src, to.w, to.h, out).ok);
            EXPECT_TRUE(SameBitmaps(ReferenceResize(src, to.w, to.h), out, "resize"))
                << shape.w << "x" << shape.h << " to " << to.w << "x" << to.h;
        }
    }
    // Large enough to be split over two threads and written past the caches.
    const Bitmap big = Numbered(1501, 1499);
    Bitmap out;
    ASSERT_TRUE(Resize(big, 2999, 2001, out).ok);
    EXPECT_TRUE(SameBitmaps(ReferenceResize(big, 2999, 2001), out, "resize-large"));
}

TEST(Transforms, InvertAndGreyscale) {
    for (const Shape& shape : kShapes) {
        const Bitmap src = Numbered(shape.w, shape.h);
        Bitmap inverted;
        Bitmap grey;
        ASSERT_TRUE(Invert(src, inverted).ok);
        ASSERT_TRUE(Greyscale(src, grey).ok);
        for (std::size_t i = 0; i < src.PixelCount(); ++i) {
            const Pixel p = src.Data()[i];
            ASSERT_EQ(inverted.Data()[i], p ^ 0x00FFFFFFu);
            const Pixel g = p >> 8 & 0xFF;
            ASSERT_EQ(grey.Data()[i], 0xFF000000u | g << 16 | g << 8 | g);
        }
        // Inverting twice restores every pixel.
        Bitmap back;
        ASSERT_TRUE(Invert(inverted, back).ok);
        EXPECT_TRUE(SameBitmaps(src, back, "invert-twice"));
    }
    Bitmap grey;
    ASSERT_TRUE(Greyscale(test::SolidBitmap(1, 1, PixelFromColour(Rgb(10, 200, 30))), grey).ok);
    EXPECT_EQ(ColourFromPixel(grey.Row(0)[0]), Rgb(200, 200, 200));
    ASSERT_TRUE(Greyscale(test::SolidBitmap(1, 1, PixelFromColour(Rgb(255, 0, 0))), grey).ok);
    EXPECT_EQ(ColourFromPixel(grey.Row(0)[0]), Rgb(0, 0, 0));
}

TEST(Transforms, GreyscaleReportsEveryTwentiethColumnAndGreysEveryPixel) {
    // Taller images are greyed in bands on several threads; the positions still come in order.
    for (const auto& [width, height] :
         {std::pair{1, 7}, {20, 7}, {21, 7}, {47, 7}, {60, 7}, {47, 300}, {3, 1000}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        const Bitmap src = Numbered(width, height);
        Bitmap plain;
        Bitmap reported;
        std::vector<int> positions;
        ASSERT_TRUE(Greyscale(src, plain).ok);
        ASSERT_TRUE(Greyscale(src, reported, [&](int position, int range) {
                        EXPECT_EQ(range, width);
                        positions.push_back(position);
                    }).ok);
        EXPECT_TRUE(SameBitmaps(plain, reported, "greyscale-progress"));
        // In place, with and without progress, the same pixels.
        for (const bool withProgress : {false, true}) {
            Bitmap inPlace = Numbered(width, height);
            ASSERT_TRUE(Greyscale(inPlace, inPlace,
                                  withProgress ? ColumnProgress([](int, int) {}) : ColumnProgress())
                            .ok);
            EXPECT_TRUE(SameBitmaps(plain, inPlace, "greyscale-in-place"));
        }
        std::vector<int> expected{0};
        for (int x = 0; x < width; x += 20) {
            expected.push_back(x);
        }
        expected.push_back(0);
        EXPECT_EQ(positions, expected);
    }
}

TEST(Transforms, CropTakesTheAreaAndRefusesOneOutsideThePicture) {
    const Bitmap src = Numbered(7, 5);
    Bitmap out;
    ASSERT_TRUE(Crop(src, {2, 1, 5, 5}, out).ok);
    ASSERT_EQ(out.Width(), 3);
    ASSERT_EQ(out.Height(), 4);
    EXPECT_EQ(out.Row(0)[0], src.Row(1)[2]);
    EXPECT_EQ(out.Row(3)[2], src.Row(4)[4]);
    // An area ending at the picture's last column and row is inside it.
    ASSERT_TRUE(Crop(src, {5, 3, 7, 5}, out).ok);
    ASSERT_EQ(out.Width(), 2);
    ASSERT_EQ(out.Height(), 2);
    EXPECT_EQ(out.Row(1)[1], src.Row(4)[6]);
    EXPECT_FALSE(Crop(src, {-1, 0, 3, 3}, out).ok);
    EXPECT_FALSE(Crop(src, {0, 0, 8, 3}, out).ok);
    EXPECT_FALSE(Crop(src, {0, 0, 3, 6}, out).ok);
    EXPECT_FALSE(Crop(src, {2, 2, 2, 3}, out).ok);
}

TEST(Transforms, ResultBitmapOfTheRightSizeIsReused) {
    const Bitmap src = Numbered(7, 5);
    Bitmap out;
    ASSERT_TRUE(Flip(src, true, false, out).ok);
    const Pixel* buffer = out.Data();
    ASSERT_TRUE(Invert(src, out).ok);
    EXPECT_EQ(out.Data(), buffer);
    ASSERT_TRUE(RotateQuarter(src, QuarterTurn::Clockwise, out).ok);
    EXPECT_EQ(out.Width(), 5);
}

// Mend: a failed transform leaves the picture exactly as it was (the result is built aside and
// never over the source), and says why.
TEST(TransformMends, FailureLeavesThePictureUntouched) {
    Bitmap image = Numbered(7, 5);
    const Bitmap before = ReferenceFlip(image, false, false);
    // A result written over its own source is refused, not half-drawn.
    EXPECT_EQ(Flip(image, true, false, image).message, str::kFlipFailed);
    EXPECT_EQ(RotateQuarter(image, QuarterTurn::Clockwise, image).message, str::kRotateFailed);
    EXPECT_FALSE(Invert(image, image).ok);
    // A size no bitmap may have.
    Bitmap out;
    const TransformResult tooBig = Resize(image, 1 << 15, 1 << 15, out);
    EXPECT_FALSE(tooBig.ok);
    EXPECT_EQ(tooBig.message, str::kMemoryAllocationFailed);
    EXPECT_TRUE(SameBitmaps(before, image, "after-failures"));
    // The raster quarter turn in place keeps the picture when it fails too; with no picture
    // there is nothing to do and nothing to say.
    Bitmap none;
    EXPECT_FALSE(Flip(none, true, false, out).ok);
    EXPECT_EQ(Flip(none, true, false, out).message, 0);
}

// Mend: the turned size is computed in 64 bits and refused over the pixel limit with the memory
// message, before anything is allocated.
TEST(TransformMends, RotatedSizeOverThePixelLimitIsRefused) {
    Bitmap thin;
    ASSERT_TRUE(thin.Create(1, 300000));
    thin.Fill(0xFF123456u);
    const RotatedFrame frame = RotatedFrameOf(45, 1, 300000);
    EXPECT_EQ(frame.width, 212132);
    EXPECT_EQ(frame.height, 212132);
    // 4.5 x 10^10 pixels: a 32-bit product would wrap to a size that looks possible.
    EXPECT_GT(static_cast<std::uint64_t>(frame.width) * frame.height, kMaxPixels);
    // The previous result in the scratch bitmap is not even touched.
    Bitmap out = Numbered(3, 2);
    const TransformResult result = RotateByAngle(thin, 45, Rgb(0, 255, 0), out);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, str::kMemoryAllocationFailed);
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(thin.Height(), 300000);
    EXPECT_EQ(thin.Row(299999)[0], 0xFF123456u);
}

// Mend: 50 %, 75 % and small percentages of a 1-pixel side give at least one pixel; sizes are
// computed in 64 bits.
TEST(TransformMends, SizesAreAtLeastOnePixelAndComputedIn64Bits) {
    EXPECT_EQ(HalfSize({101, 51}), (Size{50, 25}));
    EXPECT_EQ(ThreeQuarterSize({10, 10}), (Size{7, 7}));
    EXPECT_EQ(HalfSize({1, 1}), (Size{1, 1}));
    EXPECT_EQ(ThreeQuarterSize({1, 3}), (Size{1, 2}));
    EXPECT_EQ(PercentOf(1, 50), 1);
    EXPECT_EQ(PercentOf(50, 3), 1);
    // (w x 3) overflows 32 bits here.
    EXPECT_EQ(ThreeQuarterSize({1000000000, 4}), (Size{750000000, 3}));
    EXPECT_EQ(PercentOf(200, 1500000000), INT_MAX);
}

}  // namespace
}  // namespace palvex
