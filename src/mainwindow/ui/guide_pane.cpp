#include "mainwindow/ui/guide_pane.h"

#include <QPainter>

#include "mainwindow/ui/ribbon_look.h"

namespace palvex::ui {

GuidePane::GuidePane(QWidget* parent) : QWidget(parent) {
    setObjectName("guidePane");
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void GuidePane::SetText(const QString& text) {
    text_ = text;
    // A screen reader hears the hint as the pane's name changes.
    setAccessibleName(text);
    setVisible(!text.isEmpty());
    if (!text.isEmpty()) {
        raise();
    }
    update();
}

void GuidePane::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const RibbonLook& look = LookOf(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, look.guideTop);
    fill.setColorAt(1, look.guideBottom);
    painter.fillRect(rect(), fill);
    painter.setPen(look.statusSeparator);
    painter.drawLine(0, 0, width(), 0);
    // A small "i" mark in front of the text.
    const QRectF mark(6, (height() - 14) / 2.0, 14, 14);
    painter.setPen(QPen(look.guideText, 1.2));
    painter.setBrush(look.guideTop.lighter(105));
    painter.drawEllipse(mark);
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(10);
    painter.setFont(bold);
    painter.drawText(mark, Qt::AlignCenter, "i");
    painter.setFont(font());
    painter.setPen(look.guideText);
    const QRect line = rect().adjusted(26, 0, -6, 0);
    painter.drawText(line, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text_, Qt::ElideRight, line.width()));
    // The line covers the status bar, so it shows the bar's keyboard focus too.
    if (parentWidget() != nullptr && parentWidget()->hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(look.guideText, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 2, -2, -2));
    }
}

}  // namespace palvex::ui
