#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include <tiffio.h>

namespace palvex {

// libtiff reading the first directory of a file held in memory. It never reads past the span,
// never prints, and refuses any single allocation above maxSingleAlloc; errors libtiff reports
// are recorded instead, because some reads only report them and carry on.
class TiffStream {
public:
    TiffStream(std::span<const std::uint8_t> file, std::uint64_t maxSingleAlloc);
    ~TiffStream();
    TiffStream(const TiffStream&) = delete;
    TiffStream& operator=(const TiffStream&) = delete;

    // Null when libtiff could not read the header or the first directory.
    TIFF* Handle() const { return tif_; }

    // Whether libtiff reported an error since the last ClearError, or at any time asked for
    // bytes beyond the end: a truncated file, even where libtiff itself carries on (a
    // palette image that lost its colour map reads as grey).
    // libtiff 4.5.0 refuses uncompressed tiles read through its RGBA reader unless its raw
    // buffer holds exactly one tile, yet rounds the buffers it makes itself up to 1 KiB.
    // Handing it one of the exact size avoids that. False when the tile is too large.
    bool UseExactTileBuffer();

    bool HadError() const { return source_.failed || source_.truncated; }
    void ClearError() { source_.failed = false; }

private:
    // libtiff keeps a pointer to this, so the stream is neither copied nor moved.
    struct Source {
        const std::uint8_t* data = nullptr;
        std::uint64_t size = 0;
        std::uint64_t position = 0;
        bool failed = false;
        bool truncated = false;
    };

    static tmsize_t Read(thandle_t handle, void* buffer, tmsize_t size);
    static tmsize_t Write(thandle_t handle, void* buffer, tmsize_t size);
    static toff_t Seek(thandle_t handle, toff_t offset, int whence);
    static int Close(thandle_t handle);
    static toff_t Size(thandle_t handle);
    static int Map(thandle_t handle, void** base, toff_t* size);
    static void Unmap(thandle_t handle, void* base, toff_t size);
    static int OnError(TIFF* tif, void* user, const char* module, const char* format, va_list args);
    static int OnWarning(TIFF* tif, void* user, const char* module, const char* format,
                         va_list args);

    Source source_;
    std::uint64_t maxSingleAlloc_;
    std::unique_ptr<std::uint8_t[]> tileBuffer_;  // outlives tif_, which may point at it
    TIFF* tif_ = nullptr;
};

}  // namespace palvex
