#include "image/codecs/split_inflate.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include "image/large_block.h"
#include "image/parallel.h"

// A deflate stream is one chain of blocks, each free to copy from the 32 KiB before it, so it
// cannot simply be cut in two. The second core finds where a block starts in the middle (a
// dynamic block's header is checked so thoroughly that chance passes are negligible, and the
// checksum at the end catches any), decodes from there with a small decoder of its own that
// notes each byte copied from the unknown part before, and once its last 32 KiB are all known
// hands the rest to libdeflate: the known window goes in front as a block of literals, so no
// dictionary support is needed. The first core inflates up to the boundary, where an empty
// final block is patched in. The noted bytes are filled in from the first half at the end.

namespace palvex {
namespace {

constexpr std::size_t kWindow = 32768;
constexpr int kMaxCodeBits = 15;
// The second core's own decoder works only until its window is known; past this it gives up.
constexpr std::size_t kMostHeadOutput = std::size_t{4} << 20;
// How much compressed data it copies for itself to search and decode in.
constexpr std::size_t kHeadInput = std::size_t{2} << 20;
// The longest literal block WindowBlock makes: header, 7 bytes of padding, 32 KiB of 9-bit
// literals, end of block.
constexpr std::size_t kMostBlockBytes = (3 + 7 * 9 + kWindow * 9 + 7 + 7) / 8;
// Where the search for a boundary gives up.
constexpr std::size_t kSearchBits = std::size_t{1} << 23;

// Bits least significant first, as deflate packs them. Reading past the end fails the reader.
class BitReader {
public:
    BitReader(std::span<const std::uint8_t> data, std::size_t bit) : data_(data), bit_(bit) {}

    std::uint32_t Bits(int count) {
        if (count == 0) {
            return 0;
        }
        if (bit_ + static_cast<std::size_t>(count) > data_.size() * 8) {
            failed_ = true;
            bit_ = data_.size() * 8;
            return 0;
        }
        const std::size_t byte = bit_ >> 3;
        std::uint32_t word = 0;
        for (std::size_t i = 0; i < 3 && byte + i < data_.size(); ++i) {
            word |= std::uint32_t{data_[byte + i]} << (8 * i);
        }
        const std::uint32_t value = (word >> (bit_ & 7)) & ((1u << count) - 1);
        bit_ += static_cast<std::size_t>(count);
        return value;
    }
    void AlignToByte() { bit_ = (bit_ + 7) & ~std::size_t{7}; }
    std::size_t Bit() const { return bit_; }
    bool Failed() const { return failed_; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t bit_;
    bool failed_ = false;
};

// A canonical prefix code, decoded a bit at a time: the few hundred kilobytes this decoder
// sees do not need tables.
struct PrefixCode {
    std::array<std::uint16_t, kMaxCodeBits + 1> count{};
    std::array<std::uint16_t, 288> symbol{};
};

// Builds the code from its lengths; returns the unused code space (0: complete, negative:
// over-subscribed).
int BuildCode(PrefixCode& code, const std::uint8_t* lengths, int n) {
    code.count.fill(0);
    for (int i = 0; i < n; ++i) {
        ++code.count[lengths[i]];
    }
    int left = 1;
    for (int bits = 1; bits <= kMaxCodeBits; ++bits) {
        left = (left << 1) - code.count[bits];
        if (left < 0) {
            return left;
        }
    }
    std::array<std::uint16_t, kMaxCodeBits + 2> offset{};
    for (int bits = 1; bits <= kMaxCodeBits; ++bits) {
        offset[bits + 1] = static_cast<std::uint16_t>(offset[bits] + code.count[bits]);
    }
    for (int i = 0; i < n; ++i) {
        if (lengths[i] != 0) {
            code.symbol[offset[lengths[i]]++] = static_cast<std::uint16_t>(i);
        }
    }
    return left;
}

// -1 for a code that is not in the table or data that ends.
int DecodeSymbol(BitReader& in, const PrefixCode& code) {
    int value = 0;
    int first = 0;
    int index = 0;
    for (int bits = 1; bits <= kMaxCodeBits; ++bits) {
        value |= static_cast<int>(in.Bits(1));
        const int count = code.count[bits];
        if (value - first < count) {
            return in.Failed() ? -1 : code.symbol[index + value - first];
        }
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    return -1;
}

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                         4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                         9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Reads a dynamic block's code tables, after its three header bits. False for anything an
// encoder would not write: over-subscribed or incomplete codes (one distance code of one bit
// excepted), no end-of-block code, a repeat with nothing before it or past the end.
bool ReadDynamicCodes(BitReader& in, PrefixCode& literals, PrefixCode& distances) {
    const int literalCount = static_cast<int>(in.Bits(5)) + 257;
    const int distanceCount = static_cast<int>(in.Bits(5)) + 1;
    const int lengthCodeCount = static_cast<int>(in.Bits(4)) + 4;
    if (in.Failed() || literalCount > 286 || distanceCount > 30) {
        return false;
    }
    static constexpr std::array<std::uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                            11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::array<std::uint8_t, 19> lengthCodeLengths{};
    for (int i = 0; i < lengthCodeCount; ++i) {
        lengthCodeLengths[kOrder[i]] = static_cast<std::uint8_t>(in.Bits(3));
    }
    PrefixCode lengthCode;
    if (in.Failed() || BuildCode(lengthCode, lengthCodeLengths.data(), 19) != 0) {
        return false;
    }
    std::array<std::uint8_t, 286 + 30> lengths{};
    const int total = literalCount + distanceCount;
    for (int i = 0; i < total;) {
        const int symbol = DecodeSymbol(in, lengthCode);
        if (symbol < 0) {
            return false;
        }
        if (symbol < 16) {
            lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t repeated = 0;
        int times = 0;
        if (symbol == 16) {
            if (i == 0) {
                return false;
            }
            repeated = lengths[i - 1];
            times = 3 + static_cast<int>(in.Bits(2));
        } else if (symbol == 17) {
            times = 3 + static_cast<int>(in.Bits(3));
        } else {
            times = 11 + static_cast<int>(in.Bits(7));
        }
        if (in.Failed() || i + times > total) {
            return false;
        }
        while (times-- > 0) {
            lengths[i++] = repeated;
        }
    }
    if (lengths[256] == 0 || BuildCode(literals, lengths.data(), literalCount) != 0) {
        return false;
    }
    const int unused = BuildCode(distances, lengths.data() + literalCount, distanceCount);
    const bool oneShortCode = distances.count[1] == 1 && unused == 1 << (kMaxCodeBits - 1);
    return unused == 0 || oneShortCode;
}

void BuildFixedCodes(PrefixCode& literals, PrefixCode& distances) {
    std::array<std::uint8_t, 288> lengths{};
    std::fill(lengths.begin(), lengths.begin() + 144, 8);
    std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
    std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
    std::fill(lengths.begin() + 280, lengths.end(), 8);
    BuildCode(literals, lengths.data(), 288);
    std::fill(lengths.begin(), lengths.begin() + 30, 5);
    BuildCode(distances, lengths.data(), 30);
}

// The second core's start: decodes blocks from a boundary, writing a byte as itself and a
// byte copied from before the boundary as 256 + (how far before it lies) - 1.
class HeadDecoder {
public:
    HeadDecoder(std::span<const std::uint8_t> input, std::size_t bit) : in_(input, bit) {}

    // Decodes the next block; false for bad data or a head grown too long.
    bool DecodeBlock(bool dynamicOnly) {
        blockStart_ = in_.Bit();
        final_ = in_.Bits(1) != 0;
        const std::uint32_t type = in_.Bits(2);
        if (in_.Failed() || (dynamicOnly && type != 2)) {
            return false;
        }
        if (type == 0) {
            return CopyStored();
        }
        PrefixCode literals;
        PrefixCode distances;
        if (type == 1) {
            BuildFixedCodes(literals, distances);
        } else if (type != 2 || !ReadDynamicCodes(in_, literals, distances)) {
            return false;
        }
        return DecodeData(literals, distances);
    }

    bool Final() const { return final_; }
    std::size_t BlockStart() const { return blockStart_; }
    std::size_t Bit() const { return in_.Bit(); }
    void AlignToByte() { in_.AlignToByte(); }
    const std::vector<std::uint16_t>& Output() const { return out_; }
    // Whether the last 32 KiB decoded are all known bytes.
    bool WindowKnown() const {
        return out_.size() >= kWindow && lastMarker_ + kWindow < out_.size();
    }

private:
    bool CopyStored() {
        in_.AlignToByte();
        const std::uint32_t length = in_.Bits(16);
        const std::uint32_t check = in_.Bits(16);
        if (in_.Failed() || length != (~check & 0xFFFF) || out_.size() + length > kMostHeadOutput) {
            return false;
        }
        for (std::uint32_t i = 0; i < length; ++i) {
            out_.push_back(static_cast<std::uint16_t>(in_.Bits(8)));
        }
        return !in_.Failed();
    }

    bool DecodeData(const PrefixCode& literals, const PrefixCode& distances) {
        for (;;) {
            const int symbol = DecodeSymbol(in_, literals);
            if (symbol < 0 || out_.size() > kMostHeadOutput) {
                return false;
            }
            if (symbol < 256) {
                out_.push_back(static_cast<std::uint16_t>(symbol));
                continue;
            }
            if (symbol == 256) {
                return true;
            }
            const int lengthIndex = symbol - 257;
            if (lengthIndex >= 29) {
                return false;
            }
            const std::size_t length =
                kLengthBase[lengthIndex] + in_.Bits(kLengthExtra[lengthIndex]);
            const int distanceIndex = DecodeSymbol(in_, distances);
            if (distanceIndex < 0 || distanceIndex >= 30) {
                return false;
            }
            const std::size_t distance =
                kDistanceBase[distanceIndex] + in_.Bits(kDistanceExtra[distanceIndex]);
            if (in_.Failed()) {
                return false;
            }
            for (std::size_t i = 0; i < length; ++i) {
                const std::size_t at = out_.size();
                if (at >= distance) {
                    const std::uint16_t value = out_[at - distance];
                    if (value >= 256) {
                        lastMarker_ = at;
                    }
                    out_.push_back(value);
                } else {
                    lastMarker_ = at;
                    out_.push_back(static_cast<std::uint16_t>(256 + (distance - at) - 1));
                }
            }
        }
    }

    BitReader in_;
    std::vector<std::uint16_t> out_;
    std::size_t lastMarker_ = 0;
    std::size_t blockStart_ = 0;
    bool final_ = false;
};

// Writes bits least significant first, Huffman codes most significant first.
class BitWriter {
public:
    void Put(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            PutBit((value >> i) & 1);
        }
    }
    void PutCode(std::uint32_t code, int count) {
        for (int i = count - 1; i >= 0; --i) {
            PutBit((code >> i) & 1);
        }
    }
    std::size_t BitCount() const { return bits_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    void PutBit(std::uint32_t bit) {
        if ((bits_ & 7) == 0) {
            bytes_.push_back(0);
        }
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | bit << (bits_ & 7));
        ++bits_;
    }
    std::vector<std::uint8_t> bytes_;
    std::size_t bits_ = 0;
};

int FixedLiteralBits(std::uint8_t byte) {
    return byte < 144 ? 8 : 9;
}

// A fixed-code block of `padding` bytes of 144 and then `window` as literals, as long as it
// must be to end `endBit` bits into a byte, so that it can take the place of the bytes
// before a block that starts there.
std::vector<std::uint8_t> WindowBlock(std::span<const std::uint8_t> window, int endBit,
                                      int* padding) {
    std::size_t bits = 3 + 7;
    for (const std::uint8_t byte : window) {
        bits += static_cast<std::size_t>(FixedLiteralBits(byte));
    }
    // Each 144 adds 9 bits, one more than a whole byte.
    *padding = static_cast<int>((static_cast<std::size_t>(endBit) + 64 - bits % 8) % 8);
    BitWriter writer;
    writer.Put(0, 1);  // not final
    writer.Put(1, 2);  // fixed codes
    const auto literal = [&writer](std::uint8_t byte) {
        if (byte < 144) {
            writer.PutCode(0x30u + byte, 8);
        } else {
            writer.PutCode(0x190u + (byte - 144u), 9);
        }
    };
    for (int i = 0; i < *padding; ++i) {
        literal(144);
    }
    for (const std::uint8_t byte : window) {
        literal(byte);
    }
    writer.PutCode(0, 7);  // end of block
    return writer.Bytes();
}

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
using Decompressor = std::unique_ptr<libdeflate_decompressor, DecompressorDeleter>;

std::uint32_t ReadBigEndian32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
           at[3];
}

bool ZlibHeaderOk(std::span<const std::uint8_t> stream) {
    return stream.size() >= 6 && (stream[0] & 0x0F) == 8 && (stream[0] >> 4) <= 7 &&
           (stream[1] & 0x20) == 0 && (stream[0] * 256 + stream[1]) % 31 == 0;
}

// Remembers bytes of the stream before they are patched and puts them back when it goes.
class StreamPatch {
public:
    StreamPatch(std::span<std::uint8_t> stream, std::size_t at, std::size_t count)
        : stream_(stream), at_(at), saved_(stream.begin() + at, stream.begin() + at + count) {}
    ~StreamPatch() { std::memcpy(stream_.data() + at_, saved_.data(), saved_.size()); }
    StreamPatch(const StreamPatch&) = delete;
    StreamPatch& operator=(const StreamPatch&) = delete;

private:
    std::span<std::uint8_t> stream_;
    std::size_t at_;
    std::vector<std::uint8_t> saved_;
};

// What the second core ends up with.
struct SecondHalf {
    std::unique_ptr<std::uint8_t, LargeBlockDeleter> bytes;
    std::size_t size = 0;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> markers;  // offset, marker
    std::size_t streamEnd = 0;                                     // byte after the deflate data
    bool ok = false;
};

// Continues the head decoder to where its window is known, then lets libdeflate finish.
void DecodeSecondHalf(HeadDecoder& head, std::size_t copyStart, std::span<std::uint8_t> stream,
                      std::size_t boundaryByte, std::size_t capacity, SecondHalf& result) {
    // The literal block must fit between the patched boundary and the block it leads into.
    while (!head.Final()) {
        if (head.WindowKnown() &&
            copyStart + head.Bit() / 8 >= boundaryByte + 3 + kMostBlockBytes) {
            break;
        }
        if (!head.DecodeBlock(false)) {
            return;
        }
    }
    const std::vector<std::uint16_t>& decoded = head.Output();
    result.bytes.reset(static_cast<std::uint8_t*>(AllocateLarge(capacity)));
    if (!result.bytes || decoded.size() > capacity) {
        return;
    }
    std::uint8_t* out = result.bytes.get();
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] >= 256) {
            result.markers.emplace_back(static_cast<std::uint32_t>(i), decoded[i]);
            out[i] = 0;
        } else {
            out[i] = static_cast<std::uint8_t>(decoded[i]);
        }
    }
    if (head.Final()) {
        head.AlignToByte();
        result.size = decoded.size();
        result.streamEnd = copyStart + head.Bit() / 8;
        result.ok = true;
        return;
    }
    const std::size_t handoverBit = head.Bit();
    const std::size_t handoverByte = copyStart + handoverBit / 8;
    const int endBit = static_cast<int>(handoverBit % 8);
    int padding = 0;
    const std::vector<std::uint8_t> block =
        WindowBlock({out + decoded.size() - kWindow, kWindow}, endBit, &padding);
    // The block ends endBit bits into the byte where the next block starts: that byte is
    // shared, its low bits the block's.
    const std::size_t blockEnd = handoverByte + (endBit != 0 ? 1 : 0);
    if (blockEnd < boundaryByte + 3 + block.size()) {
        return;
    }
    const std::size_t patchStart = blockEnd - block.size();
    const std::uint8_t sharedByte = stream[handoverByte];
    StreamPatch patch(stream, patchStart, block.size());
    std::memcpy(stream.data() + patchStart, block.data(), block.size());
    if (endBit != 0) {
        const auto lowBits = static_cast<std::uint8_t>((1u << endBit) - 1);
        stream[handoverByte] =
            static_cast<std::uint8_t>((block.back() & lowBits) | (sharedByte & ~lowBits));
    }
    // libdeflate writes the window again, over the same bytes, and the padding before it.
    const std::size_t restart = decoded.size() - kWindow - static_cast<std::size_t>(padding);
    std::array<std::uint8_t, 8> beforeWindow{};
    std::memcpy(beforeWindow.data(), out + restart, static_cast<std::size_t>(padding));
    Decompressor inflater(libdeflate_alloc_decompressor());
    std::size_t inUsed = 0;
    std::size_t outMade = 0;
    if (!inflater ||
        libdeflate_deflate_decompress_ex(
            inflater.get(), stream.data() + patchStart, stream.size() - patchStart, out + restart,
            capacity - restart, &inUsed, &outMade) != LIBDEFLATE_SUCCESS ||
        outMade < kWindow + static_cast<std::size_t>(padding)) {
        return;
    }
    std::memcpy(out + restart, beforeWindow.data(), static_cast<std::size_t>(padding));
    result.size = restart + outMade;
    result.streamEnd = patchStart + inUsed;
    result.ok = true;
}

}  // namespace

SplitInflateResult InflateZlibSplit(std::span<std::uint8_t> stream, std::span<std::uint8_t> out,
                                    const SplitInflateOptions& options,
                                    const FirstPartReady& ready) {
    if (stream.size() < options.splitFrom || out.size() < 4 * kWindow || WorkersFor(2) < 2 ||
        !ZlibHeaderOk(stream)) {
        return SplitInflateResult::NotSplit;
    }
    // The second core's own copy of where it searches and starts, taken before any patching.
    const auto searchByte = static_cast<std::size_t>(static_cast<double>(stream.size()) *
                                                     std::clamp(options.splitAt, 0.05, 0.95));
    const std::size_t copyStart = std::max<std::size_t>(searchByte, 2);
    const std::size_t copyEnd = std::min(stream.size(), copyStart + kHeadInput);
    const std::vector<std::uint8_t> copy(stream.begin() + copyStart, stream.begin() + copyEnd);

    std::unique_ptr<HeadDecoder> head;
    const std::size_t lastBit = std::min(kSearchBits, copy.size() * 8 / 2);
    for (std::size_t bit = 0; bit < lastBit && !head; ++bit) {
        // Cheap filters first: not final, dynamic codes, counts in range.
        const std::size_t byte = bit / 8;
        if (byte + 3 > copy.size()) {
            break;
        }
        const std::uint32_t word = (copy[byte] | std::uint32_t{copy[byte + 1]} << 8 |
                                    std::uint32_t{copy[byte + 2]} << 16) >>
                                   (bit % 8);
        if ((word & 7) != 4 || ((word >> 3) & 31) > 29 || ((word >> 8) & 31) > 29) {
            continue;
        }
        auto candidate = std::make_unique<HeadDecoder>(copy, bit);
        if (candidate->DecodeBlock(true)) {
            head = std::move(candidate);
        }
    }
    if (!head) {
        return SplitInflateResult::NotSplit;
    }
    const std::size_t boundaryBit = head->BlockStart();
    const std::size_t boundaryByte = copyStart + boundaryBit / 8;
    if (boundaryByte + 3 > stream.size()) {
        return SplitInflateResult::NotSplit;
    }

    // The first core's stream ends at the boundary with an empty final block of fixed codes:
    // bits 1 (final), 1 0 (fixed), then the seven zero bits of end-of-block.
    StreamPatch boundaryPatch(stream, boundaryByte, 3);
    const int shift = static_cast<int>(boundaryBit % 8);
    const std::uint32_t kept = stream[boundaryByte] & ((1u << shift) - 1);
    const std::uint32_t patched = kept | 3u << shift;
    stream[boundaryByte] = static_cast<std::uint8_t>(patched);
    stream[boundaryByte + 1] = static_cast<std::uint8_t>(patched >> 8);
    stream[boundaryByte + 2] = static_cast<std::uint8_t>(patched >> 16);

    std::size_t firstSize = 0;
    std::uint32_t firstAdler = 0;
    bool firstOk = false;
    SecondHalf second;
    ParallelFor(2, [&](std::size_t part, unsigned /*worker*/) {
        if (part == 0) {
            Decompressor inflater(libdeflate_alloc_decompressor());
            firstOk = inflater &&
                      libdeflate_deflate_decompress_ex(inflater.get(), stream.data() + 2,
                                                       boundaryByte + 3 - 2, out.data(), out.size(),
                                                       nullptr, &firstSize) == LIBDEFLATE_SUCCESS;
            if (firstOk) {
                firstAdler = libdeflate_adler32(1, out.data(), firstSize);
                // The second half's references into the first read only its last window.
                if (ready && firstSize > kWindow) {
                    ready(firstSize - kWindow);
                }
            }
        } else {
            DecodeSecondHalf(*head, copyStart, stream, boundaryByte, out.size(), second);
        }
    });
    if (options.failAfterBothCores && options.failAfterBothCores()) {
        return SplitInflateResult::NotSplit;
    }
    if (!firstOk || !second.ok || firstSize + second.size != out.size() ||
        second.streamEnd + 4 > stream.size()) {
        return SplitInflateResult::NotSplit;
    }
    std::uint8_t* rest = out.data() + firstSize;
    std::memcpy(rest, second.bytes.get(), second.size);
    for (const auto& [offset, marker] : second.markers) {
        const std::size_t back = std::size_t{marker} - 255;
        if (back > firstSize) {
            return SplitInflateResult::NotSplit;
        }
        rest[offset] = out[firstSize - back];
    }
    const std::uint32_t secondAdler = libdeflate_adler32(1, rest, second.size);
    const auto adler = static_cast<std::uint32_t>(
        adler32_combine(firstAdler, secondAdler, static_cast<z_off_t>(second.size)));
    if (adler != ReadBigEndian32(stream.data() + second.streamEnd)) {
        return SplitInflateResult::NotSplit;
    }
    return SplitInflateResult::Done;
}

bool InflateZlibSerial(std::span<const std::uint8_t> stream, std::span<std::uint8_t> out) {
    Decompressor inflater(libdeflate_alloc_decompressor());
    return inflater &&
           libdeflate_zlib_decompress(inflater.get(), stream.data(), stream.size(), out.data(),
                                      out.size(), nullptr) == LIBDEFLATE_SUCCESS;
}

bool InflateZlibExact(std::span<std::uint8_t> stream, std::span<std::uint8_t> out,
                      const SplitInflateOptions& options) {
    return InflateZlibSplit(stream, out, options) == SplitInflateResult::Done ||
           InflateZlibSerial(stream, out);
}

}  // namespace palvex
