#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "image/raster/draw.h"
#include "resources/string_table.h"
#include "undo/comp_sub.h"
#include "undo/undo_history.h"
#include "undo/undo_test_support.h"

namespace palvex {
namespace {

using test::Change;
using test::Copy;
using test::HistoryFixture;
using test::SameBitmaps;

std::vector<std::uint8_t> Bytes(const std::filesystem::path& path) {
    return test::ReadFileBytes(path);
}

enum class Damage { FlipHeader, FlipPixels, FlipFooter, Truncate, Extend, Delete, Empty };

void Apply(Damage damage, const std::filesystem::path& path) {
    auto bytes = Bytes(path);
    ASSERT_GT(bytes.size(), 60u);
    switch (damage) {
        case Damage::FlipHeader:
            bytes[20] ^= 0x01;
            break;
        case Damage::FlipPixels:
            bytes[bytes.size() / 2] ^= 0x10;
            break;
        case Damage::FlipFooter:
            bytes[bytes.size() - 6] ^= 0x80;
            break;
        case Damage::Truncate:
            bytes.resize(bytes.size() - 7);
            break;
        case Damage::Extend:
            bytes.push_back(0);
            break;
        case Damage::Delete:
            std::filesystem::remove(path);
            return;
        case Damage::Empty:
            bytes.clear();
            break;
    }
    test::WriteFileBytes(path, bytes);
}

TEST(UndoHistoryFailures, ADamagedSnapshotIsRefusedWithBothCountsAndTheImageUnchanged) {
    for (const Damage damage : {Damage::FlipHeader, Damage::FlipPixels, Damage::FlipFooter,
                                Damage::Truncate, Damage::Extend, Damage::Delete, Damage::Empty}) {
        SCOPED_TRACE(static_cast<int>(damage));
        HistoryFixture f(600, 500);
        const Bitmap original = Copy(f.state.WorkImage);
        Change(f, {0, 0, 600, 500}, Rgb(1, 2, 3));
        Change(f, {100, 100, 200, 200}, Rgb(3, 2, 1));
        const Bitmap changed = Copy(f.state.WorkImage);
        f.history.WaitForWrites();
        Apply(damage, f.history.NewestUndoStep()->path);

        for (int attempt = 0; attempt < 2; ++attempt) {  // it stays refused
            EXPECT_FALSE(f.history.Undo());
            EXPECT_EQ(f.history.UndoCount(), 2);
            EXPECT_EQ(f.history.RedoCount(), 0);
            EXPECT_TRUE(SameBitmaps(changed, f.state.WorkImage));
        }
        ASSERT_EQ(f.prompter.shown.size(), 2u);
        EXPECT_EQ(f.prompter.shown[0].id, str::kSnapshotUnreadable);
        EXPECT_EQ(f.prompter.shown[0].icon, MessageIcon::Error);
        // Only the bad step's own file is left over: no redo file was written for it.
        EXPECT_EQ(f.SnapshotFiles().size(), damage == Damage::Delete ? 1u : 2u);
    }
}

// A large snapshot is read straight into the image; bands read before the damage was found are
// put back from the redo step's pixels.
TEST(UndoHistoryFailures, DamageLateInALargeSnapshotLeavesTheImageAsItWas) {
    HistoryFixture f(1000, 1200);  // several bands
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
    FillRect(f.state.WorkImage, {0, 0, 1000, 1200}, Rgb(0, 0, 0));
    const Bitmap changed = Copy(f.state.WorkImage);
    f.history.WaitForWrites();
    const auto path = f.history.NewestUndoStep()->path;
    auto bytes = test::ReadFileBytes(path);
    bytes[bytes.size() * 7 / 8] ^= 0x04;  // in the last band
    test::WriteFileBytes(path, bytes);

    EXPECT_FALSE(f.history.Undo());
    EXPECT_EQ(f.history.UndoCount(), 1);
    EXPECT_EQ(f.history.RedoCount(), 0);
    EXPECT_TRUE(SameBitmaps(changed, f.state.WorkImage, "late-damage"));
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].id, str::kSnapshotUnreadable);
    EXPECT_EQ(f.SnapshotFiles().size(), 1u);  // the redo step's file is not left behind
}

TEST(UndoHistoryFailures, ADamagedRedoStepIsRefusedAsWell) {
    HistoryFixture f;
    Change(f, {0, 0, 10, 10}, Rgb(1, 2, 3));
    ASSERT_TRUE(f.history.Undo());
    const Bitmap undone = Copy(f.state.WorkImage);
    Apply(Damage::FlipPixels, f.history.NewestRedoStep()->path);
    EXPECT_FALSE(f.history.Redo());
    EXPECT_EQ(f.history.UndoCount(), 0);
    EXPECT_EQ(f.history.RedoCount(), 1);
    EXPECT_TRUE(SameBitmaps(undone, f.state.WorkImage));
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].id, str::kSnapshotUnreadable);
}

TEST(UndoHistoryFailures, AnotherStepsFileInPlaceOfTheRightOneIsRefused) {
    HistoryFixture f;
    Change(f, {0, 0, 10, 10}, Rgb(1, 2, 3));
    Change(f, {20, 20, 30, 30}, Rgb(1, 2, 3));
    f.history.WaitForWrites();
    const auto newest = f.history.NewestUndoStep()->path;
    ASSERT_TRUE(f.history.Undo());
    const auto older = f.history.NewestUndoStep()->path;
    ASSERT_TRUE(f.history.Redo());
    // The older step's file (a sound file of another rectangle) where the newest should be.
    std::filesystem::copy_file(older, f.history.NewestUndoStep()->path,
                               std::filesystem::copy_options::overwrite_existing);
    const Bitmap now = Copy(f.state.WorkImage);
    EXPECT_FALSE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(now, f.state.WorkImage));
    (void)newest;
}

TEST(UndoHistoryFailures, APushIntoAFolderThatCannotBeMadeFailsAndLeavesNoEntry) {
    test::TempDir temp;
    std::ofstream(temp.File("occupied")) << "x";  // a file where the folder's parent should be
    const WorkFolder work(temp.File("occupied"));
    test::RecordingPrompter prompter;
    ImageState state;
    state.WorkImage = test::Picture(20, 20);
    state.width = state.height = 20;
    UndoHistory history(state, work, prompter);

    EXPECT_FALSE(history.PushSnapshot(SnapshotKind::Image, {1, 1, 5, 5}));
    EXPECT_FALSE(history.PushSnapshot(SnapshotKind::Image));
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_EQ(history.RedoCount(), 0);
    // One message a failure: the folder's own.
    ASSERT_EQ(prompter.shown.size(), 2u);
    for (const MessageRequest& shown : prompter.shown) {
        EXPECT_EQ(shown.id, str::kWorkFolderFailed);
        EXPECT_EQ(shown.icon, MessageIcon::Error);
    }
}

TEST(UndoHistoryFailures, AWorkFolderLostAfterTheFirstStepRefusesThePushWithOneMessage) {
    HistoryFixture f;
    Change(f, {0, 0, 10, 10}, Rgb(1, 2, 3));
    const auto folder = f.work.GetWorkFolder({}, f.prompter);
    f.history.WaitForWrites();
    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "x";
    EXPECT_FALSE(f.history.PushSnapshot(SnapshotKind::Image, {20, 20, 30, 30}));
    EXPECT_EQ(f.history.UndoCount(), 1);
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].id, str::kWorkFolderFailed);
}

TEST(UndoHistoryFailures, AFailedWriteAbandonsThePushAndOlderStepsStillUndo) {
    for (const int failAt : {0, 1, 2, 3}) {  // open, header, pixels, commit
        SCOPED_TRACE(failAt);
        HistoryFixture f;
        const Bitmap original = Copy(f.state.WorkImage);
        Change(f, {0, 0, 10, 10}, Rgb(1, 2, 3));
        Change(f, {5, 5, 20, 20}, Rgb(4, 5, 6));
        ASSERT_TRUE(f.history.Undo());  // one redo step that the failure must not touch
        const Bitmap middle = Copy(f.state.WorkImage);
        const std::size_t files = f.SnapshotFiles().size();

        f.history.SetSinkFactory(test::FailingAt(failAt));
        EXPECT_FALSE(f.history.PushSnapshot(SnapshotKind::Image, {30, 30, 40, 40}));
        EXPECT_EQ(f.history.UndoCount(), 1);
        EXPECT_EQ(f.history.RedoCount(), 1);
        ASSERT_EQ(f.prompter.shown.size(), 1u);
        EXPECT_EQ(f.prompter.shown[0].id, str::kSnapshotNotStored);
        EXPECT_EQ(f.SnapshotFiles().size(), files);  // no placeholder or temporary left

        f.history.SetSinkFactory({});
        ASSERT_TRUE(f.history.Redo());
        ASSERT_TRUE(f.history.Undo());
        EXPECT_TRUE(SameBitmaps(middle, f.state.WorkImage));
        ASSERT_TRUE(f.history.Undo());
        EXPECT_TRUE(SameBitmaps(original, f.state.WorkImage));
    }
}

TEST(UndoHistoryFailures, AnUndoWhoseRedoStepCannotBeStoredChangesNothing) {
    HistoryFixture f;
    Change(f, {0, 0, 10, 10}, Rgb(1, 2, 3));
    const Bitmap changed = Copy(f.state.WorkImage);
    f.history.SetSinkFactory(test::FailingAt(2));
    EXPECT_FALSE(f.history.Undo());
    EXPECT_EQ(f.history.UndoCount(), 1);
    EXPECT_EQ(f.history.RedoCount(), 0);
    EXPECT_TRUE(SameBitmaps(changed, f.state.WorkImage));
    f.history.SetSinkFactory({});
    EXPECT_TRUE(f.history.Undo());
}

TEST(UndoHistoryFailures, ALargeSnapshotWhoseBackgroundWriteFailsIsKeptInMemory) {
    HistoryFixture f(1000, 700);
    const Bitmap original = Copy(f.state.WorkImage);
    f.history.SetSinkFactory(test::FailingAt(5));  // a few bands in: the disk is full
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image));
    FillRect(f.state.WorkImage, {0, 0, 1000, 700}, Rgb(0, 0, 0));
    f.history.WaitForWrites();
    EXPECT_TRUE(f.history.NewestUndoStep()->inMemory);
    EXPECT_TRUE(f.SnapshotFiles().empty());

    f.history.SetSinkFactory({});
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(SameBitmaps(original, f.state.WorkImage));
    ASSERT_EQ(f.prompter.shown.size(), 1u);  // the user hears of it once
    EXPECT_EQ(f.prompter.shown[0].id, str::kSnapshotKeptInMemory);
}

TEST(UndoHistoryFailures, ClosingWhileAWriteIsUnderWayLosesNothing) {
    test::TempDir temp;
    const WorkFolder work(temp.Path());
    test::RecordingPrompter prompter;
    ImageState state;
    state.WorkImage = test::Picture(1500, 1000);
    state.width = 1500;
    state.height = 1000;
    std::filesystem::path path;
    {
        UndoHistory history(state, work, prompter);
        ASSERT_TRUE(history.PushSnapshot(SnapshotKind::Image));
        path = history.NewestUndoStep()->path;
    }
    SnapshotHeader header;
    PixelBuffer pixels;
    PixelBufferPool pool;
    ASSERT_EQ(CCompSub::Expand(path, header, pixels, pool), ExpandStatus::Ok);
    EXPECT_EQ(std::memcmp(pixels.Data(), state.WorkImage.Data(), state.WorkImage.ByteCount()), 0);
}

}  // namespace
}  // namespace palvex
