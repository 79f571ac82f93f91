// A floating picture is never lost: it lands exactly, and saves, prints, exit and another paste
// put it down first.

#include "app/app_settings.h"
#include "dialogs/ui/insatu_dlg.h"
#include "ui/refusing_history.h"
#include "ui/selection_fixture.h"

namespace palvex {
namespace {

using test::SelectionFixture;

using test::RefusingHistory;

class FloatingPictureTest : public SelectionFixture {
protected:
    std::optional<Point> LandedMismatch(Point at, const QImage& picture) {
        return Mismatch(Image().WorkImage, at, picture);
    }
    void PasteAt(const QImage& picture, Point client) {
        clipboard->SetImage(picture);
        app->View()->SetContextPoint(client);
        Run(cmd::ID_PASTE_HERE);
        ASSERT_TRUE(State().pasteMode);
    }
};

TEST_F(FloatingPictureTest, OddPictureLandsBitForBitAtEveryZoom) {
    StartWith(300, 200);
    const QImage picture = Distinct(51, 41);
    clipboard->SetImage(picture);
    // 51 is 3 more than a multiple of 4: at 50 % it lost 3 columns.
    for (const int zoom :
         {cmd::ID_ZOOM1, cmd::ID_ZOOM2, cmd::ID_ZOOM3, cmd::ID_ZOOM4, cmd::ID_ZOOM5}) {
        SCOPED_TRACE(testing::Message() << "zoom command " << zoom);
        Run(zoom);
        // Centred on the image's middle, so that all of it lands at every zoom.
        app->View()->SetContextPoint(app->View()->Mapping().ImageToWindow({150, 100}));
        Run(cmd::ID_PASTE_HERE);
        const Rect floating = Selected();
        ASSERT_EQ((Size{floating.Width(), floating.Height()}), (Size{51, 41}));
        Click({1, 1});  // outside it: pasted
        ASSERT_FALSE(State().pasteMode);
        EXPECT_EQ(LandedMismatch({floating.left, floating.top}, picture), std::nullopt);
        Run(cmd::ID_UNDO);
    }
}

TEST_F(FloatingPictureTest, MovesAtHalfSizeKeepThePictureWhole) {
    StartWith(300, 200);
    Run(cmd::ID_ZOOM1);  // 50 %
    const QImage picture = Distinct(51, 41);
    PasteAt(picture, {60, 50});
    Drag({60, 50}, {71, 63});  // grabbed inside: a move
    Key(Qt::Key_Right, Qt::ControlModifier);
    Key(Qt::Key_Down);
    const Rect floating = Selected();
    ASSERT_EQ((Size{floating.Width(), floating.Height()}), (Size{51, 41}));
    Run(cmd::ID_PASTE_FIRST_SIZE);
    ASSERT_EQ((Size{Selected().Width(), Selected().Height()}), (Size{51, 41}));
    const Point at{Selected().left, Selected().top};
    Run(cmd::ID_PEN);  // another mode puts it down
    EXPECT_EQ(LandedMismatch(at, picture), std::nullopt);
}

TEST_F(FloatingPictureTest, SaveAndSaveAsWriteTheFloatingPicture) {
    StartWith(120, 90);
    setting::kMakeBackup.Write(store, 0);
    const QImage picture = Distinct(21, 11);
    PasteAt(picture, {40, 30});
    const Point at{Selected().left, Selected().top};
    Run(cmd::ID_FILE_SAVE);
    EXPECT_FALSE(State().pasteMode);
    EXPECT_EQ(UndoSteps(), 1) << "put down as a click outside would";
    EXPECT_FALSE(app->Document().IsModified());
    const LoadResult saved = LoadImageFile(temp.File("picture.png"), 0, prompter);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(Mismatch(saved.image, at, picture), std::nullopt);

    // Save-as: a transparent PNG of its own.
    PasteAt(picture, {90, 60});
    const Point there{Selected().left, Selected().top};
    const auto out = temp.File("out.png");
    prompter.saveChoice = SaveFileChoice{out, 11};
    Run(cmd::ID_AS_PNG);
    EXPECT_FALSE(State().pasteMode);
    EXPECT_EQ(UndoSteps(), 2);
    const LoadResult savedAs = LoadImageFile(out, 0, prompter);
    ASSERT_TRUE(savedAs.ok);
    EXPECT_EQ(Mismatch(savedAs.image, there, picture), std::nullopt);
    EXPECT_EQ(Mismatch(savedAs.image, at, picture), std::nullopt);
}

TEST_F(FloatingPictureTest, PrintSeesThePictureDown) {
    StartWith(120, 90);
    const QImage picture = Distinct(21, 11);
    PasteAt(picture, {40, 30});
    const Point at{Selected().left, Selected().top};
    bool down = false;
    RunCommand<ui::CInsatuDlg>(cmd::ID_FILE_PRINT, [&](ui::CInsatuDlg&) {
        down = !State().pasteMode && !LandedMismatch(at, picture).has_value();
    });
    EXPECT_TRUE(down);
    EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(FloatingPictureTest, ExitWithAMovedCopyAsksToSave) {
    StartWith(120, 90);
    Select({10, 10, 30, 30});
    Run(cmd::ID_EDIT_COPY);
    ASSERT_FALSE(app->Document().IsModified());
    Drag({15, 15}, {65, 45});
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(app->MainFrame()->close());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_FALSE(State().pasteMode);
    EXPECT_EQ(PixelAt(60, 40), Named(10, 10));
    EXPECT_EQ(PixelAt(79, 59), Named(29, 29));
    EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(FloatingPictureTest, SecondPastePutsTheFirstDownUnlessItCannotBeRead) {
    StartWith(200, 150);
    const QImage first = Distinct(21, 11);
    PasteAt(first, {40, 30});
    const Point at{Selected().left, Selected().top};
    // An unreadable picture leaves the first one floating.
    clipboard->image = {};
    Run(cmd::ID_EDIT_PASTE);
    EXPECT_TRUE(State().pasteMode);
    EXPECT_EQ(Selected().left, at.x);
    EXPECT_EQ(UndoSteps(), 0);

    const QImage second = Distinct(15, 17);
    PasteAt(second, {120, 100});
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(LandedMismatch(at, first), std::nullopt);
    EXPECT_EQ(State().pasteSize, (Size{15, 17}));
}

TEST_F(FloatingPictureTest, SaveDuringADragPutsThePictureDownWhereItWas) {
    StartWith(120, 90);
    setting::kMakeBackup.Write(store, 0);
    const QImage picture = Distinct(21, 11);
    PasteAt(picture, {40, 30});
    const Point at{Selected().left, Selected().top};
    Mouse(QEvent::MouseButtonPress, {40, 30});
    Mouse(QEvent::MouseMove, {70, 60});
    Run(cmd::ID_FILE_SAVE);
    Mouse(QEvent::MouseButtonRelease, {70, 60});
    EXPECT_FALSE(State().HasSelection()) << "the release brought no rectangle back";
    EXPECT_EQ(LandedMismatch(at, picture), std::nullopt);
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(FloatingPictureTest, APictureThatCannotBePutDownStopsTheSave) {
    StartWith(120, 90);
    const auto path = temp.File("picture.png");
    const auto before = test::ReadFileBytes(path);
    PasteAt(Distinct(21, 11), {40, 30});
    app->View()->SetHistory(std::make_unique<RefusingHistory>());
    Run(cmd::ID_FILE_SAVE);
    prompter.saveChoice = SaveFileChoice{temp.File("out.png"), 11};
    Run(cmd::ID_AS_PNG);
    EXPECT_TRUE(State().pasteMode) << "still floating, not lost";
    EXPECT_EQ(test::ReadFileBytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(temp.File("out.png")));
    prompter.answers = {Answer::No};
    EXPECT_FALSE(app->MainFrame()->close()) << "nothing may leave while it floats";
    Run(cmd::ID_EDIT_CLEAR);
}

}  // namespace
}  // namespace palvex
