#include "mainwindow/ui/ribbon_slider.h"

#include <QAccessible>
#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_accessible.h"
#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_paint.h"

namespace palvex::ui {
namespace {

constexpr int kButton = 16;
constexpr int kHeight = 22;

void PaintStepButton(QPainter& painter, const QRect& box, bool plus, bool hover,
                     const RibbonLook& look, bool enabled) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(box).adjusted(2, 2, -2, -2);
    QRadialGradient fill(circle.center() - QPointF(2, 2), circle.width());
    fill.setColorAt(0, hover ? look.hoverTop : QColor(255, 255, 255));
    fill.setColorAt(1, hover ? look.hoverBottom : look.panelBottom);
    painter.setPen(QPen(hover ? look.hoverBorder : look.panelBorder, 1));
    painter.setBrush(fill);
    painter.drawEllipse(circle);
    painter.setPen(QPen(enabled ? look.text : look.disabledText, 1.6));
    const QPointF c = circle.center();
    painter.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
    if (plus) {
        painter.drawLine(c - QPointF(0, 3), c + QPointF(0, 3));
    }
    painter.restore();
}

}  // namespace

RibbonSlider::RibbonSlider(const CommandInfo& row, QAction* action, QWidget* parent)
    : QWidget(parent),
      row_(row),
      action_(action),
      low_(row.range.low),
      high_(row.range.high),
      position_(row.range.initial),
      trackWidth_(row.range.width) {
    setObjectName(ToQString(row.name));
    setProperty("commandId", row.id);
    setMouseTracking(true);
    setToolTip(PromptToolTip(row.prompt, {}));
    setFocusPolicy(Qt::TabFocus);
    NameAfterCommand(this, row_, {});
    if (action_ != nullptr) {
        connect(action_, &QAction::changed, this, [this] { setEnabled(action_->isEnabled()); });
        setEnabled(action_->isEnabled());
    }
}

QSize RibbonSlider::sizeHint() const {
    return {trackWidth_ + (stepButtons_ ? 2 * kButton + 4 : 0), kHeight};
}

QRect RibbonSlider::DecreaseRect() const {
    return stepButtons_ ? QRect(0, (height() - kButton) / 2, kButton, kButton) : QRect();
}

QRect RibbonSlider::IncreaseRect() const {
    return stepButtons_ ? QRect(width() - kButton, (height() - kButton) / 2, kButton, kButton)
                        : QRect();
}

QRect RibbonSlider::TrackRect() const {
    const int left = stepButtons_ ? kButton + 2 : 0;
    return QRect(left + 5, height() / 2 - 2, width() - 2 * left - 10, 4);
}

void RibbonSlider::SetRange(int low, int high) {
    low_ = low;
    high_ = std::max(low, high);
    SetPosition(position_);
}

void RibbonSlider::SetStepButtons(bool on) {
    stepButtons_ = on;
    updateGeometry();
    update();
}

void RibbonSlider::SetPosition(int position) {
    position = std::clamp(position, low_, high_);
    if (position == position_) {
        return;
    }
    position_ = position;
    update();
    AnnounceValue();
}

void RibbonSlider::AnnounceValue() {
    QAccessibleValueChangeEvent changed(this, position_);
    QAccessible::updateAccessibility(&changed);
}

void RibbonSlider::MoveTo(int position) {
    position = std::clamp(position, low_, high_);
    if (position == position_) {
        return;
    }
    position_ = position;
    update();
    AnnounceValue();
    emit Moved(position_);
    if (action_ != nullptr) {
        action_->trigger();
    }
}

void RibbonSlider::Step(int delta) {
    MoveTo(position_ + delta);
}

int RibbonSlider::ThumbX() const {
    const QRect track = TrackRect();
    if (high_ == low_) {
        return track.left();
    }
    return track.left() + (position_ - low_) * track.width() / (high_ - low_);
}

int RibbonSlider::PositionAt(int x) const {
    const QRect track = TrackRect();
    if (track.width() <= 0 || high_ == low_) {
        return low_;
    }
    const double fraction = static_cast<double>(x - track.left()) / track.width();
    return low_ + static_cast<int>(std::lround(fraction * (high_ - low_)));
}

void RibbonSlider::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const RibbonLook& look = LookOf(this);
    const bool enabled = isEnabled();
    if (stepButtons_) {
        PaintStepButton(painter, DecreaseRect(), false, DecreaseRect().contains(hover_), look,
                        enabled);
        PaintStepButton(painter, IncreaseRect(), true, IncreaseRect().contains(hover_), look,
                        enabled);
    }
    const QRect track = TrackRect();
    painter.setPen(look.panelBorder.darker(115));
    painter.setBrush(look.panelBottom.darker(108));
    painter.drawRect(track.adjusted(0, 0, -1, -1));
    // Ticks at every position.
    painter.setPen(look.panelBorder);
    for (int value = low_; value <= high_ && high_ > low_; ++value) {
        const int x = track.left() + (value - low_) * track.width() / (high_ - low_);
        painter.drawLine(x, track.bottom() + 3, x, track.bottom() + 5);
    }
    const QRectF thumb(ThumbX() - 4.5, height() / 2.0 - 7, 9, 12);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF shape;
    shape << thumb.topLeft() << thumb.topRight() << QPointF(thumb.right(), thumb.bottom() - 3)
          << QPointF(thumb.center().x(), thumb.bottom())
          << QPointF(thumb.left(), thumb.bottom() - 3);
    QLinearGradient fill(thumb.topLeft(), thumb.bottomLeft());
    const bool hot = dragging_ || thumb.contains(hover_);
    fill.setColorAt(0, hot ? look.hoverTop : QColor(255, 255, 255));
    fill.setColorAt(1, hot ? look.hoverBottom : look.panelBottom.darker(106));
    painter.setPen(QPen(enabled ? look.text : look.disabledText, 1));
    painter.setBrush(fill);
    painter.drawPolygon(shape);
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(enabled ? look.text : look.disabledText, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void RibbonSlider::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
        case Qt::Key_Minus:
            Step(-1);
            return;
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Plus:
            Step(1);
            return;
        case Qt::Key_Home:
            Step(low_ - position_);
            return;
        case Qt::Key_End:
            Step(high_ - position_);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void RibbonSlider::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void RibbonSlider::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void RibbonSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (DecreaseRect().contains(point)) {
        Step(-1);
    } else if (IncreaseRect().contains(point)) {
        Step(1);
    } else {
        dragging_ = true;
        MoveTo(PositionAt(point.x()));
    }
}

void RibbonSlider::mouseMoveEvent(QMouseEvent* event) {
    hover_ = event->position().toPoint();
    if (dragging_) {
        MoveTo(PositionAt(hover_.x()));
    }
    update();
}

void RibbonSlider::mouseReleaseEvent(QMouseEvent* /*event*/) {
    dragging_ = false;
    update();
}

void RibbonSlider::leaveEvent(QEvent* /*event*/) {
    hover_ = {-1, -1};
    update();
}

}  // namespace palvex::ui
