#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "image/bitmap.h"

namespace palvex::cli {

enum class ParsedOption { NotMine, Taken, Invalid };

// The pen options of `save`: --pen-all X,Y and --fill-back-all become operations in the order
// given; --tolerance and --draw-color set what every --pen-all uses. On Taken, i is left on the
// option's last argument; on Invalid, error says why.
ParsedOption ParsePenOption(const std::vector<std::string>& args, std::size_t& i, Options& options,
                            std::string& error);

// Applies one pen operation to the loaded image, as the editor's whole-image pen and fill-back
// do. False, with a message and the image unchanged, when the operation cannot be applied.
bool ApplyPenOperation(const Operation& operation, const Options& options, Bitmap& image,
                       Colour key, std::string& error);

}  // namespace palvex::cli
