#include "image/codecs/bmp_encoder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

struct Converted {
    BmpConvertResult result = BmpConvertResult::Failed;
    std::vector<std::uint8_t> info;
    std::vector<std::uint8_t> pixels;
};

Converted Convert(const Bitmap& image, int bitCount, int compression) {
    OutputBuffer info;
    OutputBuffer pixels;
    Converted out;
    out.result = ConvertToPlainBmp(image, bitCount, compression, info, pixels);
    out.info.assign(info.Span().begin(), info.Span().end());
    out.pixels.assign(pixels.Span().begin(), pixels.Span().end());
    return out;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
           static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
}
unsigned U16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes.at(offset) | bytes.at(offset + 1) << 8;
}

// The complete file: the 14-byte file header in front of the two parts.
std::vector<std::uint8_t> BmpFile(const Converted& c) {
    std::vector<std::uint8_t> file{'B', 'M'};
    PutU32(file, static_cast<std::uint32_t>(14 + c.info.size() + c.pixels.size()));
    PutU32(file, 0);
    PutU32(file, static_cast<std::uint32_t>(14 + c.info.size()));
    file.insert(file.end(), c.info.begin(), c.info.end());
    file.insert(file.end(), c.pixels.begin(), c.pixels.end());
    return file;
}

// Distinct, easily told apart colours.
Pixel Colour(int i) {
    return kOpaqueAlpha | static_cast<Pixel>((i * 37 + 11) & 0xFF) << 16 |
           static_cast<Pixel>((i * 101 + 3) & 0xFF) << 8 | static_cast<Pixel>(255 - i);
}

Bitmap FromIndexes(int width, int height, const std::vector<int>& indexes) {
    std::vector<Pixel> pixels;
    for (const int i : indexes) {
        pixels.push_back(Colour(i));
    }
    return MakeBitmap(width, height, pixels);
}

// The image back through our decoder, which must see exactly the original colours.
void ExpectRoundTrip(const Bitmap& image, int bitCount, int compression, const std::string& name) {
    const Converted c = Convert(image, bitCount, compression);
    ASSERT_EQ(c.result, BmpConvertResult::Ok) << name;
    const DecodedImage decoded = DecodeBmp(BmpFile(c));
    ASSERT_TRUE(decoded.Ok()) << name;
    EXPECT_TRUE(SameBitmaps(image, decoded.pixels, name, true));
}

// Reads an RLE stream back, failing on anything the writer must not produce: runs crossing a
// row, rows without an end of line, absolute runs under 3 pixels or badly padded, deltas, and
// anything but an end of bitmap after the last row. `rows` receives the indexes, top-down.
::testing::AssertionResult ParseRle(const std::vector<std::uint8_t>& s, int width, int height,
                                    bool fourBit, std::vector<int>& rows) {
    rows.assign(static_cast<std::size_t>(width) * height, -1);
    std::size_t p = 0;
    const auto fail = [&p](const std::string& what) {
        return ::testing::AssertionFailure() << what << " at stream offset " << p;
    };
    for (int y = height - 1; y >= 0; --y) {
        int x = 0;
        for (;;) {
            if (p + 2 > s.size()) {
                return fail("stream ends inside a row");
            }
            const int count = s[p];
            const int value = s[p + 1];
            p += 2;
            if (count > 0) {
                if (x + count > width) {
                    return fail("encoded run crosses the row end");
                }
                for (int i = 0; i < count; ++i, ++x) {
                    rows[static_cast<std::size_t>(y) * width + x] =
                        fourBit ? (i % 2 == 0 ? value >> 4 : value & 15) : value;
                }
            } else if (value == 0) {
                if (x != width) {
                    return fail("end of line before the row is full");
                }
                break;
            } else if (value < 3) {
                return fail("end of bitmap or delta inside the image");
            } else {
                if (x + value > width) {
                    return fail("absolute run crosses the row end");
                }
                const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
                const std::size_t padded = bytes + (bytes & 1);
                if (p + padded > s.size()) {
                    return fail("absolute run past the stream end");
                }
                for (int i = 0; i < value; ++i, ++x) {
                    const int b = s[p + (fourBit ? i / 2 : i)];
                    rows[static_cast<std::size_t>(y) * width + x] =
                        fourBit ? (i % 2 == 0 ? b >> 4 : b & 15) : b;
                }
                if (padded != bytes && s[p + bytes] != 0) {
                    return fail("non-zero padding");
                }
                p += padded;
            }
        }
    }
    if (s.size() != p + 2 || s[p] != 0 || s[p + 1] != 1) {
        return fail("no end of bitmap closing the stream");
    }
    return ::testing::AssertionSuccess();
}

// Encodes rows of palette indexes as RLE, checks the stream's form and that it holds exactly
// those indexes through the written colour table, and that our decoder agrees.
void ExpectRle(int width, int height, const std::vector<int>& indexes, bool fourBit,
               const std::string& name) {
    SCOPED_TRACE(name);
    const Bitmap image = FromIndexes(width, height, indexes);
    const Converted c = Convert(image, fourBit ? 4 : 8, fourBit ? 2 : 1);
    ASSERT_EQ(c.result, BmpConvertResult::Ok);
    EXPECT_EQ(U32At(c.info, 20), c.pixels.size());  // image size: the stream length
    std::vector<int> rows;
    ASSERT_TRUE(ParseRle(c.pixels, width, height, fourBit, rows));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t entry = 40 + 4 * static_cast<std::size_t>(rows[i]);
        const Pixel stored = kOpaqueAlpha | c.info.at(entry + 2) << 16 | c.info.at(entry + 1) << 8 |
                             c.info.at(entry);
        ASSERT_EQ(stored, image.Data()[i]) << "pixel " << i;
    }
    const DecodedImage decoded = DecodeBmp(BmpFile(c));
    ASSERT_TRUE(decoded.Ok());
    EXPECT_TRUE(SameBitmaps(image, decoded.pixels, name, true));
}

TEST(BmpConvert, RefusesOtherCombinations) {
    const Bitmap image = SolidBitmap(2, 2, 0xFF123456);
    for (const auto& [bits, compression] : std::vector<std::pair<int, int>>{{1, 1},
                                                                            {2, 0},
                                                                            {4, 1},
                                                                            {4, 3},
                                                                            {8, 2},
                                                                            {8, 3},
                                                                            {16, 0},
                                                                            {24, 3},
                                                                            {32, 0},
                                                                            {32, 6},
                                                                            {0, 0},
                                                                            {48, 0}}) {
        OutputBuffer info;
        OutputBuffer pixels;
        ASSERT_TRUE(info.Append("x", 1));
        EXPECT_EQ(ConvertToPlainBmp(image, bits, compression, info, pixels),
                  BmpConvertResult::Failed)
            << bits << "/" << compression;
        EXPECT_EQ(info.Size(), 0u);
        EXPECT_EQ(pixels.Size(), 0u);
    }
    EXPECT_EQ(Convert(Bitmap{}, 24, 0).result, BmpConvertResult::Failed);
}

TEST(BmpConvert, InfoHeaderAndTableSizes) {
    const Bitmap image = FromIndexes(5, 3, {0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 0});
    struct Case {
        int bits, compression;
        std::size_t infoSize;
    };
    for (const Case c : {Case{1, 0, 48}, Case{4, 0, 104}, Case{4, 2, 104}, Case{8, 0, 1064},
                         Case{8, 1, 1064}, Case{16, 3, 52}, Case{24, 0, 40}, Case{32, 3, 52}}) {
        SCOPED_TRACE(std::to_string(c.bits) + "/" + std::to_string(c.compression));
        const Converted out = Convert(image, c.bits, c.compression);
        ASSERT_EQ(out.result, BmpConvertResult::Ok);
        ASSERT_EQ(out.info.size(), c.infoSize);
        EXPECT_EQ(U32At(out.info, 0), 40u);
        EXPECT_EQ(U32At(out.info, 4), 5u);
        EXPECT_EQ(U32At(out.info, 8), 3u);
        EXPECT_EQ(U16At(out.info, 12), 1u);
        EXPECT_EQ(U16At(out.info, 14), static_cast<unsigned>(c.bits));
        EXPECT_EQ(U32At(out.info, 16), static_cast<std::uint32_t>(c.compression));
        EXPECT_EQ(U32At(out.info, 20), out.pixels.size());
        for (std::size_t offset = 24; offset < 40; offset += 4) {
            EXPECT_EQ(U32At(out.info, offset), 0u) << offset;
        }
        if (c.compression == 0) {
            EXPECT_EQ(out.pixels.size(), static_cast<std::size_t>((c.bits * 5 + 31) / 32 * 4 * 3));
        }
        if (c.bits <= 8) {
            // Two colours used; the rest of the table is zero.
            for (std::size_t offset = 48; offset < c.infoSize; ++offset) {
                ASSERT_EQ(out.info[offset], 0) << offset;
            }
            EXPECT_EQ(out.info[43], 0);
            EXPECT_EQ(out.info[47], 0);
        }
    }
}

TEST(BmpConvert, Layout24Bit3x2) {
    const Bitmap image = MakeBitmap(3, 2,
                                    {0xFF010203, 0xFF040506, 0xFF070809,  //
                                     0xFF0A0B0C, 0xFF0D0E0F, 0xFF101112});
    const Converted c = Convert(image, 24, 0);
    ASSERT_EQ(c.result, BmpConvertResult::Ok);
    EXPECT_EQ(c.info.size(), 40u);
    EXPECT_EQ(U32At(c.info, 20), 24u);
    // Bottom row first, B,G,R, 3 bytes padding a row.
    const std::vector<std::uint8_t> expected{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11,
                                             0x10, 0,    0,    0,    0x03, 0x02, 0x01, 0x06,
                                             0x05, 0x04, 0x09, 0x08, 0x07, 0,    0,    0};
    EXPECT_EQ(c.pixels, expected);
}

TEST(BmpConvert, Layout1Bit3x2) {
    const Pixel a = 0xFF20A0F0;
    const Pixel b = 0x00102030;  // the fourth byte plays no part
    const Bitmap image = MakeBitmap(3, 2, {a, b, b, b, a, a});
    const Converted c = Convert(image, 1, 0);
    ASSERT_EQ(c.result, BmpConvertResult::Ok);
    ASSERT_EQ(c.info.size(), 48u);
    // Palette in order of appearance: a, then b.
    EXPECT_EQ(std::vector<std::uint8_t>(c.info.begin() + 40, c.info.end()),
              (std::vector<std::uint8_t>{0xF0, 0xA0, 0x20, 0, 0x30, 0x20, 0x10, 0}));
    EXPECT_EQ(U32At(c.info, 20), 8u);
    EXPECT_EQ(c.pixels, (std::vector<std::uint8_t>{0b10000000, 0, 0, 0, 0b01100000, 0, 0, 0}));
}

TEST(BmpConvert, MasksAndRounding) {
    const Bitmap image = MakeBitmap(4, 1, {0x00FF8040, 0xFF000000, 0x00FFFFFF, 0xFF7F8081});
    const Converted c16 = Convert(image, 16, 3);
    ASSERT_EQ(c16.result, BmpConvertResult::Ok);
    EXPECT_EQ(U32At(c16.info, 40), 0xF800u);
    EXPECT_EQ(U32At(c16.info, 44), 0x07E0u);
    EXPECT_EQ(U32At(c16.info, 48), 0x001Fu);
    // (v * 31 + 127) / 255 and (v * 63 + 127) / 255: 0xFF,0x80,0x40 -> 31,32,8; 0x7F,0x80,0x81
    // -> 15,32,16.
    EXPECT_EQ(U16At(c16.pixels, 0), 31u << 11 | 32u << 5 | 8u);
    EXPECT_EQ(U16At(c16.pixels, 2), 0u);
    EXPECT_EQ(U16At(c16.pixels, 4), 0xFFFFu);
    EXPECT_EQ(U16At(c16.pixels, 6), 15u << 11 | 32u << 5 | 16u);

    const Converted c32 = Convert(image, 32, 3);
    ASSERT_EQ(c32.result, BmpConvertResult::Ok);
    EXPECT_EQ(U32At(c32.info, 40), 0xFF0000u);
    EXPECT_EQ(U32At(c32.info, 44), 0xFF00u);
    EXPECT_EQ(U32At(c32.info, 48), 0xFFu);
    EXPECT_EQ(c32.pixels, (std::vector<std::uint8_t>{0x40, 0x80, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0xFF,
                                                     0xFF, 0xFF, 0xFF, 0x81, 0x80, 0x7F, 0xFF}));
    ExpectRoundTrip(image, 32, 3, "masks32");
}

TEST(BmpConvert, PalettesAreExactWhenTheColoursFit) {
    std::mt19937 random(3);
    const auto randomIndexes = [&random](int count, int colours) {
        std::vector<int> out;
        for (int i = 0; i < count; ++i) {
            out.push_back(static_cast<int>(random() % static_cast<unsigned>(colours)));
        }
        // Every colour at least once.
        for (int i = 0; i < colours && i < count; ++i) {
            out[static_cast<std::size_t>(i) * count / colours] = i;
        }
        return out;
    };
    ExpectRoundTrip(FromIndexes(13, 7, randomIndexes(91, 2)), 1, 0, "two_colours_1bit");
    ExpectRoundTrip(FromIndexes(9, 11, randomIndexes(99, 16)), 4, 0, "sixteen_colours_4bit");
    ExpectRoundTrip(FromIndexes(9, 11, randomIndexes(99, 16)), 4, 2, "sixteen_colours_rle4");
    ExpectRoundTrip(FromIndexes(37, 29, randomIndexes(37 * 29, 256)), 8, 0, "256_colours_8bit");
    ExpectRoundTrip(FromIndexes(37, 29, randomIndexes(37 * 29, 256)), 8, 1, "256_colours_rle8");
    ExpectRoundTrip(FromIndexes(7, 5, randomIndexes(35, 35)), 24, 0, "24bit");
}

TEST(BmpRle, RowsOfRuns) {
    std::mt19937 random(5);
    for (const bool fourBit : {false, true}) {
        const int width = 700;
        std::vector<int> indexes;
        for (int y = 0; y < 6; ++y) {
            int x = 0;
            while (x < width) {
                // Runs of every length class: 1, 2, 3, around 255 and longer.
                const int lengths[] = {1, 2, 3, 4, 254, 255, 256, 300};
                const int run = std::min(lengths[random() % 8], width - x);
                const int value = static_cast<int>(random() % (fourBit ? 16 : 256));
                indexes.insert(indexes.end(), static_cast<std::size_t>(run), value);
                x += run;
            }
        }
        ExpectRle(width, 6, indexes, fourBit, fourBit ? "runs4" : "runs8");
    }
}

TEST(BmpRle, AllDifferentRows) {
    for (const bool fourBit : {false, true}) {
        for (const int width : {3, 4, 255, 256, 257, 511, 600}) {
            std::vector<int> indexes;
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < width; ++x) {
                    indexes.push_back((x + y) % (fourBit ? 16 : 256));
                }
            }
            ExpectRle(width, 3, indexes, fourBit, "different" + std::to_string(width));
        }
    }
}

TEST(BmpRle, SinglePixelsAndOddWidths) {
    std::mt19937 random(7);
    for (const bool fourBit : {false, true}) {
        ExpectRle(1, 1, {0}, fourBit, "single");
        for (int width = 1; width <= 9; ++width) {
            for (int trial = 0; trial < 40; ++trial) {
                // Few values, so short runs of every kind meet absolute stretches.
                std::vector<int> indexes;
                for (int i = 0; i < width * 2; ++i) {
                    indexes.push_back(static_cast<int>(random() % (trial % 2 == 0 ? 3 : 16)));
                }
                ExpectRle(width, 2, indexes, fourBit,
                          "width" + std::to_string(width) + "_" + std::to_string(trial));
            }
        }
    }
}

TEST(BmpRle, RepeatsAreEncodedRuns) {
    // A 1000-pixel row of one colour: four runs, an end of line, an end of bitmap.
    const Converted c = Convert(SolidBitmap(1000, 1, 0xFF336699), 8, 1);
    ASSERT_EQ(c.result, BmpConvertResult::Ok);
    EXPECT_EQ(c.pixels, (std::vector<std::uint8_t>{255, 0, 255, 0, 255, 0, 235, 0, 0, 0, 0, 1}));
    // Four different pixels: one absolute run, padded.
    const Converted abs = Convert(FromIndexes(5, 1, {0, 1, 2, 3, 3}), 4, 2);
    ASSERT_EQ(abs.result, BmpConvertResult::Ok);
    EXPECT_EQ(abs.pixels, (std::vector<std::uint8_t>{0, 5, 0x01, 0x23, 0x30, 0, 0, 0, 0, 1}));
}

// ImageMagick must read every form to the same pixels as our decoder.
TEST(BmpConvert, ImageMagickReadsTheSamePixels) {
    if (!std::filesystem::exists("/usr/bin/convert")) {
        GTEST_SKIP() << "/usr/bin/convert is not installed";
    }
    TempDir dir;
    std::mt19937 random(9);
    const int width = 37;  // odd, so every row is padded
    const int height = 13;
    std::vector<Pixel> pixels;
    for (int i = 0; i < width * height; ++i) {
        // Runs and noise, in more than 256 colours.
        const Pixel base = Colour(i / 9 % 40) ^ (i % 3 == 0 ? (random() & 0x3F3F3F) : 0);
        pixels.push_back(base | kOpaqueAlpha);
    }
    // And an exact 16-colour image of short runs and single pixels, for every RLE instruction.
    std::vector<int> indexes;
    for (int i = 0; i < width * height; ++i) {
        indexes.push_back(random() % 4 == 0 ? static_cast<int>(random() % 16) : i / 5 % 16);
    }
    const Bitmap images[2] = {MakeBitmap(width, height, pixels),
                              FromIndexes(width, height, indexes)};
    struct Case {
        int bits, compression, image;
    };
    for (const Case& k :
         {Case{1, 0, 0}, Case{4, 0, 0}, Case{4, 2, 0}, Case{8, 0, 0}, Case{8, 1, 0}, Case{16, 3, 0},
          Case{24, 0, 0}, Case{32, 3, 0}, Case{4, 2, 1}, Case{8, 1, 1}}) {
        const int bits = k.bits;
        const std::string name = std::to_string(bits) + "_" + std::to_string(k.compression) + "_" +
                                 std::to_string(k.image);
        const Converted c = Convert(images[k.image], bits, k.compression);
        ASSERT_EQ(c.result, BmpConvertResult::Ok);
        const auto input = dir.File(name + ".bmp");
        const auto output = dir.File(name + ".rgb");
        WriteFileBytes(input, BmpFile(c));
        const std::string command =
            "/usr/bin/convert '" + input.string() + "' -depth 8 'rgb:" + output.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::vector<std::uint8_t> rgb = ReadFileBytes(output);
        ASSERT_EQ(rgb.size(), static_cast<std::size_t>(width * height * 3)) << name;
        DecodedImage ours = DecodeBmp(BmpFile(c));
        ASSERT_TRUE(ours.Ok()) << name;
        // Readers widen 5- and 6-bit channels with different rounding; the stored bits must agree.
        const Pixel keep = bits == 16 ? 0xFFF8FCF8u : 0xFFFFFFFFu;
        for (Pixel& p : ours.pixels.Pixels()) {
            p &= keep;
        }
        std::vector<Pixel> theirs;
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            theirs.push_back((kOpaqueAlpha | rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]) & keep);
        }
        EXPECT_TRUE(
            SameBitmaps(ours.pixels, MakeBitmap(width, height, theirs), "magick" + name, true));
    }
}

}  // namespace
}  // namespace palvex::test
