#include "canvas/navigator_layout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "canvas/canvas_mapping.h"
#include "geometry/math_sub.h"
#include "image/parallel.h"

namespace palvex {
namespace {

int Trunc(float v) {
    return static_cast<int>(v);
}

int ClampSide(int side) {
    return std::clamp(side, kNavigatorMinSide, kNavigatorMaxSide);
}

bool HasImage(Size image) {
    return image.width > 0 && image.height > 0;
}

// The first image column (or row) that picture column t covers: floor(t x n / m), in 64 bits.
int SourceStart(int t, int n, int m) {
    return static_cast<int>(std::int64_t{t} * n / m);
}

// The channel sums of a stretch of one row and how many of its pixels are the key. The key's
// share is taken out afterwards, so the loop has no branch and the compiler can vectorise it.
struct StretchSum {
    std::uint64_t r = 0, g = 0, b = 0, keys = 0;
};

void AddStretch(const Pixel* from, const Pixel* to, Pixel keyPixel, StretchSum& sum) {
    // Red and blue are summed together, each in its 16-bit half: 257 pixels of 255 still fit.
    constexpr std::ptrdiff_t kChunk = 257;
    while (from < to) {
        const Pixel* end = from + std::min(kChunk, to - from);
        std::uint32_t redBlue = 0;
        std::uint32_t green = 0;
        std::uint32_t keys = 0;
        for (const Pixel* p = from; p < end; ++p) {
            const Pixel v = *p;
            redBlue += v & 0x00FF00FFu;
            green += v >> 8 & 0xFFu;
            keys += (v & 0x00FFFFFFu) == keyPixel ? 1u : 0u;
        }
        sum.b += redBlue & 0xFFFFu;
        sum.r += redBlue >> 16;
        sum.g += green;
        sum.keys += keys;
        from = end;
    }
}

// Picture rows top..bottom-1 recomputed over picture columns cLeft..cRight-1.
void AverageRows(const Bitmap& image, Colour key, Bitmap& picture, int top, int bottom, int cLeft,
                 int cRight) {
    const int w = image.Width();
    const int h = image.Height();
    const int pw = picture.Width();
    const int ph = picture.Height();
    const Pixel keyPixel = PixelFromColour(key) & 0x00FFFFFFu;
    const std::uint64_t keyR = keyPixel >> 16 & 0xFF;
    const std::uint64_t keyG = keyPixel >> 8 & 0xFF;
    const std::uint64_t keyB = keyPixel & 0xFF;
    std::vector<int> starts;  // image column where each picture column begins, and the end
    for (int c = cLeft; c <= cRight; ++c) {
        starts.push_back(SourceStart(c, w, pw));
    }
    std::vector<StretchSum> sums(static_cast<std::size_t>(cRight - cLeft));
    for (int t = top; t < bottom; ++t) {
        std::fill(sums.begin(), sums.end(), StretchSum{});
        const int yFrom = SourceStart(t, h, ph);
        const int yTo = SourceStart(t + 1, h, ph);
        for (int y = yFrom; y < yTo; ++y) {
            const Pixel* row = image.Row(y);
            for (std::size_t i = 0; i < sums.size(); ++i) {
                AddStretch(row + starts[i], row + starts[i + 1], keyPixel, sums[i]);
            }
        }
        Pixel* out = picture.Row(t);
        for (std::size_t i = 0; i < sums.size(); ++i) {
            const StretchSum& s = sums[i];
            const auto all = static_cast<std::uint64_t>(yTo - yFrom) *
                             static_cast<std::uint64_t>(starts[i + 1] - starts[i]);
            const std::uint64_t kept = all - s.keys;
            Pixel& target = out[static_cast<std::size_t>(cLeft) + i];
            if (kept == 0) {
                target = 0;
                continue;
            }
            const std::uint64_t half = kept / 2;
            const auto r = static_cast<Pixel>((s.r - s.keys * keyR + half) / kept);
            const auto g = static_cast<Pixel>((s.g - s.keys * keyG + half) / kept);
            const auto b = static_cast<Pixel>((s.b - s.keys * keyB + half) / kept);
            const auto alpha = static_cast<Pixel>((kept * 255 + all / 2) / all);
            target = alpha << 24 | r << 16 | g << 8 | b;
        }
    }
}

void AverageBlock(const Bitmap& image, Colour key, Bitmap& picture, int top, int bottom, int left,
                  int right) {
    constexpr int kRowsPerPiece = 8;
    const int pieces = (bottom - top + kRowsPerPiece - 1) / kRowsPerPiece;
    ParallelFor(static_cast<std::size_t>(pieces), [&](std::size_t i, unsigned) {
        const int from = top + static_cast<int>(i) * kRowsPerPiece;
        AverageRows(image, key, picture, from, std::min(bottom, from + kRowsPerPiece), left, right);
    });
}

}  // namespace

NavigatorThumbnail LayOutThumbnail(Size client, Size image) {
    const int a = client.width;
    const int b = client.height;
    const int w = image.width;
    const int h = image.height;
    if (!HasImage(image)) {
        return {};
    }
    if (w < a && h < b) {
        const int left = (a - w) / 2;
        const int top = (b - h) / 2;
        return {{left, top, left + w, top + h}, 1.0f};
    }
    const float g = static_cast<float>(a) / static_cast<float>(w);
    const float f = static_cast<float>(b) / static_cast<float>(h);
    if (f > g) {
        const int height = Trunc(static_cast<float>(h) * g);
        const int top = (b - height) / 2;
        return {{0, top, a, top + height}, g};
    }
    const int width = Trunc(static_cast<float>(w) * f);
    const int left = (a - width) / 2;
    return {{left, 0, left + width, b}, f};
}

Rect NavigatorViewFrame(const NavigatorThumbnail& thumb, Size image, float zoom, Point scroll,
                        Size canvasClient, bool canvasScrolls) {
    if (!canvasScrolls) {
        return thumb.rect;
    }
    const int width = std::min(canvasClient.width, Trunc(static_cast<float>(image.width) * zoom));
    const int height =
        std::min(canvasClient.height, Trunc(static_cast<float>(image.height) * zoom));
    const CanvasMapping mapping{zoom, scroll};
    const Point p0 = mapping.WindowToImage({0, 0});
    const Point p1 = mapping.WindowToImage({width, height});
    const float s = thumb.scale;
    return Rect{Trunc(static_cast<float>(p0.x) * s), Trunc(static_cast<float>(p0.y) * s),
                Trunc(static_cast<float>(p1.x) * s), Trunc(static_cast<float>(p1.y) * s)}
        .Translated(thumb.rect.left, thumb.rect.top);
}

Colour FrameOutlineColour(Colour corner) {
    return (Colour{16581375} - corner) & 0x00FFFFFFu;
}

int FrameDragScroll(int pointer, int thumbOrigin, int pressDistance, float zoom, float scale) {
    const int position =
        Trunc(static_cast<float>(pointer - thumbOrigin - pressDistance) * zoom / scale);
    return std::max(position, 0);
}

Point NavigatorZoomCentre(Point p, const NavigatorThumbnail& thumb) {
    const float s = thumb.scale;
    const int qx = Trunc(static_cast<float>(p.x - thumb.rect.left) / s);
    const int qy = Trunc(static_cast<float>(p.y - thumb.rect.top) / s);
    return {Trunc(static_cast<float>(qx) * 8.0f), Trunc(static_cast<float>(qy) * 8.0f)};
}

Point FrameCentre(const Rect& frame) {
    return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

bool SnapsToFrameCentre(const Rect& frame, Point pointer) {
    return CMathSub::Distance(FrameCentre(frame), pointer) < kSnapDistance;
}

std::optional<Size> AspectFitKeepingWidth(Size window, Size image) {
    if (!HasImage(image)) {
        return std::nullopt;
    }
    const float ratio = static_cast<float>(image.height) / static_cast<float>(image.width);
    return Size{ClampSide(window.width),
                ClampSide(Trunc(ratio * static_cast<float>(window.width)))};
}

std::optional<Size> AspectFitKeepingHeight(Size window, Size image) {
    if (!HasImage(image)) {
        return std::nullopt;
    }
    const float ratio = static_cast<float>(image.width) / static_cast<float>(image.height);
    return Size{ClampSide(Trunc(ratio * static_cast<float>(window.height))),
                ClampSide(window.height)};
}

Point KeepOnScreen(Point topLeft, Size size, const Rect& screen) {
    const int maxX = std::max(screen.left, screen.right - size.width);
    const int maxY = std::max(screen.top, screen.bottom - size.height);
    return {std::clamp(topLeft.x, screen.left, maxX), std::clamp(topLeft.y, screen.top, maxY)};
}

Rect PlaceNavigator(const NavigatorPlacement& stored, Size designed, const Rect& screen,
                    const Rect& owner) {
    if (stored.left == 0 && stored.top == 0) {
        const Point c = FrameCentre(owner);
        const Point at{c.x - designed.width / 2, c.y - designed.height / 2};
        return {at.x, at.y, at.x + designed.width, at.y + designed.height};
    }
    Size size = designed;
    if (stored.width != 0) {
        // A garbled size would make the window unusable: keep it to the window's limits.
        size = {ClampSide(stored.width), ClampSide(stored.height)};
    }
    const Point at =
        KeepOnScreen({std::max(stored.left, 0), std::max(stored.top, 0)}, size, screen);
    return {at.x, at.y, at.x + size.width, at.y + size.height};
}

bool MakeNavigatorPicture(const Bitmap& image, Colour key, Size size, Bitmap& picture) {
    if (image.IsNull() || size.width <= 0 || size.height <= 0 || size.width > image.Width() ||
        size.height > image.Height()) {
        return false;
    }
    if (picture.Width() != size.width || picture.Height() != size.height) {
        if (!picture.Create(size.width, size.height)) {
            return false;
        }
    }
    AverageBlock(image, key, picture, 0, size.height, 0, size.width);
    return true;
}

void UpdateNavigatorPicture(const Bitmap& image, Colour key, const Rect& imageRect,
                            Bitmap& picture) {
    const Rect r = imageRect.Intersected(image.Bounds());
    if (r.IsEmpty() || picture.IsNull()) {
        return;
    }
    const int w = image.Width();
    const int h = image.Height();
    const int pw = picture.Width();
    const int ph = picture.Height();
    // Picture column c covers image columns [c w / pw, (c + 1) w / pw); the floor of x pw / w
    // is that column or the one before.
    const auto first = [](int x, int n, int m) {
        return static_cast<int>(std::int64_t{x} * m / n);
    };
    const int left = first(r.left, w, pw);
    // The floor can fall one column short of the one holding the last pixel.
    const int right = std::min(pw, first(r.right - 1, w, pw) + 2);
    const int top = first(r.top, h, ph);
    const int bottom = std::min(ph, first(r.bottom - 1, h, ph) + 2);
    AverageBlock(image, key, picture, top, bottom, left, right);
}

void ComposeNavigator(Bitmap& screen, const NavigatorThumbnail& thumb, const Bitmap& picture,
                      std::int32_t backgroundMode, const BackgroundTiles& tiles) {
    const Pixel neutral = PixelFromColour(kNavigatorNeutral);
    for (Pixel& p : screen.Pixels()) {
        p = neutral;
    }
    const Rect area = thumb.rect.Intersected(screen.Bounds());
    if (area.IsEmpty() || picture.IsNull()) {
        return;
    }
    FillBackground(screen, area, backgroundMode, tiles);
    for (int y = area.top; y < area.bottom; ++y) {
        const int py = y - thumb.rect.top;
        if (py >= picture.Height()) {
            break;
        }
        const Pixel* from = picture.Row(py);
        Pixel* to = screen.Row(y);
        for (int x = area.left; x < area.right; ++x) {
            const int px = x - thumb.rect.left;
            if (px >= picture.Width()) {
                break;
            }
            const Pixel p = from[px];
            const Pixel a = p >> 24;
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                to[x] = kOpaqueAlpha | (p & 0x00FFFFFFu);
                continue;
            }
            const Pixel b = to[x];
            Pixel out = kOpaqueAlpha;
            for (int shift = 0; shift < 24; shift += 8) {
                const Pixel fg = p >> shift & 0xFF;
                const Pixel bg = b >> shift & 0xFF;
                out |= ((fg * a + bg * (255 - a) + 127) / 255) << shift;
            }
            to[x] = out;
        }
    }
}

}  // namespace palvex
