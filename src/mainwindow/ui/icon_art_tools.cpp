// The tools and marks among the ribbon's drawing pieces.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "mainwindow/ui/icon_art.h"

namespace palvex::ui::art {
namespace {

void Head(QPainter& p, const QPointF& tip, const QPointF& direction, const QColor& colour,
          qreal size) {
    const qreal length = std::hypot(direction.x(), direction.y());
    if (length == 0) {
        return;
    }
    const QPointF d = direction / length;
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(tip + d * size * 0.4);
    head.lineTo(tip - d * size + n * size * 0.75);
    head.lineTo(tip - d * size - n * size * 0.75);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

}  // namespace

void Pencil(QPainter& p, const QPointF& tip, qreal length, const QColor& body,
            const QColor& tipColour) {
    p.save();
    p.translate(tip);
    p.rotate(-45);
    const qreal w = length * 0.22;
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(length * 0.22, -w / 2);
    wood.lineTo(length * 0.22, w / 2);
    wood.closeSubpath();
    p.setPen(QPen(QColor(0x5b, 0x45, 0x2e), 0.8));
    p.setBrush(QColor(0xf3, 0xd3, 0xa2));
    p.drawPath(wood);
    p.setBrush(tipColour);
    p.drawEllipse(QPointF(length * 0.05, 0), length * 0.05, length * 0.05);
    QLinearGradient shaft(QPointF(0, -w / 2), QPointF(0, w / 2));
    shaft.setColorAt(0, body.lighter(140));
    shaft.setColorAt(1, body.darker(120));
    p.setBrush(shaft);
    p.drawRect(QRectF(length * 0.22, -w / 2, length * 0.62, w));
    p.setBrush(QColor(0xe8, 0x8f, 0x9c));
    p.drawRect(QRectF(length * 0.84, -w / 2, length * 0.16, w));
    p.restore();
}

void Bucket(QPainter& p, const QRectF& r, const QColor& paint) {
    p.save();
    p.translate(r.center());
    p.rotate(-25);
    const qreal w = r.width() * 0.55;
    const qreal h = r.height() * 0.62;
    QPainterPath can;
    can.moveTo(-w / 2, -h / 2);
    can.lineTo(w / 2, -h / 2);
    can.lineTo(w * 0.4, h / 2);
    can.lineTo(-w * 0.4, h / 2);
    can.closeSubpath();
    QLinearGradient metal(QPointF(-w / 2, 0), QPointF(w / 2, 0));
    metal.setColorAt(0, QColor(0xd6, 0xdb, 0xe3));
    metal.setColorAt(1, QColor(0x8b, 0x95, 0xa5));
    p.setPen(QPen(QColor(0x4b, 0x55, 0x63), 1));
    p.setBrush(metal);
    p.drawPath(can);
    p.setBrush(paint);
    p.drawEllipse(QPointF(0, -h / 2), w / 2, h * 0.12);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-w / 2, -h, w, h), 0, 180 * 16);
    p.restore();
    // The paint running off the rim.
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(paint);
    QPainterPath drip;
    const QPointF lip(r.left() + r.width() * 0.2, r.top() + r.height() * 0.35);
    drip.moveTo(lip);
    drip.cubicTo(lip + QPointF(-4, 4), lip + QPointF(-4, 10), lip + QPointF(-1, 14));
    drip.cubicTo(lip + QPointF(2, 10), lip + QPointF(1, 4), lip + QPointF(3, 1));
    drip.closeSubpath();
    p.drawPath(drip);
    p.restore();
}

void Dropper(QPainter& p, const QPointF& tip, qreal length, const QColor& liquid) {
    p.save();
    p.translate(tip);
    p.rotate(-45);
    const qreal w = length * 0.2;
    p.setPen(QPen(QColor(0x4b, 0x55, 0x63), 0.8));
    p.setBrush(QColor(0xe9, 0xf2, 0xfb));
    QPainterPath glass;
    glass.moveTo(0, 0);
    glass.lineTo(length * 0.25, -w / 2);
    glass.lineTo(length * 0.65, -w / 2);
    glass.lineTo(length * 0.65, w / 2);
    glass.lineTo(length * 0.25, w / 2);
    glass.closeSubpath();
    p.drawPath(glass);
    p.setBrush(liquid);
    p.drawRect(QRectF(length * 0.25, -w / 2 + 1, length * 0.22, w - 2));
    p.setBrush(QColor(0x3c, 0x3c, 0x44));
    p.drawRect(QRectF(length * 0.65, -w * 0.7, length * 0.06, w * 1.4));
    p.drawRoundedRect(QRectF(length * 0.71, -w * 0.45, length * 0.29, w * 0.9), 2, 2);
    p.restore();
}

void Marquee(QPainter& p, const QRectF& r, const QColor& colour) {
    p.save();
    QPen pen(colour, 1.4, Qt::DashLine);
    pen.setDashPattern({2.0, 1.6});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.restore();
}

void Polygon(QPainter& p, const QPolygonF& points, const QColor& line, const QColor& vertex,
             bool fillChecker) {
    p.save();
    if (fillChecker) {
        QPainterPath area;
        area.addPolygon(points);
        area.closeSubpath();
        p.setClipPath(area, Qt::IntersectClip);
        Checker(p, points.boundingRect(), 3);
        p.setClipping(false);
    }
    p.setPen(QPen(line, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(points);
    p.setPen(QPen(line.darker(170), 0.8));
    p.setBrush(vertex);
    for (const QPointF& point : points) {
        p.drawRect(QRectF(point - QPointF(2, 2), QSizeF(4, 4)));
    }
    p.restore();
}

void ArcArrow(QPainter& p, const QPointF& centre, qreal radius, qreal start, qreal span,
              const QColor& colour, qreal width) {
    p.save();
    const QRectF box(centre - QPointF(radius, radius), QSizeF(radius * 2, radius * 2));
    const qreal headRoom = (span > 0 ? -1 : 1) * (width * 1.6) / radius * 180 / std::numbers::pi;
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, static_cast<int>(start * 16), static_cast<int>((span + headRoom) * 16));
    const qreal end = start + span;
    const QPointF tip = OnCircle(centre, radius, end);
    const qreal sign = span > 0 ? 1 : -1;
    const qreal radians = end * std::numbers::pi / 180.0;
    const QPointF tangent(-std::sin(radians) * sign, -std::cos(radians) * sign);
    Head(p, tip, tangent, colour, width * 1.9);
    p.restore();
}

void Arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour, qreal width) {
    p.save();
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    if (length > 0) {
        const QPointF shaftEnd = to - d / length * width * 1.6;
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(from, shaftEnd);
        Head(p, to, d, colour, width * 1.9);
    }
    p.restore();
}

void ColourBar(QPainter& p, const QRectF& r, const QColor& colour) {
    p.save();
    if (!colour.isValid()) {
        Checker(p, r, r.height() / 2);
    } else {
        p.fillRect(r, colour);
    }
    p.setPen(QPen(QColor(0x55, 0x5f, 0x6d), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.restore();
}

void Clock(QPainter& p, const QPointF& c, qreal radius) {
    p.save();
    QRadialGradient face(c - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    face.setColorAt(0, QColor(0xff, 0xff, 0xff));
    face.setColorAt(1, QColor(0xd9, 0xe4, 0xf2));
    p.setPen(QPen(QColor(0x3f, 0x5b, 0x85), radius * 0.14));
    p.setBrush(face);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(QColor(0x2b, 0x3a, 0x4f), radius * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -radius * 0.62));
    p.drawLine(c, c + QPointF(radius * 0.45, radius * 0.12));
    p.restore();
}

}  // namespace palvex::ui::art
