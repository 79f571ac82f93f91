#pragma once

#include <QWidget>

#include "resources/command_table.h"

class QAction;
class QLabel;
class QSpinBox;

namespace palvex::ui {

// An edit with spin buttons and its label. A change by the user runs its command, which reads
// the text back.
class RibbonSpinEdit final : public QWidget {
    Q_OBJECT

public:
    RibbonSpinEdit(const CommandInfo& row, QAction* action, QWidget* parent = nullptr);

    int CommandId() const { return row_.id; }
    QString Label() const;
    QString Text() const;
    // Sets the text without running the command.
    void SetText(const QString& text);
    QSpinBox* Edit() const { return edit_; }

private:
    const CommandInfo& row_;
    QAction* action_;
    QLabel* label_;
    QSpinBox* edit_;
    bool setting_ = false;
};

}  // namespace palvex::ui
