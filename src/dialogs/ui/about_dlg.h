#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace palvex::ui {

// The about box: the name, the version of this build, the version history and the legal notice.
class CAboutDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QPlainTextEdit* History() const { return history_; }

private:
    QPlainTextEdit* history_;
};

}  // namespace palvex::ui
