#include "undo/undo_history.h"

#include <fstream>

#include <gtest/gtest.h>

#include "image/raster/draw.h"
#include "image/raster/flood_fill.h"
#include "image/raster/rotate.h"
#include "resources/string_table.h"
#include "undo/undo_test_support.h"

namespace palvex {
namespace {

using test::Change;
using test::Copy;
using test::HistoryFixture;
using test::SameBitmaps;

TEST(UndoHistory, ElevenChangesLeaveTenStepsAndTheFirstCannotBeUndone) {
    HistoryFixture f;
    std::vector<Bitmap> before;
    for (int i = 0; i < 11; ++i) {
        before.push_back(Copy(f.state.WorkImage));
        Change(f, {i * 3, i * 2, i * 3 + 5, i * 2 + 4}, Rgb(10 * i, 0, 255));
    }
    EXPECT_EQ(f.history.UndoCount(), 10);
    EXPECT_EQ(f.history.RedoCount(), 0);
    for (int i = 10; i >= 1; --i) {
        ASSERT_TRUE(f.history.Undo());
        EXPECT_TRUE(SameBitmaps(before[static_cast<std::size_t>(i)], f.state.WorkImage));
    }
    EXPECT_FALSE(f.history.Undo());
    EXPECT_EQ(f.history.UndoCount(), 0);
    EXPECT_EQ(f.history.RedoCount(), 10);
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(UndoHistory, UndoAndRedoWalkBackAndForthAndANewChangeEmptiesRedo) {
    HistoryFixture f;
    std::vector<Bitmap> states;
    states.push_back(Copy(f.state.WorkImage));
    for (int i = 0; i < 4; ++i) {
        Change(f, {i * 10, 0, i * 10 + 8, 30}, Rgb(0, 60 * i, 0));
        states.push_back(Copy(f.state.WorkImage));
    }
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(f.history.Undo());
    }
    EXPECT_TRUE(SameBitmaps(states[1], f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(SameBitmaps(states[2], f.state.WorkImage));
    ASSERT_TRUE(f.history.Redo());
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(SameBitmaps(states[4], f.state.WorkImage));
    EXPECT_FALSE(f.history.Redo());

    ASSERT_TRUE(f.history.Undo());
    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.history.RedoCount(), 2);
    Change(f, {1, 1, 3, 3}, Rgb(1, 2, 3));
    EXPECT_EQ(f.history.UndoCount(), 3);
    EXPECT_EQ(f.history.RedoCount(), 0);
    EXPECT_FALSE(f.history.Redo());
}

TEST(UndoHistory, TheFirstUndoKeepsTheWholeImageForRedoLaterUndosOnlyTheRectangle) {
    HistoryFixture f;
    Change(f, {10, 10, 20, 20}, Rgb(255, 0, 0));
    Change(f, {30, 5, 40, 15}, Rgb(0, 255, 0));
    // A change that reaches beyond the rectangle it pushed still comes back by redo.
    FillRect(f.state.WorkImage, {0, 40, 64, 48}, Rgb(0, 0, 255));
    const Bitmap after = Copy(f.state.WorkImage);

    ASSERT_TRUE(f.history.Undo());
    auto redo = f.history.NewestRedoStep();
    ASSERT_TRUE(redo);
    EXPECT_TRUE(redo->whole);
    EXPECT_EQ(redo->rect, (Rect{0, 0, 64, 48}));

    ASSERT_TRUE(f.history.Undo());
    redo = f.history.NewestRedoStep();
    EXPECT_FALSE(redo->whole);
    EXPECT_EQ(redo->rect, (Rect{8, 8, 22, 22}));  // grown by 2 on every side

    ASSERT_TRUE(f.history.Redo());
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(SameBitmaps(after, f.state.WorkImage));
}

TEST(UndoHistory, AStepAtTheEdgeStoresOnlyThePixelsInsideTheImage) {
    HistoryFixture f;
    const Bitmap before = Copy(f.state.WorkImage);
    Change(f, {-5, 40, 10, 60}, Rgb(9, 9, 9));
    EXPECT_EQ(f.history.NewestUndoStep()->rect, (Rect{-7, 38, 12, 62}));
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage));
}

TEST(UndoHistory, UndoOfAWholeImageStepRestoresTheOldSize) {
    HistoryFixture f(700, 500);  // large enough for the background writer
    const Bitmap before = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
    Bitmap turned;
    ASSERT_TRUE(RotateClockwise(f.state.WorkImage, turned));
    const Bitmap turnedCopy = Copy(turned);
    f.SetImage(std::move(turned));

    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.state.width, 700);
    EXPECT_EQ(f.state.height, 500);
    EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage));

    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(f.state.width, 500);
    EXPECT_EQ(f.state.height, 700);
    EXPECT_TRUE(SameBitmaps(turnedCopy, f.state.WorkImage));
}

TEST(UndoHistory, FillThenUndoRestoresEveryPixel) {
    for (const Size size : {Size{40, 30}, Size{800, 600}}) {
        SCOPED_TRACE(size.width);
        HistoryFixture f(size.width, size.height);
        // A region of one colour with ragged edges, filled as the flood fill tool does.
        FillRect(f.state.WorkImage, {5, 5, size.width - 5, size.height - 5}, Rgb(200, 200, 200));
        FillRect(f.state.WorkImage, {10, 10, 20, 20}, Rgb(1, 1, 1));
        const Bitmap before = Copy(f.state.WorkImage);
        ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
        EXPECT_FALSE(FloodFillSurface(f.state.WorkImage, {6, 6}, Rgb(0, 255, 0)).IsEmpty());

        ASSERT_TRUE(f.history.Undo());
        EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage, "fill-undo"));
        ASSERT_TRUE(f.history.Redo());
        EXPECT_EQ(f.state.WorkImage.ReadPixel(6, 6), Rgb(0, 255, 0));
        EXPECT_EQ(f.state.WorkImage.Row(0)[0], before.Row(0)[0]);
    }
}

TEST(UndoHistory, SnapshotFilesTakeTheTildeNameAndGoWhenRestored) {
    HistoryFixture f;
    Change(f, {1, 1, 4, 4}, Rgb(5, 5, 5));
    auto files = f.SnapshotFiles();
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files[0].filename().string();
    EXPECT_EQ(name.rfind("~Pal", 0), 0u) << name;
    EXPECT_EQ(files[0].extension(), ".tmp");
    EXPECT_EQ(f.history.NewestUndoStep()->path, files[0]);

    ASSERT_TRUE(f.history.Undo());
    files = f.SnapshotFiles();
    ASSERT_EQ(files.size(), 1u);  // only the redo step's file
    EXPECT_EQ(f.history.NewestRedoStep()->path, files[0]);
}

TEST(UndoHistory, AFreshHistoryCleansTheWorkFolderAndResetEmptiesBothStacks) {
    HistoryFixture f;
    const auto folder = f.work.GetWorkFolder({}, f.prompter);
    std::ofstream(folder / "old.tmp") << "x";
    std::ofstream(folder / "keep.jpeg") << "x";
    Change(f, {1, 1, 4, 4}, Rgb(5, 5, 5));
    EXPECT_FALSE(std::filesystem::exists(folder / "old.tmp"));
    EXPECT_TRUE(std::filesystem::exists(folder / "keep.jpeg"));
    Change(f, {1, 1, 4, 4}, Rgb(6, 5, 5));
    ASSERT_TRUE(f.history.Undo());

    f.history.Reset();
    EXPECT_EQ(f.history.UndoCount(), 0);
    EXPECT_EQ(f.history.RedoCount(), 0);
    EXPECT_FALSE(f.history.Undo());
    EXPECT_FALSE(f.history.Redo());
}

TEST(UndoHistory, BarrierStepsRoundTripThroughTheAccessAndLeaveTheImageAlone) {
    HistoryFixture f;
    StoredBarrier barrier;
    int restored = 0;
    f.history.SetBarrierAccess({[&] { return barrier; },
                                [&](const StoredBarrier& b) {
                                    barrier = b;
                                    ++restored;
                                }});
    barrier.count = 3;
    barrier.points[0] = {1, 2};
    barrier.points[2] = {5, 6};
    barrier.points[999] = {7, 7};  // an unused slot is kept as well
    const StoredBarrier first = barrier;
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Barrier, {1, 1, 2, 2}));
    barrier.count = 4;
    barrier.points[3] = {9, 9};
    const StoredBarrier second = barrier;
    const Bitmap image = Copy(f.state.WorkImage);

    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(barrier.count, 3);
    EXPECT_EQ(barrier.points, first.points);
    EXPECT_TRUE(SameBitmaps(image, f.state.WorkImage));
    EXPECT_EQ(f.history.NewestRedoStep()->kind, SnapshotKind::Barrier);

    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(barrier.count, 4);
    EXPECT_EQ(barrier.points, second.points);
    EXPECT_TRUE(f.SnapshotFiles().empty());
}

TEST(UndoHistory, ImageAndBarrierStepsInterleave) {
    HistoryFixture f;
    StoredBarrier barrier;
    f.history.SetBarrierAccess(
        {[&] { return barrier; }, [&](const StoredBarrier& b) { barrier = b; }});
    const Bitmap original = Copy(f.state.WorkImage);
    Change(f, {0, 0, 10, 10}, Rgb(1, 0, 0));
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Barrier));
    barrier.count = 1;
    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(barrier.count, 0);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(original, f.state.WorkImage));
    EXPECT_EQ(f.history.RedoCount(), 2);
}

}  // namespace
}  // namespace palvex
