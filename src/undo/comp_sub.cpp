#include "undo/comp_sub.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include <zstd.h>

#include "image/bitmap.h"

namespace palvex {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'P', 'V', 'X', 'S', 'N', 'A', 'P', 0x1A};
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::uint32_t kFlagWhole = 1;
constexpr std::size_t kHeaderBytes = 44;
// Bands of about 1 MiB: enough of them to keep every thread busy, each still large enough to
// compress as well as the whole.
constexpr std::size_t kBandBytes = std::size_t{1} << 20;
// Snapshots live for minutes and are read back at most once: speed matters far more than size.
constexpr int kLevel = -1;
constexpr int kCoordinateLimit = 1 << 30;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}
constexpr auto kCrcTable = MakeCrcTable();

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

void PutU32(std::uint8_t* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
void PutU64(std::uint8_t* out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
std::uint32_t GetU32(const std::uint8_t* in) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | in[i];
    }
    return v;
}
std::uint64_t GetU64(const std::uint8_t* in) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | in[i];
    }
    return v;
}

int ThreadCount(int requested, std::size_t bands) {
    int count = requested;
    if (count <= 0) {
        count = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    }
    return static_cast<int>(std::clamp<std::size_t>(bands, 1, static_cast<std::size_t>(count)));
}

// Runs body(0) here and body(1..count-1) on threads of their own.
template <typename Body>
void RunOnThreads(int count, Body body) {
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<std::size_t>(count - 1));
    for (int t = 1; t < count; ++t) {
        helpers.emplace_back(body, t);
    }
    body(0);
    for (auto& helper : helpers) {
        helper.join();
    }
}

struct Layout {
    int width = 0;
    int height = 0;
    std::size_t rowBytes = 0;
    int bandRows = 1;
    std::size_t bands = 0;

    Layout(const Rect& rect, int rowsPerBand) : width(rect.Width()), height(rect.Height()) {
        rowBytes = std::size_t{4} * static_cast<std::size_t>(width);
        bandRows = rowsPerBand;
        bands = width > 0 && height > 0
                    ? static_cast<std::size_t>((height + bandRows - 1) / bandRows)
                    : 0;
    }
    int RowsOf(std::size_t band) const {
        return std::min(bandRows, height - static_cast<int>(band) * bandRows);
    }
    std::size_t OffsetOf(std::size_t band) const {
        return band * static_cast<std::size_t>(bandRows) * static_cast<std::size_t>(width);
    }
};

int RowsPerBand(const Rect& rect) {
    const std::size_t rowBytes =
        std::size_t{4} * static_cast<std::size_t>(std::max(rect.Width(), 1));
    return static_cast<int>(std::clamp<std::size_t>(kBandBytes / rowBytes, 1, 1 << 20));
}

std::FILE* OpenForReading(const std::filesystem::path& path) {
#if defined(_WIN32)
    return ::_wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

bool ReadAt(std::FILE* file, std::uint64_t offset, std::uint8_t* out, std::size_t size) {
#if defined(_WIN32)
    const bool seeked = ::_fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    const bool seeked = ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
    return seeked && std::fread(out, 1, size, file) == size;
}

using FileHandle = std::unique_ptr<std::FILE, SnapshotReader::FileCloser>;

// The frame header descriptor, the byte after the frame's magic number (RFC 8878): the content
// checksum bit (2) must be set, or a damaged frame could pass unchecked, and the unused bit (4),
// which decoders ignore, clear as we write it, so that no flipped bit goes unnoticed.
bool HasChecksum(const std::uint8_t* frame, std::size_t size) {
    return size > 4 && (frame[4] & 0x14) == 0x04;
}

bool ValidRect(const Rect& r) {
    const auto inRange = [](int v) { return v > -kCoordinateLimit && v < kCoordinateLimit; };
    return inRange(r.left) && inRange(r.top) && inRange(r.right) && inRange(r.bottom) &&
           r.Width() >= 0 && r.Height() >= 0 &&
           static_cast<std::uint64_t>(r.Width()) * static_cast<std::uint64_t>(r.Height()) <=
               kMaxPixels;
}

}  // namespace

bool CCompSub::Compress(const SnapshotHeader& header, const Pixel* pixels, FileSink& sink,
                        int threads) {
    const Layout layout(header.rect, RowsPerBand(header.rect));
    std::array<std::uint8_t, kHeaderBytes> head{};
    std::copy(kMagic.begin(), kMagic.end(), head.begin());
    PutU32(&head[8], kFormatVersion);
    PutU32(&head[12], header.whole ? kFlagWhole : 0);
    PutU32(&head[16], static_cast<std::uint32_t>(header.rect.left));
    PutU32(&head[20], static_cast<std::uint32_t>(header.rect.top));
    PutU32(&head[24], static_cast<std::uint32_t>(header.rect.right));
    PutU32(&head[28], static_cast<std::uint32_t>(header.rect.bottom));
    PutU32(&head[32], static_cast<std::uint32_t>(layout.bandRows));
    PutU32(&head[36], static_cast<std::uint32_t>(layout.bands));
    PutU32(&head[40], Crc32(head.data(), 40));
    if (!sink.Write(head)) {
        return false;
    }

    // Bands are compressed on several threads and written strictly in order.
    std::vector<std::uint64_t> sizes(layout.bands);
    std::mutex mutex;
    std::condition_variable turn;
    std::size_t next = 0;
    std::atomic<bool> failed = false;
    const int count = ThreadCount(threads, layout.bands);
    RunOnThreads(count, [&](int t) {
        ZSTD_CCtx* context = ZSTD_createCCtx();
        std::vector<std::uint8_t> out;
        if (context == nullptr ||
            ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, kLevel)) ||
            ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1))) {
            failed = true;
        }
        for (std::size_t band = static_cast<std::size_t>(t); band < layout.bands && !failed;
             band += static_cast<std::size_t>(count)) {
            const std::size_t bytes =
                layout.rowBytes * static_cast<std::size_t>(layout.RowsOf(band));
            out.resize(ZSTD_compressBound(bytes));
            const std::size_t size = ZSTD_compress2(context, out.data(), out.size(),
                                                    pixels + layout.OffsetOf(band), bytes);
            std::unique_lock lock(mutex);
            turn.wait(lock, [&] { return next == band || failed; });
            if (failed || ZSTD_isError(size) || !sink.Write({out.data(), size})) {
                failed = true;
            } else {
                sizes[band] = size;
                ++next;
            }
            turn.notify_all();
        }
        if (failed) {
            const std::lock_guard lock(mutex);
            turn.notify_all();
        }
        ZSTD_freeCCtx(context);
    });
    if (failed) {
        return false;
    }

    std::vector<std::uint8_t> footer(layout.bands * 8 + 4);
    for (std::size_t i = 0; i < layout.bands; ++i) {
        PutU64(&footer[i * 8], sizes[i]);
    }
    PutU32(&footer[layout.bands * 8], Crc32(footer.data(), layout.bands * 8));
    return sink.Write(footer);
}

ExpandStatus SnapshotReader::Open(const std::filesystem::path& path) {
    path_ = path;
    offsets_.clear();
    std::error_code ec;
    const std::uint64_t fileSize = std::filesystem::file_size(path, ec);
    FileHandle file(ec ? nullptr : OpenForReading(path));
    if (file == nullptr) {
        return std::filesystem::exists(path, ec) ? ExpandStatus::Damaged : ExpandStatus::Missing;
    }

    std::array<std::uint8_t, kHeaderBytes> head{};
    if (fileSize < kHeaderBytes || !ReadAt(file.get(), 0, head.data(), head.size()) ||
        !std::equal(kMagic.begin(), kMagic.end(), head.begin()) ||
        GetU32(&head[40]) != Crc32(head.data(), 40) || GetU32(&head[8]) != kFormatVersion ||
        (GetU32(&head[12]) & ~kFlagWhole) != 0) {
        return ExpandStatus::Damaged;
    }
    header_.whole = (GetU32(&head[12]) & kFlagWhole) != 0;
    header_.rect = {static_cast<int>(GetU32(&head[16])), static_cast<int>(GetU32(&head[20])),
                    static_cast<int>(GetU32(&head[24])), static_cast<int>(GetU32(&head[28]))};
    bandRows_ = static_cast<std::int32_t>(GetU32(&head[32]));
    if (!ValidRect(header_.rect) || bandRows_ < 1) {
        return ExpandStatus::Damaged;
    }
    const Layout layout(header_.rect, bandRows_);
    if (GetU32(&head[36]) != layout.bands) {
        return ExpandStatus::Damaged;
    }

    const std::uint64_t footerBytes = layout.bands * 8 + 4;
    if (fileSize < kHeaderBytes + footerBytes) {
        return ExpandStatus::Damaged;
    }
    std::vector<std::uint8_t> footer(footerBytes);
    if (!ReadAt(file.get(), fileSize - footerBytes, footer.data(), footer.size()) ||
        GetU32(&footer[layout.bands * 8]) != Crc32(footer.data(), layout.bands * 8)) {
        return ExpandStatus::Damaged;
    }
    std::vector<std::uint64_t> offsets(layout.bands + 1, kHeaderBytes);
    const std::uint64_t end = fileSize - footerBytes;
    for (std::size_t i = 0; i < layout.bands; ++i) {
        const std::uint64_t size = GetU64(&footer[i * 8]);
        if (size > end || offsets[i] + size > end) {
            return ExpandStatus::Damaged;
        }
        offsets[i + 1] = offsets[i] + size;
    }
    if (offsets[layout.bands] != end) {
        return ExpandStatus::Damaged;
    }
    offsets_ = std::move(offsets);
    file_ = std::move(file);
    return ExpandStatus::Ok;
}

ExpandStatus SnapshotReader::Read(const PixelTarget& target, int threads) {
    if (file_ == nullptr) {
        return ExpandStatus::Damaged;
    }
    const Layout layout(header_.rect, bandRows_);
    const Rect& rect = header_.rect;
    const Rect clip = rect.Intersected(target.bounds);
    // Whole bands go straight into the target when its rows are the snapshot's rows.
    const bool direct = clip == rect && target.stride == static_cast<std::size_t>(rect.Width());
    const auto at = [&](int x, int y) {
        return target.data + static_cast<std::size_t>(y - target.bounds.top) * target.stride +
               static_cast<std::size_t>(x - target.bounds.left);
    };

    std::atomic<bool> damaged = false;
    std::atomic<bool> noMemory = false;
    const int count = ThreadCount(threads, layout.bands);
    RunOnThreads(count, [&](int t) {
        FileHandle own(t == 0 ? nullptr : OpenForReading(path_));
        std::FILE* reader = t == 0 ? file_.get() : own.get();
        ZSTD_DCtx* context = ZSTD_createDCtx();
        if (reader == nullptr || context == nullptr) {
            damaged = reader == nullptr;
            noMemory = context == nullptr;
        }
        std::vector<std::uint8_t> in;
        std::vector<Pixel> band;
        for (std::size_t b = static_cast<std::size_t>(t); b < layout.bands && !damaged && !noMemory;
             b += static_cast<std::size_t>(count)) {
            const std::size_t size = offsets_[b + 1] - offsets_[b];
            const int top = rect.top + static_cast<int>(b) * layout.bandRows;
            const int rows = layout.RowsOf(b);
            const std::size_t bytes = layout.rowBytes * static_cast<std::size_t>(rows);
            in.resize(size);
            if (!ReadAt(reader, offsets_[b], in.data(), size) || !HasChecksum(in.data(), size) ||
                ZSTD_getFrameContentSize(in.data(), size) != bytes ||
                ZSTD_findFrameCompressedSize(in.data(), size) != size) {
                damaged = true;
                break;
            }
            Pixel* out = nullptr;
            if (direct) {
                out = at(rect.left, top);
            } else {
                band.resize(bytes / sizeof(Pixel));
                out = band.data();
            }
            // Verifies the frame's content checksum on the way.
            const std::size_t got = ZSTD_decompressDCtx(context, out, bytes, in.data(), size);
            if (ZSTD_isError(got) || got != bytes) {
                damaged = true;
                break;
            }
            if (!direct) {
                const Rect part = clip.Intersected({rect.left, top, rect.right, top + rows});
                for (int y = part.top; y < part.bottom; ++y) {
                    std::memcpy(at(part.left, y),
                                band.data() + static_cast<std::size_t>(y - top) * layout.width +
                                    (part.left - rect.left),
                                static_cast<std::size_t>(part.Width()) * sizeof(Pixel));
                }
            }
        }
        ZSTD_freeDCtx(context);
    });
    if (damaged || noMemory) {
        return damaged ? ExpandStatus::Damaged : ExpandStatus::NoMemory;
    }
    return ExpandStatus::Ok;
}

ExpandStatus CCompSub::Expand(const std::filesystem::path& path, SnapshotHeader& header,
                              PixelBuffer& pixels, PixelBufferPool& pool, int threads) {
    SnapshotReader reader;
    ExpandStatus status = reader.Open(path);
    if (status != ExpandStatus::Ok) {
        return status;
    }
    const Rect& rect = reader.Header().rect;
    const std::size_t total = static_cast<std::size_t>(rect.Width()) * rect.Height();
    PixelBuffer out;
    if (total > 0) {
        out = pool.Take(total);
        if (out.Empty()) {
            return ExpandStatus::NoMemory;
        }
        status = reader.Read({out.Data(), static_cast<std::size_t>(rect.Width()), rect}, threads);
        if (status != ExpandStatus::Ok) {
            pool.Give(std::move(out));
            return status;
        }
    }
    header = reader.Header();
    pixels = std::move(out);
    return ExpandStatus::Ok;
}

}  // namespace palvex
