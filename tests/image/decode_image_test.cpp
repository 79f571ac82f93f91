#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/bmp_writer.h"
#include "support/png_writer.h"
#include "support/test_support.h"
#include "support/tiff_writer.h"

namespace palvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DecodeImage, SignaturesDecideTheFormat) {
    EXPECT_EQ(SniffImageFormat(Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}), ImageFormat::Png);
    EXPECT_EQ(SniffImageFormat(Bytes{'G', 'I', 'F', '8', '7', 'a'}), ImageFormat::Gif);
    EXPECT_EQ(SniffImageFormat(Bytes{0xFF, 0xD8, 0xFF, 0xE0}), ImageFormat::Jpeg);
    EXPECT_EQ(SniffImageFormat(Bytes{'I', 'I', 42, 0}), ImageFormat::Tiff);
    EXPECT_EQ(SniffImageFormat(Bytes{'M', 'M', 0, 42}), ImageFormat::Tiff);
    EXPECT_EQ(SniffImageFormat(Bytes{'B', 'M'}), ImageFormat::Bmp);
    EXPECT_EQ(SniffImageFormat(Bytes{'B'}), ImageFormat::Unknown);
    EXPECT_EQ(SniffImageFormat(Bytes{}), ImageFormat::Unknown);
    EXPECT_EQ(SniffImageFormat(Bytes{0x89, 'P', 'N', 'G'}), ImageFormat::Unknown);
}

TEST(DecodeImage, DispatchesByContentNotByName) {
    test::BmpDescription bmp;
    bmp.values = {0x123456};
    DecodedImage decoded = DecodeImage(test::WriteBmp(bmp));
    ASSERT_TRUE(decoded.Ok());
    EXPECT_EQ(decoded.pixels.Row(0)[0], 0xFF123456u);

    decoded = DecodeImage(test::EncodeRgbaPng(test::SolidBitmap(2, 3, 0x80102030u)));
    ASSERT_TRUE(decoded.Ok());
    EXPECT_EQ(decoded.pixels.Height(), 3);
    EXPECT_EQ(decoded.pixels.Row(2)[1], 0x80102030u);

    EXPECT_EQ(DecodeImage(Bytes{'x', 'y', 'z'}).status, DecodeStatus::Corrupt);
}

// Signed samples are not for our own reader, so these files take libtiff's RGBA path, where
// only RGB colour comes back premultiplied. (libtiff refuses grey with alpha below 8 bits, so
// this is the grey-with-alpha file that path sees.)
test::TiffDescription SignedTiff(test::TiffPhotometric photometric, int samples,
                                 test::TiffExtraSample extra, std::vector<std::uint16_t> values) {
    test::TiffDescription desc;
    desc.width = static_cast<int>(values.size()) / samples;
    desc.height = 1;
    desc.photometric = photometric;
    desc.samplesPerPixel = samples;
    desc.extraSample = extra;
    desc.signedSamples = true;
    desc.samples = std::move(values);
    return desc;
}

TEST(DecodeImage, GreyWithAlphaComesBackStraight) {
    // Grey 100 at alpha 64, 20 at 127, 90 at 0; libtiff passes interleaved samples through as
    // stored but premultiplies separate planes, and associated alpha is stored premultiplied.
    struct Case {
        const char* name;
        bool planar;
        test::TiffExtraSample extra;
        std::vector<std::uint16_t> values;
    };
    const std::vector<Case> cases = {
        {"interleaved", false, test::TiffExtraSample::Unassociated, {100, 64, 20, 127, 90, 0}},
        {"planes", true, test::TiffExtraSample::Unassociated, {100, 64, 20, 127, 90, 0}},
        {"associated", false, test::TiffExtraSample::Associated, {25, 64, 10, 127, 90, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TiffDescription desc =
            SignedTiff(test::TiffPhotometric::MinIsBlack, 2, c.extra, c.values);
        desc.planar = c.planar;
        const DecodedImage decoded = DecodeImage(test::WriteTiff(desc));
        ASSERT_TRUE(decoded.Ok());
        const Bitmap& pixels = decoded.pixels;
        // One unit either way for the unpremultiplying, every grey channel alike.
        EXPECT_NEAR(static_cast<int>(pixels.Row(0)[0] & 0xFF), 100, 1);
        EXPECT_NEAR(static_cast<int>(pixels.Row(0)[1] & 0xFF), 20, 1);
        EXPECT_EQ(pixels.Row(0)[0] >> 24, 64u);
        EXPECT_EQ(pixels.Row(0)[1] >> 24, 127u);
        EXPECT_EQ(pixels.Row(0)[2] >> 24, 0u);
        for (int x = 0; x < 3; ++x) {
            const Pixel p = pixels.Row(0)[x];
            EXPECT_TRUE((p & 0xFF) == (p >> 8 & 0xFF) && (p & 0xFF) == (p >> 16 & 0xFF)) << x;
        }
    }
}

// A fourth RGB sample not declared as alpha (libtiff writes it as "unspecified") is associated
// alpha, as libtiff reads it, on both readers: the colour comes back unpremultiplied.
TEST(DecodeImage, AnUndeclaredFourthRgbSampleIsAssociatedAlpha) {
    // Straight (200, 100, 50) at alpha 128 stored premultiplied, and an opaque pixel.
    const std::vector<std::uint16_t> values = {100, 50, 25, 128, 10, 20, 30, 255};
    test::TiffDescription direct;
    direct.width = 2;
    direct.height = 1;
    direct.samplesPerPixel = 4;
    direct.samples = values;
    const std::vector<std::uint16_t> signedValues = {50, 25, 12, 64, 10, 20, 30, 127};
    const test::TiffDescription throughLibtiff =
        SignedTiff(test::TiffPhotometric::Rgb, 4, test::TiffExtraSample::None, signedValues);
    struct Case {
        const char* name;
        test::TiffDescription desc;
        Pixel expected[2];
    };
    for (const Case& c : {Case{"direct", direct, {0x80C76432u, 0xFF0A141Eu}},
                          Case{"libtiff", throughLibtiff, {0x40C76430u, 0x7F141E2Cu}}}) {
        SCOPED_TRACE(c.name);
        const DecodedImage decoded = DecodeImage(test::WriteTiff(c.desc));
        ASSERT_TRUE(decoded.Ok());
        EXPECT_EQ(decoded.pixels.Row(0)[0], c.expected[0]) << std::hex << decoded.pixels.Row(0)[0];
        EXPECT_EQ(AlphaOf(decoded.pixels.Row(0)[1]), AlphaOf(c.expected[1]));
    }
}

}  // namespace
}  // namespace palvex
