#include "image/codecs/tiff_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

namespace palvex {

TiffStream::TiffStream(std::span<const std::uint8_t> file, std::uint64_t maxSingleAlloc)
    : maxSingleAlloc_(maxSingleAlloc) {
    source_.data = file.data();
    source_.size = file.size();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        return;
    }
    const auto cap = std::min<std::uint64_t>(maxSingleAlloc, std::numeric_limits<tmsize_t>::max());
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(cap));
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &source_);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &source_);
    // "m": no memory mapping, so every byte libtiff sees comes through Read.
    tif_ = TIFFClientOpenExt("memory", "rm", &source_, Read, Write, Seek, Close, Size, Map, Unmap,
                             options);
    TIFFOpenOptionsFree(options);
}

TiffStream::~TiffStream() {
    if (tif_ != nullptr) {
        TIFFClose(tif_);
    }
}

bool TiffStream::UseExactTileBuffer() {
    std::uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif_, TIFFTAG_COMPRESSION, &compression);
    if (!TIFFIsTiled(tif_) || compression != COMPRESSION_NONE) {
        return true;
    }
    const tmsize_t size = TIFFTileSize(tif_);
    if (size <= 0 || static_cast<std::uint64_t>(size) > maxSingleAlloc_) {
        return false;
    }
    tileBuffer_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(size)]);
    return tileBuffer_ && TIFFReadBufferSetup(tif_, tileBuffer_.get(), size) != 0;
}

tmsize_t TiffStream::Read(thandle_t handle, void* buffer, tmsize_t size) {
    auto* source = static_cast<Source*>(handle);
    if (size <= 0) {
        return 0;
    }
    const std::uint64_t left =
        source->position < source->size ? source->size - source->position : 0;
    const std::uint64_t count = std::min<std::uint64_t>(static_cast<std::uint64_t>(size), left);
    if (count < static_cast<std::uint64_t>(size)) {
        source->truncated = true;
    }
    if (count == 0) {
        return 0;
    }
    std::memcpy(buffer, source->data + source->position, static_cast<std::size_t>(count));
    source->position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t TiffStream::Write(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t TiffStream::Seek(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<Source*>(handle);
    constexpr auto kFailed = static_cast<toff_t>(-1);
    // Relative seeks carry a signed distance in the unsigned offset.
    const auto distance = static_cast<std::int64_t>(offset);
    std::uint64_t base = 0;
    switch (whence) {
        case SEEK_SET:
            source->position = offset;
            return source->position;
        case SEEK_CUR:
            base = source->position;
            break;
        case SEEK_END:
            base = source->size;
            break;
        default:
            return kFailed;
    }
    if (distance < 0 ? static_cast<std::uint64_t>(-(distance + 1)) + 1 > base
                     : static_cast<std::uint64_t>(distance) > kFailed - 1 - base) {
        return kFailed;
    }
    source->position = base + static_cast<std::uint64_t>(distance);
    return source->position;
}

int TiffStream::Close(thandle_t) {
    return 0;
}

toff_t TiffStream::Size(thandle_t handle) {
    return static_cast<Source*>(handle)->size;
}

int TiffStream::Map(thandle_t, void**, toff_t*) {
    return 0;
}

void TiffStream::Unmap(thandle_t, void*, toff_t) {}

int TiffStream::OnError(TIFF*, void* user, const char*, const char*, va_list) {
    static_cast<Source*>(user)->failed = true;
    return 1;  // handled: nothing reaches the global handler (stderr)
}

int TiffStream::OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

}  // namespace palvex
