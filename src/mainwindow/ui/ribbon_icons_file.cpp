// Pictures of the application menu, the quick access toolbar and the tab row.

#include <QPainter>
#include <QPainterPath>

#include "mainwindow/ui/icon_art.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "resources/command_ids.h"

namespace palvex::ui {
namespace {

using namespace art;

const QColor kJpeg(0xd9, 0x6a, 0x1c);
const QColor kBmp(0x3a, 0x7b, 0xd5);
const QColor kGif(0x8e, 0x44, 0xad);
const QColor kPng(0x27, 0x9b, 0x49);
const QColor kTiff(0xc0, 0x39, 0x2b);

// A saved file of a format: a page with a small picture and the format's badge.
void FormatFile(QPainter& p, const QString& name, const QColor& colour, bool keyed) {
    Page(p, QRectF(5, 2, 22, 28));
    Picture(p, QRectF(8, 9, 14, 11), keyed);
    Badge(p, QRectF(11, 20, 19, 10), name, colour);
}

void SaveAs(QPainter& p, bool keyed) {
    Picture(p, QRectF(2, 3, 22, 18), keyed);
    Floppy(p, QRectF(15, 14, 16, 16));
}

void Undo(QPainter& p, bool redo) {
    p.save();
    if (redo) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    const QColor colour(0x2f, 0x6f, 0xc8);
    ArcArrow(p, QPointF(17, 19), 9, 0, 160, colour, 3.2);
    p.restore();
}

void LookPalette(QPainter& p) {
    QPainterPath board;
    board.addEllipse(QRectF(3, 5, 26, 22));
    board.addEllipse(QRectF(19, 18, 6, 5));
    board.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(QColor(0x8a, 0x64, 0x34), 1));
    p.setBrush(QColor(0xf0, 0xd0, 0x98));
    p.drawPath(board);
    const QColor dots[] = {{0xe0, 0x3a, 0x3a},
                           {0xf2, 0xb7, 0x1f},
                           {0x2f, 0xa8, 0x4f},
                           {0x2f, 0x6f, 0xc8},
                           {0x8e, 0x44, 0xad}};
    const QPointF at[] = {{9, 12}, {15, 9}, {21.5, 10.5}, {9, 19}, {14, 22}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(at[i], 2.6, 2.6);
    }
}

void Help(QPainter& p) {
    QRadialGradient ball(QPointF(12, 10), 18);
    ball.setColorAt(0, QColor(0x7f, 0xb7, 0xf5));
    ball.setColorAt(1, QColor(0x1a, 0x4f, 0xa8));
    p.setPen(QPen(QColor(0x14, 0x3c, 0x7e), 1));
    p.setBrush(ball);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(19);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, "?");
}

void Exit(QPainter& p) {
    p.setPen(QPen(QColor(0x7a, 0x1e, 0x16), 1));
    QLinearGradient fill(QPointF(0, 4), QPointF(0, 28));
    fill.setColorAt(0, QColor(0xf2, 0x6b, 0x5b));
    fill.setColorAt(1, QColor(0xb8, 0x2a, 0x1e));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 4, 4);
    p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
}

void About(QPainter& p) {
    QRadialGradient ball(QPointF(12, 10), 18);
    ball.setColorAt(0, QColor(0x8f, 0xd4, 0x8a));
    ball.setColorAt(1, QColor(0x2b, 0x8a, 0x3e));
    p.setPen(QPen(QColor(0x1f, 0x66, 0x2c), 1));
    p.setBrush(ball);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
    p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1.5, 1.5);
}

void Navigator(QPainter& p) {
    Window(p, QRectF(2, 4, 28, 24), QColor(0x3a, 0x78, 0xd0));
    Picture(p, QRectF(5, 11, 22, 14));
    p.setPen(QPen(QColor(0xe0, 0x20, 0x20), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(12, 13, 10, 8));
}

void Chevron(QPainter& p, bool up) {
    QPolygonF line;
    if (up) {
        line << QPointF(8, 20) << QPointF(16, 12) << QPointF(24, 20);
    } else {
        line << QPointF(8, 12) << QPointF(16, 20) << QPointF(24, 12);
    }
    // A light rim keeps the mark readable on the dark caption of the black look.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 220), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(line);
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xc8), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(line);
}

}  // namespace

QIcon MinimiseToggleIcon(bool minimised) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        Chevron(p, !minimised);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

bool PaintFileIcon(QPainter& p, int id) {
    switch (id) {
        case cmd::ID_FILE_NEW:
            Page(p, QRectF(6, 2, 20, 28));
            p.setPen(QPen(QColor(0xf2, 0xb7, 0x1f), 2));
            p.drawLine(QPointF(22, 20), QPointF(22, 30));
            p.drawLine(QPointF(17, 25), QPointF(27, 25));
            return true;
        case cmd::ID_FILE_OPEN:
            Folder(p, QRectF(2, 6, 28, 22));
            return true;
        case cmd::ID_FILE_SAVE:
            Floppy(p, QRectF(4, 4, 24, 24));
            return true;
        case cmd::ID_AS_NORMAL:
            SaveAs(p, false);
            return true;
        case cmd::ID_AS_ALPHA:
            SaveAs(p, true);
            return true;
        case cmd::ID_AS_JPEG:
            FormatFile(p, "JPG", kJpeg, false);
            return true;
        case cmd::ID_AS_BMP:
            FormatFile(p, "BMP", kBmp, false);
            return true;
        case cmd::ID_AS_GIF:
            FormatFile(p, "GIF", kGif, false);
            return true;
        case cmd::ID_AS_PNG:
            FormatFile(p, "PNG", kPng, false);
            return true;
        case cmd::ID_AS_TIFF:
            FormatFile(p, "TIF", kTiff, false);
            return true;
        case cmd::ID_AS_A_BMP:
            FormatFile(p, "BMP", kBmp, true);
            return true;
        case cmd::ID_AS_A_GIF:
            FormatFile(p, "GIF", kGif, true);
            return true;
        case cmd::ID_AS_A_PNG:
            FormatFile(p, "PNG", kPng, true);
            return true;
        case cmd::ID_AS_A_TIFF:
            FormatFile(p, "TIF", kTiff, true);
            return true;
        case cmd::ID_FILE_PRINT:
        case cmd::ID_FILE_PRINT_DIRECT:
            Printer(p, QRectF(2, 3, 28, 26));
            return true;
        case cmd::ID_SETTEI_BTN:
        case cmd::ID_KAN_SET:
            Gear(p, QPointF(13, 13), 10, QColor(0x6f, 0x7c, 0x8f));
            Gear(p, QPointF(23, 23), 7, QColor(0x2f, 0x6f, 0xc8));
            return true;
        case cmd::ID_RECENT_KANRI:
            Page(p, QRectF(3, 2, 20, 26));
            p.setPen(QPen(QColor(0x8a, 0x97, 0xaa), 1.5));
            for (int y = 10; y <= 22; y += 4) {
                p.drawLine(QPointF(7, y), QPointF(17, y));
            }
            Clock(p, QPointF(22, 22), 8);
            return true;
        case cmd::ID_APP_ABOUT:
            About(p);
            return true;
        case cmd::ID_APP_EXIT:
            Exit(p);
            return true;
        case cmd::ID_UNDO:
            Undo(p, false);
            return true;
        case cmd::ID_REDO:
            Undo(p, true);
            return true;
        case cmd::ID_NAVI_DSP:
            Navigator(p);
            return true;
        case cmd::ID_ZOOM2:
            Magnifier(p, QPointF(13, 13), 9);
            return true;
        case cmd::ID_SHOW_MENU:
            Chevron(p, true);
            return true;
        case cmd::ID_VIEW_APPLOOK_WIN_2000:
            LookPalette(p);
            return true;
        case cmd::ID_HELP_DSP:
            Help(p);
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
