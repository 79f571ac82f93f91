#include "selection/ui/rot_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/clamping_spin_box.h"
#include "app/ui/qt_text.h"
#include "resources/texts.h"
#include "selection/transform_dialogs.h"
#include "selection/ui/transform_asker.h"

namespace palvex::ui {

CRotDlg::CRotDlg(AppSettings& settings, SettingsStore& store, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store), angle_(new ClampingSpinBox(this)) {
    setWindowTitle(ToQString(texts::kAngleDialogCaption));
    setObjectName("CRotDlg");
    angle_->setObjectName("angle");
    angle_->setRange(0, kMaxAngle);
    angle_->setValue(setting::kRot.Read(store_));
    settings_.rotation = angle_->value();

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(ToQString(texts::kAngleLabel), this));
    row->addWidget(angle_);
    row->addWidget(new QLabel(ToQString(texts::kDegreeUnit), this));

    QDialogButtonBox* buttons = RunCancelButtons(*this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRotDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

int CRotDlg::Angle() const {
    return AngleFromEntry(ToStdString(angle_->text()));
}

void CRotDlg::accept() {
    settings_.rotation = Angle();
    setting::kRot.Write(store_, settings_.rotation);
    QDialog::accept();
}

}  // namespace palvex::ui
