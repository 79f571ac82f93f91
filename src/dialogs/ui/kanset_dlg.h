#pragma once

#include <QDialog>
#include <array>

#include "dialogs/kanset_values.h"

class QButtonGroup;
class QCheckBox;
class QSpinBox;

namespace palvex::ui {

// The environment settings dialog: eight options, shown from the settings at opening and applied
// only at OK (three written to the store, the rest kept in the model until exit).
class CKansetDlg final : public QDialog {
    Q_OBJECT

public:
    CKansetDlg(AppSettings& settings, SettingsStore& store, QWidget* parent = nullptr);

    // What the controls say now.
    KansetValues Values() const;

    void accept() override;

private:
    void Show(const KansetValues& values);

    AppSettings& settings_;
    SettingsStore& store_;
    QCheckBox* firstOpen_;
    QCheckBox* makeBackup_;
    QButtonGroup* firstTrans_;
    QCheckBox* guide_;
    QCheckBox* rgb_;
    QCheckBox* stopCursor_;
    QCheckBox* animation_;
    QSpinBox* animationCount_;
    QButtonGroup* speed_;
    QCheckBox* keyHelp_;
};

}  // namespace palvex::ui
