#pragma once

#include <QDialog>

class QLabel;
class QSlider;

namespace palvex::ui {

// The JPEG quality dialog: a slider from 10 to 100 with its number and ten preset buttons.
class CAssukuDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAssukuDlg(int initialQuality, QWidget* parent = nullptr);
    int Quality() const;
    void SetQuality(int quality);

private:
    QSlider* slider_;
    QLabel* number_;
};

}  // namespace palvex::ui
