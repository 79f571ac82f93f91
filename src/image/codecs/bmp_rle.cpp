#include "image/codecs/bmp_rle.h"

#include <algorithm>
#include <cstddef>

namespace palvex::bmp {

void DecodeRle(std::span<const std::uint8_t> stream, const BmpLayout& layout, Bitmap& out) {
    const bool fourBit = layout.layout == PixelLayout::Rle4;
    const Pixel* palette = layout.palette.data();
    const int width = out.Width();
    const int height = out.Height();
    out.Fill(palette[0] & kRgbMask);

    const std::uint8_t* p = stream.data();
    const std::uint8_t* const end = p + stream.size();
    // Rows are stored bottom-up; x never exceeds width, so every write below is clipped once
    // per run rather than checked per pixel.
    int x = 0;
    int y = 0;
    Pixel* row = out.Row(height - 1);
    while (end - p >= 2) {
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0) {
            const int n = std::min(static_cast<int>(count), width - x);
            if (fourBit) {
                const Pixel pair[2] = {palette[value >> 4], palette[value & 0x0F]};
                for (int i = 0; i < n; ++i) {
                    row[x + i] = pair[i & 1];
                }
            } else {
                std::fill_n(row + x, n, palette[value]);
            }
            x += n;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                if (++y >= height) {
                    return;
                }
                row = out.Row(height - 1 - y);
                break;
            case 1:  // end of bitmap
                return;
            case 2:  // delta
                if (end - p < 2) {
                    return;
                }
                x = std::min(x + p[0], width);
                y += p[1];
                p += 2;
                if (y >= height) {
                    return;
                }
                row = out.Row(height - 1 - y);
                break;
            default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
                const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
                const std::size_t available = std::min(bytes, static_cast<std::size_t>(end - p));
                const std::size_t pixels =
                    fourBit ? std::min<std::size_t>(value, available * 2) : available;
                const int n = static_cast<int>(std::min<std::size_t>(pixels, width - x));
                if (fourBit) {
                    for (int i = 0; i < n; ++i) {
                        row[x + i] = palette[(p[i >> 1] >> ((i & 1) ? 0 : 4)) & 0x0F];
                    }
                } else {
                    for (int i = 0; i < n; ++i) {
                        row[x + i] = palette[p[i]];
                    }
                }
                x += n;
                if (available < bytes) {
                    return;
                }
                p += std::min(bytes + (bytes & 1), static_cast<std::size_t>(end - p));
                break;
            }
        }
    }
}

}  // namespace palvex::bmp
