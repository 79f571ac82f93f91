#pragma once

#include <cstdint>
#include <span>

#include "image/bitmap.h"

namespace palvex {

enum class DecodeStatus {
    Ok,
    Corrupt,      // not this format, truncated, malformed or unsupported
    TooLarge,     // the declared size exceeds DecodeLimits: refused before allocating
    OutOfMemory,  // an allocation within the limits failed
};

struct DecodeLimits {
    std::uint64_t maxPixels = kMaxPixels;
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

enum class ImageFormat { Unknown, Bmp, Gif, Png, Tiff, Jpeg };

// The format by the file's signature bytes, whatever its name says.
ImageFormat SniffImageFormat(std::span<const std::uint8_t> file);

// Decodes a file of any supported format, chosen by its signature.
DecodedImage DecodeImage(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});

}  // namespace palvex
