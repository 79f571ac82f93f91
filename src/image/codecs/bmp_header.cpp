#include "image/codecs/bmp_header.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace palvex::bmp {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV5HeaderSize = 124;

enum class HeaderKind { Core, Os2, Windows };

// Fields past the end of a short header read as zero, which is what the OS/2 2.x short forms
// mean by leaving them out.
class HeaderFields {
public:
    HeaderFields(const std::uint8_t* base, std::uint32_t size) : base_(base), size_(size) {}
    std::uint16_t U16(std::uint32_t offset) const {
        return offset + 2 <= size_ ? ReadU16(base_ + offset) : 0;
    }
    std::uint32_t U32(std::uint32_t offset) const {
        return offset + 4 <= size_ ? ReadU32(base_ + offset) : 0;
    }

private:
    const std::uint8_t* base_;
    std::uint32_t size_;
};

bool KindOfHeader(std::uint32_t size, HeaderKind& kind) {
    switch (size) {
        case kCoreHeaderSize:
            kind = HeaderKind::Core;
            return true;
        case kInfoHeaderSize:
        case 52:
        case 56:
        case 108:
        case kV5HeaderSize:
            kind = HeaderKind::Windows;
            return true;
        default:
            // OS/2 2.x headers may stop after any field from the bit count on.
            if (size >= 16 && size <= 64) {
                kind = HeaderKind::Os2;
                return true;
            }
            return false;
    }
}

bool IsContiguous(std::uint32_t mask) {
    if (mask == 0) {
        return true;
    }
    const std::uint32_t low = mask & (~mask + 1);  // lowest set bit
    const std::uint64_t shifted = static_cast<std::uint64_t>(mask) + low;
    // Adding the lowest bit to a single run of ones clears the whole run.
    return (shifted & mask) == 0;
}

// Chooses the pixel layout for the bit count and compression; false when the pair is not one
// this decoder reads.
bool ChooseLayout(int bitCount, std::uint32_t compression, HeaderKind kind, PixelLayout& layout) {
    if (kind != HeaderKind::Windows && compression > kBiRle4) {
        return false;  // OS/2 uses 3 and 4 for Huffman and RLE24
    }
    switch (compression) {
        case kBiRgb:
            switch (bitCount) {
                case 1:
                case 2:
                case 4:
                case 8:
                    layout = PixelLayout::Indexed;
                    return true;
                case 16:
                case 32:
                    layout = PixelLayout::Bitfields;
                    return true;
                case 24:
                    layout = PixelLayout::Rgb24;
                    return true;
                default:
                    return false;
            }
        case kBiRle8:
            layout = PixelLayout::Rle8;
            return bitCount == 8;
        case kBiRle4:
            layout = PixelLayout::Rle4;
            return bitCount == 4;
        case kBiBitfields:
        case kBiAlphaBitfields:
            layout = PixelLayout::Bitfields;
            return bitCount == 16 || bitCount == 32;
        default:
            return false;  // JPEG, PNG and the CMYK variants
    }
}

}  // namespace

DecodeStatus ParseBmpHeaders(std::span<const std::uint8_t> file, BmpLayout& out) {
    if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') {
        return DecodeStatus::Corrupt;
    }
    const std::uint32_t pixelOffset = ReadU32(file.data() + 10);
    const std::uint32_t headerSize = ReadU32(file.data() + kFileHeaderSize);
    HeaderKind kind;
    if (!KindOfHeader(headerSize, kind) || file.size() - kFileHeaderSize < headerSize) {
        return DecodeStatus::Corrupt;
    }
    const HeaderFields header(file.data() + kFileHeaderSize, headerSize);

    std::int64_t width;
    std::int64_t height;
    std::uint32_t planes;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    if (kind == HeaderKind::Core) {
        width = header.U16(4);
        height = header.U16(6);
        planes = header.U16(8);
        out.bitCount = header.U16(10);
    } else {
        width = static_cast<std::int32_t>(header.U32(4));
        height = static_cast<std::int32_t>(header.U32(8));
        planes = header.U16(12);
        out.bitCount = header.U16(14);
        compression = header.U32(16);
        colorsUsed = header.U32(32);
    }
    if (width <= 0 || height == 0 || planes != 1 ||
        !ChooseLayout(out.bitCount, compression, kind, out.layout)) {
        return DecodeStatus::Corrupt;
    }
    out.topDown = height < 0;
    height = std::abs(height);
    const bool rle = out.layout == PixelLayout::Rle8 || out.layout == PixelLayout::Rle4;
    // Bitmap sizes are int; anything near these bounds is refused by the pixel limit anyway.
    if ((out.topDown && rle) || height > INT32_MAX) {
        return DecodeStatus::Corrupt;
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);

    std::uint64_t paletteStart = kFileHeaderSize + std::uint64_t{headerSize};
    out.masks = {};
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        if (headerSize == kInfoHeaderSize) {
            // A plain info header is followed by the masks instead of holding them.
            const std::uint64_t count = compression == kBiAlphaBitfields ? 4 : 3;
            if (paletteStart + count * 4 > file.size()) {
                return DecodeStatus::Corrupt;
            }
            for (std::uint64_t i = 0; i < count; ++i) {
                out.masks[i] = ReadU32(file.data() + paletteStart + i * 4);
            }
            paletteStart += count * 4;
        } else {
            out.masks = {header.U32(40), header.U32(44), header.U32(48), header.U32(52)};
        }
        for (const std::uint32_t mask : out.masks) {
            if (!IsContiguous(mask)) {
                return DecodeStatus::Corrupt;
            }
        }
    } else if (out.bitCount == 16) {
        out.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (out.bitCount == 32) {
        out.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    }

    if (pixelOffset < paletteStart || pixelOffset >= file.size()) {
        return DecodeStatus::Corrupt;
    }
    out.pixelOffset = pixelOffset;

    out.palette.fill(kOpaqueAlpha);
    if (out.bitCount <= 8) {
        const std::uint64_t entrySize = kind == HeaderKind::Core ? 3 : 4;
        const std::uint64_t tableSize = std::uint64_t{1} << out.bitCount;
        std::uint64_t count =
            colorsUsed == 0 ? tableSize : std::min<std::uint64_t>(colorsUsed, tableSize);
        // The palette ends where the pixels begin.
        count = std::min(count, (pixelOffset - paletteStart) / entrySize);
        const std::uint8_t* entry = file.data() + paletteStart;
        for (std::uint64_t i = 0; i < count; ++i, entry += entrySize) {
            out.palette[i] = kOpaqueAlpha | static_cast<Pixel>(entry[2]) << 16 |
                             static_cast<Pixel>(entry[1]) << 8 | entry[0];
        }
    }
    return DecodeStatus::Ok;
}

}  // namespace palvex::bmp
