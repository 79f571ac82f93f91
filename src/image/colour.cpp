#include "image/colour.h"

#include <array>

namespace palvex {
namespace {

template <int Levels>
constexpr std::array<int, Levels> MakeLevels() {
    std::array<int, Levels> table{};
    for (int i = 0; i < Levels; ++i) {
        table[i] = (i * 255 * 2 + (Levels - 1)) / ((Levels - 1) * 2);  // nearest integer
    }
    return table;
}

constexpr auto kLevels5 = MakeLevels<32>();
constexpr auto kLevels6 = MakeLevels<64>();

// A value just below the next level (within `slack`) reads back as the level below it, not as
// the nearer one: that is how the display's 16-bit reduction behaves.
template <std::size_t N>
int Reduce(int v, const std::array<int, N>& levels, int slack) {
    for (std::size_t i = 0; i < N; ++i) {
        if (levels[i] == v) {
            return levels[i];
        }
        if (levels[i] > v) {
            return levels[i] - v <= slack ? levels[i - 1] : levels[i];
        }
    }
    return levels[N - 1];
}

}  // namespace

Colour QuantizeColor16(Colour c) {
    return Rgb(Reduce(RedOf(c), kLevels5, 2), Reduce(GreenOf(c), kLevels6, 1),
               Reduce(BlueOf(c), kLevels5, 2));
}

}  // namespace palvex
