#include "mainwindow/ui/main_frame.h"
#include "tools/ui/canvas_input.h"

namespace palvex::ui {

// Each tool takes its part of the canvas's events through the input's hooks and handles its
// commands as a tool target. The frame destroys the targets before the input.
void CMainFrame::InstallTools() {}

}  // namespace palvex::ui
