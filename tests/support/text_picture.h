#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "image/bitmap.h"

namespace palvex::test {

// Pictures drawn as text, one letter a pixel, each letter its own colour, so expected results
// read like the picture they describe.
Colour Ink(char c);
Bitmap Picture(std::initializer_list<std::string_view> rows);
std::vector<std::string> Text(const Bitmap& image);

}  // namespace palvex::test
