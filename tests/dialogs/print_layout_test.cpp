#include "dialogs/print_layout.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace palvex {
namespace {

TEST(PrintLayout, PaperTableNamesAndSizes) {
    EXPECT_EQ(PaperOf(9).name, "A4Sheet, 210x297mm");
    EXPECT_DOUBLE_EQ(PaperOf(9).widthMm, 210.0);
    EXPECT_EQ(PaperOf(1).name, "Letter, 81/2x11inch");
    EXPECT_NEAR(PaperOf(1).heightMm, 279.4, 1e-9);
    EXPECT_EQ(PaperOf(41).name, "GermanLegalFanfold, 81/2x13inch");
    EXPECT_EQ(PaperOf(35).name, "B6Envelope, 176x125mm");
    EXPECT_EQ(PaperOf(0).name, "etc.");
    EXPECT_EQ(PaperOf(42).name, "etc.");
    for (int code = kFirstPaperCode; code <= kLastPaperCode; ++code) {
        EXPECT_EQ(PaperOf(code).code, code);
    }
}

// A4 portrait, margins 25/10/25/10 mm, an image of 1000 x 1500 pixels at 96 dpi.
TEST(PrintLayout, PageGridHasOneMoreTileThanWholePrintableWidths) {
    const double widthMm = PixelsToMm(1000, 96);
    const double heightMm = PixelsToMm(1500, 96);
    EXPECT_NEAR(widthMm, 264.58, 0.01);
    EXPECT_EQ(MakePageGrid(widthMm, heightMm, 210 - 35, 297 - 35, false), (PageGrid{2, 2}));
    // Exactly one printable width still takes two columns.
    EXPECT_EQ(MakePageGrid(175, 100, 175, 262, false), (PageGrid{2, 1}));
    EXPECT_EQ(MakePageGrid(widthMm, heightMm, 175, 262, true), (PageGrid{1, 1}));
    // No printable area is one page, never a division by zero.
    EXPECT_EQ(MakePageGrid(widthMm, heightMm, 0, 262, false), (PageGrid{1, 1}));
    EXPECT_EQ(MakePageGrid(widthMm, heightMm, 175, -3, false), (PageGrid{1, 1}));
}

TEST(PrintLayout, PagesRunLeftToRightThenDownAndAreCutAtTheImageEdges) {
    // The printer at 600 dpi: margins and the page in printer pixels, tiles in image pixels.
    const int left = MmToPixels(25, 600);
    const int right = MmToPixels(10, 600);
    EXPECT_EQ(left, 590);
    const int printableWidth = MmToPixels(210, 600) - left - right;
    const int printableHeight = MmToPixels(297, 600) - MmToPixels(25, 600) - MmToPixels(10, 600);
    const double a = 600.0 / 96.0;
    const double tileW = printableWidth / a;
    const double tileH = printableHeight / a;
    EXPECT_EQ(PageSource(1, 2, tileW, tileH, 1000, 1500), (LayoutRect{0, 0, 661, 990}));
    EXPECT_EQ(PageSource(2, 2, tileW, tileH, 1000, 1500), (LayoutRect{661, 0, 339, 990}));
    // Page 3 is the lower left part.
    EXPECT_EQ(PageSource(3, 2, tileW, tileH, 1000, 1500), (LayoutRect{0, 990, 661, 510}));
    EXPECT_EQ(PageSource(4, 2, tileW, tileH, 1000, 1500), (LayoutRect{661, 990, 339, 510}));
    EXPECT_TRUE(PageSource(5, 2, tileW, tileH, 1000, 1500).Empty());
    EXPECT_TRUE(PageSource(0, 2, tileW, tileH, 1000, 1500).Empty());
}

// Tiles of fractional length: each page starts where the one before ended, so every image
// line is on exactly one page. Trunc(k x tile) starts with trunc(tile) lengths lost row 2970
// with 990.4-pixel tiles.
TEST(PrintLayout, FractionalTilesShareOutEveryImageLineExactlyOnce) {
    for (const double tile : {661.12, 990.4, 661.44, 250.5, 100.0, 7.999}) {
        SCOPED_TRACE(tile);
        const int image = 6000;
        const int pages = static_cast<int>(image / tile) + 1;
        int next = 0;
        for (int page = 1; page <= pages; ++page) {
            const LayoutRect across = PageSource(page, pages, tile, tile, image, 1);
            ASSERT_EQ(across.left, next) << "page " << page;
            EXPECT_GE(across.width, std::min(static_cast<int>(tile), image - next));
            EXPECT_LE(across.width, static_cast<int>(tile) + 1);
            next += across.width;
            // Down the first column of pages, the same partition.
            const LayoutRect down = PageSource((page - 1) * pages + 1, pages, tile, tile, 1, image);
            EXPECT_EQ(down.top, across.left);
            EXPECT_EQ(down.height, across.width);
        }
        EXPECT_EQ(next, image);
    }
    // The third row of pages takes row 2970 along; the fourth starts right after it.
    const LayoutRect third = PageSource(5, 2, 661.12, 990.4, 1400, 4000);
    EXPECT_EQ(third.top, 1980);
    EXPECT_EQ(third.height, 991);
    EXPECT_EQ(PageSource(7, 2, 661.12, 990.4, 1400, 4000).top, 2971);
}

TEST(PrintLayout, TileLengthIsThePrintableDotsInScreenPixels) {
    // A4 at 1200 dpi with 25 and 10 mm margins: 1181 and 472 dots taken off 9921.
    EXPECT_DOUBLE_EQ(TileLength(9921, 1200, 25, 10, 96), (9921 - 1181 - 472) * 96.0 / 1200);
    EXPECT_DOUBLE_EQ(TileLength(1000, 100, 0, 0, 96), 960.0);
    // Margins that leave nothing, or no resolution, give no tile rather than a negative one.
    EXPECT_EQ(TileLength(1000, 100, 200, 100, 96), 0.0);
    EXPECT_EQ(TileLength(1000, 0, 10, 10, 96), 0.0);
    EXPECT_EQ(TileLength(1000, 100, 10, 10, 0), 0.0);
}

TEST(PrintLayout, PaperIsFittedIntoThePreviewFrame) {
    const LayoutRect frame{0, 0, 428, 328};
    // Portrait: the height limits, the paper is centred across.
    EXPECT_EQ(FitPaperInFrame(frame, 210, 297), (LayoutRect{108, 14, 212, 300}));
    // Landscape: the width limits, centred up and down.
    EXPECT_EQ(FitPaperInFrame(frame, 297, 210), (LayoutRect{14, 23, 400, 282}));
    // A frame too small for the gaps gives an empty paper.
    EXPECT_TRUE(FitPaperInFrame({0, 0, 20, 300}, 210, 297).Empty());
    EXPECT_NEAR(PreviewScale(212, 96, 210), 212 / 96.0 * 25.4 / 210, 1e-12);
    EXPECT_EQ(PreviewScale(212, 0, 210), 0.0);
}

TEST(PrintLayout, FitToOnePageKeepsProportionsAndCentres) {
    // The width limits: centred up and down.
    EXPECT_EQ(FitImage({10, 10, 100, 200}, 50, 50), (LayoutRect{10, 60, 100, 100}));
    // The height limits: centred across.
    EXPECT_EQ(FitImage({0, 0, 300, 100}, 100, 200), (LayoutRect{125, 0, 50, 100}));
    EXPECT_TRUE(FitImage({0, 0, 0, 100}, 100, 200).Empty());
}

TEST(PrintLayout, MarginsAreCappedSoThePaperKeepsAPrintableStrip) {
    EXPECT_EQ(ClampMarginMm(60, 5, 210, 10), 50);
    EXPECT_EQ(ClampMarginMm(0, 5, 210, 10), 5);
    EXPECT_EQ(ClampMarginMm(30, 0, 210, 10), 30);
    // A 92 mm envelope with the opposite margin at 50: at most 41 mm, 1 mm stays printable.
    const double envelope = PaperOf(38).widthMm;
    EXPECT_EQ(ClampMarginMm(50, 5, envelope, 50), 41);
    EXPECT_GT(envelope - 50 - ClampMarginMm(50, 5, envelope, 50), 0.0);
    EXPECT_EQ(MarginCapMm(0, 0), 0);
}

TEST(PrintLayout, DraggedMarginIsTruncatedAndFortyNineBecomesFifty) {
    const double scale = 0.5;
    EXPECT_EQ(DraggedMarginMm(MarginPreviewPixels(49.5, scale, 96), scale, 96), 50);
    EXPECT_EQ(DraggedMarginMm(MarginPreviewPixels(48.5, scale, 96), scale, 96), 48);
    EXPECT_EQ(DraggedMarginMm(MarginPreviewPixels(50, scale, 96), scale, 96), 50);
    EXPECT_EQ(DraggedMarginMm(10, 0, 96), 0);
}

TEST(PrintLayout, PageRangeIsClampedToTheDocument) {
    EXPECT_EQ(ClampPageRange(0, 5, 4), (PageRange{1, 4}));
    EXPECT_EQ(ClampPageRange(-3, -3, 4), (PageRange{1, 1}));
    EXPECT_EQ(ClampPageRange(3, 2, 4), (PageRange{2, 2}));
    EXPECT_EQ(ClampPageRange(2, 3, 4), (PageRange{2, 3}));
    EXPECT_EQ(ClampPageRange(9, 9, 0), (PageRange{1, 1}));
}

}  // namespace
}  // namespace palvex
