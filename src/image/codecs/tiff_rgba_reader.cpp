#include <memory>
#include <new>

#include "image/codecs/tiff_readers.h"

// Everything the direct reader does not cover (palette, YCbCr and JPEG-in-TIFF, bilevel and
// 2/4-bit grey, Lab, ...) goes through libtiff's RGBA reader.

namespace palvex {
namespace {

// libtiff packs R | G << 8 | B << 16 | A << 24; with `premultiplied` its colour is scaled by
// alpha, which a transparent pixel cannot undo (its colour reads as black).
inline Pixel FromAbgr(std::uint32_t abgr, bool premultiplied) {
    unsigned r = abgr & 0xFF;
    unsigned g = abgr >> 8 & 0xFF;
    unsigned b = abgr >> 16 & 0xFF;
    const unsigned a = abgr >> 24;
    if (premultiplied) {
        r = Unpremultiply(r, a, 255);
        g = Unpremultiply(g, a, 255);
        b = Unpremultiply(b, a, 255);
    }
    return Pixel{a} << 24 | Pixel{r} << 16 | Pixel{g} << 8 | b;
}

// Whether libtiff hands back premultiplied colour: it stores associated alpha as it is and
// premultiplies unassociated alpha itself (RGB), but passes interleaved grey with alpha through
// as stored. Grey in separate planes it reads as RGB.
bool RgbaIsPremultiplied(const TiffImageInfo& info) {
    if (info.alpha == TiffAlpha::None) {
        return false;
    }
    const bool grey =
        info.photometric == PHOTOMETRIC_MINISBLACK || info.photometric == PHOTOMETRIC_MINISWHITE;
    return !grey || info.planar || info.alpha == TiffAlpha::Associated;
}

}  // namespace

DecodeStatus ReadTiffRgba(TiffStream& stream, const TiffImageInfo& info,
                          const TiffPlacement& placement, Bitmap& out) {
    TIFF* tif = stream.Handle();
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message) || !stream.UseExactTileBuffer()) {
        return DecodeStatus::Corrupt;
    }
    const bool premultiplied = RgbaIsPremultiplied(info);
    if (!placement.Transposed()) {
        // libtiff does the flips itself, straight into the output. The fill keeps the result
        // defined should some layout leave pixels unwritten.
        out.Fill(0);
        if (!TIFFReadRGBAImageOriented(tif, info.width, info.height, out.Data(),
                                       ORIENTATION_TOPLEFT, 1)) {
            return DecodeStatus::Corrupt;
        }
        for (Pixel& pixel : out.Pixels()) {
            pixel = FromAbgr(pixel, premultiplied);
        }
        return DecodeStatus::Ok;
    }
    // Transposing orientations: libtiff does not rotate, so read in stored order (asking for
    // the file's own orientation means no flips) and place each pixel while converting.
    const std::size_t count = std::size_t{info.width} * info.height;
    std::unique_ptr<std::uint32_t[]> stored(new (std::nothrow) std::uint32_t[count]());
    if (!stored) {
        return DecodeStatus::OutOfMemory;
    }
    if (!TIFFReadRGBAImageOriented(tif, info.width, info.height, stored.get(), info.orientation,
                                   1)) {
        return DecodeStatus::Corrupt;
    }
    Pixel* const base = out.Data() + placement.origin;
    const std::uint32_t* source = stored.get();
    for (std::uint32_t r = 0; r < info.height; ++r) {
        Pixel* target = base + static_cast<std::ptrdiff_t>(r) * placement.rowStep;
        for (std::uint32_t c = 0; c < info.width; ++c, target += placement.columnStep) {
            *target = FromAbgr(*source++, premultiplied);
        }
    }
    return DecodeStatus::Ok;
}

}  // namespace palvex
