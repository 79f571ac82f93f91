#pragma once

#include <memory>

#include "app/editor_model.h"
#include "base/settings_store.h"
#include "mainwindow/ui/command_router.h"
#include "tools/ui/canvas_tool_hooks.h"
#include "tools/ui/pointer_animator.h"

class QWidget;

namespace palvex::ui {

class CMyStatusBar;
class CNaviDlg;
class CVemmarView;

// The navigator's commands (F8 and "to the top left") and the canvas's pointer animation: the
// two aids that show where the pointer is. The navigator is made at its first display and kept,
// hidden or shown, until the window closes; its placement is written back then.
class NavigatorTool final : public CommandTarget, public AnimationHooks {
public:
    NavigatorTool(EditorModel& model, SettingsStore& store, CVemmarView& view,
                  CMyStatusBar& statusBar, QWidget& owner);
    ~NavigatorTool() override;

    // Start-up with Last\DspNavi set: made and shown.
    void ShowAtStartup();
    CNaviDlg* Navigator() const { return navigator_.get(); }
    PointerAnimator& Animator() { return animator_; }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

    void StopAnimation() override { animator_.Stop(); }
    void HoverBarrier(int target, Point client, bool selected) override {
        animator_.HoverBarrier(target, client, selected);
    }
    bool NavigatorUnder(Point client) const override;

private:
    CNaviDlg& Make();
    void ToggleNavigator();

    EditorModel& model_;
    SettingsStore& store_;
    CVemmarView& view_;
    CMyStatusBar& statusBar_;
    QWidget& owner_;
    PointerAnimator animator_;
    std::unique_ptr<CNaviDlg> navigator_;
};

}  // namespace palvex::ui
