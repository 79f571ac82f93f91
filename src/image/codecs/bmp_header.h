#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/codecs/decoder.h"

// Private to the BMP decoder: the file's headers reduced to what the pixel conversion needs.
namespace palvex::bmp {

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;
inline constexpr std::uint32_t kBiAlphaBitfields = 6;

inline std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

enum class PixelLayout {
    Indexed,    // 1, 2, 4 or 8 bits through the palette
    Rle8,       // run-length encoded, 8-bit indexes
    Rle4,       // run-length encoded, 4-bit indexes
    Rgb24,      // B, G, R bytes
    Bitfields,  // 16 or 32 bits split by the masks (also the BI_RGB 16- and 32-bit layouts)
};

struct BmpLayout {
    int width = 0;
    int height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bitCount = 0;
    PixelLayout layout = PixelLayout::Indexed;
    // Red, green, blue, alpha. A zero alpha mask means opaque.
    std::array<std::uint32_t, 4> masks{};
    // Indexes past the file's palette read as opaque black, so every index has an entry.
    std::array<Pixel, 256> palette{};
    std::size_t pixelOffset = 0;
};

// Reads and validates the file and info headers, masks and palette. Corrupt for anything this
// decoder does not handle; the size limits and the pixel data are the caller's to check.
DecodeStatus ParseBmpHeaders(std::span<const std::uint8_t> file, BmpLayout& out);

}  // namespace palvex::bmp
