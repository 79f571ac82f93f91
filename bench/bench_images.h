#pragma once

#include <algorithm>
#include <cstdint>

#include "image/bitmap.h"

namespace palvex::bench {

inline constexpr int kImageWidth = 6000;
inline constexpr int kImageHeight = 4000;
inline constexpr int kViewWidth = 1920;
inline constexpr int kViewHeight = 1080;
inline constexpr Colour kKey = Rgb(0, 255, 0);

// A 6000 x 4000 gradient with scattered 16 x 16 blocks of the key colour, made once.
inline const Bitmap& LargeKeyedImage() {
    static const Bitmap image = [] {
        Bitmap b;
        if (b.Create(kImageWidth, kImageHeight)) {
            for (int y = 0; y < kImageHeight; ++y) {
                Pixel* row = b.Row(y);
                for (int x = 0; x < kImageWidth; ++x) {
                    const bool key = (x / 16 + y / 16) % 5 == 0;
                    row[x] = PixelFromColour(key ? kKey : Rgb(x, y, x ^ y));
                }
            }
        }
        return b;
    }();
    return image;
}

// A 6000 x 4000 picture with what makes photographs hard to compress: smooth shading, edges, and
// sensor noise of a few levels in every channel. Made once.
inline const Bitmap& PhotoLikeImage() {
    static const Bitmap image = [] {
        Bitmap b;
        if (b.Create(kImageWidth, kImageHeight)) {
            for (int y = 0; y < kImageHeight; ++y) {
                Pixel* row = b.Row(y);
                for (int x = 0; x < kImageWidth; ++x) {
                    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^
                                      static_cast<std::uint32_t>(y) * 19349663u;
                    h ^= h >> 13;
                    h *= 0x5bd1e995u;
                    h ^= h >> 15;
                    // Shading: a sky-like gradient above a horizon, a darker ground below it,
                    // and a bright disc.
                    const bool ground = y > 2600 + (x % 1500) / 10;
                    const int dx = x - 4200;
                    const int dy = y - 1500;
                    const bool disc = dx * dx + dy * dy < 600 * 600;
                    int r = ground ? 90 + x / 200 : 120 + y / 40;
                    int g = ground ? 110 - y / 100 : 160 + y / 50;
                    int bl = ground ? 60 + (x + y) / 300 : 230 - y / 30;
                    if (disc) {
                        r = 240;
                        g = 200 + dx / 60;
                        bl = 120 + dy / 60;
                    }
                    const auto noisy = [&](int v, int shift) {
                        return std::clamp(v + static_cast<int>((h >> shift) & 7) - 3, 0, 255);
                    };
                    row[x] = PixelFromColour(Rgb(noisy(r, 0), noisy(g, 3), noisy(bl, 6)));
                }
            }
        }
        return b;
    }();
    return image;
}

}  // namespace palvex::bench
