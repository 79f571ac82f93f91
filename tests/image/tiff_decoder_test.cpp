#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/test_support.h"
#include "support/tiff_writer.h"

namespace palvex::test {
namespace {

constexpr Pixel Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
    return a << 24 | r << 16 | g << 8 | b;
}

unsigned Scale16(unsigned v) {
    return (v * 255 + 32767) / 65535;
}

// A file and the pixels it must decode to.
struct Sample {
    TiffDescription desc;
    std::vector<Pixel> expected;
};

TiffDescription Describe(int width, int height, TiffPhotometric photometric = TiffPhotometric::Rgb,
                         int bits = 8, int samples = 3) {
    TiffDescription desc;
    desc.width = width;
    desc.height = height;
    desc.photometric = photometric;
    desc.bitsPerSample = bits;
    desc.samplesPerPixel = samples;
    return desc;
}

DecodedImage Decode(const TiffDescription& desc, const DecodeLimits& limits = {}) {
    const auto bytes = WriteTiff(desc);
    EXPECT_FALSE(bytes.empty()) << "the writer refused the layout";
    return DecodeTiff(bytes, limits);
}

void ExpectDecodesTo(const Sample& sample, const std::string& name) {
    const DecodedImage image = Decode(sample.desc);
    ASSERT_EQ(image.status, DecodeStatus::Ok) << name;
    EXPECT_TRUE(SameBitmaps(MakeBitmap(sample.desc.width, sample.desc.height, sample.expected),
                            image.pixels, name));
}

// A value pattern that reaches both ends of the range and varies along both axes.
unsigned Pattern(int x, int y, int channel, unsigned max) {
    if (x == 0 && y == 0) {
        return channel == 1 ? 0 : max;
    }
    return static_cast<unsigned>(x * 37 + y * 101 + channel * 59) % (max + 1);
}

Sample Grey(int bits, bool minIsWhite, int width = 7, int height = 5) {
    Sample s;
    s.desc =
        Describe(width, height,
                 minIsWhite ? TiffPhotometric::MinIsWhite : TiffPhotometric::MinIsBlack, bits, 1);
    const unsigned max = (1u << bits) - 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned v = Pattern(x, y, 0, max);
            s.desc.samples.push_back(static_cast<std::uint16_t>(v));
            unsigned g = bits == 16 ? Scale16(v) : v * 255 / max;
            g = minIsWhite ? 255 - g : g;
            s.expected.push_back(Argb(255, g, g, g));
        }
    }
    return s;
}

// RGB, plus an alpha sample of the given kind unless None.
Sample Rgb(int bits, TiffExtraSample alpha = TiffExtraSample::None, int width = 7, int height = 5) {
    Sample s;
    const bool hasAlpha = alpha != TiffExtraSample::None;
    s.desc = Describe(width, height, TiffPhotometric::Rgb, bits, hasAlpha ? 4 : 3);
    s.desc.extraSample = alpha;
    const unsigned max = (1u << bits) - 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned c[4];
            for (int k = 0; k < 3; ++k) {
                c[k] = Pattern(x, y, k, max);
            }
            c[3] = hasAlpha ? (x % 3 == 0 ? 0 : x % 3 == 1 ? max : Pattern(x, y, 3, max)) : max;
            s.desc.samples.insert(s.desc.samples.end(), c, c + s.desc.samplesPerPixel);
            auto to8 = [&](unsigned v) { return bits == 16 ? Scale16(v) : v; };
            s.expected.push_back(Argb(to8(c[3]), to8(c[0]), to8(c[1]), to8(c[2])));
        }
    }
    return s;
}

Sample Palette(int bits) {
    Sample s;
    s.desc = Describe(9, 4, TiffPhotometric::Palette, bits, 1);
    const unsigned entries = 1u << bits;
    std::vector<unsigned> colours;
    for (unsigned i = 0; i < entries; ++i) {
        colours.push_back(Argb(255, (i * 53 + 7) % 256, (i * 29 + 200) % 256, 255 - i % 256));
    }
    s.desc.palette.resize(3 * entries);
    for (unsigned i = 0; i < entries; ++i) {
        // c * 257 is c at 16 bits, which libtiff scales back to exactly c.
        s.desc.palette[i] = static_cast<std::uint16_t>((colours[i] >> 16 & 0xFF) * 257);
        s.desc.palette[entries + i] = static_cast<std::uint16_t>((colours[i] >> 8 & 0xFF) * 257);
        s.desc.palette[2 * entries + i] = static_cast<std::uint16_t>((colours[i] & 0xFF) * 257);
    }
    for (int y = 0; y < s.desc.height; ++y) {
        for (int x = 0; x < s.desc.width; ++x) {
            const unsigned index = Pattern(x, y, 0, entries - 1);
            s.desc.samples.push_back(static_cast<std::uint16_t>(index));
            s.expected.push_back(colours[index]);
        }
    }
    return s;
}

// CMYK without black ink, where every reading of the conversion agrees exactly, and full black.
Sample Cmyk(int bits, TiffExtraSample alpha = TiffExtraSample::None) {
    Sample s;
    const bool hasAlpha = alpha != TiffExtraSample::None;
    s.desc = Describe(6, 3, TiffPhotometric::Separated, bits, hasAlpha ? 5 : 4);
    s.desc.extraSample = alpha;
    const unsigned max = (1u << bits) - 1;
    for (int y = 0; y < s.desc.height; ++y) {
        for (int x = 0; x < s.desc.width; ++x) {
            const unsigned k = y == 2 ? max : 0;
            unsigned v[5] = {Pattern(x, y, 0, max), Pattern(x, y, 1, max), Pattern(x, y, 2, max), k,
                             x % 2 == 0 ? max : 0};
            s.desc.samples.insert(s.desc.samples.end(), v, v + s.desc.samplesPerPixel);
            auto light = [&](unsigned ink) {
                const unsigned through = k == max ? 0 : max - ink;
                return bits == 16 ? Scale16(through) : through;
            };
            const unsigned a = hasAlpha ? (bits == 16 ? Scale16(v[4]) : v[4]) : 255;
            s.expected.push_back(Argb(a, light(v[0]), light(v[1]), light(v[2])));
        }
    }
    return s;
}

TEST(TiffDecoder, EachPhotometricAndDepthDecodesExactly) {
    for (int bits : {1, 2, 4, 8, 16}) {
        ExpectDecodesTo(Grey(bits, false), "grey" + std::to_string(bits));
        ExpectDecodesTo(Grey(bits, true), "white-is-zero" + std::to_string(bits));
    }
    for (int bits : {1, 2, 4, 8}) {
        ExpectDecodesTo(Palette(bits), "palette" + std::to_string(bits));
    }
    for (int bits : {8, 16}) {
        ExpectDecodesTo(Rgb(bits), "rgb" + std::to_string(bits));
        ExpectDecodesTo(Cmyk(bits), "cmyk" + std::to_string(bits));
        ExpectDecodesTo(Cmyk(bits, TiffExtraSample::Unassociated),
                        "cmyk-alpha" + std::to_string(bits));
    }
}

TEST(TiffDecoder, LosslessCompressionsDecodeExactly) {
    const std::pair<TiffCompression, const char*> compressions[] = {
        {TiffCompression::Lzw, "lzw"},
        {TiffCompression::Deflate, "deflate"},
        {TiffCompression::PackBits, "packbits"}};
    for (const auto& [compression, name] : compressions) {
        for (Sample sample :
             {Rgb(8, TiffExtraSample::Unassociated), Grey(16, false), Palette(4), Grey(1, true)}) {
            sample.desc.compression = compression;
            ExpectDecodesTo(sample, name);
        }
    }
}

TEST(TiffDecoder, YCbCrConvertsToRgb) {
    TiffDescription desc = Describe(2, 1, TiffPhotometric::YCbCr);
    // Neutral chroma is grey; full Cr with no Cb leans to red.
    desc.samples = {100, 128, 128, 128, 0, 255};
    const DecodedImage image = Decode(desc);
    ASSERT_EQ(image.status, DecodeStatus::Ok);
    const Pixel grey = image.pixels.Row(0)[0];
    const Pixel red = image.pixels.Row(0)[1];
    for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(static_cast<int>(grey >> shift & 0xFF), 100, 1);
    }
    EXPECT_EQ(AlphaOf(red), 255);
    EXPECT_GT(static_cast<int>(red >> 16 & 0xFF), 200);
    EXPECT_LT(static_cast<int>(red >> 8 & 0xFF), 120);
}

TEST(TiffDecoder, PlanarEqualsContiguous) {
    for (Sample sample :
         {Rgb(8), Rgb(16, TiffExtraSample::Unassociated), Rgb(8, TiffExtraSample::Associated),
          Cmyk(8, TiffExtraSample::Unassociated), Grey(16, false)}) {
        const DecodedImage contiguous = Decode(sample.desc);
        sample.desc.planar = true;
        const DecodedImage planar = Decode(sample.desc);
        ASSERT_EQ(contiguous.status, DecodeStatus::Ok);
        ASSERT_EQ(planar.status, DecodeStatus::Ok);
        EXPECT_TRUE(SameBitmaps(contiguous.pixels, planar.pixels, "planar"));
    }
}

TEST(TiffDecoder, TiledEqualsStripped) {
    // 37 x 21 leaves partial tiles on the right and at the bottom.
    for (Sample sample : {Rgb(8, TiffExtraSample::Unassociated, 37, 21), Rgb(16, {}, 37, 21),
                          Grey(8, true, 37, 21), Grey(4, false, 37, 21)}) {
        const DecodedImage stripped = Decode(sample.desc);
        sample.desc.tiled = true;
        const DecodedImage tiled = Decode(sample.desc);
        sample.desc.planar = true;
        const DecodedImage planarTiles = Decode(sample.desc);
        SCOPED_TRACE(sample.desc.bitsPerSample);
        SCOPED_TRACE(sample.desc.samplesPerPixel);
        ASSERT_EQ(stripped.status, DecodeStatus::Ok);
        ASSERT_EQ(tiled.status, DecodeStatus::Ok);
        ASSERT_EQ(planarTiles.status, DecodeStatus::Ok);
        EXPECT_TRUE(SameBitmaps(stripped.pixels, tiled.pixels, "tiled"));
        EXPECT_TRUE(SameBitmaps(stripped.pixels, planarTiles.pixels, "planar-tiled"));

        // Tiles placed through a rotating orientation land where strips do.
        sample.desc.orientation = 6;
        const DecodedImage rotatedTiles = Decode(sample.desc);
        sample.desc.tiled = sample.desc.planar = false;
        const DecodedImage rotatedStrips = Decode(sample.desc);
        ASSERT_EQ(rotatedStrips.status, DecodeStatus::Ok);
        EXPECT_EQ(rotatedStrips.pixels.Width(), 21);
        EXPECT_TRUE(SameBitmaps(rotatedStrips.pixels, rotatedTiles.pixels, "rotated-tiles"));
    }
}

TEST(TiffDecoder, UnassociatedAlphaIsKeptExactly) {
    // Rgb() makes every third pixel fully transparent over a non-black colour.
    for (int bits : {8, 16}) {
        Sample sample = Rgb(bits, TiffExtraSample::Unassociated);
        ExpectDecodesTo(sample, "straight" + std::to_string(bits));
        sample.desc.orientation = 3;  // the same conversion, placed differently
        const DecodedImage flipped = Decode(sample.desc);
        ASSERT_EQ(flipped.status, DecodeStatus::Ok);
        EXPECT_EQ(flipped.pixels.Row(4)[6], sample.expected[0]);
    }
}

TEST(TiffDecoder, AssociatedAlphaIsUnpremultiplied) {
    // Straight colour (200, 100, 50) at alpha 128 is stored premultiplied; a = 0 keeps the
    // stored colour because nothing better is known.
    TiffDescription desc = Describe(3, 1, TiffPhotometric::Rgb, 8, 4);
    desc.extraSample = TiffExtraSample::Associated;
    desc.samples = {100, 50, 25, 128, 10, 20, 30, 0, 40, 80, 120, 255};
    const std::vector<Pixel> expected = {Argb(128, 199, 100, 50), Argb(0, 10, 20, 30),
                                         Argb(255, 40, 80, 120)};
    for (bool planar : {false, true}) {
        desc.planar = planar;
        const DecodedImage image = Decode(desc);
        ASSERT_EQ(image.status, DecodeStatus::Ok);
        EXPECT_TRUE(SameBitmaps(MakeBitmap(3, 1, expected), image.pixels, "associated"));
    }
    // An undeclared fourth RGB sample counts as associated alpha, as libtiff has it.
    desc.extraSample = TiffExtraSample::None;
    EXPECT_TRUE(SameBitmaps(MakeBitmap(3, 1, expected), Decode(desc).pixels, "undeclared"));
}

TEST(TiffDecoder, OrientationIsApplied) {
    // Stored 3 x 2 as  a b c / d e f.
    const Pixel a = Argb(255, 10, 0, 0), b = Argb(255, 20, 0, 0), c = Argb(255, 30, 0, 0),
                d = Argb(255, 40, 0, 0), e = Argb(255, 50, 0, 0), f = Argb(255, 60, 0, 0);
    const struct {
        int orientation;
        int width;
        std::vector<Pixel> pixels;
    } cases[] = {
        {1, 3, {a, b, c, d, e, f}}, {2, 3, {c, b, a, f, e, d}}, {3, 3, {f, e, d, c, b, a}},
        {4, 3, {d, e, f, a, b, c}}, {5, 2, {a, d, b, e, c, f}}, {6, 2, {d, a, e, b, f, c}},
        {7, 2, {f, c, e, b, d, a}}, {8, 2, {c, f, b, e, a, d}},
    };
    TiffDescription rgb = Describe(3, 2);
    TiffDescription palette = Describe(3, 2, TiffPhotometric::Palette, 8, 1);
    palette.palette.assign(3 * 256, 0);
    for (unsigned i = 0; i < 6; ++i) {
        const std::uint16_t red = static_cast<std::uint16_t>(10 * (i + 1));
        rgb.samples.insert(rgb.samples.end(), {red, 0, 0});
        palette.samples.push_back(static_cast<std::uint16_t>(i));
        palette.palette[i] = static_cast<std::uint16_t>(red * 257);
    }
    for (const auto& expected : cases) {
        const std::string name = "orientation" + std::to_string(expected.orientation);
        const Bitmap want = MakeBitmap(expected.width, 6 / expected.width, expected.pixels);
        for (TiffDescription* desc : {&rgb, &palette}) {  // the direct reader and libtiff's
            desc->orientation = expected.orientation;
            const DecodedImage image = Decode(*desc);
            ASSERT_EQ(image.status, DecodeStatus::Ok) << name;
            EXPECT_TRUE(SameBitmaps(want, image.pixels, name));
        }
    }
}

TEST(TiffDecoder, JpegCompressedIsRoughlyTheSource) {
    // Smooth content, so JPEG's error stays small everywhere.
    TiffDescription desc = Describe(40, 24);
    desc.compression = TiffCompression::Jpeg;
    for (int y = 0; y < desc.height; ++y) {
        for (int x = 0; x < desc.width; ++x) {
            desc.samples.insert(desc.samples.end(), {static_cast<std::uint16_t>(40 + x * 4),
                                                     static_cast<std::uint16_t>(200 - y * 3), 128});
        }
    }
    for (TiffPhotometric photometric : {TiffPhotometric::Rgb, TiffPhotometric::YCbCr}) {
        desc.photometric = photometric;
        for (bool tiled : {false, true}) {
            desc.tiled = tiled;
            const DecodedImage image = Decode(desc);
            ASSERT_EQ(image.status, DecodeStatus::Ok);
            SCOPED_TRACE(tiled ? "tiled" : "stripped");
            SCOPED_TRACE(photometric == TiffPhotometric::Rgb ? "rgb" : "ycbcr");
            for (int y = 0; y < desc.height; ++y) {
                for (int x = 0; x < desc.width; ++x) {
                    const Pixel p = image.pixels.Row(y)[x];
                    const std::uint16_t* s = &desc.samples[(y * desc.width + x) * 3];
                    ASSERT_EQ(AlphaOf(p), 255);
                    ASSERT_NEAR(static_cast<int>(p >> 16 & 0xFF), s[0], 10) << x << "," << y;
                    ASSERT_NEAR(static_cast<int>(p >> 8 & 0xFF), s[1], 10) << x << "," << y;
                    ASSERT_NEAR(static_cast<int>(p & 0xFF), s[2], 10) << x << "," << y;
                }
            }
        }
    }
}

// A one-strip 8-bit grey file laid out by hand: header, directory, then the strip, so the
// declared size and the data actually present can disagree.
std::vector<std::uint8_t> HandMadeTiff(std::uint32_t width, std::uint32_t height,
                                       std::uint32_t stripBytes, std::size_t dataPresent) {
    std::vector<std::uint8_t> out = {'I', 'I', 42, 0};
    PutU32(out, 8);
    const std::uint32_t dataOffset = 8 + 2 + 9 * 12 + 4;
    const std::uint32_t entries[][3] = {
        {256, 4, width},      {257, 4, height}, {258, 3, 8},      {259, 3, 1},          {262, 3, 1},
        {273, 4, dataOffset}, {277, 3, 1},      {278, 4, height}, {279, 4, stripBytes},
    };
    PutU16(out, 9);
    for (const auto& entry : entries) {
        PutU16(out, entry[0]);
        PutU16(out, entry[1]);
        PutU32(out, 1);
        if (entry[1] == 3) {
            PutU16(out, entry[2]);
            PutU16(out, 0);
        } else {
            PutU32(out, entry[2]);
        }
    }
    PutU32(out, 0);
    for (std::size_t i = 0; i < dataPresent; ++i) {
        out.push_back(static_cast<std::uint8_t>(i * 7));
    }
    return out;
}

TEST(TiffDecoder, RefusesSizesAboveTheLimit) {
    // Declared 100000 x 100000 with a few bytes of data: refused before anything is allocated
    // for it (a 40 GB buffer would fail or take long under the sanitizers).
    EXPECT_EQ(DecodeTiff(HandMadeTiff(100000, 100000, 16, 16)).status, DecodeStatus::TooLarge);
    const auto bytes = HandMadeTiff(40, 30, 1200, 1200);
    EXPECT_EQ(DecodeTiff(bytes).status, DecodeStatus::Ok);
    EXPECT_EQ(DecodeTiff(bytes, DecodeLimits{1199}).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodeTiff(bytes, DecodeLimits{1200}).status, DecodeStatus::Ok);
}

TEST(TiffDecoder, TruncatedDataGivesNoImage) {
    // A strip cut short, with the directory intact.
    const DecodedImage cut = DecodeTiff(HandMadeTiff(40, 30, 1200, 700));
    EXPECT_EQ(cut.status, DecodeStatus::Corrupt);
    EXPECT_TRUE(cut.pixels.IsNull());

    // libtiff puts the directory last; cutting its files anywhere must fail cleanly, on both
    // readers and with compressed strips.
    for (Sample sample : {Rgb(8, TiffExtraSample::Unassociated, 30, 20), Palette(8)}) {
        for (TiffCompression compression : {TiffCompression::None, TiffCompression::Lzw}) {
            sample.desc.compression = compression;
            const auto bytes = WriteTiff(sample.desc);
            for (std::size_t size : {std::size_t{0}, std::size_t{7}, bytes.size() / 3,
                                     bytes.size() / 2, bytes.size() - 1}) {
                const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + size);
                EXPECT_NE(DecodeTiff(part).status, DecodeStatus::Ok) << size;
            }
        }
    }
}

TEST(TiffDecoder, CorruptStripDataIsAFailure) {
    // Garbage where LZW data should be: libtiff reports the error on that strip and carries
    // on, but a partial image is no image.
    Sample sample = Rgb(8, TiffExtraSample::None, 30, 20);
    sample.desc.compression = TiffCompression::Lzw;
    auto bytes = WriteTiff(sample.desc);
    for (std::size_t i = 8; i < 60; ++i) {
        bytes[i] = static_cast<std::uint8_t>(0xFF - i);
    }
    EXPECT_EQ(DecodeTiff(bytes).status, DecodeStatus::Corrupt);
}

TEST(TiffDecoder, GarbageIsCorruptAndSilent) {
    std::vector<std::uint8_t> noise(3000);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<std::uint8_t>((i * 7919 + 13) >> 3);
    }
    std::vector<std::uint8_t> tiffHeader = {'I', 'I', 42, 0, 8, 0, 0, 0};
    tiffHeader.insert(tiffHeader.end(), noise.begin(), noise.end());
    std::vector<std::uint8_t> badOffset = {'M', 'M', 0, 42, 0x7F, 0xFF, 0xFF, 0xFF, 1, 2};

    // libtiff prints to stderr by default; the decoder must keep it quiet.
    ::testing::internal::CaptureStderr();
    for (const auto* bytes : {&noise, &tiffHeader, &badOffset}) {
        const DecodedImage image = DecodeTiff(*bytes);
        EXPECT_EQ(image.status, DecodeStatus::Corrupt);
        EXPECT_TRUE(image.pixels.IsNull());
    }
    EXPECT_EQ(DecodeTiff({}).status, DecodeStatus::Corrupt);
    (void)DecodeTiff(HandMadeTiff(40, 30, 1200, 700));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace palvex::test
