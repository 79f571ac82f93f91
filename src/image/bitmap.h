#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "image/colour.h"
#include "image/geometry.h"
#include "image/large_block.h"

namespace palvex {

// The largest image we agree to hold: 2^28 pixels, 1 GiB at 4 bytes a pixel.
inline constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

// A 32-bit pixel buffer, rows top-down, stride 4 x width, no padding: the layout of
// QImage::Format_RGB32 so the UI can wrap it without a copy. Move-only; copies are explicit.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap() = default;

    // Replaces the buffer by one of the given size with undefined contents. Fails (leaving the
    // bitmap null) for non-positive sizes, more than kMaxPixels pixels or a failed allocation.
    [[nodiscard]] bool Create(int width, int height);
    // The same with a buffer of at least `bytes` bytes, for decoders that expand their data in
    // place; the bytes past the pixels are never used.
    [[nodiscard]] bool CreateWithRoom(int width, int height, std::size_t bytes);
    void Reset();
    // Gives the buffer the new size when it holds exactly as many pixels (a quarter turn's
    // result), keeping its memory and leaving the contents undefined. False, changing nothing,
    // otherwise.
    [[nodiscard]] bool Reshape(int width, int height);

    bool IsNull() const { return pixels_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rect Bounds() const { return {0, 0, width_, height_}; }
    std::size_t Stride() const { return std::size_t{4} * static_cast<std::size_t>(width_); }
    std::size_t PixelCount() const {
        return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    }
    std::size_t ByteCount() const { return PixelCount() * 4; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Pixel* Data() { return pixels_.get(); }
    const Pixel* Data() const { return pixels_.get(); }
    Pixel* Row(int y) { return pixels_.get() + static_cast<std::size_t>(y) * width_; }
    const Pixel* Row(int y) const { return pixels_.get() + static_cast<std::size_t>(y) * width_; }
    std::span<Pixel> Pixels() { return {pixels_.get(), PixelCount()}; }
    std::span<const Pixel> Pixels() const { return {pixels_.get(), PixelCount()}; }

    // The pixel's colour; kNoColour outside the bitmap.
    Colour ReadPixel(int x, int y) const {
        return Contains(x, y) ? ColourFromPixel(Row(y)[x]) : kNoColour;
    }
    // Outside the bitmap nothing happens.
    void WritePixel(int x, int y, Colour c) {
        if (Contains(x, y)) {
            Row(y)[x] = PixelFromColour(c);
        }
    }
    void Fill(Pixel value);

    // Whole-image bytes in the bulk layout (rows top-down, Stride() bytes each). Both return the
    // byte count copied, or 0 when the buffer is smaller than ByteCount().
    std::size_t GetImageBits(std::span<std::uint8_t> out) const;
    std::size_t SetImageBits(std::span<const std::uint8_t> in);

private:
    std::unique_ptr<Pixel, LargeBlockDeleter> pixels_;
    int width_ = 0;
    int height_ = 0;
};

// Copies every pixel of src into dst, which must have the same size. False when the sizes
// differ or either bitmap is null.
bool CopyBitmapBits(const Bitmap& src, Bitmap& dst);

}  // namespace palvex
