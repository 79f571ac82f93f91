#include "support/png_writer.h"

#include <csetjmp>
#include <string>

#include <png.h>
#include <zlib.h>

namespace palvex::test {
namespace {

int ChannelsOf(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:
            return 0;
    }
}

// Packs the samples into raw rows for libpng: sub-byte depths most significant bits first,
// 16-bit samples big-endian.
std::vector<std::vector<png_byte>> PackRows(const PngDescription& desc, int channels) {
    const std::size_t perRow = static_cast<std::size_t>(desc.width) * channels;
    const std::size_t rowBytes = (perRow * desc.bitDepth + 7) / 8;
    std::vector<std::vector<png_byte>> rows(static_cast<std::size_t>(desc.height),
                                            std::vector<png_byte>(rowBytes, 0));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        std::vector<png_byte>& row = rows[y];
        for (std::size_t i = 0; i < perRow; ++i) {
            const unsigned value = desc.samples[y * perRow + i];
            if (desc.bitDepth == 16) {
                row[2 * i] = static_cast<png_byte>(value >> 8);
                row[2 * i + 1] = static_cast<png_byte>(value);
            } else if (desc.bitDepth == 8) {
                row[i] = static_cast<png_byte>(value);
            } else {
                const std::size_t bit = i * desc.bitDepth;
                const unsigned shift = 8 - desc.bitDepth - bit % 8;
                const unsigned mask = (1u << desc.bitDepth) - 1;
                row[bit / 8] = static_cast<png_byte>(row[bit / 8] | (value & mask) << shift);
            }
        }
    }
    return rows;
}

void AppendToVector(png_structp png, png_bytep data, std::size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void FlushNothing(png_structp /*png*/) {}

[[noreturn]] void OnError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Only plain values in this frame: libpng leaves it by longjmp.
bool WriteAll(png_structp png, png_infop info, const PngDescription* desc, png_bytepp rows,
              const png_color* palette, const png_byte* paletteAlpha,
              std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_write_fn(png, out, AppendToVector, FlushNothing);
    // Tests write out-of-range palette indexes on purpose.
    png_set_check_for_invalid_index(png, 0);
    png_set_benign_errors(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(desc->width),
                 static_cast<png_uint_32>(desc->height), desc->bitDepth, desc->colourType,
                 desc->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const bool isPalette = desc->colourType == PNG_COLOR_TYPE_PALETTE;
    if (!desc->palette.empty()) {
        png_set_PLTE(png, info, palette, static_cast<int>(desc->palette.size()));
    }
    if (!desc->trns.empty()) {
        if (isPalette) {
            png_set_tRNS(png, info, paletteAlpha, static_cast<int>(desc->trns.size()), nullptr);
        } else {
            png_color_16 key{};
            key.gray = desc->trns[0];
            if (desc->trns.size() >= 3) {
                key.red = desc->trns[0];
                key.green = desc->trns[1];
                key.blue = desc->trns[2];
            }
            png_set_tRNS(png, info, nullptr, 1, &key);
        }
    }
    if (!desc->bkgd.empty()) {
        png_color_16 background{};
        background.index = static_cast<png_byte>(desc->bkgd[0]);
        background.gray = desc->bkgd[0];
        if (desc->bkgd.size() >= 3) {
            background.red = desc->bkgd[0];
            background.green = desc->bkgd[1];
            background.blue = desc->bkgd[2];
        }
        png_set_bKGD(png, info, &background);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::vector<std::uint8_t> WritePng(const PngDescription& desc) {
    const int channels = ChannelsOf(desc.colourType);
    if (channels == 0 || desc.width <= 0 || desc.height <= 0 ||
        desc.samples.size() != static_cast<std::size_t>(desc.width) * desc.height * channels) {
        return {};
    }
    std::vector<std::vector<png_byte>> rows = PackRows(desc, channels);
    std::vector<png_bytep> rowPointers;
    for (auto& row : rows) {
        rowPointers.push_back(row.data());
    }
    std::vector<png_color> palette;
    for (const auto& entry : desc.palette) {
        palette.push_back({entry[0], entry[1], entry[2]});
    }
    std::vector<png_byte> paletteAlpha;
    for (const std::uint16_t alpha : desc.trns) {
        paletteAlpha.push_back(static_cast<png_byte>(alpha));
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::vector<std::uint8_t> out;
    const bool written = info != nullptr && WriteAll(png, info, &desc, rowPointers.data(),
                                                     palette.data(), paletteAlpha.data(), &out);
    png_destroy_write_struct(&png, &info);
    return written ? out : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> EncodeRgbaPng(const Bitmap& image) {
    PngDescription desc;
    desc.width = image.Width();
    desc.height = image.Height();
    desc.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    desc.bitDepth = 8;
    for (const Pixel p : image.Pixels()) {
        desc.samples.insert(
            desc.samples.end(),
            {static_cast<std::uint16_t>(p >> 16 & 0xFF), static_cast<std::uint16_t>(p >> 8 & 0xFF),
             static_cast<std::uint16_t>(p & 0xFF), static_cast<std::uint16_t>(p >> 24)});
    }
    return WritePng(desc);
}

std::vector<std::uint8_t> PngChunk(std::string_view type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> chunk;
    chunk.reserve(12 + data.size());
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        chunk.push_back(static_cast<std::uint8_t>(size >> shift));
    }
    for (const char c : type) {
        chunk.push_back(static_cast<std::uint8_t>(c));
    }
    chunk.insert(chunk.end(), data.begin(), data.end());
    const uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    for (int shift = 24; shift >= 0; shift -= 8) {
        chunk.push_back(static_cast<std::uint8_t>(crc >> shift));
    }
    return chunk;
}

std::size_t FindPngChunk(const std::vector<std::uint8_t>& png, std::string_view type) {
    std::size_t offset = 8;
    while (offset + 8 <= png.size()) {
        const std::uint32_t length = std::uint32_t{png[offset]} << 24 |
                                     std::uint32_t{png[offset + 1]} << 16 |
                                     std::uint32_t{png[offset + 2]} << 8 | png[offset + 3];
        if (std::string_view(reinterpret_cast<const char*>(png.data() + offset + 4), 4) == type) {
            return offset;
        }
        offset += std::size_t{12} + length;
    }
    return std::string::npos;
}

std::vector<std::uint8_t> InsertPngChunk(const std::vector<std::uint8_t>& png,
                                         std::string_view before,
                                         const std::vector<std::uint8_t>& chunk) {
    const std::size_t at = FindPngChunk(png, before);
    if (at == std::string::npos) {
        return png;
    }
    std::vector<std::uint8_t> out(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(at));
    out.insert(out.end(), chunk.begin(), chunk.end());
    out.insert(out.end(), png.begin() + static_cast<std::ptrdiff_t>(at), png.end());
    return out;
}

std::vector<std::uint8_t> PngSignature() {
    return {137, 80, 78, 71, 13, 10, 26, 10};
}

std::vector<std::uint8_t> ZlibZeros(std::uint32_t mebibytes) {
    constexpr uInt kBlock = 1u << 20;
    std::vector<Bytef> zeros(kBlock, 0);
    std::vector<Bytef> buffer(deflateBound(nullptr, kBlock) + 64);
    z_stream stream{};
    if (mebibytes == 0 || deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK) {
        return {};
    }
    const auto run = [&](uInt inputSize, int flush) {
        stream.next_in = zeros.data();
        stream.avail_in = inputSize;
        stream.next_out = buffer.data();
        stream.avail_out = static_cast<uInt>(buffer.size());
        deflate(&stream, flush);
        return std::vector<std::uint8_t>(buffer.data(), stream.next_out);
    };
    // A full flush leaves no back-references across it, so the second MiB's blocks decode the
    // same wherever they are repeated.
    std::vector<std::uint8_t> out = run(kBlock, Z_FULL_FLUSH);
    if (mebibytes > 1) {
        const std::vector<std::uint8_t> repeat = run(kBlock, Z_FULL_FLUSH);
        for (std::uint32_t i = 1; i < mebibytes; ++i) {
            out.insert(out.end(), repeat.begin(), repeat.end());
        }
    }
    std::vector<std::uint8_t> tail = run(0, Z_FINISH);
    deflateEnd(&stream);
    // The trailer holds the checksum of what was really deflated; put in that of the whole.
    const uLong one = adler32(adler32(0, nullptr, 0), zeros.data(), kBlock);
    uLong checksum = one;
    for (std::uint32_t i = 1; i < mebibytes; ++i) {
        checksum = adler32_combine(checksum, one, kBlock);
    }
    for (int i = 0; i < 4; ++i) {
        tail[tail.size() - 4 + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(checksum >> (24 - 8 * i));
    }
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

}  // namespace palvex::test
