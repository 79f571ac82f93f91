#include <QPainter>
#include <algorithm>

#include "app/ui/qt_colour.h"
#include "barrier/ui/barrier_tool.h"
#include "canvas/ui/overlay_font.h"
#include "canvas/ui/vemmar_view.h"
#include "image/colour.h"

namespace palvex::ui {
namespace {

constexpr int kHandleHalf = 4;
constexpr int kMarkerHalf = 4;
constexpr int kNumberBox = 36;
constexpr int kNumberShift = 8;
constexpr int kPreviewMargin = 4;
const QColor kGrey(123, 123, 123);
const QColor kMainOutline(123, 0, 0);

// The main vertex is filled a little darker than the other selected ones.
QColor Darker(Colour c) {
    return QColor(std::max(RedOf(c) - 50, 0), std::max(GreenOf(c) - 50, 0),
                  std::max(BlueOf(c) - 50, 0));
}

int Zoom(int v, float zoom) {
    return static_cast<int>(static_cast<float>(v) * zoom);
}

Point ToWindow(Point image, const BarrierView& view) {
    return {Zoom(image.x, view.zoom) - view.scroll.x, Zoom(image.y, view.zoom) - view.scroll.y};
}

QPoint Q(Point p) {
    return {p.x, p.y};
}

struct Bounds {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool any = false;

    void Add(Point p) {
        if (!any) {
            left = right = p.x;
            top = bottom = p.y;
            any = true;
            return;
        }
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    Rect Grown(int margin) const {
        if (!any) {
            return {};
        }
        return {left - margin, top - margin, right + 1 + margin, bottom + 1 + margin};
    }
};

}  // namespace

void BarrierTool::PaintOnFrame(QPainter& painter, const Rect& /*clip*/) {
    if (!BarrierMode() || barrier_.Count() == 0) {
        return;
    }
    const BarrierView view = View();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (barrier_.Frame()) {
        PaintFrame(painter, view);
    }
    PaintLines(painter, view);
    if (services_.model.settings.showBarrierPoints == 1) {
        PaintMarkers(painter, view);
    }
    if (services_.model.settings.showBarrierNumbers == 1) {
        PaintNumbers(painter, view);
    }
    painter.restore();
}

void BarrierTool::PaintFrame(QPainter& painter, const BarrierView& view) const {
    const Rect r = *barrier_.Frame();
    const QColor colour = ToQColor(services_.model.settings.selectionLineColour);
    const Point lt = ToWindow({r.left, r.top}, view);
    const Point rb = ToWindow({r.right, r.bottom}, view);
    const int right = rb.x - 1;
    const int bottom = rb.y - 1;
    // Left, top, right, bottom; the selected side is drawn wider.
    const std::array<std::pair<QPoint, QPoint>, 4> sides{{
        {{lt.x, lt.y}, {lt.x, bottom}},
        {{lt.x, lt.y}, {right, lt.y}},
        {{right, lt.y}, {right, bottom}},
        {{lt.x, bottom}, {right, bottom}},
    }};
    for (int side = 0; side < 4; ++side) {
        QPen pen(colour, side == barrier_.SelectedSide() ? 3 : 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawLine(sides[std::size_t(side)].first, sides[std::size_t(side)].second);
    }
    painter.setPen(QPen(kGrey, 1));
    painter.setBrush(colour);
    const std::array<Point, 8> handles = barrier_.FrameHandles();
    for (int i = 0; i < 8; ++i) {
        const Point h = ToWindow(handles[std::size_t(i)], view);
        const QRect box(h.x - kHandleHalf, h.y - kHandleHalf, 2 * kHandleHalf, 2 * kHandleHalf);
        if (i < 4) {
            painter.drawRect(box);
        } else {
            painter.drawEllipse(box);
        }
    }
}

void BarrierTool::PaintLines(QPainter& painter, const BarrierView& view) const {
    const AppSettings& settings = services_.model.settings;
    const QPen plain(ToQColor(settings.barrierLineColour), 1);
    const QPen selected(ToQColor(settings.barrierSelectedLineColour), 3);
    const int count = barrier_.Count();
    const int sides = barrier_.Adding() ? count - 1 : count;
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % count;
        painter.setPen(barrier_.IsSelected(i) && barrier_.IsSelected(j) ? selected : plain);
        painter.drawLine(Q(ToWindow(barrier_.Vertex(i), view)),
                         Q(ToWindow(barrier_.Vertex(j), view)));
    }
    if (count == 1) {
        painter.setPen(plain);
        painter.drawPoint(Q(ToWindow(barrier_.Vertex(0), view)));
    }
}

void BarrierTool::PaintMarkers(QPainter& painter, const BarrierView& view) const {
    const AppSettings& settings = services_.model.settings;
    for (int i = 0; i < barrier_.Count(); ++i) {
        const Point w = ToWindow(barrier_.Vertex(i), view);
        if (i == barrier_.MainVertex()) {
            painter.setPen(QPen(kMainOutline, 2));
            painter.setBrush(Darker(settings.barrierSelectedPointColour));
        } else {
            painter.setPen(QPen(kGrey, 1));
            painter.setBrush(ToQColor(barrier_.IsSelected(i) ? settings.barrierSelectedPointColour
                                                             : settings.barrierPointColour));
        }
        painter.drawEllipse(
            QRect(w.x - kMarkerHalf, w.y - kMarkerHalf, 2 * kMarkerHalf, 2 * kMarkerHalf));
    }
}

void BarrierTool::PaintNumbers(QPainter& painter, const BarrierView& view) const {
    const AppSettings& settings = services_.model.settings;
    painter.setFont(MakeOverlayFont());
    for (int i = 0; i < barrier_.Count(); ++i) {
        const Point w = ToWindow(barrier_.Vertex(i), view);
        painter.setPen(ToQColor(barrier_.IsSelected(i) ? settings.barrierSelectedNumberColour
                                                       : settings.barrierNumberColour));
        const QRect box(w.x + kNumberShift - kNumberBox / 2, w.y + kNumberShift - kNumberBox / 2,
                        kNumberBox, kNumberBox);
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, QString::number(i + 1));
    }
}

// --- Drag previews ---

void BarrierTool::DrawPreview() {
    const Rect area = PreviewArea();
    if (area.IsEmpty()) {
        services_.view.ErasePointerOverlay();
        return;
    }
    // Only `this` is captured: the function keeps it in place, without an allocation.
    services_.view.DrawPointerOverlay(area, [this](QPainter& painter) { PaintPreview(painter); });
}

Rect BarrierTool::PreviewArea() const {
    const BarrierView view = View();
    const int count = barrier_.Count();
    const Point d = barrier_.PendingOffset();
    const auto moved = [&](int i, bool all) {
        Point v = barrier_.Vertex(i);
        if (all || barrier_.IsSelected(i)) {
            v = {v.x + d.x, v.y + d.y};
        }
        return ToWindow(v, view);
    };
    Bounds bounds;
    switch (barrier_.Dragging()) {
        case BarrierDrag::Vertices:
            for (int i = 0; i < count; ++i) {
                if (barrier_.IsSelected(i)) {
                    bounds.Add(moved((i + count - 1) % count, false));
                    bounds.Add(moved(i, false));
                    bounds.Add(moved((i + 1) % count, false));
                }
            }
            break;
        case BarrierDrag::Whole:
            for (int i = 0; i < count; ++i) {
                bounds.Add(moved(i, true));
            }
            break;
        case BarrierDrag::FrameHandle: {
            const Rect f = barrier_.DraggedFrame();
            bounds.Add(ToWindow({f.left, f.top}, view));
            bounds.Add(ToWindow({f.right, f.bottom}, view));
            break;
        }
        case BarrierDrag::RubberBand:
            if (const std::optional<Rect> band = barrier_.RubberBand()) {
                bounds.Add(ToWindow({band->left, band->top}, view));
                bounds.Add(ToWindow({band->right, band->bottom}, view));
            }
            break;
        case BarrierDrag::None:
            break;
    }
    return bounds.Grown(kPreviewMargin);
}

void BarrierTool::PaintPreview(QPainter& painter) const {
    const BarrierView view = View();
    const int count = barrier_.Count();
    const Point d = barrier_.PendingOffset();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ToQColor(services_.model.settings.selectionLineColour), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    const auto at = [&](int i, bool all) {
        Point v = barrier_.Vertex(i);
        if (all || barrier_.IsSelected(i)) {
            v = {v.x + d.x, v.y + d.y};
        }
        return Q(ToWindow(v, view));
    };
    const auto rect = [&](const Rect& r) {
        const Point a = ToWindow({r.left, r.top}, view);
        const Point b = ToWindow({r.right, r.bottom}, view);
        painter.drawRect(QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)));
    };
    switch (barrier_.Dragging()) {
        case BarrierDrag::Vertices:
            for (int i = 0; i < count; ++i) {
                if (barrier_.IsSelected(i)) {
                    painter.drawLine(at((i + count - 1) % count, false), at(i, false));
                    painter.drawLine(at(i, false), at((i + 1) % count, false));
                }
            }
            break;
        case BarrierDrag::Whole:
            for (int i = 0; i < count; ++i) {
                painter.drawLine(at(i, true), at((i + 1) % count, true));
            }
            break;
        case BarrierDrag::FrameHandle:
            rect(barrier_.DraggedFrame());
            break;
        case BarrierDrag::RubberBand:
            if (const std::optional<Rect> band = barrier_.RubberBand()) {
                rect(*band);
            }
            break;
        case BarrierDrag::None:
            break;
    }
}

}  // namespace palvex::ui
