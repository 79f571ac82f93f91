#pragma once

#include <memory>

#include "app/app_settings.h"

class QPrinter;

namespace palvex::ui {

// Gives the printer the paper of a stored paper code and the orientation (2 landscape, else
// portrait).
void ApplyPaper(QPrinter& printer, int paperCode, int orientation);

// The printer the application prints to: the system's default printer with the stored paper
// size and orientation, or a PDF printer on machines without one.
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
