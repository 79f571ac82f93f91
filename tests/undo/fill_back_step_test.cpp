// The whole-image fill-back's step: where the key was, written back on undo, the pass run again
// on redo. Its record against a pixel-by-pixel reference, its budget, and the image changed
// behind the history's back.

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "image/raster/key_run_record.h"
#include "tools/pens.h"
#include "undo/undo_history.h"
#include "undo/undo_test_support.h"

namespace palvex {
namespace {

using test::Copy;
using test::HistoryFixture;

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kGreen = Rgb(0, 255, 0);

// Rows of random runs of the key and of other colours, some of those one bit off the key, with
// random fourth bytes throughout: a key pixel is a key pixel whatever its fourth byte.
Bitmap KeyedPicture(int width, int height, Colour key, std::mt19937& random) {
    Bitmap b;
    EXPECT_TRUE(b.Create(width, height));
    std::uniform_int_distribution<int> length(1, 40);
    std::uniform_int_distribution<Pixel> any;
    const Pixel keyRgb = PixelFromColour(key) & kRgbMask;
    for (int y = 0; y < height; ++y) {
        bool isKey = any(random) % 2 == 0;
        for (int x = 0; x < width;) {
            const int end = std::min(width, x + length(random));
            for (; x < end; ++x) {
                const Pixel fourth = any(random) & ~kRgbMask;
                const Pixel near = keyRgb ^ (Pixel{1} << (any(random) % 24));
                b.Row(y)[x] = fourth | (isKey                  ? keyRgb
                                        : any(random) % 3 == 0 ? near
                                                               : any(random) & kRgbMask);
            }
            isKey = !isKey;
        }
    }
    return b;
}

// The record's pixels, one by one: every pixel whose colour was the key gets the key back with
// its fourth byte as it is now; every other pixel is left alone.
TEST(KeyRuns, WritePutsTheKeyBackExactlyWhereItWasAndKeepsTheFourthByte) {
    std::mt19937 random(7);
    const Size sizes[] = {{1, 1}, {1, 40}, {40, 1}, {16, 2}, {17, 5}, {33, 9}, {64, 3}, {71, 31}};
    for (const Size size : sizes) {
        for (const Colour key : {kWhite, kBlack, Rgb(12, 200, 77)}) {
            SCOPED_TRACE(::testing::Message()
                         << size.width << "x" << size.height << " key " << std::hex << key);
            const Bitmap original = KeyedPicture(size.width, size.height, key, random);
            const KeyRunRecord record(original, key);
            ASSERT_FALSE(record.Lost());
            // Every pixel changed, its colour to anything, its fourth byte to another value.
            Bitmap changed = Copy(original);
            std::uniform_int_distribution<Pixel> any;
            for (Pixel& p : changed.Pixels()) {
                p = (any(random) & kRgbMask) | ((p ^ 0x5A000000u) & ~kRgbMask);
            }
            const Bitmap before = Copy(changed);
            ASSERT_TRUE(record.Write(changed));
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    const Pixel was = before.Row(y)[x];
                    const Pixel expected =
                        SameRgb(original.Row(y)[x], PixelFromColour(key))
                            ? (was & ~kRgbMask) | (PixelFromColour(key) & kRgbMask)
                            : was;
                    ASSERT_EQ(changed.Row(y)[x], expected) << "(" << x << ", " << y << ")";
                }
            }
            // The pass and the record undo each other bit for bit.
            Bitmap filled = Copy(original);
            FillBackWholeImage(filled, key);
            ASSERT_TRUE(record.Write(filled));
            EXPECT_TRUE(test::SameBitmaps(original, filled));
        }
    }
}

TEST(KeyRuns, AKeyTooRaggedForTheBudgetIsLostAndWritesNothing) {
    Bitmap checks = test::SolidBitmap(40, 20, PixelFromColour(kWhite));
    for (int y = 0; y < 20; ++y) {
        for (int x = y % 2; x < 40; x += 2) {
            checks.Row(y)[x] = PixelFromColour(kGreen);
        }
    }
    EXPECT_EQ(KeyRunRecord(checks, kGreen).RunCount(), 400u);  // small images get a floor
    KeyRunRecord lost(checks, kGreen, 399 * 12);               // room for 399 runs of twelve bytes
    EXPECT_TRUE(lost.Lost());
    EXPECT_FALSE(lost.Fits(checks));
    Bitmap image = test::SolidBitmap(40, 20, 0xFF010203u);
    EXPECT_FALSE(lost.Write(image));
    EXPECT_EQ(image.Row(0)[1], 0xFF010203u);
    // Nothing of the key, or no key at all: an empty record, not a lost one.
    EXPECT_EQ(KeyRunRecord(checks, Rgb(1, 1, 1), 1).RunCount(), 0u);
    EXPECT_FALSE(KeyRunRecord(checks, kNoColour).Lost());
    EXPECT_FALSE(KeyRunRecord(checks, kGreen).Fits(test::SolidBitmap(20, 40, 0)));

    // The history refuses a lost record, which leaves it as it was.
    HistoryFixture f(40, 20);
    EXPECT_FALSE(f.history.PushFillBack(std::move(lost)));
    EXPECT_EQ(f.history.UndoCount(), 0);
}

// A white picture with a key rectangle and a few key dots: a background a pass refills.
struct FillBackFixture : HistoryFixture {
    FillBackFixture(int width = 64, int height = 48) : HistoryFixture(width, height) {
        Bitmap image = test::SolidBitmap(width, height, 0xFF808080u);
        FillRect(image, {4, 3, width / 2, height / 2}, kGreen);
        image.Row(height - 2)[width - 3] = PixelFromColour(kGreen) & 0x7FFFFFFFu;
        SetImage(std::move(image));
    }
    // The pen's way: the pass takes where the key was, then the step.
    void FillBack() {
        KeyBits bits;
        ASSERT_TRUE(bits.Reset(state.WorkImage.Width(), state.WorkImage.Height()));
        FillBackWholeImage(state.WorkImage, kGreen, {}, &bits);
        ASSERT_TRUE(history.PushFillBack(KeyRunRecord(std::move(bits), kGreen)));
    }
    // What a stroke without a step leaves: key pixels the history does not know about.
    void ChangeUnrecorded(Rect rect) {
        FillRect(state.WorkImage, rect, kGreen);
        history.NoteUnrecordedChange();
    }
};

TEST(FillBackSteps, AStepHoldsOnlyItsRunsAndStoresNoFile) {
    FillBackFixture f(300, 200);
    const Bitmap original = Copy(f.state.WorkImage);
    f.FillBack();
    const Bitmap filled = Copy(f.state.WorkImage);
    EXPECT_EQ(f.history.NewestUndoStep()->kind, SnapshotKind::FillBack);
    EXPECT_LT(f.history.HeldPixels(), 300u * 200u / 100u);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(test::SameBitmaps(original, f.state.WorkImage));
    EXPECT_EQ(f.history.NewestRedoStep()->kind, SnapshotKind::FillBack);
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(test::SameBitmaps(filled, f.state.WorkImage));
    EXPECT_TRUE(f.SnapshotFiles().empty());
    EXPECT_TRUE(f.prompter.shown.empty());
}

// Undone after a change nobody recorded, the pass run again would also refill that change: the
// redo keeps the whole image instead, and gives back exactly what the undo found.
TEST(FillBackSteps, AChangeWithoutAStepSurvivesUndoThenRedo) {
    FillBackFixture f;
    f.FillBack();
    f.ChangeUnrecorded({40, 30, 50, 40});
    const Bitmap changed = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(f.history.NewestRedoStep()->whole);
    EXPECT_EQ(f.state.WorkImage.ReadPixel(5, 4), kGreen);  // the key is back
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(test::SameBitmaps(changed, f.state.WorkImage));
    EXPECT_TRUE(f.prompter.shown.empty());
}

// A step further down is replayed on an image that still holds the change.
TEST(FillBackSteps, AnOlderStepAlsoKeepsTheWholeImageAfterAChangeWithoutAStep) {
    FillBackFixture f;
    f.FillBack();
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image, {0, 0, 3, 3}));
    FillRect(f.state.WorkImage, {0, 0, 3, 3}, kWhite);
    f.ChangeUnrecorded({40, 30, 50, 40});
    const Bitmap changed = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    const Bitmap middle = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(test::SameBitmaps(middle, f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(test::SameBitmaps(changed, f.state.WorkImage));
}

// Changed while the step waits for its redo: the pass runs on the image as it is, and its key
// is recorded afresh, so that the next undo gives back that image and not the older one.
TEST(FillBackSteps, ARedoAfterAChangeWithoutAStepRecordsTheKeyAfresh) {
    FillBackFixture f;
    f.FillBack();
    ASSERT_TRUE(f.history.Undo());
    f.ChangeUnrecorded({40, 30, 50, 40});
    const Bitmap changed = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Redo());
    Bitmap expected = Copy(changed);
    FillBackWholeImage(expected, kGreen);
    EXPECT_TRUE(test::SameBitmaps(expected, f.state.WorkImage));
    EXPECT_EQ(f.history.NewestUndoStep()->kind, SnapshotKind::FillBack);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(test::SameBitmaps(changed, f.state.WorkImage));
}

// ... also when that key is too ragged for runs: the fresh record keeps its bits, and no copy
// of the image is made.
TEST(FillBackSteps, ARedoOverARaggedKeyRecordsItsBitsAfresh) {
    FillBackFixture f(200, 100);
    f.FillBack();
    ASSERT_TRUE(f.history.Undo());
    for (int y = 0; y < 100; ++y) {
        for (int x = y % 2; x < 200; x += 2) {
            f.state.WorkImage.Row(y)[x] = PixelFromColour(kGreen);
        }
    }
    f.history.NoteUnrecordedChange();
    const Bitmap checks = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(f.history.NewestUndoStep()->kind, SnapshotKind::FillBack);
    EXPECT_LT(f.history.HeldPixels(), checks.PixelCount() / 16);  // the bits, not a copy
    EXPECT_NE(f.state.WorkImage.ReadPixel(0, 0), kGreen);
    const Bitmap filled = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(test::SameBitmaps(checks, f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(test::SameBitmaps(filled, f.state.WorkImage));
}

}  // namespace
}  // namespace palvex
