#include "support/png_writer.h"

namespace palvex::test {

std::vector<std::uint8_t> EncodeRgbaPng(const Bitmap& /*image*/) {
    return {};
}

}  // namespace palvex::test
