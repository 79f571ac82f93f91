#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/prompter.h"
#include "cli/cli_options.h"
#include "cli/cli_pen_ops.h"
#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex::cli {

// "--fill X,Y" and "--draw-color RRGGBB" become operations in the order given. On Taken, i is
// left on the option's last argument; on Invalid, error says why.
ParsedOption ParseFillOption(const std::vector<std::string>& args, std::size_t& i, Options& options,
                             std::string& error);

enum class OperationResult {
    Done,
    Failed,    // a message was shown, or `error` says why: this image is not saved
    OffImage,  // a point lies off the image, a usage error: `error` says which
};

// Applies the editing operations to one loaded image, in order, through the editor's own tool
// code. The drawing colour starts as the key. On any result but Done the image is partly edited
// and must not be saved.
OperationResult ApplyOperations(const Options& options, Bitmap& image, Colour key,
                                Prompter& prompter, std::string& error);

}  // namespace palvex::cli
