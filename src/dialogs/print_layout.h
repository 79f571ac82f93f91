#pragma once

#include <string_view>

namespace palvex {

// A printer paper: its code (the Windows paper numbering the settings keep), the name shown and
// its portrait size in millimetres. Unknown codes give "etc." with the size of A4.
struct PaperInfo {
    int code = 9;
    std::string_view name;
    double widthMm = 210.0;
    double heightMm = 297.0;
};
PaperInfo PaperOf(int code);
inline constexpr int kFirstPaperCode = 1;
inline constexpr int kLastPaperCode = 41;

inline constexpr int kMaxMarginMm = 50;

// Rectangles of the layout, in whatever unit the function names; right = left + width.
struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// The highest a margin may be: 50 mm, and always 1 mm of paper left beside the opposite margin,
// so the printable width or height never reaches zero (narrow envelopes).
int MarginCapMm(double paperMm, int oppositeMarginMm);
// A margin clamped to lowerMm .. its cap. A cap below the lower limit wins.
int ClampMarginMm(int value, int lowerMm, double paperMm, int oppositeMarginMm);

struct PageGrid {
    int columns = 1;
    int rows = 1;
    int Total() const { return columns * rows; }
    friend bool operator==(const PageGrid&, const PageGrid&) = default;
};
// One more column than the whole printable widths the image takes, also when it divides
// exactly; likewise the rows. 1 x 1 when fitting to one page or when there is no printable area.
PageGrid MakePageGrid(double imageWidthMm, double imageHeightMm, double printableWidthMm,
                      double printableHeightMm, bool fitOnePage);

// Millimetres to whole pixels at `dpi`, truncated; and image pixels to millimetres.
int MmToPixels(double mm, double dpi);
double PixelsToMm(double pixels, double dpi);

// The paper inside the preview frame with 14 pixels kept free on each side, centred, keeping the
// paper's proportions.
LayoutRect FitPaperInFrame(const LayoutRect& frame, double paperWidthMm, double paperHeightMm);
// The ratio of the preview paper's width to the paper's real width on the screen.
double PreviewScale(int previewPaperWidth, double screenDpi, double paperWidthMm);

// The part of the image page `page` (1-based) shows, tiles of tileWidth x tileHeight image
// pixels running left to right, then top to bottom, cut at the image's edges. Fractional tiles
// alternate between the whole lengths below and above, so the pages share out every image pixel
// exactly once. Empty when the page lies outside the image.
LayoutRect PageSource(int page, int columns, double tileWidth, double tileHeight, int imageWidth,
                      int imageHeight);
// A page's tile length in image pixels: the printable dots between two margins (each truncated
// to whole dots) at `dpi`, one image pixel taking one screen pixel. 0 when nothing is printable.
// The print job and the preview both take their tiles from here, so the preview shows exactly
// the printed parts.
double TileLength(int pageDots, int dpi, int marginMm, int oppositeMarginMm, double screenDpi);
// The image scaled into `area` keeping its proportions, centred in the direction with room left.
LayoutRect FitImage(const LayoutRect& area, int imageWidth, int imageHeight);

// A margin dragged in the preview to `pixels` from the paper edge, in whole millimetres; a drag
// ending at 49 mm stores 50 (the line rarely lands on the last pixel).
int DraggedMarginMm(double pixels, double previewScale, double screenDpi);
// The preview pixels of `mm` from the paper edge.
double MarginPreviewPixels(double mm, double previewScale, double screenDpi);

// The page range: start and end within 1 .. total; an end before the start moves the start
// there.
struct PageRange {
    int first = 1;
    int last = 1;
    friend bool operator==(const PageRange&, const PageRange&) = default;
};
PageRange ClampPageRange(int start, int end, int total);

}  // namespace palvex
