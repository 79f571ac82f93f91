#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex {

// Raw-byte scans the loader runs beside the decoders: they read what a decoder does not report
// (the alpha byte of 32-bit BMP pixels, PNG background and transparency chunks, GIF palettes).
// Every read is bounds-checked; a file too short for a field simply yields nothing.

// 32-bit BMPs: the colour of the first pixel, in file order, whose fourth byte is 0 or 237
// (the value some tools write for transparent pixels). kNoColour when there is none or the file
// is not a 32-bit BMP. The caller has checked the "BM" signature.
Colour ScanBmpKey(std::span<const std::uint8_t> file);

struct PngChunkScan {
    bool isPng = false;               // signature and an IHDR found
    Colour preferredKey = kNoColour;  // from bKGD (alpha types) or tRNS + PLTE (palette)
};

// Finds chunk types by searching the bytes, not by walking the chunk list.
PngChunkScan ScanPngChunks(std::span<const std::uint8_t> file);

struct GifPalette {
    std::vector<Colour> entries;  // the colour table the first image is drawn with
    int transparentIndex = -1;    // from a graphic control block with its flag set; else -1
};

// The colour table of a GIF's first image (its local table, else the global one) and the
// transparent index of the graphic control block that governs it. The blocks before the first
// image descriptor are walked, so an application or comment block in front of the control block
// is skipped, and an index counts only when the block's transparency flag is set: an opaque file
// carries no key, whatever byte happens to stand where the index usually is. Nothing when there
// is no table or the file is too short to hold what it announces.
std::optional<GifPalette> ReadGifPalette(std::span<const std::uint8_t> file);

// The first colour of the 32-level grid (255, 247, ..., 8, 0; red outermost) that the palette
// does not hold.
Colour FirstColourNotIn(const std::vector<Colour>& palette);

// The key a GIF carries, and for a file that carries one whether the picture shows the probe
// colour: an opaque picture drawn over a probe-filled bitmap leaves the probe colour only where
// the picture itself has it.
struct GifPaletteCheck {
    std::optional<Colour> key;  // none without a transparent index, or one beyond the table
    bool fillWithKey = false;
};
std::optional<GifPaletteCheck> CheckGifPalette(std::span<const std::uint8_t> file,
                                               const Bitmap& picture);

// The key used when a file yields none, from the "FirstTrans" preference.
Colour FirstTransKey(int firstTrans);

}  // namespace palvex
