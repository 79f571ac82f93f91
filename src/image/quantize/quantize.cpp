#include "image/quantize/quantize.h"

#include <algorithm>
#include <new>

#include "image/quantize/palette_builder.h"
#include "image/quantize/palette_search.h"

namespace palvex {
namespace {

using quant::WeightedColour;

// Images with up to this many distinct colours are quantised from the colours themselves;
// beyond it from a histogram of 6 bits a channel.
constexpr int kExactColourLimit = 4096;
constexpr int kTableBits = 14;  // keeps the table at most a quarter full
constexpr std::uint32_t kTableSize = 1u << kTableBits;
constexpr std::uint32_t kUsedSlot = 0x01000000u;
constexpr std::uint32_t kNoRgb = UINT32_MAX;  // no colour is reserved

constexpr Colour ColourFromRgb(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

std::uint32_t HashRgb(std::uint32_t rgb, int bits) {
    return (rgb * 0x9E3779B1u) >> (32 - bits);
}

template <typename T>
std::unique_ptr<T[]> TryAllocate(std::size_t count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[count]);
}

enum class ColourCount { Exact, Few, Many, NoMemory };

// The image's distinct colours in order of first appearance, with their pixel counts, as long
// as there are at most kExactColourLimit. While there are at most maxColours, `indices` receives
// each pixel's position in that order.
class DistinctColours {
public:
    ColourCount Scan(const Bitmap& image, int maxColours, std::uint8_t* indices) {
        keys_ = TryAllocate<std::uint32_t>(kTableSize);
        order_ = TryAllocate<std::uint16_t>(kTableSize);
        if (!keys_ || !order_) {
            return ColourCount::NoMemory;
        }
        std::fill_n(keys_.get(), kTableSize, 0u);
        const Pixel* pixels = image.Data();
        const std::size_t total = image.PixelCount();
        std::size_t i = 0;
        while (i < total) {
            const std::uint32_t rgb = pixels[i] & kRgbMask;
            std::size_t end = i + 1;
            while (end < total && (pixels[end] & kRgbMask) == rgb) {
                ++end;
            }
            const int position = Find(rgb);
            if (position < 0) {
                return ColourCount::Many;
            }
            counts_[position] += static_cast<std::uint32_t>(end - i);
            if (count_ <= maxColours) {
                std::fill(indices + i, indices + end, static_cast<std::uint8_t>(position));
            }
            i = end;
        }
        return count_ <= maxColours ? ColourCount::Exact : ColourCount::Few;
    }

    int Count() const { return count_; }
    std::uint32_t RgbAt(int i) const { return colours_[i]; }
    std::uint32_t PixelCount(int i) const { return counts_[i]; }

private:
    // The colour's position, added when new; -1 when that would pass the limit.
    int Find(std::uint32_t rgb) {
        const std::uint32_t key = rgb | kUsedSlot;
        std::uint32_t slot = HashRgb(rgb, kTableBits);
        while (keys_[slot] != 0) {
            if (keys_[slot] == key) {
                return order_[slot];
            }
            slot = (slot + 1) & (kTableSize - 1);
        }
        if (count_ == kExactColourLimit) {
            return -1;
        }
        keys_[slot] = key;
        order_[slot] = static_cast<std::uint16_t>(count_);
        colours_[count_] = rgb;
        counts_[count_] = 0;
        return count_++;
    }

    std::unique_ptr<std::uint32_t[]> keys_;
    std::unique_ptr<std::uint16_t[]> order_;
    std::uint32_t colours_[kExactColourLimit] = {};
    std::uint32_t counts_[kExactColourLimit] = {};
    int count_ = 0;
};

// Pixel counts a 6-bit cell, with the sums of the two low bits of each channel so the cell's
// mean colour is exact without 64-bit sums.
struct HistogramCell {
    std::uint32_t count;
    std::uint32_t lowRed;
    std::uint32_t lowGreen;
    std::uint32_t lowBlue;
};
constexpr std::size_t kHistogramCells = std::size_t{1} << 18;

// Pixels of the colour `skipped` (0x00RRGGBB, or kNoRgb) are left out and counted in
// `skippedCount`.
bool HistogramColours(const Bitmap& image, std::uint32_t skipped,
                      std::unique_ptr<WeightedColour[]>& colours, std::size_t& count,
                      std::size_t& skippedCount) {
    auto cells = TryAllocate<HistogramCell>(kHistogramCells);
    if (!cells) {
        return false;
    }
    std::fill_n(cells.get(), kHistogramCells, HistogramCell{0, 0, 0, 0});
    skippedCount = 0;
    for (const Pixel p : image.Pixels()) {
        if ((p & kRgbMask) == skipped) {
            ++skippedCount;
            continue;
        }
        HistogramCell& cell = cells[(p >> 6 & 0x3F000) | (p >> 4 & 0xFC0) | (p >> 2 & 0x3F)];
        ++cell.count;
        cell.lowRed += p >> 16 & 3;
        cell.lowGreen += p >> 8 & 3;
        cell.lowBlue += p & 3;
    }
    count = 0;
    for (std::size_t i = 0; i < kHistogramCells; ++i) {
        count += cells[i].count != 0 ? 1 : 0;
    }
    colours = TryAllocate<WeightedColour>(count);
    if (!colours) {
        return false;
    }
    std::size_t n = 0;
    for (std::size_t i = 0; i < kHistogramCells; ++i) {
        const HistogramCell& cell = cells[i];
        if (cell.count == 0) {
            continue;
        }
        const float w = static_cast<float>(cell.count);
        colours[n++] = {
            static_cast<float>((i >> 12) << 2) + static_cast<float>(cell.lowRed) / w,
            static_cast<float>((i >> 6 & 0x3F) << 2) + static_cast<float>(cell.lowGreen) / w,
            static_cast<float>((i & 0x3F) << 2) + static_cast<float>(cell.lowBlue) / w, cell.count};
    }
    return true;
}

// Each pixel's nearest entry. Photographs repeat colours often, so a small cache keyed by the
// colour saves most searches.
// Pixels of the colour `reserved` (kNoRgb for none) take `reservedIndex` without a search.
bool MapToPalette(const Bitmap& image, const std::vector<Colour>& palette, std::uint32_t reserved,
                  std::uint8_t reservedIndex, std::uint8_t* indices) {
    constexpr int kCacheBits = 16;
    constexpr std::size_t kCacheSize = std::size_t{1} << kCacheBits;
    quant::PaletteSearch search;
    auto cacheKeys = TryAllocate<std::uint32_t>(kCacheSize);
    auto cacheIndex = TryAllocate<std::uint8_t>(kCacheSize);
    if (!cacheKeys || !cacheIndex || !search.Init(palette)) {
        return false;
    }
    std::fill_n(cacheKeys.get(), kCacheSize, UINT32_MAX);  // no colour has the top byte set
    std::uint32_t previous = UINT32_MAX;
    std::uint8_t previousIndex = 0;
    const Pixel* pixels = image.Data();
    const std::size_t total = image.PixelCount();
    for (std::size_t i = 0; i < total; ++i) {
        const std::uint32_t rgb = pixels[i] & kRgbMask;
        if (rgb != previous) {
            previous = rgb;
            if (rgb == reserved) {
                previousIndex = reservedIndex;
            } else {
                const std::uint32_t slot = HashRgb(rgb, kCacheBits);
                if (cacheKeys[slot] != rgb) {
                    cacheKeys[slot] = rgb;
                    cacheIndex[slot] = static_cast<std::uint8_t>(search.Nearest(rgb));
                }
                previousIndex = cacheIndex[slot];
            }
        }
        indices[i] = previousIndex;
    }
    return !search.Failed();
}

// An entry of the reduced palette that happens to equal the reserved colour moves one step of
// green away, so that only the reserved entry shows that colour.
void KeepOffReserved(std::vector<Colour>& palette, std::uint32_t reserved) {
    const Colour colour = ColourFromRgb(reserved);
    for (Colour& entry : palette) {
        if (entry == colour) {
            const int green = GreenOf(entry);
            entry = Rgb(RedOf(entry), green > 0 ? green - 1 : 1, BlueOf(entry));
        }
    }
}

bool Quantize(const Bitmap& image, int maxColours, std::uint32_t reserved, IndexedImage& out) {
    std::unique_ptr<DistinctColours> distinct(new (std::nothrow) DistinctColours);
    if (!distinct) {
        return false;
    }
    const ColourCount kind = distinct->Scan(image, maxColours, out.indices.get());
    if (kind == ColourCount::NoMemory) {
        return false;
    }
    if (kind == ColourCount::Exact) {
        // Every colour has an entry of its own, the reserved one included.
        for (int i = 0; i < distinct->Count(); ++i) {
            out.palette.push_back(ColourFromRgb(distinct->RgbAt(i)));
            if (distinct->RgbAt(i) == reserved) {
                out.reservedIndex = i;
            }
        }
        return true;
    }
    std::unique_ptr<WeightedColour[]> colours;
    std::size_t count = 0;
    bool reservedSeen = false;
    if (kind == ColourCount::Few) {
        colours = TryAllocate<WeightedColour>(static_cast<std::size_t>(distinct->Count()));
        if (!colours) {
            return false;
        }
        for (int i = 0; i < distinct->Count(); ++i) {
            const std::uint32_t rgb = distinct->RgbAt(i);
            if (rgb == reserved) {
                reservedSeen = true;
                continue;
            }
            colours[count++] = {static_cast<float>(rgb >> 16), static_cast<float>(rgb >> 8 & 0xFF),
                                static_cast<float>(rgb & 0xFF), distinct->PixelCount(i)};
        }
    } else {
        std::size_t reservedPixels = 0;
        if (!HistogramColours(image, reserved, colours, count, reservedPixels)) {
            return false;
        }
        reservedSeen = reservedPixels != 0;
    }
    distinct.reset();
    if (!reservedSeen) {
        reserved = kNoRgb;
    }
    if (!quant::BuildPalette({colours.get(), count}, reservedSeen ? maxColours - 1 : maxColours,
                             out.palette)) {
        return false;
    }
    const auto reservedIndex = static_cast<std::uint8_t>(out.palette.size());
    if (reservedSeen) {
        KeepOffReserved(out.palette, reserved);
    }
    if (!MapToPalette(image, out.palette, reserved, reservedIndex, out.indices.get())) {
        return false;
    }
    if (reservedSeen) {
        out.palette.push_back(ColourFromRgb(reserved));
        out.reservedIndex = reservedIndex;
    }
    return true;
}

}  // namespace

bool QuantizeToPalette(const Bitmap& image, int maxColours, IndexedImage& out, Colour reserved) {
    out = IndexedImage{};
    if (image.IsNull()) {
        return true;
    }
    out.indices = TryAllocate<std::uint8_t>(image.PixelCount());
    if (!out.indices) {
        return false;
    }
    out.width = image.Width();
    out.height = image.Height();
    const std::uint32_t reservedRgb =
        reserved == kNoColour ? kNoRgb : PixelFromColour(reserved) & kRgbMask;
    if (!Quantize(image, std::clamp(maxColours, 2, 256), reservedRgb, out)) {
        out = IndexedImage{};
        return false;
    }
    return true;
}

}  // namespace palvex
