#pragma once

#include <QDialog>
#include <filesystem>

#include "base/prompter.h"

class QPdfDocument;
class QPdfView;

namespace palvex::ui {

// The manual inside the editor: the PDF beside the executable, shown maximised.
class CHelpDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CHelpDlg(QWidget* parent = nullptr);

    // Loads the manual; false after message 30173 when it is missing or cannot be read.
    bool Open(const std::filesystem::path& manual, Prompter& prompter);
    QPdfDocument* Document() const { return document_; }

private:
    QPdfDocument* document_;
    QPdfView* view_;
};

}  // namespace palvex::ui
