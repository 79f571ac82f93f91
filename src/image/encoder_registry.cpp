#include <array>

#include "image/codecs/encoder.h"
#include "image/image_saver.h"

namespace palvex {
namespace {

bool EncodeBmp(const Bitmap& image, int /*quality*/, Colour alphaKey, OutputBuffer& out) {
    return EncodeBmpWithAlpha(image, alphaKey, out);
}
bool EncodeJpegFile(const Bitmap& image, int quality, Colour /*alphaKey*/, OutputBuffer& out) {
    return EncodeJpeg(image, quality, out);
}
bool EncodeGifFile(const Bitmap& image, int /*quality*/, Colour alphaKey, OutputBuffer& out) {
    return EncodeGif(image, alphaKey, out);
}
bool EncodeTiffFile(const Bitmap& image, int /*quality*/, Colour alphaKey, OutputBuffer& out) {
    return EncodeTiff(image, alphaKey, out);
}
bool EncodePngFile(const Bitmap& image, int /*quality*/, Colour alphaKey, OutputBuffer& out) {
    return EncodePng(image, alphaKey, out);
}

// Encoders without a quality setting ignore it; only JPEG reads it.
constexpr std::array<ImageEncoder, 5> kEncoders = {{
    {"image/bmp", EncodeBmp},
    {"image/jpeg", EncodeJpegFile},
    {"image/gif", EncodeGifFile},
    {"image/tiff", EncodeTiffFile},
    {"image/png", EncodePngFile},
}};

}  // namespace

const ImageEncoder* FindEncoderByMime(std::string_view mime) {
    for (const ImageEncoder& encoder : kEncoders) {
        if (encoder.mime == mime) {
            return &encoder;
        }
    }
    return nullptr;
}

}  // namespace palvex
