#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "image/bitmap.h"

namespace palvex::test {

// An 8-bit RGBA PNG of the bitmap's pixels (straight alpha), for inspection and simple inputs.
std::vector<std::uint8_t> EncodeRgbaPng(const Bitmap& image);

// Any PNG libpng can write, described sample by sample.
struct PngDescription {
    int width = 0;
    int height = 0;
    int colourType = 6;       // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    int bitDepth = 8;         // 1, 2, 4, 8 or 16, as the colour type allows
    bool interlaced = false;  // Adam7
    // Row-major, top row first, the channels of each pixel in file order (grey: G; RGB: R,G,B;
    // palette: the index; grey+alpha: G,A; RGBA: R,G,B,A). Each value is the stored sample at
    // the given bit depth (0..2^bitDepth - 1); the writer packs and byte-swaps as needed.
    std::vector<std::uint16_t> samples;
    std::vector<std::array<std::uint8_t, 3>> palette;  // PLTE entries, R,G,B
    // tRNS: palette alphas (one per entry from 0, may be fewer than the palette), or the one
    // transparent grey value, or the three transparent R,G,B values. Empty: no tRNS chunk.
    std::vector<std::uint16_t> trns;
    // bKGD: one value (grey level or palette index) or three (R,G,B). Empty: no bKGD chunk.
    std::vector<std::uint16_t> bkgd;
};

// The file bytes, written by libpng to memory; empty if libpng refuses the description.
std::vector<std::uint8_t> WritePng(const PngDescription& desc);

// Byte-level helpers for hand-made faults.

// One complete chunk: length, type, data and CRC. The type must be four characters.
std::vector<std::uint8_t> PngChunk(std::string_view type, const std::vector<std::uint8_t>& data);

// The offset of the first chunk of the given type (of its length field), or npos.
std::size_t FindPngChunk(const std::vector<std::uint8_t>& png, std::string_view type);

// The file with `chunk` (a complete chunk from PngChunk) inserted before the first chunk of
// type `before`; unchanged if there is no such chunk.
std::vector<std::uint8_t> InsertPngChunk(const std::vector<std::uint8_t>& png,
                                         std::string_view before,
                                         const std::vector<std::uint8_t>& chunk);

// The 8-byte PNG signature.
std::vector<std::uint8_t> PngSignature();

// A zlib stream that inflates to `mebibytes` MiB of zero bytes (about 1 KiB of stream a MiB),
// built without compressing all of it: for decompression-bomb tests.
std::vector<std::uint8_t> ZlibZeros(std::uint32_t mebibytes);

}  // namespace palvex::test
