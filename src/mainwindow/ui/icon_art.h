#pragma once

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QPainter;

// Drawing pieces the ribbon's pictures are made of. Every picture is drawn on a 32 x 32 grid
// and scaled to the size it is shown at.
namespace palvex::ui::art {

inline const QColor kOutline{0x3b, 0x4d, 0x66};
inline const QColor kKeyBlue{0x2f, 0x6f, 0xc8};

// The point at an angle (degrees, counter-clockwise from three o'clock) on a circle.
QPointF OnCircle(const QPointF& centre, qreal radius, qreal degrees);

void Checker(QPainter& p, const QRectF& rect, qreal cell = 4.0);
void Page(QPainter& p, const QRectF& rect);
void Picture(QPainter& p, const QRectF& rect, bool keyed = false);
void Floppy(QPainter& p, const QRectF& rect);
void Folder(QPainter& p, const QRectF& rect);
void Badge(QPainter& p, const QRectF& rect, const QString& text, const QColor& colour);
void Printer(QPainter& p, const QRectF& rect);
void Gear(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour);
void Window(QPainter& p, const QRectF& rect, const QColor& title);
void Magnifier(QPainter& p, const QPointF& centre, qreal radius);
void Pencil(QPainter& p, const QPointF& tip, qreal length, const QColor& body,
            const QColor& tipColour);
void Bucket(QPainter& p, const QRectF& rect, const QColor& paint);
void Dropper(QPainter& p, const QPointF& tip, qreal length, const QColor& liquid);
void Marquee(QPainter& p, const QRectF& rect, const QColor& colour = kOutline);
void Polygon(QPainter& p, const QPolygonF& points, const QColor& line, const QColor& vertex,
             bool fillChecker = false);
// An arrow along a circular arc (angles in degrees, counter-clockwise positive) with its head
// at the end of the span.
void ArcArrow(QPainter& p, const QPointF& centre, qreal radius, qreal start, qreal span,
              const QColor& colour, qreal width = 2.5);
void Arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour,
           qreal width = 2.5);
void ColourBar(QPainter& p, const QRectF& rect, const QColor& colour);
void Clock(QPainter& p, const QPointF& centre, qreal radius);

}  // namespace palvex::ui::art
