// Printing: the dialog's controls and layout, the pages printed to a PDF file, and the failures.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>
#include <cmath>
#include <functional>

#include "app/ui/printer_setup.h"
#include "app/ui/qt_text.h"
#include "dialogs/print_layout.h"
#include "dialogs/ui/insatu_dlg.h"
#include "dialogs/ui/print_job.h"
#include "dialogs/ui/print_preview.h"
#include "dialogs/ui/printer_setup_dlg.h"
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

    // Types into a spin box as a person does and leaves it with Tab (Enter would print). The
    // dialog must be the active window for the focus to leave the box.
    static void Type(QSpinBox* spin, const QString& text) {
        ASSERT_NE(spin, nullptr);
        spin->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(spin->window()));
        spin->setFocus();
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
        QTest::keyClick(spin, Qt::Key_Tab);
    }

    // Clicks a radio button on its mark, where a person clicks it.
    static void ClickRadio(QRadioButton* radio) {
        ASSERT_NE(radio, nullptr);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }

    // Clicks 設定(&P) and lets `act` work the printer set-up before it closes.
    static void WithPrinterSetup(ui::CInsatuDlg& dialog,
                                 std::function<void(ui::CPrinterSetupDlg&)> act) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* setup = qobject_cast<ui::CPrinterSetupDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(setup, nullptr);
            seen = true;
            act(*setup);
            if (setup->isVisible()) {
                setup->reject();
            }
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "printerSetup"), Qt::LeftButton);
        EXPECT_TRUE(seen);
    }

    static void ClickOk(ui::CPrinterSetupDlg& setup) {
        auto* box = setup.findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }

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

// Every column and row of this image has a code of its own: red and the high nibble of blue
// give the column, green and the low nibble the row.
QRgb CodeOf(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) & 0xF) << 4 | ((y >> 8) & 0xF));
}

class PrintedPagesTest : public PrintTest {
protected:
    // Prints a coded image of width x height and reads the pages back: the columns (across) or
    // rows (down) of the image each page shows, along its first row or column. The margin that
    // sets the tile is typed so that tiles are fractional enough for truncated starts to lose a
    // line on these pages; the preview's parts of every page are kept for comparison.
    void PrintAndRead(bool across, int width, int height) {
        Bitmap image;
        ASSERT_TRUE(image.Create(width, height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.Row(y)[x] = CodeOf(x, y);
            }
        }
        const auto path = temp.File("coded.png");
        test::WriteFileBytes(path, test::EncodeRgbaPng(image));
        ASSERT_TRUE(Start({ui::PathToQString(path)}));

        auto document = PrintToPdf([&](ui::CInsatuDlg& dialog) {
            const ui::PrinterMetrics& metrics = dialog.Metrics();
            dpi = metrics.dpi;
            const int dots = across ? metrics.pageDots.width() : metrics.pageDots.height();
            const int length = across ? width : height;
            // The first margin whose tile would have lost a line under truncated starts.
            int margin = 10;
            for (; margin < 50; ++margin) {
                const double tile = TileLength(dots, dpi, 25, margin, ScreenDpi());
                const int pages = static_cast<int>(length / tile) + 1;
                bool loses = false;
                for (int k = 1; k < pages; ++k) {
                    const int whole = static_cast<int>(tile);
                    loses = loses ||
                            static_cast<int>(k * tile) > static_cast<int>((k - 1) * tile) + whole;
                }
                if (loses) {
                    break;
                }
            }
            ASSERT_LT(margin, 50);
            Type(Child<QSpinBox>(dialog, across ? "marginRight" : "marginBottom"),
                 QString::number(margin));
            ASSERT_EQ(Child<QSpinBox>(dialog, across ? "marginRight" : "marginBottom")->value(),
                      margin);
            ASSERT_GE(dialog.Grid().Total(), 3);
            for (int page = 1; page <= dialog.Grid().Total(); ++page) {
                Child<QSpinBox>(dialog, "currentPage")->setValue(page);
                previewed.push_back(dialog.Preview()->Source());
            }
        });
        ASSERT_EQ(document->pageCount(), static_cast<int>(previewed.size()));

        // Three rendered pixels an image pixel, sampled at the image pixels' centres.
        const double scale = dpi / ScreenDpi();
        const double render = 3 * ScreenDpi();
        const double toRender = render / dpi;
        const double left = MmToPixels(25, dpi);
        const double top = MmToPixels(25, dpi);
        QPdfDocumentRenderOptions options;
        options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::ImageAliased);
        for (int page = 0; page < document->pageCount(); ++page) {
            const QSizeF points = document->pagePointSize(page);
            const QSize size(qRound(points.width() * render / 72),
                             qRound(points.height() * render / 72));
            const QImage picture =
                document->render(page, size, options).convertToFormat(QImage::Format_ARGB32);
            std::vector<int> lines;
            for (int i = 0;; ++i) {
                const double along = (across ? left : top) + (i + 0.5) * scale;
                const double side = (across ? top : left) + 0.5 * scale;
                const QPoint at(static_cast<int>(across ? along * toRender : side * toRender),
                                static_cast<int>(across ? side * toRender : along * toRender));
                if (!picture.rect().contains(at)) {
                    break;
                }
                const QRgb pixel = picture.pixel(at);
                if (qAlpha(pixel) != 255) {
                    break;  // the bare paper after the page's last image pixel
                }
                lines.push_back(across ? (qRed(pixel) | (qBlue(pixel) >> 4) << 8)
                                       : (qGreen(pixel) | (qBlue(pixel) & 0xF) << 8));
            }
            printed.push_back(lines);
        }
    }

    // Each page's lines follow on from the last page's, and together they are every line once.
    void ExpectEveryLineOnce(bool across, int length) {
        int next = 0;
        for (std::size_t page = 0; page < printed.size(); ++page) {
            SCOPED_TRACE(testing::Message() << "page " << page + 1);
            const std::vector<int>& lines = printed[page];
            ASSERT_FALSE(lines.empty());
            for (std::size_t i = 0; i < lines.size(); ++i) {
                ASSERT_EQ(lines[i], next) << "the " << i << "th line of the page";
                ++next;
            }
            // The preview shows the same part as the printed page.
            const LayoutRect& shown = previewed[page];
            EXPECT_EQ(across ? shown.left : shown.top, lines.front());
            EXPECT_EQ(across ? shown.width : shown.height, static_cast<int>(lines.size()));
        }
        EXPECT_EQ(next, length);
    }

    int dpi = 0;
    std::vector<std::vector<int>> printed;
    std::vector<LayoutRect> previewed;
};

TEST_F(PrintedPagesTest, EveryImageColumnIsPrintedOnExactlyOnePage) {
    PrintAndRead(true, 2100, 12);
    ExpectEveryLineOnce(true, 2100);
}

TEST_F(PrintedPagesTest, EveryImageRowIsPrintedOnExactlyOnePage) {
    PrintAndRead(false, 12, 3100);
    ExpectEveryLineOnce(false, 3100);
}

TEST_F(PrintTest, TypedMarginsAndPagesBeyondTheirRangeAreClamped) {
    // A printer that cannot print the outer 5 mm across and 6 mm down.
    QPrinter limited(QPrinter::HighResolution);
    limited.setOutputFormat(QPrinter::PdfFormat);
    limited.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter,
                                      QMarginsF(5, 6, 5, 6)));
    printer = [&limited] { return &limited; };
    StartWithImage(1000, 1500);
    WithDialog([this](ui::CInsatuDlg& dialog) {
        ASSERT_EQ(dialog.Metrics().offsetXmm, 5);
        ASSERT_EQ(dialog.Metrics().offsetYmm, 6);
        auto* left = Child<QSpinBox>(dialog, "marginLeft");
        auto* top = Child<QSpinBox>(dialog, "marginTop");
        Type(left, "60");
        EXPECT_EQ(left->value(), 50);
        // The page follows the margin it was left with.
        const double fifty = MmToPixels(50, ScreenDpi()) * dialog.Preview()->Current().scale;
        EXPECT_DOUBLE_EQ(dialog.Preview()->Current().margins[ui::PrintPreview::Left], fifty);
        Type(left, "0");
        EXPECT_EQ(left->value(), 5);
        Type(top, "3");
        EXPECT_EQ(top->value(), 6);
        Type(top, "");
        EXPECT_EQ(top->value(), 6);
        Type(top, "33");
        EXPECT_EQ(top->value(), 33);

        // Page numbers past the total become the total, not their first digit.
        const int total = dialog.Grid().Total();
        ASSERT_GE(total, 2);
        ASSERT_LT(total, 10);
        Child<QRadioButton>(dialog, "pageRange")->click();
        Type(Child<QSpinBox>(dialog, "currentPage"), "99");
        EXPECT_EQ(Child<QSpinBox>(dialog, "currentPage")->value(), total);
        EXPECT_EQ(dialog.Preview()->Current().page, total);
        Type(Child<QSpinBox>(dialog, "endPage"), "99");
        EXPECT_EQ(Child<QSpinBox>(dialog, "endPage")->value(), total);
        Type(Child<QSpinBox>(dialog, "startPage"), "0");
        EXPECT_EQ(Child<QSpinBox>(dialog, "startPage")->value(), 1);
    });
}

TEST_F(PrintTest, APaperOutsideTheNamedOnesIsLaidOutStoredAndKept) {
    StartWithImage(1000, 1500);
    auto document = PrintToPdf([this](ui::CInsatuDlg& dialog) {
        const PageGrid a4 = dialog.Grid();
        WithPrinterSetup(dialog, [](ui::CPrinterSetupDlg& setup) {
            auto* papers = Child<QComboBox>(setup, "papers");
            EXPECT_EQ(papers->currentText(), "A4");
            papers->setFocus();
            QTest::keyClicks(papers, "A6");
            EXPECT_EQ(papers->currentText(), "A6");
            ClickOk(setup);
        });
        EXPECT_EQ(Child<QLabel>(dialog, "paperName")->text(), "etc.");
        EXPECT_NEAR(dialog.Metrics().paperWidthMm, 105, 0.5);
        EXPECT_NEAR(dialog.Metrics().paperHeightMm, 148, 0.5);
        EXPECT_EQ(store.ReadInt("Insatu", "PaperSize"), 70);  // A6 in the same numbering
        const PageGrid expected = MakePageGrid(
            PixelsToMm(1000, ScreenDpi()), PixelsToMm(1500, ScreenDpi()),
            dialog.Metrics().paperWidthMm - 35, dialog.Metrics().paperHeightMm - 35, false);
        EXPECT_EQ(dialog.Grid(), expected);
        EXPECT_GT(dialog.Grid().Total(), a4.Total());
        EXPECT_EQ(Child<QLabel>(dialog, "pageGrid")->text(),
                  QString("(ﾖｺ %1 × ﾀﾃ %2 ﾍﾟｰｼﾞ)").arg(expected.columns).arg(expected.rows));

        // Turning the sheet keeps it A6.
        ClickRadio(Child<QRadioButton>(dialog, "landscape"));
        EXPECT_NEAR(dialog.Metrics().paperWidthMm, 148, 0.5);
        EXPECT_EQ(Child<QLabel>(dialog, "paperSize")->text(),
                  QString("%1 X %2ﾐﾘ")
                      .arg(dialog.Metrics().paperWidthMm, 0, 'f', 1)
                      .arg(dialog.Metrics().paperHeightMm, 0, 'f', 1));
        EXPECT_EQ(Child<QLabel>(dialog, "paperName")->text(), "etc.");
        Child<QRadioButton>(dialog, "pageRange")->click();
        Child<QCheckBox>(dialog, "fitOnePage")->click();
    });
    ASSERT_EQ(document->pageCount(), 1);
    EXPECT_NEAR(document->pagePointSize(0).width(), 420, 2);  // A6 landscape in points
    EXPECT_NEAR(document->pagePointSize(0).height(), 298, 2);

    // The next start gives the printer the same sheet.
    QPrinter next(QPrinter::HighResolution);
    next.setOutputFormat(QPrinter::PdfFormat);
    ui::ApplyPaper(next, *store.ReadInt("Insatu", "PaperSize"), 1);
    EXPECT_EQ(next.pageLayout().pageSize().id(), QPageSize::A6);
}

TEST_F(PrintTest, ThePrinterIsChosenInTheSetUpAndRemembered) {
    StartWithImage(300, 300);
    WithDialog([this](ui::CInsatuDlg& dialog) {
        // Cancel changes nothing.
        WithPrinterSetup(dialog, [](ui::CPrinterSetupDlg& setup) {
            QTest::keyClicks(Child<QComboBox>(setup, "papers"), "A3");
        });
        EXPECT_EQ(Child<QLabel>(dialog, "paperName")->text(), "A4Sheet, 210x297mm");
        EXPECT_FALSE(store.ReadText("Insatu", "PrinterName").has_value());

        WithPrinterSetup(dialog, [](ui::CPrinterSetupDlg& setup) {
            auto* printers = Child<QComboBox>(setup, "printers");
            // Every installed printer, then the PDF printer.
            const QStringList installed = QPrinterInfo::availablePrinterNames();
            ASSERT_EQ(printers->count(), installed.size() + 1);
            for (int i = 0; i < installed.size(); ++i) {
                EXPECT_EQ(printers->itemText(i), installed[i]);
            }
            EXPECT_EQ(printers->itemText(installed.size()), "PDF");
            printers->setFocus();
            QTest::keyClick(printers, Qt::Key_End);
            EXPECT_EQ(printers->currentText(), "PDF");
            ClickRadio(Child<QRadioButton>(setup, "landscape"));
            auto* papers = Child<QComboBox>(setup, "papers");
            papers->setFocus();
            QTest::keyClicks(papers, "A5");
            ClickOk(setup);
        });
        EXPECT_EQ(Child<QLabel>(dialog, "printerName")->text(), "PDF");
        EXPECT_EQ(Child<QLabel>(dialog, "paperName")->text(), "A5Sheet, 148x210mm");
        EXPECT_TRUE(Child<QRadioButton>(dialog, "landscape")->isChecked());
        EXPECT_NEAR(dialog.Metrics().paperWidthMm, 210, 0.5);
        EXPECT_NEAR(dialog.Metrics().paperHeightMm, 148, 0.5);
    });
    EXPECT_EQ(store.ReadText("Insatu", "PrinterName"), "/PDF");
    EXPECT_EQ(store.ReadInt("Insatu", "PaperSize"), 11);
    EXPECT_EQ(store.ReadInt("Insatu", "Orientation"), 2);

    // The stored choice is the printer of the next start; a printer gone since falls back to
    // the default (the PDF printer where none is installed).
    EXPECT_EQ(ui::MakePrinter("/PDF")->outputFormat(), QPrinter::PdfFormat);
    const auto gone = ui::MakePrinter("no printer of this name");
    EXPECT_TRUE(gone->isValid());
    EXPECT_EQ(gone->printerName(), QPrinterInfo::defaultPrinter().printerName());
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
