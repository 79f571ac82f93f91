#include "mainwindow/ui/ribbon_page_area.h"

#include <QScrollBar>
#include <QToolButton>

namespace palvex::ui {
namespace {

constexpr int kArrowWidth = 14;
constexpr int kStep = 60;

}  // namespace

RibbonPageArea::RibbonPageArea(QWidget* page, QWidget* parent)
    : QScrollArea(parent), left_(new QToolButton(this)), right_(new QToolButton(this)) {
    setObjectName(page->objectName() + ":area");
    setFrameShape(QFrame::NoFrame);
    // The keyboard stays with the canvas, as with the rest of the ribbon.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setWidget(page);
    // The ribbon paints the body's background behind the panels.
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    page->setAutoFillBackground(false);
    for (auto [arrow, type, direction] :
         {std::tuple{left_, Qt::LeftArrow, -1}, std::tuple{right_, Qt::RightArrow, 1}}) {
        arrow->setObjectName(direction < 0 ? "scrollLeft" : "scrollRight");
        arrow->setArrowType(type);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->hide();
        connect(arrow, &QToolButton::clicked, this, [this, d = direction] { ScrollBy(d); });
    }
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, &RibbonPageArea::UpdateArrows);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &RibbonPageArea::UpdateArrows);
}

void RibbonPageArea::ScrollBy(int direction) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + direction * kStep);
}

void RibbonPageArea::UpdateArrows() {
    const QScrollBar* bar = horizontalScrollBar();
    left_->setGeometry(0, 0, kArrowWidth, height());
    right_->setGeometry(width() - kArrowWidth, 0, kArrowWidth, height());
    left_->setVisible(bar->value() > bar->minimum());
    right_->setVisible(bar->value() < bar->maximum());
    left_->raise();
    right_->raise();
}

void RibbonPageArea::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    UpdateArrows();
}

}  // namespace palvex::ui
