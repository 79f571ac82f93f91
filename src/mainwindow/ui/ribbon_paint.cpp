#include "mainwindow/ui/ribbon_paint.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QWidgetAction>
#include <algorithm>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_look.h"

namespace palvex::ui {

void PaintBox(QPainter& painter, const QRectF& rect, const QColor& top, const QColor& bottom,
              const QColor& border, const RibbonLook& look, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, !look.flat);
    const QRectF box = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(border.isValid() ? QPen(border, 1) : QPen(Qt::NoPen));
    painter.setBrush(gradient);
    if (look.flat) {
        painter.drawRect(box);
    } else {
        painter.drawRoundedRect(box, radius, radius);
    }
    painter.restore();
}

void PaintHighlight(QPainter& painter, const QRectF& rect, const RibbonLook& look,
                    FillState state) {
    switch (state) {
        case FillState::Hover:
            PaintBox(painter, rect, look.hoverTop, look.hoverBottom, look.hoverBorder, look);
            break;
        case FillState::Pressed:
            PaintBox(painter, rect, look.pressedTop, look.pressedBottom, look.pressedBorder, look);
            break;
        case FillState::Checked:
            PaintBox(painter, rect, look.checkedTop, look.checkedBottom, look.checkedBorder, look);
            break;
        case FillState::CheckedHover:
            PaintBox(painter, rect, look.checkedTop.lighter(104), look.pressedBottom,
                     look.pressedBorder, look);
            break;
    }
    if (!look.flat) {
        // The glassy upper half of the Office highlights.
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        QRectF shine = rect.adjusted(1.5, 1.5, -1.5, 0);
        shine.setHeight(rect.height() * 0.42);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 70));
        painter.drawRoundedRect(shine, 2, 2);
        painter.restore();
    }
}

void PaintDropArrow(QPainter& painter, const QPointF& centre, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath path;
    path.moveTo(centre + QPointF(-3, -1.5));
    path.lineTo(centre + QPointF(3, -1.5));
    path.lineTo(centre + QPointF(0, 1.5));
    path.closeSubpath();
    painter.drawPath(path);
    painter.restore();
}

void AddMenuHeading(QMenu* menu, const QString& text) {
    auto* label = new QLabel(text, menu);
    label->setObjectName("menuHeading");
    label->setAutoFillBackground(true);
    label->setContentsMargins(8, 3, 8, 3);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    const RibbonLook& look = LookOf(menu);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, look.menuHeading);
    colours.setColor(QPalette::WindowText, look.menuHeadingText);
    label->setPalette(colours);
    auto* holder = new QWidgetAction(menu);
    holder->setDefaultWidget(label);
    holder->setEnabled(false);
    menu->addAction(holder);
}

QString DisplayText(const QString& label) {
    QString text;
    text.reserve(label.size());
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) {
            ++i;  // "&&" shows one "&"; "&X" shows X
        }
        text += label[i];
    }
    return text;
}

QString TwoLineText(const QString& label) {
    QString text = DisplayText(label);
    const qsizetype blank = text.indexOf(' ');
    if (blank > 0) {
        text[blank] = '\n';
    }
    return text;
}

QStringList LargeLabelLines(const QString& label, const QFontMetrics& metrics) {
    const QString text = DisplayText(label);
    qsizetype best = -1;
    int bestWidth = 0;
    for (qsizetype blank = text.indexOf(' '); blank > 0; blank = text.indexOf(' ', blank + 1)) {
        const int wider = std::max(metrics.horizontalAdvance(text.left(blank)),
                                   metrics.horizontalAdvance(text.mid(blank + 1)));
        // Ties keep the earlier blank, as the plain break at the first blank does.
        if (best < 0 || wider < bestWidth) {
            best = blank;
            bestWidth = wider;
        }
    }
    if (best < 0) {
        return {text};
    }
    return {text.left(best), text.mid(best + 1)};
}

QString PromptToolTip(std::string_view prompt, const QString& fallback) {
    if (prompt.empty()) {
        return fallback.isEmpty() ? QString() : DisplayText(fallback).toHtmlEscaped();
    }
    const std::size_t line = prompt.find('\n');
    const QString description = ToQString(prompt.substr(0, line));
    const QString title =
        line == std::string_view::npos ? QString() : ToQString(prompt.substr(line + 1));
    return QString("<p style='white-space:pre'><b>%1</b></p><p>%2</p>")
        .arg(title.toHtmlEscaped(), description.toHtmlEscaped());
}

}  // namespace palvex::ui
