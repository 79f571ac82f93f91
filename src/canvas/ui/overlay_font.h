#pragma once

#include <QFont>
#include <QString>

namespace palvex::ui {

// The font of the canvas overlays (barrier point numbers, the pen's colour readout): the named
// face ("MS UI Gothic" when empty) at 8 points, normal weight. A face that is not installed
// falls back to an installed Japanese UI font, so the Japanese texts never show as boxes.
QFont MakeOverlayFont(const QString& faceName = {});

}  // namespace palvex::ui
