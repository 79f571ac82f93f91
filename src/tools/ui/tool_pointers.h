#pragma once

#include <QCursor>
#include <QImage>

#include "tools/tool_mode.h"

namespace palvex::ui {

// The canvas pointers: our own 32 x 32 pictures with their hot spots for the tool shapes, the
// system's for the arrow, the hand and the sizing arrows. Made once, on first use.
const QCursor& CursorFor(PointerShape shape);

// The picture of a drawn pointer (null for the system's), for tests and the screenshots.
QImage PointerPicture(PointerShape shape);

}  // namespace palvex::ui
