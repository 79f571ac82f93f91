#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/bmp_writer.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

DecodedImage Decode(const BmpDescription& desc, const DecodeLimits& limits = {}) {
    const std::vector<std::uint8_t> file = WriteBmp(desc);
    return DecodeBmp(file, limits);
}

// The palette's pixels with the reserved byte forced opaque, as a decoder must report them.
std::vector<Pixel> Lookup(const std::vector<Pixel>& palette,
                          const std::vector<std::uint32_t>& idx) {
    std::vector<Pixel> out;
    for (const std::uint32_t i : idx) {
        out.push_back(i < palette.size() ? palette[i] | kOpaqueAlpha : kOpaqueAlpha);
    }
    return out;
}

void ExpectPixels(const BmpDescription& desc, int width, int height,
                  const std::vector<Pixel>& expected, const std::string& name) {
    const DecodedImage image = Decode(desc);
    ASSERT_EQ(image.status, DecodeStatus::Ok) << name;
    EXPECT_TRUE(SameBitmaps(MakeBitmap(width, height, expected), image.pixels, name));
}

// Reserved bytes of palette entries are junk in the wild and must not become alpha.
const std::vector<Pixel> kPalette = {
    0x00102030, 0x12FF0000, 0x3400FF00, 0x560000FF, 0x00808080, 0x00FFFFFF, 0x00123456, 0x00654321,
    0x00ABCDEF, 0x00FEDCBA, 0x00111111, 0x00222222, 0x00333333, 0x00444444, 0x00555555, 0x00666666};

TEST(BmpDecoderTest, IndexedDepthsPackRowsMostSignificantBitFirst) {
    for (const int bits : {1, 2, 4, 8}) {
        // Width 11 leaves a partial last byte and row padding at every depth.
        const int entries = bits == 1 ? 2 : bits == 2 ? 4 : 16;
        BmpDescription desc;
        desc.width = 11;
        desc.height = 3;
        desc.bitCount = static_cast<std::uint16_t>(bits);
        desc.palette.assign(kPalette.begin(), kPalette.begin() + entries);
        desc.colorsUsed = bits == 8 ? entries : 0;  // 0 means the full table
        for (int i = 0; i < 33; ++i) {
            desc.values.push_back(static_cast<std::uint32_t>((i * 7 + i / 11) % entries));
        }
        ExpectPixels(desc, 11, 3, Lookup(desc.palette, desc.values),
                     "indexed" + std::to_string(bits));
    }
}

TEST(BmpDecoderTest, IndexesBeyondThePaletteAreOpaqueBlack) {
    BmpDescription desc;
    desc.width = 6;
    desc.height = 1;
    desc.bitCount = 8;
    desc.palette = {0x00AA0000, 0x0000BB00, 0x000000CC};
    desc.values = {0, 1, 2, 3, 200, 255};
    ExpectPixels(desc, 6, 1, Lookup(desc.palette, desc.values), "short palette");

    // A count larger than the room before the pixels is cut to what is there.
    desc.colorsUsed = 256;
    ExpectPixels(desc, 6, 1, Lookup(desc.palette, desc.values), "overstated palette");
    desc.colorsUsed = 2;
    ExpectPixels(desc, 6, 1, Lookup({0x00AA0000, 0x0000BB00}, desc.values), "count honoured");
}

TEST(BmpDecoderTest, SixteenBitDefaultsTo555AndScalesWithRounding) {
    BmpDescription desc;
    desc.width = 5;
    desc.height = 1;
    desc.bitCount = 16;
    desc.values = {0x7C00, 0x03E0, 0x0010, 0x8000, 0x4210};  // top bit is unused
    ExpectPixels(desc, 5, 1, {0xFFFF0000, 0xFF00FF00, 0xFF000084, 0xFF000000, 0xFF848484}, "555");
}

TEST(BmpDecoderTest, SixteenBitFields) {
    BmpDescription desc;
    desc.width = 5;
    desc.height = 1;
    desc.bitCount = 16;
    desc.compression = kBmpBitfields;
    desc.masks = {0xF800, 0x07E0, 0x001F, 0};
    desc.values = {0xF800, 0x07E0, 0x0020, 0x001F, 0x8410};
    ExpectPixels(desc, 5, 1, {0xFFFF0000, 0xFF00FF00, 0xFF000400, 0xFF0000FF, 0xFF848284}, "565");

    desc.compression = kBmpAlphaBitfields;
    desc.masks = {0x0F00, 0x00F0, 0x000F, 0xF000};
    desc.values = {0x7F80, 0x0000, 0xFFFF, 0x1234, 0xF00F};
    ExpectPixels(desc, 5, 1, {0x77FF8800, 0x00000000, 0xFFFFFFFF, 0x11223344, 0xFF0000FF}, "4444");
}

TEST(BmpDecoderTest, TwentyFourBitWithPadding) {
    BmpDescription desc;
    desc.width = 5;  // a block of four pixels, one more, one byte of padding
    desc.height = 2;
    std::vector<Pixel> expected;
    for (std::uint32_t i = 0; i < 10; ++i) {
        desc.values.push_back(i * 0x0F1D2B + 0x010203);
        expected.push_back(kOpaqueAlpha | desc.values.back());
    }
    ExpectPixels(desc, 5, 2, expected, "24 bottom-up");
    desc.height = -2;
    ExpectPixels(desc, 5, 2, expected, "24 top-down");
}

TEST(BmpDecoderTest, RowOrderOfAHandBuiltFile) {
    // 1x2, 24 bits, bottom-up: the first stored row is the bottom one.
    std::vector<std::uint8_t> file = {'B', 'M'};
    PutU32(file, 62);
    PutU32(file, 0);
    PutU32(file, 54);
    for (const std::uint32_t v : {40u, 1u, 2u}) {
        PutU32(file, v);
    }
    PutU16(file, 1);
    PutU16(file, 24);
    file.resize(54, 0);
    file.insert(file.end(), {0x03, 0x02, 0x01, 0, 0x06, 0x05, 0x04, 0});
    const DecodedImage image = DecodeBmp(file);
    ASSERT_TRUE(image.Ok());
    EXPECT_TRUE(SameBitmaps(MakeBitmap(1, 2, {0xFF040506, 0xFF010203}), image.pixels));
}

TEST(BmpDecoderTest, ThirtyTwoBitRgbIgnoresTheFourthByte) {
    for (const BmpHeader header : {BmpHeader::Info, BmpHeader::V5}) {
        BmpDescription desc;
        desc.header = header;
        desc.width = 2;
        desc.height = -2;
        desc.bitCount = 32;
        desc.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};  // only bit fields use them
        desc.values = {0xED112233, 0x00445566, 0x80778899, 0xFFAABBCC};
        ExpectPixels(desc, 2, 2, {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC}, "32 rgb");
    }
}

TEST(BmpDecoderTest, AlphaMaskCountsOnlyWhereTheHeaderCanCarryOne) {
    struct Case {
        BmpHeader header;
        bool alpha;
    };
    for (const Case c :
         {Case{BmpHeader::Info, false}, Case{BmpHeader::Info52, false},
          Case{BmpHeader::Info56, true}, Case{BmpHeader::V4, true}, Case{BmpHeader::V5, true}}) {
        BmpDescription desc;
        desc.header = c.header;
        desc.width = 2;
        desc.height = 1;
        desc.bitCount = 32;
        desc.compression = kBmpBitfields;
        desc.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};  // red low
        desc.values = {0x80332211, 0x00665544};
        const std::vector<Pixel> expected = c.alpha ? std::vector<Pixel>{0x80112233, 0x00445566}
                                                    : std::vector<Pixel>{0xFF112233, 0xFF445566};
        ExpectPixels(desc, 2, 1, expected, "header" + std::to_string(static_cast<int>(c.header)));
    }
}

TEST(BmpDecoderTest, ThirtyTwoBitFieldsOfAnyWidth) {
    BmpDescription desc;
    desc.header = BmpHeader::V5;
    desc.width = 3;
    desc.height = 1;
    desc.bitCount = 32;
    desc.compression = kBmpBitfields;
    // 10-10-10-2 and the stored layout itself (alpha kept for fully transparent pixels).
    desc.masks = {0x000003FF, 0x000FFC00, 0x3FF00000, 0xC0000000};
    desc.values = {0x400803FF, 0xFFFFFFFF, 0x00000000};
    ExpectPixels(desc, 3, 1, {0x55FF8000, 0xFFFFFFFF, 0x00000000}, "1010102");
    desc.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    desc.values = {0x80112233, 0x00445566, 0xFF000000};
    ExpectPixels(desc, 3, 1, {0x80112233, 0x00445566, 0xFF000000}, "argb");

    // Fields wider than 16 bits, masks after a plain header, a channel without bits.
    desc.header = BmpHeader::Info;
    desc.compression = kBmpAlphaBitfields;
    desc.masks = {0xFFFFF000, 0x00000FFF, 0, 0};
    desc.values = {0x80000FFF, 0x00001000, 0xFFFFF000};
    ExpectPixels(desc, 3, 1, {0xFF80FF00, 0xFF000000, 0xFFFF0000}, "wide");
}

TEST(BmpDecoderTest, Os2Headers) {
    BmpDescription desc;
    desc.header = BmpHeader::Core;  // 3-byte palette entries
    desc.width = 3;
    desc.height = 2;
    desc.bitCount = 4;
    desc.palette = {0x00FF0000, 0x0000FF00, 0x000000FF};
    desc.values = {0, 1, 2, 2, 1, 0};
    const std::vector<Pixel> expected = Lookup(desc.palette, desc.values);
    ExpectPixels(desc, 3, 2, expected, "core");
    desc.header = BmpHeader::Os2;
    ExpectPixels(desc, 3, 2, expected, "os2");
    desc.header = BmpHeader::Os2Short;
    ExpectPixels(desc, 3, 2, expected, "os2 short");
    desc.header = BmpHeader::Os2;
    desc.compression = 3;  // Huffman 1D there, not bit fields
    EXPECT_EQ(Decode(desc).status, DecodeStatus::Corrupt);
}

TEST(BmpDecoderTest, WrongSizeFieldsAreIgnored) {
    BmpDescription desc;
    desc.width = 2;
    desc.height = 1;
    desc.values = {0x010203, 0x040506};
    desc.fileSize = 7;
    desc.imageSize = 0xFFFFFFFF;
    desc.gap = 10;  // pixels start where the offset says, not after the palette
    ExpectPixels(desc, 2, 1, {0xFF010203, 0xFF040506}, "size fields");
}

constexpr Pixel kUnset = 0x00102030;  // palette entry 0 with alpha 0
constexpr Pixel kP1 = 0xFFFF0000, kP2 = 0xFF00FF00, kP3 = 0xFF0000FF, kP4 = 0xFF808080;
constexpr Pixel kP5 = 0xFFFFFFFF, kP6 = 0xFF123456, kP7 = 0xFF654321, kP8 = 0xFFABCDEF;

BmpDescription RleDescription(std::uint32_t compression, int width, int height, const BmpRle& rle) {
    BmpDescription desc;
    desc.width = width;
    desc.height = height;
    desc.bitCount = compression == kBmpRle8 ? 8 : 4;
    desc.compression = compression;
    desc.palette = kPalette;
    desc.pixelBytes = rle.Stream();
    return desc;
}

TEST(BmpDecoderTest, Rle8RunsDeltasAndLineEnds) {
    BmpRle rle;
    rle.Run(3, 1).Absolute8({2, 3, 4}).EndOfLine();       // bottom row; odd run is padded
    rle.Run(2, 5).Delta(2, 1).Run(2, 6).EndOfLine();      // delta skips into the next row
    rle.Absolute8({1, 2, 3, 4}).EndOfBitmap().Run(6, 7);  // nothing after the end counts
    ExpectPixels(RleDescription(kBmpRle8, 6, 4, rle), 6, 4,
                 {kP1,    kP2,    kP3,    kP4,    kUnset, kUnset,  //
                  kUnset, kUnset, kUnset, kUnset, kP6,    kP6,     //
                  kP5,    kP5,    kUnset, kUnset, kUnset, kUnset,  //
                  kP1,    kP1,    kP1,    kP2,    kP3,    kP4},
                 "rle8");
}

TEST(BmpDecoderTest, Rle4AlternatesNibblesAndKeepsAStreamWithoutEnd) {
    BmpRle rle;
    rle.Run(5, 0x12).EndOfLine();
    // Five nibbles take three bytes plus padding; the run after it is clipped at the row end.
    rle.Absolute4({3, 4, 5, 6, 7}).Run(2, 0x88);
    ExpectPixels(RleDescription(kBmpRle4, 6, 2, rle), 6, 2,
                 {kP3, kP4, kP5, kP6, kP7, kP8,  //
                  kP1, kP2, kP1, kP2, kP1, kUnset},
                 "rle4");
}

TEST(BmpDecoderTest, RleNeverWritesOutsideTheImage) {
    BmpRle rle;
    rle.Run(200, 1).Run(3, 2).EndOfLine();                               // clipped, then nothing
    rle.Absolute8({3, 3, 3, 3, 3, 3, 3, 3, 3}).Delta(250, 0).Run(9, 2);  // x parked at the end
    rle.EndOfLine().Run(1, 4).EndOfLine().Run(1, 5);                     // past the last row
    ExpectPixels(RleDescription(kBmpRle8, 4, 3, rle), 4, 3,
                 {kP4, kUnset, kUnset, kUnset,  //
                  kP3, kP3, kP3, kP3,           //
                  kP1, kP1, kP1, kP1},
                 "clipped");

    BmpRle delta;
    delta.Run(1, 1).Delta(0, 9).Run(4, 2);
    ExpectPixels(RleDescription(kBmpRle8, 2, 2, delta), 2, 2, {kUnset, kUnset, kP1, kUnset},
                 "delta");

    // Streams cut inside an absolute run or a delta keep what came before.
    const std::vector<std::vector<std::uint8_t>> tails = {{0, 5, 2, 3}, {0, 2, 1}, {0}};
    for (const std::vector<std::uint8_t>& tail : tails) {
        BmpRle cut;
        cut.Run(1, 1).Bytes(tail);
        const std::vector<Pixel> row = {kP1, tail.size() == 4 ? kP2 : kUnset,
                                        tail.size() == 4 ? kP3 : kUnset};
        ExpectPixels(RleDescription(kBmpRle8, 3, 1, cut), 3, 1, row, "cut");
    }
}

TEST(BmpDecoderTest, RleRefusesTopDownAndWrongDepths) {
    BmpRle rle;
    rle.Run(2, 1).EndOfBitmap();
    BmpDescription desc = RleDescription(kBmpRle8, 2, -1, rle);
    EXPECT_EQ(Decode(desc).status, DecodeStatus::Corrupt);
    desc = RleDescription(kBmpRle8, 2, 1, rle);
    desc.bitCount = 4;
    EXPECT_EQ(Decode(desc).status, DecodeStatus::Corrupt);
}

struct Refusal {
    const char* name;
    std::function<void(BmpDescription&)> change;
};

TEST(BmpDecoderTest, MalformedHeadersAreCorrupt) {
    const std::vector<Refusal> refusals = {
        {"zero width", [](BmpDescription& s) { s.width = 0; }},
        {"negative width", [](BmpDescription& s) { s.width = -3; }},
        {"zero height", [](BmpDescription& s) { s.height = 0; }},
        {"two planes", [](BmpDescription& s) { s.planes = 2; }},
        {"7 bits", [](BmpDescription& s) { s.bitCount = 7; }},
        {"0 bits", [](BmpDescription& s) { s.bitCount = 0; }},
        {"64 bits", [](BmpDescription& s) { s.bitCount = 64; }},
        {"jpeg", [](BmpDescription& s) { s.compression = kBmpJpeg; }},
        {"png", [](BmpDescription& s) { s.compression = kBmpPng; }},
        {"24-bit fields", [](BmpDescription& s) { s.compression = kBmpBitfields; }},
        {"8-bit fields",
         [](BmpDescription& s) {
             s.bitCount = 8;
             s.compression = kBmpBitfields;
         }},
        {"split mask",
         [](BmpDescription& s) {
             s.bitCount = 32;
             s.compression = kBmpBitfields;
             s.masks = {0xFF00FF00, 0xFF0000, 0xFF, 0};
         }},
        {"offset past the end", [](BmpDescription& s) { s.pixelOffset = 5000; }},
        {"offset at the end", [](BmpDescription& s) { s.pixelOffset = 70; }},
        {"offset inside the header", [](BmpDescription& s) { s.pixelOffset = 30; }},
        {"truncated rows",
         [](BmpDescription& s) { s.pixelBytes = std::vector<std::uint8_t>(11, 0); }},
    };
    for (const Refusal& r : refusals) {
        BmpDescription desc;
        desc.width = 2;
        desc.height = 2;  // 16 bytes of pixels at offset 54
        r.change(desc);
        EXPECT_EQ(Decode(desc).status, DecodeStatus::Corrupt) << r.name;
    }

    std::vector<std::uint8_t> file = WriteBmp({});
    EXPECT_TRUE(DecodeBmp(file).Ok());
    file[1] = 'A';
    EXPECT_EQ(DecodeBmp(file).status, DecodeStatus::Corrupt) << "signature";
    file = WriteBmp({});
    file[14] = 41;
    EXPECT_EQ(DecodeBmp(file).status, DecodeStatus::Corrupt) << "header size";
    file[14] = 40;
    file.resize(40);
    EXPECT_EQ(DecodeBmp(file).status, DecodeStatus::Corrupt) << "cut header";
    EXPECT_EQ(DecodeBmp({}).status, DecodeStatus::Corrupt) << "empty";

    BmpDescription masks;  // a plain header with bit fields but no room for the masks
    masks.bitCount = 16;
    masks.compression = kBmpBitfields;
    file = WriteBmp(masks);
    file.resize(14 + 40 + 8);
    EXPECT_EQ(DecodeBmp(file).status, DecodeStatus::Corrupt) << "masks";
}

TEST(BmpDecoderTest, LastRowMayLackItsPadding) {
    BmpDescription desc;
    desc.width = 1;
    desc.height = 2;
    desc.values = {0x010203, 0x040506};
    std::vector<std::uint8_t> file = WriteBmp(desc);
    file.pop_back();
    const DecodedImage image = DecodeBmp(file);
    ASSERT_TRUE(image.Ok());
    EXPECT_TRUE(SameBitmaps(MakeBitmap(1, 2, {0xFF010203, 0xFF040506}), image.pixels));
    file.resize(file.size() - 1);
    EXPECT_EQ(DecodeBmp(file).status, DecodeStatus::Corrupt);
}

TEST(BmpDecoderTest, DeclaredSizesBeyondTheLimitAreTooLarge) {
    BmpDescription desc;
    desc.width = 4;
    desc.height = -4;
    desc.values.assign(16, 0);
    EXPECT_EQ(Decode(desc, {15}).status, DecodeStatus::TooLarge);
    EXPECT_TRUE(Decode(desc, {16}).Ok());

    // Nothing behind these headers: any allocation or read of pixels would show.
    desc.pixelBytes = std::vector<std::uint8_t>(4, 0);
    desc.width = 0x7FFFFFFF;
    desc.height = -0x7FFFFFFF;
    EXPECT_EQ(Decode(desc).status, DecodeStatus::TooLarge);
    desc.height = 1 << 20;
    EXPECT_EQ(Decode(desc, {UINT64_MAX}).status, DecodeStatus::TooLarge);
    desc.header = BmpHeader::Core;
    desc.width = 0xFFFF;
    desc.height = 0xFFFF;
    EXPECT_EQ(Decode(desc).status, DecodeStatus::TooLarge);
    BmpDescription rle = RleDescription(kBmpRle8, 100000, 100000, BmpRle{}.EndOfBitmap());
    EXPECT_EQ(Decode(rle).status, DecodeStatus::TooLarge);
    // Within the limit, missing rows are caught before the pixels are allocated.
    desc = {};
    desc.width = 1 << 14;
    desc.height = 1 << 14;
    desc.pixelBytes = std::vector<std::uint8_t>(4, 0);
    EXPECT_EQ(Decode(desc).status, DecodeStatus::Corrupt);
}

}  // namespace
}  // namespace palvex::test
