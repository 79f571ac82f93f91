#include "mainwindow/ui/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <map>

#include "mainwindow/ui/icon_art.h"

namespace palvex::ui {
namespace {

bool PaintIcon(QPainter& painter, int id) {
    return PaintFileIcon(painter, id) || PaintToolIcon(painter, id);
}

QPixmap Render(int id, int size, bool& drawn) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 32.0, size / 32.0);
    drawn = PaintIcon(painter, id);
    return pixmap;
}

}  // namespace

QPixmap CommandPixmap(int id, int size) {
    bool drawn = false;
    QPixmap pixmap = Render(id, size, drawn);
    return drawn ? pixmap : QPixmap();
}

QIcon CommandIcon(int id) {
    // Icons are asked for once an element; the cache keeps rebuilt ribbons cheap.
    static std::map<int, QIcon> cache;
    if (const auto it = cache.find(id); it != cache.end()) {
        return it->second;
    }
    QIcon icon;
    bool drawn = false;
    for (const int size : {16, 32}) {
        QPixmap pixmap = Render(id, size, drawn);
        if (!drawn) {
            break;
        }
        icon.addPixmap(pixmap);
    }
    cache.emplace(id, icon);
    return icon;
}

QPixmap RadioPicture(bool chosen) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient well(QPointF(6, 6), 9);
    well.setColorAt(0, QColor(0xff, 0xff, 0xff));
    well.setColorAt(1, QColor(0xd4, 0xdc, 0xe8));
    p.setPen(QPen(QColor(0x5a, 0x6d, 0x8a), 1));
    p.setBrush(well);
    p.drawEllipse(QPointF(8, 8), 6, 6);
    if (chosen) {
        QRadialGradient dot(QPointF(7, 7), 4);
        dot.setColorAt(0, QColor(0x7c, 0xe0, 0x6a));
        dot.setColorAt(1, QColor(0x1c, 0x8a, 0x2c));
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(QPointF(8, 8), 3.4, 3.4);
    }
    return pixmap;
}

QPixmap PenShapePicture(int shape) {
    QPixmap pixmap(48, 40);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(8, 6, 32, 28);
    art::Checker(p, QRectF(4, 3, 40, 34), 5);
    QPen outline(QColor(0x1f, 0x4f, 0x9c), 2);
    p.setPen(outline);
    p.setBrush(QColor(0x2f, 0x6f, 0xc8, 60));
    switch (shape) {
        case 0:
            p.drawRect(area);
            break;
        case 1:
            p.drawEllipse(area);
            break;
        default: {
            QPolygonF triangle;
            triangle << QPointF(area.center().x(), area.top()) << area.bottomRight()
                     << area.bottomLeft();
            p.drawPolygon(triangle);
            break;
        }
    }
    p.setPen(QPen(QColor(0xd0, 0x30, 0x30), 1.2));
    const QPointF c = area.center() + QPointF(0, shape == 2 ? 4 : 0);
    p.drawLine(c - QPointF(4, 0), c + QPointF(4, 0));
    p.drawLine(c - QPointF(0, 4), c + QPointF(0, 4));
    return pixmap;
}

QPixmap ColourSwatch(Colour colour, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QRectF box(0.5, 0.5, size - 1.0, size - 1.0);
    if (colour == kNoColour) {
        art::Checker(p, box, size / 4.0);
    } else {
        p.fillRect(box, QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    }
    p.setPen(QPen(QColor(0x6d, 0x77, 0x85), 1));
    p.drawRect(box);
    return pixmap;
}

}  // namespace palvex::ui
