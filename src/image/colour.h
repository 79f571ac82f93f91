#pragma once

#include <cstdint>

namespace palvex {

// A colour value: 0x00BBGGRR, red in the low byte. kNoColour (all bits set) means "no colour";
// its channel bytes read as 255, which matters where a missing pixel is compared channel-wise.
using Colour = std::uint32_t;
inline constexpr Colour kNoColour = 0xFFFFFFFFu;

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// A stored pixel: 0xAARRGGBB as a native 32-bit value, so its bytes in memory are blue, green,
// red, A on little-endian machines (QImage::Format_RGB32 and Format_ARGB32). In the working
// image A is ignored and kept at 0xFF; decoders use it for straight (unpremultiplied) alpha.
using Pixel = std::uint32_t;
inline constexpr Pixel kOpaqueAlpha = 0xFF000000u;
inline constexpr Pixel kRgbMask = 0x00FFFFFFu;

constexpr Pixel PixelFromColour(Colour c) {
    return kOpaqueAlpha | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}
constexpr Colour ColourFromPixel(Pixel p) {
    return (p >> 16 & 0xFF) | (p & 0xFF00) | (p & 0xFF) << 16;
}
constexpr int AlphaOf(Pixel p) {
    return static_cast<int>(p >> 24);
}
// Equality of colour channels only: the fourth byte never takes part in a colour comparison.
constexpr bool SameRgb(Pixel a, Pixel b) {
    return ((a ^ b) & kRgbMask) == 0;
}

// The colour a value reads back as after a store into a 16-bit (5-6-5) pixel. The store is fixed
// at 32 bits, so nothing reduces colours today; the model stays for code that reasons about it.
Colour QuantizeColor16(Colour c);

}  // namespace palvex
