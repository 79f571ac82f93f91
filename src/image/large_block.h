#pragma once

#include <cstddef>

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

}  // namespace palvex
