#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/colour.h"

namespace palvex::test {

// The info header to write; the value is its size in bytes.
enum class BmpHeader : std::uint32_t {
    Core = 12,      // OS/2 1.x: 16-bit width and height, 3-byte palette entries, no compression
    Os2Short = 16,  // OS/2 2.x cut after the bit count
    Os2 = 64,       // OS/2 2.x, 4-byte palette entries
    Info = 40,      // BITMAPINFOHEADER; bit-field masks follow it as 3 (or 4) DWORDs
    Info52 = 52,    // with red, green, blue masks inside
    Info56 = 56,    // with red, green, blue, alpha masks inside
    V4 = 108,
    V5 = 124,
};

inline constexpr std::uint32_t kBmpRgb = 0;
inline constexpr std::uint32_t kBmpRle8 = 1;
inline constexpr std::uint32_t kBmpRle4 = 2;
inline constexpr std::uint32_t kBmpBitfields = 3;
inline constexpr std::uint32_t kBmpJpeg = 4;
inline constexpr std::uint32_t kBmpPng = 5;
inline constexpr std::uint32_t kBmpAlphaBitfields = 6;

// Everything a BMP file says, with overrides to build broken ones. The defaults give a valid
// 1x1 24-bit file with a BITMAPINFOHEADER. A 2x1 32-bit BI_RGB file whose first pixel's fourth
// byte is 237: WriteBmp({.width = 2, .bitCount = 32, .values = {0xED112233, 0x00445566}}).
struct BmpDescription {
    BmpHeader header = BmpHeader::Info;
    std::int32_t width = 1;
    std::int32_t height = 1;  // negative: rows stored top-down (Core writes the low 16 bits)
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = kBmpRgb;  // not written by Core and Os2Short

    // Entries as 0xAARRGGBB, written B, G, R and (except Core) the top byte as the reserved one.
    std::vector<Pixel> palette{};
    // biClrUsed; by default palette.size().
    std::optional<std::uint32_t> colorsUsed{};

    // Red, green, blue, alpha. Written into V4, V5, Info52 and Info56 headers whatever the
    // compression; after an Info header only for BI_BITFIELDS (3) and BI_ALPHABITFIELDS (4).
    std::array<std::uint32_t, 4> masks{};

    // The pixels, top-down, width x |height| values: palette indexes up to 8 bits, else the raw
    // 16- or 32-bit little-endian value, or 0xRRGGBB for 24 bits; missing ones are zero. Packed
    // by PackBmpRows in the order the height's sign gives. Ignored when pixelBytes is set.
    std::vector<std::uint32_t> values{};
    // Written verbatim as the pixel data: hand-packed rows or an RLE stream (see BmpRle).
    std::optional<std::vector<std::uint8_t>> pixelBytes{};

    // Zero bytes between the palette and the pixel data (counted in the default offset).
    std::uint32_t gap = 0;
    std::optional<std::uint32_t> pixelOffset{};  // bfOffBits; by default where the pixels start
    std::optional<std::uint32_t> imageSize{};    // biSizeImage; by default the pixel byte count
    std::optional<std::uint32_t> fileSize{};     // bfSize; by default the real size
};

std::vector<std::uint8_t> WriteBmp(const BmpDescription& desc);

// Rows of `values` (top-down, width x |height|) packed as stored: bottom row first when height
// is positive, each row padded to 4 bytes. Bit counts 1, 2, 4, 8, 16, 24 and 32; empty for a
// width or bit count below 1.
std::vector<std::uint8_t> PackBmpRows(int width, int height, int bitCount,
                                      const std::vector<std::uint32_t>& values);

// Builds an RLE8 or RLE4 stream one instruction at a time.
class BmpRle {
public:
    // An encoded run. For RLE4 `value` holds two indexes (high nibble first) that alternate.
    BmpRle& Run(int count, int value);
    // An absolute run of 8-bit indexes, padded to an even byte count.
    BmpRle& Absolute8(const std::vector<int>& indexes);
    // An absolute run of 4-bit indexes, two a byte, padded to an even byte count.
    BmpRle& Absolute4(const std::vector<int>& indexes);
    BmpRle& EndOfLine();
    BmpRle& Delta(int dx, int dy);
    BmpRle& EndOfBitmap();
    // Raw bytes, for streams no encoder would write.
    BmpRle& Bytes(const std::vector<std::uint8_t>& bytes);

    const std::vector<std::uint8_t>& Stream() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace palvex::test
