#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "image/bitmap.h"
#include "image/geometry.h"

namespace palvex {

struct RangePixelSet;

// One pen stroke from the press to the release: the rectangles its applications reported, and
// the image as it was before the stroke, kept lazily. A full copy at the press costs about
// 100 ms on a 100-megapixel image, which the first application after the press cannot afford;
// instead each 64 x 64 block is copied just before an application first visits it, and the
// blocks never visited are by definition unchanged.
//
// Press: construct. Every mouse sample: ApplyPen(..., &stroke), then repaint ChangedRect().
// Release: if !Processed(), ApplyPen once at the release point; then, when HasBefore(),
// SwapBefore, push the one undo snapshot of ChangedRect(), SwapBefore again.
class PenStroke {
public:
    static constexpr int kBlock = 64;

    // Starts a stroke on `image`. Nothing is copied yet.
    explicit PenStroke(const Bitmap& image);

    // Keeps the current pixels of every block the set visits that is not kept yet; called by
    // ApplyPen before it writes. When a block cannot be allocated the stroke loses its
    // before-image (HasBefore() becomes false) and the application still goes on.
    void KeepBefore(const Bitmap& image, const RangePixelSet& pixels);
    // Records an application's reported rectangle and the bounds of the pixels it visited (also
    // when the reported rectangle is empty: it can miss pixels the application changed).
    void AddApplication(const Rect& reported, const Rect& visited);

    // The union of the reported rectangles; empty while no application processed anything (the
    // release then applies the pen once at its own point).
    const Rect& StrokeRect() const { return strokeRect_; }
    bool Processed() const { return !strokeRect_.IsEmpty(); }
    // Every pixel the stroke may have changed, inside the image: the rectangle for the one undo
    // snapshot of the stroke and for the repaint. It also holds visited pixels that a reported
    // rectangle misses, so that undo puts every one of them back.
    Rect ChangedRect() const;

    bool HasBefore() const { return complete_; }
    // Exchanges the kept blocks with the image's pixels: the first call puts the image back as
    // it was before the stroke (push the undo snapshot of ChangedRect() then), the second
    // restores the stroke's result. False, changing nothing, without a before-image or when the
    // image's size changed.
    bool SwapBefore(Bitmap& image);

    std::size_t KeptBytes() const;

private:
    void KeepBlock(const Bitmap& image, int bx, int by);

    int width_ = 0;
    int height_ = 0;
    int blocksX_ = 0;
    int blocksY_ = 0;
    bool complete_ = true;
    std::vector<std::unique_ptr<Pixel[]>> blocks_;
    std::size_t keptBlocks_ = 0;
    Rect strokeRect_;
    Rect visited_;
};

}  // namespace palvex
