// Inflating on two cores must agree with libdeflate on one: the same bytes for every stream
// both accept, and never success where libdeflate fails. The input picks the data, the
// compression level, where to split and a few bytes of the stream to damage.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include "image/codecs/split_inflate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 9;
    if (size < kHeader + 1) {
        return 0;
    }
    const int level = data[0] % 10;
    const double splitAt = 0.05 + 0.9 * data[1] / 255.0;
    const std::size_t damageAt = std::size_t{data[2]} << 16 | std::size_t{data[3]} << 8 | data[4];
    const std::uint8_t damage = data[5];
    const std::size_t step = data[6];
    const std::size_t outputSlack = data[7] % 3;  // 0: exact, 1: one short, 2: one long
    const std::size_t length = std::size_t{64} << 10 | std::size_t{data[8]} << 11;
    const std::uint8_t* payload = data + kHeader;
    const std::size_t n = size - kHeader;

    // Long enough to split: the payload over and over, drifting, so that there are matches
    // at every distance and literals too.
    std::vector<std::uint8_t> plain(length);
    for (std::size_t i = 0; i < length; ++i) {
        plain[i] = static_cast<std::uint8_t>(payload[i % n] + (i / n) * step);
    }
    std::vector<std::uint8_t> stream(compressBound(static_cast<uLong>(length)));
    uLongf streamSize = static_cast<uLongf>(stream.size());
    if (compress2(stream.data(), &streamSize, plain.data(), static_cast<uLong>(length), level) !=
        Z_OK) {
        std::abort();
    }
    stream.resize(streamSize);
    if (damage != 0 && stream.size() > 0) {
        stream[damageAt % stream.size()] ^= damage;
    }
    const std::vector<std::uint8_t> original = stream;
    const std::size_t outSize = outputSlack == 0   ? length
                                : outputSlack == 1 ? length - 1
                                                   : length + 1;

    std::vector<std::uint8_t> expected(outSize);
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    const bool expectedOk =
        libdeflate_zlib_decompress(d, stream.data(), stream.size(), expected.data(), outSize,
                                   nullptr) == LIBDEFLATE_SUCCESS;
    libdeflate_free_decompressor(d);

    std::vector<std::uint8_t> out(outSize);
    const palvex::SplitInflateResult result =
        palvex::InflateZlibSplit(stream, out, {.splitFrom = 0, .splitAt = splitAt});
    if (stream != original) {
        std::abort();
    }
    if (result == palvex::SplitInflateResult::Done && (!expectedOk || out != expected)) {
        std::abort();
    }
    return 0;
}
