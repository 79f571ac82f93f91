#include "cli/cli_barrier.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "barrier/barrier_file.h"
#include "barrier/barrier_fill.h"

namespace palvex::cli {
namespace {

// Fewer than three vertices, or all on one line.
bool EnclosesNothing(const std::vector<Point>& vertices) {
    if (vertices.size() < 3) {
        return true;
    }
    const Point a = vertices[0];
    // With a repeated first vertex the line is fixed by the next distinct one.
    const auto other =
        std::find_if(vertices.begin() + 1, vertices.end(), [a](Point p) { return p != a; });
    if (other == vertices.end()) {
        return true;
    }
    return std::all_of(vertices.begin(), vertices.end(), [a, b = *other](Point p) {
        return (std::int64_t{b.x} - a.x) * (std::int64_t{p.y} - a.y) ==
               (std::int64_t{p.x} - a.x) * (std::int64_t{b.y} - a.y);
    });
}

}  // namespace

bool ParseBarrierOption(const std::vector<std::string>& args, std::size_t& i, BarrierOptions& state,
                        std::vector<Operation>& operations, std::string& error) {
    const std::string& arg = args[i];
    if (arg == "--barrier") {
        if (i + 1 >= args.size()) {
            error = "--barrier needs a .bar file";
        } else {
            state.file = args[++i];
            state.used = false;
        }
        return true;
    }
    if (arg == "--outside" || arg == "--inside") {
        if (state.file.empty()) {
            error = arg + " needs a --barrier FILE before it";
        } else {
            operations.push_back(
                {arg == "--inside" ? OperationKind::BarrierInside : OperationKind::BarrierOutside,
                 {},
                 state.file});
            state.used = true;
        }
        return true;
    }
    return false;
}

bool ApplyBarrierOperation(const Operation& operation, Bitmap& image, Colour key,
                           Prompter& prompter) {
    const std::string& file = operation.barrierFile;
    const std::filesystem::path path(std::u8string(file.begin(), file.end()));
    const BarrierReadResult read = ReadBarrierFile(path, {image.Width(), image.Height()}, prompter);
    if (read.status == BarrierReadStatus::NotRead) {
        // The editor says nothing here (its dialog only offers existing files); a script must.
        std::fprintf(stderr, "palvex-cli: %s: cannot read the barrier file\n", file.c_str());
    }
    if (read.status != BarrierReadStatus::Ok) {
        return false;
    }
    const BarrierSide side =
        operation.kind == OperationKind::BarrierInside ? BarrierSide::Inside : BarrierSide::Outside;
    if (side == BarrierSide::Outside && EnclosesNothing(read.vertices)) {
        // The editor's result is kept (everything is outside), but a script should hear of it.
        std::fprintf(stderr,
                     "palvex-cli: warning: %s: the barrier encloses nothing; --outside keys the "
                     "whole image\n",
                     file.c_str());
    }
    // No undo history to save into.
    const auto noSnapshot = [](const Rect&) { return true; };
    const BarrierFillResult result =
        BarrierTransparent(image, key, read.vertices, side, {}, noSnapshot, prompter);
    // The prompter has said why; a script must not take the unchanged image for a result.
    return result.status != BarrierFillStatus::NoMemory &&
           result.status != BarrierFillStatus::NoInside;
}

}  // namespace palvex::cli
