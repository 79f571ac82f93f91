#include "app/ui/printer_setup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace palvex::ui {
namespace {

// The stored paper codes are the Windows paper numbers (9 = A4).
QPageSize::PageSizeId PaperFromCode(int code) {
    switch (code) {
        case 1:
            return QPageSize::Letter;
        case 5:
            return QPageSize::Legal;
        case 8:
            return QPageSize::A3;
        case 11:
            return QPageSize::A5;
        case 12:
            return QPageSize::B4;
        case 13:
            return QPageSize::B5;
        default:
            return QPageSize::A4;
    }
}

}  // namespace

PrinterSetup::PrinterSetup() = default;
PrinterSetup::~PrinterSetup() = default;

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
    printer_->setPageSize(QPageSize(PaperFromCode(settings.print.paperSize)));
    printer_->setPageOrientation(settings.print.orientation == 2 ? QPageLayout::Landscape
                                                                 : QPageLayout::Portrait);
    return true;
}

}  // namespace palvex::ui
