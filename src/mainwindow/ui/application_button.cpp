#include "mainwindow/ui/application_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/icon_art.h"
#include "mainwindow/ui/ribbon_look.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr int kTabHeight = 24;

}  // namespace

ApplicationButton::ApplicationButton(QWidget* parent) : QAbstractButton(parent) {
    setObjectName("applicationButton");
    // Reached by Tab; a click leaves the keyboard where it was.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setToolTip(ToQString(texts::kApplicationButtonTip));
    setText(ToQString(texts::kApplicationMenu));
}

QSize ApplicationButton::sizeHint() const {
    return {std::max(56, fontMetrics().horizontalAdvance(text()) + 24), 50};
}

QPoint ApplicationButton::MenuPosition() const {
    return mapToGlobal(QPoint(0, height()));
}

void ApplicationButton::SetOpen(bool open) {
    open_ = open;
    update();
}

void ApplicationButton::enterEvent(QEnterEvent* event) {
    update();
    QAbstractButton::enterEvent(event);
}

void ApplicationButton::leaveEvent(QEvent* event) {
    update();
    QAbstractButton::leaveEvent(event);
}

void ApplicationButton::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::AltModifier);
    if (modifiers == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
         event->key() == Qt::Key_Down)) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ApplicationButton::focusInEvent(QFocusEvent* event) {
    update();
    QAbstractButton::focusInEvent(event);
}

void ApplicationButton::focusOutEvent(QFocusEvent* event) {
    update();
    QAbstractButton::focusOutEvent(event);
}

void ApplicationButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (LookOf(this).TabButton()) {
        PaintTab(painter);
    } else {
        PaintOrb(painter);
    }
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(LookOf(this).tabText, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void ApplicationButton::PaintOrb(QPainter& painter) {
    const RibbonLook& look = LookOf(this);
    const QRectF ball = QRectF(4, 2, 46, 46);
    const bool hot = underMouse() || open_;
    QRadialGradient fill(ball.center() + QPointF(0, 10), ball.width() * 0.75);
    fill.setColorAt(0, hot ? look.hoverBottom : look.orbTop);
    fill.setColorAt(1, look.orbBottom);
    painter.setPen(QPen(look.orbRing, 2));
    painter.setBrush(fill);
    painter.drawEllipse(ball);
    // The glass of the upper half.
    QPainterPath shine;
    shine.addEllipse(ball.adjusted(5, 3, -5, -ball.height() * 0.45));
    QLinearGradient glass(ball.topLeft(), QPointF(ball.left(), ball.center().y()));
    glass.setColorAt(0, QColor(255, 255, 255, 170));
    glass.setColorAt(1, QColor(255, 255, 255, 20));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glass);
    painter.drawPath(shine);
    // The product's mark: a picture whose background has become transparent.
    const QRectF tile(ball.center().x() - 10, ball.center().y() - 8, 20, 18);
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(tile, 3, 3);
    painter.setClipPath(clip);
    art::Checker(painter, tile, 3.4);
    painter.setBrush(QColor(0xe0, 0x4a, 0x2c));
    painter.setPen(QPen(QColor(0x8a, 0x22, 0x12), 1));
    painter.drawEllipse(tile.center() + QPointF(0, 1), 6, 6);
    painter.restore();
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(tile, 3, 3);
}

void ApplicationButton::PaintTab(QPainter& painter) {
    const RibbonLook& look = LookOf(this);
    const QRectF tab(2, height() - kTabHeight + 2, width() - 4, kTabHeight - 2);
    const bool hot = underMouse() || open_;
    QLinearGradient fill(tab.topLeft(), tab.bottomLeft());
    fill.setColorAt(0, hot ? look.orbTop.lighter(115) : look.orbTop);
    fill.setColorAt(1, look.orbBottom);
    painter.setPen(QPen(look.orbRing, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(tab, look.flat ? 0 : 3, look.flat ? 0 : 3);
    painter.setPen(Qt::white);
    painter.drawText(tab, Qt::AlignCenter, text());
}

}  // namespace palvex::ui
