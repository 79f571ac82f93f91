// The codec paths that split an image over threads or bypass a library: their files must read
// back through the plain libraries exactly, and their results must not depend on the split.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include "image/codecs/bmp_encoder.h"
#include "image/codecs/decoder.h"
#include "image/codecs/encoder.h"
#include "image/colour_stats.h"
#include "image/large_block.h"
#include "image/parallel.h"
#include "support/jpeg_writer.h"
#include "support/png_writer.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

constexpr Colour kKey = Rgb(10, 200, 30);

// Large enough for several deflate bands and TIFF strips and both threads: noise in some rows,
// flat runs and gradients in others (each filter type wins somewhere), key pixels scattered
// through, junk in the fourth byte.
Bitmap MixedImage(int width, int height) {
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    const Pixel key = PixelFromColour(kKey) & kRgbMask;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t h = Hash(static_cast<std::uint32_t>(y * width + x));
            Pixel rgb = 0;
            switch (y / 16 % 4) {
                case 0:
                    rgb = h & kRgbMask;
                    break;
                case 1:
                    rgb = x < width / 2 ? 0x808080u : key;
                    break;
                case 2:
                    rgb = static_cast<Pixel>((x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x + y) & 0xFF));
                    break;
                default:
                    rgb = (h % 3 == 0) ? key : static_cast<Pixel>(x * 7 + y * 3) & kRgbMask;
                    break;
            }
            image.Row(y)[x] = (h & 0xFF000000u) | rgb;
        }
    }
    return image;
}

// What a lossless encoder must store: the colours, with alpha 0 exactly on the key.
std::vector<std::uint8_t> ExpectedRgba(const Bitmap& image, Colour key) {
    std::vector<std::uint8_t> out;
    out.reserve(image.PixelCount() * 4);
    const Pixel keyRgb = PixelFromColour(key) & kRgbMask;
    for (const Pixel p : image.Pixels()) {
        const Pixel rgb = p & kRgbMask;
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                    static_cast<std::uint8_t>(rgb),
                    static_cast<std::uint8_t>(key != kNoColour && rgb == keyRgb ? 0 : 255)});
    }
    return out;
}

// Read by libpng alone (which checks every CRC and the Adler-32), as R,G,B,A bytes.
std::vector<std::uint8_t> ReadWithLibpng(std::span<const std::uint8_t> file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, file.data(), file.size()) == 0) {
        return {};
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        return {};
    }
    return pixels;
}

std::uint32_t BigEndian(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
           std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// The chunk types in order; an empty list when a length or CRC is wrong.
std::vector<std::string> CheckedChunks(std::span<const std::uint8_t> file) {
    std::vector<std::string> types;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t length = BigEndian(file, at);
        if (at + 12 + length > file.size() ||
            crc32(0, file.data() + at + 4, static_cast<uInt>(length + 4)) !=
                BigEndian(file, at + 8 + length)) {
            return {};
        }
        types.emplace_back(reinterpret_cast<const char*>(file.data()) + at + 4, 4);
        at += 12 + length;
    }
    return types;
}

TEST(PngEncoder, BandsDeflatedApartFormOneStreamThatLibpngReadsExactly) {
    // 1200 x 700 RGBA: about 3.4 MB of filtered rows, four bands.
    const Bitmap image = MixedImage(1200, 700);
    for (const Colour key : {kNoColour, kKey}) {
        OutputBuffer out;
        ASSERT_TRUE(EncodePng(image, key, out));
        const std::vector<std::string> chunks = CheckedChunks(out.Span());
        ASSERT_FALSE(chunks.empty()) << "a chunk length or CRC is wrong";
        EXPECT_EQ(chunks.front(), "IHDR");
        EXPECT_EQ(chunks.back(), "IEND");
        EXPECT_GE(std::count(chunks.begin(), chunks.end(), "IDAT"), 3);
        const std::vector<std::uint8_t> seen = ReadWithLibpng(out.Span());
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(seen == ExpectedRgba(image, key)) << (key == kNoColour ? "opaque" : "keyed");
    }
}

TEST(PngEncoder, OneRowAndOnePixelImages) {
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{1, 300}, std::pair{5000, 1}}) {
        const Bitmap image = MixedImage(width, height);
        OutputBuffer out;
        ASSERT_TRUE(EncodePng(image, kKey, out));
        EXPECT_TRUE(ReadWithLibpng(out.Span()) == ExpectedRgba(image, kKey))
            << width << " x " << height;
    }
}

TEST(TiffEncoder, StripsPredictedAndDeflatedApartReadBackExactly) {
    for (const int width : {1, 2, 900}) {
        const Bitmap image = MixedImage(width, 900);
        for (const Colour key : {kNoColour, kKey}) {
            OutputBuffer out;
            ASSERT_TRUE(EncodeTiff(image, key, out));
            const DecodedImage decoded = DecodeTiff(out.Span());
            ASSERT_TRUE(decoded.Ok()) << width;
            const std::vector<std::uint8_t> expected = ExpectedRgba(image, key);
            std::vector<std::uint8_t> seen;
            for (const Pixel p : decoded.pixels.Pixels()) {
                seen.insert(seen.end(),
                            {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                             static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
            }
            EXPECT_TRUE(seen == expected) << width << (key == kNoColour ? " opaque" : " keyed");
        }
    }
}

// The direct PNG path against libpng on files libpng wrote, every filter type among them.
TEST(PngDecoder, DirectPathMatchesLibpngOnRgbAndRgbaFiles) {
    const Bitmap image = MixedImage(301, 203);
    for (const int colourType : {2, 6}) {
        PngDescription description;
        description.width = image.Width();
        description.height = image.Height();
        description.colourType = colourType;
        for (const Pixel p : image.Pixels()) {
            description.samples.insert(
                description.samples.end(),
                {static_cast<std::uint16_t>(p >> 16 & 0xFF),
                 static_cast<std::uint16_t>(p >> 8 & 0xFF), static_cast<std::uint16_t>(p & 0xFF)});
            if (colourType == 6) {
                description.samples.push_back(static_cast<std::uint16_t>(p >> 24));
            }
        }
        const std::vector<std::uint8_t> file = WritePng(description);
        ASSERT_FALSE(file.empty());
        const DecodedImage decoded = DecodePng(file);
        ASSERT_TRUE(decoded.Ok());
        const std::vector<std::uint8_t> reference = ReadWithLibpng(file);
        ASSERT_EQ(reference.size(), decoded.pixels.PixelCount() * 4);
        for (std::size_t i = 0; i < decoded.pixels.PixelCount(); ++i) {
            const Pixel p = decoded.pixels.Data()[i];
            const std::uint8_t* r = &reference[i * 4];
            ASSERT_EQ(p, Pixel{r[3]} << 24 | Pixel{r[0]} << 16 | Pixel{r[1]} << 8 | r[2])
                << "colour type " << colourType << ", pixel " << i;
        }
    }
}

// Random filtered rows, each filter type in turn, so that every branch of unfiltering (Paeth
// ties among them) is taken; split over several IDAT chunks.
TEST(PngDecoder, DirectPathMatchesLibpngOnEveryFilterType) {
    for (const std::uint8_t colourType : {2, 6}) {
        const std::uint32_t width = 97;
        const std::uint32_t height = 60;
        const std::size_t rowBytes = width * (colourType == 6 ? 4 : 3);
        std::vector<std::uint8_t> raw;
        for (std::uint32_t y = 0; y < height; ++y) {
            raw.push_back(static_cast<std::uint8_t>(y % 5));
            for (std::size_t i = 0; i < rowBytes; ++i) {
                // Small values make equal distances (Paeth ties) common.
                raw.push_back(
                    static_cast<std::uint8_t>(Hash(static_cast<std::uint32_t>(raw.size())) % 7));
            }
        }
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        std::vector<std::uint8_t> stream(size);
        ASSERT_EQ(compress(stream.data(), &size, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
        stream.resize(size);
        std::vector<std::uint8_t> file = PngSignature();
        std::vector<std::uint8_t> ihdr;
        for (const std::uint32_t v : {width, height}) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                ihdr.push_back(static_cast<std::uint8_t>(v >> shift));
            }
        }
        ihdr.insert(ihdr.end(), {8, colourType, 0, 0, 0});
        const auto append = [&file](const std::vector<std::uint8_t>& chunk) {
            file.insert(file.end(), chunk.begin(), chunk.end());
        };
        append(PngChunk("IHDR", ihdr));
        for (std::size_t at = 0; at < stream.size(); at += 1000) {
            append(PngChunk("IDAT", std::vector<std::uint8_t>(
                                        stream.begin() + static_cast<std::ptrdiff_t>(at),
                                        stream.begin() + static_cast<std::ptrdiff_t>(
                                                             std::min(at + 1000, stream.size())))));
        }
        append(PngChunk("IEND", {}));

        const DecodedImage decoded = DecodePng(file);
        ASSERT_TRUE(decoded.Ok());
        const std::vector<std::uint8_t> reference = ReadWithLibpng(file);
        ASSERT_EQ(reference.size(), decoded.pixels.PixelCount() * 4);
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < decoded.pixels.PixelCount(); ++i) {
            const std::uint8_t* r = &reference[i * 4];
            wrong += decoded.pixels.Data()[i] !=
                             (Pixel{r[3]} << 24 | Pixel{r[0]} << 16 | Pixel{r[1]} << 8 | r[2])
                         ? 1
                         : 0;
        }
        EXPECT_EQ(wrong, 0u) << "colour type " << int{colourType};
    }
}

TEST(PngDecoder, DirectPathReadsOurOwnManyBandFiles) {
    const Bitmap image = MixedImage(1200, 700);
    OutputBuffer out;
    ASSERT_TRUE(EncodePng(image, kKey, out));
    const DecodedImage decoded = DecodePng(out.Span());
    ASSERT_TRUE(decoded.Ok());
    const std::vector<std::uint8_t> expected = ExpectedRgba(image, kKey);
    for (std::size_t i = 0; i < decoded.pixels.PixelCount(); ++i) {
        const std::uint8_t* e = &expected[i * 4];
        ASSERT_EQ(decoded.pixels.Data()[i],
                  Pixel{e[3]} << 24 | Pixel{e[0]} << 16 | Pixel{e[1]} << 8 | e[2])
            << i;
    }
}

// Rows are packed in bands side by side; the file must be the same as one row after another.
TEST(BmpEncoder, RowsPackedInBandsReadBackExactly) {
    const Bitmap photo = MixedImage(1501, 800);
    // At most 16 colours, so that 4 and 8 bits keep them exactly.
    Bitmap few;
    ASSERT_TRUE(few.Create(1501, 800));
    for (std::size_t i = 0; i < few.PixelCount(); ++i) {
        few.Data()[i] =
            static_cast<Pixel>(Hash(static_cast<std::uint32_t>(i / 37)) % 16 * 0x0F0E0D);
    }
    const std::pair<const Bitmap*, int> cases[] = {
        {&photo, 24}, {&photo, 32}, {&few, 4}, {&few, 8}};
    for (const auto& [image, bitCount] : cases) {
        OutputBuffer info;
        OutputBuffer pixels;
        ASSERT_EQ(ConvertToPlainBmp(*image, bitCount, bitCount == 32 ? 3 : 0, info, pixels),
                  BmpConvertResult::Ok);
        std::vector<std::uint8_t> file(14, 0);
        const auto offset = static_cast<std::uint32_t>(14 + info.Size());
        const auto size = static_cast<std::uint32_t>(offset + pixels.Size());
        for (int i = 0; i < 4; ++i) {
            file[2 + i] = static_cast<std::uint8_t>(size >> (8 * i));
            file[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
        }
        file[0] = 'B';
        file[1] = 'M';
        file.insert(file.end(), info.Data(), info.Data() + info.Size());
        file.insert(file.end(), pixels.Data(), pixels.Data() + pixels.Size());
        const DecodedImage decoded = DecodeBmp(file);
        ASSERT_TRUE(decoded.Ok()) << bitCount;
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < image->PixelCount(); ++i) {
            wrong += ((decoded.pixels.Data()[i] ^ image->Data()[i]) & kRgbMask) != 0 ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0u) << bitCount << " bits";
    }
}

// A JPEG encoded in bands joined by restart markers decodes to the very pixels of a one-pass
// encoding by libjpeg with the same settings. With full chroma each band is checked against
// itself encoded alone (small images take one pass); with subsampled chroma the decoder
// blends chroma across band edges, so the whole image is checked against the test writer's.
TEST(JpegEncoder, BandsJoinedByRestartMarkersDecodeLikeOnePass) {
    const Bitmap image = MixedImage(600, 1000);
    for (const int quality : {95, 75}) {
        OutputBuffer whole;
        ASSERT_TRUE(EncodeJpeg(image, quality, whole));
        const std::span<const std::uint8_t> bytes = whole.Span();
        const std::uint8_t restartInterval[2] = {0xFF, 0xDD};
        ASSERT_NE(std::search(bytes.begin(), bytes.end(), restartInterval, restartInterval + 2),
                  bytes.end())
            << "not split into bands";
        const DecodedImage decoded = DecodeJpeg(bytes);
        ASSERT_TRUE(decoded.Ok());
        ASSERT_EQ(decoded.pixels.Height(), 1000);
        if (quality == 75) {
            JpegDescription description;
            description.width = image.Width();
            description.height = image.Height();
            description.quality = quality;
            for (const Pixel p : image.Pixels()) {
                description.samples.insert(
                    description.samples.end(),
                    {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                     static_cast<std::uint8_t>(p)});
            }
            const DecodedImage reference = DecodeJpeg(WriteJpeg(description));
            ASSERT_TRUE(reference.Ok());
            EXPECT_EQ(std::memcmp(reference.pixels.Data(), decoded.pixels.Data(),
                                  reference.pixels.ByteCount()),
                      0);
            continue;
        }
        for (int first = 0; first < image.Height(); first += 256) {
            const int rows = std::min(256, image.Height() - first);
            Bitmap band;
            ASSERT_TRUE(band.Create(image.Width(), rows));
            std::memcpy(band.Data(), image.Row(first), band.ByteCount());
            OutputBuffer alone;
            ASSERT_TRUE(EncodeJpeg(band, quality, alone));
            const DecodedImage reference = DecodeJpeg(alone.Span());
            ASSERT_TRUE(reference.Ok());
            EXPECT_EQ(std::memcmp(reference.pixels.Data(), decoded.pixels.Row(first),
                                  reference.pixels.ByteCount()),
                      0)
                << "rows from " << first;
        }
    }
}

TEST(ParallelFor, EveryIndexOnceOnANamedWorker) {
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{1000}}) {
        std::vector<std::atomic<int>> runs(count);
        std::atomic<bool> workerInRange{true};
        ParallelFor(count, [&](std::size_t i, unsigned worker) {
            runs[i]++;
            if (worker >= WorkersFor(count)) {
                workerInRange = false;
            }
        });
        EXPECT_TRUE(std::all_of(runs.begin(), runs.end(), [](const auto& n) { return n == 1; }))
            << count;
        EXPECT_TRUE(workerInRange);
    }
}

TEST(CountDistinctColours, WholeCountSplitOverThreadsMatchesTheNumberMade) {
    // 2^21 pixels holding exactly 70000 colours, each repeated in both halves of the image.
    Bitmap image;
    ASSERT_TRUE(image.Create(2048, 1024));
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        image.Data()[i] = (Hash(static_cast<std::uint32_t>(i)) & 0xFF000000u) |
                          static_cast<Pixel>(i % 70000 * 239);
    }
    EXPECT_EQ(CountDistinctColours(image), 70000u);
    EXPECT_EQ(CountDistinctColours(image, 256), 256u);
}

TEST(BackgroundPopulate, RacingWritesKeepTheirValues) {
    constexpr std::size_t kBytes = std::size_t{64} << 20;
    std::unique_ptr<std::uint8_t, LargeBlockDeleter> block(
        static_cast<std::uint8_t*>(AllocateLarge(kBytes)));
    ASSERT_TRUE(block);
    {
        BackgroundPopulate populate(block.get(), kBytes);
        for (std::size_t i = 0; i < kBytes; i += 997) {
            block.get()[i] = static_cast<std::uint8_t>(i / 997 | 1);
            populate.Reached(i);
        }
    }
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < kBytes; i += 997) {
        wrong += block.get()[i] != static_cast<std::uint8_t>(i / 997 | 1) ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0u);
}

#if defined(__linux__)
// Resident memory in bytes, from /proc.
std::size_t ResidentBytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long size = 0;
    unsigned long resident = 0;
    if (statm != nullptr) {
        if (std::fscanf(statm, "%lu %lu", &size, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * 4096;
}

// A file that claims a huge image and ends early must not make the whole image resident.
TEST(BackgroundPopulate, StaysALimitedDistanceAheadOfTheWriter) {
    constexpr std::size_t kBytes = std::size_t{1} << 30;
    std::unique_ptr<std::uint8_t, LargeBlockDeleter> block(
        static_cast<std::uint8_t*>(AllocateLarge(kBytes)));
    ASSERT_TRUE(block);
    const std::size_t before = ResidentBytes();
    {
        const BackgroundPopulate populate(block.get(), kBytes);
        // Long enough to map several hundred megabytes even on a slow machine.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        EXPECT_LT(ResidentBytes() - before, std::size_t{100} << 20);
    }
}
#endif

}  // namespace
}  // namespace palvex::test
