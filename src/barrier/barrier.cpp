#include "barrier/barrier.h"

#include <algorithm>

#include "barrier/barrier_commands.h"
#include "barrier/frame_rules.h"
#include "geometry/math_sub.h"

namespace palvex {

bool Barrier::PushSnapshot() {
    return !pushSnapshot_ || pushSnapshot_();
}

int Barrier::SelectedCount() const {
    const auto begin = selected_.begin();
    return int(std::count(begin, begin + count_, std::uint8_t{1}));
}

std::optional<Rect> Barrier::Frame() const {
    if (!wholeSelection_ || count_ == 0) {
        return std::nullopt;
    }
    return frame_ ? *frame_ : CMathSub::BoundingRect(Vertices());
}

std::array<Point, 8> Barrier::FrameHandles() const {
    const Rect r = Frame().value_or(Rect{});
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    return {{{r.left, r.top},
             {r.right, r.top},
             {r.right, r.bottom},
             {r.left, r.bottom},
             {cx, r.top},
             {r.right, cy},
             {cx, r.bottom},
             {r.left, cy}}};
}

BarrierSnapshot Barrier::TakeSnapshot() const {
    BarrierSnapshot s;
    s.count = count_;
    s.vertices = vertices_;
    return s;
}

void Barrier::RestoreSnapshot(const BarrierSnapshot& snapshot) {
    count_ = std::clamp(snapshot.count, 0, kBarrierCapacity);
    vertices_ = snapshot.vertices;
    VerticesChanged();
    ClearVertexSelection();
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    drag_ = {};
}

bool Barrier::ReplaceVertices(std::span<const Point> vertices) {
    if (!PushSnapshot()) {
        return false;
    }
    count_ = int(std::min<std::size_t>(vertices.size(), kBarrierCapacity));
    std::copy_n(vertices.begin(), count_, vertices_.begin());
    VerticesChanged();
    ClearVertexSelection();
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    return true;
}

bool Barrier::EraseBarrier() {
    if (count_ == 0) {
        return false;
    }
    if (!PushSnapshot()) {
        return false;
    }
    count_ = 0;
    VerticesChanged();
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    return true;
}

bool Barrier::SelectionToBarrier(const Rect& s) {
    // The old barrier can come back by undo, and flags of the old vertices mean nothing for the
    // new ones.
    if (!PushSnapshot()) {
        return false;
    }
    vertices_[0] = {s.left, s.top};
    vertices_[1] = {s.right, s.top};
    vertices_[2] = {s.right, s.bottom};
    vertices_[3] = {s.left, s.bottom};
    count_ = 4;
    VerticesChanged();
    selected_.fill(0);
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    return true;
}

void Barrier::ResetEditingState() {
    adding_ = false;
    ticks_ = 0;
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    closingMark_ = 0;
    drag_ = {};
    selectedSide_ = kFrameSideTop;
}

void Barrier::ClearVertexSelection() {
    std::fill_n(selected_.begin(), count_, std::uint8_t{0});
}

void Barrier::ClearSelection() {
    ClearVertexSelection();
    wholeSelection_ = false;
    mainVertex_ = -1;
    frame_.reset();
}

void Barrier::SelectAll() {
    std::fill_n(selected_.begin(), count_, std::uint8_t{1});
}

void Barrier::SelectOnly(int a, int b) {
    ClearVertexSelection();
    selected_[std::size_t(a)] = 1;
    selected_[std::size_t(b)] = 1;
}

bool Barrier::IsMenuItemEnabled(int command) const {
    switch (command) {
        case kCmdMultiply2:
            return count_ * 2 <= kBarrierCapacity;
        case kCmdMultiply3:
            return count_ * 3 <= kBarrierCapacity;
        case kCmdMultiply5:
            return count_ * 5 <= kBarrierCapacity;
        case kCmdThin2:
            return count_ >= 6;
        case kCmdThin3:
            return count_ >= 9;
        case kCmdThin5:
            return count_ >= 15;
        case kCmdPlaceOnEllipse:
        case kCmdPlaceOnRect:
            return count_ >= 4;
        case kCmdOutsideAtPoint:
            return count_ > 0;
        default:
            return true;
    }
}

}  // namespace palvex
