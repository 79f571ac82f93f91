#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include <zlib.h>

#include "image/codecs/encoder.h"
#include "image/codecs/key_enc_rows.h"
#include "image/parallel.h"

namespace palvex {
namespace {

// The IDAT stream is deflated in bands of rows, one zlib stream flushed to a byte boundary per
// band and the bands concatenated (as pigz does), so that every core compresses. Each band is
// primed with the 32 KiB before it, so the split costs a few bytes a band.
constexpr std::size_t kBandBytes = std::size_t{1} << 20;
constexpr std::size_t kWindowBytes = std::size_t{32} << 10;
// Run-length matching behind the adaptive filters: on photographs smaller than zlib level 4
// with the filtered strategy (which libpng used) at six times its speed; filtered flat areas
// are runs of zeros, which it catches as well.
constexpr int kStrategy = Z_RLE;
constexpr int kLevel = 1;
constexpr std::array<std::uint8_t, 2> kZlibHeader = {0x78, 0x01};

void PutU32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

bool AppendChunk(OutputBuffer& out, const char* type, const std::uint8_t* data, std::size_t size) {
    std::uint8_t head[8];
    PutU32(head, static_cast<std::uint32_t>(size));
    std::copy(type, type + 4, head + 4);
    std::uint32_t crc = crc32(0, head + 4, 4);
    if (size > 0) {
        crc = crc32_z(crc, data, size);  // a null buffer would reset the CRC
    }
    std::uint8_t tail[4];
    PutU32(tail, crc);
    return out.Append(head, 8) && out.Append(data, size) && out.Append(tail, 4);
}

// A filtered byte's distance from zero taken as a signed value: what the heuristic adds up.
inline std::uint32_t Cost(std::uint8_t v) {
    return std::min<std::uint8_t>(v, static_cast<std::uint8_t>(-v));
}

// Each filter over the whole row, with the sum of its costs; written as plain loops over the
// bytes so that the compiler vectorises them. `prior` is the row above (zeros for the first).
std::uint64_t FilterSub(const std::uint8_t* row, std::size_t n, std::size_t bpp,
                        std::uint8_t* out) {
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < bpp; ++i) {
        out[i] = row[i];
        cost += Cost(out[i]);
    }
    for (std::size_t i = bpp; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - row[i - bpp]);
        cost += Cost(out[i]);
    }
    return cost;
}

std::uint64_t FilterUp(const std::uint8_t* row, const std::uint8_t* prior, std::size_t n,
                       std::uint8_t* out) {
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - prior[i]);
        cost += Cost(out[i]);
    }
    return cost;
}

std::uint64_t FilterAverage(const std::uint8_t* row, const std::uint8_t* prior, std::size_t n,
                            std::size_t bpp, std::uint8_t* out) {
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < bpp; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - (prior[i] >> 1));
        cost += Cost(out[i]);
    }
    for (std::size_t i = bpp; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - ((row[i - bpp] + prior[i]) >> 1));
        cost += Cost(out[i]);
    }
    return cost;
}

std::uint64_t FilterPaeth(const std::uint8_t* row, const std::uint8_t* prior, std::size_t n,
                          std::size_t bpp, std::uint8_t* out) {
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < bpp; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - prior[i]);
        cost += Cost(out[i]);
    }
    for (std::size_t i = bpp; i < n; ++i) {
        const int a = row[i - bpp];
        const int b = prior[i];
        const int c = prior[i - bpp];
        const int pa = std::abs(b - c);
        const int pb = std::abs(a - c);
        const int pc = std::abs(a + b - 2 * c);
        const int predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        out[i] = static_cast<std::uint8_t>(row[i] - predictor);
        cost += Cost(out[i]);
    }
    return cost;
}

// Writes the filter byte and the filtered row to `out` (n + 1 bytes), choosing the filter with
// the smallest sum of absolute signed values, as libpng's heuristic does. `candidates` holds
// 4 x n bytes.
void FilterRow(const std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::size_t bpp,
               std::uint8_t* candidates, std::uint8_t* out) {
    std::uint64_t best = 0;
    for (std::size_t i = 0; i < n; ++i) {
        best += Cost(row[i]);
    }
    const std::uint8_t* chosen = row;
    std::uint8_t filter = 0;
    const std::uint64_t costs[4] = {
        FilterSub(row, n, bpp, candidates),
        FilterUp(row, prior, n, candidates + n),
        FilterAverage(row, prior, n, bpp, candidates + 2 * n),
        FilterPaeth(row, prior, n, bpp, candidates + 3 * n),
    };
    for (std::size_t f = 0; f < 4; ++f) {
        if (costs[f] < best) {
            best = costs[f];
            chosen = candidates + f * n;
            filter = static_cast<std::uint8_t>(f + 1);
        }
    }
    out[0] = filter;
    std::copy(chosen, chosen + n, out + 1);
}

struct Layout {
    const Bitmap* image;
    EncodeKey key;
    std::size_t rowBytes;
    std::size_t bpp;
    int rowsPerBand;
    int bands;
};

// One thread's working memory, reused from band to band.
struct Scratch {
    std::vector<std::uint8_t> filtered;
    std::vector<std::uint8_t> packed;
    std::vector<std::uint8_t> candidates;
};

// One band's share of the stream: its deflated bytes (the first band's led by the zlib
// header; room for the Adler-32 trailer after them) and the Adler-32 of its filtered bytes.
struct Band {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    uLong adler = 0;
    std::size_t filteredSize = 0;
    bool ok = false;
};

// Packs and filters rows [first, last) into scratch.filtered.
void FilterRows(const Layout& layout, int first, int last, Scratch& scratch) {
    const std::size_t stride = layout.rowBytes + 1;
    // The row above the first is all zeros.
    scratch.packed.assign(2 * layout.rowBytes, 0);
    scratch.candidates.resize(4 * layout.rowBytes);
    scratch.filtered.resize(static_cast<std::size_t>(last - first) * stride);
    std::uint8_t* current = scratch.packed.data();
    std::uint8_t* prior = scratch.packed.data() + layout.rowBytes;
    const auto pack = [&](int y, std::uint8_t* dst) {
        if (layout.key.active) {
            PackRgbaRow(layout.image->Row(y), layout.image->Width(), layout.key, dst);
        } else {
            PackRgbRow(layout.image->Row(y), layout.image->Width(), dst);
        }
    };
    if (first > 0) {
        pack(first - 1, prior);
    }
    for (int y = first; y < last; ++y) {
        pack(y, current);
        FilterRow(current, prior, layout.rowBytes, layout.bpp, scratch.candidates.data(),
                  scratch.filtered.data() + static_cast<std::size_t>(y - first) * stride);
        std::swap(current, prior);
    }
}

void DeflateBand(const Layout& layout, int index, Scratch& scratch, Band& band) {
    const int first = index * layout.rowsPerBand;
    const int last = std::min(first + layout.rowsPerBand, layout.image->Height());
    // The rows whose filtered bytes end the previous band prime the window.
    const std::size_t stride = layout.rowBytes + 1;
    const int primeRows = std::min(first, static_cast<int>((kWindowBytes + stride - 1) / stride));
    try {
        FilterRows(layout, first - primeRows, last, scratch);
    } catch (const std::bad_alloc&) {
        return;
    }
    const std::size_t primeBytes = static_cast<std::size_t>(primeRows) * stride;
    const std::uint8_t* data = scratch.filtered.data() + primeBytes;
    const std::size_t size = scratch.filtered.size() - primeBytes;

    z_stream stream{};
    if (deflateInit2(&stream, kLevel, Z_DEFLATED, -15, 8, kStrategy) != Z_OK) {
        return;
    }
    bool ok = true;
    if (primeBytes > 0) {
        const std::size_t window = std::min(primeBytes, kWindowBytes);
        ok = deflateSetDictionary(&stream, data - window, static_cast<uInt>(window)) == Z_OK;
    }
    const bool lastBand = index == layout.bands - 1;
    const std::size_t lead = index == 0 ? kZlibHeader.size() : 0;
    // Room for the sync flush's marker and, in the last band, the Adler-32 trailer.
    const std::size_t room = lead + deflateBound(&stream, size) + 16;
    band.bytes.reset(new (std::nothrow) std::uint8_t[room]);
    ok = ok && band.bytes != nullptr;
    if (ok) {
        std::copy(kZlibHeader.begin(), kZlibHeader.begin() + static_cast<std::ptrdiff_t>(lead),
                  band.bytes.get());
        stream.next_in = const_cast<Bytef*>(data);
        stream.avail_in = static_cast<uInt>(size);
        stream.next_out = band.bytes.get() + lead;
        stream.avail_out = static_cast<uInt>(room - lead - 4);
        // A sync flush ends the band on a byte boundary without ending the stream.
        const int status = deflate(&stream, lastBand ? Z_FINISH : Z_SYNC_FLUSH);
        ok = lastBand ? status == Z_STREAM_END
                      : status == Z_OK && stream.avail_in == 0 && stream.avail_out > 0;
        band.size = room - 4 - stream.avail_out;
    }
    deflateEnd(&stream);
    if (ok) {
        band.adler = adler32_z(1, data, size);
        band.filteredSize = size;
        band.ok = true;
    }
}

bool WriteHeader(const Layout& layout, OutputBuffer& out) {
    static constexpr std::array<std::uint8_t, 8> kSignature = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    std::uint8_t ihdr[13] = {};
    PutU32(ihdr, static_cast<std::uint32_t>(layout.image->Width()));
    PutU32(ihdr + 4, static_cast<std::uint32_t>(layout.image->Height()));
    ihdr[8] = 8;                          // bit depth
    ihdr[9] = layout.key.active ? 6 : 2;  // RGBA or RGB
    if (!out.Append(kSignature.data(), kSignature.size()) ||
        !AppendChunk(out, "IHDR", ihdr, sizeof ihdr)) {
        return false;
    }
    if (layout.key.active) {
        // The background chunk names the key, so that reopening the file takes the same key
        // (a transparent PNG without one reopens with white as its key).
        const std::uint8_t background[6] = {0, static_cast<std::uint8_t>(layout.key.rgb >> 16),
                                            0, static_cast<std::uint8_t>(layout.key.rgb >> 8),
                                            0, static_cast<std::uint8_t>(layout.key.rgb)};
        return AppendChunk(out, "bKGD", background, sizeof background);
    }
    return true;
}

}  // namespace

bool EncodePng(const Bitmap& image, Colour alphaKey, OutputBuffer& out) {
    out.Clear();
    if (image.IsNull()) {
        return false;
    }
    Layout layout{};
    layout.image = &image;
    layout.key = MakeEncodeKey(alphaKey);
    layout.bpp = layout.key.active ? 4 : 3;
    layout.rowBytes = static_cast<std::size_t>(image.Width()) * layout.bpp;
    layout.rowsPerBand = static_cast<int>(std::clamp<std::size_t>(
        kBandBytes / (layout.rowBytes + 1), 1, static_cast<std::size_t>(image.Height())));
    layout.bands = (image.Height() + layout.rowsPerBand - 1) / layout.rowsPerBand;

    const std::size_t bandCount = static_cast<std::size_t>(layout.bands);
    const unsigned workers = WorkersFor(bandCount);
    std::unique_ptr<Band[]> bands(new (std::nothrow) Band[bandCount]);
    std::unique_ptr<Scratch[]> scratch(new (std::nothrow) Scratch[workers]);
    if (!bands || !scratch || !WriteHeader(layout, out)) {
        out.Clear();
        return false;
    }
    ParallelFor(bandCount, [&](std::size_t i, unsigned worker) {
        DeflateBand(layout, static_cast<int>(i), scratch[worker], bands[i]);
    });
    scratch.reset();
    std::size_t total = out.Size() + 12;
    for (std::size_t i = 0; i < bandCount; ++i) {
        total += bands[i].size + 16;
    }
    bool ok = out.Reserve(total);
    uLong adler = 1;
    for (std::size_t i = 0; i < bandCount && ok; ++i) {
        Band& band = bands[i];
        ok = band.ok;
        if (!ok) {
            break;
        }
        adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.filteredSize));
        if (i == bandCount - 1) {
            PutU32(band.bytes.get() + band.size, static_cast<std::uint32_t>(adler));
            band.size += 4;
        }
        ok = AppendChunk(out, "IDAT", band.bytes.get(), band.size);
        band.bytes.reset();
    }
    ok = ok && AppendChunk(out, "IEND", nullptr, 0) && !out.Failed();
    if (!ok) {
        out.Clear();
    }
    return ok;
}

}  // namespace palvex
