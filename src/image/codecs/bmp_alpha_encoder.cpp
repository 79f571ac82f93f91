#include <cstdint>

#include "image/codecs/encoder.h"
#include "image/codecs/key_enc_rows.h"

namespace palvex {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dpi

std::uint8_t* PutU16(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    return p + 2;
}

std::uint8_t* PutU32(std::uint8_t* p, std::uint32_t value) {
    p = PutU16(p, value & 0xFFFF);
    return PutU16(p, value >> 16);
}

}  // namespace

bool EncodeBmpWithAlpha(const Bitmap& image, Colour alphaKey, OutputBuffer& out) {
    out.Clear();
    if (image.IsNull()) {
        return false;
    }
    // At most 2^28 pixels, so the sizes fit the 32-bit fields.
    const auto pixelBytes = static_cast<std::uint32_t>(image.ByteCount());
    const std::uint32_t fileSize = kPixelOffset + pixelBytes;
    std::uint8_t* p = out.Extend(fileSize);
    if (p == nullptr) {
        out.Clear();
        return false;
    }

    *p++ = 'B';
    *p++ = 'M';
    p = PutU32(p, fileSize);
    p = PutU32(p, 0);  // reserved
    p = PutU32(p, kPixelOffset);

    p = PutU32(p, kInfoHeaderSize);
    p = PutU32(p, static_cast<std::uint32_t>(image.Width()));
    p = PutU32(p, static_cast<std::uint32_t>(image.Height()));  // positive: bottom-up
    p = PutU16(p, 1);                                           // planes
    p = PutU16(p, 32);
    p = PutU32(p, 0);  // BI_RGB
    // Optional for BI_RGB, but the loader sizes its scan for transparent pixels by it.
    p = PutU32(p, pixelBytes);
    p = PutU32(p, kPixelsPerMetre);
    p = PutU32(p, kPixelsPerMetre);
    p = PutU32(p, 0);  // colours used
    p = PutU32(p, 0);  // colours important

    const EncodeKey key = MakeEncodeKey(alphaKey);
    for (int y = image.Height() - 1; y >= 0; --y) {
        const Pixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            const Pixel pixel = row[x];
            p[0] = static_cast<std::uint8_t>(pixel);
            p[1] = static_cast<std::uint8_t>(pixel >> 8);
            p[2] = static_cast<std::uint8_t>(pixel >> 16);
            p[3] = AlphaFor(pixel, key);
        }
    }
    return true;
}

}  // namespace palvex
