#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "image/codecs/encoder.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

std::vector<std::uint8_t> Encode(const Bitmap& image, palvex::Colour key = kNoColour) {
    OutputBuffer out;
    EXPECT_TRUE(EncodeGif(image, key, out));
    return {out.Span().begin(), out.Span().end()};
}

Pixel Colour(int i) {
    return kOpaqueAlpha | static_cast<Pixel>((i * 37 + 11) & 0xFF) << 16 |
           static_cast<Pixel>((i * 101 + 3) & 0xFF) << 8 | static_cast<Pixel>(255 - i);
}

// `colours` distinct colours scattered over the image, each at least once.
Bitmap Scattered(int width, int height, int colours, unsigned seed) {
    std::mt19937 random(seed);
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        image.Data()[i] = Colour(i < static_cast<std::size_t>(colours)
                                     ? static_cast<int>(i)
                                     : static_cast<int>(random() % static_cast<unsigned>(colours)));
    }
    return image;
}

std::size_t TableEntries(const std::vector<std::uint8_t>& gif) {
    return std::size_t{2} << (gif.at(10) & 7);
}

TEST(GifEncoder, BlockLayoutIsFixed) {
    // Three colours: a table of four entries, the last one unused.
    const Bitmap image = MakeBitmap(3, 2,
                                    {0xFF102030, 0xFF405060, 0x00102030,  //
                                     0xFF708090, 0xFF708090, 0xFF405060});
    const std::vector<std::uint8_t> gif = Encode(image);
    ASSERT_GT(gif.size(), 40u);
    const std::vector<std::uint8_t> start(gif.begin(), gif.begin() + 13 + 12 + 8 + 10);
    std::vector<std::uint8_t> expected{'G', 'I', 'F', '8', '9', 'a'};
    const auto add = [&expected](std::initializer_list<std::uint8_t> bytes) {
        expected.insert(expected.end(), bytes);
    };
    add({3, 0, 2, 0, 0xF1, 0, 0});  // 3x2, global table of 2^(1+1) entries, background, aspect
    add({0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0, 0, 0});  // in order of use
    add({0x21, 0xF9, 4, 0, 0, 0, 0, 0});     // graphic control: flags, delay, index, end
    add({0x2C, 0, 0, 0, 0, 3, 0, 2, 0, 0});  // image at 0,0: no local table, not interlaced
    EXPECT_EQ(start, expected);
    EXPECT_EQ(gif.back(), 0x3B);
    const DecodedImage decoded = DecodeGif(gif);
    ASSERT_TRUE(decoded.Ok());
    EXPECT_TRUE(SameBitmaps(image, decoded.pixels, "layout", true));
}

TEST(GifEncoder, TableIsAPowerOfTwoAtLeastTwo) {
    for (const auto& [colours, entries] : std::vector<std::pair<int, std::size_t>>{
             {1, 2}, {2, 2}, {3, 4}, {5, 8}, {16, 16}, {17, 32}, {129, 256}, {256, 256}}) {
        const Bitmap image = Scattered(31, 17, colours, static_cast<unsigned>(colours));
        const std::vector<std::uint8_t> gif = Encode(image);
        ASSERT_FALSE(gif.empty());
        const std::size_t t = 3 * entries;
        EXPECT_EQ(TableEntries(gif), entries) << colours;
        // The extension always sits directly after the table, the descriptor after it.
        EXPECT_EQ(gif.at(13 + t), 0x21) << colours;
        EXPECT_EQ(gif.at(14 + t), 0xF9) << colours;
        EXPECT_EQ(gif.at(21 + t), 0x2C) << colours;
        const DecodedImage decoded = DecodeGif(gif);
        ASSERT_TRUE(decoded.Ok()) << colours;
        EXPECT_TRUE(SameBitmaps(image, decoded.pixels, "entries" + std::to_string(colours), true));
    }
}

// Exactly the key-coloured pixels read back transparent, also when hundreds of colours lie
// next to the key and the palette has to be reduced.
TEST(GifEncoder, TheKeyGetsATransparentEntryOfItsOwn) {
    for (const int colours : {12, 4000, 20000}) {
        SCOPED_TRACE(colours);
        Bitmap image;
        ASSERT_TRUE(image.Create(160, 125));
        const Pixel key = 0x405060;
        for (std::size_t i = 0; i < image.PixelCount(); ++i) {
            const auto c = static_cast<Pixel>(i % static_cast<std::size_t>(colours));
            image.Data()[i] =
                i % 97 == 0 ? kOpaqueAlpha | key
                : i % 5 == 1
                    // the key's neighbours, one bit off in one channel
                    ? kOpaqueAlpha | (key ^ (1u << (i / 5 % 24)))
                    : kOpaqueAlpha | (c & 0xFF) << 16 | (c >> 8) * 3 << 8 | (c * 7 & 0xFF);
        }
        const std::vector<std::uint8_t> gif = Encode(image, ColourFromPixel(key));
        const std::size_t t = 3 * TableEntries(gif);
        EXPECT_EQ(gif.at(t + 16) & 1, 1);
        const int index = gif.at(t + 19);
        EXPECT_EQ(Pixel{gif.at(13 + 3 * index)} << 16 | Pixel{gif.at(14 + 3 * index)} << 8 |
                      gif.at(15 + 3 * index),
                  key);
        const DecodedImage decoded = DecodeGif(gif);
        ASSERT_TRUE(decoded.Ok());
        int wrong = 0;
        for (std::size_t i = 0; i < image.PixelCount(); ++i) {
            const bool isKey = (image.Data()[i] & kRgbMask) == key;
            wrong += (AlphaOf(decoded.pixels.Data()[i]) == 0) != isKey;
            if (!isKey && colours == 12) {
                ASSERT_EQ(decoded.pixels.Data()[i], image.Data()[i]) << i;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(GifEncoder, AKeyNoPixelHasLeavesTheFileOpaque) {
    const Bitmap image = Scattered(20, 10, 12, 4);
    for (const palvex::Colour key : {Rgb(1, 2, 3), kNoColour}) {
        const std::vector<std::uint8_t> gif = Encode(image, key);
        EXPECT_EQ(gif.at(3 * TableEntries(gif) + 16), 0);
        const DecodedImage decoded = DecodeGif(gif);
        ASSERT_TRUE(decoded.Ok());
        EXPECT_TRUE(SameBitmaps(image, decoded.pixels, "opaque"));
    }
}

TEST(GifEncoder, ManyColoursAreQuantised) {
    Bitmap image;
    ASSERT_TRUE(image.Create(120, 90));
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 120; ++x) {
            image.Row(y)[x] = kOpaqueAlpha | static_cast<Pixel>(x * 2) << 16 |
                              static_cast<Pixel>(y * 2) << 8 | static_cast<Pixel>((x + y) % 256);
        }
    }
    const std::vector<std::uint8_t> gif = Encode(image);
    EXPECT_EQ(TableEntries(gif), 256u);
    const DecodedImage decoded = DecodeGif(gif);
    ASSERT_TRUE(decoded.Ok());
    double error = 0;
    std::set<Pixel> used;
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        const Pixel a = image.Data()[i];
        const Pixel b = decoded.pixels.Data()[i];
        used.insert(b);
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
            error += d * d;
        }
    }
    EXPECT_LE(used.size(), 256u);
    EXPECT_LT(error / (3.0 * static_cast<double>(image.PixelCount())), 12.0);
}

TEST(GifEncoder, RefusesWhatGifCannotHold) {
    OutputBuffer out;
    EXPECT_FALSE(EncodeGif(Bitmap{}, kNoColour, out));
    EXPECT_EQ(out.Size(), 0u);
    EXPECT_FALSE(EncodeGif(SolidBitmap(65536, 1, 0xFF000000), kNoColour, out));
    EXPECT_FALSE(EncodeGif(SolidBitmap(1, 65536, 0xFF000000), kNoColour, out));
    EXPECT_TRUE(EncodeGif(SolidBitmap(65535, 1, 0xFF000000), kNoColour, out));
}

// ImageMagick must read the file to the same pixels as our decoder.
TEST(GifEncoder, ImageMagickReadsTheSamePixels) {
    if (!std::filesystem::exists("/usr/bin/convert")) {
        GTEST_SKIP() << "/usr/bin/convert is not installed";
    }
    TempDir dir;
    Bitmap gradient;
    ASSERT_TRUE(gradient.Create(53, 41));
    for (int y = 0; y < 41; ++y) {
        for (int x = 0; x < 53; ++x) {
            gradient.Row(y)[x] = kOpaqueAlpha | static_cast<Pixel>(x * 4) << 16 |
                                 static_cast<Pixel>(y * 6) << 8 | static_cast<Pixel>(x * y % 256);
        }
    }
    const Bitmap images[] = {Scattered(53, 41, 2, 1), Scattered(53, 41, 200, 2),
                             std::move(gradient)};
    for (int k = 0; k < 3; ++k) {
        const std::vector<std::uint8_t> gif = Encode(images[k]);
        const auto input = dir.File("image" + std::to_string(k) + ".gif");
        const auto output = dir.File("image" + std::to_string(k) + ".rgb");
        WriteFileBytes(input, gif);
        const std::string command =
            "/usr/bin/convert '" + input.string() + "' -depth 8 'rgb:" + output.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::vector<std::uint8_t> rgb = ReadFileBytes(output);
        ASSERT_EQ(rgb.size(), std::size_t{53 * 41 * 3});
        std::vector<Pixel> theirs;
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            theirs.push_back(kOpaqueAlpha | rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
        }
        const DecodedImage ours = DecodeGif(gif);
        ASSERT_TRUE(ours.Ok());
        EXPECT_TRUE(SameBitmaps(ours.pixels, MakeBitmap(53, 41, theirs),
                                "magick" + std::to_string(k), true));
        if (k < 2) {
            EXPECT_TRUE(SameBitmaps(images[k], ours.pixels, "exact" + std::to_string(k), true));
        }
    }
}

}  // namespace
}  // namespace palvex::test
