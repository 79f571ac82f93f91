#include "tools/ui/tool_commands.h"

#include <QCursor>

#include "app/app_settings.h"
#include "app/ui/qt_text.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"

namespace palvex::ui {
namespace {

// The mode each mode command checks.
std::optional<ToolMode> CheckedMode(int id) {
    switch (id) {
        case cmd::ID_SELECT:
            return ToolMode::Select;
        case cmd::ID_PEN:
            return ToolMode::Pen;
        case cmd::ID_PAINT:
            return ToolMode::FloodFill;
        case cmd::ID_SPUIT:
            return ToolMode::Eyedropper;
        case cmd::ID_PEN_FILL:
            return ToolMode::FillBack;
        case cmd::ID_BARRIER:
            return ToolMode::Barrier;
        default:
            return std::nullopt;
    }
}

// Commands that would take the canvas out of the barrier mode.
bool LeavesBarrierMode(int id) {
    switch (id) {
        case cmd::ID_SELECT:
        case cmd::ID_CHANGE_SELECT:
        case cmd::ID_PEN:
        case cmd::ID_PEN_TRANS:
        case cmd::ID_PEN_REAL:
        case cmd::ID_PAINT:
        case cmd::ID_SPUIT:
        case cmd::ID_PEN_FILL:
        case cmd::ID_FILL_BACK_MODE:
        case cmd::ID_EDIT_PASTE:
        case cmd::ID_PASTE_HERE:
            return true;
        default:
            return false;
    }
}

}  // namespace

ToolCommands::ToolCommands(EditorModel& model, CMainFrame& frame, SettingsStore& store,
                           Prompter& prompter)
    : model_(model), frame_(frame), store_(store), prompter_(prompter) {}

ToolMode ToolCommands::Mode() const {
    return ToolModeFromStored(model_.settings.toolMode);
}

bool ToolCommands::AddingBarrierPoints() const {
    return input_ != nullptr && input_->Hooks().AddingBarrierPoints();
}

void ToolCommands::SetToolMode(ToolMode mode) {
    const ToolMode old = Mode();
    if (old == mode) {
        return;
    }
    bool repaint = false;
    if (old == ToolMode::Select && input_ != nullptr) {
        CanvasToolHooks& hooks = input_->Hooks();
        if (hooks.PasteFloating()) {
            hooks.CommitPaste();
        } else {
            repaint = hooks.RemoveSelection();
        }
    }
    repaint = repaint || old == ToolMode::Barrier || mode == ToolMode::Barrier;
    model_.settings.toolMode = static_cast<int>(mode);
    if (const int text = ModeGuideText(mode)) {
        frame_.StatusBar()->GuideHint(text);
    }
    if (CVemmarView* view = frame_.View()) {
        view->ForgetPointerOverlay();
        if (repaint) {
            view->SetDirtyRect({});
            view->RepaintNow();
        }
    }
}

void ToolCommands::Select() {
    const ToolMode old = Mode();
    if (old == ToolMode::Select) {
        return;
    }
    model_.settings.toolMode = static_cast<int>(ToolMode::Select);
    if (model_.settings.showGuide == 1) {
        frame_.StatusBar()->SetGuide({});
    }
    if (CVemmarView* view = frame_.View()) {
        view->ForgetPointerOverlay();
        if (old == ToolMode::Barrier) {
            view->SetDirtyRect({});
            view->RepaintNow();
        }
    }
}

void ToolCommands::SetDrawColor(Colour colour) {
    model_.settings.drawColour = colour;
    frame_.Ribbon()->SetColour(cmd::ID_PAINT, colour);
    frame_.Ribbon()->SetColour(cmd::ID_PEN_REAL, colour);
}

// A colour button's own colour becomes DrawColor, and the other button shows it too.
void ToolCommands::TakeButtonColour(int id, int otherId) {
    const Colour colour = frame_.Ribbon()->ColourOf(id);
    if (colour != model_.settings.drawColour) {
        model_.settings.drawColour = colour;
        frame_.Ribbon()->SetColour(otherId, colour);
    }
}

void ToolCommands::PenReal() {
    TakeButtonColour(cmd::ID_PEN_REAL, cmd::ID_PAINT);
    if (Mode() != ToolMode::Pen) {
        SetToolMode(ToolMode::Pen);
        return;
    }
    if (model_.settings.drawColour == model_.image.TransparentColor) {
        prompter_.Information(str::kDrawColourIsKey);
    }
}

void ToolCommands::ToggleRgb() {
    AppSettings& settings = model_.settings;
    settings.showRgb = settings.showRgb == 1 ? 0 : 1;
    frame_.StatusBar()->FlashMessage(str::kNoticeRgb, settings.showRgb == 1, texts::kSwitchOnWord,
                                     texts::kSwitchOffWord);
    CVemmarView* view = frame_.View();
    if (view == nullptr || input_ == nullptr || !IsPenMode(Mode())) {
        return;
    }
    const QPoint p = view->viewport()->mapFromGlobal(QCursor::pos());
    if (view->viewport()->rect().contains(p)) {
        input_->Hooks().RedrawRangeOutline({p.x(), p.y()});
    }
}

void ToolCommands::ToggleAnimation() {
    AppSettings& settings = model_.settings;
    const bool on = settings.animationRings == 0;
    if (on) {
        // The count in use before the switch comes back; a stored 0 would leave it off.
        const int stored = setting::kPlayAnime.Read(store_);
        settings.animationRings = lastRings_ > 0 ? lastRings_
                                  : stored > 0   ? stored
                                                 : setting::kPlayAnime.fallback;
    } else {
        lastRings_ = settings.animationRings;
        settings.animationRings = 0;
    }
    frame_.StatusBar()->FlashMessage(str::kNoticeAnimation, on, texts::kSwitchOnWord,
                                     texts::kSwitchOffWord);
}

bool ToolCommands::OnCommand(int id) {
    AppSettings& settings = model_.settings;
    CMyStatusBar& bar = *frame_.StatusBar();
    switch (id) {
        case cmd::ID_SELECT:
            Select();
            return true;
        case cmd::ID_CHANGE_SELECT:
            frame_.ActivateRibbonTab(ToQString(texts::kHomeTab));
            Select();
            return true;
        case cmd::ID_PEN:
            frame_.ActivateRibbonTab(ToQString(texts::kPenTab));
            SetToolMode(ToolMode::Pen);
            return true;
        case cmd::ID_PEN_TRANS:
            SetToolMode(ToolMode::Pen);
            // The colour buttons keep showing the real colour for the next ID_PEN_REAL.
            settings.drawColour = model_.image.TransparentColor;
            return true;
        case cmd::ID_PEN_REAL:
            PenReal();
            return true;
        case cmd::ID_PAINT:
            TakeButtonColour(cmd::ID_PAINT, cmd::ID_PEN_REAL);
            SetToolMode(ToolMode::FloodFill);
            return true;
        case cmd::ID_SAME_TRANS:
            SetDrawColor(model_.image.TransparentColor);
            return true;
        case cmd::ID_SPUIT:
            SetToolMode(ToolMode::Eyedropper);
            return true;
        case cmd::ID_PEN_FILL:
        case cmd::ID_FILL_BACK_MODE:
            SetToolMode(ToolMode::FillBack);
            return true;
        case cmd::ID_BARRIER:
            frame_.ActivateRibbonTab(ToQString(texts::kBarrierTab));
            SetToolMode(ToolMode::Barrier);
            return true;
        case cmd::ID_DSP_GUIDE:
            settings.showGuide = settings.showGuide == 1 ? 0 : 1;
            bar.FlashMessage(str::kNoticeGuide, settings.showGuide == 1, texts::kSwitchOnWord,
                             texts::kSwitchOffWord);
            return true;
        case cmd::ID_DSP_RGB:
            ToggleRgb();
            return true;
        case cmd::ID_STOP_CUR:
            settings.stopCursor = settings.stopCursor == 1 ? 0 : 1;
            bar.FlashMessage(str::kNoticeStopCursor, settings.stopCursor == 1, texts::kStopOnWord,
                             texts::kStopOffWord);
            return true;
        case cmd::ID_DSP_ANIME:
            ToggleAnimation();
            return true;
        default:
            return false;
    }
}

bool ToolCommands::OnUpdateCommand(int id, CommandUiState& state) {
    const ToolMode mode = Mode();
    const bool drawsKey = model_.settings.drawColour == model_.image.TransparentColor;
    // Placing goes on in the barrier mode until it ends; nothing may leave the mode before.
    if (AddingBarrierPoints() && LeavesBarrierMode(id)) {
        state.enabled = false;
        if (const std::optional<ToolMode> checked = CheckedMode(id)) {
            state.checked = mode == *checked;
        }
        return true;
    }
    if (const std::optional<ToolMode> checked = CheckedMode(id)) {
        state.checked = mode == *checked;
        return true;
    }
    switch (id) {
        case cmd::ID_CHANGE_SELECT:
            return true;
        case cmd::ID_PEN_TRANS:
            state.checked = mode == ToolMode::Pen && drawsKey;
            return true;
        case cmd::ID_PEN_REAL:
            state.checked = mode == ToolMode::Pen && !drawsKey;
            return true;
        case cmd::ID_SAME_TRANS:
            state.text = ToQString(drawsKey ? texts::kDrawColourIsKeyLabel
                                            : FindCommand(cmd::ID_SAME_TRANS)->label);
            return true;
        case cmd::ID_FILL_BACK_MODE:
        case cmd::ID_DSP_GUIDE:
        case cmd::ID_DSP_RGB:
        case cmd::ID_STOP_CUR:
        case cmd::ID_DSP_ANIME:
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
