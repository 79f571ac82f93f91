#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/codecs/bmp_header.h"

namespace palvex::bmp {

// Converts uncompressed rows of one image to 0xAARRGGBB. Everything that depends only on the
// headers (palette, mask shifts, scaling tables) is worked out once here so the per-row loops
// stay tight.
class RowConverter {
public:
    // The layout must be uncompressed (not RLE) and must outlive the converter.
    explicit RowConverter(const BmpLayout& layout);

    // src holds at least the row's packed bytes (padding not needed); dst holds width pixels.
    void Convert(const std::uint8_t* src, Pixel* dst) const;

private:
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0;
        std::uint32_t max = 0;            // the mask shifted down: the field's largest value
        std::uint8_t absent = 0;          // the value of a channel without mask bits
        std::vector<std::uint8_t> table;  // field value -> 8 bits, for fields up to 16 bits
    };
    enum class Path { Indexed, Rgb24, Rgb32, Argb32, Table16, Table32, Exact };

    static Channel MakeChannel(std::uint32_t mask, std::uint8_t absent);
    static std::uint32_t ScaleExact(std::uint32_t raw, const Channel& c);
    template <int kBytes>
    void TableRow(const std::uint8_t* src, Pixel* dst) const;
    void ExactRow(const std::uint8_t* src, Pixel* dst) const;

    const BmpLayout& layout_;
    Path path_ = Path::Indexed;
    std::array<Channel, 4> channels_;  // red, green, blue, alpha
};

}  // namespace palvex::bmp
