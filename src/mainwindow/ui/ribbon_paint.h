#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <string_view>

class QFontMetrics;
class QMenu;
class QPainter;

namespace palvex::ui {

struct RibbonLook;

enum class FillState { Hover, Pressed, Checked, CheckedHover };

// A rounded box with a vertical gradient and a border (square and flat in the flat looks).
void PaintBox(QPainter& painter, const QRectF& rect, const QColor& top, const QColor& bottom,
              const QColor& border, const RibbonLook& look, qreal radius = 3.0);
// The highlight of an element under the pointer, pressed or checked.
void PaintHighlight(QPainter& painter, const QRectF& rect, const RibbonLook& look, FillState state);
// The small triangle of a drop-down.
void PaintDropArrow(QPainter& painter, const QPointF& centre, const QColor& colour);

// A group label inside a menu, painted in the look's heading colours.
void AddMenuHeading(QMenu* menu, const QString& text);

// A label as elements show it: the mnemonic marker dropped ("開く(&O)" shows "開く(O)").
QString DisplayText(const QString& label);
// A large element's label on two lines, broken at its first blank.
QString TwoLineText(const QString& label);
// A large element's label as shown: on two lines, broken at the blank that leaves the wider line
// narrowest (the first blank when there is one only), or on one line when it has no blank.
QStringList LargeLabelLines(const QString& label, const QFontMetrics& metrics);
// The rich tooltip of a command: its title in bold over its description.
QString PromptToolTip(std::string_view prompt, const QString& fallback);

}  // namespace palvex::ui
