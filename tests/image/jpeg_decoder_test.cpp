#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/jpeg_writer.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

JpegDescription Describe(int width, int height, JpegColour colour, int quality = 90) {
    JpegDescription desc;
    desc.width = width;
    desc.height = height;
    desc.colour = colour;
    desc.quality = quality;
    return desc;
}

JpegDescription Flat(int width, int height, JpegColour colour, std::vector<std::uint8_t> value,
                     int quality = 100) {
    JpegDescription desc = Describe(width, height, colour, quality);
    for (int i = 0; i < width * height; ++i) {
        desc.samples.insert(desc.samples.end(), value.begin(), value.end());
    }
    return desc;
}

// Smooth colour ramps: what photographs are made of, and what JPEG keeps well.
JpegDescription Ramps(int width, int height, JpegColour colour, int quality = 85) {
    JpegDescription desc = Describe(width, height, colour, quality);
    const int components = JpegComponents(colour);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                desc.samples.push_back(
                    static_cast<std::uint8_t>((x * (3 + c) + y * (5 - c)) % 256));
            }
        }
    }
    return desc;
}

DecodedImage Decode(const JpegDescription& desc, const DecodeLimits& limits = {}) {
    const auto bytes = WriteJpeg(desc);
    EXPECT_FALSE(bytes.empty()) << "the writer refused the layout";
    return DecodeJpeg(bytes, limits);
}

// Every pixel within `tolerance` of the colour on each channel, and opaque.
::testing::AssertionResult AllNear(const DecodedImage& image, int r, int g, int b, int tolerance) {
    if (!image.Ok()) {
        return ::testing::AssertionFailure() << "decoding failed";
    }
    for (int y = 0; y < image.pixels.Height(); ++y) {
        for (int x = 0; x < image.pixels.Width(); ++x) {
            const Pixel p = image.pixels.Row(y)[x];
            const int got[] = {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                               static_cast<int>(p & 0xFF)};
            if (AlphaOf(p) != 255 || std::abs(got[0] - r) > tolerance ||
                std::abs(got[1] - g) > tolerance || std::abs(got[2] - b) > tolerance) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << got[0] << "," << got[1] << ","
                       << got[2] << " alpha " << AlphaOf(p) << ", expected " << r << "," << g << ","
                       << b;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

int MaxChannelDifference(const Bitmap& a, const Bitmap& b) {
    EXPECT_EQ(a.Width(), b.Width());
    EXPECT_EQ(a.Height(), b.Height());
    int worst = 0;
    for (std::size_t i = 0; i < a.PixelCount() && i < b.PixelCount(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            const int d = static_cast<int>(a.Data()[i] >> shift & 0xFF) -
                          static_cast<int>(b.Data()[i] >> shift & 0xFF);
            worst = std::max(worst, std::abs(d));
        }
    }
    return worst;
}

// The offset of the first marker with the given code, or 0.
std::size_t FindMarker(const std::vector<std::uint8_t>& bytes, std::uint8_t code,
                       bool last = false) {
    std::size_t found = 0;
    for (std::size_t i = 2; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == code) {
            found = i;
            if (!last) {
                break;
            }
        }
    }
    return found;
}

TEST(JpegDecoder, FlatColourAtQuality100StaysWithinTwo) {
    const std::vector<std::vector<std::uint8_t>> colours = {
        {255, 0, 0}, {0, 255, 0},     {0, 0, 255},   {12, 200, 77},
        {0, 0, 0},   {255, 255, 255}, {128, 64, 192}};
    for (const auto& c : colours) {
        // 33 x 17 leaves partial blocks on both edges.
        JpegDescription desc = Flat(33, 17, JpegColour::Rgb, c);
        EXPECT_TRUE(AllNear(Decode(desc), c[0], c[1], c[2], 2));
        desc.arithmetic = true;
        EXPECT_TRUE(AllNear(Decode(desc), c[0], c[1], c[2], 2)) << "arithmetic";
    }
}

TEST(JpegDecoder, GreyscaleExpandsToEqualChannels) {
    for (int value : {0, 77, 255}) {
        EXPECT_TRUE(
            AllNear(Decode(Flat(20, 9, JpegColour::Grey, {static_cast<std::uint8_t>(value)})),
                    value, value, value, 1));
    }
    const JpegDescription ramps = Ramps(40, 30, JpegColour::Grey, 100);
    const DecodedImage image = Decode(ramps);
    ASSERT_TRUE(image.Ok());
    for (std::size_t i = 0; i < image.pixels.PixelCount(); ++i) {
        const Pixel p = image.pixels.Data()[i];
        ASSERT_EQ(p >> 16 & 0xFF, p & 0xFF);
        ASSERT_EQ(p >> 8 & 0xFF, p & 0xFF);
        ASSERT_EQ(AlphaOf(p), 255);
        ASSERT_NEAR(static_cast<int>(p & 0xFF), ramps.samples[i], 3) << i;
    }
}

TEST(JpegDecoder, ProgressiveEqualsBaseline) {
    for (JpegColour colour : {JpegColour::Rgb, JpegColour::Grey}) {
        JpegDescription desc = Ramps(64, 40, colour);
        const DecodedImage baseline = Decode(desc);
        desc.progressive = true;
        const DecodedImage progressive = Decode(desc);
        desc.arithmetic = true;
        const DecodedImage arithmetic = Decode(desc);
        ASSERT_TRUE(baseline.Ok());
        ASSERT_TRUE(progressive.Ok());
        ASSERT_TRUE(arithmetic.Ok());
        EXPECT_LE(MaxChannelDifference(baseline.pixels, progressive.pixels), 1);
        EXPECT_LE(MaxChannelDifference(baseline.pixels, arithmetic.pixels), 1);
    }
}

TEST(JpegDecoder, CmykConventionsGiveTheSameColours) {
    struct Ink {
        std::uint8_t c, m, y, k;
        int r, g, b;  // (255 - ink) * (255 - black) / 255
    };
    const Ink inks[] = {
        {0, 0, 0, 0, 255, 255, 255}, {255, 0, 0, 0, 0, 255, 255},      {0, 255, 255, 0, 255, 0, 0},
        {0, 0, 0, 255, 0, 0, 0},     {50, 100, 150, 60, 157, 119, 80},
    };
    for (const Ink& ink : inks) {
        const std::uint8_t plain[] = {ink.c, ink.m, ink.y, ink.k};
        const std::vector<std::uint8_t> inverted = {
            static_cast<std::uint8_t>(255 - ink.c), static_cast<std::uint8_t>(255 - ink.m),
            static_cast<std::uint8_t>(255 - ink.y), static_cast<std::uint8_t>(255 - ink.k)};
        JpegDescription noMarker = Flat(24, 16, JpegColour::Cmyk, {plain, plain + 4});
        noMarker.adobeMarker = false;
        EXPECT_TRUE(AllNear(Decode(noMarker), ink.r, ink.g, ink.b, 3)) << "plain";
        EXPECT_TRUE(
            AllNear(Decode(Flat(24, 16, JpegColour::Cmyk, inverted)), ink.r, ink.g, ink.b, 3))
            << "Adobe";
        EXPECT_TRUE(
            AllNear(Decode(Flat(24, 16, JpegColour::Ycck, inverted)), ink.r, ink.g, ink.b, 3))
            << "YCCK";
    }
}

TEST(JpegDecoder, RefusesSizesAboveTheLimit) {
    const JpegDescription desc = Ramps(40, 30, JpegColour::Rgb);
    EXPECT_EQ(Decode(desc, DecodeLimits{1199}).status, DecodeStatus::TooLarge);
    EXPECT_EQ(Decode(desc, DecodeLimits{1200}).status, DecodeStatus::Ok);

    // A header claiming 65000 x 65000 over a few hundred bytes: refused at once, before any
    // pixel memory or decoding.
    auto bytes = WriteJpeg(desc);
    const std::size_t frame = FindMarker(bytes, 0xC0);
    ASSERT_NE(frame, 0u);
    for (std::size_t at : {frame + 5, frame + 7}) {
        bytes[at] = 0xFD;
        bytes[at + 1] = 0xE8;
    }
    const auto start = std::chrono::steady_clock::now();
    const DecodedImage huge = DecodeJpeg(bytes);
    EXPECT_EQ(huge.status, DecodeStatus::TooLarge);
    EXPECT_TRUE(huge.pixels.IsNull());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(JpegDecoder, TruncatedFileGivesNoImage) {
    for (bool progressive : {false, true}) {
        JpegDescription desc = Ramps(64, 48, JpegColour::Rgb);
        desc.progressive = progressive;
        const auto bytes = WriteJpeg(desc);
        ASSERT_TRUE(DecodeJpeg(bytes).Ok());
        for (std::size_t size : {std::size_t{2}, std::size_t{100}, bytes.size() / 2,
                                 bytes.size() * 9 / 10, bytes.size() - 4}) {
            const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + size);
            const DecodedImage image = DecodeJpeg(part);
            EXPECT_EQ(image.status, DecodeStatus::Corrupt) << size;
            EXPECT_TRUE(image.pixels.IsNull());
        }
    }
}

TEST(JpegDecoder, GarbageIsCorruptAndSilent) {
    std::vector<std::uint8_t> noise(2000);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<std::uint8_t>((i * 7919 + 13) >> 3);
    }
    std::vector<std::uint8_t> afterSoi = {0xFF, 0xD8};
    afterSoi.insert(afterSoi.end(), noise.begin(), noise.end());
    // A damaged scan: libjpeg warns and goes on, but must neither crash nor print.
    auto damaged = WriteJpeg(Ramps(64, 48, JpegColour::Rgb));
    for (std::size_t i = damaged.size() / 2; i < damaged.size() / 2 + 40; ++i) {
        damaged[i] = static_cast<std::uint8_t>(i * 31);
    }

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(DecodeJpeg(noise).status, DecodeStatus::Corrupt);
    EXPECT_EQ(DecodeJpeg(afterSoi).status, DecodeStatus::Corrupt);
    EXPECT_EQ(DecodeJpeg({}).status, DecodeStatus::Corrupt);
    (void)DecodeJpeg(damaged);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(JpegDecoder, StopsAfterTooManyScans) {
    // Repeating the last scan of a progressive file: each repeat costs a pass over the image,
    // which is how a small file keeps a decoder busy for minutes.
    JpegDescription desc = Ramps(32, 32, JpegColour::Grey);
    desc.progressive = true;
    const auto bytes = WriteJpeg(desc);
    const std::size_t lastScan = FindMarker(bytes, 0xDA, true);
    ASSERT_NE(lastScan, 0u);
    const std::vector<std::uint8_t> scan(bytes.begin() + lastScan, bytes.end() - 2);
    auto repeated = [&](int times) {
        std::vector<std::uint8_t> out(bytes.begin(), bytes.end() - 2);
        for (int i = 0; i < times; ++i) {
            out.insert(out.end(), scan.begin(), scan.end());
        }
        out.insert(out.end(), {0xFF, 0xD9});
        return out;
    };
    EXPECT_EQ(DecodeJpeg(repeated(50)).status, DecodeStatus::Ok);
    EXPECT_EQ(DecodeJpeg(repeated(1200)).status, DecodeStatus::Corrupt);
}

}  // namespace
}  // namespace palvex::test
