#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/bmp_writer.h"
#include "support/png_writer.h"
#include "support/test_support.h"

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

}  // namespace
}  // namespace palvex
