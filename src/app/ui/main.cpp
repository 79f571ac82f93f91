// The Palvex editor.

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/ui/printer_setup.h"
#include "app/ui/qt_desktop_shell.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/qt_settings_store.h"
#include "app/ui/termination.h"
#include "app/ui/ui_language.h"
#include "app/ui/vemmar_app.h"
#include "app/version.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/ui/app_icon.h"

int main(int argc, char** argv) {
    // Answered before any window system is needed.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("palvex %s\n", palvex::kVersion);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quorvane");
    QApplication::setApplicationName("Palvex");
    QApplication::setApplicationVersion(palvex::kVersion);
    // The taskbar groups windows by this identity: on Linux the desktop entry's name.
#ifdef Q_OS_WIN
    QApplication::setDesktopFileName("Quorvane.Palvex.1.00");
#else
    QApplication::setDesktopFileName("palvex");
#endif
    QApplication::setWindowIcon(palvex::ui::AppIcon());
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    // Before any window or text is made: they read their texts once.
    palvex::ui::UiLanguage::InstallForStartup(arguments);

    palvex::QtSettingsStore store;
    palvex::ui::QtPrompter prompter;
    palvex::ui::QtDesktopShell shell;
    palvex::ui::PrinterSetup printer;
    palvex::ui::CVemmarApp app(
        {prompter, store, shell, palvex::WorkFolder(),
         [&printer](const palvex::AppSettings& settings) { return printer.SetUp(settings); }});
    app.SetPrinter([&printer] { return printer.Printer(); });
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
