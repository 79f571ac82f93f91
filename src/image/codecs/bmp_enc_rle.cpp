#include "image/codecs/bmp_enc_rle.h"

#include <algorithm>
#include <cstring>

namespace palvex::bmp {
namespace {

constexpr int kMaxRun = 255;
// Shorter repeats stay inside an absolute run: splitting it would cost more than they save.
// Three is also the shortest absolute run, as counts 0-2 are escapes.
constexpr int kMinRun = 3;

// Collects the stream in chunks so that each instruction is not an append of its own.
class ChunkWriter {
public:
    explicit ChunkWriter(OutputBuffer& out) : out_(out) {}

    // Room for the largest thing written between two calls: an absolute run of 255 pixels
    // (at most 258 bytes), or two short encoded runs and an end of line.
    bool MakeRoom() { return size_ + 300 <= sizeof(chunk_) || Flush(); }
    bool Flush() {
        const bool ok = out_.Append(chunk_, size_);
        size_ = 0;
        return ok;
    }
    void Put(std::uint8_t a, std::uint8_t b) {
        chunk_[size_++] = a;
        chunk_[size_++] = b;
    }
    void Put(std::uint8_t a) { chunk_[size_++] = a; }

private:
    OutputBuffer& out_;
    std::uint8_t chunk_[16384];
    std::size_t size_ = 0;
};

int RunAt(const std::uint8_t* row, int x, int width) {
    const int limit = std::min(width, x + kMaxRun);
    int end = x + 1;
    while (end < limit && row[end] == row[x]) {
        ++end;
    }
    return end - x;
}

void PutRun(ChunkWriter& out, int count, std::uint8_t index, bool fourBit) {
    out.Put(static_cast<std::uint8_t>(count),
            fourBit ? static_cast<std::uint8_t>(index << 4 | index) : index);
}

// Pixels [x, end) as an absolute run, padded to a 16-bit boundary.
void PutAbsolute(ChunkWriter& out, const std::uint8_t* row, int x, int end, bool fourBit) {
    const int count = end - x;
    out.Put(0, static_cast<std::uint8_t>(count));
    int bytes = count;
    if (fourBit) {
        bytes = (count + 1) / 2;
        for (int i = x; i < end; i += 2) {
            const int low = i + 1 < end ? row[i + 1] : 0;
            out.Put(static_cast<std::uint8_t>(row[i] << 4 | low));
        }
    } else {
        for (int i = x; i < end; ++i) {
            out.Put(row[i]);
        }
    }
    if ((bytes & 1) != 0) {
        out.Put(0);
    }
}

bool EncodeRow(ChunkWriter& out, const std::uint8_t* row, int width, bool fourBit) {
    int x = 0;
    while (x < width) {
        if (!out.MakeRoom()) {
            return false;
        }
        const int run = RunAt(row, x, width);
        if (run >= kMinRun) {
            PutRun(out, run, row[x], fourBit);
            x += run;
            continue;
        }
        // Varying pixels, up to the next long repeat.
        int end = x + run;
        while (end < width && end - x < kMaxRun) {
            const int next = RunAt(row, end, width);
            if (next >= kMinRun) {
                break;
            }
            end += next;
        }
        end = std::min(end, x + kMaxRun);
        if (end - x >= kMinRun) {
            PutAbsolute(out, row, x, end, fourBit);
            x = end;
            continue;
        }
        while (x < end) {
            const int n = std::min(RunAt(row, x, width), end - x);
            PutRun(out, n, row[x], fourBit);
            x += n;
        }
    }
    if (!out.MakeRoom()) {
        return false;
    }
    out.Put(0, 0);  // end of line
    return true;
}

}  // namespace

bool EncodeRle(const IndexedImage& image, bool fourBit, OutputBuffer& out) {
    ChunkWriter writer(out);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.indices.get() + static_cast<std::size_t>(y) *
                                                            static_cast<std::size_t>(image.width);
        if (!EncodeRow(writer, row, image.width, fourBit)) {
            return false;
        }
    }
    if (!writer.MakeRoom()) {
        return false;
    }
    writer.Put(0, 1);  // end of bitmap
    return writer.Flush();
}

}  // namespace palvex::bmp
