#include <climits>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/bitmap.h"
#include "image/raster/ellipse.h"
#include "image/raster/line.h"
#include "support/test_support.h"

namespace palvex {
namespace {

using test::SameBitmaps;
using test::SolidBitmap;

constexpr Colour kInk = Rgb(0, 0, 0);
constexpr Pixel kPaper = PixelFromColour(Rgb(255, 255, 255));

std::vector<std::string> Text(const Bitmap& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.Height(); ++y) {
        std::string row;
        for (int x = 0; x < image.Width(); ++x) {
            row += image.ReadPixel(x, y) == kInk ? 'x' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::string>;
using Points = std::vector<Point>;

Points Walk(Point from, Point to, bool includeEnd, const Rect& clip) {
    Points points;
    LinePixels(from, to, includeEnd, clip, [&](Point p) { points.push_back(p); });
    return points;
}

constexpr Rect kEverywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

TEST(Line, ExactPixelsForSeveralSlopes) {
    EXPECT_EQ(Walk({0, 0}, {4, 2}, true, kEverywhere),
              (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    // Halves round away from the start, so the reverse line is its own set.
    EXPECT_EQ(Walk({4, 2}, {0, 0}, true, kEverywhere),
              (Points{{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(Walk({0, 0}, {1, 3}, true, kEverywhere), (Points{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(Walk({2, 0}, {-1, -3}, true, kEverywhere),
              (Points{{2, 0}, {1, -1}, {0, -2}, {-1, -3}}));
    EXPECT_EQ(Walk({0, 0}, {5, 1}, true, kEverywhere),
              (Points{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1}}));
    EXPECT_EQ(Walk({3, 3}, {3, 0}, false, kEverywhere), (Points{{3, 3}, {3, 2}, {3, 1}}));
    EXPECT_EQ(Walk({3, 3}, {3, 3}, true, kEverywhere), (Points{{3, 3}}));
    EXPECT_TRUE(Walk({3, 3}, {3, 3}, false, kEverywhere).empty());
}

TEST(Line, IsEightConnectedWithoutDoubledCorners) {
    std::mt19937 random(99);
    for (int round = 0; round < 500; ++round) {
        const Point from{static_cast<int>(random() % 81) - 40,
                         static_cast<int>(random() % 81) - 40};
        const Point to{static_cast<int>(random() % 81) - 40, static_cast<int>(random() % 81) - 40};
        const Points points = Walk(from, to, true, kEverywhere);
        const int major = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
        ASSERT_EQ(points.size(), static_cast<std::size_t>(major) + 1);
        ASSERT_EQ(points.front(), from);
        ASSERT_EQ(points.back(), to);
        for (std::size_t i = 1; i < points.size(); ++i) {
            const int dx = std::abs(points[i].x - points[i - 1].x);
            const int dy = std::abs(points[i].y - points[i - 1].y);
            // Every step moves exactly one along the major axis: no gaps, no L-shaped corners.
            ASSERT_EQ(std::max(dx, dy), 1);
            ASSERT_LE(std::min(dx, dy), 1);
            ASSERT_EQ(std::abs(to.x - from.x) >= std::abs(to.y - from.y) ? dx : dy, 1);
        }
    }
}

TEST(Line, ClippingKeepsExactlyTheVisiblePixels) {
    std::mt19937 random(7);
    const Rect clip{3, 5, 40, 30};
    for (int round = 0; round < 2000; ++round) {
        const Point from{static_cast<int>(random() % 200) - 80,
                         static_cast<int>(random() % 200) - 80};
        const Point to{static_cast<int>(random() % 200) - 80,
                       static_cast<int>(random() % 200) - 80};
        const bool includeEnd = round % 2 == 0;
        Points expected;
        for (const Point p : Walk(from, to, includeEnd, kEverywhere)) {
            if (clip.Contains(p.x, p.y)) {
                expected.push_back(p);
            }
        }
        ASSERT_EQ(Walk(from, to, includeEnd, clip), expected)
            << from.x << "," << from.y << " -> " << to.x << "," << to.y;
    }
}

TEST(Line, FarEndpointsCostOnlyTheVisiblePart) {
    Bitmap image = SolidBitmap(100, 10, kPaper);
    // Step i = x + 2e9 sits at offset (10i + 4e9) / 8e9, which turns 3 exactly at x = 0.
    DrawLine(image, {-2000000000, 0}, {2000000000, 5}, kInk, true);
    EXPECT_EQ(Text(image)[3], std::string(100, 'x'));
    EXPECT_EQ(Text(image)[2], std::string(100, '.'));

    // Both axes far away: the visible pixels stay within half a pixel of the true line.
    const Point from{-2000000000, -1999999990};
    const Point to{2000000000, 2000000000};
    const Points points = Walk(from, to, true, {-20, -20, 20, 20});
    ASSERT_FALSE(points.empty());
    __extension__ using Wide = __int128;
    const Wide dx = Wide{to.x} - from.x;
    const Wide dy = Wide{to.y} - from.y;
    for (const Point p : points) {
        const Wide error = 2 * (Wide{p.y} - from.y) * dx - 2 * (Wide{p.x} - from.x) * dy;
        EXPECT_LE(error < 0 ? -error : error, dx) << p.x << "," << p.y;
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        EXPECT_EQ(points[i].x, points[i - 1].x + 1);
    }
}

TEST(Polyline, SegmentsOmitTheirEndPoints) {
    Bitmap open = SolidBitmap(5, 3, kPaper);
    const Point corner[] = {{0, 0}, {4, 0}, {4, 2}};
    DrawPolyline(open, corner, kInk, false);
    EXPECT_EQ(Text(open), (Rows{"xxxxx", "....x", "....."}));

    Bitmap closed = SolidBitmap(5, 3, kPaper);
    DrawPolyline(closed, corner, kInk, true);
    EXPECT_EQ(Text(closed), (Rows{"xxxxx", "..xxx", "....x"}));
}

Bitmap Filled(int w, int h) {
    Bitmap image = SolidBitmap(w, h, kPaper);
    FillEllipse(image, {0, 0, w, h}, kInk);
    return image;
}

TEST(Ellipse, SmallBoxes) {
    EXPECT_EQ(Text(Filled(1, 1)), (Rows{"x"}));
    EXPECT_EQ(Text(Filled(2, 2)), (Rows{"xx", "xx"}));
    EXPECT_EQ(Text(Filled(5, 5)), (Rows{".xxx.", "xxxxx", "xxxxx", "xxxxx", ".xxx."}));
    EXPECT_EQ(Text(Filled(7, 3)), (Rows{".xxxxx.", "xxxxxxx", ".xxxxx."}));
    Bitmap outline = SolidBitmap(5, 5, kPaper);
    DrawEllipseOutline(outline, {0, 0, 5, 5}, kInk);
    EXPECT_EQ(Text(outline), (Rows{".xxx.", "x...x", "x...x", "x...x", ".xxx."}));
}

bool Inked(const Bitmap& image, int x, int y) {
    return image.ReadPixel(x, y) == kInk;
}

// Number of 8-connected groups of inked pixels.
int Components(const Bitmap& image) {
    std::vector<char> seen(image.PixelCount());
    int groups = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (!Inked(image, x, y) || seen[static_cast<std::size_t>(y * image.Width() + x)]) {
                continue;
            }
            ++groups;
            std::deque<Point> queue{{x, y}};
            seen[static_cast<std::size_t>(y * image.Width() + x)] = 1;
            while (!queue.empty()) {
                const Point p = queue.front();
                queue.pop_front();
                for (int ny = p.y - 1; ny <= p.y + 1; ++ny) {
                    for (int nx = p.x - 1; nx <= p.x + 1; ++nx) {
                        if (Inked(image, nx, ny) &&
                            !seen[static_cast<std::size_t>(ny * image.Width() + nx)]) {
                            seen[static_cast<std::size_t>(ny * image.Width() + nx)] = 1;
                            queue.push_back({nx, ny});
                        }
                    }
                }
            }
        }
    }
    return groups;
}

TEST(Ellipse, SymmetricSingleSpansWithAConnectedEdgeOutline) {
    for (int h = 1; h <= 26; ++h) {
        for (int w = 1; w <= 26; ++w) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            const Bitmap fill = Filled(w, h);
            Bitmap outline = SolidBitmap(w, h, kPaper);
            DrawEllipseOutline(outline, {0, 0, w, h}, kInk);
            for (int y = 0; y < h; ++y) {
                int runs = 0;
                for (int x = 0; x < w; ++x) {
                    ASSERT_EQ(Inked(fill, x, y), Inked(fill, w - 1 - x, y));
                    ASSERT_EQ(Inked(fill, x, y), Inked(fill, x, h - 1 - y));
                    runs += Inked(fill, x, y) && !Inked(fill, x - 1, y) ? 1 : 0;
                    // The outline is exactly the fill's edge (inked pixels with a 4-neighbour
                    // outside), so it is one pixel wide and outlines what a fill would cover.
                    const bool edge =
                        Inked(fill, x, y) && (!Inked(fill, x - 1, y) || !Inked(fill, x + 1, y) ||
                                              !Inked(fill, x, y - 1) || !Inked(fill, x, y + 1));
                    ASSERT_EQ(Inked(outline, x, y), edge) << x << "," << y;
                }
                ASSERT_LE(runs, 1);
            }
            ASSERT_EQ(Components(outline), 1);
        }
    }
}

TEST(Ellipse, ClippedDrawingMatchesTheUnclippedOne) {
    const Rect boxes[] = {{-7, -3, 12, 9}, {4, 2, 31, 17}, {-30, -30, 40, 40}, {5, -12, 9, 30}};
    for (const Rect& box : boxes) {
        constexpr int kPad = 40;
        Bitmap big = SolidBitmap(10 + 2 * kPad, 8 + 2 * kPad, kPaper);
        const Rect moved{box.left + kPad, box.top + kPad, box.right + kPad, box.bottom + kPad};
        FillEllipse(big, moved, Rgb(1, 1, 1));
        DrawEllipseOutline(big, moved, kInk);
        Bitmap small = SolidBitmap(10, 8, kPaper);
        FillEllipse(small, box, Rgb(1, 1, 1));
        DrawEllipseOutline(small, box, kInk);
        Bitmap crop = SolidBitmap(10, 8, kPaper);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                crop.Row(y)[x] = big.Row(y + kPad)[x + kPad];
            }
        }
        EXPECT_TRUE(SameBitmaps(crop, small, "ellipse-clip")) << box.left << "," << box.top;
    }
}

TEST(Ellipse, HugeAndEmptyBoxesAreSafe) {
    Bitmap image = SolidBitmap(8, 8, kPaper);
    FillEllipse(image, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kInk);
    EXPECT_EQ(Text(image), Rows(8, "xxxxxxxx"));
    Bitmap outline = SolidBitmap(8, 8, kPaper);
    DrawEllipseOutline(outline, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kInk);
    EXPECT_EQ(Text(outline), Rows(8, "........"));
    // The top of the same ellipse: one long flat outline row.
    DrawEllipseOutline(outline, {INT_MIN, 0, INT_MAX, INT_MAX}, kInk);
    EXPECT_EQ(Text(outline)[0], "xxxxxxxx");
    EXPECT_EQ(Text(outline)[1], "........");
    FillEllipse(image, {5, 5, 2, 2}, Rgb(1, 2, 3));
    FillEllipse(image, {5, 5, 5, 9}, Rgb(1, 2, 3));
    EXPECT_EQ(Text(image), Rows(8, "xxxxxxxx"));
}

}  // namespace
}  // namespace palvex
