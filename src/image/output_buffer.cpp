#include "image/output_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace palvex {

bool OutputBuffer::Reserve(std::size_t capacity) {
    if (failed_) {
        return false;
    }
    if (capacity <= capacity_) {
        return true;
    }
    const std::size_t grown = std::max(capacity, capacity_ + capacity_ / 2 + 4096);
    // realloc moves a large block by remapping its pages rather than copying them.
    void* bigger = ReallocateLarge(data_.get(), grown);
    if (bigger == nullptr) {
        failed_ = true;
        return false;
    }
    (void)data_.release();
    data_.reset(static_cast<std::uint8_t*>(bigger));
    capacity_ = grown;
    return true;
}

bool OutputBuffer::Append(const void* data, std::size_t size) {
    std::uint8_t* room = Extend(size);
    if (room == nullptr) {
        return false;
    }
    if (size > 0) {
        std::memcpy(room, data, size);
    }
    return true;
}

std::uint8_t* OutputBuffer::Extend(std::size_t size) {
    if (size > SIZE_MAX - size_ || !Reserve(size_ + size)) {
        failed_ = true;
        return nullptr;
    }
    std::uint8_t* room = data_.get() + size_;
    size_ += size;
    return room;
}

bool OutputBuffer::WriteAt(std::size_t offset, const void* data, std::size_t size) {
    if (failed_ || offset > size_ || size > size_ - offset) {
        return false;
    }
    std::memcpy(data_.get() + offset, data, size);
    return true;
}

void OutputBuffer::Clear() {
    size_ = 0;
    failed_ = false;
}

}  // namespace palvex
