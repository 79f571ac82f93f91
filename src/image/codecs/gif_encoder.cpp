#include <cstdint>

#include <gif_lib.h>

#include "image/codecs/encoder.h"
#include "image/quantize/quantize.h"

namespace palvex {
namespace {

constexpr int kMaxGifSide = 65535;

int WriteToBuffer(GifFileType* gif, const GifByteType* data, int size) {
    auto* out = static_cast<OutputBuffer*>(gif->UserData);
    return size >= 0 && out->Append(data, static_cast<std::size_t>(size)) ? size : 0;
}

// Closes the file on every path; Close() reports whether the trailer got out.
class GifWriter {
public:
    explicit GifWriter(OutputBuffer& out) {
        int error = 0;
        gif_ = EGifOpen(&out, WriteToBuffer, &error);
    }
    ~GifWriter() { Close(); }
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    GifFileType* Get() const { return gif_; }
    bool Close() {
        if (gif_ == nullptr) {
            return false;
        }
        int error = 0;
        const bool ok = EGifCloseFile(gif_, &error) == GIF_OK;
        gif_ = nullptr;
        return ok;
    }

private:
    GifFileType* gif_ = nullptr;
};

// Table size bits: the smallest power of two, at least 2, that holds the palette.
int TableBits(std::size_t entries) {
    int bits = 1;
    while ((std::size_t{1} << bits) < entries) {
        ++bits;
    }
    return bits;
}

bool WriteGif(const IndexedImage& indexed, OutputBuffer& out) {
    GifWriter writer(out);
    GifFileType* gif = writer.Get();
    if (gif == nullptr) {
        return false;
    }
    const int bits = TableBits(indexed.palette.size());
    GifColorType colours[256] = {};
    for (std::size_t i = 0; i < indexed.palette.size(); ++i) {
        const Colour c = indexed.palette[i];
        colours[i] = {static_cast<GifByteType>(RedOf(c)), static_cast<GifByteType>(GreenOf(c)),
                      static_cast<GifByteType>(BlueOf(c))};
    }
    // giflib copies the table, so one on the stack will do.
    ColorMapObject table{};
    table.ColorCount = 1 << bits;
    table.BitsPerPixel = bits;
    table.SortFlag = false;
    table.Colors = colours;

    // Written for opaque files too, so the block layout never depends on the key.
    const bool transparent = indexed.reservedIndex >= 0;
    const GifByteType graphicControl[4] = {
        static_cast<GifByteType>(transparent ? 1 : 0), 0, 0,
        static_cast<GifByteType>(transparent ? indexed.reservedIndex : 0)};
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, indexed.width, indexed.height, 8, 0, &table) != GIF_OK ||
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof(graphicControl), graphicControl) !=
            GIF_OK ||
        EGifPutImageDesc(gif, 0, 0, indexed.width, indexed.height, false, nullptr) != GIF_OK) {
        return false;
    }
    // giflib masks the line in place; the indexes are ours to change.
    for (int y = 0; y < indexed.height; ++y) {
        GifPixelType* row = indexed.indices.get() + static_cast<std::size_t>(y) * indexed.width;
        if (EGifPutLine(gif, row, indexed.width) != GIF_OK) {
            return false;
        }
    }
    return writer.Close() && !out.Failed();
}

}  // namespace

bool EncodeGif(const Bitmap& image, Colour alphaKey, OutputBuffer& out) {
    out.Clear();
    if (image.IsNull() || image.Width() > kMaxGifSide || image.Height() > kMaxGifSide) {
        return false;
    }
    IndexedImage indexed;
    if (!QuantizeToPalette(image, 256, indexed, alphaKey) || !WriteGif(indexed, out)) {
        out.Clear();
        return false;
    }
    return true;
}

}  // namespace palvex
