#include "dialogs/ui/print_preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace palvex::ui {
namespace {

constexpr double kHitDistance = 3;

}  // namespace

PrintPreview::PrintPreview(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(200, 200);
}

void PrintPreview::SetState(const State& state) {
    state_ = state;
    update();
}

LayoutRect PrintPreview::PrintableArea() const {
    const LayoutRect& paper = state_.paper;
    const int left = paper.left + static_cast<int>(state_.margins[Left]);
    const int top = paper.top + static_cast<int>(state_.margins[Top]);
    const int right = paper.left + paper.width - static_cast<int>(state_.margins[Right]);
    const int bottom = paper.top + paper.height - static_cast<int>(state_.margins[Bottom]);
    return {left, top, right - left, bottom - top};
}

LayoutRect PrintPreview::Source() const {
    if (state_.fitOnePage) {
        return {0, 0, image_.width(), image_.height()};
    }
    return PageSource(state_.page, state_.columns, state_.tileWidth, state_.tileHeight,
                      image_.width(), image_.height());
}

double PrintPreview::LinePosition(int side) const {
    const LayoutRect& paper = state_.paper;
    switch (side) {
        case Left:
            return paper.left + state_.margins[Left];
        case Right:
            return paper.left + paper.width - state_.margins[Right];
        case Top:
            return paper.top + state_.margins[Top];
        default:
            return paper.top + paper.height - state_.margins[Bottom];
    }
}

int PrintPreview::HitMargin(QPoint point) const {
    if (!state_.showMargins || state_.paper.Empty()) {
        return -1;
    }
    for (const int side : {Left, Top, Right, Bottom}) {
        const double at = side == Left || side == Right ? point.x() : point.y();
        if (std::abs(at - LinePosition(side)) < kHitDistance) {
            return side;
        }
    }
    return -1;
}

double PrintPreview::DragDistance(QPoint point) const {
    const LayoutRect& paper = state_.paper;
    double distance = 0;
    switch (dragging_) {
        case Left:
            distance = point.x() - paper.left;
            break;
        case Right:
            distance = paper.left + paper.width - point.x();
            break;
        case Top:
            distance = point.y() - paper.top;
            break;
        default:
            distance = paper.top + paper.height - point.y();
            break;
    }
    const double lower = state_.lowerLimits[static_cast<std::size_t>(dragging_)];
    return std::clamp(distance, lower, std::max(lower, state_.upperLimit));
}

void PrintPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const LayoutRect& paper = state_.paper;
    if (paper.Empty()) {
        return;
    }
    const QRect sheet(paper.left, paper.top, paper.width, paper.height);
    painter.fillRect(sheet.translated(5, 5), QColor(128, 128, 128));
    painter.fillRect(sheet, Qt::white);
    painter.setPen(QColor(192, 192, 192));
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));

    // Margins that leave no printable part draw no image (and divide by nothing).
    const LayoutRect area = PrintableArea();
    if (!area.Empty() && !image_.isNull() && state_.scale > 0) {
        const LayoutRect source = Source();
        LayoutRect target;
        if (state_.fitOnePage) {
            target = FitImage(area, image_.width(), image_.height());
        } else {
            target = {area.left, area.top, static_cast<int>(source.width * state_.scale),
                      static_cast<int>(source.height * state_.scale)};
        }
        if (!source.Empty() && !target.Empty()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(target.left, target.top, target.width, target.height), image_,
                              QRect(source.left, source.top, source.width, source.height));
        }
    }

    if (state_.showMargins) {
        painter.setPen(QPen(QColor(247, 247, 247), 1, Qt::DotLine));
        for (const int side : {Left, Right}) {
            const int x = static_cast<int>(LinePosition(side));
            painter.drawLine(x, sheet.top(), x, sheet.bottom());
        }
        for (const int side : {Top, Bottom}) {
            const int y = static_cast<int>(LinePosition(side));
            painter.drawLine(sheet.left(), y, sheet.right(), y);
        }
    }
    if (dragging_ >= 0) {
        painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
        if (dragging_ == Left || dragging_ == Right) {
            const int x =
                static_cast<int>(dragging_ == Left ? paper.left + dragDistance_
                                                   : paper.left + paper.width - dragDistance_);
            painter.drawLine(x, sheet.top(), x, sheet.bottom());
        } else {
            const int y =
                static_cast<int>(dragging_ == Top ? paper.top + dragDistance_
                                                  : paper.top + paper.height - dragDistance_);
            painter.drawLine(sheet.left(), y, sheet.right(), y);
        }
    }
}

void PrintPreview::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (dragging_ >= 0) {
        dragDistance_ = DragDistance(point);
        update();
        return;
    }
    const int side = HitMargin(point);
    if (side < 0) {
        unsetCursor();
    } else {
        setCursor(side == Left || side == Right ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    }
}

void PrintPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    dragging_ = HitMargin(event->position().toPoint());
    if (dragging_ >= 0) {
        dragDistance_ = DragDistance(event->position().toPoint());
        update();
    }
}

void PrintPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragging_ < 0) {
        return;
    }
    const int side = dragging_;
    const double distance = DragDistance(event->position().toPoint());
    dragging_ = -1;
    update();
    if (marginDragged) {
        marginDragged(side, distance);
    }
}

void PrintPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (resized) {
        resized();
    }
}

}  // namespace palvex::ui
