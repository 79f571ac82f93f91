#pragma once

#include <functional>
#include <memory>

#include "mainwindow/ui/command_router.h"

class QPrinter;

namespace palvex::ui {

class CVemmarApp;
struct AppServices;

// The commands of the dialogs around the editing: the environment settings, the recent-file
// manager, printing, the manual and the about box. The application asks it after its own.
class DialogCommands final : public CommandTarget {
public:
    DialogCommands(CVemmarApp& app, AppServices& services);
    ~DialogCommands() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

    // The printer set up at start-up; unset, a PDF printer of its own.
    std::function<QPrinter*()> printer;

private:
    void EnvironmentSettings();
    void RecentManager();
    void Print();
    void Help();
    void About();
    QPrinter* Printer();

    CVemmarApp& app_;
    AppServices& services_;
    std::unique_ptr<QPrinter> ownPrinter_;
};

}  // namespace palvex::ui
