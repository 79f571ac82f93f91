#include "image/bitmap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace palvex {

Bitmap::Bitmap(Bitmap&& other) noexcept
    : pixels_(std::move(other.pixels_)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    pixels_ = std::move(other.pixels_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    return *this;
}

bool Bitmap::Create(int width, int height) {
    return CreateWithRoom(width, height, 0);
}

bool Bitmap::CreateWithRoom(int width, int height, std::size_t bytes) {
    Reset();
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::uint64_t count = std::uint64_t(width) * std::uint64_t(height);
    if (count > kMaxPixels) {
        return false;
    }
    // No value-initialisation: the contents are undefined until drawn, and zeroing 1 GiB costs.
    pixels_.reset(static_cast<Pixel*>(
        AllocateLarge(std::max(bytes, static_cast<std::size_t>(count) * sizeof(Pixel)))));
    if (!pixels_) {
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

bool Bitmap::Reshape(int width, int height) {
    if (IsNull() || width <= 0 || height <= 0 ||
        std::uint64_t(width) * std::uint64_t(height) != PixelCount()) {
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void Bitmap::Reset() {
    pixels_.reset();
    width_ = 0;
    height_ = 0;
}

void Bitmap::Fill(Pixel value) {
    std::fill_n(pixels_.get(), PixelCount(), value);
}

std::size_t Bitmap::GetImageBits(std::span<std::uint8_t> out) const {
    if (IsNull() || out.size() < ByteCount()) {
        return 0;
    }
    std::memcpy(out.data(), pixels_.get(), ByteCount());
    return ByteCount();
}

std::size_t Bitmap::SetImageBits(std::span<const std::uint8_t> in) {
    if (IsNull() || in.size() < ByteCount()) {
        return 0;
    }
    std::memcpy(pixels_.get(), in.data(), ByteCount());
    return ByteCount();
}

bool CopyBitmapBits(const Bitmap& src, Bitmap& dst) {
    if (src.IsNull() || dst.IsNull() || src.Width() != dst.Width() ||
        src.Height() != dst.Height()) {
        return false;
    }
    std::memcpy(dst.Data(), src.Data(), src.ByteCount());
    return true;
}

}  // namespace palvex
