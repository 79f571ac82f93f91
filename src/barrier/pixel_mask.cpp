#include "barrier/pixel_mask.h"

#include <algorithm>
#include <array>
#include <new>
#include <utility>

namespace palvex {
namespace {

// Masks come and go with every command, and fresh memory costs a page fault every 4 KiB: on the
// machine measured that was 40 % of an outside fill of 6000 x 4000. So the two largest buffers
// given back are kept for the next masks (GUI thread; one set per thread).
struct Spare {
    std::unique_ptr<PixelMask::Word[]> bits;
    std::size_t capacity = 0;
};
thread_local std::array<Spare, 2> spares;

}  // namespace

void ReleaseSpareMasks() {
    for (Spare& spare : spares) {
        spare.bits.reset();
        spare.capacity = 0;
    }
}

std::size_t SpareMaskWords() {
    std::size_t words = 0;
    for (const Spare& spare : spares) {
        words += spare.capacity;
    }
    return words;
}

PixelMask::PixelMask(PixelMask&& other) noexcept
    : bits_(std::move(other.bits_)),
      capacity_(std::exchange(other.capacity_, 0)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      words_(std::exchange(other.words_, 0)) {}

PixelMask& PixelMask::operator=(PixelMask&& other) noexcept {
    if (this != &other) {
        Release();
        bits_ = std::move(other.bits_);
        capacity_ = std::exchange(other.capacity_, 0);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        words_ = std::exchange(other.words_, 0);
    }
    return *this;
}

PixelMask::~PixelMask() {
    Release();
}

void PixelMask::Release() {
    width_ = height_ = 0;
    words_ = 0;
    if (!bits_) {
        return;
    }
    Spare* smallest = &spares[0];
    for (Spare& spare : spares) {
        if (spare.capacity < smallest->capacity) {
            smallest = &spare;
        }
    }
    if (capacity_ > smallest->capacity) {
        smallest->bits = std::move(bits_);
        smallest->capacity = capacity_;
    }
    bits_.reset();
    capacity_ = 0;
}

bool PixelMask::Create(int width, int height) {
    Release();
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::size_t words = (static_cast<std::size_t>(width) + 63) / 64;
    const std::size_t total = words * static_cast<std::size_t>(height);
    Spare* fit = nullptr;
    for (Spare& spare : spares) {
        if (spare.capacity >= total && (fit == nullptr || spare.capacity < fit->capacity)) {
            fit = &spare;
        }
    }
    if (fit != nullptr) {
        bits_ = std::move(fit->bits);
        capacity_ = std::exchange(fit->capacity, 0);
        std::fill(bits_.get(), bits_.get() + total, Word{0});
    } else {
        bits_.reset(new (std::nothrow) Word[total]());
        if (!bits_) {
            return false;
        }
        capacity_ = total;
    }
    width_ = width;
    height_ = height;
    words_ = words;
    return true;
}

void PixelMask::Clear() {
    std::fill(bits_.get(), bits_.get() + words_ * static_cast<std::size_t>(height_), Word{0});
}

void PixelMask::SetRun(int y, int x0, int x1) {
    if (x0 >= x1) {
        return;
    }
    Word* row = Row(y);
    const int first = x0 >> 6;
    const int last = (x1 - 1) >> 6;
    const Word low = ~Word{0} << (x0 & 63);
    const Word high = ~Word{0} >> (63 - ((x1 - 1) & 63));
    if (first == last) {
        row[first] |= low & high;
        return;
    }
    row[first] |= low;
    std::fill(row + first + 1, row + last, ~Word{0});
    row[last] |= high;
}

}  // namespace palvex
