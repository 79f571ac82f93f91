#include "dialogs/ui/dialog_commands.h"

#include <QCoreApplication>
#include <QPrinter>
#include <filesystem>
#include <system_error>

#include "app/ui/printer_setup.h"
#include "app/ui/qt_text.h"
#include "app/ui/vemmar_app.h"
#include "canvas/image_layer.h"
#include "canvas/ui/vemmar_view.h"
#include "dialogs/help_texts.h"
#include "dialogs/ui/about_dlg.h"
#include "dialogs/ui/help_dlg.h"
#include "dialogs/ui/insatu_dlg.h"
#include "dialogs/ui/kanset_dlg.h"
#include "dialogs/ui/recent_dlg.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/language.h"
#include "resources/string_table.h"

namespace palvex::ui {

DialogCommands::DialogCommands(CVemmarApp& app, AppServices& services)
    : app_(app), services_(services) {}

DialogCommands::~DialogCommands() = default;

QPrinter* DialogCommands::Printer() {
    if (printer) {
        return printer();
    }
    if (!ownPrinter_) {
        ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        ownPrinter_->setOutputFormat(QPrinter::PdfFormat);
        const PrintSettings& print = app_.Model().settings.print;
        ApplyPaper(*ownPrinter_, print.paperSize, print.orientation);
    }
    return ownPrinter_.get();
}

void DialogCommands::Print() {
    if (!app_.PutDownFloatingPicture()) {
        return;
    }
    EditorModel& model = app_.Model();
    const Bitmap& image = model.image.WorkImage;
    if (image.IsNull()) {
        return;
    }
    // The image as the canvas shows it at 100 %, background and all.
    Bitmap printImage;
    if (!printImage.Create(image.Width(), image.Height())) {
        services_.prompter.Error(str::kMemoryAllocationFailed);
        return;
    }
    static const BackgroundTiles kNoTiles{};
    const BackgroundTiles& tiles = app_.View() != nullptr ? app_.View()->Tiles() : kNoTiles;
    DrawImageLayer(printImage, {0, 0}, {image, model.image.TransparentColor, 1.0f}, {},
                   model.settings.backgroundMode, tiles);
    const QImage copy = QImage(reinterpret_cast<const uchar*>(printImage.Data()),
                               printImage.Width(), printImage.Height(),
                               static_cast<qsizetype>(printImage.Stride()), QImage::Format_RGB32)
                            .copy();
    QWidget* parent = app_.MainFrame();
    const double screenDpi = parent != nullptr ? parent->logicalDpiX() : 96.0;
    CInsatuDlg dialog(model.settings, services_.store, services_.prompter, Printer(), copy,
                      screenDpi, parent);
    if (dialog.Initialise()) {
        dialog.exec();
    }
}

void DialogCommands::Help() {
    const std::filesystem::path manual =
        ManualPath(ToPath(QCoreApplication::applicationFilePath()), TextLanguage());
    // A missing manual is only a message: no PDF view is built for it (Qt's view registers a
    // gesture recogniser and a render thread that live until the process ends).
    std::error_code error;
    if (!std::filesystem::is_regular_file(manual, error)) {
        services_.prompter.Information(str::kManualMissing);
        return;
    }
    CHelpDlg dialog(app_.MainFrame());
    if (dialog.Open(manual, services_.prompter)) {
        dialog.exec();
    }
}

void DialogCommands::About() {
    CAboutDlg dialog(app_.MainFrame());
    dialog.exec();
}

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
        case cmd::ID_FILE_PRINT:
            Print();
            return true;
        case cmd::ID_HELP_DSP:
        case cmd::ID_HELP:
            Help();
            return true;
        case cmd::ID_APP_ABOUT:
            About();
            return true;
        default:
            return false;
    }
}

bool DialogCommands::OnUpdateCommand(int id, CommandUiState& state) {
    if (id == cmd::ID_FILE_PRINT) {
        state.enabled = !app_.Model().image.WorkImage.IsNull();
        return true;
    }
    return id == cmd::ID_KAN_SET || id == cmd::ID_RECENT_KANRI || id == cmd::ID_HELP_DSP ||
           id == cmd::ID_HELP || id == cmd::ID_APP_ABOUT;
}

}  // namespace palvex::ui
