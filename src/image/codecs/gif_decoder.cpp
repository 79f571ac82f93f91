#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "image/codecs/decoder.h"

namespace palvex {
namespace {

constexpr int kGraphicControlCode = 0xF9;
constexpr Pixel kOpaqueBlack = 0xFF000000u;

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

// giflib treats a short read as the end of the file.
int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n =
        std::min(static_cast<std::size_t>(std::max(count, 0)), reader->size - reader->offset);
    if (n == 0) {
        return 0;
    }
    std::memcpy(out, reader->data + reader->offset, n);
    reader->offset += n;
    return static_cast<int>(n);
}

class GifCloser {
public:
    explicit GifCloser(GifFileType* gif) : gif_(gif) {}
    ~GifCloser() {
        int error = 0;
        DGifCloseFile(gif_, &error);
    }
    GifCloser(const GifCloser&) = delete;
    GifCloser& operator=(const GifCloser&) = delete;

private:
    GifFileType* gif_;
};

constexpr Pixel PixelOf(const GifColorType& c, Pixel alpha) {
    return alpha | Pixel{c.Red} << 16 | Pixel{c.Green} << 8 | Pixel{c.Blue};
}

// The colour of an entry, black when the table has no such entry.
Pixel EntryColour(const ColorMapObject* table, int index) {
    if (table == nullptr || index < 0 || index >= table->ColorCount) {
        return 0;
    }
    return PixelOf(table->Colors[index], 0);
}

// Skips over the remaining sub-blocks of an extension; false on a read error.
bool SkipSubBlocks(GifFileType* gif, GifByteType* block) {
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
            return false;
        }
    }
    return true;
}

// Reads records up to the first image descriptor, noting the transparent index of the graphic
// control extension that comes last before it (-1 for none). False when there is no image.
bool FindFirstImage(GifFileType* gif, int* transparentIndex) {
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) {
            return false;
        }
        if (record == IMAGE_DESC_RECORD_TYPE) {
            return DGifGetImageDesc(gif) != GIF_ERROR;
        }
        if (record != EXTENSION_RECORD_TYPE) {
            return false;  // the trailer, or junk
        }
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
            return false;
        }
        // block[0] is the sub-block length: flags, delay (2 bytes), transparent index.
        if (code == kGraphicControlCode && block != nullptr && block[0] >= 4) {
            *transparentIndex = (block[1] & 0x01) != 0 ? block[4] : -1;
        }
        if (!SkipSubBlocks(gif, block)) {
            return false;
        }
    }
}

// Stored row order of an interlaced frame: every 8th row from 0, every 8th from 4, every 4th
// from 2, then the odd rows.
std::vector<int> InterlacedRowOrder(int height) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    constexpr std::array<std::array<int, 2>, 4> kPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
    for (const auto& [start, step] : kPasses) {
        for (int y = start; y < height; y += step) {
            order.push_back(y);
        }
    }
    return order;
}

}  // namespace

DecodedImage DecodeGif(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    MemoryReader reader{file.data(), file.size(), 0};
    int openError = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &openError);
    if (gif == nullptr) {
        return DecodeFailure(openError == D_GIF_ERR_NOT_ENOUGH_MEM ? DecodeStatus::OutOfMemory
                                                                   : DecodeStatus::Corrupt);
    }
    GifCloser closer(gif);

    int transparentIndex = -1;
    if (!FindFirstImage(gif, &transparentIndex)) {
        return DecodeFailure(gif->Error == D_GIF_ERR_NOT_ENOUGH_MEM ? DecodeStatus::OutOfMemory
                                                                    : DecodeStatus::Corrupt);
    }
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* table = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    if (table == nullptr || desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0) {
        return DecodeFailure(DecodeStatus::Corrupt);
    }

    const Rect screen{0, 0, gif->SWidth, gif->SHeight};
    const Rect frame{desc.Left, desc.Top, desc.Left + desc.Width, desc.Top + desc.Height};
    // A frame outside the screen widens the canvas; an empty screen adds nothing to the union,
    // which leaves the frame's own rectangle.
    const bool fitsScreen = !screen.IsEmpty() && screen.Intersected(frame) == frame;
    const Rect canvas = fitsScreen ? screen : screen.United(frame);
    const std::uint64_t maxPixels = std::min(limits.maxPixels, kMaxPixels);
    const auto area = [](const Rect& r) {
        return std::uint64_t(r.Width()) * std::uint64_t(r.Height());
    };
    if (area(canvas) > maxPixels || area(frame) > maxPixels) {
        return DecodeFailure(DecodeStatus::TooLarge);
    }

    // Index to pixel, for every value a line can hold. An out-of-range transparent index
    // still makes its pixels transparent (black, as the table has no colour for them).
    std::array<Pixel, 256> lookup;
    lookup.fill(kOpaqueBlack);
    for (int i = 0; i < std::min(table->ColorCount, 256); ++i) {
        lookup[static_cast<std::size_t>(i)] = PixelOf(table->Colors[i], kOpaqueAlpha);
    }
    if (transparentIndex >= 0) {
        lookup[static_cast<std::size_t>(transparentIndex)] = EntryColour(table, transparentIndex);
    }

    DecodedImage result;
    if (!result.pixels.Create(canvas.Width(), canvas.Height())) {
        return DecodeFailure(DecodeStatus::OutOfMemory);
    }
    if (frame != canvas) {
        const Pixel background = transparentIndex >= 0 ? EntryColour(table, transparentIndex)
                                 : gif->SColorMap != nullptr
                                     ? EntryColour(gif->SColorMap, gif->SBackGroundColor)
                                     : 0;
        result.pixels.Fill(background);
    }

    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    std::vector<int> rowOrder;
    if (desc.Interlace) {
        rowOrder = InterlacedRowOrder(desc.Height);
    }
    const int left = frame.left - canvas.left;
    for (int i = 0; i < desc.Height; ++i) {
        if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) {
            return DecodeFailure(DecodeStatus::Corrupt);
        }
        const int y = desc.Interlace ? rowOrder[static_cast<std::size_t>(i)] : i;
        Pixel* out = result.pixels.Row(frame.top - canvas.top + y) + left;
        for (int x = 0; x < desc.Width; ++x) {
            out[x] = lookup[line[static_cast<std::size_t>(x)]];
        }
    }
    result.status = DecodeStatus::Ok;
    return result;
}

}  // namespace palvex
