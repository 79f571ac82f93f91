#include <algorithm>
#include <csetjmp>
#include <cstring>

#include <png.h>

#include "image/codecs/decoder.h"

namespace palvex {
namespace {

// More than any real text or ICC profile needs; caps what one chunk can make libpng allocate,
// including what a compressed chunk inflates to.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{8} << 20;
constexpr png_uint_32 kMaxCachedChunks = 128;

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, std::size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->offset) {
        png_error(png, "unexpected end of file");
    }
    std::memcpy(out, reader->data + reader->offset, count);
    reader->offset += count;
}

// Set by the error handler, so a failed allocation inside libpng is told apart from bad data.
struct ErrorState {
    bool outOfMemory = false;
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    // libpng's own wording when png_malloc fails.
    if (std::strcmp(message, "Out of memory") == 0) {
        static_cast<ErrorState*>(png_get_error_ptr(png))->outOfMemory = true;
    }
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

class ReadStructGuard {
public:
    ReadStructGuard(png_structp png, png_infop info) : png_(png), info_(info) {}
    ~ReadStructGuard() {
        png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
    }
    ReadStructGuard(const ReadStructGuard&) = delete;
    ReadStructGuard& operator=(const ReadStructGuard&) = delete;

private:
    png_structp png_;
    png_infop info_;
};

// The functions holding a setjmp keep only plain values in their frames: libpng leaves them by
// longjmp, which skips destructors.

bool ReadHeader(png_structp png, png_infop info, MemoryReader* reader, png_uint_32* width,
                png_uint_32* height) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_read_fn(png, reader, ReadFromMemory);
    // libpng's own 10^6 per-side default would refuse valid long strips; the caller's pixel
    // limit is what decides.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxCachedChunks);
    // Only IHDR, PLTE, tRNS, IDAT and IEND matter here: the rest is skipped unparsed, so text
    // and ICC chunks are never inflated.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    return true;
}

// Sets libpng up to deliver 8-bit B,G,R,A rows straight into the bitmap.
bool SetUpTransforms(png_structp png, png_infop info, int* passes) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    } else if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(png);
    }
    if (bitDepth == 16) {
        png_set_scale_16(png);
    }
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    png_set_bgr(png);
    // Only acts on rows that have no alpha by now, so an ignored (invalid) tRNS still ends up
    // with four channels.
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    *passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadRows(png_structp png, Pixel* pixels, std::size_t width, png_uint_32 height, int passes) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    // An interlaced pass fills in only its own pixels of each row, so every pixel ends up
    // written exactly once and the bitmap needs no clearing first.
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, reinterpret_cast<png_bytep>(pixels + y * width), nullptr);
        }
    }
    return true;
}

}  // namespace

DecodedImage DecodePng(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    constexpr std::size_t kSignatureSize = 8;
    if (file.size() < kSignatureSize || png_sig_cmp(file.data(), 0, kSignatureSize) != 0) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }
    ErrorState errors;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, OnPngError, OnPngWarning);
    if (png == nullptr) {
        return DecodeFailure(DecodeStatus::OutOfMemory);
    }
    png_infop info = png_create_info_struct(png);
    ReadStructGuard guard(png, info);
    if (info == nullptr) {
        return DecodeFailure(DecodeStatus::OutOfMemory);
    }

    MemoryReader reader{file.data(), file.size(), 0};
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    const auto failure = [&errors] {
        return DecodeFailure(errors.outOfMemory ? DecodeStatus::OutOfMemory
                                                : DecodeStatus::Corrupt);
    };
    if (!ReadHeader(png, info, &reader, &width, &height)) {
        return failure();
    }
    const std::uint64_t pixelCount = std::uint64_t{width} * height;
    if (pixelCount > std::min(limits.maxPixels, kMaxPixels)) {
        return DecodeFailure(DecodeStatus::TooLarge);
    }

    int passes = 1;
    if (!SetUpTransforms(png, info, &passes)) {
        return failure();
    }
    if (png_get_rowbytes(png, info) != std::size_t{4} * width) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }

    DecodedImage result;
    if (!result.pixels.Create(static_cast<int>(width), static_cast<int>(height))) {
        return DecodeFailure(DecodeStatus::OutOfMemory);
    }
    if (!ReadRows(png, result.pixels.Data(), width, height, passes)) {
        return failure();
    }
    result.status = DecodeStatus::Ok;
    return result;
}

}  // namespace palvex
