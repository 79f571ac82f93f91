// A new image, opened or New, leaves nothing of the old one in memory: no undo steps or spare
// snapshot blocks, no floating or copied picture, no spare barrier masks, and a navigator
// picture made for the new image only.

#include "barrier/pixel_mask.h"
#include "canvas/ui/navi_dlg.h"
#include "canvas/ui/navigator_tool.h"
#include "ui/selection_fixture.h"

namespace palvex {
namespace {

using test::EncodeRgbaPng;
using test::SolidBitmap;
using test::WriteFileBytes;

class LoadReleaseTest : public test::SelectionFixture {
protected:
    UndoHistory& Core() {
        return static_cast<ui::SnapshotHistory*>(app->View()->History())->Core();
    }
    ui::CNaviDlg& Navigator() {
        if (app->MainFrame()->Navigator()->Navigator() == nullptr) {
            Run(cmd::ID_NAVI_DSP);
        }
        ui::CNaviDlg& navigator = *app->MainFrame()->Navigator()->Navigator();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&navigator));
        navigator.repaint();
        return navigator;
    }
    // Every kind of edit that keeps memory: a recorded fill, whole-image steps (one of them
    // undone, so both stacks hold steps), a floating copy of the whole image, and a barrier mask
    // given back to the spares.
    void EditEverything() {
        Run(cmd::ID_PAINT);
        Click({3, 3});
        Run(cmd::ID_ROT_180);
        Run(cmd::ID_GRAY_SCALE);
        Run(cmd::ID_UNDO);
        Run(cmd::ID_SELECT);
        Run(cmd::ID_EDIT_SELECT_ALL);
        Run(cmd::ID_EDIT_COPY);
        {
            PixelMask mask;
            ASSERT_TRUE(mask.Create(Image().width, Image().height));
        }
        ASSERT_TRUE(State().pasteMode);
        ASSERT_FALSE(State().pasteBuffer.IsNull());
        ASSERT_GT(Core().UndoCount(), 0);
        ASSERT_GT(Core().RedoCount(), 0);
        ASSERT_GT(SpareMaskWords(), 0u);
        prompter.answers = {Answer::No};  // the edits are not saved
    }
    void ExpectNothingOfTheOldImage() {
        EXPECT_FALSE(State().pasteMode);
        EXPECT_TRUE(State().pasteBuffer.IsNull());
        EXPECT_EQ(Core().UndoCount(), 0);
        EXPECT_EQ(Core().RedoCount(), 0);
        EXPECT_EQ(Core().HeldPixels(), 0u);
        EXPECT_EQ(SpareMaskWords(), 0u);
    }
};

// Large enough for its whole-image snapshots to be kept as spare blocks.
constexpr int kWidth = 600;
constexpr int kHeight = 500;

TEST_F(LoadReleaseTest, OpeningAnotherImageKeepsNothingOfTheEditedOne) {
    StartWith(kWidth, kHeight);
    EXPECT_FALSE(Navigator().Picture().IsNull());
    EditEverything();

    const auto other = temp.File("other.png");
    WriteFileBytes(other, EncodeRgbaPng(SolidBitmap(90, 300, 0xFF102030u)));
    prompter.openChoice = SaveFileChoice{other, 1};
    Run(cmd::ID_FILE_OPEN);
    ASSERT_EQ(app->Document().PathName(), other);
    ExpectNothingOfTheOldImage();
    ui::CNaviDlg& navigator = Navigator();
    const Bitmap& picture = navigator.Picture();
    EXPECT_EQ(picture.Width(), navigator.Thumbnail().rect.Width());
    EXPECT_EQ(picture.Height(), navigator.Thumbnail().rect.Height());
    EXPECT_EQ(picture.Row(0)[0] & kRgbMask, 0x102030u);  // of the new image, not the old

    // The new image is edited as usual afterwards.
    Run(cmd::ID_ROT_180);
    EXPECT_EQ(Core().UndoCount(), 1);
}

TEST_F(LoadReleaseTest, NewKeepsNothingOfTheEditedImage) {
    StartWith(kWidth, kHeight);
    EXPECT_FALSE(Navigator().Picture().IsNull());
    EditEverything();

    Run(cmd::ID_FILE_NEW);
    ASSERT_TRUE(Image().WorkImage.IsNull());
    ExpectNothingOfTheOldImage();
    EXPECT_TRUE(Navigator().Picture().IsNull());
}

// A file that cannot be opened takes nothing away: the open image keeps its steps and spares
// (the floating picture was put down, as its own step, before the other file was tried).
TEST_F(LoadReleaseTest, ARefusedFileKeepsTheOpenImagesStepsAndSpares) {
    StartWith(kWidth, kHeight);
    EditEverything();
    const int undo = Core().UndoCount();
    const auto broken = temp.File("broken.png");
    WriteFileBytes(broken, {137, 'P', 'N', 'G', 13, 10, 26, 10, 1, 2, 3});
    prompter.openChoice = SaveFileChoice{broken, 1};
    Run(cmd::ID_FILE_OPEN);
    ASSERT_EQ(app->Document().PathName(), temp.File("picture.png"));
    EXPECT_EQ(Core().UndoCount(), undo + 1);
    EXPECT_GT(SpareMaskWords(), 0u);
    EXPECT_EQ(Image().width, kWidth);
}

}  // namespace
}  // namespace palvex
