#include <algorithm>

#include "image/codecs/bmp_header.h"
#include "image/codecs/bmp_rle.h"
#include "image/codecs/bmp_rows.h"
#include "image/codecs/decoder.h"

namespace palvex {

DecodedImage DecodeBmp(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    bmp::BmpLayout layout;
    if (const DecodeStatus status = bmp::ParseBmpHeaders(file, layout);
        status != DecodeStatus::Ok) {
        return DecodeFailure(status);
    }
    const std::uint64_t width = static_cast<std::uint64_t>(layout.width);
    const std::uint64_t height = static_cast<std::uint64_t>(layout.height);
    // Bitmap cannot hold more than kMaxPixels whatever the caller allows.
    if (width * height > std::min(limits.maxPixels, kMaxPixels)) {
        return DecodeFailure(DecodeStatus::TooLarge);
    }

    const bool rle =
        layout.layout == bmp::PixelLayout::Rle8 || layout.layout == bmp::PixelLayout::Rle4;
    const std::uint64_t bitCount = static_cast<std::uint64_t>(layout.bitCount);
    const std::uint64_t rowBytes = (width * bitCount + 31) / 32 * 4;
    if (!rle) {
        // The last row may lack its padding; every byte the pixels use must be there.
        const std::uint64_t lastRowBytes = (width * bitCount + 7) / 8;
        const std::uint64_t needed = (height - 1) * rowBytes + lastRowBytes;
        if (needed > file.size() - layout.pixelOffset) {
            return DecodeFailure(DecodeStatus::Corrupt);
        }
    }

    DecodedImage result{DecodeStatus::Ok, Bitmap{}};
    if (!result.pixels.Create(layout.width, layout.height)) {
        return DecodeFailure(DecodeStatus::OutOfMemory);
    }
    const std::span<const std::uint8_t> data = file.subspan(layout.pixelOffset);
    if (rle) {
        bmp::DecodeRle(data, layout, result.pixels);
        return result;
    }
    const bmp::RowConverter converter(layout);
    for (int i = 0; i < layout.height; ++i) {
        const int y = layout.topDown ? i : layout.height - 1 - i;
        converter.Convert(data.data() + static_cast<std::size_t>(i) * rowBytes,
                          result.pixels.Row(y));
    }
    return result;
}

}  // namespace palvex
