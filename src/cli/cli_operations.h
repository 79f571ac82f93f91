#pragma once

#include <span>
#include <string>

#include "cli/cli_options.h"
#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex::cli {

// Applies the editing operations to one loaded image, in order, through the editor's own tool
// code. The drawing colour starts as the key. False, with `error` set and the image partly
// edited, when an operation cannot apply (a point off the image): the image must not be saved.
bool ApplyOperations(Bitmap& image, Colour key, std::span<const Operation> operations,
                     std::string& error);

}  // namespace palvex::cli
