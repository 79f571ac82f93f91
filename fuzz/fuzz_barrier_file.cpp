// The barrier file parser on any bytes: it never holds more than a barrier's vertices, refuses
// exactly when it read none (or too many, or binary), and what it accepts writes back into a
// file that reads the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "barrier/barrier_file.h"

using namespace palvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const BarrierParse parse = ParseBarrierText({data, size});
    if (parse.vertices.size() > kMaxBarrierVertices) {
        std::abort();
    }
    if ((parse.status == BarrierParseStatus::Ok) == parse.vertices.empty()) {
        std::abort();
    }
    if (parse.status != BarrierParseStatus::Ok) {
        return 0;
    }
    const std::string text = FormatBarrierText(parse.vertices);
    const BarrierParse again =
        ParseBarrierText({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (again.status != BarrierParseStatus::Ok || again.vertices != parse.vertices) {
        std::abort();
    }
    std::vector<Point> clamped = parse.vertices;
    const Size image{1 + static_cast<int>(size & 0xFF), 1 + static_cast<int>(size >> 8 & 0xFF)};
    ClampToImage(clamped, image);
    for (const Point p : clamped) {
        if (p.x < 0 || p.y < 0 || p.x >= image.width || p.y >= image.height) {
            std::abort();
        }
    }
    return 0;
}
