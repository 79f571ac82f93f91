#include "image/codecs/bmp_rows.h"

#include <bit>

namespace palvex::bmp {
namespace {

constexpr int kTableBits = 16;

template <int kBits>
void IndexedRow(const std::uint8_t* src, Pixel* dst, int width, const Pixel* palette) {
    constexpr int kPerByte = 8 / kBits;
    constexpr unsigned kMask = (1u << kBits) - 1;
    int x = 0;
    for (; x + kPerByte <= width; x += kPerByte) {
        const unsigned byte = *src++;
        for (int i = 0; i < kPerByte; ++i) {
            dst[x + i] = palette[(byte >> (8 - kBits * (i + 1))) & kMask];
        }
    }
    if (x < width) {
        const unsigned byte = *src;
        for (int i = 0; x < width; ++i, ++x) {
            dst[x] = palette[(byte >> (8 - kBits * (i + 1))) & kMask];
        }
    }
}

template <int kBytes>
std::uint32_t ReadPixelBits(const std::uint8_t* p) {
    if constexpr (kBytes == 2) {
        return ReadU16(p);
    } else {
        return ReadU32(p);
    }
}

}  // namespace

RowConverter::RowConverter(const BmpLayout& layout) : layout_(layout) {
    switch (layout.layout) {
        case PixelLayout::Indexed:
            path_ = Path::Indexed;
            return;
        case PixelLayout::Rgb24:
            path_ = Path::Rgb24;
            return;
        case PixelLayout::Rle8:
        case PixelLayout::Rle4:
        case PixelLayout::Bitfields:
            break;
    }
    const auto& m = layout.masks;
    if (layout.bitCount == 32 && m[0] == 0x00FF0000 && m[1] == 0x0000FF00 && m[2] == 0x000000FF &&
        (m[3] == 0 || m[3] == 0xFF000000)) {
        // The file already stores our pixel layout.
        path_ = m[3] == 0 ? Path::Rgb32 : Path::Argb32;
        return;
    }
    bool fitsTables = true;
    for (int i = 0; i < 4; ++i) {
        channels_[i] = MakeChannel(m[i], i == 3 ? 255 : 0);
        fitsTables = fitsTables && std::popcount(channels_[i].max) <= kTableBits;
    }
    if (!fitsTables) {
        path_ = Path::Exact;
        for (Channel& c : channels_) {
            c.table.clear();
        }
        return;
    }
    path_ = layout.bitCount == 16 ? Path::Table16 : Path::Table32;
}

RowConverter::Channel RowConverter::MakeChannel(std::uint32_t mask, std::uint8_t absent) {
    Channel c;
    c.mask = mask;
    c.absent = absent;
    if (mask == 0) {
        c.table.assign(1, absent);  // (p & 0) >> 0 always looks up entry 0
        return c;
    }
    c.shift = std::countr_zero(mask);
    c.max = mask >> c.shift;
    if (std::popcount(c.max) <= kTableBits) {
        c.table.resize(std::size_t{c.max} + 1);
        for (std::uint32_t v = 0; v <= c.max; ++v) {
            c.table[v] = static_cast<std::uint8_t>(ScaleExact(v << c.shift, c));
        }
    }
    return c;
}

std::uint32_t RowConverter::ScaleExact(std::uint32_t raw, const Channel& c) {
    if (c.max == 0) {
        return c.absent;
    }
    const std::uint64_t v = (raw & c.mask) >> c.shift;
    return static_cast<std::uint32_t>((v * 255 + c.max / 2) / c.max);
}

template <int kBytes>
void RowConverter::TableRow(const std::uint8_t* src, Pixel* dst) const {
    const Channel& r = channels_[0];
    const Channel& g = channels_[1];
    const Channel& b = channels_[2];
    const Channel& a = channels_[3];
    const std::uint8_t* rt = r.table.data();
    const std::uint8_t* gt = g.table.data();
    const std::uint8_t* bt = b.table.data();
    const std::uint8_t* at = a.table.data();
    const int width = layout_.width;
    for (int x = 0; x < width; ++x, src += kBytes) {
        const std::uint32_t p = ReadPixelBits<kBytes>(src);
        dst[x] = static_cast<Pixel>(at[(p & a.mask) >> a.shift]) << 24 |
                 static_cast<Pixel>(rt[(p & r.mask) >> r.shift]) << 16 |
                 static_cast<Pixel>(gt[(p & g.mask) >> g.shift]) << 8 | bt[(p & b.mask) >> b.shift];
    }
}

void RowConverter::ExactRow(const std::uint8_t* src, Pixel* dst) const {
    const int bytes = layout_.bitCount / 8;
    const int width = layout_.width;
    for (int x = 0; x < width; ++x, src += bytes) {
        const std::uint32_t p = bytes == 2 ? ReadU16(src) : ReadU32(src);
        dst[x] = ScaleExact(p, channels_[3]) << 24 | ScaleExact(p, channels_[0]) << 16 |
                 ScaleExact(p, channels_[1]) << 8 | ScaleExact(p, channels_[2]);
    }
}

void RowConverter::Convert(const std::uint8_t* src, Pixel* dst) const {
    const int width = layout_.width;
    switch (path_) {
        case Path::Indexed:
            switch (layout_.bitCount) {
                case 1:
                    IndexedRow<1>(src, dst, width, layout_.palette.data());
                    return;
                case 2:
                    IndexedRow<2>(src, dst, width, layout_.palette.data());
                    return;
                case 4:
                    IndexedRow<4>(src, dst, width, layout_.palette.data());
                    return;
                default:
                    IndexedRow<8>(src, dst, width, layout_.palette.data());
                    return;
            }
        case Path::Rgb24: {
            // Four pixels from three words: byte-wise loads are the bottleneck otherwise.
            int x = 0;
            for (; x + 4 <= width; x += 4, src += 12) {
                const std::uint32_t a = ReadU32(src);
                const std::uint32_t b = ReadU32(src + 4);
                const std::uint32_t c = ReadU32(src + 8);
                dst[x] = kOpaqueAlpha | a;
                dst[x + 1] = kOpaqueAlpha | a >> 24 | b << 8;
                dst[x + 2] = kOpaqueAlpha | b >> 16 | c << 16;
                dst[x + 3] = kOpaqueAlpha | c >> 8;
            }
            for (; x < width; ++x, src += 3) {
                dst[x] = kOpaqueAlpha | static_cast<Pixel>(src[2]) << 16 |
                         static_cast<Pixel>(src[1]) << 8 | src[0];
            }
            return;
        }
        case Path::Rgb32:
            for (int x = 0; x < width; ++x, src += 4) {
                dst[x] = kOpaqueAlpha | ReadU32(src);
            }
            return;
        case Path::Argb32:
            for (int x = 0; x < width; ++x, src += 4) {
                dst[x] = ReadU32(src);
            }
            return;
        case Path::Table16:
            TableRow<2>(src, dst);
            return;
        case Path::Table32:
            TableRow<4>(src, dst);
            return;
        case Path::Exact:
            ExactRow(src, dst);
            return;
    }
}

}  // namespace palvex::bmp
