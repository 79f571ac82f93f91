#pragma once

#include <QDialog>
#include <QImage>
#include <array>

#include "app/app_settings.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "dialogs/print_layout.h"
#include "dialogs/ui/print_job.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPrinter;
class QRadioButton;
class QSpinBox;

namespace palvex::ui {

class PrintPreview;

// The print dialog: printer, paper and orientation, page range, margins and a live preview of
// the page; OK prints. Its options, margins and placement are remembered in section Insatu.
class CInsatuDlg final : public QDialog {
    Q_OBJECT

public:
    CInsatuDlg(AppSettings& settings, SettingsStore& store, Prompter& prompter, QPrinter* printer,
               QImage printImage, double screenDpi, QWidget* parent = nullptr);

    // Reads the printer and lays the page out; false (after its message) when the printer
    // cannot be used: the dialog is then not shown.
    bool Initialise();

    PageGrid Grid() const { return grid_; }
    const PrinterMetrics& Metrics() const { return metrics_; }
    PrintPreview* Preview() const { return preview_; }
    // The pages OK prints, in order.
    std::vector<int> SelectedPages() const;
    // A margin dragged in the preview to `pixels` from its paper edge.
    void DropMargin(int side, double pixels);

    void accept() override;
    void done(int result) override;

private:
    QWidget* BuildPrinterPart();
    QWidget* BuildRangePart();
    QWidget* BuildMarginPart();
    bool LayOut();
    void UpdateMarginRanges();
    void MarginChanged(int side, int value);
    void RangeChosen(int range);
    void OrientationChosen(int orientation);
    void PrinterSetupDialog();
    void ShowPrinter();
    void RestorePlacement();

    AppSettings& settings_;
    SettingsStore& store_;
    Prompter& prompter_;
    QPrinter* printer_;
    QImage image_;
    double screenDpi_;
    PrinterMetrics metrics_;
    PageGrid grid_;
    bool ready_ = false;

    QLabel* printerName_ = nullptr;
    QLabel* paperName_ = nullptr;
    QLabel* paperSize_ = nullptr;
    QButtonGroup* orientation_ = nullptr;
    QButtonGroup* range_ = nullptr;
    QCheckBox* fitOnePage_ = nullptr;
    QSpinBox* startPage_ = nullptr;
    QSpinBox* endPage_ = nullptr;
    std::array<QSpinBox*, 4> margins_{};  // left, right, top, bottom
    QCheckBox* showMargins_ = nullptr;
    QLabel* pageGrid_ = nullptr;
    QSpinBox* currentPage_ = nullptr;
    QLabel* totalPages_ = nullptr;
    PrintPreview* preview_ = nullptr;
};

}  // namespace palvex::ui
