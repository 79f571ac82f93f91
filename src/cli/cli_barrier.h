#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/prompter.h"
#include "cli/cli_options.h"
#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex::cli {

// What the barrier options parsed so far left behind.
struct BarrierOptions {
    std::string file;  // the last --barrier
    bool used = true;  // an --outside or --inside followed it
};

// "--barrier FILE" names the barrier for the "--outside" and "--inside" operations after it.
// False when args[i] is none of these; `error` is set when it is one but cannot be used.
bool ParseBarrierOption(const std::vector<std::string>& args, std::size_t& i, BarrierOptions& state,
                        std::vector<Operation>& operations, std::string& error);

// The ribbon's inside or outside command on one image, with the barrier read from the
// operation's file and clamped to the image as the editor clamps it. False, after a message,
// when the file cannot be read or is not a barrier file, or the masks cannot be had: the image
// must not be saved then.
bool ApplyBarrierOperation(const Operation& operation, Bitmap& image, Colour key,
                           Prompter& prompter);

}  // namespace palvex::cli
