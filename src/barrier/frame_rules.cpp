#include "barrier/frame_rules.h"

#include <algorithm>
#include <utility>

#include "barrier/barrier.h"

namespace palvex {
namespace {

bool InBand(int v, int line) {
    return line - 3 <= v && v < line + 3;
}

}  // namespace

int SideAt(Point q, const Rect& r) {
    const bool acrossX = r.left <= q.x && q.x < r.right;
    const bool acrossY = r.top <= q.y && q.y < r.bottom;
    if (acrossX && InBand(q.y, r.top)) {
        return kFrameSideTop;
    }
    if (acrossY && InBand(q.x, r.right)) {
        return kFrameSideRight;
    }
    if (acrossX && InBand(q.y, r.bottom)) {
        return kFrameSideBottom;
    }
    if (acrossY && InBand(q.x, r.left)) {
        return kFrameSideLeft;
    }
    return -1;
}

Rect DragRectHandle(const Rect& r, int handle, Point pointer, Size image) {
    const int x = std::clamp(pointer.x, 0, std::max(0, image.width - 1));
    const int y = std::clamp(pointer.y, 0, std::max(0, image.height - 1));
    Rect n = r;
    const bool left = handle == 0 || handle == 3 || handle == 7;
    const bool right = handle == 1 || handle == 2 || handle == 5;
    const bool top = handle == 0 || handle == 1 || handle == 4;
    const bool bottom = handle == 2 || handle == 3 || handle == 6;
    if (left) {
        n.left = x;
    }
    if (right) {
        n.right = x;
    }
    if (top) {
        n.top = y;
    }
    if (bottom) {
        n.bottom = y;
    }
    if (n.left > n.right) {
        std::swap(n.left, n.right);
    }
    if (n.top > n.bottom) {
        std::swap(n.top, n.bottom);
    }
    if (n.right - n.left < kBarrierMinFrame) {
        if (left) {
            n.left = n.right - kBarrierMinFrame;
        } else if (right) {
            n.right = n.left + kBarrierMinFrame;
        }
    }
    if (n.bottom - n.top < kBarrierMinFrame) {
        if (top) {
            n.top = n.bottom - kBarrierMinFrame;
        } else if (bottom) {
            n.bottom = n.top + kBarrierMinFrame;
        }
    }
    return n;
}

Rect MoveRectSide(const Rect& r, int side, Point step, Size image) {
    Rect n = r;
    switch (side) {
        case kFrameSideLeft:
            n.left += step.x;
            break;
        case kFrameSideTop:
            n.top += step.y;
            break;
        case kFrameSideRight:
            n.right += step.x;
            break;
        case kFrameSideBottom:
            n.bottom += step.y;
            break;
        default:
            break;
    }
    n.left = std::max(n.left, 0);
    n.top = std::max(n.top, 0);
    n.right = std::min(n.right, image.width - 1);
    n.bottom = std::min(n.bottom, image.height - 1);
    if (n.right - n.left < kBarrierMinFrame) {
        if (side == kFrameSideLeft) {
            n.left = n.right - kBarrierMinFrame;
        } else if (side == kFrameSideRight) {
            n.right = n.left + kBarrierMinFrame;
        }
    }
    if (n.bottom - n.top < kBarrierMinFrame) {
        if (side == kFrameSideTop) {
            n.top = n.bottom - kBarrierMinFrame;
        } else if (side == kFrameSideBottom) {
            n.bottom = n.top + kBarrierMinFrame;
        }
    }
    return n;
}

Point ClampFrameOffset(const Rect& bounds, Point d, Size image) {
    const auto axis = [](int low, int high, int delta, int limit) {
        low += delta;
        high += delta;
        int shift = 0;
        if (high > limit) {
            shift = limit - high;
        }
        if (low + shift < 0) {
            shift = -low;
        }
        return delta + shift;
    };
    return {axis(bounds.left, bounds.right, d.x, image.width),
            axis(bounds.top, bounds.bottom, d.y, image.height)};
}

}  // namespace palvex
