#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "image/colour.h"

namespace palvex::quant {

// Exact nearest palette entry (squared RGB distance) for colours given as 0x00RRGGBB. The colour
// cube is cut into 32^3 cells; a cell keeps only the entries that can be nearest to some colour
// inside it, sorted by their least possible distance so a search stops early. Cells are built
// the first time a colour falls into them, from the shorter list of the 8^3 block around them,
// so small images pay for few and noisy ones do not pay for every entry in every cell.
class PaletteSearch {
public:
    // The palette holds 1..256 entries. False when memory runs out.
    [[nodiscard]] bool Init(std::span<const Colour> palette);

    int Nearest(std::uint32_t rgb) {
        const int r = static_cast<int>(rgb >> 16 & 0xFF);
        const int g = static_cast<int>(rgb >> 8 & 0xFF);
        const int b = static_cast<int>(rgb & 0xFF);
        const std::uint32_t cell =
            static_cast<std::uint32_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
        if (cellStart_[cell] == kUnbuilt) {
            BuildCell(cell);
        }
        const std::uint32_t* candidate = pool_.get() + cellStart_[cell];
        const std::uint32_t* const end = candidate + cellCount_[cell];
        std::uint32_t best = UINT32_MAX;
        int bestIndex = 0;
        for (; candidate != end; ++candidate) {
            // Sorted by the least distance any colour in the cell can have to the entry.
            if ((*candidate >> 8) >= best) {
                break;
            }
            const int index = static_cast<int>(*candidate & 0xFF);
            const int dr = r - red_[index];
            const int dg = g - green_[index];
            const int db = b - blue_[index];
            const auto d = static_cast<std::uint32_t>(dr * dr + dg * dg + db * db);
            if (d < best) {
                best = d;
                bestIndex = index;
            }
        }
        return bestIndex;
    }

    // Set when a cell could not be built; its colours then read as entry 0.
    bool Failed() const { return failed_; }

private:
    static constexpr int kCells = 32 * 32 * 32;
    static constexpr int kBlocks = 8 * 8 * 8;
    static constexpr std::uint32_t kUnbuilt = UINT32_MAX;
    static constexpr std::uint16_t kUnbuiltBlock = UINT16_MAX;

    void BuildCell(std::uint32_t cell);
    // The entries of `from` that can be nearest to a colour of the cube [lo, lo + side) on each
    // axis, as least distance << 8 | index; returns their number.
    int Candidates(const int lo[3], int side, const std::uint8_t* from, int count,
                   std::uint32_t* out) const;
    bool GrowPool(std::size_t needed);

    int entries_ = 0;
    int red_[256] = {};
    int green_[256] = {};
    int blue_[256] = {};
    std::uint8_t everyEntry_[256] = {};
    // Per block: its candidates (256 bytes a block) and how many, kUnbuiltBlock until needed.
    std::unique_ptr<std::uint8_t[]> blockEntries_;
    std::unique_ptr<std::uint16_t[]> blockCount_;
    std::unique_ptr<std::uint32_t[]> cellStart_;
    std::unique_ptr<std::uint16_t[]> cellCount_;
    // Candidates of all built cells: least distance << 8 | entry index.
    std::unique_ptr<std::uint32_t[]> pool_;
    std::size_t poolSize_ = 0;
    std::size_t poolCapacity_ = 0;
    bool failed_ = false;
};

}  // namespace palvex::quant
