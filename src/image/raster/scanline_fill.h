#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "image/geometry.h"

namespace palvex::detail {

// A run of pixels [x1, x2] on row y still to be examined, reached from row y - dy.
struct Span {
    int x1;
    int x2;
    int y;
    int dy;
};

// First in, first out, in a ring that doubles when full: cheaper than std::deque, which
// allocates and frees a block every few dozen spans when used as a queue.
class SpanQueue {
public:
    bool Empty() const { return count_ == 0; }
    void Push(const Span& span) {
        if (count_ == ring_.size()) {
            Grow();
        }
        ring_[(head_ + count_) & (ring_.size() - 1)] = span;
        ++count_;
    }
    Span Pop() {
        const Span span = ring_[head_];
        head_ = (head_ + 1) & (ring_.size() - 1);
        --count_;
        return span;
    }

private:
    void Grow() {
        std::vector<Span> bigger(std::max<std::size_t>(64, 2 * ring_.size()));
        for (std::size_t i = 0; i < count_; ++i) {
            bigger[i] = ring_[(head_ + i) & (ring_.size() - 1)];
        }
        ring_.swap(bigger);
        head_ = 0;
    }

    std::vector<Span> ring_;  // size is zero or a power of two
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

// The scanline walk every fill of the program shares; a policy says which pixels qualify and
// fills runs of them: Qualifies(y, x); RunStart(y, x), the first x' <= x such that [x', x] all
// qualify (x qualifies); RunEnd(y, x, end), the first x' in [x, end) that does not qualify, else
// end; NextQualifying(y, x, end), the first x' in [x, end) that does, else end; Fill(y, x0, x1)
// for [x0, x1). Filling a pixel must stop it qualifying, which is what guarantees termination:
// either the new colour no longer matches or the policy records the pixel as visited.
//
// The scanline walk: each span is examined on its row, extended left and right, and the parts
// of the neighbouring rows that are not already known to be covered are queued. Every pixel is
// tested a bounded number of times and the queue holds spans, not pixels. First in, first out
// keeps it to the spans along the advancing front: a handful for a plain area, a few hundred
// for a 24-megapixel area full of holes, where last in, first out piled up a quarter million.
template <class Policy>
Rect ScanlineFill(Policy& policy, int width, int height, Point seed) {
    int minX = seed.x;
    int maxX = seed.x;
    int minY = seed.y;
    int maxY = seed.y;
    auto fill = [&](int y, int x0, int x1) {  // [x0, x1)
        policy.Fill(y, x0, x1);
        minX = std::min(minX, x0);
        maxX = std::max(maxX, x1 - 1);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };

    SpanQueue pending;
    pending.Push({seed.x, seed.x, seed.y, 1});
    pending.Push({seed.x, seed.x, seed.y - 1, -1});
    while (!pending.Empty()) {
        const Span span = pending.Pop();
        const int y = span.y;
        const int dy = span.dy;
        if (y < 0 || y >= height) {
            continue;
        }
        int x1 = span.x1;
        const int x2 = span.x2;
        int x = x1;
        if (policy.Qualifies(y, x1)) {
            x = policy.RunStart(y, x1);
            if (x < x1) {
                fill(y, x, x1);
                // The part left of the span may leak back past the row we came from.
                pending.Push({x, x1 - 1, y - dy, -dy});
            }
        }
        while (x1 <= x2) {
            const int end = policy.RunEnd(y, x1, width);
            if (end > x1) {
                fill(y, x1, end);
            }
            x1 = end;
            if (x1 > x) {
                pending.Push({x, x1 - 1, y + dy, dy});
            }
            if (x1 - 1 > x2) {
                pending.Push({x2 + 1, x1 - 1, y - dy, -dy});
            }
            ++x1;
            if (x1 < x2) {
                x1 = policy.NextQualifying(y, x1, x2);
            }
            x = x1;
        }
    }
    return {minX, minY, maxX + 1, maxY + 1};
}

}  // namespace palvex::detail
