#include <algorithm>
#include <array>

#include "barrier/barrier.h"
#include "resources/string_table.h"

namespace palvex {
namespace {

// Border snapping: a click this close to an edge lands on it.
int SnapToBorder(int v, int size) {
    if (1 <= v && v <= 9) {
        v = 0;
    }
    if (size - 10 <= v && v <= size - 2) {
        v = size - 1;
    }
    return v;
}

struct Border {
    int w1;
    int h1;

    bool Contains(Point p) const { return p.x == 0 || p.x == w1 || p.y == 0 || p.y == h1; }

    // The position along the border, clockwise from the top-left corner.
    long long Position(Point p) const {
        if (p.y == 0 && p.x < w1) {
            return p.x;
        }
        if (p.x == w1 && p.y < h1) {
            return 0LL + w1 + p.y;
        }
        if (p.y == h1 && p.x > 0) {
            return 0LL + w1 + h1 + (w1 - p.x);
        }
        return 2LL * w1 + h1 + (h1 - p.y);
    }

    long long Perimeter() const { return 2LL * (w1 + h1); }
};

long long Modulo(long long a, long long p) {
    const long long r = a % p;
    return r < 0 ? r + p : r;
}

}  // namespace

bool Barrier::AppendIfRoom(Point p) {
    if (count_ >= kBarrierCapacity) {
        return false;
    }
    vertices_[std::size_t(count_)] = p;
    selected_[std::size_t(count_)] = 1;
    ++count_;
    return true;
}

void Barrier::CloseBarrier(Size image, ClosingDirection direction) {
    if (count_ == 0) {
        return;
    }
    const Border border{image.width - 1, image.height - 1};
    Point first = vertices_[0];
    const Point last = vertices_[std::size_t(count_ - 1)];

    // A chain from inside the image to one edge becomes a cut across the whole image.
    if (!border.Contains(first) && border.Contains(last) && count_ < kBarrierCapacity) {
        if (last.x == 0) {
            first = {border.w1, first.y};
        } else if (last.x == border.w1) {
            first = {0, first.y};
        } else if (last.y == 0) {
            first = {first.x, border.h1};
        } else {
            first = {first.x, 0};
        }
        std::copy_backward(vertices_.begin(), vertices_.begin() + count_,
                           vertices_.begin() + count_ + 1);
        std::copy_backward(selected_.begin(), selected_.begin() + count_,
                           selected_.begin() + count_ + 1);
        vertices_[0] = first;
        selected_[0] = 0;
        ++count_;
    }
    const int mark = count_;

    if (border.Contains(first) && !border.Contains(last)) {
        if (first.x == 0) {
            AppendIfRoom({border.w1, last.y});
        } else if (first.y == 0) {
            AppendIfRoom({last.x, border.h1});
        } else if (first.x == border.w1) {
            AppendIfRoom({0, last.y});
        } else {
            AppendIfRoom({last.x, 0});
        }
    } else if (border.Contains(first) && border.Contains(last) && first != last) {
        const long long p = border.Perimeter();
        if (p > 0) {
            const bool clockwise = direction == ClosingDirection::Clockwise;
            const long long sLast = border.Position(last);
            const long long sFirst = border.Position(first);
            const auto ahead = [&](long long s) {
                return Modulo(clockwise ? s - sLast : sLast - s, p);
            };
            const long long limit = ahead(sFirst);
            const std::array<Point, 4> corners{
                {{0, 0}, {border.w1, 0}, {border.w1, border.h1}, {0, border.h1}}};
            // The corners passed, in walking order.
            std::array<long long, 4> keys{};
            for (std::size_t i = 0; i < corners.size(); ++i) {
                keys[i] = ahead(border.Position(corners[i]));
            }
            long long after = 0;
            for (;;) {
                std::size_t next = corners.size();
                for (std::size_t i = 0; i < corners.size(); ++i) {
                    if (after < keys[i] && keys[i] < limit &&
                        (next == corners.size() || keys[i] < keys[next])) {
                        next = i;
                    }
                }
                if (next == corners.size()) {
                    break;
                }
                after = keys[next];
                AppendIfRoom(corners[next]);
            }
        }
    }
    closingMark_ = count_ > mark ? std::uint16_t(mark) : std::uint16_t{0};
}

bool Barrier::Reclose(Size image, ClosingDirection direction) {
    if (count_ == 0 || closingMark_ == 0 || adding_ || closingMark_ > count_) {
        return false;
    }
    count_ = closingMark_;
    CloseBarrier(image, direction);
    mainVertex_ = count_ - 1;
    return true;
}

PlacingResult Barrier::StartAdding() {
    if (adding_ || !PushSnapshot()) {
        return {};
    }
    adding_ = true;
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    ClearVertexSelection();
    ticks_ = 0;
    return {true, false, str::kGuideAddingVertices, false};
}

PlacingResult Barrier::EndAdding(Size image, ClosingDirection direction) {
    if (!adding_) {
        return {};
    }
    adding_ = false;
    ticks_ = 0;
    PlacingResult result;
    result.ended = true;
    if (count_ > 0) {
        CloseBarrier(image, direction);
        mainVertex_ = count_ - 1;
        result.repaint = true;
        result.guide = str::kGuideDragVertices;
    } else {
        result.clearGuide = true;
    }
    return result;
}

PlacingResult Barrier::PlacingClick(Point p, bool shift, Size image, ClosingDirection direction) {
    if (!adding_ || p.x < 0 || p.y < 0 || p.x >= image.width || p.y >= image.height) {
        return {};
    }
    if (shift) {
        if (count_ == 0) {
            return {};
        }
        --count_;
        VerticesChanged();
        return {true, false, 0, false};
    }
    // A file or a multiply can bring more vertices than placing allows: then a click only ends
    // placing, and closing appends what still fits.
    if (count_ >= kBarrierPlacingLimit) {
        return EndAdding(image, direction);
    }
    const Point snapped{SnapToBorder(p.x, image.width), SnapToBorder(p.y, image.height)};
    if (count_ > 0) {
        selected_[std::size_t(count_ - 1)] = 0;
    }
    vertices_[std::size_t(count_)] = snapped;
    selected_[std::size_t(count_)] = 1;
    ++count_;
    VerticesChanged();
    if (count_ >= kBarrierPlacingLimit) {
        return EndAdding(image, direction);
    }
    return {true, false, count_ == 5 ? str::kGuideEscRemovesVertex : 0, false};
}

PlacingResult Barrier::Escape() {
    if (!adding_ || count_ == 0) {
        return {};
    }
    --count_;
    VerticesChanged();
    return {true, false, 0, false};
}

PlacingResult Barrier::Tick(Size image, ClosingDirection direction) {
    if (!adding_) {
        return {};
    }
    ++ticks_;
    if (ticks_ >= kBarrierTimerTicks) {
        return EndAdding(image, direction);
    }
    return {};
}

}  // namespace palvex
