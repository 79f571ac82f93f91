#include "image/raster/line.h"

#include <algorithm>

namespace palvex {
namespace {

// Products of two line lengths and an offset reach 2^66; GCC and clang both provide 128 bits.
__extension__ using Wide = unsigned __int128;

}  // namespace

LineWalk::LineWalk(Point from, Point to, bool includeEnd, const Rect& clip) {
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    xMajor_ = adx >= ady;
    const std::int64_t b = xMajor_ ? adx : ady;  // major length
    const std::int64_t a = xMajor_ ? ady : adx;  // minor length
    majorStep_ = (xMajor_ ? dx : dy) < 0 ? -1 : 1;
    minorStep_ = (xMajor_ ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorStart = xMajor_ ? from.x : from.y;
    const std::int64_t minorStart = xMajor_ ? from.y : from.x;
    const std::int64_t lastStep = includeEnd ? b : b - 1;
    if (lastStep < 0 || clip.IsEmpty()) {
        return;
    }

    // Steps whose major coordinate is inside the clip.
    const std::int64_t majorLo = xMajor_ ? clip.left : clip.top;
    const std::int64_t majorHi = std::int64_t{xMajor_ ? clip.right : clip.bottom} - 1;
    std::int64_t iMin = 0;
    std::int64_t iMax = lastStep;
    if (majorStep_ > 0) {
        iMin = std::max(iMin, majorLo - majorStart);
        iMax = std::min(iMax, majorHi - majorStart);
    } else {
        iMin = std::max(iMin, majorStart - majorHi);
        iMax = std::min(iMax, majorStart - majorLo);
    }

    // Minor offsets inside the clip, then the steps that produce them: the offset at step i is
    // floor((2ia + b) / 2b), non-decreasing in i.
    const std::int64_t minorLo = xMajor_ ? clip.top : clip.left;
    const std::int64_t minorHi = std::int64_t{xMajor_ ? clip.bottom : clip.right} - 1;
    const std::int64_t kLo = minorStep_ > 0 ? minorLo - minorStart : minorStart - minorHi;
    const std::int64_t kHi = minorStep_ > 0 ? minorHi - minorStart : minorStart - minorLo;
    if (kHi < 0 || kLo > a) {
        return;
    }
    const Wide wa = static_cast<Wide>(a);
    const Wide wb = static_cast<Wide>(b);
    if (kLo > 0) {
        const Wide num = 2 * wb * static_cast<Wide>(kLo) - wb;
        iMin = std::max(iMin, static_cast<std::int64_t>((num + 2 * wa - 1) / (2 * wa)));
    }
    if (kHi < a) {
        const Wide num = 2 * wb * static_cast<Wide>(kHi + 1) - wb - 1;
        iMax = std::min(iMax, static_cast<std::int64_t>(num / (2 * wa)));
    }
    if (iMin > iMax) {
        return;
    }

    const Wide limit = b == 0 ? 1 : 2 * wb;
    const Wide position = 2 * static_cast<Wide>(iMin) * wa + wb;
    remaining_ = iMax - iMin + 1;
    major_ = majorStart + majorStep_ * iMin;
    minor_ = minorStart + minorStep_ * static_cast<std::int64_t>(position / limit);
    error_ = static_cast<std::int64_t>(position % limit);
    errorStep_ = 2 * a;
    errorLimit_ = static_cast<std::int64_t>(limit);
}

void DrawLine(Bitmap& image, Point from, Point to, Colour colour, bool includeEnd) {
    if (image.IsNull()) {
        return;
    }
    const Pixel value = PixelFromColour(colour);
    LinePixels(from, to, includeEnd, image.Bounds(), [&](Point p) { image.Row(p.y)[p.x] = value; });
}

void DrawPolyline(Bitmap& image, std::span<const Point> points, Colour colour, bool closed) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        DrawLine(image, points[i - 1], points[i], colour, false);
    }
    if (closed && points.size() > 1) {
        DrawLine(image, points.back(), points.front(), colour, false);
    }
}

}  // namespace palvex
