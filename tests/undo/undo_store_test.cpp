// What the undo store keeps on disk and in memory: only the live steps, whatever is dropped and
// however writes fail.

#include <random>

#include <gtest/gtest.h>

#include "image/raster/draw.h"
#include "image/raster/rotate.h"
#include "resources/string_table.h"
#include "undo/undo_history.h"
#include "undo/undo_test_support.h"

namespace palvex {
namespace {

using test::Change;
using test::Copy;
using test::HistoryFixture;
using test::SameBitmaps;

// 600 x 500 pixels go to the background writer.
constexpr int kLargeWidth = 600;
constexpr int kLargeHeight = 500;

TEST(UndoStore, TheWorkFolderHoldsOneFileForEachLiveStepAndNoMore) {
    HistoryFixture f(kLargeWidth, kLargeHeight);
    std::mt19937 random(7);
    for (int op = 0; op < 60; ++op) {
        SCOPED_TRACE(op);
        const unsigned pick = random() % 6;
        if (pick < 3) {
            const int x = static_cast<int>(random() % 500);
            Change(f, {x, x / 2, x + 20, x / 2 + 20}, Rgb(op, 0, 0));
        } else if (pick == 3) {
            ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));  // whole: in the background
            FillRect(f.state.WorkImage, {0, 0, 50, 50}, Rgb(0, op, 0));
        } else if (pick == 4) {
            f.history.Undo();
        } else {
            f.history.Redo();
        }
        ASSERT_EQ(f.SnapshotFiles().size(),
                  static_cast<std::size_t>(f.history.UndoCount() + f.history.RedoCount()));
    }
    EXPECT_EQ(f.history.UndoCount() + f.history.RedoCount(), 10);
    f.history.Reset();
    EXPECT_TRUE(f.SnapshotFiles().empty());
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(UndoStore, AStepDroppedWhileItsFileIsQueuedOrBeingWrittenLeavesNoFile) {
    HistoryFixture f(kLargeWidth, kLargeHeight);
    test::Gate gate;
    f.history.SetSinkFactory(test::GatedBy(gate));
    std::vector<std::filesystem::path> paths;
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
        paths.push_back(f.history.NewestUndoStep()->path);
        if (i == 0) {
            gate.AwaitWriter();  // the first write is under way and stays so
        }
    }
    // The 11th push dropped the first step while it was being written, the 12th the second
    // while it waited in the queue.
    gate.Open();
    const auto files = f.SnapshotFiles();
    EXPECT_EQ(files.size(), 10u);
    EXPECT_FALSE(std::filesystem::exists(paths[0]));
    EXPECT_FALSE(std::filesystem::exists(paths[1]));
    for (std::size_t i = 2; i < paths.size(); ++i) {
        EXPECT_TRUE(std::filesystem::exists(paths[i])) << i;
    }
}

TEST(UndoStore, ARefusedPushKeepsTheRedoStepsEvenWithNothingToUndo) {
    HistoryFixture f;
    Change(f, {0, 0, 10, 10}, Rgb(1, 2, 3));
    const Bitmap changed = Copy(f.state.WorkImage);
    ASSERT_TRUE(f.history.Undo());
    ASSERT_EQ(f.history.UndoCount(), 0);

    f.history.SetSinkFactory(test::FailingAt(0));
    EXPECT_FALSE(f.history.PushSnapshot(SnapshotKind::Image, {20, 20, 30, 30}));
    EXPECT_EQ(f.history.RedoCount(), 1);
    EXPECT_EQ(f.SnapshotFiles().size(), 1u);

    f.history.SetSinkFactory({});
    ASSERT_TRUE(f.history.Redo());
    EXPECT_TRUE(SameBitmaps(changed, f.state.WorkImage));
}

TEST(UndoStore, AWholeImageStepKeptInMemoryPutsBackTheOldSize) {
    HistoryFixture f(kLargeWidth, kLargeHeight);
    const Bitmap before = Copy(f.state.WorkImage);
    f.history.SetSinkFactory(test::FailingAt(0));
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
    Bitmap turned;
    ASSERT_TRUE(RotateClockwise(f.state.WorkImage, turned));
    f.SetImage(std::move(turned));
    f.history.WaitForWrites();
    ASSERT_TRUE(f.history.NewestUndoStep()->inMemory);

    f.history.SetSinkFactory({});
    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.state.width, kLargeWidth);
    EXPECT_EQ(f.state.height, kLargeHeight);
    EXPECT_EQ(f.state.WorkImage.Width(), kLargeWidth);
    EXPECT_TRUE(SameBitmaps(before, f.state.WorkImage));
}

// A disk that takes nothing: each large step would stay in memory. Only the newest does, and the
// user is told each time.
TEST(UndoStore, OnlyTheNewestStepWhoseWriteFailedIsHeldInMemory) {
    HistoryFixture f(kLargeWidth, kLargeHeight);
    f.history.SetSinkFactory(test::FailingAt(0));
    Bitmap newestBefore;
    std::size_t oneStep = 0;
    for (int i = 0; i < 6; ++i) {
        newestBefore = Copy(f.state.WorkImage);
        ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
        FillRect(f.state.WorkImage, {i * 10, 0, i * 10 + 10, 10}, Rgb(0, 0, 255));
        f.history.WaitForWrites();
        if (i == 0) {
            oneStep = f.history.HeldPixels();
            ASSERT_GE(oneStep, static_cast<std::size_t>(kLargeWidth * kLargeHeight));
        }
        // The newest step, and at most the pool's two spare blocks.
        EXPECT_LE(f.history.HeldPixels(), 3 * oneStep) << i;
        EXPECT_EQ(f.history.UndoCount(), 1);
    }
    ASSERT_EQ(f.prompter.shown.size(), 6u);
    EXPECT_EQ(f.prompter.shown.back().id, str::kSnapshotKeptInMemory);
    EXPECT_EQ(f.prompter.shown.back().icon, MessageIcon::Information);

    f.history.SetSinkFactory({});
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(newestBefore, f.state.WorkImage));
    EXPECT_FALSE(f.history.Undo());
}

TEST(UndoStore, AResetGivesBackTheMemoryAndTheFilesOfTheOldImage) {
    HistoryFixture f(1000, 700);
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
    EXPECT_GT(f.history.HeldPixels(), 0u);  // written blocks kept for the next snapshot
    f.history.Reset();
    EXPECT_EQ(f.history.HeldPixels(), 0u);
    EXPECT_TRUE(f.SnapshotFiles().empty());
}

}  // namespace
}  // namespace palvex
