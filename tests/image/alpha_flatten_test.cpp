#include "image/alpha_flatten.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

TEST(AlphaFlatten, BlendKeepsTheSinglePrecisionDivisorEffect) {
    // Key white, channel 0: alpha 128 gives 127 only because (t + 1) - t falls short of 1.
    EXPECT_EQ(BlendOntoKey(255, 0, 128), 127);
    EXPECT_EQ(BlendOntoKey(255, 0, 132), 123);
    EXPECT_EQ(BlendOntoKey(255, 15, 136), 127);
    // Where the divisor is exactly 1 the truncated blend stands.
    EXPECT_EQ(BlendOntoKey(255, 0, 64), 191);
    EXPECT_EQ(BlendOntoKey(0, 255, 128), 128);
    EXPECT_EQ(BlendOntoKey(0, 255, 1), 1);
    EXPECT_EQ(BlendOntoKey(0, 255, 254), 254);
}

TEST(AlphaFlatten, FlattensEachKindOfPixel) {
    const Colour key = Rgb(255, 255, 255);
    Bitmap image = test::MakeBitmap(4, 1,
                                    {
                                        0x00123456u,  // transparent: becomes the key
                                        0xFFFFFFFFu,  // opaque key colour: nudged
                                        0x80000000u,  // black at alpha 128
                                        0xFF102030u,  // opaque: kept
                                    });
    FlattenOntoKey(image, key);
    const Bitmap expected =
        test::MakeBitmap(4, 1, {0xFFFFFFFFu, 0xFFFFF7FFu, 0xFF7F7F7Fu, 0xFF102030u});
    EXPECT_TRUE(test::SameBitmaps(expected, image, "flatten"));
}

TEST(AlphaFlatten, LargeImagesSharedOutOverTheCoresChangeEveryPixelOnce) {
    // More than two shares of a million pixels, the last one short.
    Bitmap image;
    ASSERT_TRUE(image.Create(2049, 1100));
    const Pixel kinds[] = {0x00123456u, 0xFFFFFFFFu, 0x80000000u, 0xFF102030u};
    const Pixel flattened[] = {0xFFFFFFFFu, 0xFFFFF7FFu, 0xFF7F7F7Fu, 0xFF102030u};
    const std::span<Pixel> pixels = image.Pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = kinds[i * 7 % 4];
    }
    Bitmap opaque;
    ASSERT_TRUE(opaque.Create(2049, 1100));
    ASSERT_TRUE(CopyBitmapBits(image, opaque));
    FlattenOntoKey(image, Rgb(255, 255, 255));
    MakeOpaque(opaque);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        wrong += image.Pixels()[i] != flattened[i * 7 % 4];
        wrong += opaque.Pixels()[i] != (kinds[i * 7 % 4] | 0xFF000000u);
    }
    EXPECT_EQ(wrong, 0u);
}

TEST(AlphaFlatten, ColouredTranslucentPixelsTruncateEachChannelOnItsOwn) {
    // Exact blends 244.216, 224.608, 206.961 onto white and 156.863, 106.039, 62.843 onto a
    // coloured key: rounding, or mixing up red and blue, gives other values.
    struct Case {
        Colour key;
        Pixel pixel;
        Colour expected;
    };
    for (const Case& c : {Case{Rgb(255, 255, 255), 0x32C8640Au, Rgb(244, 224, 206)},
                          Case{Rgb(0, 128, 255), 0xC8C8640Au, Rgb(156, 106, 62)},
                          Case{Rgb(0, 128, 255), 0x320A64C8u, Rgb(1, 122, 244)}}) {
        Bitmap image = test::MakeBitmap(1, 1, {c.pixel});
        FlattenOntoKey(image, c.key);
        EXPECT_EQ(image.ReadPixel(0, 0), c.expected) << std::hex << c.pixel;
    }
}

TEST(AlphaFlatten, NudgeMovesGreenUpWhenItWouldGoBelowZero) {
    Bitmap image = test::MakeBitmap(1, 1, {0xFF000500u});
    FlattenOntoKey(image, Rgb(0, 5, 0));
    EXPECT_EQ(image.ReadPixel(0, 0), Rgb(0, 13, 0));
}

TEST(AlphaFlatten, ScanFindsTheFirstTransparentPixelTopDown) {
    std::vector<Pixel> pixels(40, 0xFF000000u);
    pixels[21] = 0x00AABBCCu;
    pixels[30] = 0x00112233u;
    pixels[3] = 0x7F000000u;
    const AlphaScan scan = ScanAlpha(test::MakeBitmap(8, 5, pixels));
    EXPECT_EQ(scan.key, Rgb(0xAA, 0xBB, 0xCC));

    pixels[21] = pixels[30] = 0xFF000000u;
    const AlphaScan none = ScanAlpha(test::MakeBitmap(8, 5, pixels));
    EXPECT_EQ(none.key, kNoColour);
    EXPECT_TRUE(none.anyTranslucent);

    pixels[3] = 0xFF000000u;
    pixels[39] = 0x00010203u;  // in the tail after the last full block
    EXPECT_EQ(ScanAlpha(test::MakeBitmap(8, 5, pixels)).key, Rgb(1, 2, 3));
}

}  // namespace
}  // namespace palvex
