#include "dialogs/ui/print_job.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "app/ui/qt_text.h"
#include "dialogs/print_layout.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

double ToMm(double value, QPageLayout::Unit unit) {
    switch (unit) {
        case QPageLayout::Millimeter:
            return value;
        case QPageLayout::Point:
            return value * 25.4 / 72.0;
        case QPageLayout::Inch:
            return value * 25.4;
        case QPageLayout::Pica:
            return value * 25.4 / 6.0;
        case QPageLayout::Didot:
            return value * 0.376;
        case QPageLayout::Cicero:
            return value * 4.512;
    }
    return value;
}

class PrinterSink final : public PageSink {
public:
    explicit PrinterSink(QPrinter& printer) : printer_(printer) {}
    bool Begin() override { return painter_.begin(&printer_); }
    bool NewPage() override { return printer_.newPage(); }
    QPainter& Painter() override { return painter_; }
    void Finish(bool aborted) override {
        if (aborted) {
            printer_.abort();
        }
        if (painter_.isActive()) {
            painter_.end();
        }
    }
    int Dpi() const override { return printer_.resolution(); }
    QSize PagePixels() const override {
        return printer_.pageLayout().fullRectPixels(printer_.resolution()).size();
    }

private:
    QPrinter& printer_;
    QPainter painter_;
};

}  // namespace

PrinterMetrics ReadPrinterMetrics(const QPrinter* printer) {
    PrinterMetrics metrics;
    if (printer == nullptr || !printer->isValid()) {
        return metrics;
    }
    const int dpi = printer->resolution();
    const QPageLayout layout = printer->pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    if (dpi <= 0 || full.width() <= 0 || full.height() <= 0) {
        return metrics;
    }
    metrics.dpi = dpi;
    metrics.pageDots = full.size();
    metrics.paperWidthMm = PixelsToMm(full.width(), dpi);
    metrics.paperHeightMm = PixelsToMm(full.height(), dpi);
    const QMarginsF minimum = layout.minimumMargins();
    metrics.offsetXmm = static_cast<int>(ToMm(minimum.left(), layout.units()));
    metrics.offsetYmm = static_cast<int>(ToMm(minimum.top(), layout.units()));
    metrics.name = printer->printerName();
    if (metrics.name.isEmpty() && printer->outputFormat() == QPrinter::PdfFormat) {
        metrics.name = ToQString(texts::kPdfPrinterName);  // the pages become a file
    }
    metrics.ok = true;
    return metrics;
}

bool PrintPages(PageSink& sink, const PrintRequest& request, Prompter& prompter) {
    const int dpi = sink.Dpi();
    const QSize page = sink.PagePixels();
    const int left = MmToPixels(request.marginLeftMm, dpi);
    const int top = MmToPixels(request.marginTopMm, dpi);
    const int width = page.width() - left - MmToPixels(request.marginRightMm, dpi);
    const int height = page.height() - top - MmToPixels(request.marginBottomMm, dpi);
    if (dpi <= 0 || width <= 0 || height <= 0 || request.screenDpi <= 0 || request.image.isNull()) {
        prompter.Error(str::kPrinterDcFailed, texts::kPrinterAtPrintOut);
        return false;
    }
    if (!sink.Begin()) {
        prompter.Error(str::kPrinterDcFailed, texts::kPrinterAtPrintOut);
        return false;
    }
    const double scale = dpi / request.screenDpi;
    const LayoutRect area{left, top, width, height};
    bool first = true;
    for (const int number : request.pages) {
        if (!first && !sink.NewPage()) {
            sink.Finish(true);
            prompter.Error(str::kPrinterDcFailed, texts::kStartPageAtPrintOut);
            return false;
        }
        first = false;
        QPainter& painter = sink.Painter();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // A PDF printer would otherwise keep the image as JPEG, blurring the key's sharp edges.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        LayoutRect source{0, 0, request.image.width(), request.image.height()};
        LayoutRect target;
        if (request.fitOnePage) {
            target = FitImage(area, source.width, source.height);
        } else {
            source = PageSource(number, request.columns,
                                TileLength(page.width(), dpi, request.marginLeftMm,
                                           request.marginRightMm, request.screenDpi),
                                TileLength(page.height(), dpi, request.marginTopMm,
                                           request.marginBottomMm, request.screenDpi),
                                request.image.width(), request.image.height());
            target = {left, top, static_cast<int>(source.width * scale),
                      static_cast<int>(source.height * scale)};
        }
        if (!source.Empty() && !target.Empty()) {
            painter.drawImage(QRect(target.left, target.top, target.width, target.height),
                              request.image,
                              QRect(source.left, source.top, source.width, source.height));
        }
    }
    sink.Finish(false);
    return true;
}

bool ChooseOutputFile(QPrinter& printer, Prompter& prompter) {
    if (printer.outputFormat() != QPrinter::PdfFormat) {
        return true;
    }
    SaveFileRequest request;
    request.title = texts::kPdfSaveTitle;
    request.initialName = std::string(texts::kAppTitle) + "." + std::string(texts::kPdfExtension);
    request.defaultExtension = texts::kPdfExtension;
    request.filters = {
        {std::string(texts::kPdfFilterLabel), std::string(texts::kPdfFilterPatterns)}};
    const std::optional<SaveFileChoice> choice = prompter.AskSaveFile(request);
    if (!choice) {
        return false;
    }
    printer.setOutputFileName(PathToQString(choice->path));
    return true;
}

bool PrintOnPrinter(QPrinter& printer, const PrintRequest& request, Prompter& prompter) {
    if (!ChooseOutputFile(printer, prompter)) {
        return false;
    }
    printer.setDocName(ToQString(texts::kAppTitle));
    printer.setFullPage(true);
    PrinterSink sink(printer);
    return PrintPages(sink, request, prompter);
}

}  // namespace palvex::ui
