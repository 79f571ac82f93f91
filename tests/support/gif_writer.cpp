#include "support/gif_writer.h"

#include <algorithm>
#include <unordered_map>

#include "support/test_support.h"

namespace palvex::test {
namespace {

constexpr int kMaxCodes = 4096;

int BitLength(unsigned value) {
    int bits = 0;
    for (; value != 0; value >>= 1) {
        ++bits;
    }
    return bits;
}

// Codes go out least significant bit first.
class CodePacker {
public:
    void Put(unsigned code, int width) {
        pending_ |= code << pendingBits_;
        pendingBits_ += width;
        while (pendingBits_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_));
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }
    std::vector<std::uint8_t> Finish() {
        if (pendingBits_ > 0) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_));
        }
        pending_ = 0;
        pendingBits_ = 0;
        return std::move(bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t pending_ = 0;
    int pendingBits_ = 0;
};

// Table bits for a colour table of `entries` (>= 1): the field value plus one.
int TableBits(std::size_t entries) {
    return std::max(1, BitLength(static_cast<unsigned>(entries - 1)));
}

void PutTable(std::vector<std::uint8_t>& out, const std::vector<GifColour>& table) {
    const std::size_t padded = std::size_t{1} << TableBits(table.size());
    for (std::size_t i = 0; i < padded; ++i) {
        const GifColour c = i < table.size() ? table[i] : GifColour{0, 0, 0};
        out.insert(out.end(), c.begin(), c.end());
    }
}

void PutSubBlocks(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& data) {
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
}

std::vector<std::uint8_t> StoredOrder(const GifFrame& frame) {
    const std::size_t width = static_cast<std::size_t>(frame.width);
    if (!frame.interlaced || !frame.reorderInterlacedRows ||
        frame.indices.size() != width * static_cast<std::size_t>(frame.height)) {
        return frame.indices;
    }
    std::vector<std::uint8_t> stored;
    const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : passes) {
        for (int y = pass[0]; y < frame.height; y += pass[1]) {
            const auto row = frame.indices.begin() + static_cast<std::ptrdiff_t>(y * width);
            stored.insert(stored.end(), row, row + static_cast<std::ptrdiff_t>(width));
        }
    }
    return stored;
}

struct BlockWriter {
    std::vector<std::uint8_t>& out;
    const GifDescription& desc;

    void operator()(const GifGraphicControl& gce) const {
        out.insert(out.end(), {0x21, 0xF9, 0x04, gce.flags});
        PutU16(out, gce.delay);
        out.insert(out.end(), {gce.transparentIndex, 0x00});
    }
    void operator()(const GifApplication& app) const {
        out.insert(out.end(), {0x21, 0xFF, 0x0B});
        std::string id = (app.identifier + std::string(8, ' ')).substr(0, 8);
        id += (app.authCode + std::string(3, ' ')).substr(0, 3);
        out.insert(out.end(), id.begin(), id.end());
        PutSubBlocks(out, app.data);
    }
    void operator()(const GifComment& comment) const {
        out.insert(out.end(), {0x21, 0xFE});
        PutSubBlocks(out, {comment.text.begin(), comment.text.end()});
    }
    void operator()(const GifFrame& frame) const {
        out.push_back(0x2C);
        PutU16(out, static_cast<unsigned>(frame.left));
        PutU16(out, static_cast<unsigned>(frame.top));
        PutU16(out, static_cast<unsigned>(frame.width));
        PutU16(out, static_cast<unsigned>(frame.height));
        std::uint8_t flags = frame.interlaced ? 0x40 : 0x00;
        if (!frame.localTable.empty()) {
            flags |= static_cast<std::uint8_t>(0x80 | (TableBits(frame.localTable.size()) - 1));
        }
        out.push_back(flags);
        if (!frame.localTable.empty()) {
            PutTable(out, frame.localTable);
        }
        int codeSize = frame.minCodeSize;
        if (codeSize == 0) {
            const std::vector<GifColour>& table =
                frame.localTable.empty() ? desc.globalTable : frame.localTable;
            unsigned highest = table.empty() ? 1 : (1u << TableBits(table.size())) - 1;
            for (const std::uint8_t index : frame.indices) {
                highest = std::max<unsigned>(highest, index);
            }
            codeSize = std::max(2, BitLength(highest));
        }
        out.push_back(static_cast<std::uint8_t>(codeSize));
        PutSubBlocks(out, EncodeGifLzw(StoredOrder(frame), codeSize));
    }
};

}  // namespace

std::vector<std::uint8_t> EncodeGifLzw(const std::vector<std::uint8_t>& indices, int minCodeSize) {
    const unsigned clear = 1u << minCodeSize;
    const unsigned end = clear + 1;
    const unsigned indexMask = clear - 1;
    std::unordered_map<std::uint32_t, unsigned> dictionary;
    unsigned next = clear + 2;
    // Readers widen codes once the newest table entry needs it; they add each entry one code
    // later than the writer, which the width of `next - 1` accounts for.
    const auto width = [&next] { return std::min(12, BitLength(next - 1)); };

    CodePacker packer;
    packer.Put(clear, width());
    if (indices.empty()) {
        packer.Put(end, width());
        return packer.Finish();
    }
    unsigned prefix = indices[0] & indexMask;
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const unsigned k = indices[i] & indexMask;
        const std::uint32_t key = prefix << 8 | k;
        if (const auto found = dictionary.find(key); found != dictionary.end()) {
            prefix = found->second;
            continue;
        }
        packer.Put(prefix, width());
        dictionary.emplace(key, next++);
        if (next == kMaxCodes) {
            packer.Put(clear, width());
            dictionary.clear();
            next = clear + 2;
        }
        prefix = k;
    }
    packer.Put(prefix, width());
    // The reader adds an entry on seeing this last code, so the end code may be one bit wider.
    next = std::min<unsigned>(next + 1, kMaxCodes);
    packer.Put(end, width());
    return packer.Finish();
}

std::vector<std::uint8_t> WriteGif(const GifDescription& desc) {
    std::vector<std::uint8_t> out;
    out.reserve(4096);
    for (const char c : "GIF" + desc.version) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    PutU16(out, static_cast<unsigned>(desc.screenWidth));
    PutU16(out, static_cast<unsigned>(desc.screenHeight));
    std::uint8_t flags = 0;
    if (!desc.globalTable.empty()) {
        // Colour resolution 8 bits, not sorted.
        flags = static_cast<std::uint8_t>(0x80 | 0x70 | (TableBits(desc.globalTable.size()) - 1));
    }
    out.insert(out.end(), {flags, desc.backgroundIndex, 0x00});
    if (!desc.globalTable.empty()) {
        PutTable(out, desc.globalTable);
    }
    for (const GifBlock& block : desc.blocks) {
        std::visit(BlockWriter{out, desc}, block);
    }
    if (desc.trailer) {
        out.push_back(0x3B);
    }
    return out;
}

}  // namespace palvex::test
