#include <cstddef>
#include <cstdint>

#include "image/codecs/decoder.h"

// Small images keep each run fast; the size checks themselves are exercised by the limit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    palvex::DecodeLimits limits;
    limits.maxPixels = 1u << 22;
    (void)palvex::DecodeGif({data, size}, limits);
    return 0;
}
