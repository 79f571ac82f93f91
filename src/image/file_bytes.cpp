#include "image/file_bytes.h"

#include <algorithm>
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
    // Read in pieces, with the buffer's fresh pages mapped on another core ahead of the copy.
    constexpr std::streamoff kPiece = std::streamoff{8} << 20;
    BackgroundPopulate populate(result.bytes.Data(), result.bytes.Size());
    for (std::streamoff done = 0; done < end;) {
        const std::streamoff piece = std::min(kPiece, end - done);
        if (!in.read(reinterpret_cast<char*>(result.bytes.Data()) + done, piece)) {
            result.status = ReadStatus::ReadError;
            return result;
        }
        done += piece;
        populate.Reached(static_cast<std::size_t>(done));
    }
    result.status = ReadStatus::Ok;
    return result;
}

}  // namespace palvex
