#include <QString>

#include "app/ui/qt_text.h"
#include "barrier/barrier_commands.h"
#include "barrier/barrier_fill.h"
#include "barrier/barrier_history.h"
#include "barrier/ui/barrier_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"
#include "tools/ui/tool_commands.h"

namespace palvex::ui {
namespace {

bool IsHistoryButton(int id) {
    return id >= cmd::ID_LOAD_BARI_1 && id < cmd::ID_LOAD_BARI_1 + BarrierHistory::kEntries;
}

}  // namespace

void BarrierTool::AfterShapeChange(bool changed, bool refreshInfo) {
    if (!changed) {
        return;
    }
    Repaint();
    if (refreshInfo) {
        services_.frame.RefreshImageInfo();
    }
    services_.router.UpdateActions();
}

void BarrierTool::ToggleAdding() {
    if (barrier_.Adding()) {
        Apply(barrier_.EndAdding(ImageSize(), Direction()));
        return;
    }
    if (!HasImage()) {
        return;
    }
    services_.frame.ActivateRibbonTab(ToQString(texts::kBarrierTab));
    services_.frame.Tools().SetToolMode(ToolMode::Barrier);
    const PlacingResult started = barrier_.StartAdding();
    if (!started.repaint) {
        return;  // the snapshot could not be stored
    }
    timer_.start();
    Apply(started);
}

void BarrierTool::Reclose(ClosingDirection direction) {
    services_.model.settings.clockwise = direction == ClosingDirection::Clockwise ? 1 : 0;
    if (!barrier_.Adding() && barrier_.Reclose(ImageSize(), direction)) {
        Repaint();
    }
}

void BarrierTool::SelectionToBarrier() {
    CanvasToolHooks& hooks = services_.input.Hooks();
    const Rect selection = hooks.Selection().SelectionRect();
    if (selection.IsEmpty() || !barrier_.SelectionToBarrier(selection)) {
        return;
    }
    hooks.RemoveSelection();
    services_.frame.ActivateRibbonTab(ToQString(texts::kBarrierTab));
    services_.frame.Tools().SetToolMode(ToolMode::Barrier);
    Repaint();
    services_.router.UpdateActions();
}

// The four transparency commands. The fill works out what changes first, so that the snapshot
// covers exactly that; a failed snapshot leaves the image as it was (the history has said why).
void BarrierTool::Transparent(BarrierSide side, bool atContextPoint) {
    if (!HasImage() || barrier_.Count() == 0 || barrier_.Adding()) {
        return;
    }
    ImageState& image = services_.model.image;
    CVemmarView& view = services_.view;
    std::optional<Point> seed;
    if (atContextPoint) {
        seed = view.Mapping().WindowToImage(view.ContextPoint());
    }
    const SnapshotPush pushSnapshot = [&view](const Rect& rect) {
        return view.PushImageSnapshot(rect);
    };
    // What the fill overwrites is its undo step, as for the flood fill: no copy of the image.
    RecordPush pushRecord;
    if (view.RecordsFills()) {
        pushRecord = [&view](FillRecord& record) {
            return !record.Lost() && view.PushFill(std::move(record));
        };
    }
    const BarrierFillResult result =
        BarrierTransparent(image.WorkImage, image.TransparentColor, barrier_.Vertices(), side, seed,
                           pushSnapshot, pushRecord, services_.prompter);
    if (result.status != BarrierFillStatus::Done) {
        return;
    }
    view.ForgetPointerOverlay();
    emit view.ImageEdited(result.changed);
}

void BarrierTool::TakeColour(int id, Colour& setting) {
    setting = services_.frame.Ribbon()->ColourOf(id);
    if (barrier_.Count() > 0) {
        Repaint();
    }
}

bool BarrierTool::OnCommand(int id) {
    AppSettings& settings = services_.model.settings;
    Prompter& prompter = services_.prompter;
    if (IsHistoryButton(id)) {
        LoadFromHistory(id - cmd::ID_LOAD_BARI_1);
        return true;
    }
    switch (id) {
        case cmd::ID_BARRIER_POS_ADD:
            ToggleAdding();
            return true;
        case cmd::ID_TOKEI:
            barrier_.RestartTimer();
            services_.router.UpdateActions();
            return true;
        case cmd::ID_ROUND_R:
            Reclose(ClosingDirection::Clockwise);
            return true;
        case cmd::ID_ROUND_L:
            Reclose(ClosingDirection::CounterClockwise);
            return true;
        case kCmdEraseBarrier:
            AfterShapeChange(barrier_.EraseBarrier());
            return true;
        case cmd::ID_EDIT_CLEAR:
            // Delete erases the barrier only while it is selected as a whole.
            if (!BarrierMode() || !barrier_.WholeSelection()) {
                return false;
            }
            AfterShapeChange(barrier_.EraseBarrier());
            return true;
        case kCmdSelectionToBarrier:
            SelectionToBarrier();
            return true;
        case cmd::ID_BARI_IN_TRANS:
            Transparent(BarrierSide::Inside, false);
            return true;
        case cmd::ID_BARI_OUT_TRANS:
            Transparent(BarrierSide::Outside, false);
            return true;
        case kCmdInsideAtPoint:
            Transparent(BarrierSide::Inside, true);
            return true;
        case kCmdOutsideAtPoint:
            Transparent(BarrierSide::Outside, true);
            return true;
        case kCmdGrow1:
        case kCmdGrow10:
        case kCmdShrink1:
        case kCmdShrink10: {
            const int step = (id == kCmdGrow1 || id == kCmdShrink1) ? 1 : 10;
            ResizeBarrier(id == kCmdGrow1 || id == kCmdGrow10 ? step : -step);
            return true;
        }
        case kCmdMultiply2:
            AfterShapeChange(barrier_.MultiplyVertices(2, prompter));
            return true;
        case kCmdMultiply3:
            AfterShapeChange(barrier_.MultiplyVertices(3, prompter));
            return true;
        case kCmdMultiply5:
            AfterShapeChange(barrier_.MultiplyVertices(5, prompter));
            return true;
        case kCmdThin2:
            AfterShapeChange(barrier_.ThinVertices(2));
            return true;
        case kCmdThin3:
            AfterShapeChange(barrier_.ThinVertices(3));
            return true;
        case kCmdThin5:
            AfterShapeChange(barrier_.ThinVertices(5));
            return true;
        case kCmdPlaceOnRect:
            AfterShapeChange(barrier_.PlaceOnRect());
            return true;
        case kCmdPlaceOnEllipse:
            AfterShapeChange(barrier_.PlaceOnEllipse());
            return true;
        case cmd::ID_ALINE_H:
            AfterShapeChange(barrier_.AlignToMain(Axis::X));
            return true;
        case cmd::ID_ALINE_V:
            AfterShapeChange(barrier_.AlignToMain(Axis::Y));
            return true;
        case cmd::ID_TO_H_KIN:
            AfterShapeChange(barrier_.SpaceEvenly(Axis::X, prompter));
            return true;
        case cmd::ID_TO_V_KIN:
            AfterShapeChange(barrier_.SpaceEvenly(Axis::Y, prompter));
            return true;
        case kCmdDeleteVertices:
            AfterShapeChange(barrier_.DeleteSelectedVertices(prompter));
            return true;
        case kCmdInsert1:
        case kCmdInsert2:
        case kCmdInsert3:
            AfterShapeChange(barrier_.InsertOnSide(id - kCmdInsert1 + 1, prompter));
            return true;
        case cmd::ID_BARI_SAVE:
        case cmd::ID_BARI_SAVE_AS:
            SaveBarrierAs();
            return true;
        case cmd::ID_BARI_LOAD:
        case cmd::ID_BARI_LOAD_MENU:
            LoadBarrierDialog();
            return true;
        case cmd::ID_LOAD_CLS:
            BarrierHistory(services_.store).Clear();
            RefreshHistoryLabels();
            return true;
        case cmd::ID_BARRIER_LINE_COL:
            TakeColour(id, settings.barrierLineColour);
            return true;
        case cmd::ID_BARRIER_POS_COL:
            TakeColour(id, settings.barrierPointColour);
            return true;
        case cmd::ID_BARRIER_NUM_COL:
            TakeColour(id, settings.barrierNumberColour);
            return true;
        case cmd::ID_BARRIER_SEL_LINE_COL:
            TakeColour(id, settings.barrierSelectedLineColour);
            return true;
        case cmd::ID_BARRIER_SEL_POS_COL:
            TakeColour(id, settings.barrierSelectedPointColour);
            return true;
        case cmd::ID_BARRIER_SEL_NUM_COL:
            TakeColour(id, settings.barrierSelectedNumberColour);
            return true;
        case cmd::ID_SEL_LINE_COL:
            // Shared with the selection rectangle, which a full repaint redraws too.
            settings.selectionLineColour = services_.frame.Ribbon()->ColourOf(id);
            Repaint();
            return true;
        case cmd::ID_POS_CHECK:
        case cmd::ID_NUM_CHECK: {
            int& shown =
                id == cmd::ID_POS_CHECK ? settings.showBarrierPoints : settings.showBarrierNumbers;
            shown = shown == 1 ? 0 : 1;
            if (BarrierMode()) {
                Repaint();
            }
            services_.router.UpdateActions();
            return true;
        }
        default:
            return false;
    }
}

bool BarrierTool::OnUpdateCommand(int id, CommandUiState& state) {
    const AppSettings& settings = services_.model.settings;
    const bool adding = barrier_.Adding();
    const bool imageLoaded = HasImage();
    if (IsHistoryButton(id)) {
        const std::string& path = historyLabels_[std::size_t(id - cmd::ID_LOAD_BARI_1)];
        if (!path.empty()) {
            state.text = ToQString(path);
        }
        return true;
    }
    switch (id) {
        case cmd::ID_BARRIER_POS_ADD:
            state.enabled = barrier_.CanStartAdding(imageLoaded) || adding;
            state.checked = adding;
            state.text = ToQString(adding ? texts::kEndAddingLabel
                                          : FindCommand(cmd::ID_BARRIER_POS_ADD)->label);
            return true;
        case cmd::ID_TOKEI:
            state.text = ToQString(texts::kTimerLabel)
                             .replace(QStringLiteral("%d"),
                                      QString::number(adding ? barrier_.SecondsLeft() : 60));
            return true;
        case cmd::ID_ROUND_R:
            state.checked = settings.clockwise == 1;
            return true;
        case cmd::ID_ROUND_L:
            state.checked = settings.clockwise != 1;
            return true;
        case cmd::ID_EDIT_CLEAR:
            return BarrierMode() && barrier_.WholeSelection();
        case kCmdSelectionToBarrier:
            state.enabled = !services_.input.Hooks().Selection().SelectionRect().IsEmpty();
            return true;
        case cmd::ID_BARI_SAVE:
        case cmd::ID_BARI_SAVE_AS:
        case cmd::ID_BARI_IN_TRANS:
        case cmd::ID_BARI_OUT_TRANS:
            state.enabled = barrier_.CanSaveOrFill();
            return true;
        case cmd::ID_BARI_LOAD:
        case cmd::ID_BARI_LOAD_MENU:
            state.enabled = barrier_.CanLoad(imageLoaded);
            return true;
        case cmd::ID_ALINE_H:
        case cmd::ID_ALINE_V:
            state.enabled = barrier_.CanAlign(BarrierMode());
            return true;
        case cmd::ID_TO_H_KIN:
        case cmd::ID_TO_V_KIN:
            state.enabled = barrier_.CanSpaceEvenly(BarrierMode());
            return true;
        case kCmdMultiply2:
        case kCmdMultiply3:
        case kCmdMultiply5:
        case kCmdThin2:
        case kCmdThin3:
        case kCmdThin5:
        case kCmdPlaceOnRect:
        case kCmdPlaceOnEllipse:
        case kCmdOutsideAtPoint:
            state.enabled = barrier_.IsMenuItemEnabled(id);
            return true;
        case cmd::ID_POS_CHECK:
            state.checked = settings.showBarrierPoints == 1;
            return true;
        case cmd::ID_NUM_CHECK:
            state.checked = settings.showBarrierNumbers == 1;
            return true;
        case kCmdEraseBarrier:
        case kCmdInsideAtPoint:
        case kCmdGrow1:
        case kCmdGrow10:
        case kCmdShrink1:
        case kCmdShrink10:
        case kCmdDeleteVertices:
        case kCmdInsert1:
        case kCmdInsert2:
        case kCmdInsert3:
        case cmd::ID_LOAD_CLS:
        case cmd::ID_BARRIER_LINE_COL:
        case cmd::ID_BARRIER_POS_COL:
        case cmd::ID_BARRIER_NUM_COL:
        case cmd::ID_BARRIER_SEL_LINE_COL:
        case cmd::ID_BARRIER_SEL_POS_COL:
        case cmd::ID_BARRIER_SEL_NUM_COL:
        case cmd::ID_SEL_LINE_COL:
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
