#include "selection/transform_dialogs.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "base/settings_store.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "selection/transforms.h"

namespace palvex {
namespace {

std::string Substitute(std::string_view format, long long value) {
    std::string text(format);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(value));
    }
    return text;
}

}  // namespace

int LeadingInteger(std::string_view text) {
    return ParseDecimalText(text);  // the entries read like the settings: atol with saturation
}

int PixelEntry(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c != ',') {
            digits += c;
        }
    }
    return LeadingInteger(digits);
}

std::string WithThousandsSeparators(int value) {
    std::string digits = std::to_string(value < 0 ? -static_cast<std::int64_t>(value) : value);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return value < 0 ? "-" + digits : digits;
}

int AngleFromEntry(std::string_view text) {
    return std::clamp(LeadingInteger(text), 0, kMaxAngle);
}

SizeDialogBase SizeDialogBaseFor(Size base) {
    SizeDialogBase b;
    b.w = std::max(base.width, 1);
    b.h = std::max(base.height, 1);
    b.ratio = static_cast<float>(b.w) / static_cast<float>(b.h);
    b.maxW = static_cast<int>(std::min<std::int64_t>(std::int64_t{b.w} * 2, kMaxDialogSide));
    b.maxH = static_cast<int>(std::min<std::int64_t>(std::int64_t{b.h} * 2, kMaxDialogSide));
    return b;
}

std::string PixelLimitLabel(int limit) {
    return Substitute(texts::kPixelLimitLabel, limit);
}

int HeightForWidth(const SizeDialogBase& base, int width) {
    return static_cast<int>(static_cast<float>(width) / base.ratio);
}

int WidthForHeight(const SizeDialogBase& base, int height) {
    return static_cast<int>(static_cast<float>(height) * base.ratio);
}

Size PixelSizeAtOpening(const SizeDialogBase& base) {
    int w = base.w;
    int h = base.h;
    if (w > base.maxW) {
        w = base.maxW;
        h = HeightForWidth(base, w);
    }
    if (h > base.maxH) {
        h = base.maxH;
        w = WidthForHeight(base, h);
    }
    return {std::clamp(w, 1, base.maxW), std::clamp(h, 1, base.maxH)};
}

SizeDialogOutcome AcceptSizeDialog(const SizeDialogBase& base, const SizeDialogEntries& entries) {
    SizeDialogOutcome out;
    out.percentW = std::clamp(LeadingInteger(entries.percentW), 1, kMaxPercent);
    out.percentH = std::clamp(LeadingInteger(entries.percentH), 1, kMaxPercent);
    if (!entries.percent) {
        out.size = {std::clamp(PixelEntry(entries.pixelW), 1, base.maxW),
                    std::clamp(PixelEntry(entries.pixelH), 1, base.maxH)};
        out.accepted = true;
        return out;
    }
    const std::int64_t width = std::int64_t{out.percentW} * base.w / 100;
    const std::int64_t height = std::int64_t{out.percentH} * base.h / 100;
    if (width > kMaxDialogSide) {
        out.message =
            MessageText(str::kSizeOver5000, Substitute(texts::kWidthWouldBe, width) + "\n");
        return out;
    }
    if (height > kMaxDialogSide) {
        out.message =
            MessageText(str::kSizeOver5000, Substitute(texts::kHeightWouldBe, height) + "\n");
        return out;
    }
    // A small percentage of a short side would give 0 pixels.
    out.size = {PercentOf(out.percentW, base.w), PercentOf(out.percentH, base.h)};
    out.accepted = true;
    return out;
}

}  // namespace palvex
