#include "image/ui/assuku_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/ui/qt_text.h"
#include "resources/texts.h"

namespace palvex::ui {

CAssukuDlg::CAssukuDlg(int initialQuality, QWidget* parent)
    : QDialog(parent), slider_(new QSlider(Qt::Horizontal, this)), number_(new QLabel(this)) {
    setWindowTitle(ToQString(texts::kQualityDialogCaption));
    setObjectName("CAssukuDlg");
    slider_->setObjectName("qualitySlider");
    slider_->setRange(10, 100);
    slider_->setPageStep(10);
    number_->setObjectName("qualityNumber");
    number_->setMinimumWidth(number_->fontMetrics().horizontalAdvance("000") + 4);
    number_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(slider_, &QSlider::valueChanged, number_,
            [this](int value) { number_->setNum(value); });

    auto* quality = new QHBoxLayout;
    quality->addWidget(new QLabel(ToQString(texts::kQualityLabel), this));
    quality->addWidget(number_);
    quality->addStretch();
    quality->addWidget(new QLabel(ToQString(texts::kQualityRange), this));

    auto* ends = new QHBoxLayout;
    ends->addWidget(new QLabel("10", this));
    ends->addStretch();
    ends->addWidget(new QLabel("100", this));

    auto* presets = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        const int value = 10 * (i + 1);
        auto* button = new QPushButton(QString::number(value), this);
        button->setObjectName(QString("preset%1").arg(value));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, value] { SetQuality(value); });
        presets->addWidget(button, i / 5, i % 5);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(ToQString(texts::kQualityOk), QDialogButtonBox::AcceptRole);
    ok->setObjectName("ok");
    ok->setDefault(true);
    buttons->addButton(ToQString(texts::kQualityCancel), QDialogButtonBox::RejectRole)
        ->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(quality);
    layout->addWidget(slider_);
    layout->addLayout(ends);
    layout->addLayout(presets);
    layout->addWidget(buttons);

    SetQuality(initialQuality);
    number_->setNum(slider_->value());
}

int CAssukuDlg::Quality() const {
    return slider_->value();
}

void CAssukuDlg::SetQuality(int quality) {
    slider_->setValue(quality);
}

}  // namespace palvex::ui
