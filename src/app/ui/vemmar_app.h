#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/editor_model.h"
#include "base/desktop_shell.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "base/work_folder.h"
#include "image/image_saver.h"
#include "mainwindow/ui/command_router.h"

class QPrinter;

namespace palvex::ui {

class CMainFrame;
class DialogCommands;
class CVemmarDoc;
class CVemmarView;

// What the application talks to outside itself; tests give it their own.
struct AppServices {
    Prompter& prompter;
    SettingsStore& store;
    DesktopShell& shell;
    WorkFolder workFolder;
    // Sets up the default printer (or a PDF printer) with the stored paper and orientation;
    // false when no printer at all can be set up.
    std::function<bool(const AppSettings&)> setUpPrinter;
};

// The application: owns the editing state, the document and the main window, runs start-up
// and shutdown in their fixed order, and handles the file commands.
class CVemmarApp final : public QObject, public CommandTarget {
    Q_OBJECT

public:
    explicit CVemmarApp(AppServices services, QObject* parent = nullptr);
    ~CVemmarApp() override;

    // Start-up; false ends the process before the event loop (after its message).
    bool InitInstance(const QStringList& arguments);
    // Shutdown: the settings, the work folder and the recent-file list.
    void ExitInstance();

    EditorModel& Model() { return model_; }
    CVemmarDoc& Document() { return *document_; }
    CMainFrame* MainFrame() { return frame_.get(); }
    CVemmarView* View() { return view_; }
    CommandRouter& Router() { return router_; }
    // The printer set up at start-up; without one the print command makes a PDF printer.
    void SetPrinter(std::function<QPrinter*()> printer);

    // The loader and what follows a successful load, as every open path runs it; asks nothing.
    // A relative path is made absolute; the loaded image is unmodified.
    bool OpenImageFile(const std::filesystem::path& path);
    // A floating picture is pasted before anything reads or leaves the image (save, print,
    // exit); false when it could not be and the caller must stop.
    bool PutDownFloatingPicture();
    // The question before the document goes; false keeps the application running.
    bool SaveModified();
    // Pixels changed: the document is modified and the canvas repaints the rectangle.
    void ImageEdited(const Rect& imageRect);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

private:
    bool CreateMainWindow();
    void DestroyMainWindow();
    SaveContext MakeSaveContext();
    bool OpenRecent(int index);
    // A user's open: a modified image is offered for saving first; Cancel keeps it.
    bool OpenReplacing(const std::filesystem::path& path);
    // Where the file dialogs start: the image's folder (none: the last one used).
    std::filesystem::path DialogFolder() const;
    bool OpenDocumentFile(const std::filesystem::path& path);
    void NewDocument();
    void OpenWithDialog();
    void OpenDropped(const QStringList& paths);
    bool SaveDocument();
    void ActivateTabOfToolMode();
    void ShowTransparentColour();
    void ChangeTransparentColour();

    AppServices services_;
    EditorModel model_;
    CommandRouter router_;
    std::unique_ptr<CVemmarDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    CVemmarView* view_ = nullptr;
    std::unique_ptr<DialogCommands> dialogs_;
};

}  // namespace palvex::ui
