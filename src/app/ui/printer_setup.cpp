#include "app/ui/printer_setup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "dialogs/print_layout.h"

namespace palvex::ui {

PrinterSetup::PrinterSetup() = default;
PrinterSetup::~PrinterSetup() = default;

// The stored paper codes are the Windows paper numbers (9 = A4); the size picks the platform's
// matching paper.
void ApplyPaper(QPrinter& printer, int paperCode, int orientation) {
    const QPageSize::PageSizeId other = QPageSize::id(paperCode);
    if ((paperCode < kFirstPaperCode || paperCode > kLastPaperCode) && other != QPageSize::Custom) {
        printer.setPageSize(QPageSize(other));
    } else {
        const PaperInfo paper = PaperOf(paperCode);
        printer.setPageSize(QPageSize(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter,
                                      QString(), QPageSize::FuzzyMatch));
    }
    printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

std::unique_ptr<QPrinter> MakePrinter(const std::string& choice) {
    QPrinterInfo info;
    if (choice != setting::kPdfPrinter) {
        // A printer removed since it was chosen falls back to the default, not to a failure.
        info = choice.empty() ? QPrinterInfo()
                              : QPrinterInfo::printerInfo(QString::fromStdString(choice));
        if (info.isNull()) {
            info = QPrinterInfo::defaultPrinter();
        }
    }
    auto printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                 : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
    }
    return printer;
}

bool PrinterSetup::SetUp(const AppSettings& settings) {
    printer_ = MakePrinter(settings.print.printer);
    if (!printer_->isValid()) {
        return false;
    }
    ApplyPaper(*printer_, settings.print.paperSize, settings.print.orientation);
    return true;
}

}  // namespace palvex::ui
