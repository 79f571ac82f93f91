#pragma once

#include "base/prompter.h"

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
    QWidget* parent_;
};

}  // namespace palvex::ui
