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
    std::vector<Colour> entries;  // the table read at its fixed offset
    int transparentIndex = 0;     // the byte where a graphic control extension keeps the index
};

// The palette and transparent index of a GIF read at fixed offsets: the global table from
// offset 13 with the index 6 bytes after it, or else a local table from offset 31 with the index
// at offset 19. Nothing when there is no table or the file is too short to hold it.
std::optional<GifPalette> ReadGifPalette(std::span<const std::uint8_t> file);

// The first colour of the 32-level grid (255, 247, ..., 8, 0; red outermost) that the palette
// does not hold.
Colour FirstColourNotIn(const std::vector<Colour>& palette);

// The key a GIF gives, and whether the picture shows the probe colour: an opaque picture drawn
// over a probe-filled bitmap leaves the probe colour only where the picture itself has it.
struct GifPaletteCheck {
    std::optional<Colour> key;  // none when the index lies beyond the entries read
    bool fillWithKey = false;
};
std::optional<GifPaletteCheck> CheckGifPalette(std::span<const std::uint8_t> file,
                                               const Bitmap& picture);

// The key used when a file yields none, from the "FirstTrans" preference.
Colour FirstTransKey(int firstTrans);

}  // namespace palvex
