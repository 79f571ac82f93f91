#include "cli/cli_pen_ops.h"

#include <charconv>

#include "tools/pens.h"

namespace palvex::cli {
namespace {

bool ParseNumber(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool ParsePointOption(std::string_view text, Point& point) {
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && ParseNumber(text.substr(0, comma), point.x) &&
           ParseNumber(text.substr(comma + 1), point.y);
}

std::string PointOffImageText(Point at, const Bitmap& image) {
    return std::to_string(at.x) + "," + std::to_string(at.y) + " lies outside the " +
           std::to_string(image.Width()) + " x " + std::to_string(image.Height()) + " image";
}

ParsedOption ParsePenOption(const std::vector<std::string>& args, std::size_t& i, Options& options,
                            std::string& error) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--fill-back-all") {
        options.operations.push_back({OperationKind::FillBackAll, {}, {}, kNoColour});
        return ParsedOption::Taken;
    }
    if (arg == "--pen-all" && hasValue) {
        Point at;
        if (!ParsePointOption(args[++i], at)) {
            error = "--pen-all needs an image point as X,Y";
            return ParsedOption::Invalid;
        }
        options.operations.push_back({OperationKind::PenAll, at, {}, kNoColour});
        return ParsedOption::Taken;
    }
    if (arg == "--tolerance" && hasValue) {
        int tolerance = 0;
        if (!ParseNumber(args[++i], tolerance) || tolerance < kMinTolerance ||
            tolerance > kMaxTolerance) {
            error = "--tolerance needs a number from 1 to 9";
            return ParsedOption::Invalid;
        }
        options.tolerance = tolerance;
        return ParsedOption::Taken;
    }
    return ParsedOption::NotMine;
}

void ApplyPenOperation(const Operation& operation, const Options& options, Bitmap& image,
                       Colour key, Colour drawColour) {
    if (operation.kind == OperationKind::FillBackAll) {
        FillBackWholeImage(image, key);
    } else if (operation.kind == OperationKind::PenAll) {
        const PenSettings pen{PenMode::Pen, drawColour, key, {false, options.tolerance}};
        ApplyPenWholeImage(image, operation.at, pen);
    }
}

}  // namespace palvex::cli
