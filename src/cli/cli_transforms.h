#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_pen_ops.h"
#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex::cli {

// The transform options of `save`: --flip-h, --flip-v, --rotate 90|180|270|A, --resize W,H or
// P%, --invert, --grey and --trim X,Y,W,H, each an operation in the order given. On Taken, i is
// left on the option's last argument; on Invalid, error says why.
ParsedOption ParseTransformOption(const std::vector<std::string>& args, std::size_t& i,
                                  Options& options, std::string& error);

// Applies one transform to the loaded image with the editor's code; the turned picture's
// corners get the key. False, with a message and the image unchanged, when it cannot be done.
bool ApplyTransformOperation(const Operation& operation, Bitmap& image, Colour key,
                             std::string& error);

}  // namespace palvex::cli
