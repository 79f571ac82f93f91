#pragma once

#include <memory>
#include <string>

#include "app/app_settings.h"

class QPrinter;

namespace palvex::ui {

// Gives the printer the paper of a stored paper code and the orientation (2 landscape, else
// portrait). Codes beyond the named papers are taken in the same platform numbering.
void ApplyPaper(QPrinter& printer, int paperCode, int orientation);

// The printer of a stored choice (Insatu/PrinterName): that installed printer, the PDF printer,
// or the system's default for no choice or a printer no longer installed; the PDF printer on
// machines without any.
std::unique_ptr<QPrinter> MakePrinter(const std::string& choice);

// The printer the application prints to: the stored choice (above) with the stored paper size
// and orientation.
class PrinterSetup {
public:
    PrinterSetup();
    ~PrinterSetup();
    bool SetUp(const AppSettings& settings);
    QPrinter* Printer() { return printer_.get(); }

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace palvex::ui
