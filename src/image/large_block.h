#pragma once

#include <cstddef>
#include <thread>

namespace palvex {

// Memory for whole images and files. It comes from malloc, so that a growing buffer can be
// moved by the system without copying, and on Linux it asks for huge pages, which spares most
// of the page faults of touching a fresh image for the first time. nullptr when it fails.
void* AllocateLarge(std::size_t size);
void* ReallocateLarge(void* block, std::size_t size);
void FreeLarge(void* block);

struct LargeBlockDeleter {
    void operator()(void* block) const { FreeLarge(block); }
};

// Maps fresh blocks' pages on another thread, in the order given, while the caller starts
// filling them, so that the system's zeroing of new memory runs on a second core. The contents
// never change; the destructor waits for the thread. Does nothing where the system cannot, or
// for small blocks.
class BackgroundPopulate {
public:
    BackgroundPopulate(void* block, std::size_t size, void* then = nullptr,
                       std::size_t thenSize = 0);
    ~BackgroundPopulate();
    BackgroundPopulate(const BackgroundPopulate&) = delete;
    BackgroundPopulate& operator=(const BackgroundPopulate&) = delete;

private:
    std::thread thread_;
};

}  // namespace palvex
