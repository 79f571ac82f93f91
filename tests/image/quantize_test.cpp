#include "image/quantize/quantize.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "image/quantize/palette_search.h"
#include "support/png_writer.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

constexpr Pixel PixelOf(int r, int g, int b) {
    return kOpaqueAlpha | static_cast<Pixel>(r) << 16 | static_cast<Pixel>(g) << 8 |
           static_cast<Pixel>(b);
}

int Clamp255(double v) {
    return static_cast<int>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
}

// Smooth gradients, soft-edged blobs of colour, a little texture and sensor-like noise.
Bitmap PhotoLike(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    struct Blob {
        double x, y, radius, r, g, b;
    };
    std::vector<Blob> blobs;
    for (int i = 0; i < 7; ++i) {
        blobs.push_back({random() % 1000 / 1000.0 * width, random() % 1000 / 1000.0 * height,
                         (0.1 + random() % 1000 / 4000.0) * width, double(random() % 256),
                         double(random() % 256), double(random() % 256)});
    }
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            const double v = double(y) / height;
            double r = 40 + 150 * v + 20 * std::sin(u * 9);
            double g = 90 + 100 * u * v;
            double b = 200 - 120 * v + 15 * std::cos(v * 13 + u * 5);
            for (const Blob& blob : blobs) {
                const double d = std::hypot(x - blob.x, y - blob.y) / blob.radius;
                const double weight = 1.0 / (1.0 + std::exp((d - 1.0) * 8));  // soft edge
                r += (blob.r - r) * weight;
                g += (blob.g - g) * weight;
                b += (blob.b - b) * weight;
            }
            const double noise = static_cast<int>(random() % 17) - 8;
            image.Row(y)[x] =
                PixelOf(Clamp255(r + noise), Clamp255(g + noise * 0.8), Clamp255(b + noise * 1.2));
        }
    }
    return image;
}

Bitmap Reconstruct(const IndexedImage& indexed) {
    Bitmap out;
    EXPECT_TRUE(out.Create(indexed.width, indexed.height));
    for (std::size_t i = 0; i < out.PixelCount(); ++i) {
        out.Data()[i] = PixelFromColour(indexed.palette.at(indexed.indices[i]));
    }
    return out;
}

int Distance(Pixel p, Colour c) {
    const int dr = static_cast<int>(p >> 16 & 0xFF) - RedOf(c);
    const int dg = static_cast<int>(p >> 8 & 0xFF) - GreenOf(c);
    const int db = static_cast<int>(p & 0xFF) - BlueOf(c);
    return dr * dr + dg * dg + db * db;
}

// Per-channel mean squared error over all pixels.
double MeanError(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.PixelCount(); ++i) {
        sum += Distance(a.Data()[i], ColourFromPixel(b.Data()[i]));
    }
    return sum / (3.0 * static_cast<double>(a.PixelCount()));
}

// Every pixel must map to an entry no farther than any other.
void ExpectNearest(const Bitmap& image, const IndexedImage& indexed) {
    ASSERT_EQ(indexed.width, image.Width());
    ASSERT_EQ(indexed.height, image.Height());
    int failures = 0;
    for (std::size_t i = 0; i < image.PixelCount() && failures < 5; ++i) {
        const Pixel p = image.Data()[i];
        int best = INT32_MAX;
        for (const Colour c : indexed.palette) {
            best = std::min(best, Distance(p, c));
        }
        const int got = Distance(p, indexed.palette.at(indexed.indices[i]));
        if (got != best) {
            ADD_FAILURE() << "pixel " << i << " maps at distance " << got << ", nearest is "
                          << best;
            ++failures;
        }
    }
}

Bitmap RandomColours(int width, int height, unsigned seed, int distinct) {
    std::mt19937 random(seed);
    std::vector<Pixel> colours;
    for (int i = 0; i < distinct; ++i) {
        colours.push_back(kOpaqueAlpha | (random() & kRgbMask));
    }
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    for (Pixel& p : image.Pixels()) {
        p = colours[random() % colours.size()];
    }
    return image;
}

std::size_t DistinctCount(const Bitmap& image) {
    std::set<Pixel> seen;
    for (const Pixel p : image.Pixels()) {
        seen.insert(p & kRgbMask);
    }
    return seen.size();
}

TEST(QuantizeExact, KeepsEveryColourInOrderOfAppearance) {
    // Runs, repeats and a colour differing only in the fourth byte.
    const Bitmap image = MakeBitmap(4, 2,
                                    {0xFF102030, 0xFF102030, 0xFFFFFFFF, 0x00102030,  //
                                     0xFF000000, 0x12FFFFFF, 0xFF000000, 0xFFABCDEF});
    IndexedImage indexed;
    ASSERT_TRUE(QuantizeToPalette(image, 4, indexed));
    EXPECT_EQ(indexed.palette, (std::vector<Colour>{Rgb(0x10, 0x20, 0x30), Rgb(255, 255, 255),
                                                    Rgb(0, 0, 0), Rgb(0xAB, 0xCD, 0xEF)}));
    EXPECT_TRUE(SameBitmaps(image, Reconstruct(indexed), "exact4", true));
}

TEST(QuantizeExact, ExactAtEveryPaletteSize) {
    for (const int colours : {1, 2, 16, 255, 256}) {
        const Bitmap image = RandomColours(61, 47, static_cast<unsigned>(colours), colours);
        const std::size_t distinct = DistinctCount(image);
        for (const int maxColours : {2, 16, 256}) {
            if (static_cast<int>(distinct) > maxColours) {
                continue;
            }
            IndexedImage indexed;
            ASSERT_TRUE(QuantizeToPalette(image, maxColours, indexed));
            EXPECT_EQ(indexed.palette.size(), distinct) << colours << " into " << maxColours;
            EXPECT_TRUE(SameBitmaps(image, Reconstruct(indexed), "exact", true))
                << colours << " into " << maxColours;
        }
    }
}

TEST(QuantizeExact, OutOfRangeLimitsAreClamped) {
    const Bitmap image = RandomColours(40, 40, 7, 3);
    IndexedImage indexed;
    ASSERT_TRUE(QuantizeToPalette(image, 1, indexed));
    EXPECT_EQ(indexed.palette.size(), 2u);
    ExpectNearest(image, indexed);
    ASSERT_TRUE(QuantizeToPalette(RandomColours(40, 40, 8, 300), 1000, indexed));
    EXPECT_LE(indexed.palette.size(), 256u);
}

TEST(QuantizeExact, NullImageGivesEmptyResult) {
    IndexedImage indexed;
    ASSERT_TRUE(QuantizeToPalette(Bitmap{}, 16, indexed));
    EXPECT_TRUE(indexed.palette.empty());
    EXPECT_EQ(indexed.indices, nullptr);
}

// Just over the limit, a few thousand colours, and a histogram-sized number of them.
TEST(QuantizeReduced, EveryPixelMapsToItsNearestEntry) {
    struct Case {
        int distinct;
        int maxColours;
    };
    for (const Case c : {Case{3, 2}, Case{17, 16}, Case{257, 256}, Case{3000, 256}, Case{3000, 16},
                         Case{60000, 256}, Case{60000, 2}}) {
        const Bitmap image = RandomColours(120, 90, static_cast<unsigned>(c.distinct), c.distinct);
        IndexedImage indexed;
        ASSERT_TRUE(QuantizeToPalette(image, c.maxColours, indexed));
        EXPECT_LE(indexed.palette.size(), static_cast<std::size_t>(c.maxColours));
        EXPECT_GE(indexed.palette.size(), 2u);
        SCOPED_TRACE(std::to_string(c.distinct) + " into " + std::to_string(c.maxColours));
        ExpectNearest(image, indexed);
    }
}

TEST(QuantizeReduced, PhotoPaletteUsesTheColoursAvailable) {
    const Bitmap image = PhotoLike(200, 150, 3);
    IndexedImage indexed;
    ASSERT_TRUE(QuantizeToPalette(image, 256, indexed));
    EXPECT_GT(indexed.palette.size(), 240u);
    ExpectNearest(image, indexed);
    // Two clusters far apart must get at least one entry each.
    Bitmap twoClusters = SolidBitmap(100, 100, 0);
    std::mt19937 random(9);
    for (std::size_t i = 0; i < twoClusters.PixelCount(); ++i) {
        const int base = i % 2 == 0 ? 20 : 220;
        twoClusters.Data()[i] = PixelOf(base + static_cast<int>(random() % 16),
                                        base + static_cast<int>(random() % 16), base);
    }
    ASSERT_TRUE(QuantizeToPalette(twoClusters, 2, indexed));
    ASSERT_EQ(indexed.palette.size(), 2u);
    EXPECT_LT(MeanError(twoClusters, Reconstruct(indexed)), 30.0);
}

// The reserved colour's entry is used by its pixels and by no other, on every path: exact,
// reduced from the colours, reduced from the histogram.
TEST(QuantizeReserved, TheReservedEntryBelongsToItsPixelsAlone) {
    const Colour key = Rgb(0x40, 0x50, 0x60);
    for (const int distinct : {40, 300, 3000, 60000}) {
        SCOPED_TRACE(distinct);
        Bitmap image = RandomColours(120, 90, static_cast<unsigned>(distinct), distinct);
        for (std::size_t i = 0; i < image.PixelCount(); i += 7) {
            // The key, and beside it neighbours that a reduction would gladly merge with it.
            image.Data()[i] =
                i % 2 == 0 ? PixelFromColour(key) : PixelFromColour(key) ^ (1u << (i / 7 % 24));
        }
        IndexedImage indexed;
        ASSERT_TRUE(QuantizeToPalette(image, 256, indexed, key));
        ASSERT_GE(indexed.reservedIndex, 0);
        ASSERT_LE(indexed.palette.size(), 256u);
        EXPECT_EQ(indexed.palette[static_cast<std::size_t>(indexed.reservedIndex)], key);
        EXPECT_EQ(std::count(indexed.palette.begin(), indexed.palette.end(), key), 1);
        int wrong = 0;
        for (std::size_t i = 0; i < image.PixelCount(); ++i) {
            wrong += (indexed.indices[i] == indexed.reservedIndex) !=
                     (ColourFromPixel(image.Data()[i]) == key);
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(QuantizeReserved, AReducedEntryEqualToTheKeyMovesOff) {
    // The two neighbours average exactly to the key, and one entry is all they get.
    const Colour key = Rgb(100, 100, 100);
    const Bitmap image =
        MakeBitmap(3, 1, {PixelOf(101, 100, 100), PixelOf(99, 100, 100), PixelFromColour(key)});
    IndexedImage indexed;
    ASSERT_TRUE(QuantizeToPalette(image, 2, indexed, key));
    ASSERT_EQ(indexed.palette.size(), 2u);
    EXPECT_EQ(indexed.reservedIndex, 1);
    EXPECT_NE(indexed.palette[0], key);
    EXPECT_EQ(indexed.indices[0], 0);
    EXPECT_EQ(indexed.indices[1], 0);
    EXPECT_EQ(indexed.indices[2], 1);
}

TEST(QuantizeReserved, AnAbsentKeyReservesNothing) {
    const Bitmap image = RandomColours(30, 30, 5, 300);
    IndexedImage plain;
    IndexedImage reserved;
    ASSERT_TRUE(QuantizeToPalette(image, 256, plain));
    ASSERT_TRUE(QuantizeToPalette(image, 256, reserved, Rgb(1, 2, 3)));
    EXPECT_EQ(reserved.reservedIndex, -1);
    EXPECT_EQ(reserved.palette, plain.palette);
}

// The cell candidate lists against a plain scan, with palettes that make pruning hard:
// crowded, duplicated, and all in one corner.
TEST(PaletteSearch, MatchesExhaustiveSearch) {
    std::mt19937 random(11);
    std::vector<std::vector<Colour>> palettes;
    palettes.push_back({Rgb(0, 0, 0)});
    palettes.push_back({Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(0, 0, 0)});
    std::vector<Colour> corner;
    std::vector<Colour> spread;
    std::vector<Colour> crowded;
    for (int i = 0; i < 256; ++i) {
        corner.push_back(Rgb(static_cast<int>(random() % 8), static_cast<int>(random() % 8),
                             static_cast<int>(random() % 8)));
        spread.push_back(static_cast<Colour>(random() & 0xFFFFFF));
        crowded.push_back(
            Rgb(120 + static_cast<int>(random() % 12), 60, 200 + static_cast<int>(i % 4)));
    }
    palettes.push_back(corner);
    palettes.push_back(spread);
    palettes.push_back(crowded);
    for (std::size_t k = 0; k < palettes.size(); ++k) {
        const std::vector<Colour>& palette = palettes[k];
        quant::PaletteSearch search;
        ASSERT_TRUE(search.Init(palette));
        for (int n = 0; n < 6000; ++n) {
            const std::uint32_t rgb = random() & 0xFFFFFF;
            const Pixel p = kOpaqueAlpha | rgb;
            int best = INT32_MAX;
            for (const Colour c : palette) {
                best = std::min(best, Distance(p, c));
            }
            const int index = search.Nearest(rgb);
            ASSERT_LT(static_cast<std::size_t>(index), palette.size());
            ASSERT_EQ(Distance(p, palette[static_cast<std::size_t>(index)]), best)
                << "palette " << k << " colour " << std::hex << rgb;
        }
        EXPECT_FALSE(search.Failed());
    }
}

// ImageMagick's own reduction (no dithering) sets the bar for mean error.
TEST(QuantizeQuality, NoWorseThanImageMagick) {
    if (!std::filesystem::exists("/usr/bin/convert")) {
        GTEST_SKIP() << "/usr/bin/convert is not installed";
    }
    TempDir dir;
    const Bitmap image = PhotoLike(256, 256, 1);
    const auto input = dir.File("photo.png");
    WriteFileBytes(input, EncodeRgbaPng(image));
    for (const int colours : {2, 16, 256}) {
        const auto output = dir.File("reduced" + std::to_string(colours) + ".png");
        const std::string command = "/usr/bin/convert '" + input.string() + "' +dither -colors " +
                                    std::to_string(colours) + " '" + output.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const DecodedImage theirs = DecodePng(ReadFileBytes(output));
        ASSERT_TRUE(theirs.Ok());
        ASSERT_LE(DistinctCount(theirs.pixels), static_cast<std::size_t>(colours));

        IndexedImage ours;
        ASSERT_TRUE(QuantizeToPalette(image, colours, ours));
        const double ourError = MeanError(image, Reconstruct(ours));
        const double theirError = MeanError(image, theirs.pixels);
        EXPECT_LE(ourError, theirError) << colours << " colours";
        RecordProperty("colours" + std::to_string(colours),
                       std::to_string(ourError) + " vs " + std::to_string(theirError));
        std::printf("%d colours: mean error %.2f, ImageMagick %.2f\n", colours, ourError,
                    theirError);
    }
}

}  // namespace
}  // namespace palvex::test
