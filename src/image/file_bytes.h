#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "image/large_block.h"

namespace palvex {

// An owned byte array whose allocation may fail without throwing.
class ByteBuffer {
public:
    ByteBuffer() = default;
    [[nodiscard]] bool Allocate(std::size_t size);
    std::uint8_t* Data() { return data_.get(); }
    const std::uint8_t* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    std::span<const std::uint8_t> Span() const { return {data_.get(), size_}; }
    std::span<std::uint8_t> Span() { return {data_.get(), size_}; }

private:
    std::unique_ptr<std::uint8_t, LargeBlockDeleter> data_;
    std::size_t size_ = 0;
};

enum class ReadStatus { Ok, OpenError, AllocError, ReadError };

struct FileBytes {
    ReadStatus status = ReadStatus::OpenError;
    ByteBuffer bytes;
};

// Reads a whole file into memory.
FileBytes ReadWholeFile(const std::filesystem::path& path);

}  // namespace palvex
