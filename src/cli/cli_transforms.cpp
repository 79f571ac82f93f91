#include "cli/cli_transforms.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <utility>

#include "resources/string_table.h"
#include "selection/transforms.h"

namespace palvex::cli {
namespace {

bool ParseNumber(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// "a,b,..." into exactly values.size() numbers.
bool ParseList(std::string_view text, std::vector<int*> values) {
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::size_t comma = k + 1 < values.size() ? text.find(',') : text.size();
        if (comma == std::string_view::npos || !ParseNumber(text.substr(0, comma), *values[k])) {
            return false;
        }
        text.remove_prefix(comma == text.size() ? comma : comma + 1);
    }
    return true;
}

Operation Transform(OperationKind kind) {
    Operation operation;
    operation.kind = kind;
    return operation;
}

}  // namespace

ParsedOption ParseTransformOption(const std::vector<std::string>& args, std::size_t& i,
                                  Options& options, std::string& error) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--flip-h" || arg == "--flip-v" || arg == "--invert" || arg == "--grey") {
        options.operations.push_back(Transform(arg == "--flip-h"   ? OperationKind::FlipH
                                               : arg == "--flip-v" ? OperationKind::FlipV
                                               : arg == "--invert" ? OperationKind::Invert
                                                                   : OperationKind::Grey));
        return ParsedOption::Taken;
    }
    if (arg == "--rotate" && hasValue) {
        Operation operation = Transform(OperationKind::Rotate);
        if (!ParseNumber(args[++i], operation.angle) || operation.angle < 0 ||
            operation.angle > 359) {
            error = "--rotate needs a whole number of degrees from 0 to 359 (clockwise)";
            return ParsedOption::Invalid;
        }
        options.operations.push_back(operation);
        return ParsedOption::Taken;
    }
    if (arg == "--resize" && hasValue) {
        Operation operation = Transform(OperationKind::Resize);
        std::string_view text = args[++i];
        const bool percent = text.ends_with('%');
        bool ok = false;
        if (percent) {
            text.remove_suffix(1);
            ok = ParseNumber(text, operation.percent) && operation.percent >= 1 &&
                 operation.percent <= 200;
        } else {
            ok = ParseList(text, {&operation.size.width, &operation.size.height}) &&
                 operation.size.width >= 1 && operation.size.height >= 1;
        }
        if (!ok) {
            error = "--resize needs W,H in pixels (at least 1) or P% (1 to 200)";
            return ParsedOption::Invalid;
        }
        options.operations.push_back(operation);
        return ParsedOption::Taken;
    }
    if (arg == "--trim" && hasValue) {
        Operation operation = Transform(OperationKind::Trim);
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
        if (!ParseList(args[++i], {&x, &y, &w, &h}) || x < 0 || y < 0 || w < 1 || h < 1 ||
            w > INT32_MAX - x || h > INT32_MAX - y) {
            error = "--trim needs X,Y,W,H: a corner in the image and a size of at least 1 x 1";
            return ParsedOption::Invalid;
        }
        operation.area = {x, y, x + w, y + h};
        options.operations.push_back(operation);
        return ParsedOption::Taken;
    }
    return ParsedOption::NotMine;
}

bool ApplyTransformOperation(const Operation& operation, Bitmap& image, Colour key,
                             std::string& error) {
    Bitmap out;
    TransformResult result;
    switch (operation.kind) {
        case OperationKind::FlipH:
            result = Flip(image, true, false, out);
            break;
        case OperationKind::FlipV:
            result = Flip(image, false, true, out);
            break;
        case OperationKind::Rotate:
            if (operation.angle == 0) {
                return true;  // as the editor: the angle 0 changes nothing
            }
            result = operation.angle == 90    ? RotateQuarter(image, QuarterTurn::Clockwise, out)
                     : operation.angle == 180 ? Flip(image, true, true, out)
                     : operation.angle == 270
                         ? RotateQuarter(image, QuarterTurn::CounterClockwise, out)
                         : RotateByAngle(image, operation.angle, key, out);
            break;
        case OperationKind::Resize: {
            const Size size = operation.percent > 0
                                  ? Size{PercentOf(operation.percent, image.Width()),
                                         PercentOf(operation.percent, image.Height())}
                                  : operation.size;
            result = Resize(image, size.width, size.height, out);
            break;
        }
        case OperationKind::Invert:
            result = Invert(image, out);
            break;
        case OperationKind::Grey:
            result = Greyscale(image, out);
            break;
        case OperationKind::Trim: {
            const Rect& a = operation.area;
            if (a.right > image.Width() || a.bottom > image.Height()) {
                error = "--trim " + std::to_string(a.left) + "," + std::to_string(a.top) + "," +
                        std::to_string(a.Width()) + "," + std::to_string(a.Height()) +
                        ": the area is not inside the " + std::to_string(image.Width()) + " x " +
                        std::to_string(image.Height()) + " image";
                return false;
            }
            if (a.Width() == image.Width() && a.Height() == image.Height()) {
                return true;
            }
            result = Crop(image, a, out);
            break;
        }
        default:
            return false;
    }
    if (!result.ok) {
        error = MessageText(result.message != 0 ? result.message : str::kMemoryAllocationFailed);
        return false;
    }
    image = std::move(out);
    return true;
}

}  // namespace palvex::cli
