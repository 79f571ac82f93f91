#include "mainwindow/ui/ribbon_tab_bar.h"

#include <QPainter>
#include <QPainterPath>

#include "mainwindow/ui/ribbon_look.h"

namespace palvex::ui {

RibbonTabBar::RibbonTabBar(QWidget* parent) : QTabBar(parent) {
    setObjectName("ribbonTabs");
    setDrawBase(false);
    setExpanding(false);
    // Reached by Tab; the arrows then switch tabs. A click leaves the keyboard where it was.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setElideMode(Qt::ElideNone);
    // A narrow window scrolls the tabs rather than pushing them under the tab row's buttons.
    setUsesScrollButtons(true);
}

QSize RibbonTabBar::tabSizeHint(int index) const {
    return {fontMetrics().horizontalAdvance(tabText(index)) + 26, 24};
}

void RibbonTabBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const RibbonLook& look = LookOf(this);
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    for (int i = 0; i < count(); ++i) {
        const QRectF tab = QRectF(tabRect(i)).adjusted(1.5, 2.5, -1.5, 0.5);
        const bool active = i == currentIndex();
        const bool hover = underMouse() && tabRect(i).contains(pointer);
        if (active || hover) {
            QPainterPath shape;
            const qreal r = look.flat ? 0 : 3;
            shape.moveTo(tab.bottomLeft() + QPointF(0, 1));
            shape.lineTo(tab.left(), tab.top() + r);
            shape.quadTo(tab.topLeft(), tab.topLeft() + QPointF(r, 0));
            shape.lineTo(tab.right() - r, tab.top());
            shape.quadTo(tab.topRight(), tab.topRight() + QPointF(0, r));
            shape.lineTo(tab.bottomRight() + QPointF(0, 1));
            QLinearGradient fill(tab.topLeft(), tab.bottomLeft());
            if (active) {
                fill.setColorAt(0, look.bodyTop.lighter(103));
                fill.setColorAt(1, look.bodyTop);
            } else {
                fill.setColorAt(0, look.tabHover);
                fill.setColorAt(1, look.tabHover.darker(104));
            }
            painter.setPen(QPen(look.tabBorder, 1));
            painter.setBrush(fill);
            painter.drawPath(shape);
            if (active && !look.flat) {
                // A warm edge along the top of the active tab, as Office draws it.
                painter.setPen(QPen(look.hoverBottom, 1.2));
                painter.drawLine(tab.topLeft() + QPointF(r, 0.6),
                                 tab.topRight() - QPointF(r, -0.6));
            }
        }
        painter.setPen(active ? look.activeTabText : look.tabText);
        painter.drawText(tabRect(i).adjusted(0, 2, 0, 0), Qt::AlignCenter, tabText(i));
        if (active && hasFocus()) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(look.activeTabText, 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(tabRect(i).adjusted(4, 5, -5, -3));
            painter.restore();
        }
    }
}

}  // namespace palvex::ui
