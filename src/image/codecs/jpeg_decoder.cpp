// jpeglib.h needs size_t and FILE declared first.
#include <algorithm>
#include <bit>
#include <climits>
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "image/codecs/decoder.h"
#include "image/large_block.h"

namespace palvex {
namespace {

// Progressive files can carry any number of scans, each a full pass over the coefficients:
// without a cap a small file keeps the CPU busy for minutes.
constexpr int kMaxScans = 1000;
constexpr JDIMENSION kRowsPerRead = 16;

// libjpeg-turbo writes the pixels in the Bitmap's memory order directly.
constexpr J_COLOR_SPACE kPixelOrder =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

enum class Cmyk { None, Plain, Inverted };

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the guarded call that started the step.
struct ErrorState {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
};

// Everything a guarded step touches: plain data only, since longjmp skips destructors.
struct Job {
    jpeg_decompress_struct* info;
    ErrorState* errors;
    jpeg_progress_mgr* progress;
    const unsigned char* data;
    unsigned long size;
    long maxMemory;
    unsigned char* pixels;
    std::size_t stride;
    BackgroundPopulate* populate;
    Cmyk cmyk;
    bool incomplete;  // the library stopped handing out rows before the last one
};

[[noreturn]] void Abort(j_common_ptr common) {
    std::longjmp(reinterpret_cast<ErrorState*>(common->err)->jump, 1);
}

void Silent(j_common_ptr) {}

// libjpeg-turbo pads a truncated file with grey and only warns; we want no partial image.
void OnMessage(j_common_ptr common, int level) {
    if (level < 0) {
        ++common->err->num_warnings;
        if (common->err->msg_code == JWRN_JPEG_EOF) {
            Abort(common);
        }
    }
}

void LimitScans(j_common_ptr common) {
    if (common->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(common)->input_scan_number > kMaxScans) {
        Abort(common);
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

void ReadHeader(Job* job) {
    jpeg_decompress_struct* info = job->info;
    jpeg_create_decompress(info);
    info->mem->max_memory_to_use = job->maxMemory;
    info->progress = job->progress;
    jpeg_mem_src(info, job->data, job->size);
    jpeg_read_header(info, TRUE);
}

// Chooses the output colour space; false for layouts we cannot show.
bool ChooseOutput(Job* job) {
    jpeg_decompress_struct* info = job->info;
    switch (info->num_components) {
        case 1:
        case 3:
            if (info->jpeg_color_space != JCS_GRAYSCALE && info->jpeg_color_space != JCS_RGB &&
                info->jpeg_color_space != JCS_YCbCr) {
                return false;
            }
            info->out_color_space = kPixelOrder;
            job->cmyk = Cmyk::None;
            break;
        case 4:
            if (info->jpeg_color_space != JCS_CMYK && info->jpeg_color_space != JCS_YCCK) {
                return false;
            }
            // libjpeg turns YCCK into CMYK. Adobe's files (the ones with its marker, and so
            // every YCCK file) store CMYK inverted: 255 means no ink.
            info->out_color_space = JCS_CMYK;
            job->cmyk = info->saw_Adobe_marker ? Cmyk::Inverted : Cmyk::Plain;
            break;
        default:
            return false;
    }
    info->dct_method = JDCT_ISLOW;
    info->do_fancy_upsampling = TRUE;
    info->scale_num = 1;
    info->scale_denom = 1;
    return true;
}

inline unsigned Scale(unsigned a, unsigned b) {
    return (a * b + 127) / 255;
}

// Turns rows just decoded as C,M,Y,K bytes into pixels, in place: both are 4 bytes a pixel.
void CmykToPixels(unsigned char* row, JDIMENSION width, Cmyk cmyk) {
    Pixel* out = reinterpret_cast<Pixel*>(row);
    for (JDIMENSION x = 0; x < width; ++x, row += 4) {
        unsigned c = row[0];
        unsigned m = row[1];
        unsigned y = row[2];
        unsigned k = row[3];
        if (cmyk == Cmyk::Plain) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = kOpaqueAlpha | Scale(c, k) << 16 | Scale(m, k) << 8 | Scale(y, k);
    }
}

void DecodeRows(Job* job) {
    jpeg_decompress_struct* info = job->info;
    jpeg_start_decompress(info);
    if (info->output_width * std::size_t{4} != job->stride || info->output_components != 4) {
        job->incomplete = true;  // never happens at scale 1; the rows must fit all the same
        return;
    }
    while (info->output_scanline < info->output_height) {
        JSAMPROW rows[kRowsPerRead];
        const JDIMENSION first = info->output_scanline;
        const JDIMENSION count = std::min(kRowsPerRead, info->output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            rows[i] = job->pixels + job->stride * (first + i);
        }
        const JDIMENSION got = jpeg_read_scanlines(info, rows, count);
        job->populate->Reached(job->stride * (first + got));
        if (got == 0) {
            job->incomplete = true;
            return;
        }
        if (job->cmyk != Cmyk::None) {
            for (JDIMENSION i = 0; i < got; ++i) {
                CmykToPixels(rows[i], info->output_width, job->cmyk);
            }
        }
    }
    // No jpeg_finish_decompress: every row is in, and what follows the last scan is of no use.
}

// Room for the whole-image coefficient buffers of a progressive or multi-scan file (2 bytes
// a sample, 4 components) besides the row buffers.
long MemoryBudget(std::uint64_t maxPixels) {
    const std::uint64_t bytes = maxPixels * 8 + (std::uint64_t{32} << 20);
    return static_cast<long>(std::min<std::uint64_t>(bytes, LONG_MAX));
}

}  // namespace

DecodedImage DecodeJpeg(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    if (file.size() < 4 || file.size() > ULONG_MAX) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }
    const std::uint64_t maxPixels = std::min(limits.maxPixels, kMaxPixels);

    jpeg_decompress_struct info{};
    ErrorState errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Abort;
    errors.manager.output_message = Silent;
    errors.manager.emit_message = OnMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;

    Job job{};
    job.info = &info;
    job.errors = &errors;
    job.progress = &progress;
    job.data = file.data();
    job.size = static_cast<unsigned long>(file.size());
    job.maxMemory = MemoryBudget(maxPixels);

    DecodedImage image;
    image.status = DecodeStatus::Corrupt;
    if (Guarded(ReadHeader, &job) && ChooseOutput(&job)) {
        const std::uint64_t pixels = std::uint64_t{info.image_width} * info.image_height;
        if (pixels > maxPixels) {
            image.status = DecodeStatus::TooLarge;
        } else if (!image.pixels.Create(static_cast<int>(info.image_width),
                                        static_cast<int>(info.image_height))) {
            image.status = DecodeStatus::OutOfMemory;
        } else {
            job.pixels = reinterpret_cast<unsigned char*>(image.pixels.Data());
            job.stride = image.pixels.Stride();
            BackgroundPopulate populate(image.pixels.Data(), image.pixels.ByteCount());
            job.populate = &populate;
            if (Guarded(DecodeRows, &job) && !job.incomplete &&
                info.output_height == info.image_height) {
                image.status = DecodeStatus::Ok;
            }
        }
    }
    jpeg_destroy_decompress(&info);
    if (!image.Ok()) {
        image.pixels.Reset();
    }
    return image;
}

}  // namespace palvex
