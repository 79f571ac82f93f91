#include "cli/cli_operations.h"

#include "tools/colour_tools.h"

namespace palvex::cli {

bool ApplyOperations(Bitmap& image, Colour key, std::span<const Operation> operations,
                     std::string& error) {
    Colour drawColour = key;
    for (const Operation& operation : operations) {
        switch (operation.kind) {
            case Operation::Kind::DrawColour:
                drawColour = operation.colour;
                break;
            case Operation::Kind::Fill:
                if (!image.Contains(operation.point.x, operation.point.y)) {
                    error = "--fill " + std::to_string(operation.point.x) + "," +
                            std::to_string(operation.point.y) + " lies outside the " +
                            std::to_string(image.Width()) + " x " + std::to_string(image.Height()) +
                            " image";
                    return false;
                }
                FloodFillAt(image, operation.point, drawColour);
                break;
        }
    }
    return true;
}

}  // namespace palvex::cli
