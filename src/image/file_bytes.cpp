#include "image/file_bytes.h"

#include <fstream>
#include <limits>
#include <new>

namespace palvex {

bool ByteBuffer::Allocate(std::size_t size) {
    data_.reset(static_cast<std::uint8_t*>(AllocateLarge(size)));
    size_ = data_ ? size : 0;
    return data_ != nullptr;
}

FileBytes ReadWholeFile(const std::filesystem::path& path) {
    FileBytes result;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.status = ReadStatus::OpenError;
        return result;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    in.seekg(0, std::ios::beg);
    if (end < 0 || !in) {
        result.status = ReadStatus::ReadError;
        return result;
    }
    if (static_cast<std::uint64_t>(end) > std::numeric_limits<std::size_t>::max() ||
        !result.bytes.Allocate(static_cast<std::size_t>(end))) {
        result.status = ReadStatus::AllocError;
        return result;
    }
    if (end > 0 && !in.read(reinterpret_cast<char*>(result.bytes.Data()), end)) {
        result.status = ReadStatus::ReadError;
        return result;
    }
    result.status = ReadStatus::Ok;
    return result;
}

}  // namespace palvex
