#pragma once

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

}  // namespace palvex::bench
