#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <zlib.h>

#include "image/codecs/decoder.h"

namespace {

// Rewrites every chunk's CRC to match its contents, so that mutations reach the chunk parsers
// and the inflater instead of all stopping at the CRC check.
void FixChunkCrcs(std::vector<std::uint8_t>& png) {
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::size_t length = std::size_t{png[at]} << 24 | std::size_t{png[at + 1]} << 16 |
                                   std::size_t{png[at + 2]} << 8 | png[at + 3];
        if (length > png.size() - at - 12) {
            return;
        }
        const uLong crc = crc32(0, png.data() + at + 4, static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i) {
            png[at + 8 + length + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at += 12 + length;
    }
}

}  // namespace

// Small images keep each run fast; the size checks themselves are exercised by the limit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    palvex::DecodeLimits limits;
    limits.maxPixels = 1u << 22;
    // Odd sizes go in as they are, to keep the CRC checks themselves covered.
    if (size % 2 == 1) {
        (void)palvex::DecodePng({data, size}, limits);
        return 0;
    }
    std::vector<std::uint8_t> fixed(data, data + size);
    FixChunkCrcs(fixed);
    const palvex::DecodedImage decoded = palvex::DecodePng(fixed, limits);
    // A writable file decodes the same and is given back as it was.
    std::vector<std::uint8_t> writable = fixed;
    const palvex::DecodedImage fromWritable = palvex::DecodeWritablePng(writable, limits);
    if (writable != fixed || decoded.status != fromWritable.status ||
        (decoded.Ok() && !std::equal(decoded.pixels.Pixels().begin(), decoded.pixels.Pixels().end(),
                                     fromWritable.pixels.Pixels().begin()))) {
        std::abort();
    }
    return 0;
}
