#pragma once

#include "mainwindow/ui/command_router.h"

namespace palvex::ui {

class CVemmarApp;
struct AppServices;

// The commands of the dialogs around the editing: the environment settings, the recent-file
// manager, printing, the manual and the about box. The application asks it after its own.
class DialogCommands final : public CommandTarget {
public:
    DialogCommands(CVemmarApp& app, AppServices& services) : app_(app), services_(services) {}

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

private:
    void EnvironmentSettings();
    void RecentManager();

    CVemmarApp& app_;
    AppServices& services_;
};

}  // namespace palvex::ui
