// Every raster operation with hostile coordinates and sizes, on small bitmaps (sometimes the
// same one as source and destination). Checks that nothing reads or writes outside them, that
// fills report rectangles inside the image, and that clipped lines stay 8-connected.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image/bitmap.h"
#include "image/raster/draw.h"
#include "image/raster/ellipse.h"
#include "image/raster/flood_fill.h"
#include "image/raster/line.h"
#include "image/raster/pattern.h"
#include "image/raster/rotate.h"
#include "image/raster/stretch_copy.h"

using namespace palvex;

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;

    std::uint8_t U8() {
        if (size == 0) {
            return 0;
        }
        --size;
        return *data++;
    }
    // Coordinates near the bitmaps most of the time, anywhere or at the int limits otherwise.
    std::int32_t I32() {
        const std::uint8_t mode = U8();
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            bits = bits << 8 | U8();
        }
        const auto value = static_cast<std::int32_t>(bits);
        switch (mode % 4) {
            case 0:
                return value;
            case 1:
                return static_cast<std::int32_t>(bits % 80) - 20;
            case 2:
                return mode & 4 ? INT32_MAX - static_cast<std::int32_t>(bits & 3)
                                : INT32_MIN + static_cast<std::int32_t>(bits & 3);
            default:
                return static_cast<std::int32_t>(bits % 20);
        }
    }
    Rect R() { return {I32(), I32(), I32(), I32()}; }
    Point P() { return {I32(), I32()}; }
    Colour C() {
        const std::uint8_t m = U8();
        return m == 255 ? kNoColour : Rgb(m & 3, 0, 0);
    }
};

class Stripes final : public BackgroundRows {
public:
    const Pixel* Row(int y, int /*x*/, std::size_t count) override {
        row_.assign(count, PixelFromColour(Rgb(0, y & 0xFF, 0)));
        return row_.data();
    }

private:
    std::vector<Pixel> row_;
};

void CheckInside(const Rect& changed, const Bitmap& image) {
    if (!changed.IsEmpty() && changed.Intersected(image.Bounds()) != changed) {
        std::abort();
    }
}

void WalkLine(Reader& in) {
    // Any position, but a bounded size: the walk may visit every pixel of the clip.
    const int left = in.I32();
    const int top = in.I32();
    const Rect clip{
        left, top,
        static_cast<int>(std::min<std::int64_t>(std::int64_t{left} + in.U8() % 64, INT32_MAX)),
        static_cast<int>(std::min<std::int64_t>(std::int64_t{top} + in.U8() % 64, INT32_MAX))};
    Point previous{};
    bool first = true;
    const Point from = in.P();
    const Point to = in.P();
    LinePixels(from, to, true, clip, [&](Point p) {
        if (!clip.Contains(p.x, p.y)) {
            std::abort();
        }
        if (!first && (std::llabs(std::int64_t{p.x} - previous.x) > 1 ||
                       std::llabs(std::int64_t{p.y} - previous.y) > 1)) {
            std::abort();
        }
        previous = p;
        first = false;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    Bitmap a;
    Bitmap b;
    if (!a.Create(1 + in.U8() % 48, 1 + in.U8() % 48) ||
        !b.Create(1 + in.U8() % 48, 1 + in.U8() % 48)) {
        return 0;
    }
    for (Pixel& p : a.Pixels()) {
        p = PixelFromColour(Rgb(in.U8() & 3, 0, 0));
    }
    for (std::size_t i = 0; i < b.PixelCount(); ++i) {
        b.Data()[i] = PixelFromColour(Rgb(static_cast<int>(i & 3), 0, 0));
    }
    Stripes stripes;
    for (int op = 0; op < 16 && in.size > 0; ++op) {
        Bitmap& dst = in.U8() & 1 ? a : b;
        const Bitmap& src = in.U8() & 1 ? a : b;
        switch (in.U8() % 15) {
            case 0:
                KeyedStretchCopy(dst, in.R(), src, in.R(), in.C());
                break;
            case 1:
                StretchCopy(dst, in.R(), src, in.R());
                break;
            case 2:
                BlockCopy(dst, in.P(), src, in.R());
                break;
            case 3:
                if (!RotateClockwise(src, dst)) {
                    std::abort();
                }
                break;
            case 4:
                if (!RotateCounterClockwise(src, dst)) {
                    std::abort();
                }
                break;
            case 5:
                CheckInside(FloodFillSurface(dst, in.P(), in.C()), dst);
                break;
            case 6:
                CheckInside(FloodFillBorder(dst, in.P(), in.C(), in.C()), dst);
                break;
            case 7:
                InvertRect(dst, in.R());
                break;
            case 8:
                FillRect(dst, in.R(), in.C());
                break;
            case 9:
                DrawLine(dst, in.P(), in.P(), in.C(), in.U8() & 1);
                break;
            case 10: {
                std::vector<Point> points(in.U8() % 6);
                for (Point& p : points) {
                    p = in.P();
                }
                DrawPolyline(dst, points, in.C(), in.U8() & 1);
                break;
            }
            case 11:
                FillEllipse(dst, in.R(), in.C());
                break;
            case 12:
                DrawEllipseOutline(dst, in.R(), in.C());
                break;
            case 13:
                KeyedStretchCopyOver(dst, in.R(), src, in.R(), in.C(), stripes);
                break;
            default:
                PatternFill(dst, in.R(), src, in.P());
                WalkLine(in);
                break;
        }
    }
    return 0;
}
