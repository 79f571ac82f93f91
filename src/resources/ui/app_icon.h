#pragma once

#include <QIcon>
#include <QImage>

namespace palvex::ui {

// The application's icon, drawn at any size: a picture whose background has gone to the
// checkerboard of transparency, the subject kept inside a barrier's dashed outline.
QImage DrawAppIcon(int size);
QIcon AppIcon();

}  // namespace palvex::ui
