#include "dialogs/ui/insatu_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/ui/clamping_spin_box.h"
#include "app/ui/qt_text.h"
#include "dialogs/ui/print_preview.h"
#include "dialogs/ui/printer_setup_dlg.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

int& MarginOf(PrintSettings& print, int side) {
    switch (side) {
        case PrintPreview::Left:
            return print.marginLeftMm;
        case PrintPreview::Right:
            return print.marginRightMm;
        case PrintPreview::Top:
            return print.marginTopMm;
        default:
            return print.marginBottomMm;
    }
}

int Opposite(int side) {
    switch (side) {
        case PrintPreview::Left:
            return PrintPreview::Right;
        case PrintPreview::Right:
            return PrintPreview::Left;
        case PrintPreview::Top:
            return PrintPreview::Bottom;
        default:
            return PrintPreview::Top;
    }
}

bool Horizontal(int side) {
    return side == PrintPreview::Left || side == PrintPreview::Right;
}

constexpr std::array<setting::IntSetting, 4> kMarginSettings = {
    setting::kMarginLmm, setting::kMarginRmm, setting::kMarginTmm, setting::kMarginBmm};

// The paper code of the printer's sheet: `current` while the sheet still has its size, else the
// first named paper of that size, else the sheet's number in the same platform numbering
// (shown as "etc.").
int PaperCodeOf(const QPrinter& printer, int current) {
    const QSizeF size = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    auto matches = [&size](const PaperInfo& paper) {
        return std::abs(paper.widthMm - size.width()) < 1.0 &&
               std::abs(paper.heightMm - size.height()) < 1.0;
    };
    if (current >= kFirstPaperCode && current <= kLastPaperCode && matches(PaperOf(current))) {
        return current;
    }
    for (int code = kFirstPaperCode; code <= kLastPaperCode; ++code) {
        if (matches(PaperOf(code))) {
            return code;
        }
    }
    return printer.pageLayout().pageSize().windowsId();
}

QSpinBox* MakeSpin(const char* name, QWidget* parent) {
    auto* spin = new ClampingSpinBox(parent);
    spin->setObjectName(name);
    return spin;
}

}  // namespace

CInsatuDlg::CInsatuDlg(AppSettings& settings, SettingsStore& store, Prompter& prompter,
                       QPrinter* printer, QImage printImage, double screenDpi, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      store_(store),
      prompter_(prompter),
      printer_(printer),
      image_(std::move(printImage)),
      screenDpi_(screenDpi > 0 ? screenDpi : 96.0) {
    setWindowTitle(ToQString(texts::kPrintCaption));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    settings_.ReadPrintSettings(store_);

    auto* controls = new QVBoxLayout;
    controls->addWidget(BuildPrinterPart());
    controls->addWidget(BuildRangePart());
    controls->addWidget(BuildMarginPart());
    controls->addStretch();
    auto* ok = new QPushButton(ToQString(texts::kPrintOk), this);
    ok->setObjectName("ok");
    ok->setDefault(true);
    auto* cancel = new QPushButton(ToQString(texts::kPrintCancel), this);
    cancel->setObjectName("cancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    controls->addLayout(buttons);

    auto* right = new QVBoxLayout;
    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(new QLabel(ToQString(texts::kPreviewLabel), this));
    pageGrid_ = new QLabel(this);
    pageGrid_->setObjectName("pageGrid");
    pageRow->addWidget(pageGrid_);
    pageRow->addStretch();
    currentPage_ = MakeSpin("currentPage", this);
    currentPage_->setRange(1, 1);
    pageRow->addWidget(currentPage_);
    totalPages_ = new QLabel(this);
    totalPages_->setObjectName("totalPages");
    pageRow->addWidget(totalPages_);
    right->addLayout(pageRow);
    preview_ = new PrintPreview(this);
    preview_->setObjectName("preview");
    preview_->SetImage(image_);
    right->addWidget(preview_, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(right, 1);

    connect(currentPage_, &QSpinBox::valueChanged, this, [this](int page) {
        PrintPreview::State state = preview_->Current();
        state.page = page;
        preview_->SetState(state);
    });
    preview_->marginDragged = [this](int side, double pixels) { DropMargin(side, pixels); };
    preview_->resized = [this] {
        if (ready_) {
            LayOut();
        }
    };
}

QWidget* CInsatuDlg::BuildPrinterPart() {
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(ToQString(texts::kPrinterLabel), part), 0, 0);
    auto* setup = new QPushButton(ToQString(texts::kPrinterSetup), part);
    setup->setObjectName("printerSetup");
    connect(setup, &QPushButton::clicked, this, &CInsatuDlg::PrinterSetupDialog);
    grid->addWidget(setup, 0, 1);
    grid->addWidget(new QLabel(ToQString(texts::kPrinterNameLabel), part), 1, 0);
    printerName_ = new QLabel(part);
    printerName_->setObjectName("printerName");
    grid->addWidget(printerName_, 1, 1, 1, 2);
    orientation_ = new QButtonGroup(this);
    auto* portrait = new QRadioButton(ToQString(texts::kPortrait), part);
    portrait->setObjectName("portrait");
    auto* landscape = new QRadioButton(ToQString(texts::kLandscape), part);
    landscape->setObjectName("landscape");
    orientation_->addButton(portrait, 1);
    orientation_->addButton(landscape, 2);
    grid->addWidget(portrait, 2, 1);
    grid->addWidget(landscape, 2, 2);
    connect(orientation_, &QButtonGroup::idClicked, this, &CInsatuDlg::OrientationChosen);
    grid->addWidget(new QLabel(ToQString(texts::kPaperLabel), part), 3, 0);
    paperName_ = new QLabel(part);
    paperName_->setObjectName("paperName");
    grid->addWidget(paperName_, 3, 1, 1, 2);
    grid->addWidget(new QLabel(ToQString(texts::kPaperSizeLabel), part), 4, 0);
    paperSize_ = new QLabel(part);
    paperSize_->setObjectName("paperSize");
    grid->addWidget(paperSize_, 4, 1, 1, 2);
    return part;
}

QWidget* CInsatuDlg::BuildRangePart() {
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(ToQString(texts::kPrintRangeLabel), part), 0, 0, 1, 4);
    range_ = new QButtonGroup(this);
    const std::array<std::string_view, 3> names = {texts::kAllPages, texts::kCurrentPage,
                                                   texts::kPageRange};
    const std::array<const char*, 3> objects = {"allPages", "currentPageOnly", "pageRange"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(ToQString(names[static_cast<std::size_t>(i)]), part);
        radio->setObjectName(objects[static_cast<std::size_t>(i)]);
        range_->addButton(radio, i + 1);
        grid->addWidget(radio, i + 1, 0, 1, 4);
    }
    connect(range_, &QButtonGroup::idClicked, this, &CInsatuDlg::RangeChosen);
    fitOnePage_ = new QCheckBox(ToQString(texts::kFitOnePage), part);
    fitOnePage_->setObjectName("fitOnePage");
    grid->addWidget(fitOnePage_, 4, 1, 1, 3);
    connect(fitOnePage_, &QCheckBox::clicked, this, [this](bool on) {
        settings_.print.fitOnePage = on ? 1 : 0;
        setting::kAllOne.Write(store_, settings_.print.fitOnePage);
        LayOut();
    });
    grid->addWidget(new QLabel(ToQString(texts::kStartPageLabel), part), 5, 0);
    startPage_ = MakeSpin("startPage", part);
    grid->addWidget(startPage_, 5, 1);
    grid->addWidget(new QLabel(ToQString(texts::kEndPageLabel), part), 5, 2);
    endPage_ = MakeSpin("endPage", part);
    grid->addWidget(endPage_, 5, 3);
    // Both stay within 1 .. the total pages (the spin boxes' ranges); a start after the end
    // takes the end, an end before the start takes the start.
    connect(startPage_, &QSpinBox::valueChanged, this, [this](int start) {
        if (endPage_->value() < start) {
            startPage_->setValue(endPage_->value());
        }
    });
    connect(endPage_, &QSpinBox::valueChanged, this, [this](int end) {
        if (end < startPage_->value()) {
            endPage_->setValue(startPage_->value());
        }
    });
    return part;
}

QWidget* CInsatuDlg::BuildMarginPart() {
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(ToQString(texts::kMarginsLabel), part), 0, 0, 1, 4);
    const std::array<const char*, 4> objects = {"marginLeft", "marginRight", "marginTop",
                                                "marginBottom"};
    for (int side = 0; side < 4; ++side) {
        const auto index = static_cast<std::size_t>(side);
        grid->addWidget(new QLabel(ToQString(texts::kMarginNames[index]), part), 1 + side / 2,
                        (side % 2) * 2);
        margins_[index] = MakeSpin(objects[index], part);
        grid->addWidget(margins_[index], 1 + side / 2, (side % 2) * 2 + 1);
        connect(margins_[index], &QSpinBox::valueChanged, this,
                [this, side](int value) { MarginChanged(side, value); });
    }
    showMargins_ = new QCheckBox(ToQString(texts::kShowMargins), part);
    showMargins_->setObjectName("showMargins");
    grid->addWidget(showMargins_, 3, 0, 1, 4);
    connect(showMargins_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.print.showMargins = on ? 1 : 0;
        PrintPreview::State state = preview_->Current();
        state.showMargins = on;
        preview_->SetState(state);
    });
    return part;
}

bool CInsatuDlg::Initialise() {
    metrics_ = ReadPrinterMetrics(printer_);
    if (!metrics_.ok) {
        prompter_.Error(str::kPrinterDcFailed, texts::kPrinterAtInit);
        return false;
    }
    // The printer's own orientation: the set-up dialog may have changed it since the start.
    settings_.print.orientation =
        printer_->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    orientation_->button(settings_.print.orientation)->setChecked(true);
    ShowPrinter();
    UpdateMarginRanges();

    const int range = settings_.print.pageRange;
    range_->button(range == 2 || range == 3 ? range : 1)->setChecked(true);
    fitOnePage_->setChecked(range == 3 && settings_.print.fitOnePage == 1);
    fitOnePage_->setEnabled(range == 3);
    showMargins_->setChecked(settings_.print.showMargins == 1);

    ready_ = true;
    if (!LayOut()) {
        ready_ = false;
        return false;
    }
    startPage_->setValue(1);
    endPage_->setValue(grid_.Total());
    setMinimumSize(sizeHint());
    RestorePlacement();
    return true;
}

void CInsatuDlg::ShowPrinter() {
    printerName_->setText(metrics_.name);
    paperName_->setText(ToQString(PaperOf(settings_.print.paperSize).name));
}

void CInsatuDlg::UpdateMarginRanges() {
    PrintSettings& print = settings_.print;
    for (int side = 0; side < 4; ++side) {
        const int lower = Horizontal(side) ? metrics_.offsetXmm : metrics_.offsetYmm;
        const double paper = Horizontal(side) ? metrics_.paperWidthMm : metrics_.paperHeightMm;
        const int cap = MarginCapMm(paper, MarginOf(print, Opposite(side)));
        QSpinBox* spin = margins_[static_cast<std::size_t>(side)];
        const QSignalBlocker block(spin);
        spin->setRange(std::min(lower, cap), cap);
        spin->setValue(MarginOf(print, side));
        MarginOf(print, side) = spin->value();
    }
}

void CInsatuDlg::MarginChanged(int side, int value) {
    if (!ready_) {
        return;
    }
    MarginOf(settings_.print, side) = value;
    LayOut();
}

void CInsatuDlg::DropMargin(int side, double pixels) {
    const PrintPreview::State& state = preview_->Current();
    const int mm = DraggedMarginMm(pixels, state.scale, screenDpi_);
    margins_[static_cast<std::size_t>(side)]->setValue(mm);
}

bool CInsatuDlg::LayOut() {
    metrics_ = ReadPrinterMetrics(printer_);
    if (!metrics_.ok) {
        prompter_.Error(str::kPrinterDcFailed, texts::kPrinterAtPaperSize);
        return false;
    }
    const PrintSettings& print = settings_.print;
    UpdateMarginRanges();
    paperSize_->setText(ToQString(texts::kPaperSizeFormat)
                            .arg(metrics_.paperWidthMm, 0, 'f', 1)
                            .arg(metrics_.paperHeightMm, 0, 'f', 1));

    PrintPreview::State state = preview_->Current();
    state.paper = FitPaperInFrame({0, 0, preview_->width(), preview_->height()},
                                  metrics_.paperWidthMm, metrics_.paperHeightMm);
    state.scale = PreviewScale(state.paper.width, screenDpi_, metrics_.paperWidthMm);
    for (int side = 0; side < 4; ++side) {
        const auto index = static_cast<std::size_t>(side);
        state.margins[index] =
            MmToPixels(MarginOf(settings_.print, side), screenDpi_) * state.scale;
        const int lower = Horizontal(side) ? metrics_.offsetXmm : metrics_.offsetYmm;
        state.lowerLimits[index] = MarginPreviewPixels(lower, state.scale, screenDpi_);
    }
    state.upperLimit = MarginPreviewPixels(kMaxMarginMm, state.scale, screenDpi_);
    state.tileWidth = TileLength(metrics_.pageDots.width(), metrics_.dpi, print.marginLeftMm,
                                 print.marginRightMm, screenDpi_);
    state.tileHeight = TileLength(metrics_.pageDots.height(), metrics_.dpi, print.marginTopMm,
                                  print.marginBottomMm, screenDpi_);

    const PageGrid grid = MakePageGrid(
        PixelsToMm(image_.width(), screenDpi_), PixelsToMm(image_.height(), screenDpi_),
        metrics_.paperWidthMm - print.marginLeftMm - print.marginRightMm,
        metrics_.paperHeightMm - print.marginTopMm - print.marginBottomMm, print.fitOnePage == 1);
    pageGrid_->setText(ToQString(texts::kPageGridFormat).arg(grid.columns).arg(grid.rows));
    totalPages_->setText(ToQString(texts::kTotalPagesFormat).arg(grid.Total()));
    if (grid != grid_ || currentPage_->maximum() != grid.Total()) {
        const QSignalBlocker block(currentPage_);
        currentPage_->setRange(1, grid.Total());
        grid_ = grid;
    }
    startPage_->setRange(1, grid_.Total());
    endPage_->setRange(1, grid_.Total());
    endPage_->setValue(grid_.Total());

    state.columns = grid_.columns;
    state.page = currentPage_->value();
    state.fitOnePage = print.fitOnePage == 1;
    state.showMargins = showMargins_->isChecked();
    preview_->SetState(state);
    return true;
}

void CInsatuDlg::RangeChosen(int range) {
    settings_.print.pageRange = range;
    setting::kPrintHani.Write(store_, range);
    if (range == 3) {
        fitOnePage_->setEnabled(true);
        return;
    }
    fitOnePage_->setChecked(false);
    fitOnePage_->setEnabled(false);
    settings_.print.fitOnePage = 0;
    setting::kAllOne.Write(store_, 0);
    LayOut();
}

void CInsatuDlg::OrientationChosen(int orientation) {
    if (printer_ != nullptr && orientation != settings_.print.orientation) {
        settings_.print.orientation = orientation;
        // Only the orientation: the sheet may be one the set-up chose outside the named papers.
        printer_->setPageOrientation(orientation == 2 ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
        LayOut();
    }
    setting::kOrientation.Write(store_, orientation);
}

void CInsatuDlg::PrinterSetupDialog() {
    if (printer_ == nullptr) {
        return;
    }
    CPrinterSetupDlg dialog(*printer_, QPrinterInfo::availablePrinterNames(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    PrintSettings& print = settings_.print;
    const int code = PaperCodeOf(*printer_, print.paperSize);
    const int orientation = printer_->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    print.paperSize = code;
    print.orientation = orientation;
    print.printer = printer_->outputFormat() == QPrinter::PdfFormat
                        ? std::string(setting::kPdfPrinter)
                        : printer_->printerName().toStdString();
    setting::kPaperSize.Write(store_, code);
    setting::kOrientation.Write(store_, orientation);
    setting::kPrinterName.Write(store_, print.printer);
    orientation_->button(orientation)->setChecked(true);
    // Another printer or sheet may keep the paper code yet change the page: always lay out.
    if (LayOut()) {
        ShowPrinter();
    }
}

std::vector<int> CInsatuDlg::SelectedPages() const {
    std::vector<int> pages;
    switch (range_->checkedId()) {
        case 2:
            pages.push_back(std::clamp(currentPage_->value(), 1, grid_.Total()));
            break;
        case 3: {
            const PageRange range =
                ClampPageRange(startPage_->value(), endPage_->value(), grid_.Total());
            for (int page = range.first; page <= range.last; ++page) {
                pages.push_back(page);
            }
            break;
        }
        default:
            for (int page = 1; page <= grid_.Total(); ++page) {
                pages.push_back(page);
            }
            break;
    }
    return pages;
}

void CInsatuDlg::accept() {
    PrintSettings& print = settings_.print;
    for (int side = 0; side < 4; ++side) {
        MarginOf(print, side) = margins_[static_cast<std::size_t>(side)]->value();
        kMarginSettings[static_cast<std::size_t>(side)].Write(store_, MarginOf(print, side));
    }
    if (printer_ == nullptr || !ReadPrinterMetrics(printer_).ok) {
        prompter_.Error(str::kPrinterDcFailed, texts::kPrinterAtPrintOut);
        return;
    }
    PrintRequest request;
    request.image = image_;
    request.pages = SelectedPages();
    request.columns = grid_.columns;
    request.fitOnePage = print.fitOnePage == 1;
    request.marginLeftMm = print.marginLeftMm;
    request.marginRightMm = print.marginRightMm;
    request.marginTopMm = print.marginTopMm;
    request.marginBottomMm = print.marginBottomMm;
    request.screenDpi = screenDpi_;
    if (PrintOnPrinter(*printer_, request, prompter_)) {
        QDialog::accept();
    }
}

void CInsatuDlg::RestorePlacement() {
    const PrintSettings& print = settings_.print;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen != nullptr ? screen->virtualGeometry() : QRect();
    if (print.dialogLeft < desktop.width() && print.dialogTop < desktop.height()) {
        move(print.dialogLeft, print.dialogTop);
        resize(std::max(print.dialogWidth, minimumWidth()),
               std::max(print.dialogHeight, minimumHeight()));
    }
    if (print.dialogMaximised == 1) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void CInsatuDlg::done(int result) {
    PrintSettings& print = settings_.print;
    if (ready_) {
        const QRect normal = isMaximized() ? normalGeometry() : geometry();
        print.dialogMaximised = isMaximized() ? 1 : 0;
        print.dialogLeft = std::max(normal.x(), 0);
        print.dialogTop = std::max(normal.y(), 0);
        print.dialogWidth = normal.width();
        print.dialogHeight = normal.height();
        setting::kDspYohaku.Write(store_, print.showMargins);
        setting::kPrintZoomed.Write(store_, print.dialogMaximised);
        setting::kPrintPX.Write(store_, print.dialogLeft);
        setting::kPrintPY.Write(store_, print.dialogTop);
        setting::kPrintSX.Write(store_, print.dialogWidth);
        setting::kPrintSY.Write(store_, print.dialogHeight);
    }
    QDialog::done(result);
}

}  // namespace palvex::ui
