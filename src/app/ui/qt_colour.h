#pragma once

#include <QColor>

#include "image/colour.h"

namespace palvex::ui {

// A colour value (0x00BBGGRR) as Qt paints it.
inline QColor ToQColor(Colour c) {
    return {RedOf(c), GreenOf(c), BlueOf(c)};
}

}  // namespace palvex::ui
