#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/codecs/decoder.h"
#include "support/gif_writer.h"
#include "support/test_support.h"

namespace palvex::test {
namespace {

constexpr Pixel Argb(unsigned a, const GifColour& c) {
    return a << 24 | unsigned{c[0]} << 16 | unsigned{c[1]} << 8 | c[2];
}
constexpr Pixel kOpaqueBlack = 0xFF000000u;

std::vector<GifColour> Table(int entries, int seed = 0) {
    std::vector<GifColour> table;
    for (int i = 0; i < entries; ++i) {
        table.push_back({static_cast<std::uint8_t>(i * 3 + seed),
                         static_cast<std::uint8_t>(255 - i),
                         static_cast<std::uint8_t>(i * 5 + 1 + seed)});
    }
    return table;
}

// The indices 0, 1, 2, ... cycled through `entries`.
std::vector<std::uint8_t> Cycle(std::size_t count, int entries) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(static_cast<std::uint8_t>(i % static_cast<std::size_t>(entries)));
    }
    return out;
}

std::vector<Pixel> Lookup(const std::vector<GifColour>& table,
                          const std::vector<std::uint8_t>& indices, int transparent = -1) {
    std::vector<Pixel> out;
    for (const std::uint8_t i : indices) {
        out.push_back(i >= table.size()  ? kOpaqueBlack
                      : i == transparent ? Argb(0, table[i])
                                         : Argb(255, table[i]));
    }
    return out;
}

GifDescription Screen(int width, int height, const std::vector<GifColour>& globalTable) {
    GifDescription desc;
    desc.screenWidth = width;
    desc.screenHeight = height;
    desc.globalTable = globalTable;
    return desc;
}

GifFrame Frame(int left, int top, int width, int height, std::vector<std::uint8_t> indices) {
    GifFrame frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    frame.indices = std::move(indices);
    return frame;
}

// A frame filling a screen of its own size, on a global table.
GifDescription SimpleGif(int width, int height, const std::vector<GifColour>& table,
                         const std::vector<std::uint8_t>& indices) {
    GifDescription desc = Screen(width, height, table);
    desc.blocks.push_back(Frame(0, 0, width, height, indices));
    return desc;
}

DecodedImage Decode(const GifDescription& desc, const DecodeLimits& limits = {}) {
    return DecodeGif(WriteGif(desc), limits);
}

void ExpectDecodesTo(const GifDescription& desc, int width, int height,
                     const std::vector<Pixel>& expected, const std::string& name) {
    const DecodedImage decoded = Decode(desc);
    ASSERT_EQ(decoded.status, DecodeStatus::Ok) << name;
    EXPECT_TRUE(SameBitmaps(MakeBitmap(width, height, expected), decoded.pixels, name));
}

TEST(GifDecoder, BothVersionsDecodeTheFrame) {
    const std::vector<GifColour> table = Table(4);
    const std::vector<std::uint8_t> indices = Cycle(5 * 3, 4);
    for (const char* version : {"87a", "89a"}) {
        GifDescription desc = SimpleGif(5, 3, table, indices);
        desc.version = version;
        ExpectDecodesTo(desc, 5, 3, Lookup(table, indices), version);
    }
}

TEST(GifDecoder, LargeNoisyFramesSurviveCodeTableResets) {
    // Random indices fill the 4096-entry code table many times over; the runs exercise long
    // codes. Checks this file's LZW writer as much as the reader.
    std::mt19937 random(7);
    for (const int entries : {2, 16, 256}) {
        const std::vector<GifColour> table = Table(entries);
        std::vector<std::uint8_t> indices;
        for (int i = 0; i < 300 * 200; ++i) {
            indices.push_back(static_cast<std::uint8_t>(i % 3000 < 1500 ? random() % entries
                                                                        : (i / 97) % entries));
        }
        ExpectDecodesTo(SimpleGif(300, 200, table, indices), 300, 200, Lookup(table, indices),
                        "noise" + std::to_string(entries));
    }
}

TEST(GifDecoder, TransparentIndexIsClearAndKeepsItsColour) {
    const std::vector<GifColour> table = Table(8);
    const std::vector<std::uint8_t> indices = Cycle(4 * 4, 8);
    GifDescription desc = SimpleGif(4, 4, table, indices);
    // Other extensions between the control block and the image do not cancel it.
    desc.blocks.insert(desc.blocks.begin(), {GifGraphicControl::Transparent(5),
                                             GifComment{"made in a test"}, GifApplication{}});
    ExpectDecodesTo(desc, 4, 4, Lookup(table, indices, 5), "transparent");

    // The last control block before the image counts; without the flag bit there is none.
    desc.blocks.insert(desc.blocks.begin() + 3, GifGraphicControl{0x00, 10, 5});
    ExpectDecodesTo(desc, 4, 4, Lookup(table, indices), "flag_clear");
    desc.blocks.insert(desc.blocks.begin() + 4, GifGraphicControl::Transparent(0));
    ExpectDecodesTo(desc, 4, 4, Lookup(table, indices, 0), "last_wins");
}

TEST(GifDecoder, InterlacedRowsComeBackInDisplayOrder) {
    // Stored as the file has them: each row's index is its display row.
    const std::vector<int> stored = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    const std::vector<GifColour> table = Table(16);
    GifFrame frame = Frame(0, 0, 3, 10, {});
    frame.interlaced = true;
    frame.reorderInterlacedRows = false;
    for (const int row : stored) {
        frame.indices.insert(frame.indices.end(), 3, static_cast<std::uint8_t>(row));
    }
    GifDescription desc = Screen(3, 10, table);
    desc.blocks = {frame};
    std::vector<std::uint8_t> display;
    for (int y = 0; y < 10; ++y) {
        display.insert(display.end(), 3, static_cast<std::uint8_t>(y));
    }
    ExpectDecodesTo(desc, 3, 10, Lookup(table, display), "interlace_rows");

    // Every height, including those that leave passes empty, matches the plain frame.
    for (int height = 1; height <= 17; ++height) {
        const std::vector<std::uint8_t> indices = Cycle(static_cast<std::size_t>(2 * height), 16);
        GifDescription interlaced = SimpleGif(2, height, table, indices);
        std::get<GifFrame>(interlaced.blocks[0]).interlaced = true;
        ExpectDecodesTo(interlaced, 2, height, Lookup(table, indices),
                        "interlace" + std::to_string(height));
    }
}

TEST(GifDecoder, SmallFrameSitsOnAClearCanvas) {
    const std::vector<GifColour> global = Table(4);
    const std::vector<std::uint8_t> indices = {1, 2, 3, 0, 1, 2};
    GifDescription desc = Screen(6, 5, global);
    desc.backgroundIndex = 3;
    desc.blocks.push_back(Frame(2, 1, 3, 2, indices));

    const auto expected = [&](Pixel fill, const std::vector<GifColour>& table, int transparent) {
        std::vector<Pixel> out(6 * 5, fill);
        const std::vector<Pixel> frame = Lookup(table, indices, transparent);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                out[static_cast<std::size_t>((1 + y) * 6 + 2 + x)] =
                    frame[static_cast<std::size_t>(y * 3 + x)];
            }
        }
        return out;
    };
    // The background entry without transparency, the transparent entry with it, and black
    // when there is no global table.
    ExpectDecodesTo(desc, 6, 5, expected(Argb(0, global[3]), global, -1), "background");
    desc.blocks.insert(desc.blocks.begin(), GifGraphicControl::Transparent(2));
    ExpectDecodesTo(desc, 6, 5, expected(Argb(0, global[2]), global, 2), "transparent_fill");

    const std::vector<GifColour> local = Table(4, 100);
    desc.globalTable.clear();
    desc.blocks.erase(desc.blocks.begin());
    std::get<GifFrame>(desc.blocks[0]).localTable = local;
    ExpectDecodesTo(desc, 6, 5, expected(0, local, -1), "no_global");
}

TEST(GifDecoder, FrameBeyondTheScreenGrowsTheCanvas) {
    const std::vector<GifColour> table = Table(4);
    const std::vector<std::uint8_t> indices = Cycle(5 * 2, 4);
    GifDescription desc = Screen(4, 4, table);
    desc.blocks.push_back(Frame(2, 3, 5, 2, indices));
    std::vector<Pixel> expected(7 * 5, Argb(0, table[0]));
    for (std::size_t i = 0; i < indices.size(); ++i) {
        expected[(3 + i / 5) * 7 + 2 + i % 5] = Argb(255, table[indices[i]]);
    }
    ExpectDecodesTo(desc, 7, 5, expected, "grown");

    // An empty screen is no rectangle at all: the canvas is the frame's.
    desc.screenWidth = 0;
    ExpectDecodesTo(desc, 5, 2, Lookup(table, indices), "no_screen");
}

TEST(GifDecoder, LocalTableOverridesGlobalAndNoTableIsCorrupt) {
    const std::vector<GifColour> global = Table(4);
    const std::vector<GifColour> local = Table(8, 40);
    const std::vector<std::uint8_t> indices = Cycle(4 * 2, 8);
    GifDescription desc = SimpleGif(4, 2, global, indices);
    std::get<GifFrame>(desc.blocks[0]).localTable = local;
    desc.blocks.insert(desc.blocks.begin(), GifGraphicControl::Transparent(6));
    ExpectDecodesTo(desc, 4, 2, Lookup(local, indices, 6), "local");

    desc.globalTable.clear();
    std::get<GifFrame>(desc.blocks[1]).localTable.clear();
    EXPECT_EQ(Decode(desc).status, DecodeStatus::Corrupt);
}

TEST(GifDecoder, IndexesBeyondTheTableAreOpaqueBlack) {
    // A 4-entry table with 3-bit codes, so indices 4 to 7 can be stored.
    const std::vector<GifColour> table = Table(4);
    const std::vector<std::uint8_t> indices = {0, 1, 2, 3, 4, 5, 6, 7};
    ExpectDecodesTo(SimpleGif(8, 1, table, indices), 8, 1, Lookup(table, indices), "range");

    // A transparent index past the table still clears its pixels (black, having no colour).
    GifDescription desc = SimpleGif(8, 1, table, indices);
    desc.blocks.insert(desc.blocks.begin(), GifGraphicControl::Transparent(6));
    std::vector<Pixel> expected = Lookup(table, indices);
    expected[6] = 0;
    ExpectDecodesTo(desc, 8, 1, expected, "range_transparent");
}

TEST(GifDecoder, EveryTruncationBeforeTheFrameEndsIsCorrupt) {
    GifDescription desc = SimpleGif(9, 7, Table(16), Cycle(9 * 7, 13));
    desc.trailer = false;
    std::get<GifFrame>(desc.blocks[0]).interlaced = true;
    const std::vector<std::uint8_t> file = WriteGif(desc);
    for (std::size_t size = 0; size < file.size(); ++size) {
        const DecodedImage decoded = DecodeGif(std::span(file.data(), size));
        ASSERT_EQ(decoded.status, DecodeStatus::Corrupt) << size << " bytes";
        EXPECT_TRUE(decoded.pixels.IsNull());
    }
    EXPECT_TRUE(DecodeGif(file).Ok());
}

TEST(GifDecoder, ImageDataEndingEarlyIsCorrupt) {
    GifDescription desc = SimpleGif(6, 6, Table(4), Cycle(6 * 6 - 7, 4));
    EXPECT_EQ(Decode(desc).status, DecodeStatus::Corrupt);

    // Garbage after the code-size byte: codes past the table's end.
    GifDescription garbage = SimpleGif(6, 6, Table(4), {});
    std::vector<std::uint8_t> file = WriteGif(garbage);
    const std::size_t data = 13 + 12 + 10 + 1;  // header, table, descriptor, code size
    file.resize(data);
    file.insert(file.end(), {8, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x3B});
    EXPECT_EQ(DecodeGif(file).status, DecodeStatus::Corrupt);
}

TEST(GifDecoder, HugeDeclaredSizesAreTooLarge) {
    // A 65535 x 65535 screen is 2^32 pixels; the frame itself is one pixel.
    GifDescription desc = Screen(65535, 65535, Table(2));
    desc.blocks.push_back(Frame(0, 0, 1, 1, {1}));
    EXPECT_EQ(Decode(desc).status, DecodeStatus::TooLarge);

    // A frame placed far off a small screen grows the canvas past the limit.
    GifDescription far = Screen(1, 1, Table(2));
    far.blocks.push_back(Frame(60000, 60000, 1, 1, {1}));
    EXPECT_EQ(Decode(far).status, DecodeStatus::TooLarge);

    DecodeLimits limits;
    limits.maxPixels = 6 * 5 - 1;
    const GifDescription small = SimpleGif(6, 5, Table(2), Cycle(30, 2));
    EXPECT_EQ(Decode(small, limits).status, DecodeStatus::TooLarge);
    limits.maxPixels = 6 * 5;
    EXPECT_EQ(Decode(small, limits).status, DecodeStatus::Ok);
}

TEST(GifDecoder, OnlyTheFirstFrameIsRead) {
    const std::vector<GifColour> table = Table(4);
    const std::vector<std::uint8_t> first = Cycle(4 * 4, 4);
    GifDescription desc = SimpleGif(4, 4, table, first);
    // The second frame's control block and data would change the result if they were read,
    // and its data ends early.
    desc.blocks.push_back(GifGraphicControl::Transparent(1));
    desc.blocks.push_back(Frame(0, 0, 4, 4, {3, 3, 3}));
    ExpectDecodesTo(desc, 4, 4, Lookup(table, first), "first_frame");
}

TEST(GifDecoder, MissingOrEmptyFramesAreCorrupt) {
    GifDescription noFrame = Screen(4, 4, Table(2));
    noFrame.blocks.push_back(GifComment{"nothing else"});
    EXPECT_EQ(Decode(noFrame).status, DecodeStatus::Corrupt);

    for (const auto& [width, height] : {std::pair{0, 3}, std::pair{3, 0}}) {
        GifDescription empty = Screen(4, 4, Table(2));
        empty.blocks.push_back(Frame(0, 0, width, height, {}));
        EXPECT_EQ(Decode(empty).status, DecodeStatus::Corrupt);
    }
    EXPECT_EQ(DecodeGif({}).status, DecodeStatus::Corrupt);
    const std::vector<std::uint8_t> png{137, 80, 78, 71, 13, 10, 26, 10, 0, 0, 0, 0, 0};
    EXPECT_EQ(DecodeGif(png).status, DecodeStatus::Corrupt);
}

TEST(GifDecoder, WriterPutsTheTablesAtTheirFixedOffsets) {
    // The loader reads palettes and the transparent index straight from these bytes.
    GifDescription desc = SimpleGif(2, 1, Table(3), {0, 1});
    desc.blocks.insert(desc.blocks.begin(), GifGraphicControl::Transparent(2));
    const std::vector<std::uint8_t> file = WriteGif(desc);
    ASSERT_GE(file.size(), 13u + 12u + 8u);
    EXPECT_EQ(file[10], 0xF1);  // global table of 2^(1+1) entries
    EXPECT_EQ(file[13 + 3], Table(3)[1][0]);
    EXPECT_EQ(file[13 + 9], 0);  // the padding entry
    const std::vector<std::uint8_t> gce{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x02, 0x00};
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 25, file.begin() + 33), gce);
}

}  // namespace
}  // namespace palvex::test
