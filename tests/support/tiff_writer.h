#pragma once

#include <cstdint>
#include <vector>

namespace palvex::test {

enum class TiffPhotometric { MinIsWhite, MinIsBlack, Rgb, Palette, Separated, YCbCr };
enum class TiffCompression { None, Lzw, Deflate, PackBits, Jpeg };

// What the first extra sample (the one after the colour samples) holds. None writes no
// ExtraSamples tag at all, so any samples beyond the colour ones go undeclared.
enum class TiffExtraSample { None, Unspecified, Associated, Unassociated };

// One single-page TIFF, written by libtiff (little-endian).
//
// `samples` are row-major, samplesPerPixel values a pixel, each in 0..2^bitsPerSample-1: the
// colour samples of the photometric (1 for grey and palette, 3 for RGB and YCbCr, 4 for CMYK)
// followed by the extra samples. The writer packs them (sub-byte samples MSB first, rows padded
// to a byte) and reorders them into planes when `planar`. Palette images need `palette`: the
// 2^bitsPerSample red values, then the greens, then the blues, 16 bits each.
//
// YCbCr: with Jpeg compression the samples are RGB and libjpeg converts them (2x2 subsampled);
// otherwise they are Y, Cb, Cr stored without subsampling.
struct TiffDescription {
    int width = 0;
    int height = 0;
    TiffPhotometric photometric = TiffPhotometric::Rgb;
    int bitsPerSample = 8;
    int samplesPerPixel = 3;
    TiffExtraSample extraSample = TiffExtraSample::None;
    bool planar = false;
    bool tiled = false;
    int tileWidth = 16;  // multiples of 16
    int tileHeight = 16;
    int rowsPerStrip = 0;  // 0: a few rows, so that most images have several strips
    TiffCompression compression = TiffCompression::None;
    int jpegQuality = 95;
    int orientation = 1;  // the TIFF Orientation value, 1..8
    bool signedSamples =
        false;  // SampleFormat 2 (two's complement); the values are written as given
    std::vector<std::uint16_t> samples;
    std::vector<std::uint16_t> palette;
};

// The file's bytes; empty when libtiff refuses the combination.
std::vector<std::uint8_t> WriteTiff(const TiffDescription& desc);

}  // namespace palvex::test
