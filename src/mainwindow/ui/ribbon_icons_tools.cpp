// Pictures of the home, pen and barrier tabs.

#include <QPainter>
#include <QPainterPath>

#include "mainwindow/ui/icon_art.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "resources/command_ids.h"

namespace palvex::ui {
namespace {

using namespace art;

const QColor kBlue(0x2f, 0x6f, 0xc8);
const QColor kGreen(0x2e, 0x9a, 0x48);
const QColor kRed(0xd0, 0x36, 0x2c);
const QColor kLine(0x1f, 0x8f, 0x3c);
const QColor kVertex(0xff, 0xe0, 0x4a);

QPolygonF BarrierShape(qreal dx = 0, qreal dy = 0, qreal scale = 1.0) {
    QPolygonF shape;
    for (const QPointF& point :
         {QPointF(4, 10), QPointF(15, 3), QPointF(28, 9), QPointF(25, 26), QPointF(9, 28)}) {
        shape << QPointF(point.x() * scale + dx, point.y() * scale + dy);
    }
    return shape;
}

void Rotation(QPainter& p, qreal span) {
    Picture(p, QRectF(9, 10, 14, 12));
    ArcArrow(p, QPointF(16, 16), 12.5, 100, span, kBlue, 2.6);
}

void Mirror(QPainter& p, bool vertical) {
    p.save();
    if (vertical) {
        p.translate(32, 0);
        p.rotate(90);
    }
    QPen axis(QColor(0x6d, 0x77, 0x85), 1.2, Qt::DashLine);
    p.setPen(axis);
    p.drawLine(QPointF(16, 3), QPointF(16, 29));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({QPointF(13, 7), QPointF(13, 25), QPointF(3, 25)}));
    p.setBrush(QColor(0xb9, 0xd3, 0xf3));
    p.drawPolygon(QPolygonF({QPointF(19, 7), QPointF(19, 25), QPointF(29, 25)}));
    p.restore();
}

void Resize(QPainter& p, const QString& badge) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0xdd, 0xe8, 0xf6));
    p.drawRect(QRectF(3, 3, 26, 26));
    Picture(p, QRectF(3, 13, 16, 16));
    Arrow(p, QPointF(27, 5), QPointF(19, 13), kRed, 2.2);
    if (!badge.isEmpty()) {
        Badge(p, QRectF(15, 21, 16, 10), badge, kBlue);
    }
}

void Invert(QPainter& p) {
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 12, 12);
    QPainterPath half;
    half.moveTo(16, 4);
    half.arcTo(QRectF(4, 4, 24, 24), 90, 180);
    half.closeSubpath();
    p.setBrush(QColor(0x22, 0x22, 0x28));
    p.drawPath(half);
}

void Greyscale(QPainter& p) {
    for (int i = 0; i < 5; ++i) {
        const int grey = 40 + i * 50;
        p.fillRect(QRectF(3 + i * 5.2, 5, 5.2, 22), QColor(grey, grey, grey));
    }
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 5, 26, 22));
}

void Eye(QPainter& p) {
    Checker(p, QRectF(2, 2, 28, 28), 5);
    QPainterPath eye;
    eye.moveTo(3, 16);
    eye.quadTo(16, 3, 29, 16);
    eye.quadTo(16, 29, 3, 16);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(eye);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 16), 5, 5);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(16, 16), 2.2, 2.2);
}

void Align(QPainter& p, bool vertical, bool evenly) {
    p.save();
    if (vertical) {
        p.translate(32, 0);
        p.rotate(90);
    }
    p.setPen(QPen(kRed, 1.4));
    if (evenly) {
        Arrow(p, QPointF(6, 26), QPointF(14, 26), kRed, 1.6);
        Arrow(p, QPointF(26, 26), QPointF(18, 26), kRed, 1.6);
    } else {
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
    }
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(kVertex);
    const qreal ys[] = {evenly ? 12.0 : 13.0, evenly ? 8.0 : 13.0, evenly ? 14.0 : 13.0};
    for (int i = 0; i < 3; ++i) {
        p.drawRect(QRectF(4 + i * 10, ys[i], 6, 6));
    }
    p.restore();
}

void Turn(QPainter& p, bool clockwise) {
    p.save();
    if (!clockwise) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    Polygon(p, BarrierShape(4, 5, 0.7), kLine, kVertex);
    ArcArrow(p, QPointF(16, 16), 13, 150, -130, kBlue, 2.4);
    p.restore();
}

void BarrierFill(QPainter& p, bool inside) {
    if (inside) {
        p.fillRect(QRectF(1, 1, 30, 30), QColor(0xb9, 0xd3, 0xf3));
        Polygon(p, BarrierShape(), kLine, kVertex, true);
        return;
    }
    Checker(p, QRectF(1, 1, 30, 30), 4);
    QPainterPath area;
    area.addPolygon(BarrierShape());
    area.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb9, 0xd3, 0xf3));
    p.drawPath(area);
    Polygon(p, BarrierShape(), kLine, kVertex);
}

void HistoryPage(QPainter& p, int number) {
    Page(p, QRectF(4, 2, 22, 28));
    Polygon(p, BarrierShape(7, 7, 0.45), kLine, kVertex);
    Badge(p, QRectF(15, 19, 14, 11), QString::number(number), kBlue);
}

}  // namespace

bool PaintToolIcon(QPainter& p, int id) {
    if (id >= cmd::ID_LOAD_BARI_1 && id < cmd::ID_LOAD_BARI_1 + 5) {
        HistoryPage(p, id - cmd::ID_LOAD_BARI_1 + 1);
        return true;
    }
    switch (id) {
        case cmd::ID_TRANS_COL:
            Picture(p, QRectF(3, 2, 26, 20), true);
            Dropper(p, QPointF(8, 22), 22, kBlue);
            return true;
        case cmd::ID_BK_COL:
            Checker(p, QRectF(2, 2, 20, 16), 4);
            p.setPen(QPen(kOutline, 1));
            p.setBrush(QColor(0xff, 0xff, 0x80));
            p.drawRect(QRectF(10, 8, 20, 16));
            Picture(p, QRectF(14, 11, 12, 10));
            return true;
        case cmd::ID_ALPHA_0:
            Window(p, QRectF(2, 4, 28, 22), QColor(0x3a, 0x78, 0xd0));
            p.fillRect(QRectF(6, 12, 20, 11), QColor(0x5d, 0xa9, 0xf0, 120));
            Marquee(p, QRectF(6, 12, 20, 11), kOutline);
            return true;
        case cmd::ID_ALPHA1:
            Checker(p, QRectF(3, 3, 26, 26), 6.5);
            p.setPen(QPen(kOutline, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(3, 3, 26, 26));
            return true;
        case cmd::ID_ALPHA2:
            p.fillRect(QRectF(3, 3, 26, 26), Qt::white);
            p.setPen(QPen(kOutline, 1));
            p.setBrush(QColor(0xf6, 0xc8, 0x1e));
            p.drawEllipse(QPointF(16, 16), 9, 9);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(3, 3, 26, 26));
            return true;
        case cmd::ID_ALPHA9:
            Picture(p, QRectF(3, 5, 26, 22));
            return true;
        case cmd::ID_CHANGE_FREEBK:
            Picture(p, QRectF(2, 3, 22, 19));
            Pencil(p, QPointF(14, 29), 20, QColor(0xf2, 0xb7, 0x1f), Qt::black);
            return true;
        case cmd::ID_SELECT:
        case cmd::ID_CHANGE_SELECT:
            Picture(p, QRectF(3, 6, 24, 20));
            Marquee(p, QRectF(8, 3, 21, 17), Qt::black);
            return true;
        case cmd::ID_SEL_CENTER:
            Marquee(p, QRectF(4, 4, 24, 24), Qt::black);
            Arrow(p, QPointF(4, 16), QPointF(13, 16), kBlue, 2);
            Arrow(p, QPointF(28, 16), QPointF(19, 16), kBlue, 2);
            return true;
        case cmd::ID_SEL_LINE_COL:
            Marquee(p, QRectF(4, 4, 24, 20), kRed);
            return true;
        case cmd::ID_PEN:
            Pencil(p, QPointF(4, 28), 32, QColor(0x2f, 0x6f, 0xc8), Qt::black);
            return true;
        case cmd::ID_PAINT:
            Bucket(p, QRectF(6, 4, 24, 24), kRed);
            return true;
        case cmd::ID_SAME_TRANS:
            Checker(p, QRectF(3, 3, 26, 26), 6.5);
            Bucket(p, QRectF(6, 4, 24, 24), QColor(0xc4, 0xc8, 0xcf));
            return true;
        case cmd::ID_SPUIT:
            Dropper(p, QPointF(5, 27), 32, kRed);
            return true;
        case cmd::ID_BARRIER:
            Picture(p, QRectF(1, 5, 24, 20));
            Polygon(p, BarrierShape(), kLine, kVertex);
            return true;
        case cmd::ID_ROT_BTN:
            Rotation(p, 250);
            return true;
        case cmd::ID_REVERSE_H:
            Mirror(p, false);
            return true;
        case cmd::ID_REVERSE_V:
            Mirror(p, true);
            return true;
        case cmd::ID_ROT_90:
            Rotation(p, -90);
            return true;
        case cmd::ID_ROT_180:
            Rotation(p, -180);
            return true;
        case cmd::ID_ROT_270:
            Rotation(p, 90);
            return true;
        case cmd::ID_ROT_X:
            p.setPen(QPen(kOutline, 2));
            p.drawLine(QPointF(4, 27), QPointF(28, 27));
            p.drawLine(QPointF(4, 27), QPointF(22, 6));
            ArcArrow(p, QPointF(4, 27), 15, 0, 45, kRed, 2);
            return true;
        case cmd::ID_SIZE_50:
            Resize(p, "50");
            return true;
        case cmd::ID_SIZE_75:
            Resize(p, "75");
            return true;
        case cmd::ID_SIZE_X:
            Resize(p, {});
            return true;
        case cmd::ID_REVERSE:
            Invert(p);
            return true;
        case cmd::ID_GRAY_SCALE:
            Greyscale(p);
            return true;
        case cmd::ID_NAVI_LT:
            p.setPen(QPen(kOutline, 1));
            p.setBrush(QColor(0x4a, 0x8b, 0xdb));
            p.drawRect(QRectF(2, 3, 28, 24));
            Window(p, QRectF(3, 4, 15, 12), QColor(0xe0, 0x8a, 0x1e));
            return true;
        case cmd::ID_TEST_TRANS:
            Eye(p);
            return true;
        case cmd::ID_FLAT_HV:
            p.setPen(QPen(kOutline, 1.6));
            p.setBrush(QColor(0xb9, 0xd3, 0xf3));
            p.drawEllipse(QRectF(3, 9, 26, 14));
            Arrow(p, QPointF(16, 16), QPointF(29, 16), kRed, 2);
            Arrow(p, QPointF(16, 16), QPointF(3, 16), kRed, 2);
            return true;
        case cmd::ID_PEN_TRANS:
            Checker(p, QRectF(2, 14, 18, 16), 4);
            Pencil(p, QPointF(5, 27), 30, QColor(0x9a, 0xa3, 0xb1), QColor(0xc4, 0xc8, 0xcf));
            return true;
        case cmd::ID_PEN_REAL:
            Pencil(p, QPointF(4, 24), 30, kRed, kRed);
            return true;
        case cmd::ID_PEN_FILL:
            Checker(p, QRectF(2, 12, 26, 18), 4.5);
            p.fillRect(QRectF(2, 12, 13, 18), QColor(0x5d, 0xa9, 0xf0));
            Pencil(p, QPointF(13, 25), 24, kGreen, QColor(0x5d, 0xa9, 0xf0));
            return true;
        case cmd::ID_BARI_LOAD:
            Folder(p, QRectF(1, 9, 26, 20));
            Polygon(p, BarrierShape(12, 1, 0.6), kLine, kVertex);
            return true;
        case cmd::ID_LOAD_CLS:
            p.setPen(QPen(kOutline, 1));
            p.setBrush(QColor(0xf2, 0x8b, 0xa0));
            p.drawPolygon(QPolygonF({QPointF(4, 20), QPointF(16, 8), QPointF(27, 19),
                                     QPointF(18, 28), QPointF(10, 28)}));
            p.setBrush(QColor(0xfa, 0xfa, 0xfa));
            p.drawPolygon(QPolygonF({QPointF(4, 20), QPointF(10, 14), QPointF(19, 23),
                                     QPointF(14, 28), QPointF(10, 28)}));
            return true;
        case cmd::ID_BARI_SAVE:
            Floppy(p, QRectF(2, 6, 22, 22));
            Polygon(p, BarrierShape(12, 1, 0.6), kLine, kVertex);
            return true;
        case cmd::ID_COL_BTN:
            Polygon(p, BarrierShape(), kLine, kVertex);
            p.setPen(Qt::NoPen);
            p.setBrush(kRed);
            p.drawEllipse(QPointF(12, 15), 3, 3);
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(19, 18), 3, 3);
            return true;
        case cmd::ID_SEIRETU_BTN:
        case cmd::ID_ALINE_H:
            Align(p, false, false);
            return true;
        case cmd::ID_ALINE_V:
            Align(p, true, false);
            return true;
        case cmd::ID_TO_H_KIN:
            Align(p, false, true);
            return true;
        case cmd::ID_TO_V_KIN:
            Align(p, true, true);
            return true;
        case cmd::ID_BARRIER_POS_ADD:
            Polygon(p, BarrierShape(0, 4, 0.8), kLine, kVertex);
            p.setPen(QPen(kGreen, 3.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(25, 3), QPointF(25, 15));
            p.drawLine(QPointF(19, 9), QPointF(31, 9));
            return true;
        case cmd::ID_ROUND_R:
            Turn(p, true);
            return true;
        case cmd::ID_ROUND_L:
            Turn(p, false);
            return true;
        case cmd::ID_TOKEI:
            p.setPen(QPen(kOutline, 2));
            p.drawLine(QPointF(16, 2), QPointF(16, 6));
            Clock(p, QPointF(16, 18), 12);
            return true;
        case cmd::ID_BARI_IN_TRANS:
            BarrierFill(p, true);
            return true;
        case cmd::ID_BARI_OUT_TRANS:
            BarrierFill(p, false);
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
