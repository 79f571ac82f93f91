#pragma once

#include <string>
#include <string_view>

#include "image/geometry.h"

namespace palvex {

// The value rules of the angle and size dialogs, for the dialogs to call.

// A leading decimal integer (after blanks, with an optional sign), saturated to int; text
// without one reads as 0.
int LeadingInteger(std::string_view text);
// As LeadingInteger with every thousands separator "," removed first.
int PixelEntry(std::string_view text);
// "1,200" for 1200: the size dialog's up-down positions from 1000 upwards.
std::string WithThousandsSeparators(int value);

inline constexpr int kMaxAngle = 359;
// The angle dialog's entry limited to 0..359 without a message.
int AngleFromEntry(std::string_view text);

inline constexpr int kMaxPercent = 200;
inline constexpr int kMaxDialogSide = 5000;

// What the size dialog opens with for a picture of `base` (both sides at least 1: with no
// picture the command does nothing).
struct SizeDialogBase {
    int w = 1;
    int h = 1;
    float ratio = 1.0f;  // w / h, single precision
    int maxW = 2;        // the smaller of 2w and 5000
    int maxH = 2;
};
SizeDialogBase SizeDialogBaseFor(Size base);

// The pixel entries at opening: the base size, or, where a side is over its limit, the largest
// size within both limits that keeps the ratio (a 6000 x 3000 picture opens at 5000 x 2500).
Size PixelSizeAtOpening(const SizeDialogBase& base);

// The pixel label beside each pixel entry, for maxW or maxH.
std::string PixelLimitLabel(int limit);

// With the ratio kept: the other side after leaving (or stepping) one pixel entry.
int HeightForWidth(const SizeDialogBase& base, int width);
int WidthForHeight(const SizeDialogBase& base, int height);

// The texts of the four entries when OK is pressed.
struct SizeDialogEntries {
    bool percent = true;  // the percent radio button is selected
    std::string_view percentW;
    std::string_view percentH;
    std::string_view pixelW;
    std::string_view pixelH;
};

struct SizeDialogOutcome {
    bool accepted = false;  // false: show `message` and keep the dialog open
    int percentW = 100;     // stored on every press of OK
    int percentH = 100;
    Size size;            // the new size when accepted; each side at least 1
    std::string message;  // the refusal: detail line and message 30018
};
SizeDialogOutcome AcceptSizeDialog(const SizeDialogBase& base, const SizeDialogEntries& entries);

}  // namespace palvex
