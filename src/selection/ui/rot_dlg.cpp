#include "selection/ui/rot_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/qt_text.h"
#include "resources/texts.h"
#include "selection/transform_dialogs.h"
#include "selection/ui/transform_asker.h"

namespace palvex::ui {

CRotDlg::CRotDlg(int initial, QWidget* parent) : QDialog(parent), angle_(new QSpinBox(this)) {
    setWindowTitle(ToQString(texts::kAngleDialogCaption));
    setObjectName("CRotDlg");
    angle_->setObjectName("angle");
    angle_->setRange(0, kMaxAngle);
    angle_->setValue(initial);
    // Out-of-range entries are limited at OK, not refused while typing.
    angle_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(ToQString(texts::kAngleLabel), this));
    row->addWidget(angle_);
    row->addWidget(new QLabel(ToQString(texts::kDegreeUnit), this));

    QDialogButtonBox* buttons = RunCancelButtons(*this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

int CRotDlg::Angle() const {
    return AngleFromEntry(ToStdString(angle_->text()));
}

}  // namespace palvex::ui
