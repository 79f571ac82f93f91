#include "image/colour.h"

#include <gtest/gtest.h>

namespace palvex {
namespace {

TEST(Colour, PixelAndColourLayoutsSwapRedAndBlue) {
    const Colour c = Rgb(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(PixelFromColour(c), 0xFF123456u);
    EXPECT_EQ(ColourFromPixel(0x00123456u), c);
    EXPECT_TRUE(SameRgb(0x00123456u, 0xFF123456u));
    EXPECT_FALSE(SameRgb(0xFF123456u, 0xFF123457u));
}

TEST(Colour, MissingColourReadsAsWhiteChannels) {
    EXPECT_EQ(RedOf(kNoColour), 255);
    EXPECT_EQ(GreenOf(kNoColour), 255);
    EXPECT_EQ(BlueOf(kNoColour), 255);
}

TEST(Colour, QuantizeColor16ReadsBackAsTheDisplayWould) {
    EXPECT_EQ(QuantizeColor16(Rgb(255, 255, 255)), Rgb(255, 255, 255));
    EXPECT_EQ(QuantizeColor16(Rgb(250, 250, 250)), Rgb(255, 247, 255));
    EXPECT_EQ(QuantizeColor16(Rgb(254, 254, 254)), Rgb(247, 251, 247));
    EXPECT_EQ(QuantizeColor16(Rgb(6, 0, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(QuantizeColor16(Rgb(5, 0, 0)), Rgb(8, 0, 0));
    EXPECT_EQ(QuantizeColor16(Rgb(0, 3, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(QuantizeColor16(Rgb(0, 2, 0)), Rgb(0, 4, 0));
}

TEST(Colour, QuantizeColor16IsIdempotent) {
    for (int v = 0; v < 256; ++v) {
        const Colour once = QuantizeColor16(Rgb(v, v, v));
        EXPECT_EQ(QuantizeColor16(once), once) << "v=" << v;
    }
}

}  // namespace
}  // namespace palvex
