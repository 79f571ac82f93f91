// Our files read back by an independent reader, so that a fault shared by our encoder and our
// decoder cannot hide.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/encoder.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

constexpr const char* kConvert = "/usr/bin/convert";
constexpr Colour kKey = Rgb(250, 0, 128);

// Bands of colour, key pixels on a diagonal and one unit off the key beside them.
Bitmap Pattern(int width, int height) {
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour c = Rgb(x * 7, y * 11, (x ^ y) * 5);
            if (x == y) {
                c = kKey;
            } else if (x == y + 1) {
                c = Rgb(RedOf(kKey), GreenOf(kKey), BlueOf(kKey) + 1);
            }
            image.WritePixel(x, y, c);
        }
    }
    return image;
}

// The file's pixels as ImageMagick sees them: R,G,B,A bytes row by row; empty on failure.
std::vector<std::uint8_t> ReadWithImageMagick(const std::filesystem::path& file) {
    const std::string command = std::string(kConvert) + " '" + file.string() + "' -depth 8 rgba:-";
    std::vector<std::uint8_t> bytes;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return bytes;
    }
    std::uint8_t chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return pclose(pipe) == 0 ? bytes : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> ExpectedRgba(const Bitmap& image, Colour key) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.ReadPixel(x, y);
            out.insert(out.end(),
                       {static_cast<std::uint8_t>(RedOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
                        static_cast<std::uint8_t>(BlueOf(c)),
                        static_cast<std::uint8_t>(c == key ? 0 : 255)});
        }
    }
    return out;
}

// Index of the first byte that differs by more than the tolerance, or -1.
long FirstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
                     int tolerance) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

class ImageMagickReadBack : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kConvert)) {
            GTEST_SKIP() << "ImageMagick is not installed";
        }
    }

    std::vector<std::uint8_t> WriteAndRead(const OutputBuffer& file, const std::string& name) {
        const std::filesystem::path path = dir_.File(name);
        WriteFileBytes(path, {file.Data(), file.Data() + file.Size()});
        return ReadWithImageMagick(path);
    }

    TempDir dir_;
};

TEST_F(ImageMagickReadBack, LosslessFilesMatchExactlyWithAlphaOnlyOnTheKey) {
    using Encode = bool (*)(const Bitmap&, Colour, OutputBuffer&);
    const std::pair<const char*, Encode> formats[] = {
        {"png", EncodePng}, {"tiff", EncodeTiff}, {"bmp", EncodeBmpWithAlpha}};
    const Bitmap image = Pattern(37, 23);
    for (const auto& [extension, encode] : formats) {
        for (const Colour key : {kNoColour, kKey}) {
            const std::string name =
                std::string(key == kNoColour ? "opaque." : "keyed.") + extension;
            OutputBuffer out;
            ASSERT_TRUE(encode(image, key, out)) << name;
            const std::vector<std::uint8_t> seen = WriteAndRead(out, name);
            const std::vector<std::uint8_t> expected = ExpectedRgba(image, key);
            ASSERT_EQ(seen.size(), expected.size()) << name;
            EXPECT_EQ(FirstDifference(expected, seen, 0), -1) << name;
        }
    }
}

TEST_F(ImageMagickReadBack, JpegColoursAreClose) {
    const Bitmap image = Pattern(48, 32);
    OutputBuffer out;
    ASSERT_TRUE(EncodeJpeg(image, 100, out));
    const std::vector<std::uint8_t> seen = WriteAndRead(out, "image.jpg");
    const std::vector<std::uint8_t> expected = ExpectedRgba(image, kNoColour);
    ASSERT_EQ(seen.size(), expected.size());
    // Sharp edges between bands cost JPEG a little even at quality 100.
    EXPECT_EQ(FirstDifference(expected, seen, 24), -1);
}

}  // namespace
}  // namespace palvex::test
