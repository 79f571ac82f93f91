#include "barrier/pixel_mask.h"

#include <vector>

#include <gtest/gtest.h>

namespace palvex {
namespace {

std::vector<std::pair<int, int>> Runs(const PixelMask& mask, int y) {
    std::vector<std::pair<int, int>> runs;
    ForEachRun(mask, y, [&](int x0, int x1) { runs.emplace_back(x0, x1); });
    return runs;
}

TEST(PixelMask, RunsAcrossWordEdges) {
    PixelMask mask;
    ASSERT_TRUE(mask.Create(200, 2));
    mask.SetRun(0, 60, 130);
    mask.SetRun(0, 190, 200);
    mask.SetRun(1, 64, 65);
    EXPECT_EQ(Runs(mask, 0), (std::vector<std::pair<int, int>>{{60, 130}, {190, 200}}));
    EXPECT_EQ(Runs(mask, 1), (std::vector<std::pair<int, int>>{{64, 65}}));
    const auto row = [&mask](int i) { return mask.Row(0)[i]; };
    EXPECT_EQ(FindBit(row, 0, 200, true), 60);
    EXPECT_EQ(FindBit(row, 61, 200, false), 130);
    EXPECT_EQ(FindBit(row, 61, 100, false), 100);  // bounded by the end
    EXPECT_EQ(FindBitBefore(row, 129, false), 59);
    EXPECT_EQ(FindBitBefore(row, 60, true), -1);
    EXPECT_EQ(FindBitBefore(row, 195, false), 189);
}

TEST(PixelMask, AReusedBufferStartsClear) {
    {
        PixelMask big;
        ASSERT_TRUE(big.Create(1000, 100));
        for (int y = 0; y < 100; ++y) {
            big.SetRun(y, 0, 1000);
        }
    }
    PixelMask small;
    ASSERT_TRUE(small.Create(300, 50));
    for (int y = 0; y < 50; ++y) {
        EXPECT_TRUE(Runs(small, y).empty()) << y;
    }
    PixelMask moved = std::move(small);
    EXPECT_EQ(moved.Width(), 300);
    EXPECT_EQ(small.Width(), 0);
    EXPECT_FALSE(small.Create(0, 5));
}

// A mask given back keeps its memory for the next one, until a new image lets it go.
TEST(PixelMask, SparesAreKeptForTheNextMaskUntilReleased) {
    ReleaseSpareMasks();
    {
        PixelMask mask;
        ASSERT_TRUE(mask.Create(1000, 100));
    }
    EXPECT_EQ(SpareMaskWords(), 16u * 100u);
    {
        PixelMask mask;
        ASSERT_TRUE(mask.Create(500, 100));  // served from the spare
        EXPECT_EQ(SpareMaskWords(), 0u);
    }
    EXPECT_EQ(SpareMaskWords(), 16u * 100u);
    ReleaseSpareMasks();
    EXPECT_EQ(SpareMaskWords(), 0u);
}

}  // namespace
}  // namespace palvex
