#pragma once

// The vector pass of the whole-image fill-back. Each variant is compiled for its own instruction
// set, so this header holds plain types only: an inline function from a shared header, compiled
// with wider instructions here, could be the copy the linker keeps for everyone.

#include <cstddef>
#include <cstdint>

namespace palvex::fill_back {

// Lanes (image columns) of one strip, and the window of skewed rows each strip works in: a chunk
// of rows loaded ahead of the steps, the skew of the strip's lanes, and the three rows behind
// the step that it reads.
inline constexpr int kStripLanes = 64;
inline constexpr int kRingElements = kStripLanes + 2;  // a border lane on each side
inline constexpr int kChunkRows = 256;
inline constexpr int kRingRows = kChunkRows + 2 * kStripLanes + 12;
// The delay lines that skew rows into the window and back out, for vectors of up to 16 lanes,
// and room to align them.
inline constexpr int kDelayElements = 4 * kStripLanes * 15 + 16;
inline constexpr std::size_t kRingSize = std::size_t{kRingElements} * kRingRows + kDelayElements;

struct Strip {
    std::uint32_t* pixels = nullptr;  // row 0 of the image
    std::ptrdiff_t stride = 0;        // pixels from one row to the next
    int height = 0;
    // The strip's first column: 0 <= x0 and x0 + kStripLanes < width. Left of column 0 is the
    // outside.
    int x0 = 0;
    std::uint32_t key = 0;  // red, green, blue of the transparent colour in pixel order
    // Where the strip's key pixels were before the pass, one word a row with lane j in bit j;
    // null when not wanted.
    std::uint64_t* keyBits = nullptr;
    std::ptrdiff_t keyBitsStride = 0;  // words from one row to the next
    // Blocks until the strip to the left has written back rows [0, rows); then, after this strip
    // has written back rows [0, rows), tells the strip to the right.
    void* context = nullptr;
    void (*waitForLeft)(void* context, int rows) = nullptr;
    void (*written)(void* context, int rows) = nullptr;
};

// Each fills the strip's columns exactly as the column-by-column order does, given that the
// column left of the strip is already filled and the one right of it is not. `ring` holds
// kRingSize elements of scratch.
void FillStripPortable(const Strip& strip, std::uint32_t* ring);
#if defined(PALVEX_FILL_BACK_X86)
void FillStripAvx2(const Strip& strip, std::uint32_t* ring);
void FillStripAvx512(const Strip& strip, std::uint32_t* ring);
#endif

}  // namespace palvex::fill_back
