#include "support/bmp_writer.h"

#include <cstdlib>

#include "support/test_support.h"

namespace palvex::test {
namespace {

void PutByte(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
}

bool MasksInsideHeader(BmpHeader header) {
    return header == BmpHeader::Info52 || header == BmpHeader::Info56 || header == BmpHeader::V4 ||
           header == BmpHeader::V5;
}

void WriteInfoHeader(std::vector<std::uint8_t>& out, const BmpDescription& desc,
                     std::uint32_t colorsUsed, std::uint32_t imageSize) {
    const auto size = static_cast<std::uint32_t>(desc.header);
    const std::size_t start = out.size();
    PutU32(out, size);
    if (desc.header == BmpHeader::Core) {
        PutU16(out, static_cast<std::uint16_t>(desc.width));
        PutU16(out, static_cast<std::uint16_t>(desc.height));
        PutU16(out, desc.planes);
        PutU16(out, desc.bitCount);
        return;
    }
    PutU32(out, static_cast<std::uint32_t>(desc.width));
    PutU32(out, static_cast<std::uint32_t>(desc.height));
    PutU16(out, desc.planes);
    PutU16(out, desc.bitCount);
    if (desc.header == BmpHeader::Os2Short) {
        return;
    }
    PutU32(out, desc.compression);
    PutU32(out, imageSize);
    PutU32(out, 2835);  // 72 dpi
    PutU32(out, 2835);
    PutU32(out, colorsUsed);
    PutU32(out, 0);  // important colours
    if (MasksInsideHeader(desc.header)) {
        const int count = desc.header == BmpHeader::Info52 ? 3 : 4;
        for (int i = 0; i < count; ++i) {
            PutU32(out, desc.masks[i]);
        }
    }
    if (desc.header == BmpHeader::V4 || desc.header == BmpHeader::V5) {
        PutU32(out, 0x73524742);  // 'sRGB'
    }
    // Colour space end points, gamma, V5 intent and profile fields, OS/2 extras: all zero.
    out.resize(start + size, 0);
}

}  // namespace

std::vector<std::uint8_t> PackBmpRows(int width, int height, int bitCount,
                                      const std::vector<std::uint32_t>& values) {
    if (width <= 0 || bitCount <= 0) {
        return {};  // nothing sensible to pack for files meant to be refused
    }
    const int rows = std::abs(height);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    // Missing values pack as zero, so a short list still gives whole rows.
    const auto at = [&](int x, int y) {
        const std::size_t i = static_cast<std::size_t>(y) * width + x;
        return i < values.size() ? values[i] : 0u;
    };
    std::vector<std::uint8_t> out;
    out.reserve(rowBytes * rows);
    for (int row = 0; row < rows; ++row) {
        const int y = height < 0 ? row : rows - 1 - row;
        const std::size_t rowStart = out.size();
        if (bitCount < 8) {
            const int perByte = 8 / bitCount;
            const unsigned mask = (1u << bitCount) - 1;
            for (int x = 0; x < width; x += perByte) {
                unsigned byte = 0;
                for (int k = 0; k < perByte && x + k < width; ++k) {
                    byte |= (at(x + k, y) & mask) << (8 - bitCount * (k + 1));
                }
                PutByte(out, byte);
            }
        } else {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t v = at(x, y);
                switch (bitCount) {
                    case 8:
                        PutByte(out, v & 0xFF);
                        break;
                    case 16:
                        PutU16(out, v & 0xFFFF);
                        break;
                    case 24:
                        PutByte(out, v & 0xFF);
                        PutByte(out, v >> 8 & 0xFF);
                        PutByte(out, v >> 16 & 0xFF);
                        break;
                    default:
                        PutU32(out, v);
                        break;
                }
            }
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

std::vector<std::uint8_t> WriteBmp(const BmpDescription& desc) {
    const std::vector<std::uint8_t> pixels =
        desc.pixelBytes ? *desc.pixelBytes
                        : PackBmpRows(desc.width, desc.height, desc.bitCount, desc.values);
    const std::uint32_t colorsUsed =
        desc.colorsUsed.value_or(static_cast<std::uint32_t>(desc.palette.size()));
    const auto imageSize = desc.imageSize.value_or(static_cast<std::uint32_t>(pixels.size()));

    std::vector<std::uint8_t> out = {'B', 'M'};
    PutU32(out, 0);  // file size, patched below
    PutU32(out, 0);  // reserved
    PutU32(out, 0);  // pixel offset, patched below
    WriteInfoHeader(out, desc, colorsUsed, imageSize);
    if (desc.header == BmpHeader::Info &&
        (desc.compression == kBmpBitfields || desc.compression == kBmpAlphaBitfields)) {
        const int count = desc.compression == kBmpAlphaBitfields ? 4 : 3;
        for (int i = 0; i < count; ++i) {
            PutU32(out, desc.masks[i]);
        }
    }
    for (const Pixel entry : desc.palette) {
        PutByte(out, entry & 0xFF);
        PutByte(out, entry >> 8 & 0xFF);
        PutByte(out, entry >> 16 & 0xFF);
        if (desc.header != BmpHeader::Core) {
            PutByte(out, entry >> 24);
        }
    }
    out.resize(out.size() + desc.gap, 0);
    const auto offset = desc.pixelOffset.value_or(static_cast<std::uint32_t>(out.size()));
    out.insert(out.end(), pixels.begin(), pixels.end());
    const auto fileSize = desc.fileSize.value_or(static_cast<std::uint32_t>(out.size()));

    for (int i = 0; i < 4; ++i) {
        out[2 + i] = static_cast<std::uint8_t>(fileSize >> (8 * i));
        out[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
    }
    return out;
}

BmpRle& BmpRle::Run(int count, int value) {
    PutByte(bytes_, count);
    PutByte(bytes_, value);
    return *this;
}

BmpRle& BmpRle::Absolute8(const std::vector<int>& indexes) {
    PutByte(bytes_, 0);
    PutByte(bytes_, static_cast<unsigned>(indexes.size()));
    for (const int index : indexes) {
        PutByte(bytes_, index);
    }
    if (indexes.size() % 2 != 0) {
        PutByte(bytes_, 0);
    }
    return *this;
}

BmpRle& BmpRle::Absolute4(const std::vector<int>& indexes) {
    PutByte(bytes_, 0);
    PutByte(bytes_, static_cast<unsigned>(indexes.size()));
    std::size_t written = 0;
    for (std::size_t i = 0; i < indexes.size(); i += 2) {
        const unsigned low = i + 1 < indexes.size() ? indexes[i + 1] & 0x0F : 0;
        PutByte(bytes_, (indexes[i] & 0x0F) << 4 | low);
        ++written;
    }
    if (written % 2 != 0) {
        PutByte(bytes_, 0);
    }
    return *this;
}

BmpRle& BmpRle::EndOfLine() {
    return Run(0, 0);
}

BmpRle& BmpRle::Delta(int dx, int dy) {
    Run(0, 2);
    PutByte(bytes_, dx);
    PutByte(bytes_, dy);
    return *this;
}

BmpRle& BmpRle::EndOfBitmap() {
    return Run(0, 1);
}

BmpRle& BmpRle::Bytes(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

}  // namespace palvex::test
