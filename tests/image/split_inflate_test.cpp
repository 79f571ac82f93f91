#include "image/codecs/split_inflate.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include <gtest/gtest.h>

namespace palvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Small enough for a test, large enough for many blocks on each side of the split.
constexpr std::size_t kSize = std::size_t{3} << 20;

// Rows of small filter residuals with a filter byte in front, as a photo PNG's data looks.
Bytes PhotoRows(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    Bytes data(size);
    constexpr std::size_t kRow = 4001;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t x = i % kRow;
        data[i] = x == 0 ? static_cast<std::uint8_t>(random() % 5)
                         : static_cast<std::uint8_t>(static_cast<int>(random() % 9) - 4 +
                                                     (x % 97 == 0 ? x : 0));
    }
    return data;
}

// Long repeats at every distance up to the window: most of the second half's first window
// copies from the first half.
Bytes Repetitive(std::size_t size) {
    Bytes data(size);
    std::mt19937 random(7);
    Bytes phrase(20000);
    for (std::uint8_t& b : phrase) {
        b = static_cast<std::uint8_t>(random());
    }
    for (std::size_t i = 0; i < size; ++i) {
        data[i] =
            (i / 100000) % 3 == 0 ? static_cast<std::uint8_t>(random()) : phrase[i % phrase.size()];
    }
    return data;
}

Bytes Random(std::size_t size) {
    std::mt19937 random(3);
    Bytes data(size);
    for (std::uint8_t& b : data) {
        b = static_cast<std::uint8_t>(random());
    }
    return data;
}

Bytes ZlibCompress(const Bytes& data, int level, int strategy) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy), Z_OK);
    Bytes out(deflateBound(&z, data.size()));
    z.next_in = const_cast<Bytes::value_type*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes LibdeflateCompress(const Bytes& data, int level) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    Bytes out(libdeflate_zlib_compress_bound(c, data.size()));
    out.resize(libdeflate_zlib_compress(c, data.data(), data.size(), out.data(), out.size()));
    libdeflate_free_compressor(c);
    return out;
}

SplitInflateOptions SplitSmall(double at = 0.5) {
    return {.splitFrom = 1024, .splitAt = at};
}

struct Case {
    std::string name;
    Bytes data;
    Bytes stream;
};

std::vector<Case> SplittableCases() {
    const Bytes photo = PhotoRows(kSize, 1);
    const Bytes repeats = Repetitive(kSize);
    return {
        {"photo, zlib 6", photo, ZlibCompress(photo, 6, Z_DEFAULT_STRATEGY)},
        {"photo, zlib 1", photo, ZlibCompress(photo, 1, Z_DEFAULT_STRATEGY)},
        {"photo, zlib 9 filtered", photo, ZlibCompress(photo, 9, Z_FILTERED)},
        {"photo, Huffman only", photo, ZlibCompress(photo, 6, Z_HUFFMAN_ONLY)},
        {"photo, run lengths", photo, ZlibCompress(photo, 6, Z_RLE)},
        {"photo, libdeflate 6", photo, LibdeflateCompress(photo, 6)},
        {"photo, libdeflate 12", photo, LibdeflateCompress(photo, 12)},
        {"repeats, zlib 6", repeats, ZlibCompress(repeats, 6, Z_DEFAULT_STRATEGY)},
        {"repeats, libdeflate 9", repeats, LibdeflateCompress(repeats, 9)},
    };
}

TEST(SplitInflate, BothHalvesJoinToTheWholeAndTheStreamIsPutBack) {
    for (const Case& c : SplittableCases()) {
        SCOPED_TRACE(c.name);
        for (const double at : {0.2, 0.5, 0.77}) {
            SCOPED_TRACE(at);
            Bytes stream = c.stream;
            Bytes out(c.data.size(), 0xAA);
            ASSERT_EQ(InflateZlibSplit(stream, out, SplitSmall(at)), SplitInflateResult::Done);
            EXPECT_TRUE(out == c.data);
            EXPECT_TRUE(stream == c.stream);
        }
    }
}

TEST(SplitInflate, TheFirstPartIsFinalWhenHandedOutAndMayThenBeOverwritten) {
    for (const Case& c : SplittableCases()) {
        SCOPED_TRACE(c.name);
        Bytes stream = c.stream;
        Bytes out(c.data.size());
        std::size_t handed = 0;
        bool finalWhenHanded = false;
        const auto result = InflateZlibSplit(stream, out, SplitSmall(), [&](std::size_t bytes) {
            handed = bytes;
            finalWhenHanded =
                std::equal(out.begin(), out.begin() + static_cast<long>(bytes), c.data.begin());
            std::fill(out.begin(), out.begin() + static_cast<long>(bytes), 0x5A);
        });
        ASSERT_EQ(result, SplitInflateResult::Done);
        EXPECT_GT(handed, 0u);
        EXPECT_TRUE(finalWhenHanded);
        // Nothing after the handed-out bytes depends on what became of them.
        EXPECT_TRUE(std::equal(out.begin() + static_cast<long>(handed), out.end(),
                               c.data.begin() + static_cast<long>(handed)));
    }
}

TEST(SplitInflate, StreamsWithoutDynamicBlocksAreNotSplitButStillInflate) {
    const Bytes random = Random(kSize);
    const Bytes photo = PhotoRows(kSize, 2);
    for (const auto& [data, stream] :
         {std::pair{random, ZlibCompress(random, 0, Z_DEFAULT_STRATEGY)},
          std::pair{photo, ZlibCompress(photo, 6, Z_FIXED)}}) {
        Bytes patched = stream;
        Bytes out(data.size());
        EXPECT_EQ(InflateZlibSplit(patched, out, SplitSmall()), SplitInflateResult::NotSplit);
        EXPECT_TRUE(patched == stream);
        ASSERT_TRUE(InflateZlibExact(patched, out, SplitSmall()));
        EXPECT_TRUE(out == data);
    }
}

TEST(SplitInflate, SmallStreamsStayOnOneCore) {
    const Bytes photo = PhotoRows(kSize, 3);
    Bytes stream = ZlibCompress(photo, 6, Z_DEFAULT_STRATEGY);
    Bytes out(photo.size());
    EXPECT_EQ(InflateZlibSplit(stream, out, {.splitFrom = stream.size() + 1, .splitAt = 0.5}),
              SplitInflateResult::NotSplit);
    ASSERT_TRUE(InflateZlibExact(stream, out));
    EXPECT_TRUE(out == photo);
}

TEST(SplitInflate, BadStreamsAndWrongSizesFailOnEitherPath) {
    const Bytes photo = PhotoRows(kSize, 4);
    const Bytes good = ZlibCompress(photo, 6, Z_DEFAULT_STRATEGY);
    std::vector<std::pair<std::string, Bytes>> bad;
    Bytes checksum = good;
    checksum[checksum.size() - 1] ^= 1;
    bad.emplace_back("checksum", checksum);
    for (const double at : {0.25, 0.5, 0.75}) {
        Bytes flipped = good;
        flipped[static_cast<std::size_t>(static_cast<double>(flipped.size()) * at)] ^= 0x10;
        bad.emplace_back("flipped byte", flipped);
    }
    bad.emplace_back("truncated", Bytes(good.begin(), good.end() - 1000));
    bad.emplace_back("no trailer", Bytes(good.begin(), good.end() - 4));
    Bytes header = good;
    header[1] ^= 0x20;  // asks for a preset dictionary
    bad.emplace_back("header", header);
    for (auto& [name, stream] : bad) {
        SCOPED_TRACE(name);
        const Bytes before = stream;
        Bytes out(photo.size());
        EXPECT_FALSE(InflateZlibExact(stream, out, SplitSmall()));
        EXPECT_TRUE(stream == before);
    }
    for (const std::size_t size : {photo.size() - 1, photo.size() + 1}) {
        Bytes stream = good;
        Bytes out(size);
        EXPECT_NE(InflateZlibSplit(stream, out, SplitSmall()), SplitInflateResult::Done);
        EXPECT_FALSE(InflateZlibExact(stream, out, SplitSmall()));
    }
}

// The second core never reads the zlib header and the checksum covers only the data, so the
// header is checked on its own: each of its faults must stop the split as it stops one core's
// inflate, also when the check bits are made right again.
TEST(SplitInflate, EveryHeaderFaultStopsTheSplit) {
    const Bytes photo = PhotoRows(kSize, 5);
    const Bytes good = ZlibCompress(photo, 6, Z_DEFAULT_STRATEGY);
    const auto withHeader = [&good](std::uint8_t cmf, std::uint8_t flg, bool fixCheck) {
        Bytes stream = good;
        stream[0] = cmf;
        if (fixCheck) {
            flg = static_cast<std::uint8_t>((flg & 0xE0) |
                                            (31 - (cmf * 256 + (flg & 0xE0)) % 31) % 31);
        }
        stream[1] = flg;
        return stream;
    };
    {
        Bytes stream = good;
        Bytes out(photo.size());
        ASSERT_EQ(InflateZlibSplit(stream, out, SplitSmall()), SplitInflateResult::Done)
            << "the sound stream must split for the faults to mean anything";
        Bytes refreshed = withHeader(good[0], good[1], true);
        ASSERT_TRUE(refreshed == good);
    }
    const std::vector<std::pair<std::string, Bytes>> bad = {
        {"check bits", withHeader(good[0], static_cast<std::uint8_t>(good[1] ^ 1), false)},
        {"method 7", withHeader(static_cast<std::uint8_t>((good[0] & 0xF0) | 7), good[1], true)},
        {"window 2^16",
         withHeader(static_cast<std::uint8_t>(0x80 | (good[0] & 0x0F)), good[1], true)},
        {"preset dictionary", withHeader(good[0], static_cast<std::uint8_t>(good[1] | 0x20), true)},
    };
    for (const auto& [name, damaged] : bad) {
        SCOPED_TRACE(name);
        Bytes stream = damaged;
        Bytes out(photo.size());
        EXPECT_EQ(InflateZlibSplit(stream, out, SplitSmall()), SplitInflateResult::NotSplit);
        EXPECT_FALSE(InflateZlibSerial(stream, out));
        EXPECT_FALSE(InflateZlibExact(stream, out, SplitSmall()));
        EXPECT_TRUE(stream == damaged);
    }
}

// The failure hook gives the split up after the first part was handed out; the serial inflate
// then starts over and the stream is given back as it was.
TEST(SplitInflate, ASplitGivenUpAfterTheFirstPartStillInflatesSerially) {
    const Bytes photo = PhotoRows(kSize, 6);
    const Bytes good = ZlibCompress(photo, 6, Z_DEFAULT_STRATEGY);
    Bytes stream = good;
    Bytes out(photo.size());
    SplitInflateOptions options = SplitSmall();
    bool handedOut = false;
    bool handedOutBeforeGivingUp = false;
    options.failAfterBothCores = [&] {
        handedOutBeforeGivingUp = handedOut;
        return true;
    };
    EXPECT_EQ(InflateZlibSplit(stream, out, options, [&](std::size_t) { handedOut = true; }),
              SplitInflateResult::NotSplit);
    EXPECT_TRUE(handedOutBeforeGivingUp);
    EXPECT_TRUE(stream == good);
    std::fill(out.begin(), out.end(), 0x5A);
    ASSERT_TRUE(InflateZlibExact(stream, out, options));
    EXPECT_TRUE(out == photo);
}

}  // namespace
}  // namespace palvex
