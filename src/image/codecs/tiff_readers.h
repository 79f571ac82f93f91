#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "image/bitmap.h"
#include "image/codecs/decoder.h"
#include "image/codecs/tiff_stream.h"

namespace palvex {

enum class TiffAlpha { None, Associated, Unassociated };

// What the decoder needs from the first directory, with libtiff's defaults filled in.
struct TiffImageInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitsPerSample = 1;
    int samplesPerPixel = 1;
    int colourSamples = 1;  // samples a pixel before the extra ones
    int photometric = 0;
    int sampleFormat = 1;
    int orientation = 1;
    int inkSet = 1;
    bool planar = false;
    bool tiled = false;
    TiffAlpha alpha = TiffAlpha::None;
};

// Where each stored pixel goes in the output, so the orientation costs no extra pass: the
// stored pixel (column c, row r) lands at index origin + c * columnStep + r * rowStep.
struct TiffPlacement {
    int width = 0;  // of the output
    int height = 0;
    std::ptrdiff_t origin = 0;
    std::ptrdiff_t columnStep = 1;
    std::ptrdiff_t rowStep = 0;

    bool Transposed() const { return columnStep != 1 && columnStep != -1; }
};

// Orientation values outside 1..8 count as 1 (top-left).
TiffPlacement PlaceTiff(int orientation, int storedWidth, int storedHeight);

// Whether the image is plain grey, RGB or CMYK samples of 8 or 16 bits that ReadTiffDirect
// converts itself; the rest goes through libtiff's RGBA reader.
bool CanReadTiffDirect(const TiffImageInfo& info);

// Both fill `out`, already created at the placement's size. maxBuffer bounds the strip or tile
// buffers. Ok, Corrupt or OutOfMemory; libtiff's recorded errors are the caller's to check.
DecodeStatus ReadTiffDirect(TiffStream& stream, const TiffImageInfo& info,
                            const TiffPlacement& placement, std::uint64_t maxBuffer, Bitmap& out);
DecodeStatus ReadTiffRgba(TiffStream& stream, const TiffImageInfo& info,
                          const TiffPlacement& placement, Bitmap& out);

// Undoes premultiplication of one colour sample whose full scale is `max`, rounding.
// Without coverage (a = 0) the stored value is all there is, so it stays.
inline unsigned Unpremultiply(unsigned value, unsigned alpha, unsigned max) {
    if (alpha == 0 || alpha >= max) {
        return value;
    }
    return std::min(max, (value * max + alpha / 2) / alpha);
}

}  // namespace palvex
