#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "image/codecs/encoder.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

constexpr Colour kKey = Rgb(10, 200, 30);

// Varied colours with key pixels scattered through them, pixels one unit away from the key in
// each channel, and junk in the fourth byte (which encoders must ignore).
Bitmap KeyedImage(int width, int height) {
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    const Pixel key = PixelFromColour(kKey) & kRgbMask;
    const Pixel nearKey[] = {key + 0x010000, key - 0x000100, key + 0x000001};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t h = Hash(static_cast<std::uint32_t>(y * width + x));
            Pixel rgb = h & kRgbMask;
            if (h % 5 == 0) {
                rgb = key;
            } else if (h % 7 == 0) {
                rgb = nearKey[h / 7 % 3];
            }
            image.Row(y)[x] = (Hash(h) & 0xFF000000u) | rgb;
        }
    }
    return image;
}

// What a lossless encoder must store: the colours, with alpha from the key.
Bitmap Expected(const Bitmap& image, Colour key) {
    Bitmap expected;
    EXPECT_TRUE(expected.Create(image.Width(), image.Height()));
    const Pixel keyRgb = PixelFromColour(key) & kRgbMask;
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        const Pixel rgb = image.Data()[i] & kRgbMask;
        expected.Data()[i] = rgb | (key != kNoColour && rgb == keyRgb ? 0 : kOpaqueAlpha);
    }
    return expected;
}

using Encoder = std::function<bool(const Bitmap&, Colour, OutputBuffer&)>;

struct Lossless {
    const char* name;
    Encoder encode;
    DecodedImage (*decode)(std::span<const std::uint8_t>, const DecodeLimits&);
};

const Lossless kLossless[] = {
    {"png", EncodePng, DecodePng},
    {"tiff", EncodeTiff, DecodeTiff},
};

TEST(Encoders, LosslessFormatsRoundTripWithAndWithoutKey) {
    for (const Lossless& format : kLossless) {
        // Sizes that make a single row, a single column, and several TIFF strips.
        for (const auto& [w, h] : {std::pair{1, 1}, {333, 1}, {1, 77}, {300, 1000}}) {
            const Bitmap image = KeyedImage(w, h);
            for (const Colour key : {kNoColour, kKey}) {
                const std::string name = std::string(format.name) +
                                         (key == kNoColour ? "-opaque-" : "-keyed-") +
                                         std::to_string(w) + "x" + std::to_string(h);
                OutputBuffer out;
                ASSERT_TRUE(format.encode(image, key, out)) << name;
                const DecodedImage decoded = format.decode(out.Span(), {});
                ASSERT_TRUE(decoded.Ok()) << name;
                EXPECT_TRUE(SameBitmaps(Expected(image, key), decoded.pixels, name));
            }
        }
    }
}

// Every encoder, with JPEG's quality standing in for the key.
std::vector<std::pair<std::string, Encoder>> AllEncoders() {
    return {
        {"png", EncodePng},
        {"tiff", EncodeTiff},
        {"bmp", EncodeBmpWithAlpha},
        {"jpeg", [](const Bitmap& b, Colour, OutputBuffer& out) { return EncodeJpeg(b, 80, out); }},
    };
}

TEST(Encoders, FourthByteOfTheInputNeverReachesTheFile) {
    Bitmap junk = KeyedImage(40, 30);
    Bitmap clean = Expected(junk, kNoColour);
    for (const auto& [name, encode] : AllEncoders()) {
        OutputBuffer fromJunk;
        OutputBuffer fromClean;
        ASSERT_TRUE(encode(junk, kKey, fromJunk)) << name;
        ASSERT_TRUE(encode(clean, kKey, fromClean)) << name;
        EXPECT_TRUE(std::ranges::equal(fromJunk.Span(), fromClean.Span())) << name;
    }
}

TEST(Encoders, OutputHoldsExactlyTheNewFileOrNothing) {
    const Bitmap image = KeyedImage(9, 8);
    for (const auto& [name, encode] : AllEncoders()) {
        OutputBuffer fresh;
        OutputBuffer reused;
        ASSERT_TRUE(reused.Append("leftover", 8));
        ASSERT_TRUE(encode(image, kKey, fresh)) << name;
        ASSERT_TRUE(encode(image, kKey, reused)) << name;
        EXPECT_TRUE(std::ranges::equal(fresh.Span(), reused.Span())) << name;

        EXPECT_FALSE(encode(Bitmap{}, kKey, reused)) << name;
        EXPECT_EQ(reused.Size(), 0u) << name;
    }
}

// --- PNG ---------------------------------------------------------------------------------

TEST(PngEncoder, ColourTypeIsRgbWithoutKeyAndRgbaWithOne) {
    const Bitmap image = KeyedImage(5, 5);
    for (const auto& [key, colourType] : {std::pair{kNoColour, 2}, {kKey, 6}}) {
        OutputBuffer out;
        ASSERT_TRUE(EncodePng(image, key, out));
        ASSERT_GT(out.Size(), 26u);
        EXPECT_EQ(out.Data()[24], 8) << "bit depth";
        EXPECT_EQ(out.Data()[25], colourType);
    }
}

TEST(PngEncoder, SidesBeyondLibpngsDefaultLimitAreWritten) {
    // libpng refuses sides above 10^6 unless told otherwise; our pixel cap allows them.
    const Bitmap image = SolidBitmap(1'100'000, 1, PixelFromColour(kKey));
    OutputBuffer out;
    ASSERT_TRUE(EncodePng(image, kKey, out));
    const DecodedImage decoded = DecodePng(out.Span());
    ASSERT_TRUE(decoded.Ok());
    EXPECT_EQ(decoded.pixels.Width(), 1'100'000);
    EXPECT_EQ(decoded.pixels.Row(0)[1'099'999], PixelFromColour(kKey) & kRgbMask);
}

// --- TIFF --------------------------------------------------------------------------------

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

struct TiffEntry {
    std::uint32_t count = 0;
    std::uint32_t value = 0;  // the first value
};

// The first directory's entry for a tag of a little-endian file; count 0 when absent.
TiffEntry FindTag(std::span<const std::uint8_t> file, std::uint32_t tag) {
    EXPECT_TRUE(file.size() >= 8 && file[0] == 'I' && file[1] == 'I' && U16(file, 2) == 42);
    const std::size_t ifd = U32(file, 4);
    const std::uint32_t entries = U16(file, ifd);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t e = ifd + 2 + 12 * i;
        if (U16(file, e) == tag) {
            const bool isShort = U16(file, e + 2) == 3;
            const std::uint32_t count = U32(file, e + 4);
            const bool fits = count * (isShort ? 2 : 4) <= 4;
            const std::size_t at = fits ? e + 8 : U32(file, e + 8);
            return {count, isShort ? U16(file, at) : U32(file, at)};
        }
    }
    return {};
}

TEST(TiffEncoder, SamplesAndAlphaKindFollowTheKey) {
    const Bitmap image = KeyedImage(6, 4);
    OutputBuffer opaque;
    ASSERT_TRUE(EncodeTiff(image, kNoColour, opaque));
    EXPECT_EQ(FindTag(opaque.Span(), 258).value, 8u);  // bits per sample
    EXPECT_EQ(FindTag(opaque.Span(), 277).value, 3u);  // samples per pixel
    EXPECT_EQ(FindTag(opaque.Span(), 338).count, 0u);  // no extra samples

    OutputBuffer keyed;
    ASSERT_TRUE(EncodeTiff(image, kKey, keyed));
    EXPECT_EQ(FindTag(keyed.Span(), 258).value, 8u);
    EXPECT_EQ(FindTag(keyed.Span(), 277).value, 4u);
    const TiffEntry extra = FindTag(keyed.Span(), 338);
    EXPECT_EQ(extra.count, 1u);
    EXPECT_EQ(extra.value, 2u);  // unassociated alpha
}

TEST(TiffEncoder, LargeImagesAreSplitIntoStrips) {
    const Bitmap image = KeyedImage(2000, 300);
    OutputBuffer out;
    ASSERT_TRUE(EncodeTiff(image, kKey, out));
    const TiffEntry strips = FindTag(out.Span(), 273);
    const std::uint32_t rowsPerStrip = FindTag(out.Span(), 278).value;
    EXPECT_GT(strips.count, 1u);
    EXPECT_EQ(strips.count, (300 + rowsPerStrip - 1) / rowsPerStrip);
}

// --- BMP ---------------------------------------------------------------------------------

TEST(BmpAlphaEncoder, HeadersDescribeA32BitBottomUpFile) {
    const Bitmap image = KeyedImage(7, 3);
    OutputBuffer out;
    ASSERT_TRUE(EncodeBmpWithAlpha(image, kKey, out));
    const auto file = out.Span();
    ASSERT_EQ(file.size(), 54u + 7 * 3 * 4);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), file.size());
    EXPECT_EQ(U32(file, 10), 54u);  // pixel offset
    EXPECT_EQ(U32(file, 14), 40u);  // info header size
    EXPECT_EQ(U32(file, 18), 7u);   // width
    EXPECT_EQ(U32(file, 22), 3u);   // height, positive: bottom-up
    EXPECT_EQ(U16(file, 26), 1u);   // planes
    EXPECT_EQ(U16(file, 28), 32u);  // bits
    EXPECT_EQ(U32(file, 30), 0u);   // BI_RGB
    EXPECT_EQ(U32(file, 34), 84u);  // image size: the loader's key scan relies on it
}

TEST(BmpAlphaEncoder, PixelsAreBgrWithAlphaFromTheKeyInBottomUpOrder) {
    const Bitmap image = KeyedImage(13, 11);
    for (const Colour key : {kNoColour, kKey}) {
        OutputBuffer out;
        ASSERT_TRUE(EncodeBmpWithAlpha(image, key, out));
        ASSERT_EQ(out.Size(), 54u + image.ByteCount());
        const Bitmap expected = Expected(image, key);
        const std::uint8_t* p = out.Data() + 54;
        for (int y = image.Height() - 1; y >= 0; --y) {
            for (int x = 0; x < image.Width(); ++x, p += 4) {
                const Pixel stored = p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24;
                ASSERT_EQ(stored, expected.Row(y)[x]) << "at " << x << "," << y;
            }
        }
        // Our decoder reads the colours back (it takes BI_RGB's fourth byte as padding).
        const DecodedImage decoded = DecodeBmp(out.Span());
        ASSERT_TRUE(decoded.Ok());
        EXPECT_TRUE(SameBitmaps(expected, decoded.pixels, "bmp", true));
    }
}

}  // namespace
}  // namespace palvex::test
