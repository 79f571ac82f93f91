#include "app/ui/vemmar_app.h"

#include <fstream>

#include "app/ui/qt_text.h"
#include "app/ui/vemmar_doc.h"
#include "barrier/pixel_mask.h"
#include "canvas/ui/navigator_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "dialogs/ui/dialog_commands.h"
#include "image/image_saver.h"
#include "image/return_memory.h"
#include "image/save_format.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"

namespace palvex::ui {
namespace {

bool IsSaveAsCommand(int id) {
    return InitialSaveEntry(id, {}) != 0;
}

bool IsRecentCommand(int id) {
    return id >= cmd::ID_FILE_MRU_FIRST &&
           id < cmd::ID_FILE_MRU_FIRST + RecentFileList::kMaxEntries;
}

// The first argument that is not an option: the file to open at start-up.
std::optional<std::filesystem::path> FileArgument(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (!argument.startsWith('-')) {
            return ToPath(argument);
        }
    }
    return std::nullopt;
}

// The open dialog's filter of the one format with this extension, if any.
std::optional<FileFilter> FormatFilterOf(const std::string& extension) {
    const std::vector<FileFilter> filters = OpenFormatFilters();
    // The first filter takes every format.
    for (std::size_t i = 1; i < filters.size(); ++i) {
        if ((";" + filters[i].patterns + ";").find(";*." + extension + ";") != std::string::npos) {
            return filters[i];
        }
    }
    return std::nullopt;
}

}  // namespace

CVemmarApp::CVemmarApp(AppServices services, QObject* parent)
    : QObject(parent),
      services_(std::move(services)),
      document_(std::make_unique<CVemmarDoc>()),
      dialogs_(std::make_unique<DialogCommands>(*this, services_)) {}

CVemmarApp::~CVemmarApp() = default;

void CVemmarApp::SetPrinter(std::function<QPrinter*()> printer) {
    dialogs_->printer = std::move(printer);
}

bool CVemmarApp::InitInstance(const QStringList& arguments) {
    SettingsStore& store = services_.store;
    model_.recent.Load(store);
    const std::optional<std::filesystem::path> file = FileArgument(arguments);

    model_.settings.ReadPrinterDefaults(store);
    if (services_.setUpPrinter && !services_.setUpPrinter(model_.settings)) {
        services_.prompter.Error(str::kPrinterInitFailed);
        return false;
    }
    model_.settings.ReadAtStartup(store);

    if (!CreateMainWindow()) {
        return false;
    }
    if (file && !OpenDocumentFile(*file)) {
        DestroyMainWindow();
        return false;
    }
    frame_->show();

    if (!frame_->SetUpRibbon()) {
        services_.prompter.Error(str::kRibbonInitFailed);
        DestroyMainWindow();
        return false;
    }
    ActivateTabOfToolMode();
    model_.settings.ReadAfterRibbon(store);
    ShowTransparentColour();
    model_.settings.ReadFirstOpen(store);
    if (!file && model_.settings.firstOpen == 1) {
        OpenRecent(0);
    }
    if (NavigatorTool* navigator = frame_->Navigator()) {
        navigator->ShowAtStartup();
    }
    frame_->activateWindow();
    if (file) {
        view_->ImageReplaced();
    }
    router_.UpdateActions();
    return true;
}

bool CVemmarApp::CreateMainWindow() {
    frame_ = std::make_unique<CMainFrame>(model_, router_, services_.store, services_.prompter);
    auto* view = new CVemmarView(model_, services_.store, services_.prompter, services_.workFolder);
    frame_->SetView(view);
    if (!view->Create()) {
        frame_.reset();
        return false;
    }
    view_ = view;
    router_.SetTargets({view_, frame_.get(), this});
    frame_->canClose = [this] { return SaveModified(); };
    frame_->SetDocumentTitle(document_->Title());
    connect(document_.get(), &CVemmarDoc::TitleChanged, frame_.get(),
            &CMainFrame::SetDocumentTitle);
    connect(view_, &CVemmarView::FilesDropped, this, &CVemmarApp::OpenDropped);
    connect(view_, &CVemmarView::ImageEdited, this, &CVemmarApp::ImageEdited);
    connect(
        view_, &CVemmarView::ImageEditTakenBack, this,
        [this](const Rect&, bool modifiedBefore) { document_->SetModifiedFlag(modifiedBefore); });
    view_->documentModified = [this] { return document_->IsModified(); };
    connect(view_, &CVemmarView::ImageResized, frame_.get(), &CMainFrame::RefreshImageInfo);
    frame_->resize(1024, 720);
    return true;
}

void CVemmarApp::DestroyMainWindow() {
    view_ = nullptr;  // owned by the frame
    frame_.reset();
}

SaveContext CVemmarApp::MakeSaveContext() {
    // Every save reads the image only after the undo history has written what it holds.
    if (view_ != nullptr) {
        view_->WaitForHistoryWrites();
    }
    return {model_.image.WorkImage, model_.image.TransparentColor,
            model_.image.facts,     services_.store,
            services_.prompter,     services_.shell};
}

bool CVemmarApp::OpenRecent(int index) {
    return OpenRecentEntry(
        model_.recent, index, services_.prompter,
        [this](const std::filesystem::path& path) { return OpenReplacing(path); });
}

bool CVemmarApp::OpenReplacing(const std::filesystem::path& path) {
    return SaveModified() && OpenImageFile(path);
}

std::filesystem::path CVemmarApp::DialogFolder() const {
    return document_->PathName().empty() ? std::filesystem::path()
                                         : document_->PathName().parent_path();
}

// The command-line path: the document framework checks that the file can be read before the
// loader sees it.
bool CVemmarApp::OpenDocumentFile(const std::filesystem::path& path) {
    if (!std::ifstream(path, std::ios::binary)) {
        services_.prompter.Error(0, texts::kDocumentOpenFailed);
        return false;
    }
    return OpenImageFile(path);
}

bool CVemmarApp::OpenImageFile(const std::filesystem::path& given) {
    // The recent list and the overwrite save need the path wherever the working folder goes.
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(given, ec).lexically_normal();
    if (ec) {
        path = given;
    }
    LoadResult loaded =
        LoadImageFile(path, setting::kFirstTrans.Read(services_.store), services_.prompter);
    if (!loaded.ok) {
        return false;
    }
    // A new image removes the selection; a floating picture goes unpasted. A stroke under way
    // ends into the old image's history, which is emptied next.
    if (frame_ && frame_->Input() != nullptr) {
        frame_->Input()->EndForHistory();
    }
    if (view_ != nullptr) {
        view_->ResetHistory();
    }
    ReleaseSpareMasks();
    services_.workFolder.CleanWorkFolder(services_.prompter);
    if (view_ != nullptr) {
        view_->ForgetPointerOverlay();
    }
    InstallLoadedImage(model_.image, std::move(loaded));
    ReturnFreedMemory();
    if (view_ != nullptr) {
        emit view_->ImageLoaded();
        view_->ImageReplaced();
    }
    if (frame_) {
        frame_->RefreshImageInfo();
    }
    model_.recent.Add(PathText(path));
    document_->SetPathName(path);
    // What was asked about before the load is gone; the new image has no edits.
    document_->SetModifiedFlag(false);
    // Every open path, not only the dialog and a drop: a stale colour on the button would
    // become the key again at its next click.
    ShowTransparentColour();
    router_.UpdateActions();
    return true;
}

void CVemmarApp::ActivateTabOfToolMode() {
    switch (model_.settings.toolMode) {
        case 1:
        case 4:
            frame_->ActivateRibbonTab(ToQString(texts::kPenTab));
            break;
        case 5:
            frame_->ActivateRibbonTab(ToQString(texts::kBarrierTab));
            break;
        default:
            break;
    }
}

void CVemmarApp::ShowTransparentColour() {
    if (frame_) {
        frame_->Ribbon()->SetColour(cmd::ID_TRANS_COL, model_.image.TransparentColor);
    }
}

void CVemmarApp::ChangeTransparentColour() {
    // The automatic entry gives no colour, which no pixel matches: nothing is transparent.
    model_.image.TransparentColor = frame_->Ribbon()->ColourOf(cmd::ID_TRANS_COL);
    if (view_ != nullptr) {
        view_->SetDirtyRect({});
        view_->RepaintNow();
    }
}

void CVemmarApp::ImageEdited(const Rect& imageRect) {
    document_->SetModifiedFlag(true);
    if (view_ != nullptr) {
        view_->SetDirtyRect(imageRect);
        view_->RepaintNow();
    }
}

void CVemmarApp::ExitInstance() {
    if (view_ != nullptr) {
        view_->WaitForHistoryWrites();
    }
    model_.settings.WriteAtShutdown(services_.store);
    services_.workFolder.CleanWorkFolder(services_.prompter);
    model_.recent.Save(services_.store);
}

bool CVemmarApp::PutDownFloatingPicture() {
    return !frame_ || frame_->Input() == nullptr ||
           frame_->Input()->Hooks().PutDownFloatingPicture();
}

bool CVemmarApp::SaveModified() {
    if (!PutDownFloatingPicture()) {
        return false;
    }
    if (!document_->IsModified()) {
        return true;
    }
    QString question = ToQString(texts::kSaveChangesQuestion).arg(document_->Title());
    const Answer answer = services_.prompter.Show(
        {0, ToStdString(question), MessageIcon::Question, MessageButtons::YesNoCancel});
    if (answer == Answer::Cancel) {
        return false;
    }
    return answer == Answer::No || SaveDocument();
}

bool CVemmarApp::SaveDocument() {
    if (!PutDownFloatingPicture()) {
        return false;
    }
    std::filesystem::path path = document_->PathName();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    const bool writable = !ec && std::filesystem::exists(status) &&
                          (status.permissions() & std::filesystem::perms::owner_write) !=
                              std::filesystem::perms::none;
    if (!writable) {
        // The file has gone or become read-only: ask for a new name first, proposing the same
        // name, folder and format.
        SaveFileRequest request;
        request.initialName = PathText(path);
        request.folder = path.parent_path();
        request.defaultExtension = ExtensionOf(path);
        if (std::optional<FileFilter> own = FormatFilterOf(request.defaultExtension)) {
            request.filters.push_back(*own);
        }
        request.filters.push_back({std::string(texts::kDocumentFilterLabel),
                                   std::string(texts::kDocumentFilterPatterns)});
        const std::optional<SaveFileChoice> choice = services_.prompter.AskSaveFile(request);
        if (!choice) {
            return false;
        }
        path = choice->path;
    }
    if (!palvex::SaveDocument(MakeSaveContext(), path)) {
        return false;
    }
    if (path != document_->PathName()) {
        document_->SetPathName(path);
    }
    document_->SetModifiedFlag(false);
    return true;
}

// As the framework's new document in a single-document editor: the open one may be saved
// first, then the editor is where a start without a file leaves it.
void CVemmarApp::NewDocument() {
    if (!SaveModified()) {
        return;
    }
    if (view_ != nullptr) {
        view_->ForgetPointerOverlay();
    }
    if (frame_ && frame_->Input() != nullptr) {
        frame_->Input()->EndForHistory();
    }
    // As a load: the old image's steps and barrier go with it.
    if (view_ != nullptr) {
        view_->ResetHistory();
    }
    ReleaseSpareMasks();
    services_.workFolder.CleanWorkFolder(services_.prompter);
    model_.image = ImageState{};
    ReturnFreedMemory();
    document_->OnNewDocument();
    if (view_ != nullptr) {
        emit view_->ImageLoaded();
        view_->ImageReplaced();
    }
    if (frame_) {
        frame_->RefreshImageInfo();
    }
    ShowTransparentColour();
    router_.UpdateActions();
}

void CVemmarApp::OpenWithDialog() {
    OpenFileRequest request{std::string(texts::kOpenDialogTitle), OpenFormatFilters(),
                            setting::kOpenType.Read(services_.store), DialogFolder()};
    const std::optional<SaveFileChoice> choice = services_.prompter.AskOpenFile(request);
    if (!choice) {
        return;
    }
    // A filter the dialog could not tell keeps the one remembered.
    if (choice->filter >= 1 && choice->filter <= static_cast<int>(request.filters.size())) {
        setting::kOpenType.Write(services_.store, choice->filter);
    }
    OpenReplacing(choice->path);
}

void CVemmarApp::OpenDropped(const QStringList& paths) {
    if (!paths.isEmpty()) {
        OpenReplacing(ToPath(paths.first()));
    }
}

bool CVemmarApp::OnCommand(int id) {
    if (IsSaveAsCommand(id)) {
        if (!PutDownFloatingPicture()) {
            return true;
        }
        SaveImageAs(MakeSaveContext(), InitialSaveEntry(id, model_.image.facts.SourceBmpFormat),
                    DialogFolder());
        return true;
    }
    if (IsRecentCommand(id)) {
        OpenRecent(id - cmd::ID_FILE_MRU_FIRST);
        return true;
    }
    if (dialogs_->OnCommand(id)) {
        return true;
    }
    switch (id) {
        case cmd::ID_FILE_NEW:
            NewDocument();
            return true;
        case cmd::ID_FILE_OPEN:
            OpenWithDialog();
            return true;
        case cmd::ID_FILE_SAVE:
            SaveDocument();
            return true;
        case cmd::ID_APP_EXIT:
            if (frame_) {
                frame_->close();
            }
            return true;
        case cmd::ID_TRANS_COL:
            if (frame_) {
                ChangeTransparentColour();
            }
            return true;
        default:
            return false;
    }
}

bool CVemmarApp::OnUpdateCommand(int id, CommandUiState& state) {
    const bool hasImage = !model_.image.WorkImage.IsNull();
    if (IsSaveAsCommand(id) || id == cmd::ID_FILE_SAVE) {
        state.enabled = hasImage;
        return true;
    }
    if (IsRecentCommand(id)) {
        state.enabled = id - cmd::ID_FILE_MRU_FIRST < model_.recent.Count();
        return true;
    }
    if (dialogs_->OnUpdateCommand(id, state)) {
        return true;
    }
    return id == cmd::ID_FILE_NEW || id == cmd::ID_FILE_OPEN || id == cmd::ID_APP_EXIT ||
           id == cmd::ID_TRANS_COL;
}

}  // namespace palvex::ui
