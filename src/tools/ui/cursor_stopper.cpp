#include "tools/ui/cursor_stopper.h"

#include <QCursor>

#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/texts.h"
#include "tools/cursor_stop.h"
#include "tools/tool_mode.h"

namespace palvex::ui {

std::optional<CursorStopper::Moved> CursorStopper::Apply(const EditorModel& model,
                                                         const CVemmarView& view,
                                                         CMyStatusBar& statusBar, Point client,
                                                         Point q, bool ctrl) {
    if (ownMove_ && *ownMove_ == client) {
        ownMove_.reset();
        return std::nullopt;
    }
    ownMove_.reset();
    const AppSettings& settings = model.settings;
    if (settings.stopCursor != 1 || settings.toolMode != static_cast<int>(ToolMode::Pen) || ctrl) {
        return std::nullopt;
    }
    const std::optional<Point> n = CursorStopTarget(model.image.WorkImage, q, settings.drawColour);
    if (!n) {
        return std::nullopt;
    }
    const Point to = view.Mapping().ImageToWindow(*n);
    ownMove_ = to;
    const QPoint global = view.viewport()->mapToGlobal(QPoint(to.x, to.y));
    if (moveCursor) {
        moveCursor(global);
    } else {
        QCursor::setPos(global);
    }
    statusBar.GuideText(texts::kGuideCursorHeld);
    return Moved{to, *n};
}

}  // namespace palvex::ui
