#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "image/bitmap.h"

namespace palvex::cli {

enum class ParsedOption { NotMine, Taken, Invalid };

// "X,Y" of an operation's image point.
bool ParsePointOption(std::string_view text, Point& point);
// "X,Y lies outside the W x H image", for the message of an operation whose point is off it.
std::string PointOffImageText(Point at, const Bitmap& image);

// The pen options of `save`: --pen-all X,Y and --fill-back-all become operations in the order
// given; --tolerance sets what every --pen-all uses. On Taken, i is left on the option's last
// argument; on Invalid, error says why.
ParsedOption ParsePenOption(const std::vector<std::string>& args, std::size_t& i, Options& options,
                            std::string& error);

// Applies one pen operation to the loaded image, as the editor's whole-image pen and fill-back
// do; a --pen-all point must lie on the image.
void ApplyPenOperation(const Operation& operation, const Options& options, Bitmap& image,
                       Colour key, Colour drawColour);

}  // namespace palvex::cli
