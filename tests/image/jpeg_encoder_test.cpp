#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "image/codecs/encoder.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

// Smooth ramps in every channel, with the fourth byte left at 0 to show it is ignored.
Bitmap Ramps(int width, int height) {
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<Pixel>(x * 255 / std::max(1, width - 1));
            const auto g = static_cast<Pixel>(y * 255 / std::max(1, height - 1));
            const auto b = static_cast<Pixel>((x + y) * 127 / std::max(1, width + height - 2));
            image.Row(y)[x] = r << 16 | g << 8 | b;
        }
    }
    return image;
}

struct Component {
    int id;
    int sampling;  // horizontal factor in the high nibble, vertical in the low
};

// What the markers before the first scan say.
struct JpegLayout {
    int frameMarker = 0;  // 0xC0 baseline, 0xC2 progressive, ...
    int width = 0;
    int height = 0;
    std::vector<Component> components;
    std::vector<int> firstQuantValues;  // the DC entry of each table, in file order
};

JpegLayout ReadLayout(std::span<const std::uint8_t> f) {
    JpegLayout layout;
    std::size_t at = 2;
    while (at + 4 <= f.size() && f[at] == 0xFF && f[at + 1] != 0xDA) {
        const int marker = f[at + 1];
        const std::size_t length = f[at + 2] << 8 | f[at + 3];
        const std::size_t body = at + 4;
        if (body + length - 2 > f.size()) {
            break;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            layout.frameMarker = marker;
            layout.height = f[body + 1] << 8 | f[body + 2];
            layout.width = f[body + 3] << 8 | f[body + 4];
            for (int i = 0; i < f[body + 5]; ++i) {
                layout.components.push_back({f[body + 6 + 3 * i], f[body + 7 + 3 * i]});
            }
        } else if (marker == 0xDB) {
            // Several 8-bit tables may share the segment: 1 byte of id, then 64 values.
            for (std::size_t t = body; t + 65 <= body + length - 2; t += 65) {
                layout.firstQuantValues.push_back(f[t + 1]);
            }
        }
        at = body + length - 2;
    }
    return layout;
}

// The luminance DC divisor libjpeg derives from a quality setting (base value 16).
int LuminanceDcFor(int quality) {
    quality = std::clamp(quality, 1, 100);
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    return std::clamp((16 * scale + 50) / 100, 1, 255);
}

TEST(JpegEncoder, RoundTripsSizeAndColoursWithinTolerance) {
    for (const auto& [w, h] : {std::pair{1, 1}, {17, 9}, {120, 80}}) {
        const Bitmap image = Ramps(w, h);
        OutputBuffer out;
        ASSERT_TRUE(EncodeJpeg(image, 95, out));
        const DecodedImage decoded = DecodeJpeg(out.Span());
        ASSERT_TRUE(decoded.Ok());
        ASSERT_EQ(decoded.pixels.Width(), w);
        ASSERT_EQ(decoded.pixels.Height(), h);
        int worst = 0;
        for (std::size_t i = 0; i < image.PixelCount(); ++i) {
            const Pixel a = image.Data()[i];
            const Pixel b = decoded.pixels.Data()[i];
            EXPECT_EQ(AlphaOf(b), 255);
            for (int shift : {0, 8, 16}) {
                worst = std::max(worst, std::abs(static_cast<int>(a >> shift & 0xFF) -
                                                 static_cast<int>(b >> shift & 0xFF)));
            }
        }
        EXPECT_LE(worst, 6) << w << "x" << h;
    }
}

TEST(JpegEncoder, IsBaselineWithFullChromaFromQuality90) {
    const Bitmap image = Ramps(64, 48);
    for (const int quality : {0, 50, 89, 90, 100}) {
        OutputBuffer out;
        ASSERT_TRUE(EncodeJpeg(image, quality, out));
        const JpegLayout layout = ReadLayout(out.Span());
        EXPECT_EQ(layout.frameMarker, 0xC0) << quality;
        EXPECT_EQ(layout.width, 64);
        EXPECT_EQ(layout.height, 48);
        ASSERT_EQ(layout.components.size(), 3u);
        EXPECT_EQ(layout.components[0].sampling, quality >= 90 ? 0x11 : 0x22) << quality;
        EXPECT_EQ(layout.components[1].sampling, 0x11);
        EXPECT_EQ(layout.components[2].sampling, 0x11);
    }
}

TEST(JpegEncoder, QualityIsUsedAsGivenAndClamped) {
    const Bitmap image = Ramps(32, 32);
    std::map<int, std::vector<std::uint8_t>> files;
    for (const int quality : {-20, 0, 1, 25, 50, 75, 90, 100, 250}) {
        OutputBuffer out;
        ASSERT_TRUE(EncodeJpeg(image, quality, out));
        const JpegLayout layout = ReadLayout(out.Span());
        ASSERT_FALSE(layout.firstQuantValues.empty());
        EXPECT_EQ(layout.firstQuantValues[0], LuminanceDcFor(quality)) << quality;
        files[quality].assign(out.Data(), out.Data() + out.Size());
    }
    EXPECT_EQ(files[-20], files[0]);
    EXPECT_EQ(files[250], files[100]);
    EXPECT_LT(files[25].size(), files[90].size());
}

TEST(JpegEncoder, SidesBeyondTheFormatFailCleanly) {
    const Bitmap image = SolidBitmap(70'000, 1, kOpaqueAlpha);
    OutputBuffer out;
    EXPECT_FALSE(EncodeJpeg(image, 90, out));
    EXPECT_EQ(out.Size(), 0u);
    EXPECT_FALSE(out.Failed());
}

}  // namespace
}  // namespace palvex::test
