#include <filesystem>

#include "app/ui/qt_text.h"
#include "barrier/barrier_file.h"
#include "barrier/barrier_history.h"
#include "barrier/ui/barrier_tool.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

std::vector<FileFilter> BarrierFilters() {
    return {{std::string(texts::kBarrierFilterLabel), std::string(texts::kBarrierFilterPatterns)}};
}

std::string HistoryText(const std::filesystem::path& path) {
    return ToStdString(PathToQString(path));
}

}  // namespace

void BarrierTool::SaveBarrierAs() {
    if (!barrier_.CanSaveOrFill()) {
        return;
    }
    Prompter& prompter = services_.prompter;
    SaveFileRequest request;
    request.initialName = std::string(texts::kSaveDialogInitialName);
    request.defaultExtension = std::string(texts::kBarrierDefaultExtension);
    request.filters = BarrierFilters();
    const std::optional<SaveFileChoice> choice = prompter.AskSaveFile(request);
    if (!choice) {
        return;
    }
    std::error_code ec;
    if (std::filesystem::exists(choice->path, ec) && !prompter.AskYesNo(str::kFileExists)) {
        return;
    }
    // The write goes to a file beside the target and replaces it only when complete; a failure
    // has told the user and left the old file and the history as they were.
    if (!WriteBarrierFile(choice->path, barrier_.Vertices(), prompter)) {
        return;
    }
    BarrierHistory(services_.store).Add(HistoryText(choice->path));
    RefreshHistoryLabels();
    prompter.Information(str::kSaved);
}

// A file replaces the barrier only once it has been read in full; the replaced barrier is an
// undo step.
bool BarrierTool::TakeVertices(const std::vector<Point>& vertices) {
    if (!barrier_.ReplaceVertices(vertices)) {
        return false;
    }
    Repaint();
    services_.router.UpdateActions();
    return true;
}

void BarrierTool::LoadBarrierDialog() {
    if (!barrier_.CanLoad(HasImage())) {
        return;
    }
    OpenFileRequest request;
    request.filters = BarrierFilters();
    const std::optional<SaveFileChoice> choice = services_.prompter.AskOpenFile(request);
    if (!choice) {
        return;
    }
    const BarrierReadResult read = ReadBarrierFile(choice->path, ImageSize(), services_.prompter);
    if (read.status == BarrierReadStatus::Ok && TakeVertices(read.vertices)) {
        BarrierHistory(services_.store).Add(HistoryText(choice->path));
        RefreshHistoryLabels();
    }
}

// With no image the clamp range would be empty, and while placing the vertex limit of placing
// would be passed: the buttons do nothing then, as the load command does.
void BarrierTool::LoadFromHistory(int index) {
    if (!barrier_.CanLoad(HasImage())) {
        return;
    }
    BarrierHistory history(services_.store);
    const BarrierReadResult read =
        palvex::LoadFromHistory(history, index, ImageSize(), services_.prompter);
    if (read.status == BarrierReadStatus::Ok) {
        TakeVertices(read.vertices);
        RefreshHistoryLabels();
    }
}

void BarrierTool::RefreshHistoryLabels() {
    historyLabels_ = BarrierHistory(services_.store).Entries();
    services_.router.UpdateActions();
}

}  // namespace palvex::ui
