#include "image/load_scans.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace palvex {
namespace {

std::uint32_t ReadU32Le(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

bool Has(std::span<const std::uint8_t> b, std::size_t at, std::size_t count) {
    return at <= b.size() && count <= b.size() - at;
}

// Offset of the first occurrence of the 4-letter type at or after offset 8 and at least four
// bytes before the end, or npos.
std::size_t FindChunkType(std::span<const std::uint8_t> file, std::string_view type) {
    if (file.size() < 12) {
        return std::string_view::npos;
    }
    const std::string_view haystack(reinterpret_cast<const char*>(file.data()) + 8,
                                    file.size() - 8);
    const std::size_t at = haystack.find(type);
    return at == std::string_view::npos ? at : at + 8;
}

}  // namespace

Colour ScanBmpKey(std::span<const std::uint8_t> file) {
    if (!Has(file, 0, 38) || (file[28] | file[29] << 8) != 32) {
        return kNoColour;
    }
    const std::uint64_t pixelCount = ReadU32Le(file, 34) / 4;
    const std::uint64_t offset = ReadU32Le(file, 10);
    // A size field that claims more than the file holds stops at the end of the file.
    const std::uint64_t available = offset < file.size() ? (file.size() - offset) / 4 : 0;
    const std::uint64_t count = std::min(pixelCount, available);
    const std::uint8_t* p = file.data() + offset;
    for (std::uint64_t i = 0; i < count; ++i, p += 4) {
        if (p[3] == 0 || p[3] == 237) {
            return Rgb(p[2], p[1], p[0]);
        }
    }
    return kNoColour;
}

PngChunkScan ScanPngChunks(std::span<const std::uint8_t> file) {
    static constexpr std::array<std::uint8_t, 8> kSignature = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    PngChunkScan scan;
    if (file.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
        return scan;
    }
    const std::size_t ihdr = FindChunkType(file, "IHDR");
    if (ihdr == std::string_view::npos) {
        return scan;
    }
    scan.isPng = true;
    if (!Has(file, ihdr + 13, 1)) {
        return scan;
    }
    const int colourType = file[ihdr + 13];
    if (colourType == 4 || colourType == 6) {
        scan.preferredKey = Rgb(255, 255, 255);
        const std::size_t bkgd = FindChunkType(file, "bKGD");
        if (bkgd == std::string_view::npos) {
            return scan;
        }
        // Only the low byte of each 16-bit sample is taken, at every bit depth.
        if (colourType == 4 && Has(file, bkgd + 4, 2)) {
            const int grey = file[bkgd + 5];
            scan.preferredKey = Rgb(grey, grey, grey);
        } else if (colourType == 6 && Has(file, bkgd + 4, 6)) {
            scan.preferredKey = Rgb(file[bkgd + 5], file[bkgd + 7], file[bkgd + 9]);
        }
        return scan;
    }
    if (colourType == 3) {
        const std::size_t trns = FindChunkType(file, "tRNS");
        const std::size_t plte = FindChunkType(file, "PLTE");
        if (trns == std::string_view::npos) {
            return scan;
        }
        const std::size_t n = file[trns - 1];  // the lowest byte of the chunk length
        for (std::size_t i = 0; i < n && Has(file, trns + 4 + i, 1); ++i) {
            if (file[trns + 4 + i] != 255) {
                if (plte != std::string_view::npos && Has(file, plte + 4 + 3 * i, 3)) {
                    const std::size_t e = plte + 4 + 3 * i;
                    scan.preferredKey = Rgb(file[e], file[e + 1], file[e + 2]);
                }
                break;
            }
        }
    }
    return scan;
}

std::optional<GifPalette> ReadGifPalette(std::span<const std::uint8_t> file) {
    constexpr std::uint8_t kExtension = 0x21;
    constexpr std::uint8_t kGraphicControl = 0xF9;
    constexpr std::uint8_t kImage = 0x2C;
    if (!Has(file, 10, 3)) {
        return std::nullopt;
    }
    const auto tableBytes = [](int flags) { return 3 * (std::size_t{1} << ((flags & 7) + 1)); };
    std::size_t tableAt = 0;
    std::size_t tableLength = 0;
    std::size_t at = 13;
    if (file[10] & 0x80) {
        tableAt = at;
        tableLength = tableBytes(file[10]);
        at += tableLength;
    }
    int transparentIndex = -1;
    for (;;) {
        if (!Has(file, at, 1)) {
            return std::nullopt;
        }
        if (file[at] == kImage) {
            // The descriptor's flags are its tenth byte; a local table follows it directly.
            if (!Has(file, at, 10)) {
                return std::nullopt;
            }
            if (file[at + 9] & 0x80) {
                tableAt = at + 10;
                tableLength = tableBytes(file[at + 9]);
            }
            break;
        }
        if (file[at] != kExtension || !Has(file, at, 2)) {
            return std::nullopt;  // the trailer or junk before any image
        }
        const std::uint8_t label = file[at + 1];
        at += 2;
        if (label == kGraphicControl && Has(file, at, 5) && file[at] >= 4) {
            // The last control block before the image governs it.
            transparentIndex = (file[at + 1] & 0x01) != 0 ? file[at + 4] : -1;
        }
        // Sub-blocks, each its length byte and data, up to a zero length.
        while (Has(file, at, 1) && file[at] != 0) {
            at += std::size_t{file[at]} + 1;
        }
        ++at;
    }
    if (tableLength == 0 || !Has(file, tableAt, tableLength)) {
        return std::nullopt;
    }
    GifPalette palette;
    palette.entries.reserve(tableLength / 3);
    for (std::size_t i = 0; i < tableLength; i += 3) {
        const std::uint8_t* e = file.data() + tableAt + i;
        palette.entries.push_back(Rgb(e[0], e[1], e[2]));
    }
    palette.transparentIndex = transparentIndex;
    return palette;
}

Colour FirstColourNotIn(const std::vector<Colour>& palette) {
    static constexpr std::array<int, 32> kLevels = {
        255, 247, 239, 231, 222, 214, 206, 198, 189, 181, 173, 165, 156, 148, 140, 132,
        123, 115, 107, 99,  90,  82,  74,  66,  57,  49,  41,  33,  24,  16,  8,   0};
    for (const int r : kLevels) {
        for (const int g : kLevels) {
            for (const int b : kLevels) {
                const Colour c = Rgb(r, g, b);
                if (std::find(palette.begin(), palette.end(), c) == palette.end()) {
                    return c;
                }
            }
        }
    }
    return Rgb(0, 0, 0);  // unreachable: a palette holds at most 256 of the 32768 candidates
}

std::optional<GifPaletteCheck> CheckGifPalette(std::span<const std::uint8_t> file,
                                               const Bitmap& picture) {
    const std::optional<GifPalette> palette = ReadGifPalette(file);
    if (!palette) {
        return std::nullopt;
    }
    GifPaletteCheck check;
    // An index beyond the entries read names no colour, so the key the decoding found stays.
    if (palette->transparentIndex < 0 ||
        static_cast<std::size_t>(palette->transparentIndex) >= palette->entries.size()) {
        return check;
    }
    check.key = palette->entries[static_cast<std::size_t>(palette->transparentIndex)];
    const Pixel probe = PixelFromColour(FirstColourNotIn(palette->entries));
    const std::span<const Pixel> pixels = picture.Pixels();
    check.fillWithKey =
        std::any_of(pixels.begin(), pixels.end(), [probe](Pixel p) { return SameRgb(p, probe); });
    return check;
}

Colour FirstTransKey(int firstTrans) {
    switch (firstTrans) {
        case 0:
            return Rgb(0, 0, 0);
        case 2:
            return Rgb(255, 0, 0);
        case 3:
            return Rgb(0, 255, 0);
        case 4:
            return Rgb(0, 0, 255);
        default:
            return Rgb(255, 255, 255);
    }
}

}  // namespace palvex
