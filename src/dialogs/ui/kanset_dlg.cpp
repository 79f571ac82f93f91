#include "dialogs/ui/kanset_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/clamping_spin_box.h"
#include "app/ui/qt_text.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr std::array<QRgb, 5> kKeyColours = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0),
                                             qRgb(0, 255, 0), qRgb(0, 0, 255)};

QLabel* Swatch(QRgb colour, QWidget* parent) {
    QPixmap pixmap(32, 16);
    pixmap.fill(QColor(colour));
    auto* label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setFrameShape(QFrame::Box);
    return label;
}

QLabel* Note(std::string_view text, QWidget* parent) {
    auto* label = new QLabel(ToQString(text), parent);
    label->setIndent(24);
    return label;
}

QLabel* SwitchKey(int index, QWidget* parent) {
    return new QLabel(ToQString(texts::kKansetSwitchKeys[static_cast<std::size_t>(index)]), parent);
}

}  // namespace

CKansetDlg::CKansetDlg(AppSettings& settings, SettingsStore& store, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store) {
    setWindowTitle(ToQString(texts::kKansetCaption));
    auto* grid = new QGridLayout(this);
    int row = 0;

    firstOpen_ = new QCheckBox(ToQString(texts::kKansetFirstOpen), this);
    firstOpen_->setObjectName("firstOpen");
    grid->addWidget(firstOpen_, row++, 0);
    makeBackup_ = new QCheckBox(ToQString(texts::kKansetMakeBackup), this);
    makeBackup_->setObjectName("makeBackup");
    grid->addWidget(makeBackup_, row++, 0);

    grid->addWidget(new QLabel(ToQString(texts::kKansetFirstTrans), this), row++, 0);
    auto* keys = new QHBoxLayout;
    keys->setContentsMargins(24, 0, 0, 0);
    firstTrans_ = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(this);
        radio->setObjectName(QString("firstTrans%1").arg(i));
        radio->setToolTip(ToQString(texts::kKansetKeyTips[static_cast<std::size_t>(i)]));
        firstTrans_->addButton(radio, i);
        keys->addWidget(radio);
        QLabel* swatch = Swatch(kKeyColours[static_cast<std::size_t>(i)], this);
        swatch->setToolTip(radio->toolTip());
        keys->addWidget(swatch);
        keys->addSpacing(12);
    }
    keys->addStretch();
    grid->addLayout(keys, row++, 0);
    grid->addWidget(Note(texts::kKansetFirstTransNote, this), row++, 0);

    guide_ = new QCheckBox(ToQString(texts::kKansetGuide), this);
    guide_->setObjectName("guide");
    grid->addWidget(guide_, row, 0);
    grid->addWidget(SwitchKey(0, this), row++, 1);
    rgb_ = new QCheckBox(ToQString(texts::kKansetRgb), this);
    rgb_->setObjectName("rgb");
    grid->addWidget(rgb_, row, 0);
    grid->addWidget(SwitchKey(1, this), row++, 1);
    grid->addWidget(Note(texts::kKansetRgbNote, this), row++, 0);
    stopCursor_ = new QCheckBox(ToQString(texts::kKansetStopCursor), this);
    stopCursor_->setObjectName("stopCursor");
    grid->addWidget(stopCursor_, row, 0);
    grid->addWidget(SwitchKey(2, this), row++, 1);
    grid->addWidget(Note(texts::kKansetStopCursorNote, this), row++, 0);

    animation_ = new QCheckBox(ToQString(texts::kKansetAnimation), this);
    animation_->setObjectName("animation");
    grid->addWidget(animation_, row, 0);
    grid->addWidget(SwitchKey(3, this), row++, 1);
    auto* count = new QHBoxLayout;
    count->setContentsMargins(24, 0, 0, 0);
    count->addWidget(new QLabel(ToQString(texts::kKansetAnimationCount), this));
    animationCount_ = new ClampingSpinBox(this);
    animationCount_->setObjectName("animationCount");
    animationCount_->setRange(KansetValues::kMinAnimationCount, KansetValues::kMaxAnimationCount);
    count->addWidget(animationCount_);
    count->addWidget(new QLabel(ToQString(texts::kKansetAnimationCountHint), this));
    count->addStretch();
    grid->addLayout(count, row++, 0);
    auto* speeds = new QHBoxLayout;
    speeds->setContentsMargins(24, 0, 0, 0);
    speeds->addWidget(new QLabel(ToQString(texts::kKansetAnimationSpeed), this));
    speed_ = new QButtonGroup(this);
    for (int i = 0; i < KansetValues::kSpeedCount; ++i) {
        auto* radio = new QRadioButton(this);
        if (i == 0) {
            radio->setText(ToQString(texts::kKansetFast));
        } else if (i == KansetValues::kSpeedCount - 1) {
            radio->setText(ToQString(texts::kKansetSlow));
        }
        radio->setObjectName(QString("speed%1").arg(i));
        speed_->addButton(radio, i);
        speeds->addWidget(radio);
    }
    speeds->addStretch();
    grid->addLayout(speeds, row++, 0);

    keyHelp_ = new QCheckBox(ToQString(texts::kKansetKeyHelp), this);
    keyHelp_->setObjectName("keyHelp");
    grid->addWidget(keyHelp_, row, 0);
    grid->addWidget(SwitchKey(4, this), row++, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(ToQString(texts::kKansetOk), QDialogButtonBox::AcceptRole);
    ok->setObjectName("ok");
    ok->setDefault(true);
    buttons->addButton(ToQString(texts::kKansetCancel), QDialogButtonBox::RejectRole)
        ->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 2);

    Show(KansetValues::Read(settings_, store_));
}

void CKansetDlg::Show(const KansetValues& values) {
    firstOpen_->setChecked(values.firstOpen);
    makeBackup_->setChecked(values.makeBackup);
    firstTrans_->button(FirstTransChoice(values.firstTrans))->setChecked(true);
    guide_->setChecked(values.showGuide);
    rgb_->setChecked(values.showRgb);
    stopCursor_->setChecked(values.stopCursor);
    animation_->setChecked(values.animationOn);
    animationCount_->setValue(values.animationCount);
    speed_->button(values.animationSpeed)->setChecked(true);
    keyHelp_->setChecked(values.showTip);
}

KansetValues CKansetDlg::Values() const {
    KansetValues values;
    values.firstOpen = firstOpen_->isChecked();
    values.makeBackup = makeBackup_->isChecked();
    values.firstTrans = firstTrans_->checkedId() < 0 ? 1 : firstTrans_->checkedId();
    values.showGuide = guide_->isChecked();
    values.showRgb = rgb_->isChecked();
    values.stopCursor = stopCursor_->isChecked();
    values.animationOn = animation_->isChecked();
    // The edit's text, not the spin box's last valid value: what the user typed counts.
    values.animationCount = AnimationCountFromText(ToStdString(animationCount_->text()));
    values.animationSpeed = speed_->checkedId() < 0 ? 0 : speed_->checkedId();
    values.showTip = keyHelp_->isChecked();
    return values;
}

void CKansetDlg::accept() {
    Values().Apply(settings_, store_);
    QDialog::accept();
}

}  // namespace palvex::ui
