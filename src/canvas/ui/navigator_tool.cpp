#include "canvas/ui/navigator_tool.h"

#include "canvas/ui/navi_dlg.h"
#include "canvas/ui/vemmar_view.h"
#include "resources/command_ids.h"

namespace palvex::ui {

NavigatorTool::NavigatorTool(EditorModel& model, SettingsStore& store, CVemmarView& view,
                             CMyStatusBar& statusBar, QWidget& owner)
    : model_(model),
      store_(store),
      view_(view),
      statusBar_(statusBar),
      owner_(owner),
      animator_(model, view) {}

NavigatorTool::~NavigatorTool() {
    if (navigator_ != nullptr) {
        model_.settings.navigator = navigator_->Placement();
        model_.settings.WriteNavigator(store_);
    }
}

CNaviDlg& NavigatorTool::Make() {
    if (navigator_ == nullptr) {
        model_.settings.ReadNavigator(store_);
        navigator_ = std::make_unique<CNaviDlg>(model_, view_, statusBar_, &owner_);
        navigator_->hidden = [this] { model_.settings.showNavigator = 0; };
        navigator_->Place(model_.settings.navigator);
    }
    return *navigator_;
}

void NavigatorTool::ShowAtStartup() {
    if (model_.settings.showNavigator == 0) {
        return;
    }
    CNaviDlg& navigator = Make();
    navigator.show();
    navigator.activateWindow();
}

void NavigatorTool::ToggleNavigator() {
    if (navigator_ != nullptr && navigator_->isVisible()) {
        navigator_->hide();
        model_.settings.showNavigator = 0;
        return;
    }
    CNaviDlg& navigator = Make();
    model_.settings.showNavigator = 1;
    navigator.show();
    // The keyboard stays with the editor: F8 again hides the navigator.
    owner_.activateWindow();
}

bool NavigatorTool::NavigatorUnder(Point client) const {
    if (navigator_ == nullptr || !navigator_->isVisible()) {
        return false;
    }
    const QPoint global = view_.viewport()->mapToGlobal(QPoint(client.x, client.y));
    return navigator_->frameGeometry().contains(global);
}

bool NavigatorTool::OnCommand(int id) {
    switch (id) {
        case cmd::ID_NAVI_DSP:
            ToggleNavigator();
            return true;
        case cmd::ID_NAVI_LT: {
            CNaviDlg& navigator = Make();
            navigator.MoveToScreenCorner();
            navigator.show();
            model_.settings.showNavigator = 1;
            return true;
        }
        default:
            return false;
    }
}

bool NavigatorTool::OnUpdateCommand(int id, CommandUiState& state) {
    switch (id) {
        case cmd::ID_NAVI_DSP:
            state.checked = model_.settings.showNavigator != 0;
            return true;
        case cmd::ID_NAVI_LT:
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
