#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace palvex::test {

// A byte-level GIF builder. The layout is the plain one every GIF has, so byte offsets are
// predictable: header "GIF87a"/"GIF89a" (6 bytes), logical screen descriptor (7 bytes), the
// global colour table if any (3 bytes an entry, from offset 13), then the blocks in the order
// given, then the trailer (0x3B) if asked for.

using GifColour = std::array<std::uint8_t, 3>;  // R, G, B

// A colour table is written with a power-of-two number of entries (2 to 256); a shorter list
// is padded with black up to the next power of two.

// 21 F9 04 <flags> <delay lo> <delay hi> <transparent index> 00
struct GifGraphicControl {
    std::uint8_t flags = 0;   // bit 0: transparent index valid; bits 2-4: disposal
    std::uint16_t delay = 0;  // hundredths of a second
    std::uint8_t transparentIndex = 0;

    static GifGraphicControl Transparent(std::uint8_t index) { return {0x01, 0, index}; }
};

// 21 FF 0B <identifier, 8 bytes><auth code, 3 bytes> then `data` in sub-blocks, 00.
// The default is the looping block animations carry.
struct GifApplication {
    std::string identifier = "NETSCAPE";
    std::string authCode = "2.0";
    std::vector<std::uint8_t> data{0x01, 0x00, 0x00};
};

// 21 FE, the text in sub-blocks of up to 255 bytes, 00.
struct GifComment {
    std::string text;
};

// 2C <left> <top> <width> <height> <flags> [local table] <LZW minimum code size> <sub-blocks> 00
struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<GifColour> localTable;  // empty: no local table
    // Colour indexes, row-major in display order (top row first). May hold fewer than
    // width x height values: the data then ends early, as in a damaged file.
    std::vector<std::uint8_t> indices;
    // Interlaced frames are stored in interlaced row order; false stores `indices` as given
    // (for checking a reader's de-interlacing independently of this builder).
    bool reorderInterlacedRows = true;
    // 0: the smallest size (at least 2) that covers the table and every index used.
    int minCodeSize = 0;
};

using GifBlock = std::variant<GifGraphicControl, GifApplication, GifComment, GifFrame>;

struct GifDescription {
    std::string version = "89a";  // "87a" or "89a"
    int screenWidth = 0;
    int screenHeight = 0;
    std::vector<GifColour> globalTable;  // empty: no global table
    std::uint8_t backgroundIndex = 0;
    std::vector<GifBlock> blocks;
    bool trailer = true;
};

std::vector<std::uint8_t> WriteGif(const GifDescription& desc);

// The LZW code stream for the indices (clear code first, end code last) packed into bytes,
// without the code-size byte or the sub-block framing.
std::vector<std::uint8_t> EncodeGifLzw(const std::vector<std::uint8_t>& indices, int minCodeSize);

}  // namespace palvex::test
