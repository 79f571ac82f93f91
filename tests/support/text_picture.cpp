#include "support/text_picture.h"

#include <gtest/gtest.h>

namespace palvex::test {

Colour Ink(char c) {
    return Rgb(c, c * 3, c * 7);
}

Bitmap Picture(std::initializer_list<std::string_view> rows) {
    Bitmap image;
    EXPECT_TRUE(
        image.Create(static_cast<int>(rows.begin()->size()), static_cast<int>(rows.size())));
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < image.Width(); ++x) {
            image.WritePixel(x, y, Ink(row[static_cast<std::size_t>(x)]));
        }
        ++y;
    }
    return image;
}

std::vector<std::string> Text(const Bitmap& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.Height(); ++y) {
        std::string row;
        for (int x = 0; x < image.Width(); ++x) {
            row += static_cast<char>(RedOf(image.ReadPixel(x, y)));
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace palvex::test
