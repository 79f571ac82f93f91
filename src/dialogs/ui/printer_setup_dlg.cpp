#include "dialogs/ui/printer_setup_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>

#include "app/ui/qt_text.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

// The papers a device offers; the PDF printer (or a device that lists none) takes any size.
QList<QPageSize> PapersOf(const QString& device) {
    if (!device.isEmpty()) {
        const QList<QPageSize> sizes = QPrinterInfo::printerInfo(device).supportedPageSizes();
        if (!sizes.isEmpty()) {
            return sizes;
        }
    }
    QList<QPageSize> sizes;
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        if (id != QPageSize::Custom) {
            sizes.append(QPageSize(static_cast<QPageSize::PageSizeId>(id)));
        }
    }
    return sizes;
}

}  // namespace

CPrinterSetupDlg::CPrinterSetupDlg(QPrinter& printer, const QStringList& devices, QWidget* parent)
    : QDialog(parent), printer_(printer) {
    setWindowTitle(ToQString(texts::kPrinterSetupCaption));
    printers_ = new QComboBox(this);
    printers_->setObjectName("printers");
    for (const QString& device : devices) {
        printers_->addItem(device, device);
    }
    // The empty device is the PDF printer.
    printers_->addItem(ToQString(texts::kPdfPrinterName), QString());
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    const int current = pdf ? printers_->count() - 1 : printers_->findData(printer.printerName());
    printers_->setCurrentIndex(current >= 0 ? current : printers_->count() - 1);

    papers_ = new QComboBox(this);
    papers_->setObjectName("papers");
    FillPapers();
    connect(printers_, &QComboBox::currentIndexChanged, this, &CPrinterSetupDlg::FillPapers);

    orientation_ = new QButtonGroup(this);
    auto* portrait = new QRadioButton(ToQString(texts::kPortrait), this);
    portrait->setObjectName("portrait");
    auto* landscape = new QRadioButton(ToQString(texts::kLandscape), this);
    landscape->setObjectName("landscape");
    orientation_->addButton(portrait, QPageLayout::Portrait);
    orientation_->addButton(landscape, QPageLayout::Landscape);
    orientation_->button(printer.pageLayout().orientation())->setChecked(true);
    auto* orientations = new QHBoxLayout;
    orientations->addWidget(portrait);
    orientations->addWidget(landscape);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(ToQString(texts::kPrinterNameLabel), printers_);
    form->addRow(ToQString(texts::kPaperLabel), papers_);
    form->addRow(QString(), orientations);
    form->addRow(buttons);
}

void CPrinterSetupDlg::FillPapers() {
    // Keep the paper chosen so far where the newly chosen printer has it too.
    const QPageSize keep = papers_->count() > 0 ? papers_->currentData().value<QPageSize>()
                                                : printer_.pageLayout().pageSize();
    const QSignalBlocker block(papers_);
    papers_->clear();
    int current = -1;
    for (const QPageSize& size : PapersOf(printers_->currentData().toString())) {
        if (current < 0 && size.isEquivalentTo(keep)) {
            current = papers_->count();
        }
        papers_->addItem(size.name(), QVariant::fromValue(size));
    }
    if (current < 0) {
        // A sheet the list does not name (a custom size) stays selectable as it is.
        current = papers_->count();
        papers_->addItem(keep.name(), QVariant::fromValue(keep));
    }
    papers_->setCurrentIndex(current);
}

void CPrinterSetupDlg::accept() {
    const QString device = printers_->currentData().toString();
    const QPageSize paper = papers_->currentData().value<QPageSize>();
    if (device.isEmpty()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer_.setPrinterName(device);  // also leaves the PDF output for the device
    }
    printer_.setPageSize(paper);
    printer_.setPageOrientation(static_cast<QPageLayout::Orientation>(orientation_->checkedId()));
    QDialog::accept();
}

}  // namespace palvex::ui
