#pragma once

#include <QPoint>
#include <functional>
#include <optional>

#include "app/editor_model.h"
#include "image/geometry.h"

namespace palvex::ui {

class CMyStatusBar;
class CVemmarView;

// The cursor stop of the pen: a pointer that lands on a pixel of the drawing colour is moved
// onto the first neighbour of another colour. The move our own warp causes is taken as it
// comes but never warped again: at 50 % the warped window point can map back onto a pixel of
// the drawing colour, and warping again would chase the pointer for ever.
class CursorStopper {
public:
    struct Moved {
        Point client;
        Point q;
    };

    // At a pointer move at `client` over image pixel q: the new points when the pointer was
    // moved. Applies in the pen mode (not fill-back) with StopCur on and Ctrl up.
    std::optional<Moved> Apply(const EditorModel& model, const CVemmarView& view,
                               CMyStatusBar& statusBar, Point client, Point q, bool ctrl);

    // Moves the system pointer; tests replace it.
    std::function<void(const QPoint& global)> moveCursor;

private:
    std::optional<Point> ownMove_;  // where our last warp put the pointer
};

}  // namespace palvex::ui
