#include "image/raster/image_operation.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "image/parallel.h"
#include "image/raster/rotate.h"

namespace palvex {
namespace {

// Bands of rows small enough to share out evenly between the cores; below a few of them the
// threads cost more than they save.
constexpr int kBandRows = 64;
constexpr std::size_t kParallelPixels = std::size_t{1} << 20;

// Runs body(first, last) over bands of [0, rows).
template <class Body>
void ForBands(const Bitmap& image, int rows, const Body& body) {
    if (image.PixelCount() < kParallelPixels) {
        body(0, rows);
        return;
    }
    const auto bands = static_cast<std::size_t>((rows + kBandRows - 1) / kBandRows);
    ParallelFor(bands, [&body, rows](std::size_t band, unsigned) {
        const int first = static_cast<int>(band) * kBandRows;
        body(first, std::min(rows, first + kBandRows));
    });
}

void InvertInPlace(Bitmap& image) {
    const auto width = static_cast<std::size_t>(image.Width());
    ForBands(image, image.Height(), [&image, width](int first, int last) {
        Pixel* p = image.Row(first);
        Pixel* end = p + static_cast<std::size_t>(last - first) * width;
        for (; p != end; ++p) {
            *p ^= kRgbMask;
        }
    });
}

void MirrorXInPlace(Bitmap& image) {
    const auto width = static_cast<std::size_t>(image.Width());
    ForBands(image, image.Height(), [&image, width](int first, int last) {
        for (int y = first; y < last; ++y) {
            std::reverse(image.Row(y), image.Row(y) + width);
        }
    });
}

// Row y trades places with row h - 1 - y; with `reverse` each pixel of the pair also goes to
// the mirrored column, which makes the turn by 180 degrees.
void SwapRowsInPlace(Bitmap& image, bool reverse) {
    const int h = image.Height();
    const auto width = static_cast<std::size_t>(image.Width());
    ForBands(image, h / 2, [&image, h, width, reverse](int first, int last) {
        for (int y = first; y < last; ++y) {
            Pixel* top = image.Row(y);
            Pixel* bottom = image.Row(h - 1 - y);
            if (reverse) {
                for (std::size_t x = 0; x < width; ++x) {
                    std::swap(top[x], bottom[width - 1 - x]);
                }
            } else {
                std::swap_ranges(top, top + width, bottom);
            }
        }
    });
    if (reverse && h % 2 == 1) {
        std::reverse(image.Row(h / 2), image.Row(h / 2) + width);  // the middle row
    }
}

bool Turn(Bitmap& image, bool clockwise, Bitmap* spare) {
    Bitmap local;
    Bitmap& out = spare != nullptr ? *spare : local;
    if (&out == &image) {
        return false;
    }
    const bool ok = clockwise ? RotateClockwise(image, out) : RotateCounterClockwise(image, out);
    if (!ok) {
        return false;
    }
    std::swap(image, out);
    return true;
}

}  // namespace

ImageOperation Inverse(ImageOperation op) {
    switch (op) {
        case ImageOperation::TurnClockwise:
            return ImageOperation::TurnCounterClockwise;
        case ImageOperation::TurnCounterClockwise:
            return ImageOperation::TurnClockwise;
        default:
            return op;  // the others undo themselves
    }
}

bool ApplyOperation(Bitmap& image, ImageOperation op, Bitmap* spare) {
    if (image.IsNull()) {
        return false;
    }
    switch (op) {
        case ImageOperation::Invert:
            InvertInPlace(image);
            return true;
        case ImageOperation::MirrorX:
            MirrorXInPlace(image);
            return true;
        case ImageOperation::MirrorY:
            SwapRowsInPlace(image, false);
            return true;
        case ImageOperation::Turn180:
            SwapRowsInPlace(image, true);
            return true;
        case ImageOperation::TurnClockwise:
            return Turn(image, true, spare);
        case ImageOperation::TurnCounterClockwise:
            return Turn(image, false, spare);
    }
    return false;
}

}  // namespace palvex
