#pragma once

#include "image/geometry.h"
#include "tools/tool_mode.h"

namespace palvex::ui {

// The tools the canvas's input dispatch hands events to, asked in the dispatch's fixed order.
// Points named `client` are window pixels, `q` image pixels. Every default acts as if the tool
// had nothing to do, which is what the pens, the barrier and the selection do until they are
// built; each then overrides its part.
class CanvasToolHooks {
public:
    virtual ~CanvasToolHooks() = default;

    // Selection rectangle and floating paste.
    virtual bool HasSelection() const { return false; }
    virtual bool PasteFloating() const { return false; }
    virtual bool InsideSelection(Point /*client*/) const { return false; }
    virtual bool MovingSelection() const { return false; }
    // A press on the selection's handles, sides or inside; true when it took the press.
    virtual bool SelectionTakesPress(Point /*client*/) { return false; }
    virtual void CommitPaste() {}
    // Removes a non-empty selection rectangle; true when there was one.
    virtual bool RemoveSelection() { return false; }
    virtual void StartRubberBand(Point /*q*/) {}
    // Undo and redo: the selection goes, a floating paste is dropped without being pasted.
    virtual void DropForHistory() {}
    // Pointer shape and side hints over the selection (mode 0).
    virtual void SelectionHover(Point /*client*/) {}

    // The drags of the barrier and the selection: the first in progress takes the move or ends
    // at the release; false when none is in progress.
    virtual bool ContinueDrag(Point /*client*/, Point /*q*/) { return false; }
    virtual bool EndDrag(Point /*client*/) { return false; }

    // Barrier.
    virtual bool AddingBarrierPoints() const { return false; }
    virtual bool HasBarrier() const { return false; }
    virtual BarrierHit HitBarrier(Point /*client*/) const { return BarrierHit::None; }
    // A press in the barrier mode; true when it counts as finished (no barrier, or outside).
    virtual bool BarrierPress(Point /*client*/, Point /*q*/) { return true; }
    virtual void BarrierHover(Point /*client*/) {}
    virtual void DeselectBarrierPoints() {}
    // Grows (positive) or shrinks the barrier; true when it acted.
    virtual bool ResizeBarrier(int /*step*/) { return false; }
    // Selects what the popup acts on before it opens.
    virtual void PrepareBarrierMenu(ContextPopup /*popup*/, Point /*client*/) {}

    // Pens (modes 1 and 4).
    virtual bool PenStrokeInProgress() const { return false; }
    virtual void StartPenStroke(Point /*client*/, Point /*q*/) {}
    virtual void ApplyPenToWholeImage() {}
    // The move in a pen mode: right-button drag, range outline, stroke.
    virtual void PenMove(Point /*client*/, Point /*q*/) {}
    virtual void RightPress(Point /*client*/, bool /*ctrl*/) {}
    virtual void TurnRange(int /*delta*/, bool /*fine*/) {}
    virtual void NextPenShape(Point /*client*/) {}
    virtual void RedrawRangeOutline(Point /*client*/) {}

    // Pointer animation.
    virtual void StopAnimation() {}
    // The navigator window lies over this window point.
    virtual bool NavigatorUnder(Point /*client*/) const { return false; }

    // Keys that reach the canvas: Tab, Escape and the arrows.
    virtual void TabKey(bool /*reverse*/) {}
    virtual void EscapeKey() {}
    virtual void ArrowKey(int /*dx*/, int /*dy*/, bool /*ctrl*/, bool /*shift*/) {}
};

}  // namespace palvex::ui
