#include "resources/ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace palvex::ui {

QImage DrawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    // The sheet, its background cleared to the checkerboard.
    QPainterPath sheet;
    sheet.addRoundedRect(QRectF(16, 16, 224, 224), 36, 36);
    p.fillPath(sheet, QColor(250, 250, 250));
    p.save();
    p.setClipPath(sheet);
    const int cell = 28;
    for (int y = 16; y < 240; y += cell) {
        for (int x = 16; x < 240; x += cell) {
            if (((x - 16) / cell + (y - 16) / cell) % 2 == 1) {
                p.fillRect(QRectF(x, y, cell, cell), QColor(204, 208, 214));
            }
        }
    }
    p.restore();
    p.setPen(QPen(QColor(90, 98, 112), 6));
    p.drawPath(sheet);

    // The subject that stays: a sun over a hill.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 176, 32));
    p.drawEllipse(QPointF(150, 98), 34, 34);
    QPainterPath hill;
    hill.moveTo(58, 196);
    hill.cubicTo(84, 120, 150, 118, 198, 196);
    hill.closeSubpath();
    p.setBrush(QColor(46, 160, 90));
    p.drawPath(hill);

    // The barrier round it.
    QPen barrier(QColor(20, 70, 200), 7, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
    barrier.setDashPattern({2.0, 1.6});
    p.setPen(barrier);
    p.setBrush(Qt::NoBrush);
    const QPointF outline[] = {{46, 204}, {62, 116}, {120, 52}, {196, 56}, {212, 204}};
    p.drawPolygon(outline, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 70, 200));
    for (const QPointF& vertex : outline) {
        p.drawRect(QRectF(vertex.x() - 8, vertex.y() - 8, 16, 16));
    }
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
    }
    return icon;
}

}  // namespace palvex::ui
