#include "mainwindow/ui/key_help_tip.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace palvex::ui {

KeyHelpTip::KeyHelpTip(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName("keyHelpTip");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(112, 146, 190));
    colours.setColor(QPalette::WindowText, QColor(255, 255, 128));
    setPalette(colours);
    setContentsMargins(5, 1, 5, 1);
    setMaximumWidth(kMaxWidth);
    setWordWrap(false);
    setTextFormat(Qt::PlainText);
    showTimer_.setSingleShot(true);
    hideTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &KeyHelpTip::ShowNow);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void KeyHelpTip::SetHelpText(const QString& text) {
    if (text == this->text()) {
        return;
    }
    setText(text);
    setWordWrap(false);
    setMaximumWidth(QWIDGETSIZE_MAX);
    // A window is never sized past two thirds of its screen, so a small screen wraps too.
    int room = kMaxWidth;
    if (const QScreen* shown = screen()) {
        room = std::min(room, shown->availableGeometry().width() * 2 / 3);
    }
    const bool tooWide = sizeHint().width() > room;
    setMaximumWidth(room);
    setWordWrap(tooWide);
    if (tooWide) {
        // A wrapping label would choose its own narrower width; the tip keeps the widest.
        setMinimumWidth(room);
    } else {
        setMinimumWidth(0);
    }
    adjustSize();
}

void KeyHelpTip::RelayMouseMove(const QPoint& global) {
    pointer_ = global;
    setMaximumWidth(kMaxWidth);
}

void KeyHelpTip::Activate(bool on) {
    if (on == active_) {
        return;
    }
    active_ = on;
    if (on) {
        showTimer_.start(shownOnce_ ? kReshowDelay : kInitialDelay);
        return;
    }
    showTimer_.stop();
    hideTimer_.stop();
    hide();
}

void KeyHelpTip::ShowNow() {
    if (!active_) {
        return;
    }
    adjustSize();
    QPoint at = pointer_ + QPoint(12, 20);
    if (const QScreen* screen = QGuiApplication::screenAt(pointer_)) {
        const QRect area = screen->availableGeometry();
        at.setX(std::min(at.x(), area.right() - width()));
        at.setY(std::min(at.y(), area.bottom() - height()));
    }
    move(at);
    show();
    raise();
    shownOnce_ = true;
    hideTimer_.start(kVisibleTime);
}

}  // namespace palvex::ui
