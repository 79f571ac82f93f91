#include "image/bitmap.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace palvex {
namespace {

TEST(Bitmap, RefusesEmptyAndOversizedImages) {
    Bitmap b;
    EXPECT_FALSE(b.Create(0, 10));
    EXPECT_FALSE(b.Create(10, -1));
    EXPECT_FALSE(b.Create(1 << 15, (1 << 13) + 1));  // 2^28 + 2^15 pixels
    EXPECT_TRUE(b.IsNull());
    EXPECT_EQ(b.Width(), 0);
}

// Passes that write whole rows of 16 pixels stream them to memory only when they are whole
// cache lines.
TEST(Bitmap, PixelsStartOnACacheLine) {
    for (const int side : {1, 7, 16, 1000, 3000}) {
        Bitmap b;
        ASSERT_TRUE(b.Create(side, side));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b.Data()) % 64, 0u) << side;
    }
}

TEST(Bitmap, PixelsReadBackAndOutsideReadsGiveNoColour) {
    Bitmap b;
    ASSERT_TRUE(b.Create(3, 2));
    b.Fill(PixelFromColour(Rgb(1, 2, 3)));
    b.WritePixel(2, 1, Rgb(10, 20, 30));
    b.WritePixel(3, 1, Rgb(99, 99, 99));  // outside: ignored
    EXPECT_EQ(b.ReadPixel(2, 1), Rgb(10, 20, 30));
    EXPECT_EQ(b.ReadPixel(0, 0), Rgb(1, 2, 3));
    EXPECT_EQ(b.ReadPixel(-1, 0), kNoColour);
    EXPECT_EQ(b.ReadPixel(0, 2), kNoColour);
    EXPECT_EQ(b.Stride(), 12u);
}

TEST(Bitmap, BulkBytesAreRowsTopDownInBlueGreenRedOrder) {
    Bitmap b;
    ASSERT_TRUE(b.Create(2, 2));
    b.Fill(PixelFromColour(0));
    b.WritePixel(1, 0, Rgb(0x11, 0x22, 0x33));
    std::vector<std::uint8_t> bytes(b.ByteCount());
    ASSERT_EQ(b.GetImageBits(bytes), 16u);
    EXPECT_EQ(bytes[4], 0x33);  // blue
    EXPECT_EQ(bytes[5], 0x22);
    EXPECT_EQ(bytes[6], 0x11);  // red

    bytes[8] = 0x44;  // row 1, pixel 0, blue
    ASSERT_EQ(b.SetImageBits(bytes), 16u);
    EXPECT_EQ(b.ReadPixel(0, 1), Rgb(0, 0, 0x44));

    std::vector<std::uint8_t> tooSmall(15);
    EXPECT_EQ(b.GetImageBits(tooSmall), 0u);
    EXPECT_EQ(b.SetImageBits(tooSmall), 0u);
}

TEST(Bitmap, CopyBitmapBitsNeedsEqualSizes) {
    Bitmap a, b, c;
    ASSERT_TRUE(a.Create(4, 3));
    ASSERT_TRUE(b.Create(4, 3));
    ASSERT_TRUE(c.Create(3, 4));
    a.Fill(0xFF010203u);
    EXPECT_TRUE(CopyBitmapBits(a, b));
    EXPECT_EQ(b.Row(2)[3], 0xFF010203u);
    EXPECT_FALSE(CopyBitmapBits(a, c));
    EXPECT_FALSE(CopyBitmapBits(Bitmap{}, b));
}

TEST(Bitmap, MoveLeavesTheSourceEmpty) {
    Bitmap a;
    ASSERT_TRUE(a.Create(2, 2));
    Bitmap b = std::move(a);
    EXPECT_TRUE(a.IsNull());
    EXPECT_EQ(a.Width(), 0);
    EXPECT_EQ(b.Width(), 2);
}

}  // namespace
}  // namespace palvex
