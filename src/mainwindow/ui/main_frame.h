#pragma once

#include <QMainWindow>
#include <functional>

#include "app/editor_model.h"
#include "mainwindow/ui/command_router.h"
#include "resources/command_table.h"

class QLabel;
class QMenu;

namespace palvex::ui {

class CVemmarView;

// The main window: the canvas in the middle, the status bar below, and the commands of the
// command table in its menus. Handles the zoom and background commands; closing asks the
// application whether the document may go.
class CMainFrame final : public QMainWindow, public CommandTarget {
    Q_OBJECT

public:
    CMainFrame(EditorModel& model, CommandRouter& router, QWidget* parent = nullptr);

    void SetView(CVemmarView* view);
    CVemmarView* View() const { return view_; }

    // Whether the window may close (the document's save question); set by the application.
    std::function<bool()> canClose;

    // The position and size panes: the image size while nothing is selected.
    void RefreshImageInfo();
    void SetDocumentTitle(const QString& title);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QMenu* AddCommandMenu(const QString& title, CommandPlace place);

    EditorModel& model_;
    CommandRouter& router_;
    CVemmarView* view_ = nullptr;
    QLabel* positionPane_;
    QLabel* sizePane_;
};

}  // namespace palvex::ui
