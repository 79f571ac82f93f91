#pragma once

#include <cstdint>
#include <vector>

namespace palvex::test {

// How the samples are stored in the file.
enum class JpegColour {
    Grey,  // 1 component
    Rgb,   // 3 components, stored as YCbCr
    Cmyk,  // 4 components, stored as they are
    Ycck,  // 4 components given as CMYK, stored as YCCK (always with the Adobe marker)
};

// One JPEG written by libjpeg. `samples` are row-major with 1, 3 or 4 bytes a pixel (grey;
// R,G,B; C,M,Y,K). The writer stores CMYK values exactly as given: with the Adobe marker a
// reader takes them as inverted (255 = no ink), as Photoshop writes them; without it as plain.
struct JpegDescription {
    int width = 0;
    int height = 0;
    JpegColour colour = JpegColour::Rgb;
    bool adobeMarker = true;  // CMYK only: whether to write the APP14 marker
    int quality = 90;
    bool progressive = false;
    bool arithmetic = false;
    std::vector<std::uint8_t> samples;
};

// The file's bytes; empty when the sizes and samples disagree.
std::vector<std::uint8_t> WriteJpeg(const JpegDescription& desc);

// Components a pixel for the colour.
int JpegComponents(JpegColour colour);

}  // namespace palvex::test
