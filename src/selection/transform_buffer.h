#pragma once

#include <cstddef>

#include "image/bitmap.h"

// Internal to the transforms.
namespace palvex::detail {

// Makes `out` a width x height bitmap, keeping its buffer when it already has that size. False
// when out is src or cannot be created.
bool PrepareTarget(const Bitmap& src, int width, int height, Bitmap& out);

// Results larger than this are written past the caches: nobody reads them back soon, and the
// cache lines need not be fetched first.
inline constexpr std::size_t kStreamBytes = std::size_t{8} << 20;

// dst[i] = src[i] | orMask, in order, with streaming stores when `stream`. Call StreamFence
// after the last streamed row.
void WriteRow(Pixel* dst, const Pixel* src, std::size_t count, Pixel orMask, bool stream);
// dst[i] = src[columns[i]] | orMask for i < count, likewise.
void GatherRow(Pixel* dst, const Pixel* src, const int* columns, std::size_t count, Pixel orMask,
               bool stream);
// dst[i] = src[count - 1 - i], likewise.
void WriteRowReversed(Pixel* dst, const Pixel* src, std::size_t count, bool stream);
void StreamFence();

// Runs body(first, last) over [0, count) split in two halves on two threads when the work is
// large and there are two cores; otherwise runs body(0, count) here.
void SplitRows(int count, std::size_t workPixels, void (*body)(void*, int, int), void* context);

template <class Body>
void SplitRows(int count, std::size_t workPixels, Body& body) {
    SplitRows(
        count, workPixels,
        [](void* context, int first, int last) { (*static_cast<Body*>(context))(first, last); },
        &body);
}

}  // namespace palvex::detail
