#include "support/tiff_writer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <tiffio.h>

namespace palvex::test {
namespace {

// A growable in-memory file for libtiff to write into.
struct Sink {
    std::vector<std::uint8_t> bytes;
    std::uint64_t pos = 0;
};

tmsize_t SinkRead(thandle_t handle, void* buffer, tmsize_t size) {
    auto* sink = static_cast<Sink*>(handle);
    if (size <= 0 || sink->pos >= sink->bytes.size()) {
        return 0;
    }
    const auto count =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(size), sink->bytes.size() - sink->pos);
    std::memcpy(buffer, sink->bytes.data() + sink->pos, count);
    sink->pos += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t SinkWrite(thandle_t handle, void* buffer, tmsize_t size) {
    auto* sink = static_cast<Sink*>(handle);
    if (size <= 0) {
        return 0;
    }
    const std::uint64_t end = sink->pos + static_cast<std::uint64_t>(size);
    if (end > sink->bytes.size()) {
        sink->bytes.resize(end);
    }
    std::memcpy(sink->bytes.data() + sink->pos, buffer, static_cast<std::size_t>(size));
    sink->pos = end;
    return size;
}

toff_t SinkSeek(thandle_t handle, toff_t offset, int whence) {
    auto* sink = static_cast<Sink*>(handle);
    switch (whence) {
        case SEEK_SET:
            sink->pos = offset;
            break;
        case SEEK_CUR:
            sink->pos += offset;
            break;
        case SEEK_END:
            sink->pos = sink->bytes.size() + offset;
            break;
        default:
            return static_cast<toff_t>(-1);
    }
    return sink->pos;
}

int SinkClose(thandle_t) {
    return 0;
}

toff_t SinkSize(thandle_t handle) {
    return static_cast<Sink*>(handle)->bytes.size();
}

int NoMap(thandle_t, void**, toff_t*) {
    return 0;
}

void NoUnmap(thandle_t, void*, toff_t) {}

int Quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

int ColourSamples(TiffPhotometric photometric) {
    switch (photometric) {
        case TiffPhotometric::Rgb:
        case TiffPhotometric::YCbCr:
            return 3;
        case TiffPhotometric::Separated:
            return 4;
        default:
            return 1;
    }
}

std::uint16_t PhotometricTag(TiffPhotometric photometric) {
    switch (photometric) {
        case TiffPhotometric::MinIsWhite:
            return PHOTOMETRIC_MINISWHITE;
        case TiffPhotometric::MinIsBlack:
            return PHOTOMETRIC_MINISBLACK;
        case TiffPhotometric::Rgb:
            return PHOTOMETRIC_RGB;
        case TiffPhotometric::Palette:
            return PHOTOMETRIC_PALETTE;
        case TiffPhotometric::Separated:
            return PHOTOMETRIC_SEPARATED;
        case TiffPhotometric::YCbCr:
            return PHOTOMETRIC_YCBCR;
    }
    return PHOTOMETRIC_RGB;
}

std::uint16_t CompressionTag(TiffCompression compression) {
    switch (compression) {
        case TiffCompression::None:
            return COMPRESSION_NONE;
        case TiffCompression::Lzw:
            return COMPRESSION_LZW;
        case TiffCompression::Deflate:
            return COMPRESSION_ADOBE_DEFLATE;
        case TiffCompression::PackBits:
            return COMPRESSION_PACKBITS;
        case TiffCompression::Jpeg:
            return COMPRESSION_JPEG;
    }
    return COMPRESSION_NONE;
}

std::uint16_t ExtraSampleTag(TiffExtraSample kind) {
    switch (kind) {
        case TiffExtraSample::Associated:
            return EXTRASAMPLE_ASSOCALPHA;
        case TiffExtraSample::Unassociated:
            return EXTRASAMPLE_UNASSALPHA;
        default:
            return EXTRASAMPLE_UNSPECIFIED;
    }
}

// Packs `count` samples into one buffer row, padded to a whole byte.
void PackSamples(const std::uint16_t* in, std::size_t count, int bits, std::uint8_t* out) {
    if (bits == 16) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint16_t value = in[i];
            std::memcpy(out + 2 * i, &value, 2);  // libtiff takes native byte order
        }
        return;
    }
    if (bits == 8) {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = static_cast<std::uint8_t>(in[i]);
        }
        return;
    }
    std::memset(out, 0, (count * bits + 7) / 8);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t bit = i * bits;
        const unsigned mask = (1u << bits) - 1;
        out[bit / 8] |= static_cast<std::uint8_t>((in[i] & mask) << (8 - bits - bit % 8));
    }
}

// The samples of rows [y0, y0+rows) and columns [x0, x0+columns) of one plane (or all
// samples interleaved when plane < 0), each row `rowPixels` wide. Tiles reaching past the
// image repeat its last column and row, as JPEG compresses that best.
std::vector<std::uint8_t> PackBlock(const TiffDescription& desc, int plane, int x0, int y0,
                                    int columns, int rows, int rowPixels) {
    const std::size_t spp = static_cast<std::size_t>(desc.samplesPerPixel);
    const std::size_t perPixel = plane < 0 ? spp : 1;
    const std::size_t rowBytes = (rowPixels * perPixel * desc.bitsPerSample + 7) / 8;
    std::vector<std::uint8_t> out(rowBytes * rows, 0);
    std::vector<std::uint16_t> row(static_cast<std::size_t>(rowPixels) * perPixel, 0);
    for (int r = 0; r < rows; ++r) {
        const int y = std::min(y0 + r, desc.height - 1);
        for (int c = 0; c < columns; ++c) {
            const int x = std::min(x0 + c, desc.width - 1);
            const std::uint16_t* src =
                desc.samples.data() + (static_cast<std::size_t>(y) * desc.width + x) * spp;
            for (std::size_t s = 0; s < perPixel; ++s) {
                row[c * perPixel + s] = src[plane < 0 ? s : plane];
            }
        }
        PackSamples(row.data(), row.size(), desc.bitsPerSample, out.data() + rowBytes * r);
    }
    return out;
}

bool WriteTags(TIFF* tif, const TiffDescription& desc) {
    const int colours = ColourSamples(desc.photometric);
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(desc.width)) &&
              TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(desc.height)) &&
              TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, desc.bitsPerSample) &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, desc.samplesPerPixel) &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PhotometricTag(desc.photometric)) &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG,
                           desc.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG) &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, CompressionTag(desc.compression)) &&
              TIFFSetField(tif, TIFFTAG_ORIENTATION, desc.orientation);
    if (ok && desc.signedSamples) {
        ok = TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_INT);
    }
    const int extras = desc.samplesPerPixel - colours;
    if (ok && extras > 0 && desc.extraSample != TiffExtraSample::None) {
        std::vector<std::uint16_t> kinds(extras, EXTRASAMPLE_UNSPECIFIED);
        kinds[0] = ExtraSampleTag(desc.extraSample);
        ok = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, extras, kinds.data());
    }
    if (ok && desc.photometric == TiffPhotometric::Palette) {
        const std::size_t entries = std::size_t{1} << desc.bitsPerSample;
        if (desc.palette.size() != 3 * entries) {
            return false;
        }
        std::vector<std::uint16_t> map = desc.palette;
        ok = TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + entries,
                          map.data() + 2 * entries);
    }
    if (ok && desc.compression == TiffCompression::Jpeg) {
        ok = TIFFSetField(tif, TIFFTAG_JPEGQUALITY, desc.jpegQuality);
        if (ok && desc.photometric == TiffPhotometric::YCbCr) {
            ok = TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        }
    } else if (ok && desc.photometric == TiffPhotometric::YCbCr) {
        ok = TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, 1, 1);
    }
    if (ok && desc.tiled) {
        ok = TIFFSetField(tif, TIFFTAG_TILEWIDTH, desc.tileWidth) &&
             TIFFSetField(tif, TIFFTAG_TILELENGTH, desc.tileHeight);
    } else if (ok) {
        int rows = desc.rowsPerStrip;
        if (rows <= 0) {
            rows = desc.compression == TiffCompression::Jpeg ? 16 : 3;
        }
        ok = TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows);
    }
    return ok;
}

bool WriteData(TIFF* tif, const TiffDescription& desc) {
    const int planes = desc.planar ? desc.samplesPerPixel : 1;
    if (desc.tiled) {
        for (int y = 0; y < desc.height; y += desc.tileHeight) {
            for (int x = 0; x < desc.width; x += desc.tileWidth) {
                for (int p = 0; p < planes; ++p) {
                    auto block = PackBlock(desc, desc.planar ? p : -1, x, y, desc.tileWidth,
                                           desc.tileHeight, desc.tileWidth);
                    const auto tile = TIFFComputeTile(tif, x, y, 0, static_cast<std::uint16_t>(p));
                    if (TIFFWriteEncodedTile(tif, tile, block.data(),
                                             static_cast<tmsize_t>(block.size())) < 0) {
                        return false;
                    }
                }
            }
        }
        return true;
    }
    std::uint32_t rowsPerStrip = 0;
    TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    const int stripRows = static_cast<int>(std::max<std::uint32_t>(1, rowsPerStrip));
    for (int y = 0; y < desc.height; y += stripRows) {
        const int rows = std::min(stripRows, desc.height - y);
        for (int p = 0; p < planes; ++p) {
            auto block = PackBlock(desc, desc.planar ? p : -1, 0, y, desc.width, rows, desc.width);
            const auto strip = TIFFComputeStrip(tif, y, static_cast<std::uint16_t>(p));
            if (TIFFWriteEncodedStrip(tif, strip, block.data(),
                                      static_cast<tmsize_t>(block.size())) < 0) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> WriteTiff(const TiffDescription& desc) {
    const std::size_t pixels = static_cast<std::size_t>(desc.width) * desc.height;
    if (desc.width <= 0 || desc.height <= 0 ||
        desc.samples.size() != pixels * desc.samplesPerPixel) {
        return {};
    }
    Sink sink;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    TIFF* tif = TIFFClientOpenExt("memory", "w", &sink, SinkRead, SinkWrite, SinkSeek, SinkClose,
                                  SinkSize, NoMap, NoUnmap, options);
    TIFFOpenOptionsFree(options);
    if (tif == nullptr) {
        return {};
    }
    const bool ok = WriteTags(tif, desc) && WriteData(tif, desc) && TIFFWriteDirectory(tif);
    TIFFClose(tif);
    return ok ? std::move(sink.bytes) : std::vector<std::uint8_t>{};
}

}  // namespace palvex::test
