#include "barrier/ui/barrier_tool.h"
#include "canvas/ui/navigator_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "selection/ui/selection_tool.h"
#include "tools/ui/canvas_input.h"
#include "tools/ui/pen_tool.h"
#include "tools/ui/tool_commands.h"

namespace palvex::ui {

// Each tool takes its part of the canvas's events through the input's hooks and handles its
// commands as a tool target. The frame destroys the targets before the input.
void CMainFrame::InstallTools() {
    auto barrier = std::make_unique<BarrierTool>(
        BarrierTool::Services{model_, *this, *view_, *input_, router_, store_, prompter_});
    input_->Hooks().SetBarrier(barrier.get());
    AddToolTarget(std::move(barrier));
    auto navigator = std::make_unique<NavigatorTool>(model_, store_, *view_, *statusBar_, *this);
    navigatorTool_ = navigator.get();
    input_->Hooks().SetAnimation(navigator.get());
    AddToolTarget(std::move(navigator));
    auto pens = std::make_unique<PenTool>(
        PenTool::Services{model_, *view_, *statusBar_, *ribbon_, *input_});
    input_->Hooks().SetPens(pens.get());
    AddToolTarget(std::move(pens));
    auto selection = std::make_unique<SelectionTool>(
        SelectionTool::Services{model_, *view_, *statusBar_, prompter_,
                                [this](ToolMode mode) { tools_->SetToolMode(mode); }},
        std::make_unique<SystemClipboard>(),
        std::make_unique<DialogAsker>(this, store_, prompter_));
    input_->Hooks().SetSelection(selection.get());
    AddToolTarget(std::move(selection));
}

}  // namespace palvex::ui
