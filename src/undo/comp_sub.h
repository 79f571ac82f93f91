#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

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

// Where read pixels go: `data` addresses the pixel at (bounds.left, bounds.top), rows are
// `stride` pixels apart, and pixels outside `bounds` are not written.
struct PixelTarget {
    Pixel* data = nullptr;
    std::size_t stride = 0;
    Rect bounds;
};

// Reads a snapshot file in two steps: Open checks the header and the layout of the file, Read
// puts the pixels in place. A damaged band is found only while reading, so a failed Read may
// have written some of the target's pixels.
class SnapshotReader {
public:
    ExpandStatus Open(const std::filesystem::path& path);
    const SnapshotHeader& Header() const { return header_; }
    // `threads` 0 means as many as the machine has, up to four.
    ExpandStatus Read(const PixelTarget& target, int threads = 0);

    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

private:
    std::filesystem::path path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    SnapshotHeader header_;
    struct Band {
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
        bool packed = false;  // three bytes a pixel, the fourth is `alpha`
        std::uint8_t alpha = 0;
    };
    int bandRows_ = 1;
    std::vector<Band> bands_;
};

// Snapshot files: a small header (magic, format version, rectangle, whole flag, band height,
// header checksum), the pixels as independent zstd frames of bands of rows, each with its
// content size and checksum, and a footer listing the frames' sizes under a checksum of its
// own. A band whose pixels share their fourth byte (as opaque images do) stores three bytes a
// pixel. Any damage, truncation or trailing bytes make the file unreadable as a whole, never
// partly restored. Bands are compressed and expanded on several threads.
class CCompSub {
public:
    // Writes the rect.Width() x rect.Height() pixels (rows packed) to the sink; the caller
    // commits. `threads` 0 means as many as the machine has, up to four.
    static bool Compress(const SnapshotHeader& header, const Pixel* pixels, FileSink& sink,
                         int threads = 0);

    // Reads and checks a whole snapshot file. On Ok, `pixels` holds its pixels (rows packed,
    // taken from `pool`); otherwise nothing is kept.
    static ExpandStatus Expand(const std::filesystem::path& path, SnapshotHeader& header,
                               PixelBuffer& pixels, PixelBufferPool& pool, int threads = 0);
};

}  // namespace palvex
