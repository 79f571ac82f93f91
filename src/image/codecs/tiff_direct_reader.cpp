#include <memory>
#include <new>

#include "image/codecs/tiff_readers.h"

// Grey, RGB and CMYK of 8 or 16 bits, read strip by strip (or tile by tile) and converted
// straight into the output: one pass, and alpha exactly as stored.

namespace palvex {
namespace {

enum class Model { Grey, GreyInverted, Rgb, Cmyk };

// Pointers to the first sample of each channel of a run; consecutive pixels are `stride`
// samples apart (all samples a pixel when interleaved, 1 within a plane).
template <typename T>
struct Run {
    const T* colour[4] = {};
    const T* alpha = nullptr;
    std::size_t stride = 1;
};

template <typename T>
constexpr unsigned kFull = sizeof(T) == 1 ? 0xFFu : 0xFFFFu;

template <typename T>
inline Pixel To8(unsigned value) {
    if constexpr (sizeof(T) == 1) {
        return value;
    } else {
        return (value * 255u + 32767u) / 65535u;
    }
}

// (full - ink) * (full - black) / full, rounded: the light two inks let through.
template <typename T>
inline unsigned Through(unsigned ink, unsigned black) {
    return ((kFull<T> - ink) * (kFull<T> - black) + kFull<T> / 2) / kFull<T>;
}

template <typename T, Model M, TiffAlpha A>
void ConvertRun(const Run<T>& in, int count, Pixel* out, std::ptrdiff_t step) {
    constexpr int kColours = M == Model::Rgb ? 3 : M == Model::Cmyk ? 4 : 1;
    std::size_t at = 0;
    for (int i = 0; i < count; ++i, at += in.stride, out += step) {
        const unsigned a = A == TiffAlpha::None ? kFull<T> : in.alpha[at];
        unsigned v[kColours];
        for (int k = 0; k < kColours; ++k) {
            v[k] = in.colour[k][at];
            if constexpr (A == TiffAlpha::Associated) {
                v[k] = Unpremultiply(v[k], a, kFull<T>);
            }
        }
        Pixel r;
        Pixel g;
        Pixel b;
        if constexpr (M == Model::Grey) {
            r = g = b = To8<T>(v[0]);
        } else if constexpr (M == Model::GreyInverted) {
            r = g = b = To8<T>(kFull<T> - v[0]);
        } else if constexpr (M == Model::Rgb) {
            r = To8<T>(v[0]);
            g = To8<T>(v[1]);
            b = To8<T>(v[2]);
        } else {
            r = To8<T>(Through<T>(v[0], v[3]));
            g = To8<T>(Through<T>(v[1], v[3]));
            b = To8<T>(Through<T>(v[2], v[3]));
        }
        *out = To8<T>(a) << 24 | r << 16 | g << 8 | b;
    }
}

template <typename T>
using RunConverter = void (*)(const Run<T>&, int, Pixel*, std::ptrdiff_t);

template <typename T, Model M>
RunConverter<T> PickAlpha(TiffAlpha alpha) {
    switch (alpha) {
        case TiffAlpha::Associated:
            return ConvertRun<T, M, TiffAlpha::Associated>;
        case TiffAlpha::Unassociated:
            return ConvertRun<T, M, TiffAlpha::Unassociated>;
        default:
            return ConvertRun<T, M, TiffAlpha::None>;
    }
}

template <typename T>
RunConverter<T> PickConverter(const TiffImageInfo& info) {
    switch (info.photometric) {
        case PHOTOMETRIC_MINISWHITE:
            return PickAlpha<T, Model::GreyInverted>(info.alpha);
        case PHOTOMETRIC_RGB:
            return PickAlpha<T, Model::Rgb>(info.alpha);
        case PHOTOMETRIC_SEPARATED:
            return PickAlpha<T, Model::Cmyk>(info.alpha);
        default:
            return PickAlpha<T, Model::Grey>(info.alpha);
    }
}

// The decode buffers: one holding every sample when interleaved, else one a used plane.
// Held as 16-bit words so 16-bit samples can be read in place.
struct Buffers {
    int count = 0;
    int plane[5] = {};  // the sample (plane) each buffer holds
    std::unique_ptr<std::uint16_t[]> data[5];
    std::size_t bytes = 0;  // each
    std::size_t rowBytes = 0;

    std::uint8_t* Bytes(int i) { return reinterpret_cast<std::uint8_t*>(data[i].get()); }
};

// Reads blocks (strips or tiles) of `rowPixels` x `rows` stored pixels and converts them.
template <typename T>
class DirectReader {
public:
    DirectReader(TiffStream& stream, const TiffImageInfo& info, const TiffPlacement& placement,
                 Bitmap& out)
        : tif_(stream.Handle()),
          info_(info),
          placement_(placement),
          out_(out),
          convert_(PickConverter<T>(info)) {}

    DecodeStatus Read(std::uint64_t maxBuffer) {
        std::uint32_t blockWidth = info_.width;
        std::uint32_t blockHeight = 0;
        if (info_.tiled) {
            if (!TIFFGetField(tif_, TIFFTAG_TILEWIDTH, &blockWidth) ||
                !TIFFGetField(tif_, TIFFTAG_TILELENGTH, &blockHeight)) {
                return DecodeStatus::Corrupt;
            }
        } else {
            TIFFGetFieldDefaulted(tif_, TIFFTAG_ROWSPERSTRIP, &blockHeight);
            blockHeight = std::min(blockHeight, info_.height);
        }
        if (blockWidth == 0 || blockHeight == 0) {
            return DecodeStatus::Corrupt;
        }
        const DecodeStatus status = Allocate(blockWidth, blockHeight, maxBuffer);
        if (status != DecodeStatus::Ok) {
            return status;
        }
        for (std::uint32_t y = 0; y < info_.height; y += blockHeight) {
            const std::uint32_t rows = std::min(blockHeight, info_.height - y);
            for (std::uint32_t x = 0; x < info_.width; x += blockWidth) {
                if (!ReadBlock(x, y, rows)) {
                    return DecodeStatus::Corrupt;
                }
                Convert(x, y, std::min(blockWidth, info_.width - x), rows);
            }
        }
        return DecodeStatus::Ok;
    }

private:
    DecodeStatus Allocate(std::uint32_t blockWidth, std::uint32_t blockHeight,
                          std::uint64_t maxBuffer) {
        const int used = info_.colourSamples + (info_.alpha == TiffAlpha::None ? 0 : 1);
        buffers_.count = info_.planar ? used : 1;
        for (int i = 0; i < buffers_.count; ++i) {
            // The alpha plane is the first extra sample, right after the colour ones.
            buffers_.plane[i] = i;
        }
        const std::uint64_t perPixel = info_.planar ? 1 : info_.samplesPerPixel;
        const std::uint64_t rowBytes = std::uint64_t{blockWidth} * perPixel * sizeof(T);
        const std::uint64_t bytes = rowBytes * blockHeight;
        if (bytes / blockHeight != rowBytes || bytes > maxBuffer / buffers_.count) {
            return DecodeStatus::Corrupt;
        }
        buffers_.rowBytes = static_cast<std::size_t>(rowBytes);
        buffers_.bytes = static_cast<std::size_t>(bytes);
        for (int i = 0; i < buffers_.count; ++i) {
            buffers_.data[i].reset(new (std::nothrow) std::uint16_t[(buffers_.bytes + 1) / 2]);
            if (!buffers_.data[i]) {
                return DecodeStatus::OutOfMemory;
            }
        }
        return DecodeStatus::Ok;
    }

    // Decodes the block at stored (x, y) into every buffer; a short read is a failure.
    bool ReadBlock(std::uint32_t x, std::uint32_t y, std::uint32_t rows) {
        for (int i = 0; i < buffers_.count; ++i) {
            const auto plane = static_cast<std::uint16_t>(buffers_.plane[i]);
            tmsize_t got;
            tmsize_t wanted;
            if (info_.tiled) {
                wanted = static_cast<tmsize_t>(buffers_.bytes);
                got = TIFFReadEncodedTile(tif_, TIFFComputeTile(tif_, x, y, 0, plane),
                                          buffers_.Bytes(i), wanted);
            } else {
                wanted = static_cast<tmsize_t>(buffers_.rowBytes * rows);
                got = TIFFReadEncodedStrip(tif_, TIFFComputeStrip(tif_, y, plane),
                                           buffers_.Bytes(i), wanted);
            }
            if (got < wanted) {
                return false;
            }
        }
        return true;
    }

    void Convert(std::uint32_t x, std::uint32_t y, std::uint32_t columns, std::uint32_t rows) {
        const std::size_t rowSamples = buffers_.rowBytes / sizeof(T);
        Pixel* const base = out_.Data() + placement_.origin;
        for (std::uint32_t r = 0; r < rows; ++r) {
            Run<T> run;
            const std::size_t rowStart = r * rowSamples;
            if (info_.planar) {
                for (int k = 0; k < info_.colourSamples; ++k) {
                    run.colour[k] = Samples(k) + rowStart;
                }
                if (info_.alpha != TiffAlpha::None) {
                    run.alpha = Samples(info_.colourSamples) + rowStart;
                }
                run.stride = 1;
            } else {
                const T* row = Samples(0) + rowStart;
                for (int k = 0; k < info_.colourSamples; ++k) {
                    run.colour[k] = row + k;
                }
                run.alpha = row + info_.colourSamples;
                run.stride = static_cast<std::size_t>(info_.samplesPerPixel);
            }
            Pixel* target = base + static_cast<std::ptrdiff_t>(x) * placement_.columnStep +
                            static_cast<std::ptrdiff_t>(y + r) * placement_.rowStep;
            convert_(run, static_cast<int>(columns), target, placement_.columnStep);
        }
    }

    const T* Samples(int buffer) { return reinterpret_cast<const T*>(buffers_.data[buffer].get()); }

    TIFF* tif_;
    const TiffImageInfo& info_;
    const TiffPlacement& placement_;
    Bitmap& out_;
    RunConverter<T> convert_;
    Buffers buffers_;
};

}  // namespace

bool CanReadTiffDirect(const TiffImageInfo& info) {
    if ((info.bitsPerSample != 8 && info.bitsPerSample != 16) ||
        (info.sampleFormat != SAMPLEFORMAT_UINT && info.sampleFormat != SAMPLEFORMAT_VOID)) {
        return false;
    }
    switch (info.photometric) {
        case PHOTOMETRIC_MINISBLACK:
        case PHOTOMETRIC_MINISWHITE:
            return info.colourSamples == 1;
        case PHOTOMETRIC_RGB:
            return info.colourSamples == 3;
        case PHOTOMETRIC_SEPARATED:
            return info.colourSamples == 4 && info.inkSet == INKSET_CMYK;
        default:
            return false;
    }
}

DecodeStatus ReadTiffDirect(TiffStream& stream, const TiffImageInfo& info,
                            const TiffPlacement& placement, std::uint64_t maxBuffer, Bitmap& out) {
    if (info.bitsPerSample == 16) {
        return DirectReader<std::uint16_t>(stream, info, placement, out).Read(maxBuffer);
    }
    return DirectReader<std::uint8_t>(stream, info, placement, out).Read(maxBuffer);
}

}  // namespace palvex
