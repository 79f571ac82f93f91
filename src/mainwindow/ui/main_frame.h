#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "app/editor_model.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "mainwindow/ui/accelerator_map.h"
#include "mainwindow/ui/command_router.h"

namespace palvex::ui {

class CMyRibbonBar;
class CMyStatusBar;
class CVemmarView;
class CanvasInput;
class NavigatorTool;
class ToolCommands;

// The main window: the ribbon above, the canvas in the middle, the status bar below. Handles
// the zoom, background, look and ribbon commands, routes the keyboard accelerators, and keeps
// the ribbon's tab in step with the tool mode. Closing asks the application whether the
// document may go.
class CMainFrame final : public QMainWindow, public CommandTarget {
    Q_OBJECT

public:
    CMainFrame(EditorModel& model, CommandRouter& router, SettingsStore& store, Prompter& prompter,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    void SetView(CVemmarView* view);
    CVemmarView* View() const { return view_; }
    CMyRibbonBar* Ribbon() const { return ribbon_; }
    CMyStatusBar* StatusBar() const { return statusBar_; }
    ToolCommands& Tools() const { return *tools_; }
    CanvasInput* Input() const { return input_.get(); }
    NavigatorTool* Navigator() const { return navigatorTool_; }
    // A tool's own command handler, asked after the mode commands; the frame keeps it.
    void AddToolTarget(std::unique_ptr<CommandTarget> target);

    // Whether the window may close (the document's save question); set by the application.
    std::function<bool()> canClose;

    // The ribbon's elements take the editing state; false when an element is missing.
    bool SetUpRibbon();
    bool ActivateRibbonTab(const QString& text);
    void ApplyApplicationLook(int value);
    int ApplicationLook() const { return look_; }
    void ToggleRibbonMinimized();

    // The position and size panes: the image size while nothing is selected.
    void RefreshImageInfo();
    void SetDocumentTitle(const QString& title);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool TakesKeysOf(const QWidget* window) const;
    bool HandleKey(QKeyEvent* event);
    // The keyboard to the next (or previous) of the ribbon, the canvas and the status bar.
    void MoveFocusBetweenAreas(bool forward);
    void OnRibbonTabChanged(const QString& name);
    void ChangeBackgroundColour();
    void ToggleKeyHelp();
    // Creates the tools that keep state of their own, each with its part of the canvas's events.
    void InstallTools();

    EditorModel& model_;
    CommandRouter& router_;
    SettingsStore& store_;
    Prompter& prompter_;
    CVemmarView* view_ = nullptr;
    CMyRibbonBar* ribbon_;
    CMyStatusBar* statusBar_;
    AcceleratorMap accelerators_;
    std::unique_ptr<ToolCommands> tools_;
    std::unique_ptr<CanvasInput> input_;
    std::vector<std::unique_ptr<CommandTarget>> toolTargets_;
    NavigatorTool* navigatorTool_ = nullptr;  // one of toolTargets_
    QTimer updateTimer_;
    int look_;
};

}  // namespace palvex::ui
