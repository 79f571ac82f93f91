#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace palvex {

// Memory for whole images and files. A block starts on a 64-byte cache line (one grown by
// ReallocateLarge need not). It comes from the C allocator, so that a growing buffer can be
// moved by the system without copying, and on Linux it asks for huge pages, which spares most
// of the page faults of touching a fresh image for the first time. nullptr when it fails.
void* AllocateLarge(std::size_t size);
void* ReallocateLarge(void* block, std::size_t size);
void FreeLarge(void* block);

struct LargeBlockDeleter {
    void operator()(void* block) const { FreeLarge(block); }
};

// Maps a fresh block's pages on another thread while the caller fills it from the start, so
// that the system's zeroing of new memory runs on a second core. It keeps at most 64 MiB ahead
// of what the caller says it has written (a file that claims a huge image and then ends early
// must not make it map all of it). The contents never change; the destructor stops and waits
// for the thread. Does nothing where the system cannot, or for small blocks.
class BackgroundPopulate {
public:
    BackgroundPopulate(void* block, std::size_t size);
    ~BackgroundPopulate();
    BackgroundPopulate(const BackgroundPopulate&) = delete;
    BackgroundPopulate& operator=(const BackgroundPopulate&) = delete;

    // The caller has written the first `bytes` bytes.
    void Reached(std::size_t bytes) { reached_.store(bytes, std::memory_order_relaxed); }

private:
    std::atomic<std::size_t> reached_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace palvex
