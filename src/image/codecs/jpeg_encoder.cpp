// jpeglib.h needs size_t and FILE declared first.
#include <algorithm>
#include <atomic>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <span>

#include <jerror.h>
#include <jpeglib.h>

#include "image/codecs/encoder.h"
#include "image/parallel.h"

namespace palvex {
namespace {

constexpr int kFullChromaQuality = 90;
constexpr std::size_t kChunkSize = std::size_t{64} << 10;
constexpr JDIMENSION kRowsPerWrite = 16;

// The bitmap's rows go in as they are; the library ignores the fourth byte.
constexpr J_COLOR_SPACE kPixelOrder =
    std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the guarded call.
struct ErrorState {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
};

// Compressed bytes collect in a chunk from the library's pool and move to the output buffer
// whenever it fills.
struct Destination {
    jpeg_destination_mgr manager;  // first, for the same reason
    OutputBuffer* out;
    JOCTET* chunk;
};

// Everything the guarded steps touch: plain data only, since longjmp skips destructors.
struct Job {
    jpeg_compress_struct* info;
    ErrorState* errors;
    Destination* destination;
    const Bitmap* image;
    int firstRow;  // the band of the image this file holds
    int rowCount;
    int quality;
};

[[noreturn]] void Abort(j_common_ptr common) {
    std::longjmp(reinterpret_cast<ErrorState*>(common->err)->jump, 1);
}

void Silent(j_common_ptr) {}

void StartChunk(j_compress_ptr info) {
    auto* destination = reinterpret_cast<Destination*>(info->dest);
    destination->chunk = static_cast<JOCTET*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, kChunkSize));
    destination->manager.next_output_byte = destination->chunk;
    destination->manager.free_in_buffer = kChunkSize;
}

// Called with the whole chunk full, whatever free_in_buffer says.
boolean FlushChunk(j_compress_ptr info) {
    auto* destination = reinterpret_cast<Destination*>(info->dest);
    if (!destination->out->Append(destination->chunk, kChunkSize)) {
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    }
    destination->manager.next_output_byte = destination->chunk;
    destination->manager.free_in_buffer = kChunkSize;
    return TRUE;
}

void FinishChunk(j_compress_ptr info) {
    auto* destination = reinterpret_cast<Destination*>(info->dest);
    const std::size_t used = kChunkSize - destination->manager.free_in_buffer;
    if (!destination->out->Append(destination->chunk, used)) {
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    }
}

using Step = void (*)(Job*);

// The only frame with a setjmp; it holds nothing but pointers.
bool Guarded(Step step, Job* job) {
    if (setjmp(job->errors->jump) != 0) {
        return false;
    }
    step(job);
    return true;
}

void Create(Job* job) {
    jpeg_create_compress(job->info);
}

void Compress(Job* job) {
    jpeg_compress_struct* info = job->info;
    const Bitmap& image = *job->image;
    info->dest = &job->destination->manager;
    // Sides beyond the format's limit fail in jpeg_start_compress.
    info->image_width = static_cast<JDIMENSION>(image.Width());
    info->image_height = static_cast<JDIMENSION>(job->rowCount);
    info->input_components = 4;
    info->in_color_space = kPixelOrder;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, job->quality, TRUE);
    // The standard Huffman tables: optimised ones made files 11 % smaller but need a second
    // pass over coefficients buffered for the whole image; with these the files are as large
    // as libvips' (which subsamples chroma) and smaller than ImageMagick's. They are also what
    // lets bands encoded apart share one set of tables.
    info->optimize_coding = FALSE;
    if (job->quality >= kFullChromaQuality) {
        for (int i = 0; i < info->num_components; ++i) {
            info->comp_info[i].h_samp_factor = 1;
            info->comp_info[i].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW rows[kRowsPerWrite];
        const JDIMENSION first = info->next_scanline;
        const JDIMENSION count = std::min(kRowsPerWrite, info->image_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            // The library only reads the rows it is given.
            rows[i] = reinterpret_cast<JSAMPROW>(
                const_cast<Pixel*>(image.Row(job->firstRow + static_cast<int>(first + i))));
        }
        jpeg_write_scanlines(info, rows, count);
    }
    jpeg_finish_compress(info);
}

// One band of rows as a complete JPEG file.
bool EncodeBand(const Bitmap& image, int firstRow, int rowCount, int quality, OutputBuffer& out) {
    out.Clear();
    jpeg_compress_struct info{};
    ErrorState errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Abort;
    errors.manager.output_message = Silent;

    Destination destination{};
    destination.manager.init_destination = StartChunk;
    destination.manager.empty_output_buffer = FlushChunk;
    destination.manager.term_destination = FinishChunk;
    destination.out = &out;

    Job job{&info, &errors, &destination, &image, firstRow, rowCount, quality};
    const bool ok = Guarded(Create, &job) && Guarded(Compress, &job) && !out.Failed();
    // Safe after a failed create too: the library marks what it has set up.
    jpeg_destroy_compress(&info);
    if (!ok) {
        out.Clear();
    }
    return ok;
}

// Where a file's entropy-coded data starts (after the SOS segment) and where its frame
// header's height is; both 0 when the markers are not as libjpeg writes them.
struct Markers {
    std::size_t height = 0;
    std::size_t sos = 0;
    std::size_t data = 0;
};

Markers FindMarkers(std::span<const std::uint8_t> file) {
    Markers found;
    std::size_t at = 2;  // after SOI
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const int marker = file[at + 1];
        const std::size_t length = std::size_t{file[at + 2]} << 8 | file[at + 3];
        if (marker == 0xC0) {
            found.height = at + 5;
        }
        if (marker == 0xDA) {
            found.sos = at;
            found.data = at + 2 + length;
            return found.height != 0 && found.data < file.size() ? found : Markers{};
        }
        at += 2 + length;
    }
    return {};
}

// Bands encoded side by side are joined into one file with restart markers between them:
// each band starts its DC predictions afresh and ends on a byte boundary, exactly what a
// restart interval of one band's MCUs asks for. The pixels are those of one pass.
bool Join(std::span<const OutputBuffer> bands, int height, std::uint32_t mcusPerBand,
          OutputBuffer& out) {
    std::size_t total = 16;
    for (const OutputBuffer& band : bands) {
        total += band.Size();
    }
    if (!out.Reserve(total)) {
        return false;
    }
    const std::span<const std::uint8_t> first = bands.front().Span();
    const Markers head = FindMarkers(first);
    if (head.sos == 0) {
        return false;
    }
    const std::uint8_t restart[6] = {0xFF,
                                     0xDD,
                                     0,
                                     4,
                                     static_cast<std::uint8_t>(mcusPerBand >> 8),
                                     static_cast<std::uint8_t>(mcusPerBand)};
    const std::uint8_t fullHeight[2] = {static_cast<std::uint8_t>(height >> 8),
                                        static_cast<std::uint8_t>(height)};
    bool ok = out.Append(first.data(), head.sos) && out.WriteAt(head.height, fullHeight, 2) &&
              out.Append(restart, sizeof restart) &&
              out.Append(first.data() + head.sos, head.data - head.sos);
    for (std::size_t i = 0; i < bands.size() && ok; ++i) {
        const std::span<const std::uint8_t> band = bands[i].Span();
        const Markers markers = i == 0 ? head : FindMarkers(band);
        // Each band ends with EOI, which the joined file keeps only once, at its end.
        if (markers.sos == 0 || band.size() < markers.data + 2 || band[band.size() - 2] != 0xFF ||
            band[band.size() - 1] != 0xD9) {
            return false;
        }
        ok = out.Append(band.data() + markers.data, band.size() - 2 - markers.data);
        if (ok && i + 1 < bands.size()) {
            const std::uint8_t marker[2] = {0xFF, static_cast<std::uint8_t>(0xD0 + i % 8)};
            ok = out.Append(marker, 2);
        }
    }
    const std::uint8_t end[2] = {0xFF, 0xD9};
    return ok && out.Append(end, 2);
}

// Rows a band holds: a whole number of MCU rows, as many as one restart interval (16 bits of
// MCUs) allows, and about 256 rows so that every core gets several. 0 when the image is too
// small or too wide to split.
int BandRows(const Bitmap& image, int mcuSide) {
    const auto mcusPerRow = static_cast<std::uint32_t>((image.Width() + mcuSide - 1) / mcuSide);
    const std::uint32_t mostMcuRows = 65535 / mcusPerRow;
    const auto mcuRows =
        std::min<std::uint32_t>(mostMcuRows, static_cast<std::uint32_t>(256 / mcuSide));
    // Sides the format cannot hold fail in the one-pass encoder, as they should.
    if (mcuRows == 0 || image.Height() < 2 * static_cast<int>(mcuRows) * mcuSide ||
        image.Height() > JPEG_MAX_DIMENSION || image.Width() > JPEG_MAX_DIMENSION) {
        return 0;
    }
    return static_cast<int>(mcuRows) * mcuSide;
}

}  // namespace

bool EncodeJpeg(const Bitmap& image, int quality, OutputBuffer& out) {
    out.Clear();
    if (image.IsNull()) {
        return false;
    }
    quality = std::clamp(quality, 0, 100);
    // Chroma is subsampled 2 x 2 below full-chroma quality, making MCUs of 16 x 16 pixels.
    const int mcuSide = quality >= kFullChromaQuality ? 8 : 16;
    const int bandRows = BandRows(image, mcuSide);
    const std::size_t bandCount =
        bandRows == 0 ? 1 : static_cast<std::size_t>((image.Height() + bandRows - 1) / bandRows);
    if (bandCount == 1 || WorkersFor(bandCount) == 1) {
        return EncodeBand(image, 0, image.Height(), quality, out);
    }
    std::unique_ptr<OutputBuffer[]> bands(new (std::nothrow) OutputBuffer[bandCount]);
    if (!bands) {
        return false;
    }
    std::atomic<bool> ok{true};
    ParallelFor(bandCount, [&](std::size_t i, unsigned /*worker*/) {
        const int first = static_cast<int>(i) * bandRows;
        if (!EncodeBand(image, first, std::min(bandRows, image.Height() - first), quality,
                        bands[i])) {
            ok = false;
        }
    });
    const auto mcusPerBand = static_cast<std::uint32_t>((image.Width() + mcuSide - 1) / mcuSide) *
                             static_cast<std::uint32_t>(bandRows / mcuSide);
    if (!ok || !Join({bands.get(), bandCount}, image.Height(), mcusPerBand, out) || out.Failed()) {
        out.Clear();
        return false;
    }
    return true;
}

}  // namespace palvex
