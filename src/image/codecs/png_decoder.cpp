#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <libdeflate.h>
#include <png.h>

#include "image/codecs/decoder.h"
#include "image/codecs/png_unfilter.h"
#include "image/codecs/split_inflate.h"
#include "image/large_block.h"

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

// The files nearly every program writes (8-bit RGB or RGBA, not interlaced, no tRNS) are
// decoded here, about twice as fast as through libpng: the image data is inflated whole with
// libdeflate and unfiltered straight into the bitmap. Anything else, and anything this path
// finds wrong (bad CRC, short or surplus data, unknown filter), goes to libpng, which decides
// what it is.

std::uint32_t ReadU32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
           at[3];
}

struct Chunks {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t channels = 0;
    std::vector<std::span<const std::uint8_t>> idat;
    std::size_t idatBytes = 0;
};

bool ChunkCrcOk(std::span<const std::uint8_t> file, std::size_t at, std::size_t length) {
    const std::uint32_t crc = libdeflate_crc32(0, file.data() + at + 4, length + 4);
    return crc == ReadU32(file.data() + at + 8 + length);
}

// The chunks up to IEND (or the end of the file), when they make a file for this path.
std::optional<Chunks> ReadCommonChunks(std::span<const std::uint8_t> file) {
    constexpr std::size_t kSignatureSize = 8;
    Chunks chunks;
    std::size_t at = kSignatureSize;
    bool first = true;
    while (file.size() - at >= 12) {
        const std::size_t length = ReadU32(file.data() + at);
        if (length > PNG_UINT_31_MAX || length > file.size() - at - 12) {
            return std::nullopt;
        }
        const std::string_view type(reinterpret_cast<const char*>(file.data()) + at + 4, 4);
        const bool critical = (type[0] & 0x20) == 0;
        if (critical && !ChunkCrcOk(file, at, length)) {
            return std::nullopt;
        }
        const std::uint8_t* data = file.data() + at + 8;
        if (first) {
            // 8-bit RGB (2) or RGBA (6), compression and filter method 0, not interlaced.
            if (type != "IHDR" || length != 13 || data[8] != 8 || (data[9] != 2 && data[9] != 6) ||
                data[10] != 0 || data[11] != 0 || data[12] != 0) {
                return std::nullopt;
            }
            chunks.width = ReadU32(data);
            chunks.height = ReadU32(data + 4);
            chunks.channels = data[9] == 6 ? 4 : 3;
            if (chunks.width == 0 || chunks.height == 0 || chunks.width > PNG_UINT_31_MAX ||
                chunks.height > PNG_UINT_31_MAX) {
                return std::nullopt;
            }
            first = false;
        } else if (type == "IDAT") {
            chunks.idat.emplace_back(data, length);
            chunks.idatBytes += length;
        } else if (type == "IEND") {
            break;
        } else if (critical || type == "tRNS") {
            return std::nullopt;  // PLTE, a second IHDR, unknown critical chunks, a colour key
        }
        at += 12 + length;
    }
    if (first || chunks.idat.empty()) {
        return std::nullopt;
    }
    return chunks;
}

// Ok, TooLarge or OutOfMemory when this path decided; nothing when libpng should look.
// Moves the image data chunks' contents together inside the file, so that the stream is whole
// without a copy, and puts everything back as it was when it goes.
class JoinedInPlace {
public:
    JoinedInPlace(std::span<std::uint8_t> file,
                  const std::vector<std::span<const std::uint8_t>>& idat)
        : file_(file) {
        // The bytes between the parts (chunk ends and headers) first, while they are intact.
        for (std::size_t i = 1; i < idat.size(); ++i) {
            const std::size_t end = Offset(idat[i - 1]) + idat[i - 1].size();
            gaps_.push_back({end, gapBytes_.size(), Offset(idat[i]) - end});
            gapBytes_.insert(gapBytes_.end(), file.begin() + static_cast<std::ptrdiff_t>(end),
                             file.begin() + static_cast<std::ptrdiff_t>(Offset(idat[i])));
        }
        std::size_t to = Offset(idat.front());
        for (const std::span<const std::uint8_t> part : idat) {
            const std::size_t from = Offset(part);
            if (from != to) {
                moves_.push_back({from, to, part.size()});
                std::memmove(file.data() + to, file.data() + from, part.size());
            }
            to += part.size();
        }
        stream_ = file.subspan(Offset(idat.front()), to - Offset(idat.front()));
    }
    ~JoinedInPlace() {
        // In reverse each part moves back up over room the later ones have left.
        for (auto move = moves_.rbegin(); move != moves_.rend(); ++move) {
            std::memmove(file_.data() + move->from, file_.data() + move->to, move->size);
        }
        for (const Gap& gap : gaps_) {
            std::memcpy(file_.data() + gap.at, gapBytes_.data() + gap.saved, gap.size);
        }
    }
    JoinedInPlace(const JoinedInPlace&) = delete;
    JoinedInPlace& operator=(const JoinedInPlace&) = delete;

    std::span<std::uint8_t> Stream() const { return stream_; }

private:
    struct Move {
        std::size_t from;
        std::size_t to;
        std::size_t size;
    };
    struct Gap {
        std::size_t at;
        std::size_t saved;
        std::size_t size;
    };
    std::size_t Offset(std::span<const std::uint8_t> part) const {
        return static_cast<std::size_t>(part.data() - file_.data());
    }
    std::span<std::uint8_t> file_;
    std::span<std::uint8_t> stream_;
    std::vector<Move> moves_;
    std::vector<Gap> gaps_;
    std::vector<std::uint8_t> gapBytes_;
};

// `writable`, when not empty, is the file itself, lent as room to join the stream in.
std::optional<DecodedImage> DecodeCommonPng(std::span<const std::uint8_t> file,
                                            std::span<std::uint8_t> writable,
                                            const DecodeLimits& limits) {
    const std::optional<Chunks> chunks = ReadCommonChunks(file);
    if (!chunks) {
        return std::nullopt;
    }
    const std::uint64_t pixelCount = std::uint64_t{chunks->width} * chunks->height;
    if (pixelCount > std::min(limits.maxPixels, kMaxPixels)) {
        return DecodeFailure(DecodeStatus::TooLarge);
    }
    const std::size_t rowBytes = std::size_t{chunks->width} * chunks->channels;

    // The image data is inflated into the bitmap's own block, at its end, and each row is
    // unfiltered into pixels at or before where its bytes lie, so rows not yet reached are never
    // overwritten (RGBA rows take one byte more each, RGB rows start far enough back).
    const std::size_t rawBytes = (rowBytes + 1) * chunks->height;
    const std::size_t pixelBytes = std::size_t{4} * chunks->width * chunks->height;
    const std::size_t blockBytes = std::max(rawBytes, pixelBytes);
    DecodedImage result;
    if (!result.pixels.CreateWithRoom(static_cast<int>(chunks->width),
                                      static_cast<int>(chunks->height), blockBytes)) {
        return DecodeFailure(DecodeStatus::OutOfMemory);
    }
    // Its fresh pages are mapped on another core while this one joins the stream.
    BackgroundPopulate populate(result.pixels.Data(), blockBytes);
    populate.Reached(blockBytes);
    // The stream whole: the chunk contents joined, in the file itself where it is lent, else in
    // memory of its own. Inflating it on two cores patches it for a while.
    std::optional<JoinedInPlace> joinedInPlace;
    std::unique_ptr<std::uint8_t, LargeBlockDeleter> joined;
    std::span<std::uint8_t> stream;
    if (!writable.empty()) {
        joinedInPlace.emplace(writable, chunks->idat);
        stream = joinedInPlace->Stream();
    } else {
        joined.reset(static_cast<std::uint8_t*>(AllocateLarge(chunks->idatBytes)));
        if (!joined) {
            return DecodeFailure(DecodeStatus::OutOfMemory);
        }
        std::uint8_t* at = joined.get();
        for (const std::span<const std::uint8_t> part : chunks->idat) {
            std::memcpy(at, part.data(), part.size());
            at += part.size();
        }
        stream = {joined.get(), chunks->idatBytes};
    }
    std::uint8_t* raw =
        reinterpret_cast<std::uint8_t*>(result.pixels.Data()) + (blockBytes - rawBytes);
    const std::size_t rawRow = rowBytes + 1;
    const auto unfilterRows = [&](std::uint32_t first, std::uint32_t end) {
        const Pixel* prior = first == 0 ? nullptr : result.pixels.Row(static_cast<int>(first) - 1);
        for (std::uint32_t y = first; y < end; ++y) {
            const std::uint8_t* row = raw + y * rawRow;
            Pixel* out = result.pixels.Row(static_cast<int>(y));
            if (!UnfilterRowToPixels(row[0], static_cast<int>(chunks->channels), row + 1, prior,
                                     out, chunks->width)) {
                return false;
            }
            prior = out;
        }
        return true;
    };
    // On two cores the first one unfilters its own rows while the second is still inflating.
    std::uint32_t rowsDone = 0;
    bool rowsOk = true;
    const SplitInflateResult split =
        InflateZlibSplit(stream, {raw, rawBytes}, limits.pngSplit, [&](std::size_t finalBytes) {
            const auto rows = static_cast<std::uint32_t>(finalBytes / rawRow);
            rowsOk = unfilterRows(0, rows);
            rowsDone = rows;
        });
    // Anything but exactly the image's bytes (short, surplus or bad data) is for libpng.
    if (split != SplitInflateResult::Done) {
        rowsDone = 0;
        rowsOk = InflateZlibSerial(stream, {raw, rawBytes});
    }
    joined.reset();
    joinedInPlace.reset();
    if (!rowsOk || !unfilterRows(rowsDone, chunks->height)) {
        return std::nullopt;
    }
    result.status = DecodeStatus::Ok;
    return result;
}

DecodedImage DecodeAnyPng(std::span<const std::uint8_t> file, std::span<std::uint8_t> writable,
                          const DecodeLimits& limits) {
    constexpr std::size_t kSignatureSize = 8;
    if (file.size() < kSignatureSize || png_sig_cmp(file.data(), 0, kSignatureSize) != 0) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }
    if (std::optional<DecodedImage> common = DecodeCommonPng(file, writable, limits)) {
        return std::move(*common);
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

}  // namespace

DecodedImage DecodePng(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    return DecodeAnyPng(file, {}, limits);
}

DecodedImage DecodeWritablePng(std::span<std::uint8_t> file, const DecodeLimits& limits) {
    return DecodeAnyPng(file, file, limits);
}

}  // namespace palvex
