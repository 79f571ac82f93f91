// The Palvex editor.

#include <QApplication>

#include "app/ui/printer_setup.h"
#include "app/ui/qt_desktop_shell.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/qt_settings_store.h"
#include "app/ui/termination.h"
#include "app/ui/vemmar_app.h"
#include "mainwindow/ui/main_frame.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quorvane");
    QApplication::setApplicationName("Palvex");
    QApplication::setDesktopFileName("Quorvane.Palvex.1.00");

    palvex::QtSettingsStore store;
    palvex::ui::QtPrompter prompter;
    palvex::ui::QtDesktopShell shell;
    palvex::ui::PrinterSetup printer;
    palvex::ui::CVemmarApp app(
        {prompter, store, shell, palvex::WorkFolder(),
         [&printer](const palvex::AppSettings& settings) { return printer.SetUp(settings); }});
    app.SetPrinter([&printer] { return printer.Printer(); });
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments)) {
        return 1;
    }
    prompter.SetParent(app.MainFrame());
    // A session ending or `kill` closes the window the normal way, so settings are kept.
    palvex::ui::CloseOnTermination(app.MainFrame());
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
