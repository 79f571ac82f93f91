#pragma once

#include <QDialog>

#include "app/app_settings.h"
#include "base/prompter.h"
#include "selection/transform_dialogs.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace palvex::ui {

// The size dialog: a new size in percent or in pixels, optionally keeping the aspect ratio.
// It opens with the stored choices (CheckPer, SizePerW, SizePerH, FixRitu). OK stores the first
// three every time and refuses a percentage that gives more than 5000 pixels, the dialog then
// staying open; the ratio switch is stored when it closes.
class CSizeDlg final : public QDialog {
    Q_OBJECT

public:
    CSizeDlg(const SizeDialogBase& base, AppSettings& settings, SettingsStore& store,
             Prompter& prompter, QWidget* parent = nullptr);
    Size Result() const { return result_; }
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the stored choices into the settings before the controls are made.
    static AppSettings& ReadStored(AppSettings& settings, const SettingsStore& store);
    QSpinBox* MakeSpin(const char* name, int maximum, int value);
    // With the ratio kept, a change of one entry sets its partner.
    void Follow(QSpinBox* changed);

    SizeDialogBase base_;
    AppSettings& settings_;
    SettingsStore& store_;
    Prompter& prompter_;
    QRadioButton* percent_;
    QRadioButton* pixels_;
    QSpinBox* percentW_;
    QSpinBox* percentH_;
    QSpinBox* pixelW_;
    QSpinBox* pixelH_;
    QCheckBox* keepAspect_;
    bool following_ = false;
    Size result_;
};

}  // namespace palvex::ui
