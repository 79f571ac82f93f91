// Printing: the dialog's controls and layout, the pages printed to a PDF file, and the failures.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "app/ui/qt_text.h"
#include "dialogs/print_layout.h"
#include "dialogs/ui/insatu_dlg.h"
#include "dialogs/ui/print_job.h"
#include "dialogs/ui/print_preview.h"
#include "resources/command_ids.h"
#include "support/png_writer.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

class PrintTest : public test::AppFixture {
protected:
    void StartWithImage(int width, int height) {
        const auto path = temp.File("big.png");
        test::WriteFileBytes(path,
                             test::EncodeRgbaPng(test::SolidBitmap(width, height, 0xFF3366CCu)));
        ASSERT_TRUE(Start({ui::PathToQString(path)}));
    }

    void WithDialog(std::function<void(ui::CInsatuDlg&)> act) {
        RunCommand<ui::CInsatuDlg>(cmd::ID_FILE_PRINT, std::move(act));
    }

    double ScreenDpi() { return app->MainFrame()->logicalDpiX(); }

    // Prints with the dialog as `prepare` leaves it into a PDF file, read back.
    std::unique_ptr<QPdfDocument> PrintToPdf(std::function<void(ui::CInsatuDlg&)> prepare) {
        const auto pdf = temp.File("out.pdf");
        prompter.saveChoice = SaveFileChoice{pdf, 1};
        WithDialog([&](ui::CInsatuDlg& dialog) {
            prepare(dialog);
            QTest::mouseClick(Child<QPushButton>(dialog, "ok"), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible());
        });
        auto document = std::make_unique<QPdfDocument>();
        EXPECT_EQ(document->load(ui::PathToQString(pdf)), QPdfDocument::Error::None);
        return document;
    }
};

TEST_F(PrintTest, DialogLaysOutThePaperAndThePageGrid) {
    StartWithImage(1000, 1500);
    WithDialog([this](ui::CInsatuDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "印刷");
        EXPECT_EQ(Child<QLabel>(dialog, "paperName")->text(), "A4Sheet, 210x297mm");
        EXPECT_EQ(Child<QLabel>(dialog, "paperSize")->text(),
                  QString("%1 X %2ﾐﾘ")
                      .arg(dialog.Metrics().paperWidthMm, 0, 'f', 1)
                      .arg(dialog.Metrics().paperHeightMm, 0, 'f', 1));
        EXPECT_NEAR(dialog.Metrics().paperWidthMm, 210, 0.2);
        EXPECT_EQ(Child<QLabel>(dialog, "printerName")->text(), "PDF");
        EXPECT_TRUE(Child<QRadioButton>(dialog, "portrait")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(dialog, "allPages")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(dialog, "fitOnePage")->isEnabled());

        const ui::PrinterMetrics& paper = dialog.Metrics();
        const PageGrid expected =
            MakePageGrid(PixelsToMm(1000, ScreenDpi()), PixelsToMm(1500, ScreenDpi()),
                         paper.paperWidthMm - 35, paper.paperHeightMm - 35, false);
        EXPECT_EQ(dialog.Grid(), expected);
        if (ScreenDpi() == 96) {
            EXPECT_EQ(dialog.Grid(), (PageGrid{2, 2}));
        }
        EXPECT_EQ(Child<QLabel>(dialog, "pageGrid")->text(),
                  QString("(ﾖｺ %1 × ﾀﾃ %2 ﾍﾟｰｼﾞ)").arg(expected.columns).arg(expected.rows));
        EXPECT_EQ(Child<QLabel>(dialog, "totalPages")->text(),
                  QString("/ %1 ﾍﾟｰｼﾞ").arg(expected.Total()));
        EXPECT_EQ(Child<QSpinBox>(dialog, "endPage")->value(), expected.Total());
        EXPECT_EQ(Child<QSpinBox>(dialog, "currentPage")->maximum(), expected.Total());

        // The preview paper and scale follow the frame.
        ui::PrintPreview* preview = dialog.Preview();
        const LayoutRect sheet = FitPaperInFrame({0, 0, preview->width(), preview->height()},
                                                 paper.paperWidthMm, paper.paperHeightMm);
        EXPECT_EQ(preview->Current().paper, sheet);
        EXPECT_DOUBLE_EQ(preview->Current().scale,
                         PreviewScale(sheet.width, ScreenDpi(), paper.paperWidthMm));

        // Margins: at most 50, at least the printer's offset.
        auto* left = Child<QSpinBox>(dialog, "marginLeft");
        EXPECT_EQ(left->value(), 25);
        EXPECT_EQ(left->maximum(), 50);
        EXPECT_EQ(left->minimum(), paper.offsetXmm);
        left->setValue(60);
        EXPECT_EQ(left->value(), 50);
        // A drag ending at 49 mm stores 50.
        left->setValue(20);
        const double scale = preview->Current().scale;
        dialog.DropMargin(ui::PrintPreview::Left, MarginPreviewPixels(49.4, scale, ScreenDpi()));
        EXPECT_EQ(left->value(), 50);
        dialog.DropMargin(ui::PrintPreview::Left, MarginPreviewPixels(30.5, scale, ScreenDpi()));
        EXPECT_EQ(left->value(), 30);
    });
    // Closing remembers the options and the placement, not the margins (only printing does).
    EXPECT_EQ(store.ReadInt("Insatu", "DspYohaku"), 0);
    EXPECT_TRUE(store.ReadInt("Insatu", "SX").has_value());
    EXPECT_FALSE(store.ReadInt("Insatu", "MarginLmm").has_value());
}

TEST_F(PrintTest, RangeOptionsAndFitToOnePage) {
    StartWithImage(1000, 1500);
    WithDialog([this](ui::CInsatuDlg& dialog) {
        Child<QRadioButton>(dialog, "pageRange")->click();
        EXPECT_EQ(store.ReadInt("Insatu", "Hani"), 3);
        auto* fit = Child<QCheckBox>(dialog, "fitOnePage");
        ASSERT_TRUE(fit->isEnabled());
        fit->click();
        EXPECT_EQ(store.ReadInt("Insatu", "AllOne"), 1);
        EXPECT_EQ(dialog.Grid(), (PageGrid{1, 1}));

        Child<QRadioButton>(dialog, "allPages")->click();
        EXPECT_FALSE(fit->isChecked());
        EXPECT_FALSE(fit->isEnabled());
        EXPECT_EQ(store.ReadInt("Insatu", "AllOne"), 0);
        EXPECT_EQ(store.ReadInt("Insatu", "Hani"), 1);
        EXPECT_GT(dialog.Grid().Total(), 1);

        // Start and end stay within the pages, the start never after the end.
        Child<QRadioButton>(dialog, "pageRange")->click();
        auto* start = Child<QSpinBox>(dialog, "startPage");
        auto* end = Child<QSpinBox>(dialog, "endPage");
        start->setValue(0);
        EXPECT_EQ(start->value(), 1);
        end->setValue(99);
        EXPECT_EQ(end->value(), dialog.Grid().Total());
        end->setValue(2);
        start->setValue(3);
        EXPECT_EQ(start->value(), 2);
        EXPECT_EQ(dialog.SelectedPages(), (std::vector<int>{2}));
    });
}

TEST_F(PrintTest, MarginLinesAreDraggedWithinTheirLimits) {
    StartWithImage(300, 300);
    setting::kPrintPX.Write(store, 1000000);  // beyond the desktop: the dialog keeps its place
    WithDialog([](ui::CInsatuDlg& dialog) {
        EXPECT_NE(dialog.pos().x(), 1000000);
        ui::PrintPreview* preview = dialog.Preview();
        const ui::PrintPreview::State& state = preview->Current();
        const int y = state.paper.top + state.paper.height / 2;
        const int x = static_cast<int>(state.paper.left + state.margins[ui::PrintPreview::Left]);
        // Hidden margin lines cannot be caught.
        EXPECT_EQ(preview->HitMargin({x, y}), -1);
        Child<QCheckBox>(dialog, "showMargins")->click();
        EXPECT_EQ(preview->HitMargin({x, y}), ui::PrintPreview::Left);
        EXPECT_EQ(preview->HitMargin({x + 4, y}), -1);

        QTest::mouseMove(preview, {x, y});
        EXPECT_EQ(preview->cursor().shape(), Qt::SizeHorCursor);
        QTest::mousePress(preview, Qt::LeftButton, {}, {x, y});
        const int far = state.paper.left + state.paper.width - 2;
        QTest::mouseMove(preview, {far, y});
        QTest::mouseRelease(preview, Qt::LeftButton, {}, {far, y});
        EXPECT_EQ(Child<QSpinBox>(dialog, "marginLeft")->value(), 50);

        // The top line dragged onto the paper's edge stops at the printer's offset.
        const int top = static_cast<int>(state.paper.top + state.margins[ui::PrintPreview::Top]);
        const int middle = state.paper.left + state.paper.width / 2;
        QTest::mousePress(preview, Qt::LeftButton, {}, {middle, top});
        QTest::mouseRelease(preview, Qt::LeftButton, {}, {middle, state.paper.top - 20});
        EXPECT_EQ(Child<QSpinBox>(dialog, "marginTop")->value(), dialog.Metrics().offsetYmm);
    });
    EXPECT_EQ(store.ReadInt("Insatu", "DspYohaku"), 1);
}

TEST_F(PrintTest, PrintsEveryPageToANamedPdfFile) {
    StartWithImage(1000, 1500);
    int total = 0;
    auto document = PrintToPdf([&total](ui::CInsatuDlg& dialog) { total = dialog.Grid().Total(); });
    ASSERT_TRUE(prompter.saveRequest);
    EXPECT_EQ(prompter.saveRequest->defaultExtension, "pdf");
    EXPECT_EQ(document->pageCount(), total);
    const QSizeF page = document->pagePointSize(0);
    EXPECT_NEAR(page.width(), 595, 2);  // A4 portrait in points
    EXPECT_NEAR(page.height(), 842, 2);
    // Printing stores the margins.
    EXPECT_EQ(store.ReadInt("Insatu", "MarginLmm"), 25);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PrintTest, LandscapeOnePageAndARangeOfPages) {
    StartWithImage(1000, 1500);
    auto landscape = PrintToPdf([](ui::CInsatuDlg& dialog) {
        Child<QRadioButton>(dialog, "landscape")->click();
        EXPECT_TRUE(Child<QLabel>(dialog, "paperSize")->text().startsWith("297.0 X 209."));
        Child<QRadioButton>(dialog, "pageRange")->click();
        Child<QCheckBox>(dialog, "fitOnePage")->click();
    });
    EXPECT_EQ(store.ReadInt("Insatu", "Orientation"), 2);
    EXPECT_EQ(landscape->pageCount(), 1);
    EXPECT_NEAR(landscape->pagePointSize(0).width(), 842, 2);

    auto range = PrintToPdf([](ui::CInsatuDlg& dialog) {
        EXPECT_TRUE(Child<QRadioButton>(dialog, "landscape")->isChecked());
        EXPECT_TRUE(Child<QCheckBox>(dialog, "fitOnePage")->isChecked());
        Child<QCheckBox>(dialog, "fitOnePage")->click();
        ASSERT_GE(dialog.Grid().Total(), 3);
        Child<QSpinBox>(dialog, "startPage")->setValue(2);
        Child<QSpinBox>(dialog, "endPage")->setValue(3);
    });
    EXPECT_EQ(range->pageCount(), 2);
}

TEST_F(PrintTest, NoPrinterSurfaceShowsTheFailureAndNoDialog) {
    printer = [] { return static_cast<QPrinter*>(nullptr); };
    StartWithImage(10, 10);
    app->Router().Dispatch(cmd::ID_FILE_PRINT);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{
                                    "CreateDC At OnInitDialog\nプリンタＤＣの取得に失敗しました"});
}

TEST_F(PrintTest, PrintIsDisabledWithoutAnImage) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_FILE_PRINT).enabled);
}

// Pages into one picture; refuses the page numbered `refused` (1-based), 0 for none.
class PictureSink final : public ui::PageSink {
public:
    explicit PictureSink(int refused)
        : refused_(refused), picture_(850, 1100, QImage::Format_RGB32) {
        picture_.fill(Qt::white);
    }
    bool Begin() override {
        started = 1;
        return painter_.begin(&picture_);
    }
    bool NewPage() override {
        if (started + 1 == refused_) {
            return false;
        }
        ++started;
        return true;
    }
    QPainter& Painter() override { return painter_; }
    void Finish(bool wasAborted) override {
        aborted = wasAborted;
        painter_.end();
    }
    int Dpi() const override { return 100; }
    QSize PagePixels() const override { return picture_.size(); }

    int started = 0;
    bool aborted = false;

private:
    int refused_;
    QImage picture_;
    QPainter painter_;
};

TEST_F(PrintTest, APageThatCannotStartAbortsTheJob) {
    ui::PrintRequest request;
    request.image = QImage(100, 100, QImage::Format_RGB32);
    request.image.fill(Qt::red);
    request.pages = {1, 2, 3};
    request.columns = 2;
    PictureSink refusing(2);
    EXPECT_FALSE(ui::PrintPages(refusing, request, prompter));
    EXPECT_TRUE(refusing.aborted);
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"StartPage At PrintOut\nプリンタＤＣの取得に失敗しました"});

    prompter.shown.clear();
    PictureSink accepting(0);
    EXPECT_TRUE(ui::PrintPages(accepting, request, prompter));
    EXPECT_EQ(accepting.started, 3);
    EXPECT_FALSE(accepting.aborted);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PrintTest, MarginsLeavingNoPrintableAreaAreAFailureNotADivision) {
    ui::PrintRequest request;
    request.image = QImage(100, 100, QImage::Format_RGB32);
    request.pages = {1};
    request.marginLeftMm = 200;  // wider than the 216 mm picture at 100 dpi less the right margin
    request.marginRightMm = 50;
    PictureSink sink(0);
    EXPECT_FALSE(ui::PrintPages(sink, request, prompter));
    EXPECT_EQ(sink.started, 0);
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"CreateDC At PrintOut\nプリンタＤＣの取得に失敗しました"});
}

}  // namespace
}  // namespace palvex
