#include "tools/pen_stroke.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "tools/pens.h"

namespace palvex {
namespace {

using test::SameBitmaps;

constexpr Colour kKey = Rgb(0, 255, 0);

// Every pixel gets its own colour, so a misplaced block shows.
Bitmap Gradient(int w, int h) {
    Bitmap image;
    EXPECT_TRUE(image.Create(w, h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.WritePixel(x, y, Rgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
        }
    }
    return image;
}

Bitmap Copy(const Bitmap& image) {
    Bitmap copy;
    EXPECT_TRUE(copy.Create(image.Width(), image.Height()));
    CopyBitmapBits(image, copy);
    return copy;
}

// The bounds of the pixels that differ.
Rect Differences(const Bitmap& a, const Bitmap& b) {
    Rect r;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Row(y)[x] != b.Row(y)[x]) {
                r = r.United({x, y, x + 1, y + 1});
            }
        }
    }
    return r;
}

void Stroke(Bitmap& image, PenStroke& stroke, const ProcessingRange& range,
            const CanvasMapping& mapping, std::initializer_list<Point> clients,
            PenMode mode = PenMode::Pen) {
    const PenSettings pen{mode, kKey, kKey, {true, 5}};
    for (const Point client : clients) {
        ApplyPen(image, mapping.WindowToImage(client), range, MakeRangeOutline(range, client),
                 mapping, pen, &stroke);
    }
}

TEST(PenStroke, SwappingTheKeptBlocksGivesTheImageBeforeAndAfterTheStroke) {
    Bitmap image = Gradient(300, 200);
    const Bitmap before = Copy(image);
    PenStroke stroke(image);
    EXPECT_FALSE(stroke.Processed());
    const CanvasMapping mapping{1.0f, {0, 0}};
    Stroke(image, stroke, {1, 40, 0, 0, 0.0, false}, mapping, {{20, 20}, {150, 90}, {290, 190}});
    Stroke(image, stroke, {2, 30, 0, 0, 0.4, false}, mapping, {{100, 150}}, PenMode::FillBack);
    EXPECT_TRUE(stroke.Processed());
    const Bitmap after = Copy(image);

    ASSERT_TRUE(stroke.SwapBefore(image));
    EXPECT_TRUE(SameBitmaps(before, image, "stroke_before"));
    ASSERT_TRUE(stroke.SwapBefore(image));
    EXPECT_TRUE(SameBitmaps(after, image, "stroke_after"));
    // Only the visited blocks were copied.
    EXPECT_LT(stroke.KeptBytes(), image.ByteCount() / 2);
    EXPECT_GT(stroke.KeptBytes(), 0u);
}

TEST(PenStroke, ChangedRectHoldsEveryChangedPixel) {
    // At 400 % the ellipse's reported rectangle misses a column of what it visits.
    const ProcessingRange circle{1, 30, 0, 0, 0.0, false};
    const CanvasMapping zoom4{4.0f, {3, 0}};
    Bitmap image = Gradient(64, 64);
    const Bitmap before = Copy(image);
    PenStroke stroke(image);
    Stroke(image, stroke, circle, zoom4, {{100, 100}, {40, 40}});
    const Rect changed = Differences(before, image);
    ASSERT_FALSE(changed.IsEmpty());
    EXPECT_EQ(changed.United(stroke.ChangedRect()), stroke.ChangedRect());
    EXPECT_NE(changed.United(stroke.StrokeRect()), stroke.StrokeRect());
}

TEST(PenStroke, ChangedRectStaysInsideTheImage) {
    Bitmap image = Gradient(20, 20);
    PenStroke stroke(image);
    Stroke(image, stroke, {0, 1, 0, 0, 0.0, false}, {1.0f, {0, 0}}, {{0, 0}});
    EXPECT_EQ(stroke.StrokeRect(), (Rect{-5, -5, 5, 5}));
    EXPECT_EQ(stroke.ChangedRect(), (Rect{0, 0, 5, 5}));
}

TEST(PenStroke, ApplicationsOutsideTheImageProcessNothing) {
    Bitmap image = Gradient(20, 20);
    const Bitmap before = Copy(image);
    PenStroke stroke(image);
    Stroke(image, stroke, {0, 10, 0, 0, 0.0, false}, {1.0f, {0, 0}}, {{60, 5}, {-30, -30}});
    EXPECT_FALSE(stroke.Processed());
    EXPECT_EQ(stroke.KeptBytes(), 0u);
    EXPECT_TRUE(SameBitmaps(before, image, "outside"));
    EXPECT_TRUE(stroke.SwapBefore(image));  // an undo step that changes nothing
}

TEST(PenStroke, RefusesAnImageOfAnotherSize) {
    Bitmap image = Gradient(20, 20);
    PenStroke stroke(image);
    Bitmap other = Gradient(21, 20);
    EXPECT_FALSE(stroke.SwapBefore(other));
    Stroke(other, stroke, {0, 10, 0, 0, 0.0, false}, {1.0f, {0, 0}}, {{5, 5}});
    EXPECT_FALSE(stroke.HasBefore());
}

}  // namespace
}  // namespace palvex
