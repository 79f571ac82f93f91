#include "undo/comp_sub.h"

#include <cstring>

#include <gtest/gtest.h>

#include "undo/undo_test_support.h"

namespace palvex {
namespace {

std::filesystem::path WriteSnapshot(const std::filesystem::path& path, const SnapshotHeader& header,
                                    const Bitmap& pixels, int threads = 0) {
    AtomicFile file(path);
    EXPECT_TRUE(file.Open());
    EXPECT_TRUE(CCompSub::Compress(header, pixels.Data(), file, threads));
    EXPECT_TRUE(file.Commit());
    return path;
}

TEST(CCompSub, RoundTripsEveryByteOfEveryPixelOnAnyNumberOfThreads) {
    test::TempDir temp;
    PixelBufferPool pool;
    for (const Size size : {Size{1, 1}, Size{3, 700}, Size{513, 1031}}) {
        for (const int threads : {1, 3}) {
            SCOPED_TRACE(size.width * 10 + threads);
            Bitmap picture = test::Picture(size.width, size.height, 7);
            picture.Row(0)[0] = 0x12345678u;  // the fourth byte too
            const SnapshotHeader written{{-3, 4, size.width - 3, size.height + 4}, false};
            const auto path = WriteSnapshot(temp.File("s.tmp"), written, picture, threads);
            SnapshotHeader header;
            PixelBuffer pixels;
            ASSERT_EQ(CCompSub::Expand(path, header, pixels, pool, threads), ExpandStatus::Ok);
            EXPECT_EQ(header, written);
            EXPECT_EQ(std::memcmp(pixels.Data(), picture.Data(), picture.ByteCount()), 0);
        }
    }
}

TEST(CCompSub, PixelsWhoseFourthByteIsNotOpaqueRoundTrip) {
    test::TempDir temp;
    PixelBufferPool pool;
    Bitmap picture = test::Picture(300, 900, 5);
    for (Pixel& p : picture.Pixels()) {
        p &= 0x00FFFFFFu;  // one fourth byte everywhere, but not 0xFF
    }
    picture.Row(100)[150] |= 0x01000000u;  // one odd pixel amid the first band
    picture.Row(899)[299] |= 0x01000000u;  // and one at the very end of the last
    const SnapshotHeader written{{0, 0, 300, 900}, true};
    const auto path = WriteSnapshot(temp.File("a.tmp"), written, picture);
    SnapshotHeader header;
    PixelBuffer pixels;
    ASSERT_EQ(CCompSub::Expand(path, header, pixels, pool), ExpandStatus::Ok);
    EXPECT_EQ(std::memcmp(pixels.Data(), picture.Data(), picture.ByteCount()), 0);
}

TEST(CCompSub, AnEmptyRectangleRoundTrips) {
    test::TempDir temp;
    PixelBufferPool pool;
    const SnapshotHeader written{{5, 5, 5, 9}, false};
    const Bitmap none;
    const auto path = WriteSnapshot(temp.File("e.tmp"), written, none);
    SnapshotHeader header;
    PixelBuffer pixels;
    EXPECT_EQ(CCompSub::Expand(path, header, pixels, pool), ExpandStatus::Ok);
    EXPECT_EQ(header, written);
}

// A flipped bit in every byte of a small file is caught, unless it is one of the few bits of the
// compressed stream the decoder never looks at (the pixels then come back exact); every
// truncation is caught.
TEST(CCompSub, NoFlippedBitOrTruncationGivesWrongPixels) {
    test::TempDir temp;
    PixelBufferPool pool;
    const Bitmap picture = test::Picture(12, 10, 3);
    const auto path = WriteSnapshot(temp.File("s.tmp"), {{0, 0, 12, 10}, true}, picture);
    const auto good = test::ReadFileBytes(path);
    int unread = 0;
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (int bit = static_cast<int>(i % 8); bit < 8; bit += 8) {
            auto bytes = good;
            bytes[i] ^= static_cast<std::uint8_t>(1 << bit);
            test::WriteFileBytes(path, bytes);
            SnapshotHeader header;
            PixelBuffer pixels;
            const ExpandStatus status = CCompSub::Expand(path, header, pixels, pool);
            if (status == ExpandStatus::Ok) {
                ++unread;
                ASSERT_TRUE(header == (SnapshotHeader{{0, 0, 12, 10}, true}) &&
                            std::memcmp(pixels.Data(), picture.Data(), picture.ByteCount()) == 0)
                    << "byte " << i << " bit " << bit;
            } else {
                ASSERT_EQ(status, ExpandStatus::Damaged);
            }
        }
    }
    EXPECT_LT(unread, 4);
    for (std::size_t size = 0; size < good.size(); ++size) {
        test::WriteFileBytes(path, {good.begin(), good.begin() + static_cast<long>(size)});
        SnapshotHeader header;
        PixelBuffer pixels;
        ASSERT_EQ(CCompSub::Expand(path, header, pixels, pool), ExpandStatus::Damaged) << size;
    }
    std::filesystem::remove(path);
    SnapshotHeader header;
    PixelBuffer pixels;
    EXPECT_EQ(CCompSub::Expand(path, header, pixels, pool), ExpandStatus::Missing);
}

// Bits the decoder would let pass: the frame descriptor's unused and reserved bits, and bytes
// between the last band and the footer that no band accounts for.
TEST(CCompSub, BytesTheDecoderWouldIgnoreStillMakeTheFileDamaged) {
    test::TempDir temp;
    PixelBufferPool pool;
    const Bitmap picture = test::Picture(300, 900, 2);  // several bands
    const auto path = WriteSnapshot(temp.File("s.tmp"), {{0, 0, 300, 900}, true}, picture);
    const auto good = test::ReadFileBytes(path);
    constexpr std::size_t kFirstFrameDescriptor = 44 + 4;  // after the header and frame magic
    ASSERT_EQ(good[kFirstFrameDescriptor] & 0x18, 0);
    for (const std::uint8_t bit : {0x10, 0x08}) {
        SCOPED_TRACE(bit);
        auto bytes = good;
        bytes[kFirstFrameDescriptor] |= bit;
        test::WriteFileBytes(path, bytes);
        SnapshotHeader header;
        PixelBuffer pixels;
        EXPECT_EQ(CCompSub::Expand(path, header, pixels, pool), ExpandStatus::Damaged);
    }

    // The footer is one 16-byte entry a band and a checksum; the stray bytes go in front of it,
    // tried for every band count, so that the footer itself stays sound for the right one.
    std::size_t footer = 0;
    for (std::size_t n = 1; n < 64 && footer == 0; ++n) {
        auto bytes = good;
        bytes.insert(bytes.end() - static_cast<long>(n * 16 + 4), 16, 0);
        test::WriteFileBytes(path, bytes);
        SnapshotHeader header;
        PixelBuffer pixels;
        if (CCompSub::Expand(path, header, pixels, pool) != ExpandStatus::Damaged) {
            footer = n;
        }
    }
    EXPECT_EQ(footer, 0u) << "16 stray bytes before a footer of " << footer << " bands pass";
}

}  // namespace
}  // namespace palvex
