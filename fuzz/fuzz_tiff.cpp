#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/codecs/decoder.h"

// Small images keep each run fast; the size checks themselves are exercised by the limit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    palvex::DecodeLimits limits;
    limits.maxPixels = 1u << 22;
    const palvex::DecodedImage image = palvex::DecodeTiff({data, size}, limits);
    // A success is a whole image within the limit; a failure holds no pixels.
    if (image.Ok() ? image.pixels.IsNull() || image.pixels.PixelCount() > limits.maxPixels
                   : !image.pixels.IsNull()) {
        std::abort();
    }
    return 0;
}
