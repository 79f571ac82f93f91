#pragma once

#include <cstdint>
#include <span>

#include "image/bitmap.h"
#include "image/codecs/split_inflate.h"

namespace palvex {

enum class DecodeStatus {
    Ok,
    Corrupt,      // not this format, truncated, malformed or unsupported
    TooLarge,     // the declared size exceeds DecodeLimits: refused before allocating
    OutOfMemory,  // an allocation within the limits failed
};

struct DecodeLimits {
    std::uint64_t maxPixels = kMaxPixels;
    // How a large PNG's image data is inflated on two cores.
    SplitInflateOptions pngSplit = {};
};

// A decoded image: 0xAARRGGBB pixels with straight (not premultiplied) alpha. Fully transparent
// pixels keep the colour the file stores for them, because the loader takes its key from them.
struct DecodedImage {
    DecodeStatus status = DecodeStatus::Corrupt;
    Bitmap pixels;

    bool Ok() const { return status == DecodeStatus::Ok; }
};

inline DecodedImage DecodeFailure(DecodeStatus status) {
    return {status, Bitmap{}};
}

// Decoders read a complete file held in memory and never read past its end.
DecodedImage DecodeBmp(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});
DecodedImage DecodeGif(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});
DecodedImage DecodePng(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});
DecodedImage DecodeTiff(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});
DecodedImage DecodeJpeg(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});

// For a caller that owns the file's bytes: the decoder may rearrange them while it runs (a PNG's
// image data is moved together rather than copied); they are as they were when it returns.
DecodedImage DecodeWritablePng(std::span<std::uint8_t> file, const DecodeLimits& limits = {});

enum class ImageFormat { Unknown, Bmp, Gif, Png, Tiff, Jpeg };

// The format by the file's signature bytes, whatever its name says.
ImageFormat SniffImageFormat(std::span<const std::uint8_t> file);

// Decodes a file of any supported format, chosen by its signature.
DecodedImage DecodeImage(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});
// The same for a caller that owns the bytes, on the terms of DecodeWritablePng.
DecodedImage DecodeWritableImage(std::span<std::uint8_t> file, const DecodeLimits& limits = {});

}  // namespace palvex
