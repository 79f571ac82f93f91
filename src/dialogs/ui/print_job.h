#pragma once

#include <QImage>
#include <QSize>
#include <vector>

#include "base/prompter.h"

class QPainter;
class QPrinter;

namespace palvex::ui {

// What the dialog and the print job need to know of the printer. Not `ok` when there is no
// printer or it reports no paper or no resolution: nothing could be laid out or printed on it.
struct PrinterMetrics {
    bool ok = false;
    double paperWidthMm = 0;  // the whole sheet in the current orientation
    double paperHeightMm = 0;
    int offsetXmm = 0;  // the unprintable edges, the lower limits of the margins
    int offsetYmm = 0;
    int dpi = 0;
    QSize pageDots;  // the whole sheet in printer pixels, as the print job lays it out
    QString name;
};
PrinterMetrics ReadPrinterMetrics(const QPrinter* printer);

// Where the pages go: a printer, or in tests anything that can refuse a page.
class PageSink {
public:
    virtual ~PageSink() = default;
    // Opens the job and its first page.
    virtual bool Begin() = 0;
    virtual bool NewPage() = 0;
    virtual QPainter& Painter() = 0;
    // Ends the job; an aborted one is thrown away by the printer.
    virtual void Finish(bool aborted) = 0;
    virtual int Dpi() const = 0;
    // The whole sheet in device pixels; the painter's origin is its top-left corner.
    virtual QSize PagePixels() const = 0;
};

struct PrintRequest {
    QImage image;  // the image as the canvas shows it at 100 %
    std::vector<int> pages;
    int columns = 1;
    bool fitOnePage = false;
    int marginLeftMm = 25;
    int marginRightMm = 10;
    int marginTopMm = 25;
    int marginBottomMm = 10;
    double screenDpi = 96;  // one image pixel takes the size of one screen pixel
};

// Prints the pages; false after the message of what failed. A page that cannot start aborts the
// whole job rather than handing the printer a part of it as if all went well.
bool PrintPages(PageSink& sink, const PrintRequest& request, Prompter& prompter);

// The printer's pages. A printer without a device (no printer installed) writes a PDF file: the
// user names it before every print; false when that was cancelled.
bool ChooseOutputFile(QPrinter& printer, Prompter& prompter);
bool PrintOnPrinter(QPrinter& printer, const PrintRequest& request, Prompter& prompter);

}  // namespace palvex::ui
