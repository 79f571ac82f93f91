#include "dialogs/ui/dialog_commands.h"

#include "app/ui/vemmar_app.h"
#include "dialogs/ui/kanset_dlg.h"
#include "dialogs/ui/recent_dlg.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"

namespace palvex::ui {

void DialogCommands::EnvironmentSettings() {
    AppSettings& settings = app_.Model().settings;
    const bool guideWasOn = settings.showGuide == 1;
    CKansetDlg dialog(settings, services_.store, app_.MainFrame());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The rest shows the next time it is used; a guide switched off must not stay on screen.
    if (guideWasOn && settings.showGuide != 1 && app_.MainFrame() != nullptr) {
        app_.MainFrame()->StatusBar()->SetGuide({});
    }
}

void DialogCommands::RecentManager() {
    CRecentDlg dialog(app_.Model().recent, services_.prompter, services_.shell, app_.MainFrame());
    dialog.exec();
    app_.Router().UpdateActions();
}

bool DialogCommands::OnCommand(int id) {
    switch (id) {
        case cmd::ID_KAN_SET:
            EnvironmentSettings();
            return true;
        case cmd::ID_RECENT_KANRI:
            RecentManager();
            return true;
        default:
            return false;
    }
}

bool DialogCommands::OnUpdateCommand(int id, CommandUiState& /*state*/) {
    return id == cmd::ID_KAN_SET || id == cmd::ID_RECENT_KANRI;
}

}  // namespace palvex::ui
