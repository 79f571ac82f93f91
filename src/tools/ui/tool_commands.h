#pragma once

#include "app/editor_model.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "mainwindow/ui/command_router.h"
#include "tools/tool_mode.h"

namespace palvex::ui {

class CanvasInput;
class CMainFrame;

// The frame's handlers of the tool-mode commands, the drawing-colour buttons and the display
// switches (F2, F3, F9, F10), with their check and enable states.
class ToolCommands final : public CommandTarget {
public:
    ToolCommands(EditorModel& model, CMainFrame& frame, SettingsStore& store, Prompter& prompter);

    void SetInput(CanvasInput* input) { input_ = input; }

    // The common mode change; nothing when the mode is already active.
    void SetToolMode(ToolMode mode);
    // DrawColor and the two colour buttons that show it.
    void SetDrawColor(Colour colour);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

private:
    ToolMode Mode() const;
    bool AddingBarrierPoints() const;
    void Select();
    void TakeButtonColour(int id, int otherId);
    void PenReal();
    void ToggleRgb();
    void ToggleAnimation();

    EditorModel& model_;
    CMainFrame& frame_;
    SettingsStore& store_;
    Prompter& prompter_;
    CanvasInput* input_ = nullptr;
    int lastRings_ = 0;  // the ring count F10 switched off
};

}  // namespace palvex::ui
