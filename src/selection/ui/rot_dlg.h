#pragma once

#include <QDialog>

class QSpinBox;

namespace palvex::ui {

// The angle dialog: a whole number of degrees, 0 to 359.
class CRotDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CRotDlg(int initial, QWidget* parent = nullptr);
    // The entry as confirmed: limited to 0..359, text without a number reads as 0.
    int Angle() const;

private:
    QSpinBox* angle_;
};

}  // namespace palvex::ui
