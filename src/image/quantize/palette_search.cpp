#include "image/quantize/palette_search.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace palvex::quant {

bool PaletteSearch::Init(std::span<const Colour> palette) {
    if (palette.empty() || palette.size() > 256) {
        return false;
    }
    entries_ = static_cast<int>(palette.size());
    for (int i = 0; i < entries_; ++i) {
        red_[i] = RedOf(palette[static_cast<std::size_t>(i)]);
        green_[i] = GreenOf(palette[static_cast<std::size_t>(i)]);
        blue_[i] = BlueOf(palette[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < 256; ++i) {
        everyEntry_[i] = static_cast<std::uint8_t>(i);
    }
    if (!cellStart_) {
        cellStart_.reset(new (std::nothrow) std::uint32_t[kCells]);
        cellCount_.reset(new (std::nothrow) std::uint16_t[kCells]);
        blockEntries_.reset(new (std::nothrow) std::uint8_t[kBlocks * 256]);
        blockCount_.reset(new (std::nothrow) std::uint16_t[kBlocks]);
        if (!cellStart_ || !cellCount_ || !blockEntries_ || !blockCount_) {
            cellStart_.reset();
            return false;
        }
    }
    std::fill_n(cellStart_.get(), kCells, kUnbuilt);
    std::fill_n(cellCount_.get(), kCells, std::uint16_t{0});
    std::fill_n(blockCount_.get(), kBlocks, kUnbuiltBlock);
    poolSize_ = 0;
    failed_ = false;
    return true;
}

bool PaletteSearch::GrowPool(std::size_t needed) {
    if (needed <= poolCapacity_) {
        return true;
    }
    const std::size_t capacity = std::max(needed, poolCapacity_ * 2 + 4096);
    std::unique_ptr<std::uint32_t[]> bigger(new (std::nothrow) std::uint32_t[capacity]);
    if (!bigger) {
        return false;
    }
    if (poolSize_ > 0) {
        std::memcpy(bigger.get(), pool_.get(), poolSize_ * sizeof(std::uint32_t));
    }
    pool_ = std::move(bigger);
    poolCapacity_ = capacity;
    return true;
}

int PaletteSearch::Candidates(const int lo[3], int side, const std::uint8_t* from, int count,
                              std::uint32_t* out) const {
    std::uint32_t nearest[256];
    std::uint32_t threshold = UINT32_MAX;
    const auto axis = [side](int v, int low, std::uint32_t& dmin, std::uint32_t& dmax) {
        const int below = low - v;               // > 0 when the entry lies below the cube
        const int above = v - (low + side - 1);  // > 0 when it lies above
        const int outside = std::max({below, above, 0});
        const int far = std::max(std::abs(below), std::abs(above));
        dmin += static_cast<std::uint32_t>(outside * outside);
        dmax += static_cast<std::uint32_t>(far * far);
    };
    for (int k = 0; k < count; ++k) {
        const int i = from[k];
        std::uint32_t dmin = 0;
        std::uint32_t dmax = 0;
        axis(red_[i], lo[0], dmin, dmax);
        axis(green_[i], lo[1], dmin, dmax);
        axis(blue_[i], lo[2], dmin, dmax);
        nearest[k] = dmin;
        threshold = std::min(threshold, dmax);
    }
    // Every colour in the cube is within `threshold` of some entry, so an entry that cannot
    // come that close never wins. A cell's candidates are a subset of its block's, and the
    // entry that sets a cell's threshold is among them.
    int kept = 0;
    for (int k = 0; k < count; ++k) {
        if (nearest[k] <= threshold) {
            out[kept++] = nearest[k] << 8 | from[k];
        }
    }
    return kept;
}

void PaletteSearch::BuildCell(std::uint32_t cell) {
    const int r = static_cast<int>(cell >> 10);
    const int g = static_cast<int>(cell >> 5 & 31);
    const int b = static_cast<int>(cell & 31);
    const std::uint32_t block = static_cast<std::uint32_t>((r >> 2) << 6 | (g >> 2) << 3 | b >> 2);
    std::uint8_t* const blockList = blockEntries_.get() + std::size_t{block} * 256;
    if (blockCount_[block] == kUnbuiltBlock) {
        const int lo[3] = {(r >> 2) << 5, (g >> 2) << 5, (b >> 2) << 5};
        std::uint32_t found[256];
        const int count = Candidates(lo, 32, everyEntry_, entries_, found);
        for (int k = 0; k < count; ++k) {
            blockList[k] = static_cast<std::uint8_t>(found[k] & 0xFF);
        }
        blockCount_[block] = static_cast<std::uint16_t>(count);
    }
    if (!GrowPool(poolSize_ + blockCount_[block])) {
        failed_ = true;
        cellStart_[cell] = 0;
        cellCount_[cell] = 0;
        return;
    }
    std::uint32_t* const list = pool_.get() + poolSize_;
    const int lo[3] = {r << 3, g << 3, b << 3};
    const int count = Candidates(lo, 8, blockList, blockCount_[block], list);
    std::sort(list, list + count);
    cellStart_[cell] = static_cast<std::uint32_t>(poolSize_);
    cellCount_[cell] = static_cast<std::uint16_t>(count);
    poolSize_ += static_cast<std::size_t>(count);
}

}  // namespace palvex::quant
