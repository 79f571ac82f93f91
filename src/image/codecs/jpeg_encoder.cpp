// jpeglib.h needs size_t and FILE declared first.
#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "image/codecs/encoder.h"

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
    info->image_height = static_cast<JDIMENSION>(image.Height());
    info->input_components = 4;
    info->in_color_space = kPixelOrder;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, job->quality, TRUE);
    // The standard Huffman tables: optimised ones made files 11 % smaller but need a second
    // pass over coefficients buffered for the whole image; with these the files are as large
    // as libvips' (which subsamples chroma) and smaller than ImageMagick's.
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
                const_cast<Pixel*>(image.Row(static_cast<int>(first + i))));
        }
        jpeg_write_scanlines(info, rows, count);
    }
    jpeg_finish_compress(info);
}

}  // namespace

bool EncodeJpeg(const Bitmap& image, int quality, OutputBuffer& out) {
    out.Clear();
    if (image.IsNull()) {
        return false;
    }
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

    Job job{&info, &errors, &destination, &image, std::clamp(quality, 0, 100)};
    const bool ok = Guarded(Create, &job) && Guarded(Compress, &job) && !out.Failed();
    // Safe after a failed create too: the library marks what it has set up.
    jpeg_destroy_compress(&info);
    if (!ok) {
        out.Clear();
    }
    return ok;
}

}  // namespace palvex
