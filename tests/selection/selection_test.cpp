// The selection rectangle's rules and the floating picture's pixel work.

#include "selection/selection.h"

#include <gtest/gtest.h>

#include "selection/paste_pixels.h"
#include "support/test_support.h"

namespace palvex {
namespace {

// Pixel (x, y) holds a value that names it.
Bitmap Numbered(int w, int h) {
    Bitmap b;
    EXPECT_TRUE(b.Create(w, h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.Row(y)[x] = kOpaqueAlpha | static_cast<Pixel>(y * 256 + x);
        }
    }
    return b;
}

TEST(SelectionRules, HandlesAreHitWithinFivePixelsInTheirOrder) {
    const Rect r{10, 20, 110, 61};
    const auto h = HandlePoints(r);
    EXPECT_EQ(h[2], (Point{110, 61}));
    EXPECT_EQ(h[5], (Point{110, 40}));  // (20 + 61) div 2
    const CanvasMapping zoom2{2.0f, {4, 0}};
    // Handle 1 (right, top) lies at window (216, 40): the box is 211..220.
    EXPECT_EQ(HandleAt(r, {211, 35}, zoom2), 1);
    EXPECT_EQ(HandleAt(r, {220, 44}, zoom2), 1);
    EXPECT_EQ(HandleAt(r, {221, 40}, zoom2), -1);
    EXPECT_EQ(HandleAt(r, {210, 40}, zoom2), -1);
    EXPECT_EQ(HandleAt(r, {100, 60}, zoom2), -1);
}

TEST(SelectionRules, RubberBandCountsPastNineWindowPixelsAndSelectsFromFifteen) {
    const CanvasMapping zoom1{1.0f, {}};
    RubberBand band({20, 20});
    EXPECT_FALSE(band.Track({29, 29}, {200, 100}, zoom1));
    EXPECT_TRUE(band.Result().IsEmpty());
    EXPECT_TRUE(band.Track({34, 60}, {200, 100}, zoom1));
    EXPECT_TRUE(band.Result().IsEmpty()) << "14 x 40 selects nothing";
    band.Track({5, 5}, {200, 100}, zoom1);
    EXPECT_EQ(band.Result(), (Rect{5, 5, 20, 20})) << "15 x 15 selects, normalised";
    // The pointer is held inside the image.
    band.Track({500, -50}, {200, 100}, zoom1);
    EXPECT_EQ(band.Band(), (Rect{20, 0, 199, 20}));
    // At zoom 4 three image pixels already span 12 window pixels.
    RubberBand zoomed({20, 20});
    EXPECT_TRUE(zoomed.Track({23, 20}, {200, 100}, {4.0f, {}}));
}

TEST(SelectionRules, MovesPassThroughWindowCoordinates) {
    // At zoom 0.5 a step of 1 is lost and an odd width shrinks by one.
    EXPECT_EQ(SteppedSelection({10, 10, 31, 40}, 1, 0, 0.5f), (Rect{10, 10, 30, 40}));
    EXPECT_EQ(SteppedSelection({10, 10, 31, 40}, -10, 5, 1.0f), (Rect{0, 15, 21, 45}));
    // A drag keeps the window size and is not held in the image.
    const CanvasMapping mapping{2.0f, {10, 0}};
    EXPECT_EQ(MovedSelection({10, 10, 30, 20}, {5, 5}, {25, 5}, mapping), (Rect{-5, 0, 15, 10}));
}

TEST(SelectionRules, PasteIsCentredOnThePointAndRestoredIntoTheImage) {
    EXPECT_EQ(PastePlacement({300, 200}, {50, 40}, {1.0f, {}}), (Rect{275, 180, 325, 220}));
    EXPECT_EQ(PastePlacement({100, 100}, {50, 40}, {2.0f, {20, 0}}), (Rect{35, 30, 85, 70}));
    // Kept at its top-left where it fits, shifted in where it would stick out, and cut to the
    // image where it is larger.
    EXPECT_EQ(RestoredPasteRect({5, 5, 50, 50}, {20, 30}, {100, 80}, 1.0f), (Rect{5, 5, 25, 35}));
    EXPECT_EQ(RestoredPasteRect({-10, 70, 0, 75}, {20, 30}, {100, 80}, 1.0f),
              (Rect{0, 50, 20, 80}));
    EXPECT_EQ(RestoredPasteRect({30, 10, 40, 20}, {150, 30}, {100, 80}, 1.0f),
              (Rect{0, 10, 100, 40}));
}

TEST(SelectionRules, APasteWithNoPointCentresOnTheImageItSees) {
    // An image filling the window: the window's centre.
    EXPECT_EQ(PasteCentre({800, 600}, {3000, 2000}, {1.0f, {500, 300}}), (Point{400, 300}));
    // A small image: the middle of the part of the window it covers, at any zoom.
    EXPECT_EQ(PasteCentre({1024, 720}, {300, 200}, {1.0f, {}}), (Point{150, 100}));
    EXPECT_EQ(PasteCentre({1024, 720}, {300, 200}, {0.5f, {}}), (Point{75, 50}));
    EXPECT_EQ(PasteCentre({1024, 720}, {300, 200}, {2.0f, {}}), (Point{300, 200}));
    // Scrolled to its right end: the visible part only.
    EXPECT_EQ(PasteCentre({400, 300}, {1000, 100}, {1.0f, {600, 0}}), (Point{200, 50}));

    EXPECT_EQ(ShiftedInto({280, 190, 320, 220}, {300, 200}), (Rect{260, 170, 300, 200}));
    EXPECT_EQ(ShiftedInto({-5, -3, 35, 27}, {300, 200}), (Rect{0, 0, 40, 30}));
    EXPECT_EQ(ShiftedInto({10, 10, 50, 40}, {300, 200}), (Rect{10, 10, 50, 40}));
}

TEST(SelectionRules, FloatingPictureKeepsItsOwnSizeAtEveryZoom) {
    // At 50 % a side of 51 spans 25 window pixels; taken back it would be 48.
    EXPECT_EQ(PastePlacement({100, 100}, {51, 41}, {0.5f, {}}), (Rect{176, 180, 227, 221}));
    for (const float zoom : kZoomLevels) {
        for (const Size size : {Size{51, 41}, Size{1, 3}, Size{37, 22}}) {
            SCOPED_TRACE(testing::Message()
                         << "zoom " << zoom << ", " << size.width << " x " << size.height);
            const CanvasMapping mapping{zoom, {7, 3}};
            const Rect placed = PastePlacement({301, 199}, size, mapping);
            EXPECT_EQ((Size{placed.Width(), placed.Height()}), size);
            const Rect moved = MovedSelection(placed, {120, 90}, {3, 5}, mapping, true);
            EXPECT_EQ((Size{moved.Width(), moved.Height()}), size);
            const Rect stepped = SteppedSelection(moved, 1, -10, zoom, true);
            EXPECT_EQ((Size{stepped.Width(), stepped.Height()}), size);
            const Rect restored = RestoredPasteRect({-9, 4, 80, 60}, size, {300, 200}, zoom);
            EXPECT_EQ((Size{restored.Width(), restored.Height()}), size);
            EXPECT_GE(restored.left, 0);
        }
    }
}

TEST(SelectionRules, TurnedPictureKeepsItsCentreAndTabWraps) {
    EXPECT_EQ(RecentredRect({10, 10, 110, 50}, {40, 100}), (Rect{40, -20, 80, 80}));
    EXPECT_EQ(NextSide(3, false), 0);
    EXPECT_EQ(NextSide(0, true), 3);
    EXPECT_EQ(NextSide(1, false), 2);
}

TEST(PastePixels, CopyFillsWhatLiesBeyondTheImage) {
    const Bitmap image = Numbered(10, 8);
    Bitmap copy;
    ASSERT_TRUE(CopyArea(image, {-2, 6, 3, 10}, copy));
    ASSERT_EQ(copy.Width(), 5);
    ASSERT_EQ(copy.Height(), 4);
    EXPECT_EQ(copy.Row(0)[2], image.Row(6)[0]);
    EXPECT_EQ(copy.Row(1)[4], image.Row(7)[2]);
    EXPECT_EQ(copy.ReadPixel(1, 0), kOutsideImageColour);
    EXPECT_EQ(copy.ReadPixel(2, 2), kOutsideImageColour);
}

TEST(PastePixels, VisiblePartMatchesTheWholeStretch) {
    const Bitmap picture = Numbered(7, 5);
    const Rect target{-30, 10, 70, 33};
    Bitmap whole;
    Bitmap part;
    ASSERT_TRUE(StretchPart(picture, {7, 5}, target, target, whole));
    ASSERT_TRUE(StretchPart(picture, {7, 5}, target, {0, 0, 40, 20}, part));
    ASSERT_EQ(part.Width(), 40);
    ASSERT_EQ(part.Height(), 10);
    for (int y = 0; y < part.Height(); ++y) {
        for (int x = 0; x < part.Width(); ++x) {
            ASSERT_EQ(part.Row(y)[x], whole.Row(y)[x + 30]) << x << "," << y;
        }
    }
    // Nearest neighbour: target column i takes source column i x 7 div 100.
    EXPECT_EQ(whole.Row(22)[99], picture.Row(4)[6]);
    EXPECT_EQ(whole.Row(0)[15], picture.Row(0)[1]);
}

TEST(PastePixels, StretchNeverReadsPastThePicture) {
    const Bitmap picture = Numbered(4, 4);
    Bitmap out;
    // A size claimed larger than the buffer is held to the buffer.
    ASSERT_TRUE(StretchPart(picture, {40, 40}, {0, 0, 8, 8}, {0, 0, 8, 8}, out));
    EXPECT_EQ(out.Row(7)[7], picture.Row(3)[3]);
    // A smaller size uses the top-left part only.
    ASSERT_TRUE(StretchPart(picture, {2, 2}, {0, 0, 4, 4}, {0, 0, 4, 4}, out));
    EXPECT_EQ(out.Row(3)[3], picture.Row(1)[1]);
}

TEST(PastePixels, ResampleKeepsThePictureOnFailure) {
    Bitmap picture = Numbered(6, 4);
    Size size{6, 4};
    ASSERT_TRUE(ResamplePicture(picture, size, {3, 8}));
    EXPECT_EQ(size, (Size{3, 8}));
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Row(7)[2], kOpaqueAlpha | (3 * 256 + 4));
    EXPECT_FALSE(ResamplePicture(picture, size, {0, 5}));
    EXPECT_FALSE(ResamplePicture(picture, size, {1 << 15, 1 << 15}));
    EXPECT_EQ(size, (Size{3, 8}));
    EXPECT_EQ(picture.Width(), 3);
}

TEST(PastePixels, PasteLandsOpaqueAndLosesWhatFallsBeyond) {
    Bitmap image = test::SolidBitmap(10, 10, 0xFF000000u);
    Bitmap picture = test::SolidBitmap(2, 2, 0x00123456u);  // no alpha: pastes opaque
    const Rect placed = PastePicture(image, picture, {2, 2}, {8, -1, 12, 3});
    EXPECT_EQ(placed, (Rect{8, 0, 10, 3}));
    EXPECT_EQ(image.Row(0)[8], 0xFF123456u);
    EXPECT_EQ(image.Row(3)[8], 0xFF000000u);
    EXPECT_EQ(image.Row(2)[7], 0xFF000000u);
    EXPECT_TRUE(PastePicture(image, picture, {2, 2}, {20, 20, 30, 30}).IsEmpty());
}

TEST(PastePixels, EnlargementIsWhiteAndRefusedOverTheLimit) {
    const Bitmap image = Numbered(3, 2);
    EXPECT_TRUE(PasteEnlarges({300, 200}, {400, 100}));
    EXPECT_FALSE(PasteEnlarges({300, 200}, {300, 200}));
    Bitmap out;
    ASSERT_TRUE(EnlargeImage(image, {4, 1}, out));
    EXPECT_EQ(out.Width(), 4);
    EXPECT_EQ(out.Height(), 2);
    EXPECT_EQ(out.Row(1)[2], image.Row(1)[2]);
    EXPECT_EQ(out.ReadPixel(3, 1), 0x00FFFFFFu);
    // 65536 x 65536 wraps a 32-bit product to 0; 64 bits refuse it.
    EXPECT_FALSE(EnlargedSizeFits({3, 2}, {1 << 16, 1 << 16}));
    EXPECT_FALSE(EnlargedSizeFits({3, 2}, {70000, 70000}));
    EXPECT_FALSE(EnlargedSizeFits({3, 2}, {1 << 16, 1 << 13}));
    EXPECT_TRUE(EnlargedSizeFits({3, 2}, {1 << 15, 1 << 13}));
}

}  // namespace
}  // namespace palvex
