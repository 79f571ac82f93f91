#include "undo/pixel_buffer.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace palvex {
namespace {

// Blocks below this are allocated afresh each time.
constexpr std::size_t kPooledPixels = std::size_t{1} << 18;  // 1 MiB
constexpr std::size_t kSpareLimit = 2;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void PixelBuffer::Free::operator()(Pixel* p) const {
#if defined(_WIN32)
    ::_aligned_free(p);
#else
    std::free(p);
#endif
}

PixelBuffer PixelBuffer::Allocate(std::size_t pixels) {
    PixelBuffer buffer;
    if (pixels == 0 || pixels > SIZE_MAX / sizeof(Pixel) - kHugePage) {
        return buffer;
    }
    // Large blocks are aligned to and rounded up to huge pages, so that first touch costs one
    // fault per 2 MiB where the kernel allows it.
    const bool large = pixels >= kPooledPixels;
    const std::size_t align = large ? kHugePage : alignof(std::max_align_t);
    const std::size_t bytes = (pixels * sizeof(Pixel) + align - 1) / align * align;
#if defined(_WIN32)
    void* memory = ::_aligned_malloc(bytes, align);
#else
    void* memory = std::aligned_alloc(align, bytes);
#endif
    if (memory == nullptr) {
        return buffer;
    }
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (large) {
        ::madvise(memory, bytes, MADV_HUGEPAGE);
    }
#endif
    buffer.data_.reset(static_cast<Pixel*>(memory));
    buffer.capacity_ = bytes / sizeof(Pixel);
    return buffer;
}

PixelBuffer PixelBufferPool::Take(std::size_t pixels) {
    if (pixels >= kPooledPixels) {
        const std::lock_guard lock(mutex_);
        // The smallest block that fits, unless it would waste more than half of itself.
        auto best = spare_.end();
        for (auto it = spare_.begin(); it != spare_.end(); ++it) {
            if (it->Capacity() >= pixels && it->Capacity() / 2 <= pixels &&
                (best == spare_.end() || it->Capacity() < best->Capacity())) {
                best = it;
            }
        }
        if (best != spare_.end()) {
            PixelBuffer buffer = std::move(*best);
            spare_.erase(best);
            return buffer;
        }
    }
    return PixelBuffer::Allocate(pixels);
}

void PixelBufferPool::Give(PixelBuffer buffer) {
    if (buffer.Empty() || buffer.Capacity() < kPooledPixels) {
        return;
    }
    const std::lock_guard lock(mutex_);
    spare_.push_back(std::move(buffer));
    if (spare_.size() > kSpareLimit) {
        spare_.erase(spare_.begin());  // the oldest goes
    }
}

void PixelBufferPool::Clear() {
    const std::lock_guard lock(mutex_);
    spare_.clear();
}

std::size_t PixelBufferPool::SparePixels() {
    const std::lock_guard lock(mutex_);
    std::size_t pixels = 0;
    for (const PixelBuffer& buffer : spare_) {
        pixels += buffer.Capacity();
    }
    return pixels;
}

}  // namespace palvex
