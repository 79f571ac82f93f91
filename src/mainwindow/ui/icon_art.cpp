#include "mainwindow/ui/icon_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace palvex::ui::art {

QPointF OnCircle(const QPointF& centre, qreal radius, qreal degrees) {
    const qreal radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

void Checker(QPainter& p, const QRectF& rect, qreal cell) {
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.fillRect(rect, QColor(0xff, 0xff, 0xff));
    const QColor grey(0xc4, 0xc8, 0xcf);
    int row = 0;
    for (qreal y = rect.top(); y < rect.bottom(); y += cell, ++row) {
        int column = 0;
        for (qreal x = rect.left(); x < rect.right(); x += cell, ++column) {
            if ((row + column) % 2 == 1) {
                p.fillRect(QRectF(x, y, cell, cell), grey);
            }
        }
    }
    p.restore();
}

void Page(QPainter& p, const QRectF& r) {
    const qreal fold = r.width() * 0.3;
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, QColor(0xff, 0xff, 0xff));
    fill.setColorAt(1, QColor(0xe4, 0xea, 0xf2));
    p.setPen(QPen(QColor(0x7d, 0x8a, 0x9c), 1));
    p.setBrush(fill);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(0xd5, 0xdc, 0xe6));
    p.drawPath(corner);
}

void Picture(QPainter& p, const QRectF& r, bool keyed) {
    p.save();
    p.setPen(QPen(QColor(0x6b, 0x58, 0x3c), 1.2));
    p.setBrush(QColor(0xf6, 0xf1, 0xe6));
    p.drawRect(r);
    const QRectF inner = r.adjusted(2, 2, -2, -2);
    p.setClipRect(inner);
    if (keyed) {
        Checker(p, inner, inner.width() / 6);
    } else {
        QLinearGradient sky(inner.topLeft(), inner.bottomLeft());
        sky.setColorAt(0, QColor(0x5d, 0xa9, 0xf0));
        sky.setColorAt(1, QColor(0xc8, 0xe6, 0xff));
        p.fillRect(inner, sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0xd5, 0x3a));
        p.drawEllipse(
            QPointF(inner.right() - inner.width() * 0.25, inner.top() + inner.height() * 0.3),
            inner.width() * 0.12, inner.width() * 0.12);
    }
    QPainterPath hill;
    hill.moveTo(inner.bottomLeft());
    hill.lineTo(inner.left(), inner.bottom() - inner.height() * 0.3);
    hill.quadTo(inner.left() + inner.width() * 0.3, inner.top() + inner.height() * 0.35,
                inner.left() + inner.width() * 0.6, inner.bottom() - inner.height() * 0.3);
    hill.quadTo(inner.right() - inner.width() * 0.15, inner.bottom() - inner.height() * 0.5,
                inner.right(), inner.bottom() - inner.height() * 0.25);
    hill.lineTo(inner.bottomRight());
    hill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3f, 0x9b, 0x3a));
    p.drawPath(hill);
    p.restore();
}

void Floppy(QPainter& p, const QRectF& r) {
    p.save();
    QLinearGradient body(r.topLeft(), r.bottomRight());
    body.setColorAt(0, QColor(0x4f, 0x86, 0xd6));
    body.setColorAt(1, QColor(0x1f, 0x4f, 0x9c));
    p.setPen(QPen(QColor(0x17, 0x3a, 0x72), 1));
    p.setBrush(body);
    QPainterPath disk;
    const qreal cut = r.width() * 0.16;
    disk.moveTo(r.topLeft());
    disk.lineTo(r.right() - cut, r.top());
    disk.lineTo(r.right(), r.top() + cut);
    disk.lineTo(r.bottomRight());
    disk.lineTo(r.bottomLeft());
    disk.closeSubpath();
    p.drawPath(disk);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf6, 0xfa));
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.52, r.width() * 0.6,
                      r.height() * 0.4));
    p.setBrush(QColor(0xb9, 0xc4, 0xd4));
    p.drawRect(
        QRectF(r.left() + r.width() * 0.25, r.top() + 1, r.width() * 0.45, r.height() * 0.3));
    p.setBrush(QColor(0x1f, 0x4f, 0x9c));
    p.drawRect(QRectF(r.left() + r.width() * 0.52, r.top() + 2, r.width() * 0.1, r.height() * 0.2));
    p.restore();
}

void Folder(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(QPen(QColor(0xa6, 0x7a, 0x1c), 1));
    p.setBrush(QColor(0xf1, 0xc2, 0x4c));
    QPainterPath back;
    back.moveTo(r.left(), r.bottom());
    back.lineTo(r.left(), r.top() + 2);
    back.lineTo(r.left() + r.width() * 0.35, r.top() + 2);
    back.lineTo(r.left() + r.width() * 0.45, r.top() + r.height() * 0.2);
    back.lineTo(r.right() - 2, r.top() + r.height() * 0.2);
    back.lineTo(r.right() - 2, r.bottom());
    back.closeSubpath();
    p.drawPath(back);
    QLinearGradient front(r.topLeft(), r.bottomLeft());
    front.setColorAt(0, QColor(0xff, 0xe5, 0x8e));
    front.setColorAt(1, QColor(0xf3, 0xb9, 0x32));
    p.setBrush(front);
    QPainterPath flap;
    flap.moveTo(r.left(), r.bottom());
    flap.lineTo(r.left() + r.width() * 0.12, r.top() + r.height() * 0.38);
    flap.lineTo(r.right(), r.top() + r.height() * 0.38);
    flap.lineTo(r.right() - r.width() * 0.1, r.bottom());
    flap.closeSubpath();
    p.drawPath(flap);
    p.restore();
}

void Badge(QPainter& p, const QRectF& r, const QString& text, const QColor& colour) {
    p.save();
    p.setPen(QPen(colour.darker(140), 0.8));
    p.setBrush(colour);
    p.drawRoundedRect(r, 1.5, 1.5);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(static_cast<int>(r.height() * 0.82));
    font.setStretch(QFont::Condensed);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

void Printer(QPainter& p, const QRectF& r) {
    p.save();
    const qreal w = r.width();
    const qreal h = r.height();
    Page(p, QRectF(r.left() + w * 0.22, r.top(), w * 0.56, h * 0.45));
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(0xe8, 0xeb, 0xf0));
    body.setColorAt(1, QColor(0x9a, 0xa3, 0xb1));
    p.setPen(QPen(QColor(0x4d, 0x57, 0x66), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(r.left(), r.top() + h * 0.35, w, h * 0.45), 2, 2);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawRect(QRectF(r.left() + w * 0.2, r.top() + h * 0.7, w * 0.6, h * 0.3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x35, 0xc0, 0x4a));
    p.drawEllipse(QPointF(r.right() - w * 0.12, r.top() + h * 0.48), w * 0.04, w * 0.04);
    p.restore();
}

void Gear(QPainter& p, const QPointF& c, qreal radius, const QColor& colour) {
    p.save();
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal angle = i * 180.0 / teeth;
        const qreal r = (i % 2 == 0) ? radius : radius * 0.74;
        const QPointF a = OnCircle(c, r, angle - 90.0 / teeth * 0.8);
        const QPointF b = OnCircle(c, r, angle + 90.0 / teeth * 0.8);
        if (i == 0) {
            gear.moveTo(a);
        } else {
            gear.lineTo(a);
        }
        gear.lineTo(b);
    }
    gear.closeSubpath();
    gear.addEllipse(c, radius * 0.32, radius * 0.32);
    gear.setFillRule(Qt::OddEvenFill);
    QRadialGradient fill(c, radius);
    fill.setColorAt(0, colour.lighter(150));
    fill.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(160), 0.8));
    p.setBrush(fill);
    p.drawPath(gear);
    p.restore();
}

void Window(QPainter& p, const QRectF& r, const QColor& title) {
    p.save();
    p.setPen(QPen(QColor(0x4d, 0x5a, 0x6e), 1));
    p.setBrush(QColor(0xfb, 0xfc, 0xfe));
    p.drawRect(r);
    QLinearGradient bar(r.topLeft(), QPointF(r.left(), r.top() + r.height() * 0.22));
    bar.setColorAt(0, title.lighter(130));
    bar.setColorAt(1, title);
    p.setPen(Qt::NoPen);
    p.setBrush(bar);
    p.drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() * 0.22));
    p.restore();
}

void Magnifier(QPainter& p, const QPointF& c, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x5a, 0x3b, 0x1e), radius * 0.42, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(radius * 0.75, radius * 0.75), c + QPointF(radius * 1.7, radius * 1.7));
    QRadialGradient glass(c - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
    glass.setColorAt(0, QColor(0xff, 0xff, 0xff));
    glass.setColorAt(1, QColor(0xa9, 0xd4, 0xf5));
    p.setPen(QPen(QColor(0x56, 0x64, 0x78), radius * 0.22));
    p.setBrush(glass);
    p.drawEllipse(c, radius, radius);
    p.restore();
}

}  // namespace palvex::ui::art
