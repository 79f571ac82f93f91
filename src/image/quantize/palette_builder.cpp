#include "image/quantize/palette_builder.h"

#include <algorithm>
#include <cmath>

#include "image/quantize/palette_search.h"

namespace palvex::quant {
namespace {

// Enough for the palette to settle on photographs; later passes move entries by fractions.
constexpr int kMaxKMeansPasses = 6;

float Channel(const WeightedColour& c, int axis) {
    return axis == 0 ? c.r : axis == 1 ? c.g : c.b;
}

struct Moments {
    double weight = 0;
    double sum[3] = {0, 0, 0};
    double sumSq[3] = {0, 0, 0};

    void Add(const WeightedColour& c) {
        const double w = c.weight;
        weight += w;
        for (int axis = 0; axis < 3; ++axis) {
            const double v = Channel(c, axis);
            sum[axis] += w * v;
            sumSq[axis] += w * v * v;
        }
    }
    void Add(const Moments& m) {
        weight += m.weight;
        for (int axis = 0; axis < 3; ++axis) {
            sum[axis] += m.sum[axis];
            sumSq[axis] += m.sumSq[axis];
        }
    }
    double Spread(int axis) const { return sumSq[axis] - sum[axis] * sum[axis] / weight; }
    double Error() const { return weight > 0 ? Spread(0) + Spread(1) + Spread(2) : 0; }
    Moments Minus(const Moments& part) const {
        Moments rest;
        rest.weight = weight - part.weight;
        for (int axis = 0; axis < 3; ++axis) {
            rest.sum[axis] = sum[axis] - part.sum[axis];
            rest.sumSq[axis] = sumSq[axis] - part.sumSq[axis];
        }
        return rest;
    }
};

struct Box {
    std::size_t begin = 0;
    std::size_t end = 0;
    Moments moments;
    double error = 0;  // 0 also when the box cannot be split
};

Box MakeBox(std::size_t begin, std::size_t end, const Moments& moments) {
    return {begin, end, moments, end - begin >= 2 ? moments.Error() : 0};
}

int Level(const WeightedColour& c, int axis) {
    return std::clamp(static_cast<int>(Channel(c, axis)), 0, 255);
}

// Splits between two levels of one axis, where the halves keep the least squared error; the
// axes are tried from the largest spread down. False when every colour shares one level.
bool SplitBox(std::span<WeightedColour> colours, const Box& box, Box& low, Box& high) {
    int axes[3] = {0, 1, 2};
    std::sort(axes, axes + 3,
              [&box](int x, int y) { return box.moments.Spread(x) > box.moments.Spread(y); });
    const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
    for (const int axis : axes) {
        Moments levels[256];
        for (auto c = first; c != last; ++c) {
            levels[Level(*c, axis)].Add(*c);
        }
        Moments left;
        Moments bestLeft;
        double bestCost = INFINITY;
        int cut = -1;
        for (int level = 0; level < 255; ++level) {
            left.Add(levels[level]);
            if (left.weight <= 0 || left.weight >= box.moments.weight) {
                continue;
            }
            const double cost = left.Error() + box.moments.Minus(left).Error();
            if (cost < bestCost) {
                bestCost = cost;
                bestLeft = left;
                cut = level;
            }
        }
        if (cut < 0) {
            continue;
        }
        const auto middle = std::partition(
            first, last, [axis, cut](const WeightedColour& c) { return Level(c, axis) <= cut; });
        const auto split = static_cast<std::size_t>(middle - colours.begin());
        low = MakeBox(box.begin, split, bestLeft);
        high = MakeBox(split, box.end, box.moments.Minus(bestLeft));
        return true;
    }
    return false;
}

Colour MeanColour(const Moments& m) {
    const auto level = [&m](int axis) {
        return std::clamp(static_cast<int>(std::lround(m.sum[axis] / m.weight)), 0, 255);
    };
    return Rgb(level(0), level(1), level(2));
}

std::uint32_t RgbOf(const WeightedColour& c) {
    const auto level = [](float v) {
        return static_cast<std::uint32_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
    };
    return level(c.r) << 16 | level(c.g) << 8 | level(c.b);
}

std::vector<Colour> MedianCut(std::span<WeightedColour> colours, int maxColours) {
    Moments all;
    for (const WeightedColour& c : colours) {
        all.Add(c);
    }
    std::vector<Box> boxes{MakeBox(0, colours.size(), all)};
    while (static_cast<int>(boxes.size()) < maxColours) {
        const auto worst =
            std::max_element(boxes.begin(), boxes.end(),
                             [](const Box& x, const Box& y) { return x.error < y.error; });
        if (worst->error <= 0) {
            break;
        }
        Box low;
        Box high;
        if (!SplitBox(colours, *worst, low, high)) {
            worst->error = 0;
            continue;
        }
        *worst = low;
        boxes.push_back(high);
    }
    std::vector<Colour> palette;
    for (const Box& box : boxes) {
        palette.push_back(MeanColour(box.moments));
    }
    return palette;
}

// Moves every entry to the mean of the colours nearest to it until none moves, then drops the
// entries nothing maps to.
bool RefineByKMeans(std::span<const WeightedColour> colours, std::vector<Colour>& palette) {
    PaletteSearch search;
    std::vector<Moments> clusters;
    for (int pass = 0; pass < kMaxKMeansPasses; ++pass) {
        if (!search.Init(palette)) {
            return false;
        }
        clusters.assign(palette.size(), Moments{});
        for (const WeightedColour& c : colours) {
            clusters[static_cast<std::size_t>(search.Nearest(RgbOf(c)))].Add(c);
        }
        if (search.Failed()) {
            return false;
        }
        bool moved = false;
        for (std::size_t i = 0; i < palette.size(); ++i) {
            if (clusters[i].weight > 0) {
                const Colour mean = MeanColour(clusters[i]);
                moved = moved || mean != palette[i];
                palette[i] = mean;
            }
        }
        if (!moved) {
            break;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (clusters[i].weight > 0) {
            palette[kept++] = palette[i];
        }
    }
    palette.resize(kept);
    return true;
}

}  // namespace

bool BuildPalette(std::span<WeightedColour> colours, int maxColours, std::vector<Colour>& palette) {
    palette.clear();
    if (colours.empty()) {
        return true;
    }
    palette = MedianCut(colours, std::clamp(maxColours, 1, 256));
    return RefineByKMeans(colours, palette);
}

}  // namespace palvex::quant
