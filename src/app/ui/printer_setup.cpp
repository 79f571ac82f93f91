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
    const PaperInfo paper = PaperOf(paperCode);
    printer.setPageSize(QPageSize(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter,
                                  QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool PrinterSetup::SetUp(const AppSettings& settings) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    printer_ = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                             : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
    }
    if (!printer_->isValid()) {
        return false;
    }
    ApplyPaper(*printer_, settings.print.paperSize, settings.print.orientation);
    return true;
}

}  // namespace palvex::ui
