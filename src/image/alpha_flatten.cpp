#include "image/alpha_flatten.h"

#include <algorithm>
#include <span>

#include "image/parallel.h"

namespace palvex {
namespace {

// Each pixel on its own: large images are shared out over the cores.
template <typename Body>
void ForEachShare(std::span<Pixel> pixels, const Body& body) {
    constexpr std::size_t kShare = std::size_t{1} << 20;
    const std::size_t shares = (pixels.size() + kShare - 1) / kShare;
    if (shares < 2) {
        body(pixels);
        return;
    }
    ParallelFor(shares, [&](std::size_t i, unsigned /*worker*/) {
        body(pixels.subspan(i * kShare, std::min(kShare, pixels.size() - i * kShare)));
    });
}

}  // namespace

AlphaScan ScanAlpha(const Bitmap& decoded) {
    AlphaScan scan;
    const Pixel* p = decoded.Data();
    const std::size_t count = decoded.PixelCount();
    // Most images are opaque: test blocks with one AND and only look closer at a block that has
    // some alpha below 255.
    constexpr std::size_t kBlock = 16;
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        Pixel all = kOpaqueAlpha;
        for (std::size_t j = 0; j < kBlock; ++j) {
            all &= p[i + j];
        }
        if ((all & kOpaqueAlpha) == kOpaqueAlpha) {
            continue;
        }
        scan.anyTranslucent = true;
        for (std::size_t j = 0; j < kBlock; ++j) {
            if (AlphaOf(p[i + j]) == 0) {
                scan.key = ColourFromPixel(p[i + j]);
                return scan;
            }
        }
    }
    for (; i < count; ++i) {
        const int alpha = AlphaOf(p[i]);
        scan.anyTranslucent |= alpha != 255;
        if (alpha == 0) {
            scan.key = ColourFromPixel(p[i]);
            return scan;
        }
    }
    return scan;
}

int BlendOntoKey(int keyChannel, int channel, int alpha) {
    // Separate statements so that no compiler fuses a multiply and an add (the build also turns
    // contraction off for this file); the rounding of every step is part of the result.
    const float t = static_cast<float>(alpha) / 255.0f;
    const float keyPart = static_cast<float>(keyChannel) * (1.0f - t);
    const float ownPart = static_cast<float>(channel) * t;
    const float sum = keyPart + ownPart;
    const float onePlusT = t + 1.0f;
    const float divisor = onePlusT - t;
    return static_cast<int>(sum / divisor);
}

void FlattenOntoKey(Bitmap& image, Colour key) {
    const Pixel keyPixel = PixelFromColour(key);
    const int kR = RedOf(key);
    const int kG = GreenOf(key);
    const int kB = BlueOf(key);
    // An opaque pixel of the key colour would turn transparent; moving its green by 8 keeps it
    // visible and close to its colour.
    const Pixel nudged = PixelFromColour(Rgb(kR, kG < 8 ? kG + 8 : kG - 8, kB));
    ForEachShare(image.Pixels(), [&](std::span<Pixel> pixels) {
        for (Pixel& p : pixels) {
            const int alpha = AlphaOf(p);
            if (alpha == 255) {
                p = SameRgb(p, keyPixel) ? nudged : p;
            } else if (alpha == 0) {
                p = keyPixel;
            } else {
                const int r = BlendOntoKey(kR, static_cast<int>(p >> 16 & 0xFF), alpha);
                const int g = BlendOntoKey(kG, static_cast<int>(p >> 8 & 0xFF), alpha);
                const int b = BlendOntoKey(kB, static_cast<int>(p & 0xFF), alpha);
                p = PixelFromColour(Rgb(r, g, b));
            }
        }
    });
}

void MakeOpaque(Bitmap& image) {
    ForEachShare(image.Pixels(), [](std::span<Pixel> pixels) {
        for (Pixel& p : pixels) {
            p |= kOpaqueAlpha;
        }
    });
}

}  // namespace palvex
