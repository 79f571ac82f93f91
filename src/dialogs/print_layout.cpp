#include "dialogs/print_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace palvex {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kFrameGap = 14;

constexpr double Inch(double inches) {
    return inches * kMmPerInch;
}

constexpr std::array<PaperInfo, 41> kPapers = {{
    {1, "Letter, 81/2x11inch", Inch(8.5), Inch(11)},
    {2, "LetterSmall, 81/2x11inch", Inch(8.5), Inch(11)},
    {3, "Tabloid, 11x17inch", Inch(11), Inch(17)},
    {4, "Ledger, 17x11inch", Inch(17), Inch(11)},
    {5, "Legal, 81/2x14inch", Inch(8.5), Inch(14)},
    {6, "Statement, 51/2x81/2inch", Inch(5.5), Inch(8.5)},
    {7, "Executive, 71/4x101/2inch", Inch(7.25), Inch(10.5)},
    {8, "A3Sheet, 297x420mm", 297, 420},
    {9, "A4Sheet, 210x297mm", 210, 297},
    {10, "A4smallSheet, 210x297mm", 210, 297},
    {11, "A5Sheet, 148x210mm", 148, 210},
    {12, "B4Sheet, 250x354mm", 250, 354},
    {13, "B5Sheet, 182x257mm", 182, 257},
    {14, "Folio, 81/2x13inch", Inch(8.5), Inch(13)},
    {15, "Quarto, 215x275mm", 215, 275},
    {16, "10x14inchSheet", Inch(10), Inch(14)},
    {17, "11x17inchSheet", Inch(11), Inch(17)},
    {18, "Note, 81/2x11inch", Inch(8.5), Inch(11)},
    {19, "#9Envelope, 37/8x87/8inch", Inch(3.875), Inch(8.875)},
    {20, "#10Envelope, 41/8x91/2inch", Inch(4.125), Inch(9.5)},
    {21, "#11Envelope, 41/2x103/8inch", Inch(4.5), Inch(10.375)},
    {22, "#12Envelope, 43/4x11inch", Inch(4.75), Inch(11)},
    {23, "#14Envelope, 5x111/2inch", Inch(5), Inch(11.5)},
    {24, "CSheet, 17x22inch", Inch(17), Inch(22)},
    {25, "DSheet, 22x34inch", Inch(22), Inch(34)},
    {26, "ESheet, 34x44inch", Inch(34), Inch(44)},
    {27, "DLEnvelope, 110x220mm", 110, 220},
    {28, "C5Envelope, 162x229mm", 162, 229},
    {29, "C3Envelope, 324x458mm", 324, 458},
    {30, "C4Envelope, 229x324mm", 229, 324},
    {31, "C6Envelope, 114x162mm", 114, 162},
    {32, "C65Envelope, 114x229mm", 114, 229},
    {33, "B4Envelope, 250x353mm", 250, 353},
    {34, "B5Envelope, 176x250mm", 176, 250},
    {35, "B6Envelope, 176x125mm", 176, 125},
    {36, "ItalyEnvelope, 110x230mm", 110, 230},
    {37, "MonarchEnvelope, 37/8x71/2inch", Inch(3.875), Inch(7.5)},
    {38, "63/4Envelope, 35/8x61/2inch", Inch(3.625), Inch(6.5)},
    {39, "USStdFanfold, 147/8x11inch", Inch(14.875), Inch(11)},
    {40, "GermanStdFanfold, 81/2x12inch", Inch(8.5), Inch(12)},
    {41, "GermanLegalFanfold, 81/2x13inch", Inch(8.5), Inch(13)},
}};

}  // namespace

PaperInfo PaperOf(int code) {
    if (code >= kFirstPaperCode && code <= kLastPaperCode) {
        return kPapers[static_cast<std::size_t>(code - 1)];
    }
    return {code, "etc.", 210.0, 297.0};
}

int MarginCapMm(double paperMm, int oppositeMarginMm) {
    const double room = std::floor(paperMm) - oppositeMarginMm - 1;
    return static_cast<int>(std::clamp(room, 0.0, static_cast<double>(kMaxMarginMm)));
}

int ClampMarginMm(int value, int lowerMm, double paperMm, int oppositeMarginMm) {
    const int cap = MarginCapMm(paperMm, oppositeMarginMm);
    return std::min(std::max(value, lowerMm), cap);
}

PageGrid MakePageGrid(double imageWidthMm, double imageHeightMm, double printableWidthMm,
                      double printableHeightMm, bool fitOnePage) {
    if (fitOnePage || printableWidthMm <= 0 || printableHeightMm <= 0) {
        return {};
    }
    // Far beyond any image the pixel limit allows; keeps the product in an int.
    constexpr double kMaxTiles = 10000;
    const double columns = std::min(std::trunc(imageWidthMm / printableWidthMm), kMaxTiles);
    const double rows = std::min(std::trunc(imageHeightMm / printableHeightMm), kMaxTiles);
    return {static_cast<int>(columns) + 1, static_cast<int>(rows) + 1};
}

int MmToPixels(double mm, double dpi) {
    return static_cast<int>(mm * dpi / kMmPerInch);
}

double PixelsToMm(double pixels, double dpi) {
    return dpi > 0 ? pixels / dpi * kMmPerInch : 0.0;
}

LayoutRect FitPaperInFrame(const LayoutRect& frame, double paperWidthMm, double paperHeightMm) {
    double e = frame.width - 2 * kFrameGap;
    double f = frame.height - 2 * kFrameGap;
    if (e <= 0 || f <= 0 || paperWidthMm <= 0 || paperHeightMm <= 0) {
        return {frame.left + frame.width / 2, frame.top + frame.height / 2, 0, 0};
    }
    if (paperHeightMm > paperWidthMm) {
        const double ratio = paperHeightMm / paperWidthMm;
        const double g = e * ratio;
        if (g < f) {
            f = g;
        } else {
            e = f / ratio;
        }
    } else {
        const double ratio = paperWidthMm / paperHeightMm;
        const double g = f * ratio;
        if (g < e) {
            e = g;
        } else {
            f = e / ratio;
        }
    }
    const int width = static_cast<int>(e);
    const int height = static_cast<int>(f);
    return {frame.left + (frame.width - width) / 2, frame.top + (frame.height - height) / 2, width,
            height};
}

double PreviewScale(int previewPaperWidth, double screenDpi, double paperWidthMm) {
    if (screenDpi <= 0 || paperWidthMm <= 0) {
        return 0.0;
    }
    return (previewPaperWidth / screenDpi * kMmPerInch) / paperWidthMm;
}

namespace {

// Tile `index` of a row or column: [floor(index x tile), floor((index + 1) x tile)) cut at
// `limit`. Tiles laid this way meet exactly, so no image line falls between two pages.
std::pair<int, int> TileSpan(int index, double tile, int limit) {
    const double start = std::floor(index * tile);
    const double end = std::floor((index + 1) * tile);
    const int first = static_cast<int>(std::min<double>(start, limit));
    const int last = static_cast<int>(std::min<double>(end, limit));
    return {first, last - first};
}

}  // namespace

LayoutRect PageSource(int page, int columns, double tileWidth, double tileHeight, int imageWidth,
                      int imageHeight) {
    if (page < 1 || columns < 1 || tileWidth <= 0 || tileHeight <= 0) {
        return {};
    }
    const auto [x, width] = TileSpan((page - 1) % columns, tileWidth, imageWidth);
    const auto [y, height] = TileSpan((page - 1) / columns, tileHeight, imageHeight);
    if (width <= 0 || height <= 0) {
        return {x, y, 0, 0};
    }
    return {x, y, width, height};
}

double TileLength(int pageDots, int dpi, int marginMm, int oppositeMarginMm, double screenDpi) {
    if (dpi <= 0 || screenDpi <= 0) {
        return 0.0;
    }
    const int printable = pageDots - MmToPixels(marginMm, dpi) - MmToPixels(oppositeMarginMm, dpi);
    return printable > 0 ? printable * screenDpi / dpi : 0.0;
}

LayoutRect FitImage(const LayoutRect& area, int imageWidth, int imageHeight) {
    if (area.Empty() || imageWidth <= 0 || imageHeight <= 0) {
        return {area.left, area.top, 0, 0};
    }
    const double byWidth = static_cast<double>(area.width) / imageWidth;
    const double byHeight = static_cast<double>(area.height) / imageHeight;
    if (byHeight < byWidth) {
        // The height limits: centred horizontally.
        const int width = static_cast<int>(imageWidth * byHeight);
        return {area.left + (area.width - width) / 2, area.top, width, area.height};
    }
    const int height = static_cast<int>(imageHeight * byWidth);
    return {area.left, area.top + (area.height - height) / 2, area.width, height};
}

int DraggedMarginMm(double pixels, double previewScale, double screenDpi) {
    if (previewScale <= 0 || screenDpi <= 0) {
        return 0;
    }
    const int mm = static_cast<int>(pixels * kMmPerInch / previewScale / screenDpi);
    return mm == kMaxMarginMm - 1 ? kMaxMarginMm : mm;
}

double MarginPreviewPixels(double mm, double previewScale, double screenDpi) {
    return mm * screenDpi / kMmPerInch * previewScale;
}

PageRange ClampPageRange(int start, int end, int total) {
    total = std::max(total, 1);
    const int last = std::clamp(end, 1, total);
    // An end before the start pulls the start back to it.
    const int first = std::min(std::clamp(start, 1, total), last);
    return {first, last};
}

}  // namespace palvex
