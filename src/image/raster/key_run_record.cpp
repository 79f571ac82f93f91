#include "image/raster/key_run_record.h"

#include <algorithm>
#include <new>

namespace palvex {
namespace {

constexpr int kBlock = 16;

inline bool IsKey(Pixel p, Pixel key) {
    return ((p ^ key) & kRgbMask) == 0;
}

// How many of the block's pixels are the key. A count rather than an early exit, so that the
// compiler vectorises it; a block wholly inside or wholly outside a run is then passed over in
// a few instructions, which keeps the scan near the speed of reading the image.
inline unsigned KeysInBlock(const Pixel* p, Pixel key) {
    unsigned count = 0;
    for (int i = 0; i < kBlock; ++i) {
        count += IsKey(p[i], key) ? 1u : 0u;
    }
    return count;
}

}  // namespace

KeyRunRecord::KeyRunRecord(const Bitmap& image, Colour key, std::size_t budget)
    : width_(image.Width()), height_(image.Height()), key_(key) {
    if (image.IsNull()) {
        return;
    }
    const std::size_t bytes = budget != 0 ? budget : image.ByteCount() / 8;
    // A floor, so that small images, whose copies cost little either way, are recorded too.
    budget_ = std::max<std::size_t>(bytes / sizeof(Run), budget != 0 ? 0 : 4096);
    lost_ = false;
    // No pixel's colour has the top byte of "no colour": then nothing is the key.
    if (key > kRgbMask) {
        return;
    }
    const Pixel pixelKey = PixelFromColour(key);
    try {
        for (int y = 0; y < height_; ++y) {
            if (!ScanRow(image.Row(y), y, pixelKey)) {
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        lost_ = true;
    }
    if (lost_) {
        runs_ = {};  // the caller falls back to a copy, which needs the memory
    }
}

bool KeyRunRecord::ScanRow(const Pixel* row, int y, Pixel key) {
    bool inRun = false;
    int start = 0;
    const auto edge = [&](int x) {
        if (!inRun) {
            start = x;
            inRun = true;
            return true;
        }
        inRun = false;
        if (runs_.size() >= budget_) {
            lost_ = true;
            return false;
        }
        runs_.push_back({y, start, x});
        return true;
    };
    int x = 0;
    for (; x <= width_ - kBlock; x += kBlock) {
        if (KeysInBlock(row + x, key) == (inRun ? unsigned{kBlock} : 0u)) {
            continue;
        }
        for (int i = x; i < x + kBlock; ++i) {
            if (IsKey(row[i], key) != inRun && !edge(i)) {
                return false;
            }
        }
    }
    for (; x < width_; ++x) {
        if (IsKey(row[x], key) != inRun && !edge(x)) {
            return false;
        }
    }
    return !inRun || edge(width_);
}

bool KeyRunRecord::Fits(const Bitmap& image) const {
    return !lost_ && !image.IsNull() && image.Width() == width_ && image.Height() == height_;
}

bool KeyRunRecord::Write(Bitmap& image) const {
    if (!Fits(image)) {
        return false;
    }
    const Pixel rgb = PixelFromColour(key_) & kRgbMask;
    for (const Run& run : runs_) {
        Pixel* row = image.Row(run.y);
        for (int x = run.x0; x < run.x1; ++x) {
            row[x] = (row[x] & ~kRgbMask) | rgb;
        }
    }
    return true;
}

}  // namespace palvex
