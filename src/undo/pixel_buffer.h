#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "image/colour.h"

namespace palvex {

// Heap memory for a block of pixels, contents undefined.
class PixelBuffer {
public:
    PixelBuffer() = default;
    // Empty when the memory cannot be had.
    static PixelBuffer Allocate(std::size_t pixels);

    bool Empty() const { return data_ == nullptr; }
    Pixel* Data() { return data_.get(); }
    const Pixel* Data() const { return data_.get(); }
    std::size_t Capacity() const { return capacity_; }

private:
    struct Free {
        void operator()(Pixel* p) const;
    };
    std::unique_ptr<Pixel[], Free> data_;
    std::size_t capacity_ = 0;
};

// Keeps the memory of written snapshots for the next one. Fresh memory costs a page fault per
// 4 KiB on first touch, which for a whole large image takes many times longer than copying its
// pixels; a reused block is already mapped. Small blocks are not worth keeping. Thread-safe.
class PixelBufferPool {
public:
    // A block of at least `pixels`; empty when the memory cannot be had.
    PixelBuffer Take(std::size_t pixels);
    // The block's contents are dead; it may be handed out again.
    void Give(PixelBuffer buffer);
    void Clear();
    std::size_t SparePixels();

private:
    std::mutex mutex_;
    std::vector<PixelBuffer> spare_;
};

}  // namespace palvex
