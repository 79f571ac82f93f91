#pragma once

#include "image/geometry.h"
#include "tools/tool_mode.h"

class QPainter;

namespace palvex::ui {

// Points named `client` are window pixels, `q` image pixels. Every default acts as if the tool
// had nothing to do, so a tool that is not installed stays out of the way.

// The selection rectangle and the floating paste.
class SelectionHooks {
public:
    virtual ~SelectionHooks() = default;
    virtual bool HasSelection() const { return false; }
    // The selection rectangle in image pixels (right and bottom one beyond); empty when none.
    virtual Rect SelectionRect() const { return {}; }
    virtual bool PasteFloating() const { return false; }
    virtual bool InsideSelection(Point /*client*/) const { return false; }
    virtual bool MovingSelection() const { return false; }
    // A press on the selection's handles, sides or inside; true when it took the press.
    virtual bool SelectionTakesPress(Point /*client*/) { return false; }
    virtual void CommitPaste() {}
    // Before a save, a print, another paste or exit: a floating picture is pasted as a click
    // outside it would paste it. False when it still floats (its undo step was refused).
    virtual bool PutDownFloatingPicture() { return true; }
    // Removes a non-empty selection rectangle; true when there was one.
    virtual bool RemoveSelection() { return false; }
    virtual void StartRubberBand(Point /*q*/) {}
    // Undo and redo: the selection goes, a floating paste is dropped without being pasted.
    virtual void DropForHistory() {}
    // Pointer shape and side hints over the selection (mode 0).
    virtual void SelectionHover(Point /*client*/) {}
    // A drag in progress takes the move or ends at the release; false when none is.
    virtual bool ContinueDrag(Point /*client*/, Point /*q*/) { return false; }
    virtual bool EndDrag(Point /*client*/) { return false; }
    // Tab and the arrows act on the selection when there is one; true when they acted.
    virtual bool TabKey(bool /*reverse*/) { return false; }
    virtual bool ArrowKey(int /*dx*/, int /*dy*/, bool /*ctrl*/, bool /*shift*/) { return false; }
    // Draws the rectangle, its handles or the floating picture into the composed frame; `clip`
    // (window pixels) is the part of the frame that was just redrawn.
    virtual void PaintOnFrame(QPainter& /*painter*/, const Rect& /*clip*/) {}
};

// The barrier of mode 5.
class BarrierHooks {
public:
    virtual ~BarrierHooks() = default;
    virtual bool AddingBarrierPoints() const { return false; }
    // A drag of vertices, the whole barrier, a frame handle or a rubber band is in progress.
    virtual bool DraggingBarrier() const { return false; }
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
    virtual bool ContinueDrag(Point /*client*/, Point /*q*/) { return false; }
    virtual bool EndDrag(Point /*client*/) { return false; }
    virtual bool TabKey(bool /*reverse*/) { return false; }
    virtual void EscapeKey() {}
    virtual bool ArrowKey(int /*dx*/, int /*dy*/, bool /*ctrl*/, bool /*shift*/) { return false; }
    // Draws the barrier, its frame, handles and numbers into the composed frame.
    virtual void PaintOnFrame(QPainter& /*painter*/, const Rect& /*clip*/) {}
};

// The pens of modes 1 and 4 and their processing range.
class PenHooks {
public:
    virtual ~PenHooks() = default;
    virtual bool PenStrokeInProgress() const { return false; }
    virtual void StartPenStroke(Point /*client*/, Point /*q*/) {}
    // The left release: a stroke that processed nothing applies once here, then it becomes one
    // undo step.
    virtual void EndPenStroke(Point /*client*/, Point /*q*/) {}
    // Undo or redo during a stroke: what the stroke changed so far becomes its undo step first.
    virtual void FinishStrokeForHistory() {}
    // The whole-image range: the reference colour is the pixel at q.
    virtual void ApplyPenToWholeImage(Point /*q*/) {}
    // The move in a pen mode: right-button drag, range outline, stroke.
    virtual void PenMove(Point /*client*/, Point /*q*/) {}
    virtual void RightPress(Point /*client*/, bool /*ctrl*/) {}
    virtual void TurnRange(int /*delta*/, bool /*fine*/) {}
    virtual void NextPenShape(Point /*client*/) {}
    virtual void RedrawRangeOutline(Point /*client*/) {}
};

// The pointer animation and the navigator window.
class AnimationHooks {
public:
    virtual ~AnimationHooks() = default;
    virtual void StopAnimation() {}
    // The barrier's hover: `target` a point index, -3 a side, -2 inside, -1 elsewhere;
    // `selected` when what it names is already selected (nothing to point out then).
    virtual void HoverBarrier(int /*target*/, Point /*client*/, bool /*selected*/) {}
    // The navigator window lies over this window point.
    virtual bool NavigatorUnder(Point /*client*/) const { return false; }
};

// The tools the canvas's input dispatch hands events to, asked in the dispatch's fixed order.
// Each tool installs its part; a part not installed answers with the defaults above.
class CanvasToolHooks final {
public:
    void SetSelection(SelectionHooks* part) { selection_ = part != nullptr ? part : &noSelection_; }
    void SetBarrier(BarrierHooks* part) { barrier_ = part != nullptr ? part : &noBarrier_; }
    void SetPens(PenHooks* part) { pens_ = part != nullptr ? part : &noPens_; }
    void SetAnimation(AnimationHooks* part) { animation_ = part != nullptr ? part : &noAnimation_; }

    SelectionHooks& Selection() const { return *selection_; }
    BarrierHooks& Barrier() const { return *barrier_; }
    PenHooks& Pens() const { return *pens_; }
    AnimationHooks& Animation() const { return *animation_; }

    // Selection rectangle and floating paste.
    bool HasSelection() const { return selection_->HasSelection(); }
    bool PasteFloating() const { return selection_->PasteFloating(); }
    bool InsideSelection(Point client) const { return selection_->InsideSelection(client); }
    bool MovingSelection() const { return selection_->MovingSelection(); }
    bool SelectionTakesPress(Point client) { return selection_->SelectionTakesPress(client); }
    void CommitPaste() { selection_->CommitPaste(); }
    bool PutDownFloatingPicture() { return selection_->PutDownFloatingPicture(); }
    bool RemoveSelection() { return selection_->RemoveSelection(); }
    void StartRubberBand(Point q) { selection_->StartRubberBand(q); }
    void DropForHistory() {
        pens_->FinishStrokeForHistory();
        selection_->DropForHistory();
    }
    void SelectionHover(Point client) { selection_->SelectionHover(client); }

    // The drags of the barrier and the selection: the first in progress takes the move or ends
    // at the release; false when none is in progress.
    bool ContinueDrag(Point client, Point q) {
        return barrier_->ContinueDrag(client, q) || selection_->ContinueDrag(client, q);
    }
    bool EndDrag(Point client) { return barrier_->EndDrag(client) || selection_->EndDrag(client); }

    // Barrier.
    bool AddingBarrierPoints() const { return barrier_->AddingBarrierPoints(); }
    bool DraggingBarrier() const { return barrier_->DraggingBarrier(); }
    bool HasBarrier() const { return barrier_->HasBarrier(); }
    BarrierHit HitBarrier(Point client) const { return barrier_->HitBarrier(client); }
    bool BarrierPress(Point client, Point q) { return barrier_->BarrierPress(client, q); }
    void BarrierHover(Point client) { barrier_->BarrierHover(client); }
    void DeselectBarrierPoints() { barrier_->DeselectBarrierPoints(); }
    bool ResizeBarrier(int step) { return barrier_->ResizeBarrier(step); }
    void PrepareBarrierMenu(ContextPopup popup, Point client) {
        barrier_->PrepareBarrierMenu(popup, client);
    }

    // Pens (modes 1 and 4).
    bool PenStrokeInProgress() const { return pens_->PenStrokeInProgress(); }
    void StartPenStroke(Point client, Point q) { pens_->StartPenStroke(client, q); }
    void EndPenStroke(Point client, Point q) { pens_->EndPenStroke(client, q); }
    void ApplyPenToWholeImage(Point q) { pens_->ApplyPenToWholeImage(q); }
    void PenMove(Point client, Point q) { pens_->PenMove(client, q); }
    void RightPress(Point client, bool ctrl) { pens_->RightPress(client, ctrl); }
    void TurnRange(int delta, bool fine) { pens_->TurnRange(delta, fine); }
    void NextPenShape(Point client) { pens_->NextPenShape(client); }
    void RedrawRangeOutline(Point client) { pens_->RedrawRangeOutline(client); }

    // Pointer animation and navigator.
    void StopAnimation() { animation_->StopAnimation(); }
    void HoverBarrier(int target, Point client, bool selected) {
        animation_->HoverBarrier(target, client, selected);
    }
    bool NavigatorUnder(Point client) const { return animation_->NavigatorUnder(client); }

    // Keys that reach the canvas: Tab and the arrows go to the selection, else to the barrier.
    void TabKey(bool reverse) {
        if (!selection_->TabKey(reverse)) {
            barrier_->TabKey(reverse);
        }
    }
    void EscapeKey() { barrier_->EscapeKey(); }
    void ArrowKey(int dx, int dy, bool ctrl, bool shift) {
        if (!selection_->ArrowKey(dx, dy, ctrl, shift)) {
            barrier_->ArrowKey(dx, dy, ctrl, shift);
        }
    }

    // What the tools keep drawn over the image: the barrier, then the selection above it.
    void PaintOnFrame(QPainter& painter, const Rect& clip) {
        barrier_->PaintOnFrame(painter, clip);
        selection_->PaintOnFrame(painter, clip);
    }

private:
    SelectionHooks noSelection_;
    BarrierHooks noBarrier_;
    PenHooks noPens_;
    AnimationHooks noAnimation_;
    SelectionHooks* selection_ = &noSelection_;
    BarrierHooks* barrier_ = &noBarrier_;
    PenHooks* pens_ = &noPens_;
    AnimationHooks* animation_ = &noAnimation_;
};

}  // namespace palvex::ui
