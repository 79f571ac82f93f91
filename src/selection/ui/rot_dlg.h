#pragma once

#include <QDialog>

#include "app/app_settings.h"

class QSpinBox;

namespace palvex::ui {

// The angle dialog: a whole number of degrees, 0 to 359. It opens at the stored angle (Rot) and
// stores the confirmed one at OK.
class CRotDlg final : public QDialog {
    Q_OBJECT

public:
    CRotDlg(AppSettings& settings, SettingsStore& store, QWidget* parent = nullptr);
    // The entry as confirmed: limited to 0..359, text without a number reads as 0.
    int Angle() const;
    void accept() override;

private:
    AppSettings& settings_;
    SettingsStore& store_;
    QSpinBox* angle_;
};

}  // namespace palvex::ui
