#pragma once

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QComboBox;
class QPrinter;

namespace palvex::ui {

// The printer set-up of the print dialog: which printer, its paper and the orientation. OK
// hands them to the printer; Cancel leaves it as it was.
class CPrinterSetupDlg final : public QDialog {
    Q_OBJECT

public:
    // `devices`: the installed printers; the PDF printer is always offered after them.
    CPrinterSetupDlg(QPrinter& printer, const QStringList& devices, QWidget* parent = nullptr);

    void accept() override;

private:
    void FillPapers();

    QPrinter& printer_;
    QComboBox* printers_ = nullptr;
    QComboBox* papers_ = nullptr;
    QButtonGroup* orientation_ = nullptr;
};

}  // namespace palvex::ui
