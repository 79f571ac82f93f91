#include "selection/ui/size_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/clamping_spin_box.h"
#include "app/ui/qt_text.h"
#include "resources/texts.h"
#include "selection/ui/transform_asker.h"

namespace palvex::ui {

CSizeDlg::CSizeDlg(const SizeDialogBase& base, AppSettings& settings, SettingsStore& store,
                   Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      base_(base),
      settings_(ReadStored(settings, store)),
      store_(store),
      prompter_(prompter),
      percent_(new QRadioButton(ToQString(texts::kSizeInPercent), this)),
      pixels_(new QRadioButton(ToQString(texts::kSizeInPixels), this)),
      percentW_(MakeSpin("percentW", kMaxPercent, settings.sizePercentW)),
      percentH_(MakeSpin("percentH", kMaxPercent, settings.sizePercentH)),
      pixelW_(MakeSpin("pixelW", base.maxW, PixelSizeAtOpening(base).width)),
      pixelH_(MakeSpin("pixelH", base.maxH, PixelSizeAtOpening(base).height)),
      keepAspect_(new QCheckBox(ToQString(texts::kKeepAspect), this)) {
    setWindowTitle(ToQString(texts::kSizeDialogCaption));
    setObjectName("CSizeDlg");
    percent_->setObjectName("percent");
    pixels_->setObjectName("pixels");
    keepAspect_->setObjectName("keepAspect");
    (settings.sizeInPercent == 1 ? percent_ : pixels_)->setChecked(true);
    keepAspect_->setChecked(settings.keepAspect == 1);

    const QString width = ToQString(texts::kWidthLabel);
    const QString height = ToQString(texts::kHeightLabel);
    const QString percentRange = ToQString(texts::kPercentRangeLabel);
    auto* grid = new QGridLayout;
    grid->addWidget(percent_, 0, 0, 1, 3);
    grid->addWidget(new QLabel(width, this), 1, 0);
    grid->addWidget(percentW_, 1, 1);
    grid->addWidget(new QLabel(percentRange, this), 1, 2);
    grid->addWidget(new QLabel(height, this), 2, 0);
    grid->addWidget(percentH_, 2, 1);
    grid->addWidget(new QLabel(percentRange, this), 2, 2);
    grid->addWidget(pixels_, 3, 0, 1, 3);
    grid->addWidget(new QLabel(width, this), 4, 0);
    grid->addWidget(pixelW_, 4, 1);
    grid->addWidget(new QLabel(ToQString(PixelLimitLabel(base.maxW)), this), 4, 2);
    grid->addWidget(new QLabel(height, this), 5, 0);
    grid->addWidget(pixelH_, 5, 1);
    grid->addWidget(new QLabel(ToQString(PixelLimitLabel(base.maxH)), this), 5, 2);
    grid->addWidget(keepAspect_, 6, 0, 1, 3);

    QDialogButtonBox* buttons = RunCancelButtons(*this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSizeDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

AppSettings& CSizeDlg::ReadStored(AppSettings& settings, const SettingsStore& store) {
    settings.sizeInPercent = setting::kCheckPer.Read(store);
    settings.sizePercentW = setting::kSizePerW.Read(store);
    settings.sizePercentH = setting::kSizePerH.Read(store);
    settings.keepAspect = setting::kFixRitu.Read(store);
    return settings;
}

QSpinBox* CSizeDlg::MakeSpin(const char* name, int maximum, int value) {
    auto* spin = new ClampingSpinBox(this);
    spin->setObjectName(name);
    spin->setRange(1, std::max(1, maximum));
    // "1,200": the separator of the English locale, whatever the user's.
    spin->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    spin->setGroupSeparatorShown(true);
    spin->setValue(value);
    spin->installEventFilter(this);
    connect(spin, &QSpinBox::valueChanged, this, [this, spin] { Follow(spin); });
    return spin;
}

bool CSizeDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const bool inPercent = watched == percentW_ || watched == percentH_;
        const bool inPixels = watched == pixelW_ || watched == pixelH_;
        if (inPercent || inPixels) {
            (inPercent ? percent_ : pixels_)->setChecked(true);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CSizeDlg::Follow(QSpinBox* changed) {
    if (following_ || !keepAspect_->isChecked()) {
        return;
    }
    following_ = true;
    if (changed == percentW_) {
        percentH_->setValue(percentW_->value());
    } else if (changed == percentH_) {
        percentW_->setValue(percentH_->value());
    } else if (changed == pixelW_) {
        pixelH_->setValue(HeightForWidth(base_, pixelW_->value()));
    } else if (changed == pixelH_) {
        pixelW_->setValue(WidthForHeight(base_, pixelH_->value()));
    }
    following_ = false;
}

void CSizeDlg::accept() {
    // An entry still being typed (OK by its access key) is limited and followed as if left.
    for (QSpinBox* spin : {percentW_, percentH_, pixelW_, pixelH_}) {
        spin->interpretText();
    }
    const std::string pw = ToStdString(percentW_->text());
    const std::string ph = ToStdString(percentH_->text());
    const std::string xw = ToStdString(pixelW_->text());
    const std::string xh = ToStdString(pixelH_->text());
    const SizeDialogOutcome outcome =
        AcceptSizeDialog(base_, {percent_->isChecked(), pw, ph, xw, xh});
    settings_.sizeInPercent = pixels_->isChecked() ? 2 : 1;
    settings_.sizePercentW = outcome.percentW;
    settings_.sizePercentH = outcome.percentH;
    setting::kCheckPer.Write(store_, settings_.sizeInPercent);
    setting::kSizePerW.Write(store_, settings_.sizePercentW);
    setting::kSizePerH.Write(store_, settings_.sizePercentH);
    if (!outcome.accepted) {
        prompter_.Show({0, outcome.message, MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    settings_.keepAspect = keepAspect_->isChecked() ? 1 : 0;
    setting::kFixRitu.Write(store_, settings_.keepAspect);
    result_ = outcome.size;
    QDialog::accept();
}

}  // namespace palvex::ui
