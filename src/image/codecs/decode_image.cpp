#include <algorithm>
#include <array>

#include "image/codecs/decoder.h"

namespace palvex {
namespace {

bool StartsWith(std::span<const std::uint8_t> file, std::span<const std::uint8_t> magic) {
    return file.size() >= magic.size() && std::equal(magic.begin(), magic.end(), file.begin());
}

}  // namespace

ImageFormat SniffImageFormat(std::span<const std::uint8_t> file) {
    static constexpr std::array<std::uint8_t, 8> kPng = {0x89, 'P',  'N',  'G',
                                                         0x0D, 0x0A, 0x1A, 0x0A};
    static constexpr std::array<std::uint8_t, 4> kGif = {'G', 'I', 'F', '8'};
    static constexpr std::array<std::uint8_t, 3> kJpeg = {0xFF, 0xD8, 0xFF};
    static constexpr std::array<std::uint8_t, 4> kTiffLe = {'I', 'I', 42, 0};
    static constexpr std::array<std::uint8_t, 4> kTiffBe = {'M', 'M', 0, 42};
    static constexpr std::array<std::uint8_t, 4> kBigTiffLe = {'I', 'I', 43, 0};
    static constexpr std::array<std::uint8_t, 4> kBigTiffBe = {'M', 'M', 0, 43};
    static constexpr std::array<std::uint8_t, 2> kBmp = {'B', 'M'};
    if (StartsWith(file, kPng)) {
        return ImageFormat::Png;
    }
    if (StartsWith(file, kGif)) {
        return ImageFormat::Gif;
    }
    if (StartsWith(file, kJpeg)) {
        return ImageFormat::Jpeg;
    }
    if (StartsWith(file, kTiffLe) || StartsWith(file, kTiffBe) || StartsWith(file, kBigTiffLe) ||
        StartsWith(file, kBigTiffBe)) {
        return ImageFormat::Tiff;
    }
    if (StartsWith(file, kBmp)) {
        return ImageFormat::Bmp;
    }
    return ImageFormat::Unknown;
}

DecodedImage DecodeImage(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    switch (SniffImageFormat(file)) {
        case ImageFormat::Bmp:
            return DecodeBmp(file, limits);
        case ImageFormat::Gif:
            return DecodeGif(file, limits);
        case ImageFormat::Png:
            return DecodePng(file, limits);
        case ImageFormat::Tiff:
            return DecodeTiff(file, limits);
        case ImageFormat::Jpeg:
            return DecodeJpeg(file, limits);
        case ImageFormat::Unknown:
            break;
    }
    return DecodeFailure(DecodeStatus::Corrupt);
}

DecodedImage DecodeWritableImage(std::span<std::uint8_t> file, const DecodeLimits& limits) {
    return SniffImageFormat(file) == ImageFormat::Png ? DecodeWritablePng(file, limits)
                                                      : DecodeImage(file, limits);
}

}  // namespace palvex
