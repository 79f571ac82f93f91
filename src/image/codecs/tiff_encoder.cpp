#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <libdeflate.h>
#include <tiffio.h>

#include "image/codecs/encoder.h"
#include "image/codecs/key_enc_rows.h"
#include "image/parallel.h"

namespace palvex {
namespace {

// Deflate behind the horizontal predictor gave the smallest files of none, LZW and Deflate on
// photographs, and with libdeflate about LZW's speed. The strips are predicted and deflated
// here, every core taking strips, and handed to libtiff as they are.
constexpr int kDeflateLevel = 6;
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
              TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE) &&
              TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (ok && alpha) {
        const std::uint16_t kinds[] = {EXTRASAMPLE_UNASSALPHA};
        ok = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, kinds);
    }
    return ok;
}

struct Layout {
    const Bitmap* image;
    EncodeKey key;
    std::size_t rowBytes;
    std::size_t samples;
    std::uint32_t rowsPerStrip;
};

// One thread's working memory, reused from strip to strip.
struct Scratch {
    libdeflate_compressor* compressor = nullptr;
    std::unique_ptr<std::uint8_t[]> strip;
    ~Scratch() { libdeflate_free_compressor(compressor); }
};

struct Strip {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
};

// Packs the strip's rows, applies the horizontal predictor (each sample minus the same sample
// of the pixel to its left) and deflates them as a zlib stream, which is what a Deflate strip
// holds. A strip left empty marks a failure.
void CompressStrip(const Layout& layout, std::uint32_t index, Scratch& scratch, Strip& strip) {
    const std::uint32_t height = static_cast<std::uint32_t>(layout.image->Height());
    const std::uint32_t first = index * layout.rowsPerStrip;
    const std::uint32_t count = std::min(layout.rowsPerStrip, height - first);
    const std::size_t size = count * layout.rowBytes;
    if (scratch.compressor == nullptr) {
        scratch.compressor = libdeflate_alloc_compressor(kDeflateLevel);
        scratch.strip.reset(new (std::nothrow) std::uint8_t[layout.rowsPerStrip * layout.rowBytes]);
        if (scratch.compressor == nullptr || !scratch.strip) {
            return;
        }
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const Pixel* row = layout.image->Row(static_cast<int>(first + i));
        std::uint8_t* dst = scratch.strip.get() + i * layout.rowBytes;
        if (layout.key.active) {
            PackRgbaRow(row, layout.image->Width(), layout.key, dst);
        } else {
            PackRgbRow(row, layout.image->Width(), dst);
        }
        for (std::size_t x = layout.rowBytes - 1; x >= layout.samples; --x) {
            dst[x] = static_cast<std::uint8_t>(dst[x] - dst[x - layout.samples]);
        }
    }
    const std::size_t bound = libdeflate_zlib_compress_bound(scratch.compressor, size);
    strip.bytes.reset(new (std::nothrow) std::uint8_t[bound]);
    if (strip.bytes) {
        strip.size = libdeflate_zlib_compress(scratch.compressor, scratch.strip.get(), size,
                                              strip.bytes.get(), bound);
    }
}

bool WriteStrips(TIFF* tif, const Layout& layout) {
    const auto height = static_cast<std::uint32_t>(layout.image->Height());
    const std::size_t count = (height + layout.rowsPerStrip - 1) / layout.rowsPerStrip;
    const unsigned workers = WorkersFor(count);
    std::unique_ptr<Strip[]> strips(new (std::nothrow) Strip[count]);
    std::unique_ptr<Scratch[]> scratch(new (std::nothrow) Scratch[workers]);
    if (!strips || !scratch) {
        return false;
    }
    ParallelFor(count, [&](std::size_t i, unsigned worker) {
        CompressStrip(layout, static_cast<std::uint32_t>(i), scratch[worker], strips[i]);
    });
    for (std::size_t i = 0; i < count; ++i) {
        if (strips[i].size == 0 ||
            TIFFWriteRawStrip(tif, static_cast<std::uint32_t>(i), strips[i].bytes.get(),
                              static_cast<tmsize_t>(strips[i].size)) < 0) {
            return false;
        }
        strips[i].bytes.reset();
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
    const Layout layout{&image, key, rowBytes, key.active ? std::size_t{4} : std::size_t{3},
                        rowsPerStrip};

    Sink sink;
    sink.out = &out;
    TIFF* tif = OpenSink(sink);
    bool ok = tif != nullptr && SetFields(tif, image, key.active, rowsPerStrip) &&
              WriteStrips(tif, layout);
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
