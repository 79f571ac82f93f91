#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "barrier/barrier_fill.h"
#include "base/prompter.h"
#include "image/bitmap.h"
#include "image/colour.h"

namespace palvex::cli {

// One barrier operation of save: the barrier read from `file` (clamped to each image as the
// editor clamps it), and the side of it that becomes the key.
struct BarrierStep {
    std::string file;
    BarrierSide side = BarrierSide::Outside;
};

// What the barrier options parsed so far left behind.
struct BarrierOptions {
    std::string file;  // the last --barrier
    bool used = true;  // an --outside or --inside followed it
};

// "--barrier FILE" names the barrier for the "--outside" and "--inside" operations after it.
// False when args[i] is none of these; `error` is set when it is one but cannot be used.
bool ParseBarrierOption(const std::vector<std::string>& args, std::size_t& i, BarrierOptions& state,
                        std::vector<BarrierStep>& steps, std::string& error);

// The ribbon's inside or outside command on one image. False, after a message, when the file
// cannot be read or is not a barrier file, or the masks cannot be had: the image must not be
// saved then.
bool ApplyBarrierStep(Bitmap& image, Colour key, const BarrierStep& step, Prompter& prompter);

}  // namespace palvex::cli
