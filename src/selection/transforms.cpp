#include "selection/transforms.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/parallel.h"
#include "image/raster/rotate.h"
#include "resources/string_table.h"
#include "selection/transform_buffer.h"

namespace palvex {

namespace {

bool Streamed(const Bitmap& out) {
    return out.ByteCount() >= detail::kStreamBytes;
}

// Every pixel of src, mapped one by one into a result of the same size.
template <class Map>
TransformResult MapPixels(const Bitmap& src, Bitmap& out, Map map) {
    if (src.IsNull()) {
        return {};
    }
    if (!detail::PrepareTarget(src, src.Width(), src.Height(), out)) {
        return {false, str::kMemoryAllocationFailed};
    }
    const Pixel* from = src.Data();
    Pixel* to = out.Data();
    const std::size_t count = src.PixelCount();
    for (std::size_t i = 0; i < count; ++i) {
        to[i] = map(from[i]);
    }
    return {true, 0};
}

}  // namespace

TransformResult Flip(const Bitmap& src, bool mirrorX, bool mirrorY, Bitmap& out) {
    if (src.IsNull()) {
        return {};
    }
    const int w = src.Width();
    const int h = src.Height();
    if (!detail::PrepareTarget(src, w, h, out)) {
        return {false, str::kFlipFailed};
    }
    const bool stream = Streamed(out);
    const auto count = static_cast<std::size_t>(w);
    // One core alone does not reach the memory's bandwidth: both halves at once.
    auto rows = [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            const Pixel* from = src.Row(mirrorY ? h - 1 - y : y);
            if (mirrorX) {
                detail::WriteRowReversed(out.Row(y), from, count, stream);
            } else {
                detail::WriteRow(out.Row(y), from, count, 0, stream);
            }
        }
        detail::StreamFence();
    };
    detail::SplitRows(h, out.PixelCount(), rows);
    return {true, 0};
}

TransformResult RotateQuarter(const Bitmap& src, QuarterTurn direction, Bitmap& out) {
    if (src.IsNull()) {
        return {};
    }
    if (&out == &src) {
        return {false, str::kRotateFailed};
    }
    const bool ok = direction == QuarterTurn::Clockwise ? RotateClockwise(src, out)
                                                        : RotateCounterClockwise(src, out);
    return {ok, ok ? 0 : str::kRotateFailed};
}

TransformResult Resize(const Bitmap& src, int width, int height, Bitmap& out) {
    if (src.IsNull()) {
        return {};
    }
    if (width < 1 || height < 1 ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels ||
        !detail::PrepareTarget(src, width, height, out)) {
        return {false, str::kMemoryAllocationFailed};
    }
    // Column i takes floor(i * w / width): the mapping of the editor's other scaled copies.
    const std::uint64_t w = static_cast<std::uint64_t>(src.Width());
    const std::uint64_t h = static_cast<std::uint64_t>(src.Height());
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i] = static_cast<int>(i * w / static_cast<std::uint64_t>(width));
    }
    const bool stream = Streamed(out);
    auto rows = [&](int first, int last) {
        std::uint64_t sampled = h;  // none yet
        for (int y = first; y < last; ++y) {
            const std::uint64_t sy =
                static_cast<std::uint64_t>(y) * h / static_cast<std::uint64_t>(height);
            if (sy == sampled) {
                // Enlarging repeats source rows: the row above already holds this one.
                detail::WriteRow(out.Row(y), out.Row(y - 1), columns.size(), 0, stream);
            } else {
                detail::GatherRow(out.Row(y), src.Row(static_cast<int>(sy)), columns.data(),
                                  columns.size(), kOpaqueAlpha, stream);
                sampled = sy;
            }
        }
        detail::StreamFence();
    };
    detail::SplitRows(height, out.PixelCount(), rows);
    return {true, 0};
}

TransformResult Invert(const Bitmap& src, Bitmap& out) {
    return MapPixels(src, out, [](Pixel p) { return p ^ kRgbMask; });
}

TransformResult Greyscale(const Bitmap& src, Bitmap& out, const ColumnProgress& progress) {
    // Shifts rather than a multiplication by 0x010101, so that the loop vectorises with SSE2.
    const auto grey = [](Pixel p) {
        const Pixel g = p >> 8 & 0xFFu;
        return kOpaqueAlpha | g << 16 | g << 8 | g;
    };
    if (src.IsNull()) {
        return {};
    }
    if (&out != &src && !detail::PrepareTarget(src, src.Width(), src.Height(), out)) {
        return {false, str::kMemoryAllocationFailed};
    }
    // Bands of rows on every core. The bar shows columns (every 20th), but a column-by-column
    // pass costs about five times the row pass on a large image, so each column position is
    // reported, from the caller's thread, once the same share of the rows is done: the same
    // positions, in the same order.
    constexpr int kReportEvery = 20;
    constexpr int kBandRows = 64;
    const int width = src.Width();
    const int height = src.Height();
    if (progress) {
        progress(0, width);
    }
    int nextReport = 0;
    const auto report = [&](int rowsDone) {
        const int columnsDone = static_cast<int>(std::int64_t{rowsDone} * width / height);
        for (; progress && nextReport < columnsDone; nextReport += kReportEvery) {
            progress(nextReport, width);
        }
    };
    const auto bands = static_cast<std::size_t>((height + kBandRows - 1) / kBandRows);
    ParallelFor(bands, [&](std::size_t band, unsigned worker) {
        const int first = static_cast<int>(band) * kBandRows;
        const int last = std::min(height, first + kBandRows);
        for (int y = first; y < last; ++y) {
            const Pixel* from = src.Row(y);
            Pixel* to = out.Row(y);
            for (int x = 0; x < width; ++x) {
                to[x] = grey(from[x]);
            }
        }
        if (worker == 0) {
            report(last);
        }
    });
    report(height);
    if (progress) {
        progress(0, width);
    }
    return {true, 0};
}

TransformResult Crop(const Bitmap& src, const Rect& area, Bitmap& out) {
    if (src.IsNull() || area.left < 0 || area.top < 0 || area.right > src.Width() ||
        area.bottom > src.Height() || area.left >= area.right || area.top >= area.bottom) {
        return {};
    }
    if (!detail::PrepareTarget(src, area.Width(), area.Height(), out)) {
        return {false, str::kMemoryAllocationFailed};
    }
    for (int y = area.top; y < area.bottom; ++y) {
        std::memcpy(out.Row(y - area.top), src.Row(y) + area.left, out.Stride());
    }
    return {true, 0};
}

namespace {

int ClampSide(std::int64_t side) {
    return static_cast<int>(std::clamp<std::int64_t>(side, 1, INT_MAX));
}

}  // namespace

Size HalfSize(Size size) {
    return {ClampSide(std::int64_t{size.width} / 2), ClampSide(std::int64_t{size.height} / 2)};
}

Size ThreeQuarterSize(Size size) {
    return {ClampSide(std::int64_t{size.width} * 3 / 4),
            ClampSide(std::int64_t{size.height} * 3 / 4)};
}

int PercentOf(int percent, int side) {
    return ClampSide(std::int64_t{percent} * side / 100);
}

}  // namespace palvex
