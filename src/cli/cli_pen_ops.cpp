#include "cli/cli_pen_ops.h"

#include <charconv>

#include "tools/pens.h"

namespace palvex::cli {
namespace {

bool ParseNumber(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParsePoint(std::string_view text, Point& point) {
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && ParseNumber(text.substr(0, comma), point.x) &&
           ParseNumber(text.substr(comma + 1), point.y);
}

}  // namespace

ParsedOption ParsePenOption(const std::vector<std::string>& args, std::size_t& i, Options& options,
                            std::string& error) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--fill-back-all") {
        options.operations.push_back({OperationKind::FillBackAll, {}, {}});
        return ParsedOption::Taken;
    }
    if (arg == "--pen-all" && hasValue) {
        Point at;
        if (!ParsePoint(args[++i], at)) {
            error = "--pen-all needs an image point as X,Y";
            return ParsedOption::Invalid;
        }
        options.operations.push_back({OperationKind::PenAll, at, {}});
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
    if (arg == "--draw-color" && hasValue) {
        options.drawColour = ParseHexColour(args[++i]);
        if (!options.drawColour) {
            error = "--draw-color needs a colour as RRGGBB";
            return ParsedOption::Invalid;
        }
        return ParsedOption::Taken;
    }
    return ParsedOption::NotMine;
}

bool ApplyPenOperation(const Operation& operation, const Options& options, Bitmap& image,
                       Colour key, std::string& error) {
    switch (operation.kind) {
        case OperationKind::FillBackAll:
            FillBackWholeImage(image, key);
            return true;
        case OperationKind::PenAll: {
            const Point at = operation.at;
            if (!image.Contains(at.x, at.y)) {
                error = "--pen-all " + std::to_string(at.x) + "," + std::to_string(at.y) +
                        ": the point lies outside the " + std::to_string(image.Width()) + " x " +
                        std::to_string(image.Height()) + " image";
                return false;
            }
            const PenSettings pen{
                PenMode::Pen, options.drawColour.value_or(key), key, {false, options.tolerance}};
            return ApplyPenWholeImage(image, at, pen);
        }
        default:
            break;  // the barrier steps and the transforms have their own files
    }
    return false;
}

}  // namespace palvex::cli
