#include "tools/pen_stroke.h"

#include <algorithm>
#include <new>

#include "tools/range_pixels.h"

namespace palvex {

PenStroke::PenStroke(const Bitmap& image)
    : width_(image.Width()),
      height_(image.Height()),
      blocksX_((image.Width() + kBlock - 1) / kBlock),
      blocksY_((image.Height() + kBlock - 1) / kBlock),
      blocks_(static_cast<std::size_t>(blocksX_) * static_cast<std::size_t>(blocksY_)) {}

void PenStroke::KeepBefore(const Bitmap& image, const RangePixelSet& pixels) {
    if (!complete_ || image.Width() != width_ || image.Height() != height_) {
        complete_ = false;
        return;
    }
    for (const RangeSpan& s : pixels.spans) {
        if (s.begin >= s.end) {
            continue;
        }
        for (int bx = s.begin / kBlock; bx <= (s.end - 1) / kBlock; ++bx) {
            KeepBlock(image, bx, s.y / kBlock);
        }
    }
}

void PenStroke::KeepBlock(const Bitmap& image, int bx, int by) {
    if (!complete_) {
        return;
    }
    std::unique_ptr<Pixel[]>& block = blocks_[static_cast<std::size_t>(by) * blocksX_ + bx];
    if (block) {
        return;
    }
    block.reset(new (std::nothrow) Pixel[kBlock * kBlock]);
    if (!block) {
        // A partial before-image cannot make an undo step; give its memory back at once.
        complete_ = false;
        blocks_.clear();
        keptBlocks_ = 0;
        return;
    }
    ++keptBlocks_;
    const int x0 = bx * kBlock;
    const int columns = std::min(kBlock, width_ - x0);
    const int rows = std::min(kBlock, height_ - by * kBlock);
    for (int row = 0; row < rows; ++row) {
        const Pixel* from = image.Row(by * kBlock + row) + x0;
        std::copy(from, from + columns, block.get() + row * kBlock);
    }
}

void PenStroke::AddApplication(const Rect& reported, const Rect& visited) {
    strokeRect_ = strokeRect_.United(reported);
    visited_ = visited_.United(visited);
}

Rect PenStroke::ChangedRect() const {
    return strokeRect_.United(visited_).Intersected({0, 0, width_, height_});
}

bool PenStroke::SwapBefore(Bitmap& image) {
    if (!complete_ || image.Width() != width_ || image.Height() != height_) {
        return false;
    }
    for (int by = 0; by < blocksY_; ++by) {
        for (int bx = 0; bx < blocksX_; ++bx) {
            Pixel* block = blocks_[static_cast<std::size_t>(by) * blocksX_ + bx].get();
            if (block == nullptr) {
                continue;
            }
            const int x0 = bx * kBlock;
            const int columns = std::min(kBlock, width_ - x0);
            const int rows = std::min(kBlock, height_ - by * kBlock);
            for (int row = 0; row < rows; ++row) {
                Pixel* line = image.Row(by * kBlock + row) + x0;
                std::swap_ranges(line, line + columns, block + row * kBlock);
            }
        }
    }
    return true;
}

std::size_t PenStroke::KeptBytes() const {
    return keptBlocks_ * kBlock * kBlock * sizeof(Pixel);
}

}  // namespace palvex
