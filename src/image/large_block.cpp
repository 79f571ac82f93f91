#include "image/large_block.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <exception>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__GLIBC__) || defined(_WIN32)
#include <malloc.h>
#endif

#include "image/return_memory.h"

namespace palvex {
namespace {

// A whole cache line: a pass over an image whose rows are whole lines can stream them straight to
// memory.
constexpr std::size_t kAlignment = 64;

// Below this the advice gains nothing: huge pages are 2 MiB.
constexpr std::size_t kAdviseFrom = std::size_t{4} << 20;

void Advise(void* block, std::size_t size) {
#if defined(__linux__)
    if (block == nullptr || size < kAdviseFrom) {
        return;
    }
    constexpr std::uintptr_t kPage = 4096;
    const auto start = (reinterpret_cast<std::uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(block) + size;
    // Only advice: where the kernel declines, the block works the same with small pages.
    ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)block;
    (void)size;
#endif
}

}  // namespace

void* AllocateLarge(std::size_t size) {
    size = std::max<std::size_t>(size, 1);
#if defined(_WIN32)
    void* block = _aligned_malloc(size, kAlignment);
#else
    void* block = nullptr;
    if (posix_memalign(&block, kAlignment, size) != 0) {
        block = nullptr;
    }
#endif
    Advise(block, size);
    return block;
}

void* ReallocateLarge(void* block, std::size_t size) {
    size = std::max<std::size_t>(size, 1);
#if defined(_WIN32)
    void* moved = _aligned_realloc(block, size, kAlignment);
#else
    void* moved = std::realloc(block, size);
#endif
    Advise(moved, size);
    return moved;
}

void FreeLarge(void* block) {
#if defined(_WIN32)
    _aligned_free(block);
#else
    std::free(block);
#endif
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

BackgroundPopulate::BackgroundPopulate(void* block, std::size_t size) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (block == nullptr || size < kAdviseFrom) {
        return;
    }
    constexpr std::uintptr_t kPage = 4096;
    constexpr std::size_t kStep = std::size_t{4} << 20;
    constexpr std::size_t kLead = std::size_t{64} << 20;
    const auto base = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t start = (base + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (base + size) & ~(kPage - 1);
    try {
        thread_ = std::thread([this, base, start, end] {
            std::uintptr_t done = start;
            while (done < end && !stop_.load(std::memory_order_relaxed)) {
                const std::uintptr_t limit =
                    std::min(end, base + reached_.load(std::memory_order_relaxed) + kLead);
                if (done >= limit) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                    continue;
                }
                const std::uintptr_t next = std::min(limit, done + kStep);
                // Populating only faults in missing pages, so it may race the caller's writes.
                ::madvise(reinterpret_cast<void*>(done), next - done, MADV_POPULATE_WRITE);
                done = next;
            }
        });
    } catch (const std::exception&) {
        // No thread: the caller's own writes fault the pages in.
    }
#else
    (void)block;
    (void)size;
#endif
}

BackgroundPopulate::~BackgroundPopulate() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace palvex
