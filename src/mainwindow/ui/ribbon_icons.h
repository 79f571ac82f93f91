#pragma once

#include <QIcon>
#include <QPixmap>

#include "image/colour.h"

class QPainter;

namespace palvex::ui {

// The pictures of the ribbon's elements, drawn in code at 16 and 32 pixels. A null icon for a
// command that shows only its label.
QIcon CommandIcon(int id);
QPixmap CommandPixmap(int id, int size);

// The option pictures of the range and colour choices: an empty and a chosen radio mark
// (the image list's small images 11 and 12).
QPixmap RadioPicture(bool chosen);
inline constexpr int kRadioImageOff = 11;
inline constexpr int kRadioImageOn = 12;

// The pen-shape gallery's pictures, 48 x 40 pixels: 0 rectangle, 1 ellipse, 2 triangle.
inline constexpr int kPenShapeCount = 3;
QPixmap PenShapePicture(int shape);

// The minimise toggle: a chevron up while the panels show, down while only the tab names do.
QIcon MinimiseToggleIcon(bool minimised);

// A colour box for menus and palettes; kNoColour shows the checkerboard of "no colour".
QPixmap ColourSwatch(Colour colour, int size);

// The two halves of the picture set, each drawing on a 32 x 32 grid; false when the command
// has no picture there.
bool PaintFileIcon(QPainter& painter, int id);
bool PaintToolIcon(QPainter& painter, int id);

}  // namespace palvex::ui
