#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <tiffio.h>

#include "image/codecs/encoder.h"
#include "image/codecs/key_enc_rows.h"

namespace palvex {
namespace {

// Deflate behind the horizontal predictor gave the smallest files of none, LZW and Deflate on
// photographs, and with libdeflate (which libtiff uses for whole strips) about LZW's speed.
constexpr std::uint16_t kCompression = COMPRESSION_ADOBE_DEFLATE;
constexpr int kZipLevel = 6;
// Far larger than Deflate's 32 KiB window, so splitting costs almost nothing in size; small
// enough that a reader holds only a little of the image at once.
constexpr std::size_t kStripBytes = std::size_t{256} << 10;

// The file under construction. libtiff writes strips in order, then seeks back to patch the
// header and may seek past the end to align the directory.
struct Sink {
    OutputBuffer* out = nullptr;
    std::uint64_t position = 0;
    bool failed = false;
};

tmsize_t SinkWrite(thandle_t handle, void* data, tmsize_t size) {
    auto* sink = static_cast<Sink*>(handle);
    OutputBuffer& out = *sink->out;
    if (size < 0) {
        sink->failed = true;
        return -1;
    }
    auto* bytes = static_cast<const std::uint8_t*>(data);
    auto count = static_cast<std::uint64_t>(size);
    if (sink->position > out.Size()) {
        const std::uint64_t gap = sink->position - out.Size();
        std::uint8_t* room = gap <= SIZE_MAX ? out.Extend(static_cast<std::size_t>(gap)) : nullptr;
        if (room == nullptr) {
            sink->failed = true;
            return -1;
        }
        std::memset(room, 0, static_cast<std::size_t>(gap));
    }
    const std::uint64_t overwrite = std::min<std::uint64_t>(count, out.Size() - sink->position);
    if (overwrite > 0 && !out.WriteAt(static_cast<std::size_t>(sink->position), bytes,
                                      static_cast<std::size_t>(overwrite))) {
        sink->failed = true;
        return -1;
    }
    if (!out.Append(bytes + overwrite, static_cast<std::size_t>(count - overwrite))) {
        sink->failed = true;
        return -1;
    }
    sink->position += count;
    return size;
}

tmsize_t SinkRead(thandle_t handle, void* data, tmsize_t size) {
    auto* sink = static_cast<Sink*>(handle);
    const std::uint64_t end = sink->out->Size();
    if (size <= 0 || sink->position >= end) {
        return 0;
    }
    const std::uint64_t count =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(size), end - sink->position);
    std::memcpy(data, sink->out->Data() + sink->position, static_cast<std::size_t>(count));
    sink->position += count;
    return static_cast<tmsize_t>(count);
}

toff_t SinkSeek(thandle_t handle, toff_t offset, int whence) {
    auto* sink = static_cast<Sink*>(handle);
    // Relative seeks carry a signed distance in the unsigned offset.
    const auto distance = static_cast<std::int64_t>(offset);
    std::int64_t base = 0;
    switch (whence) {
        case SEEK_SET:
            base = 0;
            break;
        case SEEK_CUR:
            base = static_cast<std::int64_t>(sink->position);
            break;
        case SEEK_END:
            base = static_cast<std::int64_t>(sink->out->Size());
            break;
        default:
            return static_cast<toff_t>(-1);
    }
    // Classic TIFF offsets are 32-bit, so anything near the int64 range is an error anyway.
    constexpr std::int64_t kFar = std::int64_t{1} << 40;
    if (whence == SEEK_SET ? offset > static_cast<toff_t>(kFar)
                           : distance > kFar || distance < -base) {
        return static_cast<toff_t>(-1);
    }
    sink->position = static_cast<std::uint64_t>(whence == SEEK_SET ? distance : base + distance);
    return sink->position;
}

int SinkClose(thandle_t) {
    return 0;
}

toff_t SinkSize(thandle_t handle) {
    return static_cast<Sink*>(handle)->out->Size();
}

int SinkMap(thandle_t, void**, toff_t*) {
    return 0;
}

void SinkUnmap(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char*, const char*, va_list) {
    static_cast<Sink*>(user)->failed = true;
    return 1;  // handled: nothing reaches the global handler (stderr)
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

TIFF* OpenSink(Sink& sink) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &sink);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &sink);
    TIFF* tif = TIFFClientOpenExt("memory", "wl", &sink, SinkRead, SinkWrite, SinkSeek, SinkClose,
                                  SinkSize, SinkMap, SinkUnmap, options);
    TIFFOpenOptionsFree(options);
    return tif;
}

bool SetFields(TIFF* tif, const Bitmap& image, bool alpha, std::uint32_t rowsPerStrip) {
    const std::uint16_t samples = alpha ? 4 : 3;
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.Width())) &&
              TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.Height())) &&
              TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples) &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
              TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip) &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, kCompression);
    if (ok && kCompression != COMPRESSION_NONE) {
        ok = TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    }
    if (ok && kCompression == COMPRESSION_ADOBE_DEFLATE) {
        ok = TIFFSetField(tif, TIFFTAG_ZIPQUALITY, kZipLevel);
    }
    if (ok && alpha) {
        const std::uint16_t kinds[] = {EXTRASAMPLE_UNASSALPHA};
        ok = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, kinds);
    }
    return ok;
}

// Whole strips at a time: libtiff hands only those to libdeflate.
bool WriteStrips(TIFF* tif, const Bitmap& image, const EncodeKey& key, std::uint32_t rowsPerStrip,
                 std::size_t rowBytes, std::uint8_t* strip) {
    const auto height = static_cast<std::uint32_t>(image.Height());
    std::uint32_t index = 0;
    for (std::uint32_t first = 0; first < height; first += rowsPerStrip, ++index) {
        const std::uint32_t count = std::min(rowsPerStrip, height - first);
        for (std::uint32_t i = 0; i < count; ++i) {
            const Pixel* row = image.Row(static_cast<int>(first + i));
            std::uint8_t* dst = strip + i * rowBytes;
            if (key.active) {
                PackRgbaRow(row, image.Width(), key, dst);
            } else {
                PackRgbRow(row, image.Width(), dst);
            }
        }
        if (TIFFWriteEncodedStrip(tif, index, strip, static_cast<tmsize_t>(count * rowBytes)) < 0) {
            return false;
        }
    }
    return TIFFFlush(tif) == 1;
}

}  // namespace

bool EncodeTiff(const Bitmap& image, Colour alphaKey, OutputBuffer& out) {
    out.Clear();
    if (image.IsNull()) {
        return false;
    }
    const EncodeKey key = MakeEncodeKey(alphaKey);
    const std::size_t rowBytes =
        static_cast<std::size_t>(image.Width()) * (key.active ? std::size_t{4} : std::size_t{3});
    const auto rowsPerStrip = static_cast<std::uint32_t>(std::clamp<std::size_t>(
        kStripBytes / rowBytes, 1, static_cast<std::size_t>(image.Height())));
    const std::unique_ptr<std::uint8_t[]> strip(new (std::nothrow)
                                                    std::uint8_t[rowsPerStrip * rowBytes]);
    if (!strip) {
        return false;
    }

    Sink sink;
    sink.out = &out;
    TIFF* tif = OpenSink(sink);
    bool ok = tif != nullptr && SetFields(tif, image, key.active, rowsPerStrip) &&
              WriteStrips(tif, image, key, rowsPerStrip, rowBytes, strip.get());
    if (tif != nullptr) {
        TIFFClose(tif);
    }
    ok = ok && !sink.failed && !out.Failed();
    if (!ok) {
        out.Clear();
    }
    return ok;
}

}  // namespace palvex
