#pragma once

#include <optional>

#include "app/app_settings.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "image/geometry.h"
#include "selection/transform_dialogs.h"

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace palvex::ui {

// The angle and size dialogs' 実行/中止 row, Run the default; its rejection closes the dialog.
// The caller connects the acceptance, which each dialog checks first.
QDialogButtonBox* RunCancelButtons(QDialog& dialog);

// The questions of the angle and size commands, so tests can answer them.
class TransformAsker {
public:
    virtual ~TransformAsker() = default;
    // The angle dialog; it reads and stores its own setting (Rot). The confirmed angle
    // (0..359), nothing on Cancel.
    virtual std::optional<int> AskAngle(AppSettings& settings) = 0;
    // The size dialog for `base`; it reads and stores its own settings (CheckPer, SizePerW,
    // SizePerH, FixRitu). The new size, nothing on Cancel.
    virtual std::optional<Size> AskSize(const SizeDialogBase& base, AppSettings& settings) = 0;
};

// The two dialogs on the screen, over the settings store.
class DialogAsker final : public TransformAsker {
public:
    DialogAsker(QWidget* parent, SettingsStore& store, Prompter& prompter)
        : parent_(parent), store_(store), prompter_(prompter) {}
    std::optional<int> AskAngle(AppSettings& settings) override;
    std::optional<Size> AskSize(const SizeDialogBase& base, AppSettings& settings) override;

private:
    QWidget* parent_;
    SettingsStore& store_;
    Prompter& prompter_;
};

}  // namespace palvex::ui
