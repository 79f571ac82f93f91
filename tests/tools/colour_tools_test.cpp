#include "tools/colour_tools.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kWhite = Rgb(255, 255, 255);

// Two white squares touching only at a corner, in a red field.
Bitmap CornerSquares() {
    Bitmap image = test::SolidBitmap(6, 6, PixelFromColour(kRed));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.WritePixel(x, y, kWhite);
            image.WritePixel(x + 3, y + 3, kWhite);
        }
    }
    return image;
}

TEST(FloodFillTool, FillsTheFourConnectedAreaOfTheClickedColourOnly) {
    Bitmap image = CornerSquares();
    EXPECT_EQ(FloodFillAt(image, {1, 1}, kBlue), (Rect{0, 0, 3, 3}));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const Colour expected = x < 3 && y < 3 ? kBlue : x >= 3 && y >= 3 ? kWhite : kRed;
            EXPECT_EQ(image.ReadPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(FloodFillTool, TheDrawingColourAlreadyThereOrAPointOffTheImageChangesNothing) {
    Bitmap image = CornerSquares();
    EXPECT_TRUE(FloodFillAt(image, {0, 0}, kWhite).IsEmpty());
    EXPECT_TRUE(FloodFillAt(image, {6, 0}, kBlue).IsEmpty());
    EXPECT_TRUE(FloodFillAt(image, {-1, 2}, kBlue).IsEmpty());
    EXPECT_EQ(image.ReadPixel(0, 0), kWhite);
}

TEST(Eyedropper, PicksThePixelsColourAndNothingOffTheImage) {
    const Bitmap image = CornerSquares();
    EXPECT_EQ(PickColour(image, {5, 5}), kWhite);
    EXPECT_EQ(PickColour(image, {5, 0}), kRed);
    EXPECT_EQ(PickColour(image, {6, 0}), std::nullopt);
    EXPECT_EQ(PickColour(Bitmap(), {0, 0}), std::nullopt);
}

TEST(Readouts, ColourPaneAlignsEachChannelInThreeCharacters) {
    EXPECT_EQ(ColourPaneText(Rgb(5, 40, 255)), "  5,  40, 255");
    EXPECT_EQ(CursorPaneText({12, 3}), "12, 3");
    EXPECT_EQ(ProbeText(Rgb(5, 40, 255)), "RGB(5, 40, 255)");
}

}  // namespace
}  // namespace palvex
