#pragma once

#include <QString>

#include "base/prompter.h"

class QFileDialog;
class QWidget;

namespace palvex::ui {

// The desktop's answers: message boxes captioned with the application title, the platform's
// file dialogs and the JPEG quality dialog, all modal to `parent`.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    Answer Show(const MessageRequest& request) override;
    std::optional<SaveFileChoice> AskSaveFile(const SaveFileRequest& request) override;
    std::optional<SaveFileChoice> AskOpenFile(const OpenFileRequest& request) override;
    std::optional<std::uint32_t> AskColour(std::uint32_t initial) override;
    std::optional<int> AskJpegQuality(int initial) override;

private:
    std::optional<SaveFileChoice> RunFileDialog(QFileDialog& dialog,
                                                const std::vector<FileFilter>& filters,
                                                int selectedFilter,
                                                const QString& initialName = {});
    QString StartFolder(const std::filesystem::path& folder) const;

    QWidget* parent_;
    QString lastFolder_;  // where the last confirmed file dialog was
};

}  // namespace palvex::ui
