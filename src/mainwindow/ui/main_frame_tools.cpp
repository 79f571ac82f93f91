#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "selection/ui/selection_tool.h"
#include "tools/ui/canvas_input.h"
#include "tools/ui/tool_commands.h"

namespace palvex::ui {

// Each tool takes its part of the canvas's events through the input's hooks and handles its
// commands as a tool target. The frame destroys the targets before the input.
void CMainFrame::InstallTools() {
    auto selection = std::make_unique<SelectionTool>(
        SelectionTool::Services{model_, *view_, *statusBar_, prompter_,
                                [this](ToolMode mode) { tools_->SetToolMode(mode); }},
        std::make_unique<SystemClipboard>(), std::make_unique<DialogAsker>(this, prompter_));
    input_->Hooks().SetSelection(selection.get());
    AddToolTarget(std::move(selection));
}

}  // namespace palvex::ui
