#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "image/raster/draw.h"
#include "image/raster/fill_record.h"
#include "image/raster/flood_fill.h"
#include "resources/string_table.h"
#include "undo/undo_test_support.h"

namespace palvex {
namespace {

using test::Copy;
using test::HistoryFixture;
using test::SameBitmaps;

const Colour kPalette[] = {Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(200, 30, 30), Rgb(30, 200, 90)};

// Few colours in blobs, so fills are large and ragged; the fourth byte varies when `oddAlpha`,
// as a fill matches colour channels only and must still put every byte back.
Bitmap Blobs(std::mt19937& random, int width, int height, bool oddAlpha) {
    Bitmap b;
    EXPECT_TRUE(b.Create(width, height));
    std::uniform_int_distribution<int> colour(0, 3);
    std::uniform_int_distribution<int> odds(0, 9);
    const Pixel alphas[] = {0xFF000000u, 0x00000000u, 0x7F000000u};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Mostly a copy of a neighbour: blobs rather than noise.
            Pixel p = PixelFromColour(kPalette[colour(random)]);
            const int pick = odds(random);
            if (pick < 4 && x > 0) {
                p = b.Row(y)[x - 1];
            } else if (pick < 8 && y > 0) {
                p = b.Row(y - 1)[x];
            }
            if (oddAlpha && odds(random) == 0) {
                p = (p & kRgbMask) | alphas[odds(random) % 3];
            }
            b.Row(y)[x] = p;
        }
    }
    return b;
}

// A fill with its record, pushed as the fill tool does; also checks that recording leaves the
// fill's pixels as an unrecorded fill makes them.
void RecordedFill(HistoryFixture& f, Point seed, Colour colour) {
    Bitmap plain = Copy(f.state.WorkImage);
    FloodFillSurface(plain, seed, colour);
    FillRecord record;
    FloodFillSurface(f.state.WorkImage, seed, colour, &record);
    ASSERT_TRUE(SameBitmaps(plain, f.state.WorkImage));
    ASSERT_TRUE(f.history.PushFill(std::move(record)));
}

TEST(FillStep, RandomFillsAmongOtherStepsUndoAndRedoBitForBit) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> size(1, 40);
        const int width = size(random);
        const int height = size(random);
        HistoryFixture f(width, height);
        f.SetImage(Blobs(random, width, height, seed % 2 == 0));
        std::uniform_int_distribution<int> px(0, width - 1);
        std::uniform_int_distribution<int> py(0, height - 1);
        std::uniform_int_distribution<int> kind(0, 9);
        std::uniform_int_distribution<int> colour(0, 3);

        std::vector<Bitmap> states;
        states.push_back(Copy(f.state.WorkImage));
        const int steps = 1 + static_cast<int>(seed % 14);  // past the limit of ten too
        for (int i = 0; i < steps; ++i) {
            const int k = kind(random);
            if (k < 7) {
                RecordedFill(f, {px(random), py(random)}, kPalette[colour(random)]);
            } else if (k < 9) {  // a pen-like change of a part
                const Rect r{px(random), py(random), px(random) + 1, py(random) + 1};
                const Rect part{std::min(r.left, r.right - 1), std::min(r.top, r.bottom - 1),
                                std::max(r.left, r.right - 1) + 1,
                                std::max(r.top, r.bottom - 1) + 1};
                ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image, part));
                FillRect(f.state.WorkImage, part, kPalette[colour(random)]);
            } else {  // a whole-image change
                ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        f.state.WorkImage.Row(y)[x] ^= 0x00FFFFFFu;
                    }
                }
            }
            states.push_back(Copy(f.state.WorkImage));
        }
        const int undoable = std::min(steps, kUndoLimit);
        ASSERT_EQ(f.history.UndoCount(), undoable);
        for (int i = 0; i < undoable; ++i) {
            ASSERT_TRUE(f.history.Undo());
            ASSERT_TRUE(
                SameBitmaps(states[static_cast<std::size_t>(steps - 1 - i)], f.state.WorkImage));
        }
        EXPECT_FALSE(f.history.Undo());
        for (int i = undoable; i > 0; --i) {
            ASSERT_TRUE(f.history.Redo());
            ASSERT_TRUE(
                SameBitmaps(states[static_cast<std::size_t>(steps - i + 1)], f.state.WorkImage));
        }
        EXPECT_FALSE(f.history.Redo());
        // Back and forth once more: a fill's counter step is as exact as the step itself.
        ASSERT_TRUE(f.history.Undo());
        ASSERT_TRUE(f.history.Redo());
        EXPECT_TRUE(SameBitmaps(states.back(), f.state.WorkImage));
        EXPECT_TRUE(f.prompter.shown.empty());
    }
}

TEST(FillStep, OddFourthBytesAlongLongRunsComeBack) {
    HistoryFixture f(1300, 3);
    Bitmap b;
    ASSERT_TRUE(b.Create(1300, 3));
    b.Fill(PixelFromColour(Rgb(255, 255, 255)));
    for (const int x : {0, 1, 511, 512, 513, 1023, 1024, 1299}) {
        b.Row(1)[x] = (b.Row(1)[x] & kRgbMask) | static_cast<Pixel>(x % 200) << 24;
    }
    f.SetImage(std::move(b));
    const Bitmap before = Copy(f.state.WorkImage);
    RecordedFill(f, {700, 2}, Rgb(0, 0, 255));
    const Bitmap after = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(SameBitmaps(after, f.state.WorkImage));
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage));
}

TEST(FillStep, ClearingHalfALargeImageKeepsARecordFarSmallerThanTheImageAndNoFile) {
    HistoryFixture f(2000, 1500);
    Bitmap b;
    ASSERT_TRUE(b.Create(2000, 1500));
    b.Fill(PixelFromColour(Rgb(255, 255, 255)));
    FillRect(b, {1000, 0, 2000, 1500}, Rgb(0, 0, 0));
    FillRect(b, {300, 300, 700, 900}, Rgb(0, 0, 0));  // a hole
    f.SetImage(std::move(b));
    const Bitmap before = Copy(f.state.WorkImage);
    FillRecord record;
    FloodFillSurface(f.state.WorkImage, {0, 0}, Rgb(0, 255, 0), &record);
    EXPECT_LT(record.Bytes(), f.state.WorkImage.ByteCount() / 100);
    const Bitmap after = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.PushFill(std::move(record)));
    EXPECT_EQ(f.history.NewestUndoStep()->kind, SnapshotKind::Fill);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(SameBitmaps(after, f.state.WorkImage));
    EXPECT_TRUE(f.SnapshotFiles().empty());
    // The record is what the history holds, and all it holds.
    EXPECT_GT(f.history.HeldPixels(), 0u);
    EXPECT_LT(f.history.HeldPixels(), f.state.WorkImage.PixelCount() / 100);
}

// The newest step's undo must keep for its redo whatever was changed since, unrecorded.
TEST(FillStep, AChangeIntoTheFilledRunsAfterTheFillSurvivesUndoAndRedo) {
    HistoryFixture f(30, 20);
    Bitmap b;
    ASSERT_TRUE(b.Create(30, 20));
    b.Fill(PixelFromColour(Rgb(255, 255, 255)));
    f.SetImage(std::move(b));
    const Bitmap before = Copy(f.state.WorkImage);
    RecordedFill(f, {3, 3}, Rgb(0, 0, 255));
    f.state.WorkImage.Row(10)[20] = PixelFromColour(Rgb(1, 2, 3));
    const Bitmap changed = Copy(f.state.WorkImage);

    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(SameBitmaps(changed, f.state.WorkImage));
}

TEST(FillStep, AStepMadeOnAnotherSizeIsRefusedAndBothStacksStay) {
    HistoryFixture f(30, 20);
    RecordedFill(f, {3, 3}, Rgb(0, 0, 255));
    RecordedFill(f, {5, 5}, Rgb(0, 255, 0));
    ASSERT_TRUE(f.history.Undo());
    f.SetImage(test::Picture(20, 30));
    const Bitmap other = Copy(f.state.WorkImage);
    EXPECT_FALSE(f.history.Undo());
    EXPECT_FALSE(f.history.Redo());
    EXPECT_EQ(f.history.UndoCount(), 1);
    EXPECT_EQ(f.history.RedoCount(), 1);
    EXPECT_TRUE(SameBitmaps(other, f.state.WorkImage));
    ASSERT_EQ(f.prompter.shown.size(), 2u);
    EXPECT_EQ(f.prompter.shown[0].id, str::kSnapshotUnreadable);
}

// One colour whose fourth byte differs on every pixel: recording it would cost three copies of
// the image, so the record gives up at its budget and puts the image back.
TEST(FillStep, ARecordPastItsBudgetGivesUpAndLeavesTheImageAsItWas) {
    Bitmap image;
    ASSERT_TRUE(image.Create(200, 150));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            image.Row(y)[x] = static_cast<Pixel>((x * 7 + y) & 0xFF) << 24 | 0x00336699u;
        }
    }
    const Bitmap before = Copy(image);
    FillRecord record;
    FloodFillSurface(image, {0, 0}, Rgb(255, 0, 0), &record);
    EXPECT_TRUE(record.Lost());
    EXPECT_TRUE(SameBitmaps(before, image));

    // The same colour with one fourth byte is recorded, far within the budget.
    for (int y = 0; y < image.Height(); ++y) {
        std::fill(image.Row(y), image.Row(y) + image.Width(), 0xFF336699u);
    }
    FloodFillSurface(image, {0, 0}, Rgb(255, 0, 0), &record);
    EXPECT_FALSE(record.Lost());
}

TEST(FillStep, ALostRecordIsRefusedAndTheRedoStepsStay) {
    HistoryFixture f(30, 20);
    RecordedFill(f, {3, 3}, Rgb(0, 0, 255));
    ASSERT_TRUE(f.history.Undo());
    FillRecord lost;
    lost.SetLost();
    EXPECT_FALSE(f.history.PushFill(std::move(lost)));
    EXPECT_EQ(f.history.UndoCount(), 0);
    EXPECT_EQ(f.history.RedoCount(), 1);
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].id, str::kMemoryAllocationFailed);
}

}  // namespace
}  // namespace palvex
