#include "image/load_scans.h"

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 32-bit BMP header (BITMAPINFOHEADER) followed by the given B, G, R, A pixels.
Bytes Bmp32(const std::vector<std::array<std::uint8_t, 4>>& pixels, std::uint32_t sizeField) {
    Bytes b = {'B', 'M'};
    test::PutU32(b, 54 + 4 * pixels.size());
    test::PutU32(b, 0);
    test::PutU32(b, 54);
    test::PutU32(b, 40);
    test::PutU32(b, static_cast<std::uint32_t>(pixels.size()));
    test::PutU32(b, 1);
    test::PutU16(b, 1);
    test::PutU16(b, 32);
    test::PutU32(b, 0);
    test::PutU32(b, sizeField);
    for (int i = 0; i < 4; ++i) {
        test::PutU32(b, 0);
    }
    for (const auto& p : pixels) {
        b.insert(b.end(), p.begin(), p.end());
    }
    return b;
}

TEST(BmpKeyScan, FirstPixelWithAlphaZeroOr237GivesTheKey) {
    EXPECT_EQ(ScanBmpKey(Bmp32({{1, 2, 3, 255}, {10, 20, 30, 237}, {4, 5, 6, 0}}, 12)),
              Rgb(30, 20, 10));
    EXPECT_EQ(ScanBmpKey(Bmp32({{1, 2, 3, 255}, {4, 5, 6, 0}}, 8)), Rgb(6, 5, 4));
    EXPECT_EQ(ScanBmpKey(Bmp32({{1, 2, 3, 255}, {4, 5, 6, 128}}, 8)), kNoColour);
}

TEST(BmpKeyScan, WalksOnlyTheImageSizeFieldAndNeverPastTheFile) {
    const Bytes file = Bmp32({{1, 2, 3, 255}, {4, 5, 6, 0}}, 4);  // size field: one pixel
    EXPECT_EQ(ScanBmpKey(file), kNoColour);
    EXPECT_EQ(ScanBmpKey(Bmp32({{1, 2, 3, 255}, {4, 5, 6, 0}}, 0xFFFFFFF0u)), Rgb(6, 5, 4));
    Bytes badOffset = Bmp32({{4, 5, 6, 0}}, 4);
    badOffset[10] = 0xFF;
    badOffset[13] = 0x7F;
    EXPECT_EQ(ScanBmpKey(badOffset), kNoColour);
    Bytes not32 = Bmp32({{4, 5, 6, 0}}, 4);
    not32[28] = 24;
    EXPECT_EQ(ScanBmpKey(not32), kNoColour);
    EXPECT_EQ(ScanBmpKey(Bytes{'B', 'M', 0}), kNoColour);
}

// A PNG-like byte string: signature, then chunks given as (type, data); the CRCs are zero
// since the scan never checks them.
Bytes Png(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes b = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    for (const auto& [type, data] : chunks) {
        const auto n = static_cast<std::uint32_t>(data.size());
        b.insert(b.end(), {std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8),
                           std::uint8_t(n)});
        b.insert(b.end(), type.begin(), type.end());
        b.insert(b.end(), data.begin(), data.end());
        b.insert(b.end(), {0, 0, 0, 0});
    }
    return b;
}

Bytes Ihdr(std::uint8_t colourType, std::uint8_t depth = 8) {
    return {0, 0, 0, 1, 0, 0, 0, 1, depth, colourType, 0, 0, 0};
}

TEST(PngChunkScan, AlphaTypesTakeTheBackgroundOrWhite) {
    const PngChunkScan rgba =
        ScanPngChunks(Png({{"IHDR", Ihdr(6)}, {"bKGD", {0, 0, 0, 255, 0, 0}}}));
    EXPECT_TRUE(rgba.isPng);
    EXPECT_EQ(rgba.preferredKey, Rgb(0, 255, 0));

    // Only the low bytes count, also for 16-bit samples.
    EXPECT_EQ(ScanPngChunks(Png({{"IHDR", Ihdr(6, 16)}, {"bKGD", {0x12, 0x34, 0xAB, 0xCD, 1, 2}}}))
                  .preferredKey,
              Rgb(0x34, 0xCD, 2));
    EXPECT_EQ(ScanPngChunks(Png({{"IHDR", Ihdr(4)}, {"bKGD", {0, 77}}})).preferredKey,
              Rgb(77, 77, 77));
    EXPECT_EQ(ScanPngChunks(Png({{"IHDR", Ihdr(4)}})).preferredKey, Rgb(255, 255, 255));
    EXPECT_EQ(ScanPngChunks(Png({{"IHDR", Ihdr(6)}})).preferredKey, Rgb(255, 255, 255));
}

TEST(PngChunkScan, PaletteTypeTakesTheFirstNonOpaqueTrnsEntry) {
    const Bytes plte = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    EXPECT_EQ(
        ScanPngChunks(Png({{"IHDR", Ihdr(3)}, {"PLTE", plte}, {"tRNS", {255, 0, 0}}})).preferredKey,
        Rgb(40, 50, 60));
    EXPECT_EQ(
        ScanPngChunks(Png({{"IHDR", Ihdr(3)}, {"PLTE", plte}, {"tRNS", {255, 255}}})).preferredKey,
        kNoColour);
    EXPECT_EQ(ScanPngChunks(Png({{"IHDR", Ihdr(3)}, {"PLTE", plte}})).preferredKey, kNoColour);
    EXPECT_EQ(ScanPngChunks(Png({{"IHDR", Ihdr(2)}, {"tRNS", {0, 1, 0, 2, 0, 3}}})).preferredKey,
              kNoColour);
}

TEST(PngChunkScan, TypesAreFoundBySearchingTheBytes) {
    // "bKGD" inside a text chunk is found before the real chunk.
    const Bytes text = {'k', 0, 'b', 'K', 'G', 'D', 0, 0, 0, 9, 0, 0};
    EXPECT_EQ(ScanPngChunks(Png({{"IHDR", Ihdr(6)}, {"tEXt", text}, {"bKGD", {0, 1, 0, 2, 0, 3}}}))
                  .preferredKey,
              Rgb(0, 9, 0));
}

TEST(PngChunkScan, ShortAndForeignFilesAreSafe) {
    EXPECT_FALSE(ScanPngChunks(Bytes{137, 'P', 'N'}).isPng);
    EXPECT_FALSE(ScanPngChunks(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0}).isPng);
    Bytes cut = Png({{"IHDR", Ihdr(6)}});
    cut.resize(8 + 8 + 3);  // IHDR type present, colour type missing
    EXPECT_TRUE(ScanPngChunks(cut).isPng);
    Bytes trnsAtEnd = Png({{"IHDR", Ihdr(3)}});
    trnsAtEnd.insert(trnsAtEnd.end(), {0, 0, 0, 200, 't', 'R', 'N', 'S'});
    EXPECT_EQ(ScanPngChunks(trnsAtEnd).preferredKey, kNoColour);
}

// GIF bytes: header, screen descriptor with the given flags, then `rest`.
Bytes Gif(std::uint8_t flags, const Bytes& rest) {
    Bytes b;
    b.reserve(13 + rest.size());
    b.assign({'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, flags, 0, 0});
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

// 21 F9 04 <flags> 0 0 <index> 00
Bytes Control(std::uint8_t flags, std::uint8_t index) {
    return {0x21, 0xF9, 4, flags, 0, 0, index, 0};
}

// An image descriptor at 0,0 of 4 x 4 with the given flags.
Bytes Descriptor(std::uint8_t flags) {
    return {0x2C, 0, 0, 0, 0, 4, 0, 4, 0, flags};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const Bytes kTwoEntries = {1, 2, 3, 4, 5, 6};

TEST(GifPalette, GlobalTableAndTheIndexOfItsControlBlock) {
    const auto palette =
        ReadGifPalette(Gif(0x80, Cat({kTwoEntries, Control(1, 1), Descriptor(0)})));
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->entries, (std::vector<Colour>{Rgb(1, 2, 3), Rgb(4, 5, 6)}));
    EXPECT_EQ(palette->transparentIndex, 1);
}

TEST(GifPalette, OnlyAControlBlockWithItsFlagSetGivesAnIndex) {
    // Our own opaque files: a control block with the flag clear and index 0.
    EXPECT_EQ(ReadGifPalette(Gif(0x80, Cat({kTwoEntries, Control(0, 0), Descriptor(0)})))
                  ->transparentIndex,
              -1);
    // No control block at all, and an application block where one usually stands.
    EXPECT_EQ(ReadGifPalette(Gif(0x80, Cat({kTwoEntries, Descriptor(0)})))->transparentIndex, -1);
    const Bytes netscape = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                            'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    EXPECT_EQ(
        ReadGifPalette(Gif(0x80, Cat({kTwoEntries, netscape, Descriptor(0)})))->transparentIndex,
        -1);
    // A control block behind the application block still counts.
    EXPECT_EQ(ReadGifPalette(Gif(0x80, Cat({kTwoEntries, netscape, Control(1, 1), Descriptor(0)})))
                  ->transparentIndex,
              1);
}

TEST(GifPalette, TheFirstImagesLocalTableWins) {
    // No global table: the control block at 13, the descriptor at 21, its table from 31.
    const Bytes local = Cat({Control(1, 1), Descriptor(0x80), {9, 9, 9, 7, 7, 7}});
    auto palette = ReadGifPalette(Gif(0x00, local));
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->entries, (std::vector<Colour>{Rgb(9, 9, 9), Rgb(7, 7, 7)}));
    EXPECT_EQ(palette->transparentIndex, 1);

    // The decoder draws with a local table even when there is a global one.
    palette = ReadGifPalette(
        Gif(0x80, Cat({kTwoEntries, Control(1, 0), Descriptor(0x80), {9, 9, 9, 7, 7, 7}})));
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->entries[0], Rgb(9, 9, 9));

    EXPECT_FALSE(ReadGifPalette(Gif(0x00, Cat({Control(1, 1), Descriptor(0)}))));
}

TEST(GifPalette, TruncatedTablesGiveNothing) {
    EXPECT_FALSE(ReadGifPalette(Gif(0x87, {1, 2, 3})));
    EXPECT_FALSE(ReadGifPalette(Gif(0x80, Cat({kTwoEntries, Control(1, 1)}))));
    EXPECT_FALSE(ReadGifPalette(Gif(0x00, Cat({Control(1, 1), Descriptor(0x80), {9, 9}}))));
    EXPECT_FALSE(ReadGifPalette(Bytes{'G', 'I', 'F'}));
}

TEST(GifPalette, ProbeColourIsTheFirstGridColourMissingFromThePalette) {
    EXPECT_EQ(FirstColourNotIn({}), Rgb(255, 255, 255));
    EXPECT_EQ(FirstColourNotIn({Rgb(255, 255, 255)}), Rgb(255, 255, 247));
    EXPECT_EQ(FirstColourNotIn({Rgb(255, 255, 255), Rgb(255, 255, 247), Rgb(1, 1, 1)}),
              Rgb(255, 255, 239));
}

TEST(GifPalette, FillFlagIsSetWhenThePictureShowsTheProbeColour) {
    const Bytes file = Gif(0x80, Cat({{255, 255, 255, 0, 0, 0}, Control(1, 0), Descriptor(0)}));
    Bitmap picture = test::SolidBitmap(2, 2, PixelFromColour(Rgb(0, 0, 0)));
    auto check = CheckGifPalette(file, picture);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->key, Rgb(255, 255, 255));
    EXPECT_FALSE(check->fillWithKey);

    picture.WritePixel(1, 1, Rgb(255, 255, 247));
    check = CheckGifPalette(file, picture);
    EXPECT_TRUE(check->fillWithKey);

    // A file without a key gives neither a key nor the fill.
    check = CheckGifPalette(
        Gif(0x80, Cat({{255, 255, 255, 0, 0, 0}, Control(0, 0), Descriptor(0)})), picture);
    ASSERT_TRUE(check);
    EXPECT_FALSE(check->key);
    EXPECT_FALSE(check->fillWithKey);
}

TEST(GifPalette, IndexBeyondTheTableLeavesTheKeyAlone) {
    const Bytes file = Gif(0x80, Cat({kTwoEntries, Control(1, 5), Descriptor(0)}));
    const auto check = CheckGifPalette(file, test::SolidBitmap(1, 1, 0xFF000000u));
    ASSERT_TRUE(check);
    EXPECT_FALSE(check->key);
}

TEST(FirstTrans, EachPreferenceGivesItsKey) {
    EXPECT_EQ(FirstTransKey(0), Rgb(0, 0, 0));
    EXPECT_EQ(FirstTransKey(1), Rgb(255, 255, 255));
    EXPECT_EQ(FirstTransKey(2), Rgb(255, 0, 0));
    EXPECT_EQ(FirstTransKey(3), Rgb(0, 255, 0));
    EXPECT_EQ(FirstTransKey(4), Rgb(0, 0, 255));
    EXPECT_EQ(FirstTransKey(5), Rgb(255, 255, 255));
    EXPECT_EQ(FirstTransKey(-1), Rgb(255, 255, 255));
}

}  // namespace
}  // namespace palvex
