#pragma once

#include <QObject>
#include <QTimer>

#include "app/editor_model.h"
#include "barrier/barrier.h"
#include "barrier/barrier_fill.h"
#include "barrier/barrier_history.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "mainwindow/ui/command_router.h"
#include "tools/ui/canvas_tool_hooks.h"

namespace palvex::ui {

class CMainFrame;
class CVemmarView;
class CanvasInput;

// The barrier of the canvas in the editor: takes the canvas's events in the barrier mode, draws
// the barrier into the composed frame and handles the barrier commands. The barrier itself (the
// vertex list, placing, editing, shape operations) is the core's; this class only translates
// events and commands into its calls and shows the results.
class BarrierTool final : public QObject, public BarrierHooks, public CommandTarget {
    Q_OBJECT

public:
    struct Services {
        EditorModel& model;
        CMainFrame& frame;
        CVemmarView& view;
        CanvasInput& input;
        CommandRouter& router;
        SettingsStore& store;
        Prompter& prompter;
    };

    explicit BarrierTool(Services services, QObject* parent = nullptr);
    ~BarrierTool() override;

    const Barrier& Model() const { return barrier_; }
    Barrier& Model() { return barrier_; }
    // A new image: placing ends and the barrier goes. The history was emptied for the new image,
    // so this is no undo step.
    void ImageLoaded();
    // One 5-second tick of the placing timer (its timeout).
    void TimerTick();
    const QTimer& PlacingTimer() const { return timer_; }

    // The hover target of the pointer animation: the vertex index or kHitSide when the pointer
    // rests on an element that is not selected yet, else kHitNothing.
    int AnimationTargetAt(Point client) const;

    // --- The canvas's events in the barrier mode ---
    bool AddingBarrierPoints() const override { return barrier_.Adding(); }
    bool DraggingBarrier() const override { return barrier_.Dragging() != BarrierDrag::None; }
    bool HasBarrier() const override { return barrier_.Count() > 0; }
    BarrierHit HitBarrier(Point client) const override;
    bool BarrierPress(Point client, Point q) override;
    void BarrierHover(Point client) override;
    void DeselectBarrierPoints() override;
    bool ResizeBarrier(int step) override;
    void PrepareBarrierMenu(ContextPopup popup, Point client) override;
    bool ContinueDrag(Point client, Point q) override;
    bool EndDrag(Point client) override;
    bool TabKey(bool reverse) override;
    void EscapeKey() override;
    bool ArrowKey(int dx, int dy, bool ctrl, bool shift) override;
    void PaintOnFrame(QPainter& painter, const Rect& clip) override;

    // --- Commands ---
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

protected:
    // Keeps the modifiers of the last mouse event of the canvas: the hooks get only points.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HasImage() const;
    Size ImageSize() const;
    bool BarrierMode() const;
    BarrierView View() const;
    ClosingDirection Direction() const;
    Modifiers Mods() const;
    void Repaint();
    void RepaintImageArea(const Rect& inclusive);
    void ShowGuide(int id);
    void Apply(const PlacingResult& result);
    void ToggleAdding();
    void Release(const Barrier::ReleaseResult& result);
    void AfterShapeChange(bool changed, bool refreshInfo = false);
    void Reclose(ClosingDirection direction);
    void SelectionToBarrier();
    void Transparent(BarrierSide side, bool atContextPoint);
    void TakeColour(int id, Colour& setting);

    // Drag previews (pointer overlay): nothing is allocated per mouse move.
    void DrawPreview();
    void PaintPreview(QPainter& painter) const;
    Rect PreviewArea() const;

    // Barrier files and their history.
    void SaveBarrierAs();
    void LoadBarrierDialog();
    void LoadFromHistory(int index);
    bool TakeVertices(const std::vector<Point>& vertices);
    // The history buttons show the stored paths; read again after every change of them, not at
    // every idle update.
    void RefreshHistoryLabels();

    // Drawing parts of PaintOnFrame.
    void PaintFrame(QPainter& painter, const BarrierView& view) const;
    void PaintLines(QPainter& painter, const BarrierView& view) const;
    void PaintMarkers(QPainter& painter, const BarrierView& view) const;
    void PaintNumbers(QPainter& painter, const BarrierView& view) const;

    Services services_;
    Barrier barrier_;
    QTimer timer_;
    Qt::KeyboardModifiers modifiers_;
    bool rubberBandCtrl_ = false;  // the press that started the rubber band held Ctrl
    std::array<std::string, BarrierHistory::kEntries> historyLabels_;
};

}  // namespace palvex::ui
