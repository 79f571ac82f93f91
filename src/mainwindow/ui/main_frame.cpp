#include "mainwindow/ui/main_frame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <map>

#include "app/ui/qt_text.h"
#include "canvas/canvas_mapping.h"
#include "canvas/image_layer.h"
#include "canvas/ui/vemmar_view.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

bool IsZoomCommand(int id) { return id >= cmd::ID_ZOOM1 && id <= cmd::ID_ZOOM5; }

}  // namespace

CMainFrame::CMainFrame(EditorModel& model, CommandRouter& router, QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      router_(router),
      positionPane_(new QLabel(this)),
      sizePane_(new QLabel(this)) {
    setObjectName("CMainFrame");
    // Created translucent so that the mode without background can let the desktop show
    // through the canvas; every other part of the window paints itself opaque.
    setAttribute(Qt::WA_TranslucentBackground);
    setMinimumSize(400, 300);
    positionPane_->setObjectName("positionPane");
    sizePane_->setObjectName("sizePane");
    statusBar()->setAutoFillBackground(true);
    statusBar()->addPermanentWidget(positionPane_);
    statusBar()->addPermanentWidget(sizePane_);
    menuBar()->setAutoFillBackground(true);
    BuildMenus();
    RefreshImageInfo();
}

void CMainFrame::SetView(CVemmarView* view) {
    view_ = view;
    setCentralWidget(view);
    connect(view, &CVemmarView::ZoomSliderMoved, this, [this] { router_.UpdateActions(); });
}

QMenu* CMainFrame::AddCommandMenu(const QString& title, CommandPlace place) {
    QMenu* menu = menuBar()->addMenu(title);
    std::map<std::string_view, QMenu*> submenus;
    for (const CommandInfo& command : CommandTable()) {
        if (command.place != place) {
            continue;
        }
        QAction* action = router_.Action(command.id);
        if (command.kind == CommandKind::SplitButton) {
            // A split button's own command heads its submenu.
            QMenu* submenu = menu->addMenu(action->text());
            submenu->addAction(action);
            submenu->addSeparator();
            submenus[command.name] = submenu;
            continue;
        }
        if (command.kind == CommandKind::ColourButton || command.kind == CommandKind::Slider) {
            if (command.id == cmd::ID_BK_COL) {
                submenus[command.name] = menu->addMenu(action->text());
            }
            continue;
        }
        const auto parent = submenus.find(command.panel);
        (parent != submenus.end() ? parent->second : menu)->addAction(action);
    }
    connect(menu, &QMenu::aboutToShow, &router_, &CommandRouter::UpdateActions);
    return menu;
}

void CMainFrame::BuildMenus() {
    AddCommandMenu(ToQString(texts::kApplicationMenu), CommandPlace::ApplicationMenu);
    AddCommandMenu(ToQString(texts::kHomeTab).section(' ', 0, 0), CommandPlace::Home);
}

void CMainFrame::SetDocumentTitle(const QString& title) {
    setWindowTitle(title + " - " + ToQString(texts::kAppTitle));
}

void CMainFrame::RefreshImageInfo() {
    positionPane_->setText(QString("%1,%2").arg(0).arg(0));
    sizePane_->setText(QString("%1×%2").arg(model_.image.width).arg(model_.image.height));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (canClose && !canClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool CMainFrame::OnCommand(int id) {
    if (view_ == nullptr) {
        return false;
    }
    if (IsZoomCommand(id)) {
        const int position = id - cmd::ID_ZOOM1 + 1;
        view_->SetZoom(ZoomForSliderPosition(position));
        view_->SetZoomSliderPosition(position);
        return true;
    }
    switch (id) {
        case cmd::ID_ZOOM_SLIDER:
            view_->SetZoom(ZoomForSliderPosition(view_->ZoomSliderPosition()));
            return true;
        case cmd::ID_ALPHA_0:
            view_->SetBackgroundMode(kBackgroundNone, true);
            return true;
        case cmd::ID_ALPHA1:
            view_->SetBackgroundMode(kBackgroundChecker, false);
            return true;
        case cmd::ID_ALPHA2:
            view_->SetBackgroundMode(kBackgroundIcon, false);
            return true;
        case cmd::ID_ALPHA9:
            view_->SetBackgroundMode(kBackgroundPicture, false);
            return true;
        case cmd::ID_CHANGE_FREEBK:
            view_->ChangeFreeBackground();
            return true;
        case cmd::ID_TEST_TRANS:
            view_->TestTransparency();
            return true;
        default:
            return false;
    }
}

bool CMainFrame::OnUpdateCommand(int id, CommandUiState& state) {
    if (IsZoomCommand(id)) {
        state.checked = model_.settings.zoomFactor == kZoomLevels[id - cmd::ID_ZOOM1];
        return true;
    }
    switch (id) {
        case cmd::ID_ZOOM_SLIDER:
        case cmd::ID_ALPHA_0:
        case cmd::ID_ALPHA1:
        case cmd::ID_ALPHA2:
        case cmd::ID_CHANGE_FREEBK:
            return true;
        case cmd::ID_ALPHA9:
            state.enabled = !model_.settings.backgroundImage.empty();
            return true;
        case cmd::ID_TEST_TRANS:
            state.enabled = model_.settings.backgroundMode != kBackgroundNone;
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
