#include "cli/cli_operations.h"

#include "cli/cli_barrier.h"
#include "cli/cli_transforms.h"
#include "tools/colour_tools.h"

namespace palvex::cli {

ParsedOption ParseFillOption(const std::vector<std::string>& args, std::size_t& i, Options& options,
                             std::string& error) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--fill" && hasValue) {
        Point at;
        if (!ParsePointOption(args[++i], at)) {
            error = "--fill needs an image point as X,Y";
            return ParsedOption::Invalid;
        }
        options.operations.push_back({OperationKind::Fill, at, {}, kNoColour});
        return ParsedOption::Taken;
    }
    if (arg == "--draw-color" && hasValue) {
        const std::optional<Colour> colour = ParseHexColour(args[++i]);
        if (!colour) {
            error = "--draw-color needs a colour as RRGGBB";
            return ParsedOption::Invalid;
        }
        options.operations.push_back({OperationKind::DrawColour, {}, {}, *colour});
        return ParsedOption::Taken;
    }
    return ParsedOption::NotMine;
}

OperationResult ApplyOperations(const Options& options, Bitmap& image, Colour key,
                                Prompter& prompter, std::string& error) {
    Colour drawColour = key;
    for (const Operation& operation : options.operations) {
        switch (operation.kind) {
            case OperationKind::DrawColour:
                drawColour = operation.colour;
                break;
            case OperationKind::Fill:
                if (!image.Contains(operation.at.x, operation.at.y)) {
                    error = "--fill " + PointOffImageText(operation.at, image);
                    return OperationResult::OffImage;
                }
                FloodFillAt(image, operation.at, drawColour);
                break;
            case OperationKind::PenAll:
                if (!image.Contains(operation.at.x, operation.at.y)) {
                    error = "--pen-all " + PointOffImageText(operation.at, image);
                    return OperationResult::OffImage;
                }
                ApplyPenOperation(operation, options, image, key, drawColour);
                break;
            case OperationKind::FillBackAll:
                ApplyPenOperation(operation, options, image, key, drawColour);
                break;
            case OperationKind::BarrierOutside:
            case OperationKind::BarrierInside:
                if (!ApplyBarrierOperation(operation, image, key, prompter)) {
                    return OperationResult::Failed;
                }
                break;
            case OperationKind::FlipH:
            case OperationKind::FlipV:
            case OperationKind::Rotate:
            case OperationKind::Resize:
            case OperationKind::Invert:
            case OperationKind::Grey:
            case OperationKind::Trim:
                if (!ApplyTransformOperation(operation, image, key, error)) {
                    return OperationResult::Failed;
                }
                break;
        }
    }
    return OperationResult::Done;
}

}  // namespace palvex::cli
