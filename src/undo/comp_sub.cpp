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

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define PALVEX_SNAPSHOT_SSSE3 1
#else
#define PALVEX_SNAPSHOT_SSSE3 0
#endif

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
// On a noisy photograph level -20 writes the file in about half the time of -5 at the same size
// (the packing to three bytes does most of the work there); flat areas such as a keyed
// background still shrink to a fraction.
constexpr int kLevel = -20;
constexpr int kCoordinateLimit = 1 << 30;
// A band's footer entry: compressed size (8 bytes), flags (4), the fourth byte of its packed
// pixels (4).
constexpr std::size_t kBandEntryBytes = 16;
constexpr std::uint32_t kBandPacked = 1;

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

// Packs pixels to three bytes when their fourth byte is one value, a quarter less to compress
// and to write; false when it is not. Four pixels at a time into three words (little-endian).
bool PackScalar(const Pixel* in, std::size_t count, std::uint8_t* out, Pixel top) {
    Pixel differ = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4, out += 12) {
        const Pixel p0 = in[i];
        const Pixel p1 = in[i + 1];
        const Pixel p2 = in[i + 2];
        const Pixel p3 = in[i + 3];
        differ |= (p0 ^ top) | (p1 ^ top) | (p2 ^ top) | (p3 ^ top);
        const std::array<std::uint32_t, 3> words = {(p0 & 0xFFFFFFu) | p1 << 24,
                                                    (p1 >> 8 & 0xFFFFu) | p2 << 16,
                                                    (p2 >> 16 & 0xFFu) | p3 << 8};
        std::memcpy(out, words.data(), 12);
    }
    for (; i < count; ++i, out += 3) {
        differ |= in[i] ^ top;
        out[0] = static_cast<std::uint8_t>(in[i]);
        out[1] = static_cast<std::uint8_t>(in[i] >> 8);
        out[2] = static_cast<std::uint8_t>(in[i] >> 16);
    }
    return (differ & 0xFF000000u) == 0;
}

void UnpackScalar(const std::uint8_t* in, std::size_t count, Pixel top, Pixel* out) {
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4, in += 12) {
        std::array<std::uint32_t, 3> w{};
        std::memcpy(w.data(), in, 12);
        out[i] = top | (w[0] & 0xFFFFFFu);
        out[i + 1] = top | w[0] >> 24 | (w[1] & 0xFFFFu) << 8;
        out[i + 2] = top | w[1] >> 16 | (w[2] & 0xFFu) << 16;
        out[i + 3] = top | w[2] >> 8;
    }
    for (; i < count; ++i, in += 3) {
        out[i] = top | in[0] | Pixel{in[1]} << 8 | Pixel{in[2]} << 16;
    }
}

#if PALVEX_SNAPSHOT_SSSE3
// One byte shuffle moves four pixels; the scalar loops cost about as much as the rest of the
// snapshot's work together. Each step reads or writes 16 bytes of which it uses 12, so the
// loops stop while 16 bytes remain and leave the rest to the scalar code.
__attribute__((target("ssse3"))) std::size_t PackSsse3(const Pixel* in, std::size_t count,
                                                       std::uint8_t* out, Pixel top, bool& same) {
    const __m128i shuffle = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(top));
    const __m128i mask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    __m128i differ = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 6 <= count; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        differ = _mm_or_si128(differ, _mm_and_si128(_mm_xor_si128(v, alpha), mask));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * i), _mm_shuffle_epi8(v, shuffle));
    }
    same = _mm_movemask_epi8(_mm_cmpeq_epi32(differ, _mm_setzero_si128())) == 0xFFFF;
    return i;
}

__attribute__((target("ssse3"))) std::size_t UnpackSsse3(const std::uint8_t* in, std::size_t count,
                                                         Pixel top, Pixel* out) {
    const __m128i shuffle = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(top));
    std::size_t i = 0;
    for (; i + 6 <= count; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_shuffle_epi8(v, shuffle), alpha));
    }
    return i;
}

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

bool Pack(const Pixel* in, std::size_t count, std::uint8_t* out, std::uint8_t& alpha) {
    const Pixel top = count > 0 ? in[0] & 0xFF000000u : 0;
    bool same = true;
    std::size_t done = 0;
#if PALVEX_SNAPSHOT_SSSE3
    if (HasSsse3()) {
        done = PackSsse3(in, count, out, top, same);
    }
#endif
    same = PackScalar(in + done, count - done, out + 3 * done, top) && same;
    alpha = same ? static_cast<std::uint8_t>(top >> 24) : 0;
    return same;
}

void Unpack(const std::uint8_t* in, std::size_t count, std::uint8_t alpha, Pixel* out) {
    const Pixel top = Pixel{alpha} << 24;
    std::size_t done = 0;
#if PALVEX_SNAPSHOT_SSSE3
    if (HasSsse3()) {
        done = UnpackSsse3(in, count, top, out);
    }
#endif
    UnpackScalar(in + 3 * done, count - done, top, out + done);
}

// Scratch memory of the band threads, kept between calls: fresh memory costs a page fault per
// 4 KiB, which costs more than compressing the band.
class ScratchCache {
public:
    std::vector<std::uint8_t> Take() {
        const std::lock_guard lock(mutex_);
        if (spare_.empty()) {
            return {};
        }
        std::vector<std::uint8_t> v = std::move(spare_.back());
        spare_.pop_back();
        return v;
    }
    void Give(std::vector<std::uint8_t> v) {
        const std::lock_guard lock(mutex_);
        if (spare_.size() < 16) {
            spare_.push_back(std::move(v));
        }
    }

private:
    std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> spare_;
};

ScratchCache& Scratch() {
    static ScratchCache cache;
    return cache;
}

// A scratch vector for the life of one thread's work.
struct ScratchBuffer {
    std::vector<std::uint8_t> bytes = Scratch().Take();
    ScratchBuffer() = default;
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;
    ~ScratchBuffer() { Scratch().Give(std::move(bytes)); }
};

struct BandInfo {
    std::uint64_t size = 0;
    bool packed = false;
    std::uint8_t alpha = 0;
};

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
    std::vector<BandInfo> info(layout.bands);
    std::mutex mutex;
    std::condition_variable turn;
    std::size_t next = 0;
    std::atomic<bool> failed = false;
    const int count = ThreadCount(threads, layout.bands);
    RunOnThreads(count, [&](int t) {
        ZSTD_CCtx* context = ZSTD_createCCtx();
        ScratchBuffer outBuffer;
        ScratchBuffer packedBuffer;
        std::vector<std::uint8_t>& out = outBuffer.bytes;
        std::vector<std::uint8_t>& packed = packedBuffer.bytes;
        if (context == nullptr ||
            ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, kLevel)) ||
            ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1))) {
            failed = true;
        }
        for (std::size_t band = static_cast<std::size_t>(t); band < layout.bands && !failed;
             band += static_cast<std::size_t>(count)) {
            const std::size_t count = static_cast<std::size_t>(layout.width) *
                                      static_cast<std::size_t>(layout.RowsOf(band));
            const Pixel* from = pixels + layout.OffsetOf(band);
            BandInfo band_info;
            packed.resize(count * 3);
            band_info.packed = Pack(from, count, packed.data(), band_info.alpha);
            const void* source = band_info.packed ? static_cast<const void*>(packed.data()) : from;
            const std::size_t bytes = count * (band_info.packed ? 3 : 4);
            out.resize(ZSTD_compressBound(bytes));
            const std::size_t size = ZSTD_compress2(context, out.data(), out.size(), source, bytes);
            band_info.size = size;
            std::unique_lock lock(mutex);
            turn.wait(lock, [&] { return next == band || failed; });
            if (failed || ZSTD_isError(size) || !sink.Write({out.data(), size})) {
                failed = true;
            } else {
                info[band] = band_info;
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

    std::vector<std::uint8_t> footer(layout.bands * kBandEntryBytes + 4);
    for (std::size_t i = 0; i < layout.bands; ++i) {
        std::uint8_t* entry = &footer[i * kBandEntryBytes];
        PutU64(entry, info[i].size);
        PutU32(entry + 8, info[i].packed ? kBandPacked : 0);
        PutU32(entry + 12, info[i].alpha);
    }
    const std::size_t listed = layout.bands * kBandEntryBytes;
    PutU32(&footer[listed], Crc32(footer.data(), listed));
    return sink.Write(footer);
}

ExpandStatus SnapshotReader::Open(const std::filesystem::path& path) {
    path_ = path;
    bands_.clear();
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

    const std::uint64_t listed = layout.bands * kBandEntryBytes;
    const std::uint64_t footerBytes = listed + 4;
    if (fileSize < kHeaderBytes + footerBytes) {
        return ExpandStatus::Damaged;
    }
    std::vector<std::uint8_t> footer(footerBytes);
    if (!ReadAt(file.get(), fileSize - footerBytes, footer.data(), footer.size()) ||
        GetU32(&footer[listed]) != Crc32(footer.data(), listed)) {
        return ExpandStatus::Damaged;
    }
    std::vector<Band> bands(layout.bands);
    const std::uint64_t end = fileSize - footerBytes;
    std::uint64_t offset = kHeaderBytes;
    for (std::size_t i = 0; i < layout.bands; ++i) {
        const std::uint8_t* entry = &footer[i * kBandEntryBytes];
        const std::uint64_t size = GetU64(entry);
        const std::uint32_t flags = GetU32(entry + 8);
        const std::uint32_t alpha = GetU32(entry + 12);
        if (size > end || offset + size > end || (flags & ~kBandPacked) != 0 || alpha > 0xFF ||
            (flags == 0 && alpha != 0)) {
            return ExpandStatus::Damaged;
        }
        bands[i] = {offset, size, flags == kBandPacked, static_cast<std::uint8_t>(alpha)};
        offset += size;
    }
    if (offset != end) {
        return ExpandStatus::Damaged;
    }
    bands_ = std::move(bands);
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
        ScratchBuffer inBuffer;
        ScratchBuffer decodedBuffer;
        std::vector<std::uint8_t>& in = inBuffer.bytes;
        std::vector<std::uint8_t>& decoded = decodedBuffer.bytes;
        for (std::size_t b = static_cast<std::size_t>(t); b < layout.bands && !damaged && !noMemory;
             b += static_cast<std::size_t>(count)) {
            const Band& band = bands_[b];
            const int top = rect.top + static_cast<int>(b) * layout.bandRows;
            const int rows = layout.RowsOf(b);
            const std::size_t pixelBytes = band.packed ? 3 : 4;
            const std::size_t bytes = static_cast<std::size_t>(layout.width) *
                                      static_cast<std::size_t>(rows) * pixelBytes;
            in.resize(band.size);
            decoded.resize(bytes);
            // The decoder verifies the frame's content checksum on the way.
            std::size_t got = 0;
            if (!ReadAt(reader, band.offset, in.data(), band.size) ||
                !HasChecksum(in.data(), band.size) ||
                ZSTD_getFrameContentSize(in.data(), band.size) != bytes ||
                ZSTD_findFrameCompressedSize(in.data(), band.size) != band.size ||
                ZSTD_isError(got = ZSTD_decompressDCtx(context, decoded.data(), bytes, in.data(),
                                                       band.size)) ||
                got != bytes) {
                damaged = true;
                break;
            }
            const Rect part = clip.Intersected({rect.left, top, rect.right, top + rows});
            for (int y = part.top; y < part.bottom; ++y) {
                const std::uint8_t* row =
                    decoded.data() + (static_cast<std::size_t>(y - top) * layout.width +
                                      static_cast<std::size_t>(part.left - rect.left)) *
                                         pixelBytes;
                if (band.packed) {
                    Unpack(row, static_cast<std::size_t>(part.Width()), band.alpha,
                           at(part.left, y));
                } else {
                    std::memcpy(at(part.left, y), row,
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
