#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "image/large_block.h"

namespace palvex {

// A growable byte array for encoders. Growth that cannot be allocated marks the buffer failed
// (and every later append fails) instead of throwing.
class OutputBuffer {
public:
    [[nodiscard]] bool Append(const void* data, std::size_t size);
    // Room for `size` more bytes, counted as written; nullptr when it cannot be allocated.
    std::uint8_t* Extend(std::size_t size);
    // Overwrites bytes already written (for sizes known only at the end).
    bool WriteAt(std::size_t offset, const void* data, std::size_t size);
    void Clear();
    // Makes room for `capacity` bytes in all, so that appends up to it never move the data.
    bool Reserve(std::size_t capacity);

    bool Failed() const { return failed_; }
    std::size_t Size() const { return size_; }
    const std::uint8_t* Data() const { return data_.get(); }
    std::uint8_t* Data() { return data_.get(); }
    std::span<const std::uint8_t> Span() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<std::uint8_t, LargeBlockDeleter> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool failed_ = false;
};

}  // namespace palvex
