#include "image/large_block.h"

#include <cstdint>
#include <cstdlib>
#include <exception>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace palvex {
namespace {

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
    void* block = std::malloc(size == 0 ? 1 : size);
    Advise(block, size);
    return block;
}

void* ReallocateLarge(void* block, std::size_t size) {
    void* moved = std::realloc(block, size == 0 ? 1 : size);
    Advise(moved, size);
    return moved;
}

void FreeLarge(void* block) {
    std::free(block);
}

BackgroundPopulate::BackgroundPopulate(void* block, std::size_t size, void* then,
                                       std::size_t thenSize) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    const auto populate = [](void* at, std::size_t bytes) {
        if (at == nullptr || bytes < kAdviseFrom) {
            return;
        }
        constexpr std::uintptr_t kPage = 4096;
        const auto start = (reinterpret_cast<std::uintptr_t>(at) + kPage - 1) & ~(kPage - 1);
        const auto end = (reinterpret_cast<std::uintptr_t>(at) + bytes) & ~(kPage - 1);
        // Populating only faults in missing pages, so it may race the caller's writes.
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
    };
    if (size < kAdviseFrom && thenSize < kAdviseFrom) {
        return;
    }
    try {
        thread_ = std::thread([=] {
            populate(block, size);
            populate(then, thenSize);
        });
    } catch (const std::exception&) {
        // No thread: the caller's own writes fault the pages in.
    }
#else
    (void)block;
    (void)size;
    (void)then;
    (void)thenSize;
#endif
}

BackgroundPopulate::~BackgroundPopulate() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace palvex
