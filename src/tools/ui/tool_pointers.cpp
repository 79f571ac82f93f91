#include "tools/ui/tool_pointers.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <optional>

namespace palvex::ui {
namespace {

constexpr int kSize = 32;

// Every picture is drawn black with a white rim so that it shows on any image.
void Outlined(QPainter& painter, const QPainterPath& path, const QColor& fill) {
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
}

// A pencil lying from the bottom right to its tip at the top-left corner.
void DrawPen(QPainter& painter) {
    QPainterPath body;
    body.moveTo(0, 0);
    body.lineTo(9, 3);
    body.lineTo(25, 19);
    body.lineTo(19, 25);
    body.lineTo(3, 9);
    body.closeSubpath();
    Outlined(painter, body, QColor(255, 214, 90));
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(4, 1.5);
    lead.lineTo(1.5, 4);
    lead.closeSubpath();
    Outlined(painter, lead, Qt::black);
}

// A tipped bucket pouring a drop that lands on the top-left corner.
void DrawBucket(QPainter& painter) {
    QPainterPath drop;
    drop.moveTo(0, 0);
    drop.cubicTo(4, 2, 7, 6, 4, 8);
    drop.cubicTo(1, 8, 0, 4, 0, 0);
    Outlined(painter, drop, QColor(40, 120, 230));
    QPainterPath bucket;
    bucket.moveTo(8, 12);
    bucket.lineTo(18, 4);
    bucket.lineTo(29, 17);
    bucket.lineTo(19, 27);
    bucket.closeSubpath();
    Outlined(painter, bucket, QColor(220, 220, 220));
}

// A pipette whose tip is the top-left corner.
void DrawPipette(QPainter& painter) {
    QPainterPath tube;
    tube.moveTo(0, 0);
    tube.lineTo(4, 1);
    tube.lineTo(17, 14);
    tube.lineTo(14, 17);
    tube.lineTo(1, 4);
    tube.closeSubpath();
    Outlined(painter, tube, QColor(200, 230, 255));
    QPainterPath bulb;
    bulb.addEllipse(QRectF(15, 15, 13, 13));
    Outlined(painter, bulb, QColor(60, 60, 60));
}

// A ring with a cross whose centre is (7, 7).
void DrawFillBack(QPainter& painter) {
    QPainterPath ring;
    ring.addEllipse(QPointF(7.5, 7.5), 6, 6);
    ring.moveTo(7.5, 0);
    ring.lineTo(7.5, 15);
    ring.moveTo(0, 7.5);
    ring.lineTo(15, 7.5);
    Outlined(painter, ring, Qt::transparent);
    QPainterPath trowel;
    trowel.moveTo(16, 16);
    trowel.lineTo(28, 20);
    trowel.lineTo(20, 28);
    trowel.closeSubpath();
    Outlined(painter, trowel, QColor(160, 160, 160));
}

// An upward arrow whose point is (7, 0).
void DrawUpArrow(QPainter& painter) {
    QPainterPath arrow;
    arrow.moveTo(7.5, 0);
    arrow.lineTo(14, 8);
    arrow.lineTo(10, 8);
    arrow.lineTo(10, 20);
    arrow.lineTo(5, 20);
    arrow.lineTo(5, 8);
    arrow.lineTo(1, 8);
    arrow.closeSubpath();
    Outlined(painter, arrow, Qt::white);
}

// The arrow with a plus: each click adds a point.
void DrawAddPoints(QPainter& painter) {
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 16);
    arrow.lineTo(4, 12);
    arrow.lineTo(7, 19);
    arrow.lineTo(10, 18);
    arrow.lineTo(7, 11);
    arrow.lineTo(12, 11);
    arrow.closeSubpath();
    Outlined(painter, arrow, Qt::white);
    QPainterPath plus;
    plus.moveTo(22, 14);
    plus.lineTo(22, 26);
    plus.moveTo(16, 20);
    plus.lineTo(28, 20);
    Outlined(painter, plus, Qt::transparent);
}

// A four-way cross centred on (8, 9): drag a side.
void DrawOverSide(QPainter& painter) {
    QPainterPath cross;
    cross.moveTo(8.5, 1);
    cross.lineTo(8.5, 18);
    cross.moveTo(0, 9.5);
    cross.lineTo(17, 9.5);
    cross.addEllipse(QPointF(8.5, 9.5), 3, 3);
    Outlined(painter, cross, Qt::white);
}

QImage Draw(PointerShape shape) {
    QImage picture(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (shape) {
        case PointerShape::Pen:
            DrawPen(painter);
            break;
        case PointerShape::FloodFill:
            DrawBucket(painter);
            break;
        case PointerShape::Eyedropper:
            DrawPipette(painter);
            break;
        case PointerShape::FillBack:
            DrawFillBack(painter);
            break;
        case PointerShape::OverPoint:
            DrawUpArrow(painter);
            break;
        case PointerShape::AddPoints:
            DrawAddPoints(painter);
            break;
        case PointerShape::OverSide:
            DrawOverSide(painter);
            break;
        default:
            return {};
    }
    return picture;
}

QCursor Make(PointerShape shape) {
    switch (shape) {
        case PointerShape::Arrow:
            return QCursor(Qt::ArrowCursor);
        case PointerShape::Hand:
            return QCursor(Qt::OpenHandCursor);
        case PointerShape::SizeAll:
            return QCursor(Qt::SizeAllCursor);
        case PointerShape::SizeDiagonalDown:
            return QCursor(Qt::SizeFDiagCursor);
        case PointerShape::SizeDiagonalUp:
            return QCursor(Qt::SizeBDiagCursor);
        case PointerShape::SizeVertical:
            return QCursor(Qt::SizeVerCursor);
        case PointerShape::SizeHorizontal:
            return QCursor(Qt::SizeHorCursor);
        default: {
            const Point hot = PointerHotSpot(shape);
            return QCursor(QPixmap::fromImage(Draw(shape)), hot.x, hot.y);
        }
    }
}

}  // namespace

const QCursor& CursorFor(PointerShape shape) {
    static std::array<std::optional<QCursor>, static_cast<int>(PointerShape::SizeHorizontal) + 1>
        cursors;
    std::optional<QCursor>& cursor = cursors[static_cast<std::size_t>(shape)];
    if (!cursor) {
        cursor = Make(shape);
    }
    return *cursor;
}

QImage PointerPicture(PointerShape shape) {
    return Draw(shape);
}

}  // namespace palvex::ui
