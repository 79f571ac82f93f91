// Steps that store no copy of the image: operations taken back by their inverse, fill records
// and the fill-back's key runs, mixed with snapshot steps in random edits. Undoing all of them must
// give back the original bit for bit, size included; redoing all, the edited image.

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "image/raster/flood_fill.h"
#include "image/raster/image_operation.h"
#include "image/raster/key_run_record.h"
#include "tools/pens.h"
#include "undo/undo_history.h"
#include "undo/undo_test_support.h"

namespace palvex {
namespace {

using test::Copy;
using test::HistoryFixture;
using test::Picture;

bool Same(const Bitmap& a, const Bitmap& b) {
    return test::SameBitmaps(a, b);
}

// A picture of a few flat areas whose fourth bytes vary, so fills leave long runs and their
// records must also keep the odd fourth bytes.
Bitmap Patches(int width, int height, std::mt19937& random) {
    Bitmap b = Picture(width, height, random());
    const Pixel colours[] = {0xFF204060u, 0xFF204060u, 0x00204060u, 0xFFA0A0A0u};
    std::uniform_int_distribution<int> pick(0, 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x / 5 + y / 4) % 3 != 0) {
                b.Row(y)[x] = colours[pick(random)];
            }
        }
    }
    return b;
}

struct Checker {
    explicit Checker(HistoryFixture& fixture) : f(fixture) {}

    // One random edit with its step; the image after it is kept.
    void Edit(std::mt19937& random) {
        Bitmap& image = f.state.WorkImage;
        std::uniform_int_distribution<int> kind(0, 11);
        const int k = kind(random);
        if (k <= 5) {
            ASSERT_TRUE(f.history.ApplyOperation(static_cast<ImageOperation>(k)));
        } else if (k <= 7) {
            std::uniform_int_distribution<int> x(0, image.Width() - 1);
            std::uniform_int_distribution<int> y(0, image.Height() - 1);
            FillRecord record;
            FloodFillSurface(image, {x(random), y(random)}, Rgb(1, 2, 3 + k), &record);
            ASSERT_FALSE(record.Lost());
            ASSERT_TRUE(f.history.PushFill(std::move(record)));
        } else if (k >= 10) {
            // The whole-image fill-back, keyed on a colour of the image or on white or black.
            std::uniform_int_distribution<int> x(0, image.Width() - 1);
            std::uniform_int_distribution<int> y(0, image.Height() - 1);
            const Colour key = k == 10             ? image.ReadPixel(x(random), y(random))
                               : random() % 2 == 0 ? Rgb(255, 255, 255)
                                                   : Rgb(0, 0, 0);
            KeyRunRecord record(image, key);
            ASSERT_FALSE(record.Lost());
            FillBackWholeImage(image, key);
            ASSERT_TRUE(f.history.PushFillBack(std::move(record)));
        } else {
            // A snapshot step, of a part or of the whole image.
            const Rect part = k == 8 ? Rect{1, 1, image.Width() / 2, image.Height() / 2} : Rect{};
            ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image, part));
            FillRect(image, part.IsEmpty() ? image.Bounds() : part, Rgb(9, 8, 7));
        }
        EXPECT_EQ(f.state.width, image.Width());
        EXPECT_EQ(f.state.height, image.Height());
        states.push_back(Copy(image));
    }

    // Back to the start and forward to the end, every state on the way checked.
    void UndoAndRedoAll() {
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            ASSERT_TRUE(f.history.Undo());
            ASSERT_TRUE(Same(states[i - 1], f.state.WorkImage)) << "undo to state " << i - 1;
            EXPECT_EQ(f.state.width, states[i - 1].Width());
            EXPECT_EQ(f.state.height, states[i - 1].Height());
        }
        EXPECT_FALSE(f.history.Undo());
        for (std::size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(f.history.Redo());
            ASSERT_TRUE(Same(states[i], f.state.WorkImage)) << "redo to state " << i;
        }
        EXPECT_FALSE(f.history.Redo());
    }

    HistoryFixture& f;
    std::vector<Bitmap> states;
};

// A full history of random edits from the fixture's image, all undone and all redone.
void EditThenUndoAndRedoAll(HistoryFixture& f, std::mt19937& random) {
    Checker check(f);
    check.states.push_back(Copy(f.state.WorkImage));
    for (int i = 0; i < kUndoLimit; ++i) {
        check.Edit(random);
    }
    check.UndoAndRedoAll();
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(EditRecords, RandomEditsOfEveryKindUndoAndRedoBitForBit) {
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        // Not square, so that the turns change the size; odd and even sides for the mirrors.
        std::uniform_int_distribution<int> side(5, 41);
        HistoryFixture f(side(random), side(random));
        f.SetImage(Patches(f.state.width, f.state.height, random));
        EditThenUndoAndRedoAll(f, random);
    }
}

// White and black among the patches, with any fourth byte, for the fill-back's keys; one pixel
// wide and one pixel high images, whose every pixel reads outside neighbours.
TEST(EditRecords, FillBacksAmongTheOtherStepsUndoAndRedoBitForBitOnAnyShape) {
    const Size sizes[] = {{1, 1}, {1, 30}, {30, 1}, {2, 17}, {23, 7}, {40, 33}};
    unsigned seed = 100;
    for (const Size size : sizes) {
        for (int round = 0; round < 4; ++round, ++seed) {
            SCOPED_TRACE(::testing::Message()
                         << size.width << "x" << size.height << " seed " << seed);
            std::mt19937 random(seed);
            HistoryFixture f(size.width, size.height);
            Bitmap image = Patches(size.width, size.height, random);
            for (Pixel& p : image.Pixels()) {
                const Pixel fourth = static_cast<Pixel>(random()) & ~kRgbMask;
                switch (random() % 4) {
                    case 0:
                        p = fourth | kRgbMask;
                        break;
                    case 1:
                        p = fourth;
                        break;
                    default:
                        break;
                }
            }
            f.SetImage(std::move(image));
            EditThenUndoAndRedoAll(f, random);
        }
    }
}

TEST(EditRecords, OperationsStoreNoPixelsAndUndoThemselvesOnAnyImage) {
    HistoryFixture f(7, 4);
    const Bitmap original = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.ApplyOperation(ImageOperation::TurnClockwise));
    EXPECT_EQ(f.state.WorkImage.Width(), 4);
    EXPECT_EQ(f.state.WorkImage.Row(0)[3], original.Row(0)[0]);  // (0, 0) went to (h - 1, 0)
    const auto step = f.history.NewestUndoStep();
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->kind, SnapshotKind::Operation);
    EXPECT_EQ(step->operation, ImageOperation::TurnClockwise);
    EXPECT_TRUE(f.SnapshotFiles().empty());
    // A change after the step that nobody recorded is kept through undo and redo.
    f.state.WorkImage.Row(1)[2] = 0xFF010203u;
    const Bitmap changed = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.state.width, 7);
    EXPECT_EQ(f.state.height, 4);
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(Same(changed, f.state.WorkImage));
    EXPECT_TRUE(f.SnapshotFiles().empty());
}

// The mirrors and turns against a pixel-by-pixel reference, every byte kept.
TEST(EditRecords, EachOperationMovesEveryPixelWhereItBelongs) {
    for (const Size size : {Size{1, 1}, Size{6, 3}, Size{5, 5}, Size{3, 8}, Size{301, 257}}) {
        SCOPED_TRACE(size.width * 1000 + size.height);
        const Bitmap source = Picture(size.width, size.height, 3);
        const int w = size.width;
        const int h = size.height;
        for (int k = 0; k <= 5; ++k) {
            const auto op = static_cast<ImageOperation>(k);
            Bitmap image = Copy(source);
            ASSERT_TRUE(ApplyOperation(image, op));
            const bool turned =
                op == ImageOperation::TurnClockwise || op == ImageOperation::TurnCounterClockwise;
            ASSERT_EQ(image.Width(), turned ? h : w);
            int wrong = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const Pixel p = source.Row(y)[x];
                    Point to{x, y};
                    Pixel expected = p;
                    switch (op) {
                        case ImageOperation::Invert:
                            expected = p ^ 0x00FFFFFFu;
                            break;
                        case ImageOperation::MirrorX:
                            to = {w - 1 - x, y};
                            break;
                        case ImageOperation::MirrorY:
                            to = {x, h - 1 - y};
                            break;
                        case ImageOperation::Turn180:
                            to = {w - 1 - x, h - 1 - y};
                            break;
                        case ImageOperation::TurnClockwise:
                            to = {h - 1 - y, x};
                            break;
                        case ImageOperation::TurnCounterClockwise:
                            to = {y, w - 1 - x};
                            break;
                    }
                    if (image.Row(to.y)[to.x] != expected && wrong++ < 3) {
                        ADD_FAILURE() << "operation " << k << ": (" << x << ", " << y << ")";
                    }
                }
            }
            ASSERT_TRUE(ApplyOperation(image, Inverse(op)));
            EXPECT_TRUE(Same(source, image)) << "operation " << k << " and its inverse";
        }
    }
}

// The buffer a turn leaves behind serves the turn back, and goes once another step is newer.
TEST(EditRecords, TheTurnsSpareBufferIsHeldOnlyWhileATurnIsTheNewestChange) {
    HistoryFixture f(60, 40);
    ASSERT_TRUE(f.history.ApplyOperation(ImageOperation::TurnCounterClockwise));
    EXPECT_EQ(f.history.HeldPixels(), 60u * 40u);
    ASSERT_TRUE(f.history.Undo());
    ASSERT_TRUE(f.history.Redo());
    FillRecord record;
    FloodFillSurface(f.state.WorkImage, {0, 0}, Rgb(1, 1, 1), &record);
    ASSERT_TRUE(f.history.PushFill(std::move(record)));
    EXPECT_LT(f.history.HeldPixels(), 60u * 40u);
}

// Undoing and redoing a turn exchanges the image with the buffer the turn left, which must then
// hold exactly the other side: after turns in a row, an operation in between, and a change that
// bypassed the history (which must survive, turned with the rest).
TEST(EditRecords, TurnsTakenBackByExchangeGiveTheSamePixelsAsTurningBack) {
    HistoryFixture f(60, 40);
    const Bitmap original = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.ApplyOperation(ImageOperation::TurnClockwise));
    const Bitmap turned = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(Same(original, f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(Same(turned, f.state.WorkImage));

    // A second turn overwrites the spare: the first one's undo must turn, not exchange.
    ASSERT_TRUE(f.history.ApplyOperation(ImageOperation::TurnClockwise));
    ASSERT_TRUE(f.history.ApplyOperation(ImageOperation::Invert));
    ASSERT_TRUE(f.history.Undo());
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(Same(turned, f.state.WorkImage));
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(Same(original, f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    ASSERT_TRUE(f.history.Redo());
    ASSERT_TRUE(f.history.Redo());
    Bitmap expected = Copy(turned);
    ASSERT_TRUE(ApplyOperation(expected, ImageOperation::TurnClockwise));
    ASSERT_TRUE(ApplyOperation(expected, ImageOperation::Invert));
    EXPECT_TRUE(Same(expected, f.state.WorkImage));

    // A change nobody recorded after a turn is turned back with the image, not dropped.
    ASSERT_TRUE(f.history.ApplyOperation(ImageOperation::TurnCounterClockwise));
    f.state.WorkImage.Row(3)[5] = 0x12345678u;
    f.history.NoteUnrecordedChange();
    Bitmap changed = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    ASSERT_TRUE(ApplyOperation(changed, ImageOperation::TurnClockwise));
    EXPECT_TRUE(Same(changed, f.state.WorkImage));
}

}  // namespace
}  // namespace palvex
