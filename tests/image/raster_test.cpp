#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "image/bitmap.h"
#include "image/raster/draw.h"
#include "image/raster/pattern.h"
#include "image/raster/rotate.h"
#include "image/raster/stretch_copy.h"
#include "support/test_support.h"
#include "support/text_picture.h"

namespace palvex {
namespace {

using test::MakeBitmap;
using test::SameBitmaps;
using test::SolidBitmap;

using test::Ink;
using test::Picture;
using test::Text;

using Rows = std::vector<std::string>;

Bitmap Blank(int w, int h) {
    return SolidBitmap(w, h, PixelFromColour(Ink('.')));
}

TEST(StretchCopy, MapsColumnsAndRowsAtEachZoom) {
    const Bitmap src = Picture({"abcd", "efgh"});
    struct Case {
        Rect dst;
        Rows expected;
    };
    const Case cases[] = {
        {{0, 0, 4, 2}, {"abcd", "efgh"}},                          // zoom 1
        {{0, 0, 8, 1}, {"aabbccdd"}},                              // 2 across, rows 2:1
        {{0, 0, 2, 2}, {"ac", "eg"}},                              // 0.5
        {{0, 0, 3, 2}, {"abc", "efg"}},                            // 0.75: floor(i*4/3)
        {{0, 0, 6, 4}, {"aabccd", "aabccd", "eefggh", "eefggh"}},  // 1.5 x 2
        {{4, 0, 0, 2}, {"dcba", "hgfe"}},                          // mirrored x
        {{0, 2, 4, 0}, {"efgh", "abcd"}},                          // mirrored y
        {{8, 0, 0, 1}, {"ddccbbaa"}},                              // mirrored, zoom 2
    };
    for (const Case& c : cases) {
        Bitmap dst = Blank(std::max(c.dst.left, c.dst.right), std::max(c.dst.top, c.dst.bottom));
        StretchCopy(dst, c.dst, src, src.Bounds());
        EXPECT_EQ(Text(dst), c.expected) << "dst " << c.dst.left << "," << c.dst.top << ","
                                         << c.dst.right << "," << c.dst.bottom;
    }
}

TEST(StretchCopy, ZoomEightRepeatsEachPixelInAnEightByEightBlock) {
    const Bitmap src = Picture({"ab", "cd"});
    Bitmap dst = Blank(16, 16);
    StretchCopy(dst, {0, 0, 16, 16}, src, src.Bounds());
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(dst.ReadPixel(x, y), src.ReadPixel(x / 8, y / 8)) << x << "," << y;
        }
    }
}

TEST(KeyedStretchCopy, SkipsKeyPixelsAndKeepsTheirNeighbours) {
    Bitmap src = Picture({"akb", "kck"});
    src.Row(1)[0] = (src.Row(1)[0] & kRgbMask) | 0x00000000u;  // colour 'k' with alpha 0 too
    src.Row(0)[0] &= kRgbMask;                                 // 'a' with alpha 0: still drawn
    Bitmap dst = Blank(6, 2);
    KeyedStretchCopy(dst, {0, 0, 6, 2}, src, src.Bounds(), Ink('k'));
    EXPECT_EQ(Text(dst), (Rows{"aa..bb", "..cc.."}));
    EXPECT_EQ(AlphaOf(dst.Row(0)[0]), 0xFF);

    // kNoColour skips nothing, not even white-looking pixels.
    const Bitmap white = SolidBitmap(2, 1, 0xFFFFFFFFu);
    Bitmap out = Blank(2, 1);
    out.Fill(0xFF000000u);
    KeyedStretchCopy(out, {0, 0, 2, 1}, white, white.Bounds(), kNoColour);
    EXPECT_EQ(out.ReadPixel(1, 0), Rgb(255, 255, 255));
}

TEST(KeyedStretchCopy, LongRowsWithScatteredKeysMatchPixelByPixel) {
    // Wide enough for the grouped row kernels, with key runs of every length and odd tails.
    std::mt19937 random(5);
    Bitmap src;
    ASSERT_TRUE(src.Create(61, 3));
    for (std::size_t i = 0; i < src.PixelCount(); ++i) {
        const bool key = random() % 3 == 0 || (i > 20 && i < 40);
        const Pixel alpha = static_cast<Pixel>(random() % 2) << 31;
        src.Data()[i] = (key ? PixelFromColour(Ink('k')) & kRgbMask : random() & kRgbMask) | alpha;
    }
    for (const int zoom : {1, 2}) {
        Bitmap dst = Blank(61 * zoom, 3);
        KeyedStretchCopy(dst, {0, 0, 61 * zoom, 3}, src, src.Bounds(), Ink('k'));
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 61 * zoom; ++x) {
                const Pixel from = src.Row(y)[x / zoom];
                const Pixel expected = SameRgb(from, PixelFromColour(Ink('k')))
                                           ? PixelFromColour(Ink('.'))
                                           : from | kOpaqueAlpha;
                ASSERT_EQ(dst.Row(y)[x], expected) << "zoom " << zoom << " at " << x << "," << y;
            }
        }
    }
}

TEST(KeyedStretchCopy, ClippingAtEachEdgeKeepsTheMapping) {
    // Each clipped copy must equal the matching crop of the same copy into a large canvas.
    const Bitmap src = Picture({"abcdefg", "hijklmn", "opqrstu", "vwxyzAB", "CDEFGHI"});
    const Rect dstRects[] = {{-5, -3, 12, 9}, {-11, 2, 3, 16}, {3, -7, 19, 4},
                             {2, 1, 30, 25},  {12, 9, -6, -4}, {-20, -20, 40, 40}};
    const Rect srcRects[] = {src.Bounds(), {1, 1, 6, 4}, {-3, -2, 9, 7}};
    for (const Rect& s : srcRects) {
        for (const Rect& d : dstRects) {
            constexpr int kPad = 40;
            Bitmap big = Blank(8 + 2 * kPad, 6 + 2 * kPad);
            StretchCopy(big, {d.left + kPad, d.top + kPad, d.right + kPad, d.bottom + kPad}, src,
                        s);
            Bitmap small = Blank(8, 6);
            KeyedStretchCopy(small, d, src, s, Ink('j'));
            Bitmap expected = Blank(8, 6);
            // The canvas crop, except that key pixels leave the blank destination showing.
            for (int y = 0; y < 6; ++y) {
                for (int x = 0; x < 8; ++x) {
                    const Colour c = big.ReadPixel(x + kPad, y + kPad);
                    expected.WritePixel(x, y, c == Ink('j') ? Ink('.') : c);
                }
            }
            EXPECT_TRUE(SameBitmaps(expected, small, "keyed-clip")) << d.left << "," << d.top;
        }
    }
}

TEST(StretchCopy, SourceAreaOutsideTheSourceIsNotDrawn) {
    const Bitmap src = Picture({"ab", "cd"});
    Bitmap dst = Blank(4, 2);
    StretchCopy(dst, {0, 0, 4, 2}, src, {-1, 0, 3, 2});  // one column either side is outside
    EXPECT_EQ(Text(dst), (Rows{".ab.", ".cd."}));
}

TEST(StretchCopy, WithinOneBitmapReadsTheOriginalPixels) {
    Bitmap image = Picture({"abcd", "...."});
    StretchCopy(image, {0, 0, 4, 2}, image, {0, 0, 2, 1});
    EXPECT_EQ(Text(image), (Rows{"aabb", "aabb"}));
    // Every destination pixel from one source pixel away from the origin.
    StretchCopy(image, {1, 0, 4, 2}, image, {2, 1, 3, 2});
    EXPECT_EQ(Text(image), (Rows{"abbb", "abbb"}));
}

TEST(StretchCopy, HostileRectanglesAreCheapAndSafe) {
    const Bitmap src = Picture({"ab", "cd"});
    Bitmap dst = Blank(4, 4);
    StretchCopy(dst, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, src, src.Bounds());
    // Column 0 is step 2^31 of 2^32 - 1, just past the middle: source column 1.
    EXPECT_EQ(Text(dst), (Rows{"dddd", "dddd", "dddd", "dddd"}));
    StretchCopy(dst, {0, 0, 4, 4}, src, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    StretchCopy(dst, {0, 0, 4, 4}, src, {1, 1, 1, 5});  // empty source
    Bitmap null;
    StretchCopy(null, {0, 0, 4, 4}, src, src.Bounds());
    StretchCopy(dst, {0, 0, 4, 4}, null, {0, 0, 1, 1});
}

TEST(BlockCopy, CopiesOneToOneClippedToBothBitmaps) {
    const Bitmap src = Picture({"abc", "def", "ghi"});
    Bitmap dst = Blank(4, 3);
    BlockCopy(dst, {-1, 1}, src, {0, 0, 3, 3});
    EXPECT_EQ(Text(dst), (Rows{"....", "bc..", "ef.."}));
    BlockCopy(dst, {2, 0}, src, {-2, 1, 2, 9});  // source rows 1..2, cols 0..1 at x 4..
    EXPECT_EQ(Text(dst), (Rows{"....", "bc..", "ef.."}));
    BlockCopy(dst, {0, 0}, src, {1, 2, 3, 9});
    EXPECT_EQ(Text(dst), (Rows{"hi..", "bc..", "ef.."}));
    BlockCopy(dst, {INT_MAX, INT_MIN}, src, {INT_MIN, 0, INT_MAX, 3});
}

TEST(BlockCopy, OverlappingAreasOfOneBitmapMoveIntact) {
    Bitmap image = Picture({"abc.", "def.", "ghi.", "...."});
    BlockCopy(image, {1, 1}, image, {0, 0, 3, 3});
    EXPECT_EQ(Text(image), (Rows{"abc.", "dabc", "gdef", ".ghi"}));
    BlockCopy(image, {0, 0}, image, {1, 1, 4, 4});
    EXPECT_EQ(Text(image), (Rows{"abc.", "defc", "ghif", ".ghi"}));
}

TEST(Rotate, QuarterTurnsOfAThreeByTwoImage) {
    const Bitmap src = Picture({"abc", "def"});
    Bitmap cw;
    ASSERT_TRUE(RotateClockwise(src, cw));
    EXPECT_EQ(Text(cw), (Rows{"da", "eb", "fc"}));
    Bitmap ccw;
    ASSERT_TRUE(RotateCounterClockwise(src, ccw));
    EXPECT_EQ(Text(ccw), (Rows{"cf", "be", "ad"}));
}

TEST(Rotate, TurnsAcrossTileEdgesRoundTripAndKeepAllBytes) {
    Bitmap src;
    ASSERT_TRUE(src.Create(131, 70));
    for (std::size_t i = 0; i < src.PixelCount(); ++i) {
        src.Data()[i] = static_cast<Pixel>(i * 2654435761u);
    }
    Bitmap a;
    Bitmap b;
    ASSERT_TRUE(RotateClockwise(src, a));
    ASSERT_EQ(a.Width(), 70);
    EXPECT_EQ(a.Row(5)[70 - 1 - 9], src.Row(9)[5]);
    ASSERT_TRUE(RotateCounterClockwise(a, b));
    EXPECT_TRUE(SameBitmaps(src, b, "cw-ccw"));
    // Four turns in place give the original back.
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(RotateCounterClockwise(b, b));
    }
    EXPECT_TRUE(SameBitmaps(src, b, "four-turns"));

    Bitmap null;
    EXPECT_FALSE(RotateClockwise(null, a));
    EXPECT_TRUE(a.IsNull());
}

// A turn into the buffer of the same pixel count in another shape (the previous turn's image)
// gives the result's shape, and one of another count is re-created.
TEST(Rotate, TurnsIntoABufferOfAnyShape) {
    const Bitmap src = Picture({"abc", "def"});
    Bitmap out;
    ASSERT_TRUE(out.Create(6, 1));
    ASSERT_TRUE(RotateClockwise(src, out));
    EXPECT_EQ(Text(out), (Rows{"da", "eb", "fc"}));
    ASSERT_TRUE(out.Create(2, 2));
    ASSERT_TRUE(RotateCounterClockwise(src, out));
    EXPECT_EQ(Text(out), (Rows{"cf", "be", "ad"}));

    ASSERT_TRUE(out.Reshape(3, 2));
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out.Height(), 2);
    EXPECT_FALSE(out.Reshape(4, 2));
    EXPECT_FALSE(out.Reshape(0, 0));
    EXPECT_EQ(out.Width(), 3);
    Bitmap null;
    EXPECT_FALSE(null.Reshape(1, 1));
}

TEST(FillAndInvertRect, ClipAndWriteOpaquePixels) {
    Bitmap image = SolidBitmap(3, 2, 0x00102030u);
    InvertRect(image, {-5, 1, 2, 99});
    EXPECT_EQ(image.Row(1)[1], 0xFFEFDFCFu);
    EXPECT_EQ(image.Row(1)[2], 0x00102030u);
    EXPECT_EQ(image.Row(0)[0], 0x00102030u);
    FillRect(image, {2, -1, INT_MAX, 1}, Rgb(1, 2, 3));
    EXPECT_EQ(image.Row(0)[2], PixelFromColour(Rgb(1, 2, 3)));
    EXPECT_EQ(image.Row(0)[1], 0x00102030u);
    FillRect(image, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, Rgb(9, 9, 9));
    EXPECT_EQ(image.Row(1)[0], PixelFromColour(Rgb(9, 9, 9)));
}

TEST(PatternFill, TilesLineUpWithANegativeOrigin) {
    const Bitmap tile = Picture({"abc", "def"});
    Bitmap image = Blank(7, 4);
    PatternFill(image, {1, 0, 7, 3}, tile, {-1, -5});
    // Column x takes tile column (x + 1) mod 3, row y tile row (y + 5) mod 2.
    EXPECT_EQ(Text(image), (Rows{".fdefde", ".cabcab", ".fdefde", "......."}));

    // Drawing the area piece by piece gives the same picture.
    Bitmap pieces = Blank(7, 4);
    PatternFill(pieces, {1, 0, 3, 2}, tile, {-1, -5});
    PatternFill(pieces, {3, 0, 7, 2}, tile, {-1, -5});
    PatternFill(pieces, {-4, 2, 7, 3}, tile, {-1, -5});
    FillRect(pieces, {0, 0, 1, 4}, Ink('.'));
    EXPECT_TRUE(SameBitmaps(image, pieces, "pattern-pieces"));

    Bitmap far = Blank(2, 1);
    PatternFill(far, far.Bounds(), tile, {INT_MAX, INT_MIN});
    // (0 - INT_MAX) mod 3 = 2 and (0 - INT_MIN) mod 2 = 0.
    EXPECT_EQ(Text(far), (Rows{"ca"}));
}

}  // namespace
}  // namespace palvex
