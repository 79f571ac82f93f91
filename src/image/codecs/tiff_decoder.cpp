#include <algorithm>

#include "image/codecs/decoder.h"
#include "image/codecs/tiff_readers.h"
#include "image/codecs/tiff_stream.h"

namespace palvex {
namespace {

// No legitimate strip, tile or libtiff table needs more than this: four 16-bit samples a pixel
// of the whole image, twice over, with a floor for images of a few huge tiles.
std::uint64_t MaxSingleAlloc(std::uint64_t maxPixels) {
    constexpr std::uint64_t kFloor = std::uint64_t{64} << 20;
    return std::max(maxPixels * 16, kFloor);
}

// The first extra sample is alpha when declared as such. libtiff also takes an unspecified
// extra sample of RGB, or an undeclared fourth RGB sample, as associated alpha; so do we, so
// that both readers agree.
TiffAlpha AlphaOf(TIFF* tif, int samplesPerPixel, int photometric, int& extraSamples) {
    std::uint16_t count = 0;
    std::uint16_t* kinds = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &count, &kinds);
    extraSamples = count;
    if (count == 0 || kinds == nullptr) {
        if (samplesPerPixel == 4 && photometric == PHOTOMETRIC_RGB) {
            extraSamples = 1;
            return TiffAlpha::Associated;
        }
        return TiffAlpha::None;
    }
    switch (kinds[0]) {
        case EXTRASAMPLE_ASSOCALPHA:
            return TiffAlpha::Associated;
        case EXTRASAMPLE_UNASSALPHA:
            return TiffAlpha::Unassociated;
        default:
            return photometric == PHOTOMETRIC_RGB && samplesPerPixel > 3 ? TiffAlpha::Associated
                                                                         : TiffAlpha::None;
    }
}

bool ReadInfo(TIFF* tif, TiffImageInfo& info) {
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &info.width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &info.height)) {
        return false;
    }
    std::uint16_t bits = 1;
    std::uint16_t samples = 1;
    std::uint16_t format = SAMPLEFORMAT_UINT;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    std::uint16_t inkSet = INKSET_CMYK;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inkSet);
    info.bitsPerSample = bits;
    info.samplesPerPixel = samples;
    info.sampleFormat = format;
    info.planar = planar == PLANARCONFIG_SEPARATE && samples > 1;
    info.orientation = orientation;
    info.inkSet = inkSet;
    info.tiled = TIFFIsTiled(tif) != 0;

    int extras = 0;
    std::uint16_t photometric = 0;
    const bool hasPhotometric = TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) != 0;
    info.alpha = AlphaOf(tif, samples, hasPhotometric ? photometric : -1, extras);
    info.colourSamples = samples - std::min<int>(extras, samples);
    if (!hasPhotometric) {
        // libtiff's guess, which its RGBA reader makes too.
        photometric = info.colourSamples == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    }
    info.photometric = photometric;
    if (info.alpha != TiffAlpha::None && info.colourSamples == samples) {
        info.alpha = TiffAlpha::None;
    }
    return true;
}

}  // namespace

TiffPlacement PlaceTiff(int orientation, int storedWidth, int storedHeight) {
    const std::ptrdiff_t w = storedWidth;
    const std::ptrdiff_t h = storedHeight;
    switch (orientation) {
        case ORIENTATION_TOPRIGHT:
            return {storedWidth, storedHeight, w - 1, -1, w};
        case ORIENTATION_BOTRIGHT:
            return {storedWidth, storedHeight, (h - 1) * w + w - 1, -1, -w};
        case ORIENTATION_BOTLEFT:
            return {storedWidth, storedHeight, (h - 1) * w, 1, -w};
        // Transposed: stored rows become output columns, so the output is h wide.
        case ORIENTATION_LEFTTOP:
            return {storedHeight, storedWidth, 0, h, 1};
        case ORIENTATION_RIGHTTOP:
            return {storedHeight, storedWidth, h - 1, h, -1};
        case ORIENTATION_RIGHTBOT:
            return {storedHeight, storedWidth, (w - 1) * h + h - 1, -h, -1};
        case ORIENTATION_LEFTBOT:
            return {storedHeight, storedWidth, (w - 1) * h, -h, 1};
        default:
            return {storedWidth, storedHeight, 0, 1, w};
    }
}

DecodedImage DecodeTiff(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    if (file.size() < 8) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }
    const std::uint64_t maxPixels = std::min(limits.maxPixels, kMaxPixels);
    const std::uint64_t maxAlloc = MaxSingleAlloc(maxPixels);
    TiffStream stream(file, maxAlloc);
    TiffImageInfo info;
    if (stream.Handle() == nullptr || !ReadInfo(stream.Handle(), info)) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }
    if (std::uint64_t{info.width} * info.height > maxPixels) {
        return DecodeFailure(DecodeStatus::TooLarge);
    }
    if (info.width == 0 || info.height == 0) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }
    const TiffPlacement placement =
        PlaceTiff(info.orientation, static_cast<int>(info.width), static_cast<int>(info.height));
    DecodedImage image;
    if (!image.pixels.Create(placement.width, placement.height)) {
        return DecodeFailure(DecodeStatus::OutOfMemory);
    }
    // Complaints while reading the directory are not fatal; from here on any error is.
    stream.ClearError();
    image.status = CanReadTiffDirect(info)
                       ? ReadTiffDirect(stream, info, placement, maxAlloc, image.pixels)
                       : ReadTiffRgba(stream, info, placement, image.pixels);
    if (image.status == DecodeStatus::Ok && stream.HadError()) {
        image.status = DecodeStatus::Corrupt;
    }
    if (!image.Ok()) {
        image.pixels.Reset();
    }
    return image;
}

}  // namespace palvex
