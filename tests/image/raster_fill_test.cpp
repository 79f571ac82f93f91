#include <climits>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "image/bitmap.h"
#include "image/raster/flood_fill.h"
#include "image/raster/line.h"
#include "support/test_support.h"
#include "support/text_picture.h"

namespace palvex {
namespace {

using test::SameBitmaps;

using test::Ink;
using test::Picture;
using test::Text;

using Rows = std::vector<std::string>;

// Breadth-first reference fill over 4-neighbours, with a visited set of its own.
template <class Qualifies>
Rect ReferenceFill(Bitmap& image, Point seed, Qualifies qualifies, Colour fill) {
    if (!image.Contains(seed.x, seed.y) || !qualifies(image.ReadPixel(seed.x, seed.y))) {
        return {};
    }
    std::vector<char> seen(image.PixelCount());
    std::deque<Point> queue{seed};
    seen[static_cast<std::size_t>(seed.y * image.Width() + seed.x)] = 1;
    Rect changed;
    while (!queue.empty()) {
        const Point p = queue.front();
        queue.pop_front();
        for (const Point n :
             {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1}, Point{p.x, p.y + 1}}) {
            if (image.Contains(n.x, n.y) &&
                !seen[static_cast<std::size_t>(n.y * image.Width() + n.x)] &&
                qualifies(image.ReadPixel(n.x, n.y))) {
                seen[static_cast<std::size_t>(n.y * image.Width() + n.x)] = 1;
                queue.push_back(n);
            }
        }
        image.WritePixel(p.x, p.y, fill);
        changed = changed.United({p.x, p.y, p.x + 1, p.y + 1});
    }
    return changed;
}

TEST(FloodFillSurface, AreasTouchingOnlyAtACornerStaySeparate) {
    Bitmap image = Picture({"aa..", "aa..", "..aa", "..aa"});
    EXPECT_EQ(FloodFillSurface(image, {1, 1}, Ink('x')), (Rect{0, 0, 2, 2}));
    EXPECT_EQ(Text(image), (Rows{"xx..", "xx..", "..aa", "..aa"}));
    EXPECT_EQ(AlphaOf(image.Row(0)[0]), 0xFF);
}

TEST(FloodFillSurface, ComparesColourChannelsOnly) {
    Bitmap image = Picture({"aaa", "aba"});
    image.Row(0)[2] &= kRgbMask;  // same colour, other fourth byte: still part of the region
    FloodFillSurface(image, {0, 0}, Ink('x'));
    EXPECT_EQ(Text(image), (Rows{"xxx", "xbx"}));
}

TEST(FloodFillSurface, NothingHappensForTheSeedColourOrAnOutsideSeed) {
    Bitmap image = Picture({"ab", "ba"});
    EXPECT_TRUE(FloodFillSurface(image, {0, 0}, Ink('a')).IsEmpty());
    EXPECT_TRUE(FloodFillSurface(image, {2, 0}, Ink('x')).IsEmpty());
    EXPECT_TRUE(FloodFillSurface(image, {0, -1}, Ink('x')).IsEmpty());
    EXPECT_TRUE(FloodFillSurface(image, {INT_MIN, INT_MAX}, Ink('x')).IsEmpty());
    EXPECT_EQ(Text(image), (Rows{"ab", "ba"}));
    Bitmap null;
    EXPECT_TRUE(FloodFillSurface(null, {0, 0}, Ink('x')).IsEmpty());
}

TEST(FloodFillBorder, StopsAtADiagonalClosedPolyline) {
    Bitmap image = Picture({".........", ".........", ".........", ".........", ".........",
                            ".........", ".........", ".........", "........."});
    const Point diamond[] = {{4, 0}, {8, 4}, {4, 8}, {0, 4}};
    DrawPolyline(image, diamond, Ink('#'), true);
    const Rows inside = {"....#....", "...#x#...", "..#xxx#..", ".#xxxxx#.", "#xxxxxxx#",
                         ".#xxxxx#.", "..#xxx#..", "...#x#...", "....#...."};
    EXPECT_EQ(FloodFillBorder(image, {4, 4}, Ink('#'), Ink('x')), (Rect{1, 1, 8, 8}));
    EXPECT_EQ(Text(image), inside);

    // fill == border: the filled pixels become the wall themselves.
    Bitmap same = Picture({".........", ".........", ".........", ".........", ".........",
                           ".........", ".........", ".........", "........."});
    DrawPolyline(same, diamond, Ink('#'), true);
    FloodFillBorder(same, {4, 4}, Ink('#'), Ink('#'));
    EXPECT_EQ(Text(same)[4], "#########");
    EXPECT_EQ(Text(same)[3], ".#######.");
    EXPECT_EQ(Text(same)[0], "....#....");
}

TEST(FloodFillBorder, ShallowAndSteepPolylineEdgesDoNotLeak) {
    Bitmap image;
    ASSERT_TRUE(image.Create(40, 30));
    image.Fill(PixelFromColour(Ink('.')));
    const Point triangle[] = {{2, 2}, {37, 9}, {11, 27}};
    DrawPolyline(image, triangle, Ink('#'), true);
    const Rect outside = FloodFillBorder(image, {0, 0}, Ink('#'), Ink('o'));
    EXPECT_EQ(outside, image.Bounds());
    EXPECT_EQ(image.ReadPixel(15, 12), Ink('.'));  // inside the triangle, untouched
    EXPECT_EQ(image.ReadPixel(39, 29), Ink('o'));
}

TEST(FloodFillBorder, NothingHappensOnTheBorderColourOrOutside) {
    Bitmap image = Picture({"a#", "#a"});
    EXPECT_TRUE(FloodFillBorder(image, {1, 0}, Ink('#'), Ink('x')).IsEmpty());
    EXPECT_TRUE(FloodFillBorder(image, {-1, 0}, Ink('#'), Ink('x')).IsEmpty());
    EXPECT_EQ(FloodFillBorder(image, {0, 0}, Ink('#'), Ink('x')), (Rect{0, 0, 1, 1}));
    EXPECT_EQ(Text(image), (Rows{"x#", "#a"}));
}

TEST(FloodFillBorder, WithoutABorderColourFillsTheWholeImage) {
    Bitmap image = Picture({"ab#", "#ca"});
    EXPECT_EQ(FloodFillBorder(image, {2, 1}, kNoColour, Ink('a')), image.Bounds());
    EXPECT_EQ(Text(image), (Rows{"aaa", "aaa"}));
}

TEST(FloodFill, MatchesABreadthFirstReferenceOnRandomImages) {
    std::mt19937 random(1234);
    const char inks[] = {'a', 'b', 'c'};
    for (int round = 0; round < 400; ++round) {
        const int w = 1 + static_cast<int>(random() % 37);
        const int h = 1 + static_cast<int>(random() % 23);
        Bitmap image;
        ASSERT_TRUE(image.Create(w, h));
        // Mostly one ink so that regions are large and winding.
        for (std::size_t i = 0; i < image.PixelCount(); ++i) {
            image.Data()[i] = PixelFromColour(Ink(random() % 3 == 0 ? inks[random() % 3] : 'a'));
        }
        Bitmap expected;
        ASSERT_TRUE(expected.Create(w, h));
        ASSERT_TRUE(CopyBitmapBits(image, expected));
        const Point seed{static_cast<int>(random() % w), static_cast<int>(random() % h)};
        const Colour fill = Ink(inks[random() % 3]);
        const Colour border = Ink(inks[random() % 3]);
        const Colour seedColour = image.ReadPixel(seed.x, seed.y);
        Rect expectedRect;
        Rect actual;
        switch (round % 3) {
            case 0:
                if (fill != seedColour) {
                    expectedRect = ReferenceFill(
                        expected, seed, [&](Colour c) { return c == seedColour; }, fill);
                }
                actual = FloodFillSurface(image, seed, fill);
                break;
            case 1:  // fill == border: self-marking
                expectedRect = ReferenceFill(
                    expected, seed, [&](Colour c) { return c != border; }, border);
                actual = FloodFillBorder(image, seed, border, border);
                break;
            default:  // fill may differ from border: visited mask
                expectedRect = ReferenceFill(
                    expected, seed, [&](Colour c) { return c != border; }, fill);
                actual = FloodFillBorder(image, seed, border, fill);
                break;
        }
        ASSERT_TRUE(SameBitmaps(expected, image, "random-fill")) << "round " << round;
        ASSERT_EQ(actual, expectedRect) << "round " << round;
    }
}

TEST(FloodFill, WindingFourThousandSquareCorridorFillsCompletely) {
    // Vertical corridors one pixel wide joined alternately at the top and bottom: one region
    // that winds through the whole image, with thousands of spans on every row.
    constexpr int kSize = 4000;
    Bitmap image;
    ASSERT_TRUE(image.Create(kSize, kSize));
    const Pixel open = PixelFromColour(Ink('.'));
    const Pixel wall = PixelFromColour(Ink('#'));
    std::size_t openCount = 0;
    for (int y = 0; y < kSize; ++y) {
        Pixel* row = image.Row(y);
        for (int x = 0; x < kSize; ++x) {
            const bool isWall = x % 2 == 1 && !(x % 4 == 1 ? y == kSize - 1 : y == 0);
            row[x] = isWall ? wall : open;
            openCount += isWall ? 0 : 1;
        }
    }
    // Cut the last corridor: the part above the cut, and the wall gap beside its top, are lost.
    image.Row(kSize / 2)[kSize - 2] = wall;
    const std::size_t expectedFilled = openCount - 1 - kSize / 2 - 1;
    const Point seed{kSize / 2, kSize / 2};
    Bitmap surface;
    ASSERT_TRUE(surface.Create(kSize, kSize));
    ASSERT_TRUE(CopyBitmapBits(image, surface));

    EXPECT_EQ(FloodFillSurface(surface, seed, Ink('x')), (Rect{0, 0, kSize - 1, kSize}));
    EXPECT_EQ(FloodFillBorder(image, seed, Ink('#'), Ink('y')), (Rect{0, 0, kSize - 1, kSize}));
    std::size_t filledSurface = 0;
    std::size_t filledBorder = 0;
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        filledSurface += SameRgb(surface.Data()[i], PixelFromColour(Ink('x'))) ? 1 : 0;
        filledBorder += SameRgb(image.Data()[i], PixelFromColour(Ink('y'))) ? 1 : 0;
    }
    EXPECT_EQ(filledSurface, expectedFilled);
    EXPECT_EQ(filledBorder, expectedFilled);
}

}  // namespace
}  // namespace palvex
