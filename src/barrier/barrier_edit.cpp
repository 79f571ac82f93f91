#include <algorithm>
#include <cstdlib>

#include "barrier/barrier.h"
#include "barrier/frame_rules.h"
#include "geometry/math_sub.h"
#include "resources/string_table.h"

namespace palvex {
namespace {

int Zoom(int v, float zoom) {
    return static_cast<int>(static_cast<float>(v) * zoom);
}

int Unzoom(int v, float zoom) {
    return static_cast<int>(static_cast<float>(v) / zoom);
}

Point ImageUnder(Point window, const BarrierView& view) {
    return {Unzoom(window.x + view.scroll.x, view.zoom),
            Unzoom(window.y + view.scroll.y, view.zoom)};
}

Rect Normalised(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Point Mid(Point u, Point v) {
    const auto mid = [](int a, int b) { return std::min(a, b) + std::abs(a - b) / 2; };
    return {mid(u.x, v.x), mid(u.y, v.y)};
}

BarrierPointer HandlePointer(int handle) {
    switch (handle) {
        case 0:
        case 2:
            return BarrierPointer::SizeNwSe;
        case 1:
        case 3:
            return BarrierPointer::SizeNeSw;
        case 4:
        case 6:
            return BarrierPointer::SizeNs;
        default:
            return BarrierPointer::SizeWe;
    }
}

}  // namespace

std::span<const Point> Barrier::Zoomed(const BarrierView& view) const {
    for (int i = 0; i < count_; ++i) {
        const Point v = vertices_[std::size_t(i)];
        zoomed_[std::size_t(i)] = {Zoom(v.x, view.zoom), Zoom(v.y, view.zoom)};
    }
    return {zoomed_.data(), std::size_t(count_)};
}

Point Barrier::ZoomedToWindow(Point image, const BarrierView& view) const {
    return {Zoom(image.x, view.zoom) - view.scroll.x, Zoom(image.y, view.zoom) - view.scroll.y};
}

BarrierHitResult Barrier::HitTest(Point window, const BarrierView& view) const {
    if (count_ == 0) {
        return {};
    }
    const Point q{window.x + view.scroll.x, window.y + view.scroll.y};
    const std::span<const Point> z = Zoomed(view);
    for (int i = 0; i < count_; ++i) {
        const Point v = z[std::size_t(i)];
        if (v.x - 4 <= q.x && q.x < v.x + 4 && v.y - 4 <= q.y && q.y < v.y + 4) {
            return {i, -1, -1};
        }
    }
    for (int i = 0; i < count_; ++i) {
        const bool closing = i == count_ - 1;
        const Point end = z[closing ? 0 : std::size_t(i + 1)];
        if (CMathSub::NearSegment(q, z[std::size_t(i)], end)) {
            return closing ? BarrierHitResult{kHitSide, 0, count_ - 1}
                           : BarrierHitResult{kHitSide, i, i + 1};
        }
    }
    return {CMathSub::PointInPolygon(q, z) ? kHitInside : kHitNothing, -1, -1};
}

int Barrier::HandleAt(Point window, const BarrierView& view) const {
    if (!Frame()) {
        return -1;
    }
    const std::array<Point, 8> handles = FrameHandles();
    for (int i = 0; i < 8; ++i) {
        const Point h = ZoomedToWindow(handles[std::size_t(i)], view);
        if (h.x - 5 <= window.x && window.x < h.x + 5 && h.y - 5 <= window.y &&
            window.y < h.y + 5) {
            return i;
        }
    }
    return -1;
}

BarrierHover Barrier::Hover(Point window, const BarrierView& view) const {
    if (adding_) {
        return {BarrierPointer::Placing, 0};
    }
    if (count_ == 0) {
        return {};
    }
    if (const std::optional<Rect> frame = Frame()) {
        if (const int handle = HandleAt(window, view); handle >= 0) {
            return {HandlePointer(handle), 0};
        }
        if (const int side = SideAt(ImageUnder(window, view), *frame); side >= 0) {
            int guide = str::kGuideShiftMovesSide;
            if (side == selectedSide_) {
                guide = str::kGuideTabTurnsSide;
            } else if (side == kFrameSideBottom) {
                guide = str::kGuideClickSide;
            }
            return {BarrierPointer::Vertex, guide};
        }
    }
    const BarrierHitResult hit = HitTest(window, view);
    switch (hit.code) {
        case kHitNothing:
            return {};
        case kHitInside:
            return {BarrierPointer::Hand, 0};
        case kHitSide:
            return {BarrierPointer::Side, 0};
        default:
            return {BarrierPointer::Vertex, 0};
    }
}

bool Barrier::Press(Point window, const BarrierView& view, Modifiers mods) {
    if (count_ == 0 || adding_) {
        return false;
    }
    drag_ = {};
    if (const std::optional<Rect> frame = Frame()) {
        if (const int handle = HandleAt(window, view); handle >= 0) {
            drag_.kind = BarrierDrag::FrameHandle;
            drag_.handle = handle;
            drag_.startFrame = *frame;
            drag_.frame = *frame;
            return false;
        }
        if (const int side = SideAt(ImageUnder(window, view), *frame); side >= 0) {
            selectedSide_ = side;
            return true;
        }
    }
    const BarrierHitResult hit = HitTest(window, view);
    frame_.reset();
    drag_.anchor = window;
    switch (hit.code) {
        case kHitSide:
            drag_.kind = BarrierDrag::Vertices;
            if (!(IsSelected(hit.a) && IsSelected(hit.b)) && !mods.ctrl) {
                ClearVertexSelection();
            }
            selected_[std::size_t(hit.a)] = 1;
            selected_[std::size_t(hit.b)] = 1;
            mainVertex_ = hit.b;
            break;
        case kHitInside:
            drag_.kind = BarrierDrag::Whole;
            wholeSelection_ = true;
            SelectAll();
            mainVertex_ = count_ - 1;
            frame_ = CMathSub::BoundingRect(Vertices());
            drag_.bounds = *frame_;
            break;
        case kHitNothing:
            drag_.kind = BarrierDrag::RubberBand;
            drag_.bandStart = ImageUnder(window, view);
            drag_.bandStartWindow = window;
            if (!mods.ctrl && (wholeSelection_ || mainVertex_ >= 0)) {
                wholeSelection_ = false;
                mainVertex_ = -1;
                ClearVertexSelection();
            }
            break;
        default:
            drag_.kind = BarrierDrag::Vertices;
            if (!IsSelected(hit.code)) {
                if (!mods.ctrl) {
                    ClearVertexSelection();
                }
                selected_[std::size_t(hit.code)] = 1;
            }
            mainVertex_ = hit.code;
            break;
    }
    return true;
}

Point Barrier::ClampVertexOffset(Point d, Size image) const {
    for (int i = 0; i < count_; ++i) {
        if (selected_[std::size_t(i)] == 0) {
            continue;
        }
        const Point v = vertices_[std::size_t(i)];
        if (v.x + d.x < 0) {
            d.x = -v.x;
        }
        if (v.x + d.x > image.width - 1) {
            d.x = image.width - 1 - v.x;
        }
        if (v.y + d.y < 0) {
            d.y = -v.y;
        }
        if (v.y + d.y > image.height - 1) {
            d.y = image.height - 1 - v.y;
        }
    }
    return d;
}

Point Barrier::ClampFrameOffset(Point d, Size image) const {
    return palvex::ClampFrameOffset(CMathSub::BoundingRect(Vertices()), d, image);
}

bool Barrier::Move(Point window, const BarrierView& view, Size image) {
    const auto before = drag_;
    switch (drag_.kind) {
        case BarrierDrag::None:
            return false;
        case BarrierDrag::Vertices:
        case BarrierDrag::Whole: {
            const Point d{Unzoom(window.x - drag_.anchor.x, view.zoom),
                          Unzoom(window.y - drag_.anchor.y, view.zoom)};
            drag_.offset = drag_.kind == BarrierDrag::Vertices
                               ? ClampVertexOffset(d, image)
                               : palvex::ClampFrameOffset(drag_.bounds, d, image);
            return drag_.offset != before.offset;
        }
        case BarrierDrag::FrameHandle:
            drag_.frame =
                DragRectHandle(drag_.startFrame, drag_.handle, ImageUnder(window, view), image);
            return drag_.frame != before.frame;
        case BarrierDrag::RubberBand: {
            const Point limit{Zoom(image.width, view.zoom) - 1, Zoom(image.height, view.zoom) - 1};
            const Point q{std::clamp(window.x + view.scroll.x, 0, std::max(0, limit.x)),
                          std::clamp(window.y + view.scroll.y, 0, std::max(0, limit.y))};
            const Point clamped{q.x - view.scroll.x, q.y - view.scroll.y};
            if (std::abs(clamped.x - drag_.bandStartWindow.x) > 9 ||
                std::abs(clamped.y - drag_.bandStartWindow.y) > 9) {
                drag_.bandEnd = {Unzoom(q.x, view.zoom), Unzoom(q.y, view.zoom)};
                drag_.bandRecorded = true;
            }
            return drag_.bandRecorded != before.bandRecorded || drag_.bandEnd != before.bandEnd;
        }
    }
    return false;
}

std::optional<Rect> Barrier::RubberBand() const {
    if (drag_.kind != BarrierDrag::RubberBand || !drag_.bandRecorded) {
        return std::nullopt;
    }
    return Normalised(drag_.bandStart, drag_.bandEnd);
}

bool Barrier::MoveSelected(Point d) {
    if (!PushSnapshot()) {
        return false;
    }
    for (int i = 0; i < count_; ++i) {
        if (selected_[std::size_t(i)] != 0) {
            vertices_[std::size_t(i)].x += d.x;
            vertices_[std::size_t(i)].y += d.y;
        }
    }
    VerticesChanged();
    return true;
}

Barrier::ReleaseResult Barrier::MoveWhole(Point d) {
    if (!PushSnapshot()) {
        return {};
    }
    const Rect before = CMathSub::BoundingRect(Vertices());
    for (int i = 0; i < count_; ++i) {
        vertices_[std::size_t(i)].x += d.x;
        vertices_[std::size_t(i)].y += d.y;
    }
    VerticesChanged();
    frame_ = before.Translated(d.x, d.y);
    return {true, false, BarrierMoveArea{before, *frame_}};
}

bool Barrier::ApplyFrame(const Rect& from, const Rect& to) {
    if (!PushSnapshot()) {
        return false;
    }
    CMathSub::ScaleBetweenRects({vertices_.data(), std::size_t(count_)}, from, to);
    VerticesChanged();
    frame_ = to;
    return true;
}

Barrier::ReleaseResult Barrier::Release(Modifiers mods) {
    const DragState drag = drag_;
    drag_ = {};
    switch (drag.kind) {
        case BarrierDrag::None:
            return {};
        case BarrierDrag::Vertices:
            if (drag.offset == Point{}) {
                return {};
            }
            return {MoveSelected(drag.offset), false, std::nullopt};
        case BarrierDrag::Whole:
            if (drag.offset == Point{}) {
                return {};
            }
            return MoveWhole(drag.offset);
        case BarrierDrag::FrameHandle:
            if (drag.frame == drag.startFrame) {
                return {};
            }
            if (!ApplyFrame(drag.startFrame, drag.frame)) {
                return {};
            }
            return {true, true, std::nullopt};
        case BarrierDrag::RubberBand:
            break;
    }
    if (!drag.bandRecorded) {
        return {true, false, std::nullopt};
    }
    const Rect r = Normalised(drag.bandStart, drag.bandEnd);
    if (r.right - r.left < kBarrierMinFrame || r.bottom - r.top < kBarrierMinFrame) {
        return {true, false, std::nullopt};
    }
    for (int i = 0; i < count_; ++i) {
        const Point v = vertices_[std::size_t(i)];
        std::uint8_t& flag = selected_[std::size_t(i)];
        if (r.Contains(v.x, v.y)) {
            if (flag == 0) {
                mainVertex_ = i;
            }
            flag = 1;
        } else if (!mods.ctrl) {
            flag = 0;
        }
    }
    return {true, false, std::nullopt};
}

BarrierMenu Barrier::ContextMenu(Point window, const BarrierView& view) {
    wholeSelection_ = false;
    mainVertex_ = -1;
    frame_.reset();
    drag_ = {};
    if (count_ == 0) {
        return BarrierMenu::Outside;
    }
    const BarrierHitResult hit = HitTest(window, view);
    switch (hit.code) {
        case kHitInside:
            wholeSelection_ = true;
            SelectAll();
            mainVertex_ = count_ - 1;
            frame_ = CMathSub::BoundingRect(Vertices());
            return BarrierMenu::Inside;
        case kHitSide:
            SelectOnly(hit.a, hit.b);
            mainVertex_ = hit.b;
            return BarrierMenu::Side;
        case kHitNothing:
            ClearVertexSelection();
            return BarrierMenu::Outside;
        default:
            mainVertex_ = hit.code;
            selected_[std::size_t(hit.code)] = 1;
            return BarrierMenu::Vertex;
    }
}

Barrier::ReleaseResult Barrier::ArrowKey(Point direction, Modifiers mods, Size image) {
    if (count_ == 0 || adding_) {
        return {};
    }
    const int s = mods.ctrl ? 1 : 10;
    const Point step{direction.x * s, direction.y * s};
    if (wholeSelection_) {
        if (mods.shift) {
            const Rect from = *Frame();
            const Rect to = MoveRectSide(from, selectedSide_, step, image);
            if (to == from || !ApplyFrame(from, to)) {
                return {};
            }
            return {true, true, std::nullopt};
        }
        const Point d = ClampFrameOffset(step, image);
        if (d == Point{}) {
            return {};
        }
        return MoveWhole(d);
    }
    if (mainVertex_ < 0) {
        return {};
    }
    const Point d = ClampVertexOffset(step, image);
    if (d == Point{}) {
        return {};
    }
    return {MoveSelected(d), false, std::nullopt};
}

bool Barrier::TabKey(bool backwards) {
    if (count_ >= 2 && SelectedCount() == 2) {
        int side = -1;
        for (int i = 0; i < count_ - 1; ++i) {
            if (IsSelected(i) && IsSelected(i + 1)) {
                side = i;
                break;
            }
        }
        if (side < 0 && IsSelected(count_ - 1) && IsSelected(0)) {
            side = count_ - 1;
        }
        if (side >= 0) {
            // Sides are numbered by their first end; side count-1 is the closing side.
            const int next = (side + (backwards ? count_ - 1 : 1)) % count_;
            if (next == count_ - 1) {
                SelectOnly(0, count_ - 1);
                mainVertex_ = count_ - 1;
            } else {
                SelectOnly(next, next + 1);
                mainVertex_ = next + 1;
            }
            return true;
        }
    }
    if (Frame()) {
        selectedSide_ = (selectedSide_ + (backwards ? 3 : 1)) % 4;
        return true;
    }
    return false;
}

bool Barrier::DeleteSelectedVertices(Prompter& prompter) {
    const int n = SelectedCount();
    if (count_ - n <= 2) {
        prompter.Information(str::kTooFewVertices);
        return false;
    }
    if (n == 0) {
        return false;
    }
    if (n > 1 && !prompter.AskYesNo(str::kDeleteSelectedVertices)) {
        return false;
    }
    if (!PushSnapshot()) {
        return false;
    }
    int kept = 0;
    for (int i = 0; i < count_; ++i) {
        if (selected_[std::size_t(i)] == 0) {
            vertices_[std::size_t(kept++)] = vertices_[std::size_t(i)];
        }
    }
    count_ = kept;
    VerticesChanged();
    ClearVertexSelection();
    wholeSelection_ = false;
    frame_.reset();
    mainVertex_ = -1;
    return true;
}

bool Barrier::InsertOnSide(int k, Prompter& prompter) {
    if (k < 1 || k > 3) {
        return false;
    }
    if (count_ > kBarrierCapacity - k) {
        prompter.Error(str::kCannotAddMore);
        return false;
    }
    int a = -1;
    int b = -1;
    for (int i = 0; i < count_ && b < 0; ++i) {
        if (IsSelected(i)) {
            (a < 0 ? a : b) = i;
        }
    }
    if (b < 0 || !PushSnapshot()) {
        return false;
    }
    const Point pa = vertices_[std::size_t(a)];
    const Point pb = vertices_[std::size_t(b)];
    const Point m = Mid(pa, pb);
    const Point q1 = Mid(pa, m);
    const Point q3 = Mid(m, pb);
    std::array<Point, 3> points{};
    if (k == 1) {
        points[0] = m;
    } else if (k == 2) {
        points = {q1, q3, {}};
    } else {
        points = {q1, m, q3};
    }
    int at = a + 1;
    if (a == 0 && b != 1) {
        // The closing side runs from the last vertex back to vertex 0.
        std::reverse(points.begin(), points.begin() + k);
        at = count_;
    } else {
        std::copy_backward(vertices_.begin() + at, vertices_.begin() + count_,
                           vertices_.begin() + count_ + k);
        std::copy_backward(selected_.begin() + at, selected_.begin() + count_,
                           selected_.begin() + count_ + k);
        if (mainVertex_ >= at) {
            mainVertex_ += k;
        }
    }
    for (int j = 0; j < k; ++j) {
        vertices_[std::size_t(at + j)] = points[std::size_t(j)];
        selected_[std::size_t(at + j)] = 1;
    }
    count_ += k;
    VerticesChanged();
    wholeSelection_ = false;
    frame_.reset();
    return true;
}

}  // namespace palvex
