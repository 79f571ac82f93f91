#include "image/codecs/bmp_encoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "image/codecs/bmp_enc_rle.h"
#include "image/parallel.h"
#include "image/quantize/quantize.h"

namespace palvex {
namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr int kBiRgb = 0;
constexpr int kBiRle8 = 1;
constexpr int kBiRle4 = 2;
constexpr int kBiBitfields = 3;

void PutU16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
    PutU16(p, v);
    PutU16(p + 2, v >> 16);
}

bool Supported(int bitCount, int compression) {
    switch (bitCount) {
        case 1:
        case 24:
            return compression == kBiRgb;
        case 4:
            return compression == kBiRgb || compression == kBiRle4;
        case 8:
            return compression == kBiRgb || compression == kBiRle8;
        case 16:
        case 32:
            return compression == kBiBitfields;
        default:
            return false;
    }
}

bool WriteInfoBlock(const Bitmap& image, int bitCount, int compression, std::uint32_t imageSize,
                    const std::vector<Colour>& palette, OutputBuffer& out) {
    std::uint8_t header[kInfoHeaderSize] = {};
    PutU32(header, kInfoHeaderSize);
    PutU32(header + 4, static_cast<std::uint32_t>(image.Width()));
    PutU32(header + 8, static_cast<std::uint32_t>(image.Height()));
    PutU16(header + 12, 1);
    PutU16(header + 14, static_cast<std::uint32_t>(bitCount));
    PutU32(header + 16, static_cast<std::uint32_t>(compression));
    PutU32(header + 20, imageSize);
    if (!out.Append(header, sizeof(header))) {
        return false;
    }
    if (bitCount <= 8) {
        // Always the full table: some readers take the entry count from the bit count.
        const std::size_t entries = std::size_t{1} << bitCount;
        std::uint8_t* table = out.Extend(entries * 4);
        if (table == nullptr) {
            return false;
        }
        std::memset(table, 0, entries * 4);
        for (std::size_t i = 0; i < std::min(entries, palette.size()); ++i) {
            table[i * 4] = static_cast<std::uint8_t>(BlueOf(palette[i]));
            table[i * 4 + 1] = static_cast<std::uint8_t>(GreenOf(palette[i]));
            table[i * 4 + 2] = static_cast<std::uint8_t>(RedOf(palette[i]));
        }
        return true;
    }
    if (bitCount == 24) {
        return true;
    }
    std::uint8_t masks[12];
    PutU32(masks, bitCount == 16 ? 0xF800 : 0xFF0000);
    PutU32(masks + 4, bitCount == 16 ? 0x07E0 : 0xFF00);
    PutU32(masks + 8, bitCount == 16 ? 0x001F : 0xFF);
    return out.Append(masks, sizeof(masks));
}

// Packs one row of indexes, most significant bits first; the padding stays zero.
void PackIndexRow(const std::uint8_t* indices, int width, int bitCount, std::uint8_t* out) {
    if (bitCount == 8) {
        std::memcpy(out, indices, static_cast<std::size_t>(width));
        return;
    }
    const int perByte = 8 / bitCount;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bitCount * (x % perByte + 1);
        out[x / perByte] |= static_cast<std::uint8_t>(indices[x] << shift);
    }
}

void PackColourRow(const Pixel* row, int width, int bitCount, std::uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const Pixel p = row[x];
        const std::uint32_t r = p >> 16 & 0xFF;
        const std::uint32_t g = p >> 8 & 0xFF;
        const std::uint32_t b = p & 0xFF;
        switch (bitCount) {
            case 16:
                PutU16(out + 2 * x, ((r * 31 + 127) / 255) << 11 | ((g * 63 + 127) / 255) << 5 |
                                        (b * 31 + 127) / 255);
                break;
            case 24:
                out[3 * x] = static_cast<std::uint8_t>(b);
                out[3 * x + 1] = static_cast<std::uint8_t>(g);
                out[3 * x + 2] = static_cast<std::uint8_t>(r);
                break;
            default:
                // A zero fourth byte reads as transparent to some readers.
                PutU32(out + 4 * x, p | kOpaqueAlpha);
                break;
        }
    }
}

BmpConvertResult Convert(const Bitmap& image, int bitCount, int compression,
                         OutputBuffer& infoBlock, OutputBuffer& pixels) {
    if (image.IsNull() || !Supported(bitCount, compression)) {
        return BmpConvertResult::Failed;
    }
    const int width = image.Width();
    const int height = image.Height();
    const std::uint64_t rowBytes =
        (static_cast<std::uint64_t>(bitCount) * static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    const std::uint64_t dataBytes = rowBytes * static_cast<std::uint64_t>(height);
    if (dataBytes > UINT32_MAX) {
        return BmpConvertResult::Failed;
    }

    IndexedImage indexed;
    if (bitCount <= 8 && !QuantizeToPalette(image, 1 << bitCount, indexed)) {
        return BmpConvertResult::OutOfMemory;
    }
    if (compression == kBiRle8 || compression == kBiRle4) {
        if (!bmp::EncodeRle(indexed, compression == kBiRle4, pixels)) {
            return BmpConvertResult::OutOfMemory;
        }
        if (pixels.Size() > UINT32_MAX) {
            return BmpConvertResult::Failed;
        }
    } else {
        std::uint8_t* data = pixels.Extend(static_cast<std::size_t>(dataBytes));
        if (data == nullptr) {
            return BmpConvertResult::OutOfMemory;
        }
        // Bands of rows on every core; each row is cleared first (index bits are or'ed in,
        // and the padding stays zero).
        const auto bandRows = static_cast<int>(
            std::clamp<std::uint64_t>((std::uint64_t{1} << 20) / rowBytes, 1, 1 << 20));
        const auto bands = static_cast<std::size_t>((height + bandRows - 1) / bandRows);
        ParallelFor(bands, [&](std::size_t band, unsigned /*worker*/) {
            const int first = static_cast<int>(band) * bandRows;
            for (int y = first; y < std::min(height, first + bandRows); ++y) {
                std::uint8_t* out = data + static_cast<std::size_t>(height - 1 - y) * rowBytes;
                std::memset(out, 0, static_cast<std::size_t>(rowBytes));
                if (bitCount <= 8) {
                    PackIndexRow(indexed.indices.get() + static_cast<std::size_t>(y) * width, width,
                                 bitCount, out);
                } else {
                    PackColourRow(image.Row(y), width, bitCount, out);
                }
            }
        });
    }
    return WriteInfoBlock(image, bitCount, compression, static_cast<std::uint32_t>(pixels.Size()),
                          indexed.palette, infoBlock)
               ? BmpConvertResult::Ok
               : BmpConvertResult::OutOfMemory;
}

}  // namespace

BmpConvertResult ConvertToPlainBmp(const Bitmap& image, int bitCount, int compression,
                                   OutputBuffer& infoBlock, OutputBuffer& pixels) {
    infoBlock.Clear();
    pixels.Clear();
    const BmpConvertResult result = Convert(image, bitCount, compression, infoBlock, pixels);
    if (result != BmpConvertResult::Ok) {
        infoBlock.Clear();
        pixels.Clear();
    }
    return result;
}

}  // namespace palvex
