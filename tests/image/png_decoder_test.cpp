#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <zlib.h>

#if defined(__unix__)
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/png_writer.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

constexpr Pixel Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
    return a << 24 | r << 16 | g << 8 | b;
}

// A sample of the given depth as the decoder must report it in 8 bits: small depths scaled to
// the full range, 16 bits rounded to nearest.
unsigned To8(unsigned value, int depth) {
    if (depth == 16) {
        return static_cast<unsigned>(std::lround(value / 257.0));
    }
    return value * 255 / ((1u << depth) - 1);
}

// Varied samples of the depth, starting with the two extremes.
std::vector<std::uint16_t> SampleRamp(int depth, std::size_t count) {
    const std::uint32_t top = (1u << depth) - 1;
    std::vector<std::uint16_t> out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t hash = static_cast<std::uint32_t>(i) * 2654435761u >> 9;
        out.push_back(static_cast<std::uint16_t>(i == 0 ? 0 : i == 1 ? top : hash & top));
    }
    return out;
}

PngDescription Describe(int width, int height, int colourType, int bitDepth,
                        bool interlaced = false) {
    PngDescription desc;
    desc.width = width;
    desc.height = height;
    desc.colourType = colourType;
    desc.bitDepth = bitDepth;
    desc.interlaced = interlaced;
    return desc;
}

DecodedImage DecodeDescribed(const PngDescription& desc, const DecodeLimits& limits = {}) {
    const std::vector<std::uint8_t> file = WritePng(desc);
    EXPECT_FALSE(file.empty()) << "the writer refused the test image";
    return DecodePng(file, limits);
}

void ExpectDecodesTo(const PngDescription& desc, const std::vector<Pixel>& expected,
                     const std::string& name) {
    const DecodedImage decoded = DecodeDescribed(desc);
    ASSERT_EQ(decoded.status, DecodeStatus::Ok) << name;
    EXPECT_TRUE(SameBitmaps(MakeBitmap(desc.width, desc.height, expected), decoded.pixels, name));
}

TEST(PngDecoder, GreyOfEveryDepthScalesToEightBits) {
    for (const int depth : {1, 2, 4, 8, 16}) {
        PngDescription desc = Describe(7, 5, 0, depth);
        desc.samples = SampleRamp(depth, 35);
        std::vector<Pixel> expected;
        for (const unsigned v : desc.samples) {
            const unsigned g = To8(v, depth);
            expected.push_back(Argb(255, g, g, g));
        }
        ExpectDecodesTo(desc, expected, "grey" + std::to_string(depth));
    }
}

TEST(PngDecoder, ColourTypesWithChannelsDecodeInOrder) {
    struct Case {
        int colourType;
        int channels;
    };
    for (const Case c : {Case{2, 3}, Case{4, 2}, Case{6, 4}}) {
        for (const int depth : {8, 16}) {
            PngDescription desc = Describe(5, 3, c.colourType, depth);
            desc.samples = SampleRamp(depth, 15u * c.channels);
            std::vector<Pixel> expected;
            for (std::size_t i = 0; i < desc.samples.size(); i += c.channels) {
                const auto s = [&](int k) { return To8(desc.samples[i + k], depth); };
                switch (c.colourType) {
                    case 2:
                        expected.push_back(Argb(255, s(0), s(1), s(2)));
                        break;
                    case 4:
                        expected.push_back(Argb(s(1), s(0), s(0), s(0)));
                        break;
                    default:
                        expected.push_back(Argb(s(3), s(0), s(1), s(2)));
                }
            }
            ExpectDecodesTo(desc, expected,
                            "type" + std::to_string(c.colourType) + "_" + std::to_string(depth));
        }
    }
}

TEST(PngDecoder, SixteenBitSamplesRoundToNearest) {
    // 0x0181 / 257 = 1.498 and 0x0182 / 257 = 1.502: truncation or the high byte alone would
    // give 1 for both, and 0x01FF would be 1 instead of 2.
    PngDescription desc = Describe(4, 1, 2, 16);
    desc.samples = {0x0181, 0x0182, 0x01FF, 0xFF7F, 0x0000, 0xFFFF,
                    0x8080, 0x807F, 0x7F80, 0x02FE, 0x0080, 0xFEFF};
    ExpectDecodesTo(desc,
                    {Argb(255, 1, 2, 2), Argb(255, 255, 0, 255), Argb(255, 128, 128, 127),
                     Argb(255, 3, 0, 254)},
                    "round16");
}

TEST(PngDecoder, PaletteOfEveryDepthWithPartialAlphaTable) {
    for (const int depth : {1, 2, 4, 8}) {
        const unsigned entries = 1u << std::min(depth, 4);
        PngDescription desc = Describe(9, 4, 3, depth);
        for (unsigned i = 0; i < entries; ++i) {
            desc.palette.push_back({static_cast<std::uint8_t>(i * 15),
                                    static_cast<std::uint8_t>(255 - i),
                                    static_cast<std::uint8_t>(i * 7 + 1)});
        }
        desc.trns = {0, 128};  // entry 0 transparent, 1 half, the rest opaque
        desc.samples = SampleRamp(std::min(depth, 4), 36);
        std::vector<Pixel> expected;
        for (const unsigned i : desc.samples) {
            const unsigned alpha = i == 0 ? 0 : i == 1 ? 128 : 255;
            expected.push_back(Argb(alpha, i * 15, 255 - i, i * 7 + 1));
        }
        ExpectDecodesTo(desc, expected, "palette" + std::to_string(depth));
    }
}

TEST(PngDecoder, PaletteIndexBeyondTheTableIsOpaqueBlack) {
    PngDescription desc = Describe(3, 1, 3, 8);
    desc.palette = {{10, 20, 30}, {40, 50, 60}};
    desc.samples = {1, 2, 200};
    ExpectDecodesTo(desc, {Argb(255, 40, 50, 60), Argb(255, 0, 0, 0), Argb(255, 0, 0, 0)},
                    "palette_range");
}

TEST(PngDecoder, GreyTransparencyKeyAtEveryDepth) {
    for (const int depth : {1, 2, 4, 8, 16}) {
        const std::uint16_t key = static_cast<std::uint16_t>((1u << depth) - 1 > 1 ? 1 : 0);
        PngDescription desc = Describe(6, 3, 0, depth);
        desc.samples = SampleRamp(depth, 18);
        desc.trns = {key};
        std::vector<Pixel> expected;
        for (const unsigned v : desc.samples) {
            const unsigned g = To8(v, depth);
            expected.push_back(Argb(v == key ? 0 : 255, g, g, g));
        }
        ExpectDecodesTo(desc, expected, "grey_trns" + std::to_string(depth));
    }
}

TEST(PngDecoder, RgbTransparencyKeyMatchesAllChannelsAtFullDepth) {
    PngDescription desc8 = Describe(3, 1, 2, 8);
    desc8.samples = {10, 20, 30, 10, 20, 31, 11, 20, 30};
    desc8.trns = {10, 20, 30};
    ExpectDecodesTo(desc8, {Argb(0, 10, 20, 30), Argb(255, 10, 20, 31), Argb(255, 11, 20, 30)},
                    "rgb_trns8");

    // The two pixels are equal once reduced to 8 bits; only the exact 16-bit key is clear.
    PngDescription desc16 = Describe(2, 1, 2, 16);
    desc16.samples = {0x1010, 0x2020, 0x3030, 0x1011, 0x2020, 0x3030};
    desc16.trns = {0x1010, 0x2020, 0x3030};
    ExpectDecodesTo(desc16, {Argb(0, 0x10, 0x20, 0x30), Argb(255, 0x10, 0x20, 0x30)}, "rgb_trns16");
}

TEST(PngDecoder, FullyTransparentPixelsKeepTheirStoredColour) {
    PngDescription rgba = Describe(2, 1, 6, 8);
    rgba.samples = {200, 100, 50, 0, 1, 2, 3, 0};
    ExpectDecodesTo(rgba, {Argb(0, 200, 100, 50), Argb(0, 1, 2, 3)}, "clear_rgba");

    PngDescription palette = Describe(2, 1, 3, 8);
    palette.palette = {{250, 0, 250}, {1, 1, 1}};
    palette.trns = {0};
    palette.samples = {0, 1};
    ExpectDecodesTo(palette, {Argb(0, 250, 0, 250), Argb(255, 1, 1, 1)}, "clear_palette");
}

TEST(PngDecoder, InterlacedDecodesLikeNonInterlaced) {
    struct Case {
        int colourType, depth, channels;
    };
    // Sizes below 8 leave some Adam7 passes empty; 1x1 has only the first.
    for (const auto& [width, height] :
         {std::pair{13, 11}, std::pair{1, 1}, std::pair{3, 9}, std::pair{17, 2}}) {
        for (const Case c : {Case{0, 1, 1}, Case{0, 16, 1}, Case{2, 8, 3}, Case{3, 4, 1},
                             Case{4, 8, 2}, Case{6, 16, 4}}) {
            PngDescription desc = Describe(width, height, c.colourType, c.depth);
            desc.samples = SampleRamp(c.depth, static_cast<std::size_t>(width) * height *
                                                   static_cast<std::size_t>(c.channels));
            if (c.colourType == 3) {
                for (int i = 0; i < 16; ++i) {
                    desc.palette.push_back({static_cast<std::uint8_t>(i * 16), 7, 9});
                }
            }
            const DecodedImage plain = DecodeDescribed(desc);
            desc.interlaced = true;
            const DecodedImage interlaced = DecodeDescribed(desc);
            ASSERT_TRUE(plain.Ok());
            ASSERT_EQ(interlaced.status, DecodeStatus::Ok);
            EXPECT_TRUE(SameBitmaps(plain.pixels, interlaced.pixels,
                                    "adam7_" + std::to_string(width) + "x" +
                                        std::to_string(height) + "_" +
                                        std::to_string(c.colourType)));
        }
    }
}

std::size_t ChunkLength(const std::vector<std::uint8_t>& png, std::size_t at) {
    return std::size_t{png[at]} << 24 | std::size_t{png[at + 1]} << 16 |
           std::size_t{png[at + 2]} << 8 | png[at + 3];
}

// A small RGB image with an IEND, for the damage tests.
std::vector<std::uint8_t> SmallPng(bool interlaced = false) {
    PngDescription desc = Describe(16, 16, 2, 8, interlaced);
    desc.samples = SampleRamp(8, 16 * 16 * 3);
    return WritePng(desc);
}

std::vector<std::uint8_t> Ihdr(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> data;
    for (const std::uint32_t v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            data.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    }
    data.insert(data.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    return PngChunk("IHDR", data);
}

TEST(PngDecoder, RefusesADeclaredSizeAboveTheLimitBeforeReadingPixels) {
    // 2^15 x 2^14 = 2^29 pixels, with only a few bytes of image data behind it.
    const std::vector<std::uint8_t> original = SmallPng();
    std::vector<std::uint8_t> file = PngSignature();
    const std::vector<std::uint8_t> ihdr = Ihdr(1u << 15, 1u << 14);
    file.insert(file.end(), ihdr.begin(), ihdr.end());
    file.insert(file.end(), original.begin() + static_cast<std::ptrdiff_t>(8 + 25), original.end());
    EXPECT_EQ(DecodePng(file).status, DecodeStatus::TooLarge);

    DecodeLimits small;
    small.maxPixels = 16 * 16 - 1;
    EXPECT_EQ(DecodePng(original, small).status, DecodeStatus::TooLarge);
    small.maxPixels = 16 * 16;
    EXPECT_EQ(DecodePng(original, small).status, DecodeStatus::Ok);
}

TEST(PngDecoder, EveryTruncationBeforeTheImageEndsIsCorrupt) {
    for (const bool interlaced : {false, true}) {
        const std::vector<std::uint8_t> file = SmallPng(interlaced);
        const std::size_t iend = FindPngChunk(file, "IEND");
        ASSERT_NE(iend, std::string::npos);
        for (std::size_t size = 0; size < iend; ++size) {
            const std::span<const std::uint8_t> prefix(file.data(), size);
            const DecodedImage decoded = DecodePng(prefix);
            ASSERT_EQ(decoded.status, DecodeStatus::Corrupt) << size << " bytes";
            EXPECT_TRUE(decoded.pixels.IsNull());
        }
        // The pixels are all there without IEND.
        EXPECT_TRUE(DecodePng(std::span(file.data(), iend)).Ok());
    }
}

TEST(PngDecoder, CriticalChunkCrcErrorIsCorruptButAncillaryOneIsSkipped) {
    const std::vector<std::uint8_t> file = SmallPng();
    for (const char* type : {"IHDR", "IDAT"}) {
        std::vector<std::uint8_t> bad = file;
        const std::size_t at = FindPngChunk(bad, type);
        ASSERT_NE(at, std::string::npos);
        const std::size_t length = ChunkLength(bad, at);
        bad[at + 8 + length] ^= 0x01;  // first CRC byte
        EXPECT_EQ(DecodePng(bad).status, DecodeStatus::Corrupt) << type;
    }

    std::vector<std::uint8_t> text = PngChunk("tEXt", {'a', 0, 'b'});
    text.back() ^= 0xFF;
    const DecodedImage decoded = DecodePng(InsertPngChunk(file, "IDAT", text));
    ASSERT_TRUE(decoded.Ok());
    EXPECT_TRUE(SameBitmaps(DecodePng(file).pixels, decoded.pixels, "ancillary_crc"));
}

TEST(PngDecoder, CorruptImageDataIsRefused) {
    const std::vector<std::uint8_t> file = SmallPng();
    const std::size_t idat = FindPngChunk(file, "IDAT");
    ASSERT_NE(idat, std::string::npos);
    const std::size_t length = ChunkLength(file, idat);
    const std::vector<std::uint8_t> data(
        file.begin() + static_cast<std::ptrdiff_t>(idat + 8),
        file.begin() + static_cast<std::ptrdiff_t>(idat + 8 + length));

    const auto withIdat = [&](const std::vector<std::uint8_t>& newData) {
        std::vector<std::uint8_t> out(file.begin(),
                                      file.begin() + static_cast<std::ptrdiff_t>(idat));
        const std::vector<std::uint8_t> chunk = PngChunk("IDAT", newData);
        out.insert(out.end(), chunk.begin(), chunk.end());
        const std::vector<std::uint8_t> iend = PngChunk("IEND", {});
        out.insert(out.end(), iend.begin(), iend.end());
        return out;
    };
    // A complete zlib stream holding 10 of the 16 rows (a filter byte and 48 samples each).
    std::vector<std::uint8_t> shortRows(10 * 49, 0);
    uLongf size = compressBound(static_cast<uLong>(shortRows.size()));
    std::vector<std::uint8_t> compressed(size);
    ASSERT_EQ(
        compress(compressed.data(), &size, shortRows.data(), static_cast<uLong>(shortRows.size())),
        Z_OK);
    compressed.resize(size);
    EXPECT_EQ(DecodePng(withIdat(compressed)).status, DecodeStatus::Corrupt);

    std::vector<std::uint8_t> badHeader = data;
    badHeader[0] ^= 0x0F;
    EXPECT_EQ(DecodePng(withIdat(badHeader)).status, DecodeStatus::Corrupt);
    std::vector<std::uint8_t> badBlock = data;
    badBlock[2] = 0xFF;  // first deflate block header: reserved block type
    EXPECT_EQ(DecodePng(withIdat(badBlock)).status, DecodeStatus::Corrupt);
    EXPECT_TRUE(DecodePng(withIdat(data)).Ok());
}

// The process's peak resident memory so far, in KiB; 0 where it cannot be known.
long PeakResidentKiB() {
#if defined(__unix__)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

TEST(PngDecoder, CompressedChunkBombsDoNotStopTheImage) {
    // 1 GiB of text and of ICC profile, each from about a megabyte of file.
    const std::vector<std::uint8_t> bomb = ZlibZeros(1024);
    std::vector<std::uint8_t> ztxt{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
    ztxt.insert(ztxt.end(), bomb.begin(), bomb.end());
    std::vector<std::uint8_t> itxt{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 1, 0, 0, 0};
    itxt.insert(itxt.end(), bomb.begin(), bomb.end());
    std::vector<std::uint8_t> iccp{'i', 'c', 'c', 0, 0};
    iccp.insert(iccp.end(), bomb.begin(), bomb.end());

    const std::vector<std::uint8_t> file = SmallPng();
    const DecodedImage reference = DecodePng(file);
    ASSERT_TRUE(reference.Ok());
    std::vector<std::uint8_t> bombed = InsertPngChunk(file, "IDAT", PngChunk("zTXt", ztxt));
    bombed = InsertPngChunk(bombed, "IDAT", PngChunk("iTXt", itxt));
    bombed = InsertPngChunk(bombed, "IDAT", PngChunk("iCCP", iccp));
    bombed = InsertPngChunk(bombed, "IEND", PngChunk("zTXt", ztxt));
    const long peakBefore = PeakResidentKiB();
    const DecodedImage decoded = DecodePng(bombed);
    // Inflating any of them whole would take gigabytes (and many seconds).
    EXPECT_LT(PeakResidentKiB() - peakBefore, 256 * 1024);
    ASSERT_EQ(decoded.status, DecodeStatus::Ok);
    EXPECT_TRUE(SameBitmaps(reference.pixels, decoded.pixels, "bomb"));
}

TEST(PngDecoder, ZlibZerosInflatesToWhatItClaims) {
    const std::vector<std::uint8_t> stream = ZlibZeros(3);
    std::vector<std::uint8_t> out((3u << 20) + 1, 0xAA);
    uLongf size = static_cast<uLongf>(out.size());
    ASSERT_EQ(uncompress(out.data(), &size, stream.data(), static_cast<uLong>(stream.size())),
              Z_OK);
    EXPECT_EQ(size, 3u << 20);
    EXPECT_LT(stream.size(), 8000u);
}

TEST(PngDecoder, OtherFormatsAndEmptyInputAreCorrupt) {
    EXPECT_EQ(DecodePng({}).status, DecodeStatus::Corrupt);
    const std::vector<std::uint8_t> gif{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(DecodePng(gif).status, DecodeStatus::Corrupt);
    EXPECT_EQ(DecodePng(PngSignature()).status, DecodeStatus::Corrupt);
}

TEST(PngDecoder, EncodeRgbaPngRoundTrips) {
    const Bitmap image =
        MakeBitmap(3, 2,
                   {Argb(255, 1, 2, 3), Argb(0, 4, 5, 6), Argb(128, 7, 8, 9), Argb(1, 255, 0, 0),
                    Argb(254, 0, 255, 0), Argb(255, 0, 0, 255)});
    const DecodedImage decoded = DecodePng(EncodeRgbaPng(image));
    ASSERT_TRUE(decoded.Ok());
    EXPECT_TRUE(SameBitmaps(image, decoded.pixels, "rgba_round_trip"));
}

// Photo-like samples: a gradient with noise, so that libpng's filter choice varies by row and
// the image data is large enough to be inflated on two cores.
PngDescription LargeNoisy(int colourType, int width = 2000, int height = 1500) {
    const int channels = colourType == 6 ? 4 : 3;
    PngDescription desc = Describe(width, height, colourType, 8);
    std::uint32_t seed = 99;
    desc.samples.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                        static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < desc.samples.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const std::size_t x =
            i / static_cast<std::size_t>(channels) % static_cast<std::size_t>(width);
        desc.samples[i] = static_cast<std::uint16_t>((x / 8 + (seed >> 27)) & 0xFF);
    }
    return desc;
}

std::vector<Pixel> ExpectedPixels(const PngDescription& desc) {
    const std::size_t channels = desc.colourType == 6 ? 4 : 3;
    std::vector<Pixel> pixels;
    for (std::size_t i = 0; i < desc.samples.size(); i += channels) {
        pixels.push_back(Argb(channels == 4 ? desc.samples[i + 3] : 255, desc.samples[i],
                              desc.samples[i + 1], desc.samples[i + 2]));
    }
    return pixels;
}

TEST(PngDecoder, LargeImagesInflatedOnTwoCoresDecodeToTheSamePixels) {
    for (const int colourType : {6, 2}) {
        SCOPED_TRACE(colourType);
        const PngDescription desc = LargeNoisy(colourType);
        const std::vector<std::uint8_t> file = WritePng(desc);
        ASSERT_GT(file.size(), std::size_t{5} << 20) << "too small to be split";
        const DecodedImage decoded = DecodePng(file);
        ASSERT_EQ(decoded.status, DecodeStatus::Ok);
        EXPECT_TRUE(SameBitmaps(MakeBitmap(desc.width, desc.height, ExpectedPixels(desc)),
                                decoded.pixels, "large_noisy"));
    }
}

TEST(PngDecoder, LargeImageWithAnUnknownFilterInEitherHalfIsCorrupt) {
    // Rows of RGB samples with a filter byte each, one of them not a filter.
    constexpr std::size_t kWidth = 2000;
    constexpr std::size_t kHeight = 1500;
    for (const std::size_t badRow : {std::size_t{100}, kHeight - 3}) {
        SCOPED_TRACE(badRow);
        std::vector<std::uint8_t> raw((kWidth * 3 + 1) * kHeight);
        std::uint32_t seed = 5;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            raw[i] = static_cast<std::uint8_t>(seed >> 26);
        }
        for (std::size_t y = 0; y < kHeight; ++y) {
            raw[y * (kWidth * 3 + 1)] = y == badRow ? 7 : static_cast<std::uint8_t>(y % 5);
        }
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        std::vector<std::uint8_t> compressed(size);
        ASSERT_EQ(compress(compressed.data(), &size, raw.data(), static_cast<uLong>(raw.size())),
                  Z_OK);
        compressed.resize(size);
        std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        const std::vector<std::uint8_t> header = {0,    0, 0x07, 0xD0, 0, 0, 0x05,
                                                  0xDC, 8, 2,    0,    0, 0};
        for (const auto& chunk :
             {PngChunk("IHDR", header), PngChunk("IDAT", compressed), PngChunk("IEND", {})}) {
            file.insert(file.end(), chunk.begin(), chunk.end());
        }
        EXPECT_EQ(DecodePng(file).status, DecodeStatus::Corrupt);
        // The same rows with every filter valid decode.
        raw[badRow * (kWidth * 3 + 1)] = 0;
        size = compressBound(static_cast<uLong>(raw.size()));
        compressed.assign(size, 0);
        ASSERT_EQ(compress(compressed.data(), &size, raw.data(), static_cast<uLong>(raw.size())),
                  Z_OK);
        compressed.resize(size);
        file.resize(8);
        for (const auto& chunk :
             {PngChunk("IHDR", header), PngChunk("IDAT", compressed), PngChunk("IEND", {})}) {
            file.insert(file.end(), chunk.begin(), chunk.end());
        }
        EXPECT_TRUE(DecodePng(file).Ok());
    }
}

// The offsets of the file's chunks of one type.
std::vector<std::size_t> PngChunksOfType(const std::vector<std::uint8_t>& png,
                                         std::string_view type) {
    std::vector<std::size_t> found;
    for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + ChunkLength(png, at)) {
        if (std::string_view(reinterpret_cast<const char*>(png.data()) + at + 4, 4) == type) {
            found.push_back(at);
        }
    }
    return found;
}

TEST(PngDecoder, AWritableFileIsWorkedInAndGivenBackUnchanged) {
    const PngDescription desc = LargeNoisy(6);
    const std::vector<std::uint8_t> original = WritePng(desc);
    ASSERT_GT(PngChunksOfType(original, "IDAT").size(), 2u) << "the stream is in many chunks";
    std::vector<std::uint8_t> file = original;
    const DecodedImage decoded = DecodeWritablePng(file);
    ASSERT_EQ(decoded.status, DecodeStatus::Ok);
    EXPECT_TRUE(SameBitmaps(MakeBitmap(desc.width, desc.height, ExpectedPixels(desc)),
                            decoded.pixels, "writable"));
    EXPECT_TRUE(file == original);
    // A stream that fails after being joined: the file is still given back as it was.
    std::vector<std::uint8_t> damaged = original;
    const std::size_t lastIdat = PngChunksOfType(damaged, "IDAT").back();
    const std::size_t length = ChunkLength(damaged, lastIdat);
    damaged[lastIdat + 8 + length - 1] ^= 0x40;  // in the stream's checksum
    const uLong crc = crc32(0, damaged.data() + lastIdat + 4, static_cast<uInt>(length + 4));
    for (std::size_t i = 0; i < 4; ++i) {
        damaged[lastIdat + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    std::vector<std::uint8_t> writable = damaged;
    EXPECT_EQ(DecodeWritablePng(writable).status, DecodeStatus::Corrupt);
    EXPECT_TRUE(writable == damaged);
}

// Splitting from the first kilobyte, so that a medium image takes the two-core path.
DecodeLimits SplitEarly() {
    DecodeLimits limits;
    limits.pngSplit.splitFrom = 1024;
    return limits;
}

DecodeLimits NeverSplit() {
    DecodeLimits limits;
    limits.pngSplit.splitFrom = SIZE_MAX;
    return limits;
}

// The file with the first two bytes of its image data (the zlib header) replaced, and the
// chunk's CRC made right again so that only the stream is at fault.
std::vector<std::uint8_t> WithZlibHeader(std::vector<std::uint8_t> file, std::uint8_t cmf,
                                         std::uint8_t flg) {
    const std::size_t idat = FindPngChunk(file, "IDAT");
    const std::size_t length = ChunkLength(file, idat);
    file[idat + 8] = cmf;
    file[idat + 9] = flg;
    const uLong crc = crc32(0, file.data() + idat + 4, static_cast<uInt>(length + 4));
    for (std::size_t i = 0; i < 4; ++i) {
        file[idat + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    return file;
}

TEST(PngDecoder, ABadZlibHeaderIsCorruptOnTheTwoCorePathAsOnOne) {
    const PngDescription desc = LargeNoisy(6, 600, 400);
    const std::vector<std::uint8_t> file = WritePng(desc);
    const std::size_t idat = FindPngChunk(file, "IDAT");
    const std::uint8_t cmf = file[idat + 8];
    const std::uint8_t flg = file[idat + 9];
    const auto fixed = [](std::uint8_t c, std::uint8_t f) {
        f &= 0xE0;
        return static_cast<std::uint8_t>(f | (31 - (c * 256 + f) % 31) % 31);
    };
    ASSERT_EQ(fixed(cmf, flg), flg);
    ASSERT_TRUE(DecodePng(file, SplitEarly()).Ok());
    const std::uint8_t method7 = static_cast<std::uint8_t>((cmf & 0xF0) | 7);
    const std::uint8_t window16 = static_cast<std::uint8_t>(0x80 | (cmf & 0x0F));
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> bad = {
        {"check bits", WithZlibHeader(file, cmf, static_cast<std::uint8_t>(flg ^ 1))},
        {"method 7", WithZlibHeader(file, method7, fixed(method7, flg))},
        {"window 2^16", WithZlibHeader(file, window16, fixed(window16, flg))},
        {"preset dictionary",
         WithZlibHeader(file, cmf, fixed(cmf, static_cast<std::uint8_t>(flg | 0x20)))},
    };
    for (const auto& [name, damaged] : bad) {
        SCOPED_TRACE(name);
        EXPECT_EQ(DecodePng(damaged, NeverSplit()).status, DecodeStatus::Corrupt);
        EXPECT_EQ(DecodePng(damaged, SplitEarly()).status, DecodeStatus::Corrupt);
    }
}

// The first core may have unfiltered its rows in place before the split is given up; the
// serial inflate then writes the raw rows again, so every row must be unfiltered again.
TEST(PngDecoder, ASplitGivenUpAfterTheFirstRowsStillDecodesEveryRow) {
    for (const int colourType : {6, 2}) {
        SCOPED_TRACE(colourType);
        const PngDescription desc = LargeNoisy(colourType, 600, 400);
        const std::vector<std::uint8_t> file = WritePng(desc);
        DecodeLimits limits = SplitEarly();
        int givenUp = 0;
        limits.pngSplit.failAfterBothCores = [&givenUp] {
            ++givenUp;
            return true;
        };
        const DecodedImage decoded = DecodePng(file, limits);
        EXPECT_EQ(givenUp, 1);
        ASSERT_EQ(decoded.status, DecodeStatus::Ok);
        EXPECT_TRUE(SameBitmaps(MakeBitmap(desc.width, desc.height, ExpectedPixels(desc)),
                                decoded.pixels, "split_given_up"));
    }
}

}  // namespace
}  // namespace palvex::test
