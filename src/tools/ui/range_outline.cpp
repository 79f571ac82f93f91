#include "tools/ui/range_outline.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "app/ui/qt_colour.h"
#include "app/ui/qt_text.h"
#include "canvas/ui/overlay_font.h"
#include "geometry/math_sub.h"
#include "tools/colour_tools.h"

namespace palvex::ui {
namespace {

// The ellipse turns about its centre, so its box is widened on the shorter side to a square.
Rect EllipseArea(const RangeShape& shape) {
    const Rect& b = shape.box;
    const int w = shape.width;
    const int h = shape.height;
    int dx = 0;
    int dy = 0;
    if (h < w) {
        dx = 15;
        dy = (w - h) / 2 + 15;
    } else if (w < h) {
        dx = (h - w) / 2 + 15;
        dy = 15;
    }
    return {b.left - dx, b.top - dy, b.right + dx, b.bottom + dy};
}

}  // namespace

Rect RangeOutlineArea(const RangeOutline& outline, Point p, const RangeOutlineLook& look) {
    Rect area = outline.geometry.box;
    if (look.shapeShown) {
        if (outline.shape == RangeShapeKind::Ellipse) {
            area = EllipseArea(outline.geometry);
        } else if (outline.cornerCount > 0) {
            area = CMathSub::BoundingRect(outline.Corners());
        }
    }
    area = {area.left - 5, area.top - 5, area.right + 5, area.bottom + 5};
    if (look.readout) {
        area = area.United({p.x - 60, p.y - 27, p.x + 60, p.y - 7});
    }
    return area.United({p.x, p.y, p.x + 24, p.y + 24});
}

std::function<void(QPainter&)> RangeOutlinePainter(const RangeOutline& outline, Point p,
                                                   const RangeOutlineLook& look) {
    QPolygon shape;
    const bool ellipse = outline.shape == RangeShapeKind::Ellipse;
    if (look.shapeShown) {
        if (ellipse) {
            for (const Point q : outline.ellipse) {
                shape << QPoint(q.x, q.y);
            }
        } else {
            for (const Point q : outline.Corners()) {
                shape << QPoint(q.x, q.y);
            }
        }
    }
    const Colour c = look.colour;
    const QColor inverse(255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c));
    const QString text = look.readout ? ToQString(ProbeText(c)) : QString();
    return [shape, ellipse, inverse, p, swatch = look.swatch, text](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(inverse, 0));
        painter.setBrush(Qt::NoBrush);
        if (ellipse) {
            painter.drawPoints(shape);
        } else if (!shape.isEmpty()) {
            painter.drawPolygon(shape);
        }
        if (swatch) {
            painter.fillRect(QRect(p.x + 9, p.y + 10, 12, 12), ToQColor(*swatch));
        }
        if (text.isEmpty()) {
            return;
        }
        painter.setFont(MakeOverlayFont());
        const QFontMetrics metrics = painter.fontMetrics();
        const int tw = metrics.horizontalAdvance(text);
        const int th = metrics.height();
        const int left = p.x - tw / 2;
        const int top = p.y - 7 - th;
        painter.fillRect(QRect(left - 2, top, tw + 4, th), Qt::white);
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(QRect(left, top, tw, th), Qt::AlignLeft | Qt::AlignTop, text);
    };
}

}  // namespace palvex::ui
