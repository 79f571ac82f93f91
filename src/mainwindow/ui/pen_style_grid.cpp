#include "mainwindow/ui/pen_style_grid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr int kColumns = 3;
constexpr int kItemWidth = 48;
constexpr int kItemHeight = 40;
constexpr int kPad = 4;

}  // namespace

PenStyleGrid::PenStyleGrid(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    NameAfter(selected_);
}

void PenStyleGrid::NameAfter(int item) {
    // A screen reader names the grid after the shape the keys stand on.
    if (item >= 0 && item < kPenShapeCount) {
        setAccessibleName(ToQString(texts::kPenShapeNames[static_cast<std::size_t>(item)]));
    }
}

void PenStyleGrid::SetHighlighted(int item) {
    hover_ = item;
    NameAfter(item >= 0 ? item : selected_);
    update();
}

void PenStyleGrid::ChooseItem(int item) {
    if (item < 0 || item >= kPenShapeCount) {
        return;
    }
    selected_ = item;
    emit ItemChosen(item);
}

void PenStyleGrid::keyPressEvent(QKeyEvent* event) {
    const int current = hover_ >= 0 ? hover_ : selected_;
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
            step = -kColumns;
            break;
        case Qt::Key_Down:
            step = kColumns;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            ChooseItem(current);
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    const int next = current + step;
    if (next >= 0 && next < kPenShapeCount) {
        SetHighlighted(next);
    }
}

QSize PenStyleGrid::sizeHint() const {
    const int rows = (kPenShapeCount + kColumns - 1) / kColumns;
    return {kPad + kColumns * (kItemWidth + kPad), kPad + rows * (kItemHeight + kPad)};
}

QRect PenStyleGrid::ItemRect(int item) const {
    return QRect(kPad + (item % kColumns) * (kItemWidth + kPad),
                 kPad + (item / kColumns) * (kItemHeight + kPad), kItemWidth, kItemHeight);
}

void PenStyleGrid::SetSelected(int item) {
    selected_ = item;
    NameAfter(hover_ >= 0 ? hover_ : item);
    update();
}

int PenStyleGrid::ItemAt(const QPoint& point) const {
    for (int item = 0; item < kPenShapeCount; ++item) {
        if (ItemRect(item).adjusted(-2, -2, 2, 2).contains(point)) {
            return item;
        }
    }
    return -1;
}

void PenStyleGrid::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const RibbonLook& look = LookOf(this);
    painter.fillRect(rect(), look.menuBack);
    for (int item = 0; item < kPenShapeCount; ++item) {
        const QRect box = ItemRect(item);
        if (item == hover_ || item == selected_) {
            PaintHighlight(painter, box.adjusted(-2, -2, 2, 2), look,
                           item == hover_ ? FillState::Hover : FillState::Checked);
        }
        painter.drawPixmap(box.topLeft(), PenShapePicture(item));
    }
}

void PenStyleGrid::mouseMoveEvent(QMouseEvent* event) {
    const int item = ItemAt(event->position().toPoint());
    if (item != hover_) {
        hover_ = item;
        update();
    }
}

void PenStyleGrid::leaveEvent(QEvent* /*event*/) {
    hover_ = -1;
    update();
}

void PenStyleGrid::mouseReleaseEvent(QMouseEvent* event) {
    const int item = ItemAt(event->position().toPoint());
    if (item >= 0 && event->button() == Qt::LeftButton) {
        ChooseItem(item);
    }
}

bool PenStyleGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int item = ItemAt(help->pos());
        if (item >= 0) {
            QToolTip::showText(help->globalPos(),
                               ToQString(texts::kPenShapeNames[static_cast<std::size_t>(item)]),
                               this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace palvex::ui
