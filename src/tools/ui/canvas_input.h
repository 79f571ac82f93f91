#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

#include "app/editor_model.h"
#include "base/prompter.h"
#include "tools/tool_mode.h"
#include "tools/ui/canvas_tool_hooks.h"
#include "tools/ui/cursor_stopper.h"

class QKeyEvent;
class QMenu;
class QMouseEvent;
class QWheelEvent;

namespace palvex::ui {

class CMyStatusBar;
class CVemmarView;
class CommandRouter;

// Routes every mouse, wheel and key event of the canvas by the tool mode and by what lies under
// the pointer: to flood fill and the eyedropper here, to the other tools through their hooks.
// Also writes the pointer readouts of the status bar and the guide's pointer hints.
class CanvasInput final : public QObject {
    Q_OBJECT

public:
    struct Services {
        EditorModel& model;
        CVemmarView& view;
        CMyStatusBar& statusBar;
        CommandRouter& router;
        Prompter& prompter;
        // SetDrawColor: the colour and both colour buttons that show it.
        std::function<void(Colour)> setDrawColour;
    };

    explicit CanvasInput(Services services, QObject* parent = nullptr);
    ~CanvasInput() override;

    CanvasToolHooks& Hooks() { return hooks_; }
    // The pen's cursor stop, applied by the range outline at a pointer move.
    CursorStopper& CursorStop() { return cursorStop_; }

    // The view's events. Each returns true when it consumed the event.
    void MouseMove(QMouseEvent* event);
    void MousePress(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    void MouseDoubleClick(QMouseEvent* event);
    bool Wheel(QWheelEvent* event);
    void AfterDefaultWheel();
    bool KeyPress(QKeyEvent* event);
    void Leave();

    // Undo and redo end the selection, a floating paste (dropped, not pasted) and any drag.
    void EndForHistory();

    // The one-click tools.
    void FloodFill(Point q);
    void PickColour(Point q);
    void DrawColourProbe(Point p);

    // The context menu with the popup's items, enabled as their commands are.
    std::unique_ptr<QMenu> BuildContextMenu(ContextPopup popup);
    // Opens a built menu at a global point; tests replace it.
    std::function<void(QMenu& menu, const QPoint& global)> execMenu;

    // Where the right button went down; (-1, -1) while it is up.
    Point RightDragAnchor() const { return rightDragAnchor_; }
    // The range gestures move the anchor on with each size or flatness step.
    void SetRightDragAnchor(Point client) { rightDragAnchor_ = client; }

private:
    bool HasImage() const;
    bool OnImage(Point q) const;
    Point ToImage(Point client) const;
    void EmptyPointerPanes();
    void LeavePointer();
    void LeftPress(Point p, Point q);
    void SettlePress();
    void ShowPointer(PointerShape shape);
    void OpenContextMenu(Point p);

    Services services_;
    CanvasToolHooks hooks_;
    CursorStopper cursorStop_;
    Point rightDragAnchor_{-1, -1};
};

}  // namespace palvex::ui
