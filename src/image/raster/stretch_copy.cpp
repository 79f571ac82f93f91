#include "image/raster/stretch_copy.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/raster/pixel_rows.h"

namespace palvex {
namespace {

// One axis of a scaled copy over the visible destination: coordinate first + k samples source
// coordinate src[k]. Only destinations whose source lies inside the source bitmap are kept; the
// mapping is monotonic, so they form a single run.
struct AxisMap {
    int first = 0;
    std::vector<int> src;
};

AxisMap MapAxis(std::int64_t dstFrom, std::int64_t dstTo, int dstLimit, std::int64_t srcFrom,
                std::int64_t srcTo, int srcLimit) {
    AxisMap map;
    const bool mirror = dstTo < dstFrom;
    const std::int64_t lo = std::min(dstFrom, dstTo);
    const std::int64_t size = mirror ? dstFrom - dstTo : dstTo - dstFrom;
    const std::int64_t srcSize = srcTo - srcFrom;
    if (size <= 0 || srcSize <= 0) {
        return map;
    }
    const std::int64_t begin = std::max<std::int64_t>(lo, 0);
    const std::int64_t end = std::min<std::int64_t>(lo + size, dstLimit);
    for (std::int64_t x = begin; x < end; ++x) {
        // Both factors are below 2^32, so the product cannot overflow.
        const std::uint64_t i = static_cast<std::uint64_t>(x - lo);
        const auto offset = static_cast<std::int64_t>(i * static_cast<std::uint64_t>(srcSize) /
                                                      static_cast<std::uint64_t>(size));
        const std::int64_t s = mirror ? srcTo - 1 - offset : srcFrom + offset;
        if (s < 0 || s >= srcLimit) {
            if (map.src.empty()) {
                continue;
            }
            break;
        }
        if (map.src.empty()) {
            map.first = static_cast<int>(x);
            map.src.reserve(static_cast<std::size_t>(end - x));
        }
        map.src.push_back(static_cast<int>(s));
    }
    return map;
}

// Copies the sampled part of an image that is also the destination, so writes cannot feed
// later reads, and rebases the maps onto the copy.
bool DetachSource(const Bitmap& src, AxisMap& cols, AxisMap& rows, Bitmap& copy) {
    // Values, not the references std::minmax returns: the maps are rewritten below.
    const int c0 = std::min(cols.src.front(), cols.src.back());
    const int c1 = std::max(cols.src.front(), cols.src.back());
    const int r0 = std::min(rows.src.front(), rows.src.back());
    const int r1 = std::max(rows.src.front(), rows.src.back());
    if (!copy.Create(c1 - c0 + 1, r1 - r0 + 1)) {
        return false;
    }
    for (int y = r0; y <= r1; ++y) {
        std::memcpy(copy.Row(y - r0), src.Row(y) + c0, copy.Stride());
    }
    for (int& c : cols.src) {
        c -= c0;
    }
    for (int& r : rows.src) {
        r -= r0;
    }
    return true;
}

void Stretch(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect, bool keyed,
             Pixel keyRgb, BackgroundRows* background = nullptr) {
    if (dst.IsNull() || src.IsNull()) {
        return;
    }
    AxisMap cols =
        MapAxis(dstRect.left, dstRect.right, dst.Width(), srcRect.left, srcRect.right, src.Width());
    AxisMap rows = MapAxis(dstRect.top, dstRect.bottom, dst.Height(), srcRect.top, srcRect.bottom,
                           src.Height());
    if (cols.src.empty() || rows.src.empty()) {
        return;
    }
    const Bitmap* from = &src;
    Bitmap copy;
    if (&src == &dst) {
        if (!DetachSource(src, cols, rows, copy)) {
            return;
        }
        from = &copy;
    }

    const std::size_t count = cols.src.size();
    // Consecutive source columns (zoom 1, not mirrored): read the source row in place.
    const bool direct = cols.src.back() >= cols.src.front() &&
                        static_cast<std::size_t>(cols.src.back() - cols.src.front()) + 1 == count;
    std::vector<Pixel> sampled(direct ? 0 : count);
    // The source columns a row reads, unless zooming out so far that whole cache lines (16
    // pixels) are skipped.
    const int prefetchFrom = std::min(cols.src.front(), cols.src.back());
    const auto columnSpan =
        static_cast<std::size_t>(std::abs(cols.src.back() - cols.src.front())) + 1;
    const std::size_t prefetchCount = columnSpan <= 16 * count ? columnSpan : 0;
    int sampledRow = -1;
    for (std::size_t k = 0; k < rows.src.size(); ++k) {
        const Pixel* srcRow = from->Row(rows.src[k]);
        const Pixel* line = srcRow + cols.src.front();
        if (!direct) {
            // Zooming in repeats source rows: sample each one once.
            if (rows.src[k] != sampledRow) {
                for (std::size_t j = 0; j < count; ++j) {
                    sampled[j] = srcRow[cols.src[j]];
                }
                sampledRow = rows.src[k];
            }
            line = sampled.data();
        }
        // Rows far apart in a large image defeat the hardware prefetcher; ask for the next one.
        if (k + 1 < rows.src.size() && rows.src[k + 1] != rows.src[k] && prefetchCount > 0) {
            detail::PrefetchPixels(from->Row(rows.src[k + 1]) + prefetchFrom, prefetchCount);
        }
        const int y = rows.first + static_cast<int>(k);
        Pixel* out = dst.Row(y) + cols.first;
        if (background != nullptr) {
            detail::CopyRowKeyedOver(out, line, background->Row(y, cols.first, count), count,
                                     keyRgb);
        } else if (keyed) {
            detail::CopyRowKeyed(out, line, count, keyRgb);
        } else {
            detail::CopyRowOpaque(out, line, count);
        }
    }
}

}  // namespace

void KeyedStretchCopy(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect,
                      Colour key) {
    Stretch(dst, dstRect, src, srcRect, key != kNoColour, PixelFromColour(key) & kRgbMask);
}

void KeyedStretchCopyOver(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect,
                          Colour key, BackgroundRows& background) {
    // No key: nothing shows through, and the background is never asked for.
    const Pixel keyRgb = key == kNoColour ? 0xFFFFFFFFu : PixelFromColour(key) & kRgbMask;
    Stretch(dst, dstRect, src, srcRect, true, keyRgb, &background);
}

void StretchCopy(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect) {
    Stretch(dst, dstRect, src, srcRect, false, 0);
}

void BlockCopy(Bitmap& dst, Point at, const Bitmap& src, const Rect& srcRect) {
    if (dst.IsNull() || src.IsNull()) {
        return;
    }
    // Clip the source to its bitmap, carrying the destination along, then clip to dst.
    std::int64_t sl = std::max(srcRect.left, 0);
    std::int64_t st = std::max(srcRect.top, 0);
    std::int64_t sr = std::min(srcRect.right, src.Width());
    std::int64_t sb = std::min(srcRect.bottom, src.Height());
    std::int64_t dl = std::int64_t{at.x} + (sl - srcRect.left);
    std::int64_t dt = std::int64_t{at.y} + (st - srcRect.top);
    if (dl < 0) {
        sl -= dl;
        dl = 0;
    }
    if (dt < 0) {
        st -= dt;
        dt = 0;
    }
    sr = std::min(sr, sl + (dst.Width() - dl));
    sb = std::min(sb, st + (dst.Height() - dt));
    if (sl >= sr || st >= sb) {
        return;
    }
    const auto width = static_cast<std::size_t>(sr - sl);
    const auto rowCount = static_cast<int>(sb - st);
    const auto x0 = static_cast<int>(sl);
    const auto y0 = static_cast<int>(st);
    const auto dx = static_cast<int>(dl);
    const auto dy = static_cast<int>(dt);
    if (&dst != &src) {
        for (int r = 0; r < rowCount; ++r) {
            detail::CopyRowOpaque(dst.Row(dy + r) + dx, src.Row(y0 + r) + x0, width);
        }
        return;
    }
    // Same bitmap: walk rows away from the overlap so each is read before it is overwritten.
    const bool upward = dy > y0;
    for (int k = 0; k < rowCount; ++k) {
        const int r = upward ? rowCount - 1 - k : k;
        Pixel* out = dst.Row(dy + r) + dx;
        std::memmove(out, dst.Row(y0 + r) + x0, width * sizeof(Pixel));
        for (std::size_t i = 0; i < width; ++i) {
            out[i] |= kOpaqueAlpha;
        }
    }
}

}  // namespace palvex
