#pragma once

#include <cstdint>

#include "image/colour.h"

namespace palvex {

// The alpha key in the form rows are compared against: the colour bits of a Pixel.
struct EncodeKey {
    bool active = false;
    Pixel rgb = 0;
};

inline EncodeKey MakeEncodeKey(Colour alphaKey) {
    if (alphaKey == kNoColour) {
        return {};
    }
    return {true, PixelFromColour(alphaKey) & kRgbMask};
}

inline std::uint8_t AlphaFor(Pixel pixel, const EncodeKey& key) {
    return key.active && (pixel & kRgbMask) == key.rgb ? 0 : 255;
}

// One row as R,G,B bytes.
inline void PackRgbRow(const Pixel* src, int width, std::uint8_t* dst) {
    for (int x = 0; x < width; ++x, dst += 3) {
        const Pixel p = src[x];
        dst[0] = static_cast<std::uint8_t>(p >> 16);
        dst[1] = static_cast<std::uint8_t>(p >> 8);
        dst[2] = static_cast<std::uint8_t>(p);
    }
}

// One row as R,G,B,A bytes, alpha from the key.
inline void PackRgbaRow(const Pixel* src, int width, const EncodeKey& key, std::uint8_t* dst) {
    for (int x = 0; x < width; ++x, dst += 4) {
        const Pixel p = src[x];
        dst[0] = static_cast<std::uint8_t>(p >> 16);
        dst[1] = static_cast<std::uint8_t>(p >> 8);
        dst[2] = static_cast<std::uint8_t>(p);
        dst[3] = AlphaFor(p, key);
    }
}

}  // namespace palvex
