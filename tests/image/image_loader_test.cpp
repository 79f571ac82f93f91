#include "image/image_loader.h"

#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "support/gif_writer.h"
#include "support/jpeg_writer.h"
#include "support/png_writer.h"
#include "support/test_support.h"
#include "support/tiff_writer.h"

namespace palvex {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);

class LoaderTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = temp_.File(name);
        test::WriteFileBytes(path, bytes);
        return path;
    }

    // As the application does: the facts reach the document only with a loaded image.
    LoadResult Load(const std::filesystem::path& path, int firstTrans = 1) {
        LoadResult result = LoadImageFile(path, firstTrans, prompter_);
        if (result.ok) {
            facts_ = result.facts;
        }
        return result;
    }

    std::vector<int> ShownIds() const {
        std::vector<int> ids;
        for (const auto& request : prompter_.shown) {
            ids.push_back(request.id);
        }
        return ids;
    }

    test::TempDir temp_;
    test::RecordingPrompter prompter_;
    LoadedFileFacts facts_{Rgb(1, 2, 3), {99, 99}};  // the open document's, from an earlier load
};

test::PngDescription Rgba(int width, int height, std::vector<std::uint16_t> samples) {
    test::PngDescription desc;
    desc.width = width;
    desc.height = height;
    desc.colourType = 6;
    desc.samples = std::move(samples);
    return desc;
}

TEST_F(LoaderTest, MissingFileNamesThePathAndChangesNothing) {
    const auto path = temp_.File("gone.png");
    EXPECT_FALSE(Load(path).ok);
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].Text(), PathText(path) + "\nファイルが見つかりません");
    EXPECT_EQ(prompter_.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(facts_.SourceBmpFormat, (BmpFormat{99, 99}));

    // A path the file system cannot look at (here a link loop) is not reported as missing.
    prompter_.shown.clear();
    const auto loop = temp_.File("loop.png");
    std::filesystem::create_symlink(temp_.File("back.png"), loop);
    std::filesystem::create_symlink(loop, temp_.File("back.png"));
    EXPECT_FALSE(Load(loop).ok);
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].Text(), PathText(loop) + "\nドキュメントを開くことに失敗しました");
}

TEST_F(LoaderTest, FormatComesFromTheLastDotOfTheWholePath) {
    EXPECT_EQ(FormatNameOf("a/photo.JPG"), "jpeg");
    EXPECT_EQ(FormatNameOf("a/photo.Tif"), "tiff");
    EXPECT_EQ(FormatNameOf("a.png/noextension"), "");
    EXPECT_EQ(FormatNameOf("archive.tar.gz"), "");
    EXPECT_EQ(FormatNameOf("plain"), "");

    EXPECT_FALSE(Load(Write("archive.tar.gz", {1, 2, 3})).ok);
    EXPECT_FALSE(Load(Write("nodot", {1, 2, 3})).ok);
    EXPECT_EQ(ShownIds(), (std::vector<int>{30020, 30020}));
    EXPECT_EQ(prompter_.shown[0].Text(), "このファイルタイプはセットできません");
}

TEST_F(LoaderTest, RgbaPngWithoutBackgroundFlattensOntoWhite) {
    const auto path = Write("a.png", test::WritePng(Rgba(4, 1,
                                                         {
                                                             0x12, 0x34, 0x56, 0,  // clear
                                                             255, 255, 255, 255,   // white
                                                             0, 0, 0, 128,         // half
                                                             10, 20, 30, 255,      // solid
                                                         })));
    const LoadResult result = Load(path, 0);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, kWhite);
    EXPECT_EQ(facts_.FileColorKey, kWhite);
    EXPECT_EQ(facts_.SourceBmpFormat, BmpFormat{});
    const Bitmap expected =
        test::MakeBitmap(4, 1, {0xFFFFFFFFu, 0xFFFFF7FFu, 0xFF7F7F7Fu, 0xFF0A141Eu});
    EXPECT_TRUE(test::SameBitmaps(expected, result.image, "png-flatten"));
    EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(LoaderTest, RgbaPngBackgroundBecomesTheKey) {
    test::PngDescription desc = Rgba(2, 1, {9, 9, 9, 0, 0, 255, 0, 255});
    desc.bkgd = {0, 255, 0};
    const LoadResult result = Load(Write("g.png", test::WritePng(desc)));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0, 255, 0));
    EXPECT_EQ(facts_.FileColorKey, Rgb(0, 255, 0));
    // The transparent pixel takes the key; the opaque green one is nudged off it.
    EXPECT_EQ(result.image.ReadPixel(0, 0), Rgb(0, 255, 0));
    EXPECT_EQ(result.image.ReadPixel(1, 0), Rgb(0, 247, 0));
}

TEST_F(LoaderTest, PalettePngTakesItsKeyFromTrns) {
    test::PngDescription desc;
    desc.width = 3;
    desc.height = 1;
    desc.colourType = 3;
    desc.palette = {{{200, 0, 0}}, {{0, 0, 200}}, {{7, 7, 7}}};
    desc.trns = {255, 0};
    desc.samples = {0, 1, 2};
    const LoadResult result = Load(Write("p.png", test::WritePng(desc)), 0);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0, 0, 200));
    EXPECT_EQ(result.image.ReadPixel(1, 0), Rgb(0, 0, 200));
    EXPECT_EQ(result.image.ReadPixel(2, 0), Rgb(7, 7, 7));
}

TEST_F(LoaderTest, ImagesWithoutTransparentPixelsKeepTheirExactPixels) {
    // A flat background must stay one colour after loading, so no lossy round trip is allowed.
    std::vector<std::uint16_t> samples;
    for (int i = 0; i < 64; ++i) {
        samples.insert(samples.end(), {static_cast<std::uint16_t>(i * 4), 100, 37,
                                       static_cast<std::uint16_t>(i == 5 ? 128 : 255)});
    }
    const LoadResult result = Load(Write("flat.png", test::WritePng(Rgba(8, 8, samples))), 3);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0, 255, 0));  // the FirstTrans preference
    EXPECT_EQ(facts_.FileColorKey, kNoColour);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(result.image.Row(i / 8)[i % 8], PixelFromColour(Rgb(i * 4, 100, 37))) << i;
    }
}

TEST_F(LoaderTest, JpegNeverCarriesAKey) {
    test::JpegDescription desc;
    desc.width = 16;
    desc.height = 16;
    desc.samples.assign(16 * 16 * 3, 90);
    const LoadResult result = Load(Write("photo.JPG", test::WriteJpeg(desc)), 2);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(255, 0, 0));
    EXPECT_EQ(facts_.FileColorKey, kNoColour);
    EXPECT_EQ(result.image.Width(), 16);
    EXPECT_EQ(result.image.Row(0)[0] >> 24, 0xFFu);
}

TEST_F(LoaderTest, JpegNamedFileWithOtherContentGoesToTheImagingLibrary) {
    const auto path = Write("wrong.jpg", test::WritePng(Rgba(2, 1, {1, 2, 3, 0, 4, 5, 6, 255})));
    const LoadResult result = Load(path, 0);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(1, 2, 3));  // no PNG scan under a JPEG name: the pixel's own colour
}

test::GifDescription SmallGif(std::string version, std::vector<test::GifBlock> blocks) {
    test::GifDescription gif;
    gif.version = std::move(version);
    gif.screenWidth = 4;
    gif.screenHeight = 1;
    gif.globalTable = {{0, 0, 0}, {0, 200, 0}, {200, 0, 0}, {0, 0, 200}};
    gif.blocks = std::move(blocks);
    gif.blocks.push_back(test::GifFrame{0, 0, 4, 1, false, {}, {1, 2, 3, 2}});
    return gif;
}

TEST_F(LoaderTest, Gif89aTakesItsKeyFromTheTransparentIndex) {
    const auto path =
        Write("t.gif", test::WriteGif(SmallGif("89a", {test::GifGraphicControl::Transparent(1)})));
    const LoadResult result = Load(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0, 200, 0));
    EXPECT_EQ(facts_.FileColorKey, Rgb(0, 200, 0));
    EXPECT_FALSE(result.fillWithKey);
    EXPECT_TRUE(test::SameBitmaps(
        test::MakeBitmap(4, 1, {0xFF00C800u, 0xFFC80000u, 0xFF0000C8u, 0xFFC80000u}), result.image,
        "gif89a"));
}

TEST_F(LoaderTest, OpaqueGif89aCarriesNoKeyAndTakesFirstTrans) {
    // A control block without its transparency flag (as every opaque file of our own encoder
    // has), and an application block where a control block usually stands, whose letter 'S'
    // sits where the index would be.
    test::GifDescription withApplication = SmallGif("89a", {test::GifApplication{}});
    withApplication.globalTable.resize(256, {9, 9, 9});
    withApplication.globalTable[83] = {10, 20, 30};
    const std::vector<std::pair<const char*, test::GifDescription>> files = {
        {"control.gif", SmallGif("89a", {test::GifGraphicControl{}})},
        {"application.gif", withApplication},
    };
    for (const auto& [name, gif] : files) {
        SCOPED_TRACE(name);
        const LoadResult result = Load(Write(name, test::WriteGif(gif)), 4);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.key, Rgb(0, 0, 255));  // FirstTrans blue, not a palette colour
        EXPECT_EQ(facts_.FileColorKey, kNoColour);
        EXPECT_FALSE(result.fillWithKey);
        EXPECT_EQ(result.image.ReadPixel(0, 0), Rgb(0, 200, 0));
    }
}

TEST_F(LoaderTest, Gif89aControlBlockBehindAnApplicationBlockGivesTheKey) {
    const LoadResult result =
        Load(Write("anim.gif",
                   test::WriteGif(SmallGif(
                       "89a", {test::GifApplication{}, test::GifGraphicControl::Transparent(2)}))),
             4);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(200, 0, 0));
    EXPECT_EQ(facts_.FileColorKey, Rgb(200, 0, 0));
    EXPECT_EQ(result.image.ReadPixel(1, 0), Rgb(200, 0, 0));
    EXPECT_EQ(result.image.ReadPixel(0, 0), Rgb(0, 200, 0));
}

TEST_F(LoaderTest, Gif87aSkipsThePaletteCheck) {
    const LoadResult result = Load(Write("old.gif", test::WriteGif(SmallGif("87a", {}))), 4);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0, 0, 255));  // FirstTrans blue
    EXPECT_EQ(facts_.FileColorKey, kNoColour);
}

TEST_F(LoaderTest, TiffWithUnassociatedAlphaIsFlattened) {
    test::TiffDescription desc;
    desc.width = 2;
    desc.height = 1;
    desc.samplesPerPixel = 4;
    desc.extraSample = test::TiffExtraSample::Unassociated;
    desc.samples = {50, 60, 70, 0, 1, 2, 3, 255};
    const LoadResult result = Load(Write("t.tiff", test::WriteTiff(desc)));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(50, 60, 70));
    EXPECT_EQ(result.image.ReadPixel(1, 0), Rgb(1, 2, 3));
}

TEST_F(LoaderTest, BmpAlpha237GivesTheKeyAndPixelsStayAsStored) {
    test::BmpDescription desc;
    desc.width = 3;
    desc.height = 1;
    desc.bitCount = 32;
    desc.values = {0xED102030u, 0x00405060u, 0xFF708090u};  // first in file order: alpha 237
    const LoadResult result = Load(Write("k.bmp", test::WriteBmp(desc)), 0);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(facts_.FileColorKey, Rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(facts_.SourceBmpFormat, (BmpFormat{32, 0}));
    EXPECT_TRUE(test::SameBitmaps(test::MakeBitmap(3, 1, {0xFF102030u, 0xFF405060u, 0xFF708090u}),
                                  result.image, "bmp32"));
}

TEST_F(LoaderTest, Bmp32WithZeroFourthBytesTakesTheFirstPixelAsKey) {
    test::BmpDescription desc;
    desc.width = 2;
    desc.height = 1;
    desc.bitCount = 32;
    desc.values = {0x00102030u, 0x00405060u};
    const LoadResult result = Load(Write("zero.bmp", test::WriteBmp(desc)));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0x10, 0x20, 0x30));
}

TEST_F(LoaderTest, BmpFileOrderIsBottomRowFirst) {
    test::BmpDescription desc;
    desc.width = 1;
    desc.height = 2;
    desc.bitCount = 32;
    desc.values = {0x00AA0000u, 0x0000BB00u};  // top row, bottom row
    const LoadResult result = Load(Write("order.bmp", test::WriteBmp(desc)));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key, Rgb(0, 0xBB, 0));
}

struct BmpVariant {
    const char* name;
    test::BmpDescription desc;
    BmpFormat format;
};

std::vector<BmpVariant> BmpVariants() {
    const std::vector<Pixel> palette = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    std::vector<BmpVariant> variants;
    auto add = [&](const char* name, std::uint16_t bits, std::uint32_t compression,
                   std::vector<std::uint32_t> values) {
        test::BmpDescription desc;
        desc.width = 2;
        desc.height = 2;
        desc.bitCount = bits;
        desc.compression = compression;
        desc.values = std::move(values);
        if (bits <= 8) {
            desc.palette = bits == 1 ? std::vector<Pixel>{palette[0], palette[1]} : palette;
        }
        variants.push_back({name, desc, {bits, static_cast<int>(compression)}});
    };
    add("1bit", 1, test::kBmpRgb, {1, 0, 0, 1});
    add("4bit", 4, test::kBmpRgb, {1, 2, 3, 0});
    add("8bit", 8, test::kBmpRgb, {1, 2, 3, 0});
    add("16bit555", 16, test::kBmpRgb, {0x7C00, 0x03E0, 0x001F, 0});
    add("24bit", 24, test::kBmpRgb, {0xFF0000, 0x00FF00, 0x0000FF, 0});
    add("32bit", 32, test::kBmpRgb, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u});
    variants.back().desc.values[0] = 0x80FF0000u;  // a fourth byte that is neither 0 nor 237
    add("16bit565", 16, test::kBmpBitfields, {0xF800, 0x07E0, 0x001F, 0});
    variants.back().desc.masks = {0xF800, 0x07E0, 0x001F, 0};
    add("32bitfields", 32, test::kBmpBitfields,
        {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u});
    variants.back().desc.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};

    add("rle8", 8, test::kBmpRle8, {});
    variants.back().desc.pixelBytes =
        test::BmpRle().Run(1, 3).Run(1, 0).EndOfLine().Run(1, 1).Run(1, 2).EndOfBitmap().Stream();
    add("rle4", 4, test::kBmpRle4, {});
    variants.back().desc.pixelBytes =
        test::BmpRle().Run(2, 0x30).EndOfLine().Run(2, 0x12).EndOfBitmap().Stream();
    return variants;
}

TEST_F(LoaderTest, EveryBmpVariantLoadsWithItsFormatFacts) {
    // Top row: red, green; bottom row: blue, black (1 bit: red/black in a diagonal).
    const Pixel r = 0xFFFF0000u, g = 0xFF00FF00u, b = 0xFF0000FFu, k = 0xFF000000u;
    for (const BmpVariant& variant : BmpVariants()) {
        SCOPED_TRACE(variant.name);
        const LoadResult result =
            Load(Write(std::string(variant.name) + ".bmp", test::WriteBmp(variant.desc)), 0);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(facts_.SourceBmpFormat, variant.format);
        EXPECT_EQ(facts_.FileColorKey, kNoColour);
        EXPECT_EQ(result.key, Rgb(0, 0, 0));
        const Bitmap expected = std::string(variant.name) == "1bit"
                                    ? test::MakeBitmap(2, 2, {r, k, k, r})
                                    : test::MakeBitmap(2, 2, {r, g, b, k});
        EXPECT_TRUE(test::SameBitmaps(expected, result.image, variant.name));
    }
    EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(LoaderTest, Os2BmpReportsTheBitCountOfItsOwnHeader) {
    test::BmpDescription desc;
    desc.header = test::BmpHeader::Core;
    desc.width = 2;
    desc.height = 1;
    desc.bitCount = 8;
    desc.palette = {0xFF112233u, 0xFF445566u};
    desc.values = {0, 1};
    ASSERT_TRUE(Load(Write("os2.bmp", test::WriteBmp(desc))).ok);
    EXPECT_EQ(facts_.SourceBmpFormat, (BmpFormat{8, 0}));
}

TEST_F(LoaderTest, BmpNameWithoutBmSignatureFailsAfterBothScans) {
    const auto path = Write("fake.bmp", test::WritePng(Rgba(1, 1, {1, 2, 3, 255})));
    const LoadResult result = Load(path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(
        prompter_.Texts(),
        (std::vector<std::string>{"形式判別エラー\nビットマップファイルの情報取得に失敗しました",
                                  "形式判別エラー\nビットマップファイルの情報取得に失敗しました"}));
    EXPECT_EQ(ShownIds(), (std::vector<int>{30016, 30012}));
    // The open document keeps its facts, or its next overwrite save would lose its key.
    EXPECT_EQ(facts_.FileColorKey, Rgb(1, 2, 3));
    EXPECT_EQ(facts_.SourceBmpFormat, (BmpFormat{99, 99}));
}

TEST_F(LoaderTest, UndecodableFilesSayWhyAndLeaveTheFactsAlone) {
    const auto broken = Write("broken.png", {137, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0});
    EXPECT_FALSE(Load(broken).ok);
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].Text(), PathText(broken) + "\nイメージのセットに失敗しました");
    EXPECT_EQ(facts_.FileColorKey, Rgb(1, 2, 3));

    test::BmpDescription huge;
    huge.width = 1 << 15;
    huge.height = 1 << 14;
    huge.pixelBytes = std::vector<std::uint8_t>(16, 0);
    EXPECT_FALSE(Load(Write("huge.bmp", test::WriteBmp(huge))).ok);
    EXPECT_EQ(prompter_.shown.back().Text(), "メモリの確保に失敗しました");
    EXPECT_EQ(facts_.FileColorKey, Rgb(1, 2, 3));
}

TEST_F(LoaderTest, InstallReplacesSizeKeyAndPixels) {
    ImageState state;
    const auto path = Write("i.png", test::WritePng(Rgba(3, 2, std::vector<std::uint16_t>(24, 0))));
    LoadResult result = Load(path);
    ASSERT_TRUE(result.ok);
    const LoadedFileFacts facts = result.facts;
    InstallLoadedImage(state, std::move(result));
    EXPECT_EQ(state.facts.FileColorKey, kWhite);
    EXPECT_EQ(state.facts.FileColorKey, facts.FileColorKey);
    EXPECT_EQ(state.width, 3);
    EXPECT_EQ(state.height, 2);
    EXPECT_EQ(state.TransparentColor, kWhite);  // a PNG without bKGD prefers white
    EXPECT_EQ(state.WorkImage.ReadPixel(2, 1), kWhite);
}

}  // namespace
}  // namespace palvex
