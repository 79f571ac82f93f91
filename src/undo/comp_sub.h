#pragma once

#include <cstdint>
#include <filesystem>

#include "image/atomic_file.h"
#include "image/colour.h"
#include "image/geometry.h"
#include "undo/pixel_buffer.h"

namespace palvex {

// What a snapshot file says about its pixels.
struct SnapshotHeader {
    Rect rect;           // where the pixels belong, inside the image they were taken from
    bool whole = false;  // the whole image: putting it back may change the image size

    friend bool operator==(const SnapshotHeader&, const SnapshotHeader&) = default;
};

enum class ExpandStatus { Ok, Missing, Damaged, NoMemory };

// Snapshot files: a small header (magic, format version, rectangle, whole flag, band height,
// header checksum), the pixels as independent zstd frames of bands of rows, each with its
// content size and checksum, and a footer listing the frames' sizes under a checksum of its
// own. Any damage, truncation or trailing bytes make the file unreadable as a whole, never
// partly restored. Bands are compressed and expanded on several threads.
class CCompSub {
public:
    // Writes the rect.Width() x rect.Height() pixels (rows packed) to the sink; the caller
    // commits. `threads` 0 means as many as the machine has, up to four.
    static bool Compress(const SnapshotHeader& header, const Pixel* pixels, FileSink& sink,
                         int threads = 0);

    // Reads and checks a snapshot file. On Ok, `pixels` holds its pixels (rows packed, taken
    // from `pool`).
    static ExpandStatus Expand(const std::filesystem::path& path, SnapshotHeader& header,
                               PixelBuffer& pixels, PixelBufferPool& pool, int threads = 0);
};

}  // namespace palvex
