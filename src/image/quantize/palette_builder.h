#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/colour.h"

namespace palvex::quant {

// A colour of the image's histogram: the mean of the pixels it stands for, and their number.
struct WeightedColour {
    float r = 0;
    float g = 0;
    float b = 0;
    std::uint32_t weight = 0;
};

// A palette of at most maxColours (1..256) entries for the colours: median cut, splitting the
// box of largest squared error where the split leaves the least, then k-means passes. Entries
// no colour maps to are dropped. Reorders `colours`. False when memory runs out.
[[nodiscard]] bool BuildPalette(std::span<WeightedColour> colours, int maxColours,
                                std::vector<Colour>& palette);

}  // namespace palvex::quant
