// The selection on the real editor: rubber band, handles, moves by mouse and keys, the clipboard
// commands and the floating picture.

#include <QScrollBar>

#include "resources/string_table.h"
#include "resources/texts.h"
#include "ui/selection_fixture.h"

namespace palvex {
namespace {

using test::SelectionFixture;

class SelectionUiTest : public SelectionFixture {};

TEST_F(SelectionUiTest, RubberBandSelectsFromFifteenPixelsAndIgnoresSmallJitter) {
    StartWith(200, 150);
    Drag({20, 20}, {28, 28});  // within 9 window pixels: no band at all
    EXPECT_FALSE(State().HasSelection());
    Drag({20, 20}, {34, 60});
    EXPECT_FALSE(State().HasSelection()) << "14 x 40 selects nothing";
    Drag({20, 20}, {35, 35});
    EXPECT_EQ(Selected(), (Rect{20, 20, 35, 35}));
    EXPECT_EQ(app->MainFrame()->StatusBar()->Guide(),
              ui::ToQString(LoadString(str::kGuideDoubleClickCopies)));
    EXPECT_EQ(SizePane(), "15×15");
    // A band dragged beyond the image stops at its last pixel.
    Drag({100, 100}, {700, 500});
    EXPECT_EQ(Selected(), (Rect{100, 100, 199, 149}));
}

TEST_F(SelectionUiTest, HandleDragKeepsFifteenPixelsOnTheDraggedSide) {
    StartWith(300, 300);
    Select({10, 10, 100, 100});
    Drag({100, 100}, {5, 200});
    EXPECT_EQ(Selected(), (Rect{5, 10, 20, 200}));
    // Without a floating picture there is nothing to stretch, and nothing to complain about.
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(State().pasteBuffer.IsNull());
}

TEST_F(SelectionUiTest, MouseAndKeysMoveTheSelectionAndShiftMovesTheSelectedSide) {
    StartWith(300, 200);
    Select({40, 40, 100, 80});
    Drag({60, 60}, {75, 50});  // grabbed inside: a move, not limited to the image
    EXPECT_EQ(Selected(), (Rect{55, 30, 115, 70}));
    Key(Qt::Key_Right);
    EXPECT_EQ(Selected(), (Rect{65, 30, 125, 70}));
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Rect{65, 29, 125, 69}));
    // The top side is selected at first; Tab selects the right side, Shift+arrow moves it.
    EXPECT_EQ(State().selectedSide, 1);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rect{65, 19, 125, 69}));
    Key(Qt::Key_Tab);
    EXPECT_EQ(State().selectedSide, 2);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rect{65, 19, 135, 69}));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(State().selectedSide, 1);
    // A click on a side selects it.
    Click({80, 69});
    EXPECT_EQ(State().selectedSide, 3);
    EXPECT_EQ(Selected(), (Rect{65, 19, 135, 69}));
}

TEST_F(SelectionUiTest, PointerAndGuideFollowHandlesSidesAndInside) {
    StartWith(300, 200);
    Select({40, 40, 100, 80});
    const auto guide = [this] { return app->MainFrame()->StatusBar()->Guide(); };
    const auto text = [](int id) { return ui::ToQString(LoadString(id)); };
    Mouse(QEvent::MouseMove, {41, 43});
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::SizeFDiagCursor) << "handle 0";
    Mouse(QEvent::MouseMove, {70, 78});
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::SizeVerCursor) << "handle 6";
    Mouse(QEvent::MouseMove, {55, 79});
    EXPECT_EQ(guide(), text(str::kGuideClickSide)) << "the bottom side";
    Mouse(QEvent::MouseMove, {55, 41});
    EXPECT_EQ(guide(), text(str::kGuideTabTurnsSide)) << "the selected top side";
    Mouse(QEvent::MouseMove, {99, 50});
    EXPECT_EQ(guide(), text(str::kGuideShiftMovesSide)) << "the right side";
    Mouse(QEvent::MouseMove, {70, 60});
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_EQ(guide(), text(str::kGuideMoveBySteps));
    Mouse(QEvent::MouseMove, {200, 150});
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SelectionUiTest, CopyFloatsTheSelectionAndAClickOutsidePastesItAsOneStep) {
    StartWith(120, 90);
    Select({10, 10, 30, 30});
    Run(cmd::ID_EDIT_COPY);
    ASSERT_EQ(clipboard->image.size(), QSize(20, 20));
    EXPECT_EQ(clipboard->image.pixel(3, 4), Named(13, 14));
    EXPECT_TRUE(State().pasteMode);
    std::vector<Pixel> before(Image().WorkImage.Pixels().begin(), Image().WorkImage.Pixels().end());
    Click({80, 70});
    EXPECT_FALSE(State().pasteMode);
    EXPECT_FALSE(State().HasSelection());
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Image().WorkImage.Pixels().begin()));

    // Moved elsewhere, the copy lands there.
    Select({10, 10, 30, 30});
    Run(cmd::ID_EDIT_COPY);
    Drag({15, 15}, {65, 45});  // grabbed 5 pixels inside its corner
    Click({5, 80});
    EXPECT_EQ(PixelAt(60, 40), Named(10, 10));
    EXPECT_EQ(PixelAt(79, 59), Named(29, 29));
    EXPECT_EQ(UndoSteps(), 2);
}

TEST_F(SelectionUiTest, DoubleClickInsideCopies) {
    StartWith(120, 90);
    Select({10, 10, 30, 30});
    Mouse(QEvent::MouseButtonDblClick, {20, 20});
    Mouse(QEvent::MouseButtonRelease, {20, 20});
    EXPECT_EQ(clipboard->writes, 1);
    EXPECT_TRUE(State().pasteMode);
}

TEST_F(SelectionUiTest, CutErasesWithTheKeyOnlyWhenTheClipboardTookThePicture) {
    StartWith(120, 90);
    Select({10, 10, 30, 30});
    clipboard->refuse = true;
    Run(cmd::ID_EDIT_CUT);
    EXPECT_EQ(PixelAt(10, 10), Named(10, 10)) << "a refused picture erases nothing";
    EXPECT_EQ(UndoSteps(), 0);
    EXPECT_TRUE(State().HasSelection());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().Text(), std::string(texts::kClipboardWriteFailed));

    clipboard->refuse = false;
    Run(cmd::ID_EDIT_CUT);
    EXPECT_EQ(clipboard->image.size(), QSize(20, 20));
    EXPECT_EQ(Image().WorkImage.ReadPixel(10, 10), Image().TransparentColor);
    EXPECT_EQ(Image().WorkImage.ReadPixel(29, 29), Image().TransparentColor);
    EXPECT_EQ(PixelAt(30, 30), Named(30, 30));
    EXPECT_FALSE(State().HasSelection());
    EXPECT_FALSE(State().pasteMode);
    EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(SelectionUiTest, CopyAndCutOfAFloatingPictureTakeItAsDrawn) {
    StartWith(120, 90);
    // Nothing selected: nothing copied.
    Run(cmd::ID_EDIT_COPY);
    Run(cmd::ID_EDIT_CUT);
    EXPECT_EQ(clipboard->writes, 0);

    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(19, 9, qRgb(9, 9, 9));
    clipboard->SetImage(picture);
    app->View()->SetContextPoint({50, 40});
    Run(cmd::ID_PASTE_HERE);
    ASSERT_EQ(Selected(), (Rect{40, 35, 60, 45}));
    // Stretched to twice its size, it is copied as drawn, and stays floating.
    Drag({60, 45}, {80, 55});
    ASSERT_EQ(Selected(), (Rect{40, 35, 80, 55}));
    Run(cmd::ID_EDIT_COPY);
    EXPECT_EQ(clipboard->image.size(), QSize(40, 20));
    EXPECT_EQ(clipboard->image.pixel(39, 19), qRgb(9, 9, 9));
    EXPECT_EQ(clipboard->image.pixel(37, 17), qRgb(1, 2, 3));
    EXPECT_TRUE(State().pasteMode);
    EXPECT_EQ(PixelAt(40, 35), Named(40, 35)) << "not the pixels beneath";
    // Cut takes the picture and drops it; the image is untouched.
    const int steps = UndoSteps();
    clipboard->image = {};
    Run(cmd::ID_EDIT_CUT);
    EXPECT_EQ(clipboard->image.size(), QSize(40, 20));
    EXPECT_EQ(PixelAt(40, 35), Named(40, 35));
    EXPECT_FALSE(State().pasteMode);
    EXPECT_FALSE(State().HasSelection());
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(SelectionUiTest, SmallerPictureFloatsCentredAndLargerOneEnlargesTheImage) {
    StartWith(300, 200);
    Run(cmd::ID_PAINT);  // a paste returns to the selection mode
    QImage small(50, 40, QImage::Format_RGB32);
    small.fill(qRgb(10, 20, 30));
    clipboard->SetImage(small);
    Key(Qt::Key_V, Qt::ControlModifier);
    // Centred on the part of the window that shows the image (here the whole image, which is
    // smaller than the window), not on the window beside it.
    ASSERT_GT(Viewport()->width(), 300);
    EXPECT_EQ(Selected(), (Rect{125, 80, 175, 120}));
    EXPECT_EQ(app->Model().settings.toolMode, 0);
    EXPECT_EQ(UndoSteps(), 0);
    EXPECT_TRUE(app->Document().IsModified());
    Key(Qt::Key_Delete);  // dropped, so that the next paste has nothing to put down
    // At the context point.
    app->View()->SetContextPoint({60, 50});
    Run(cmd::ID_PASTE_HERE);
    EXPECT_EQ(Selected(), (Rect{35, 30, 85, 70}));
    Key(Qt::Key_Delete);  // dropped without pasting
    EXPECT_FALSE(State().HasSelection());
    EXPECT_EQ(UndoSteps(), 0);

    QImage large(400, 100, QImage::Format_RGB32);
    large.fill(qRgb(200, 100, 50));
    clipboard->SetImage(large);
    Run(cmd::ID_EDIT_PASTE);
    EXPECT_EQ(Image().width, 400);
    EXPECT_EQ(Image().height, 200);
    EXPECT_EQ(Selected(), (Rect{0, 0, 400, 200}));
    EXPECT_EQ(Image().WorkImage.ReadPixel(350, 150), 0x00FFFFFFu) << "new area white";
    EXPECT_EQ(PixelAt(299, 199), Named(299, 199));
    EXPECT_EQ(SizePane(), "400×200");
    EXPECT_EQ(app->View()->horizontalScrollBar()->maximum(),
              std::max(0, 400 - Viewport()->width()));
    EXPECT_EQ(UndoSteps(), 1);
    // The picture covers the enlarged image, stretched where it is lower.
    Click({5, 5});  // inside: a move of nothing
    Run(cmd::ID_SELECT);
    app->Router().Dispatch(cmd::ID_PEN);  // another mode pastes it
    EXPECT_EQ(Image().WorkImage.ReadPixel(399, 199), Rgb(200, 100, 50));
    // Undo twice: the paste, then the enlargement.
    Run(cmd::ID_UNDO);
    Run(cmd::ID_UNDO);
    EXPECT_EQ(Image().width, 300);
    EXPECT_EQ(SizePane(), "300×200");
}

TEST_F(SelectionUiTest, HostileClipboardPicturesChangeNothing) {
    StartWith(40, 30);
    const auto refused = [this] {
        ASSERT_FALSE(prompter.shown.empty());
        EXPECT_EQ(prompter.shown.back().Text(),
                  std::string(texts::kSetErrorLine) + std::string(LoadString(str::kPasteFailed)));
        EXPECT_FALSE(State().pasteMode);
        EXPECT_EQ(Image().width, 40);
        EXPECT_EQ(UndoSteps(), 0);
        prompter.shown.clear();
    };
    clipboard->offered = true;  // offered, but unreadable
    Run(cmd::ID_EDIT_PASTE);
    refused();
    // 16385 x 16385 would exceed the pixel limit by little.
    Bitmap tall;
    ASSERT_TRUE(tall.Create(40, 16385));
    tall.Fill(0xFF000000u);
    Image().WorkImage = std::move(tall);
    Image().height = 16385;
    clipboard->SetImage(QImage(16385, 1, QImage::Format_RGB32));
    Run(cmd::ID_EDIT_PASTE);
    refused();
}

TEST_F(SelectionUiTest, PictureWithAlphaPastesOpaque) {
    StartWith(40, 30);
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(10, 20, 30, 0));
    picture.setPixel(1, 0, qRgba(40, 50, 60, 128));
    clipboard->SetImage(picture);
    Run(cmd::ID_EDIT_PASTE);
    EXPECT_EQ(State().pasteBuffer.Row(0)[0], 0xFF0A141Eu);
    EXPECT_EQ(State().pasteBuffer.Row(0)[1], 0xFF28323Cu);
}

TEST_F(SelectionUiTest, TrimFillAndRestoreSize) {
    StartWith(120, 90);
    Select({10, 20, 40, 60});
    Run(cmd::ID_SEL_FILL_KEY);
    EXPECT_EQ(Image().WorkImage.ReadPixel(39, 59), Image().TransparentColor);
    EXPECT_EQ(UndoSteps(), 1);
    Select({20, 30, 60, 50});
    Run(cmd::ID_TRIM);
    EXPECT_EQ(Image().width, 40);
    EXPECT_EQ(Image().height, 20);
    EXPECT_EQ(PixelAt(39, 19), Named(59, 49));
    EXPECT_EQ(SizePane(), "40×20");
    EXPECT_EQ(UndoSteps(), 2);
    // Selecting the whole image and trimming changes nothing.
    Run(cmd::ID_EDIT_SELECT_ALL);
    Run(cmd::ID_TRIM);
    EXPECT_EQ(UndoSteps(), 2);
    Run(cmd::ID_EDIT_CLEAR);

    // A wider picture than the image floats stretched over the enlarged image; back to its
    // own size it keeps its top-left.
    QImage picture(60, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard->SetImage(picture);
    Run(cmd::ID_EDIT_PASTE);
    ASSERT_EQ(Selected(), (Rect{0, 0, 60, 20}));
    Key(Qt::Key_Right);
    Run(cmd::ID_PASTE_FIRST_SIZE);
    EXPECT_EQ(Selected(), (Rect{0, 0, 60, 10})) << "shifted back inside the image";
    EXPECT_EQ(State().pasteSize, (Size{60, 10}));
}

TEST_F(SelectionUiTest, ContextMenusFollowWhatLiesUnderThePointer) {
    StartWith(200, 150);
    RightClick({50, 50});
    ASSERT_EQ(menus.back(), "VIEW");
    bool pasteEnabled = true;
    for (const auto& [id, enabled] : menuItems) {
        if (id == cmd::ID_PASTE_HERE) {
            pasteEnabled = enabled;
        }
    }
    EXPECT_FALSE(pasteEnabled) << "nothing on the clipboard";
    Select({20, 20, 80, 80});
    RightClick({50, 50});
    EXPECT_EQ(menus.back(), "SEL");
    Run(cmd::ID_EDIT_COPY);
    RightClick({50, 50});
    EXPECT_EQ(menus.back(), "PASTE");
    RightClick({150, 120});
    EXPECT_EQ(menus.back(), "VIEW");
}

TEST_F(SelectionUiTest, UndoDropsTheFloatingPicture) {
    StartWith(120, 90);
    Select({10, 10, 30, 30});
    Run(cmd::ID_SEL_FILL_KEY);
    Select({40, 40, 60, 60});
    Run(cmd::ID_EDIT_COPY);
    Run(cmd::ID_UNDO);
    EXPECT_FALSE(State().pasteMode);
    EXPECT_FALSE(State().HasSelection());
    EXPECT_EQ(PixelAt(10, 10), Named(10, 10));
}

TEST_F(SelectionUiTest, FloatingPictureOutlineAndHandlesAreDrawnAtTheZoom) {
    StartWith(600, 150);
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(250, 0, 0));
    picture.setPixel(10, 5, qRgb(0, 0, 250));
    clipboard->SetImage(picture);
    app->View()->SetContextPoint({60, 40});
    Run(cmd::ID_PASTE_HERE);
    ASSERT_EQ(Selected(), (Rect{50, 35, 70, 45}));
    Run(cmd::ID_ZOOM3);  // 200 %: the picture covers window (100, 70) to (140, 90)
    const Colour line = app->Model().settings.selectionLineColour;
    const QRgb lineRgb = qRgb(RedOf(line), GreenOf(line), BlueOf(line));
    const QImage shown = app->View()->Rendered();
    EXPECT_EQ(shown.pixel(119, 79), qRgb(250, 0, 0));
    EXPECT_EQ(shown.pixel(121, 81), qRgb(0, 0, 250)) << "its pixel (10, 5), doubled";
    EXPECT_EQ(shown.pixel(120, 71), lineRgb) << "the top side, selected, 3 pixels";
    EXPECT_EQ(shown.pixel(98, 68), lineRgb) << "handle 0, a square";
    EXPECT_EQ(shown.pixel(120, 92), lineRgb) << "handle 6, a circle";
    EXPECT_EQ(shown.pixel(150, 80), Named(75, 40)) << "beside it: the image";
    // Scrolled so that the picture is cut by the window's left edge.
    app->View()->horizontalScrollBar()->setValue(110);
    const QImage scrolled = app->View()->Rendered();
    EXPECT_EQ(scrolled.pixel(11, 81), qRgb(0, 0, 250));
    EXPECT_EQ(scrolled.pixel(9, 79), qRgb(250, 0, 0));
}

TEST_F(SelectionUiTest, OpeningAnImageRemovesTheSelection) {
    StartWith(120, 90);
    Select({10, 10, 30, 30});
    Run(cmd::ID_EDIT_COPY);
    app->Document().SetModifiedFlag(false);
    const auto other = temp.File("other.png");
    test::WriteFileBytes(other, test::EncodeRgbaPng(test::SolidBitmap(50, 40, 0xFF808080u)));
    ASSERT_TRUE(app->OpenImageFile(other));
    EXPECT_FALSE(State().HasSelection());
    EXPECT_FALSE(State().pasteMode);
}

TEST_F(SelectionUiTest, CentreOnSelectionScrollsItToTheMiddle) {
    StartWith(2000, 1500);
    Select({20, 20, 80, 80});
    Key(Qt::Key_Right);
    for (int i = 0; i < 50; ++i) {
        Key(Qt::Key_Right);
        Key(Qt::Key_Down);
    }
    EXPECT_EQ(Selected(), (Rect{530, 520, 590, 580}));
    Run(cmd::ID_SEL_CENTER);
    const QSize area = Viewport()->size();
    EXPECT_EQ(app->View()->ScrollPosition(),
              (Point{560 - area.width() / 2, 550 - area.height() / 2}));
    Run(cmd::ID_PEN);
    EXPECT_FALSE(Enabled(cmd::ID_SEL_CENTER));
}

}  // namespace
}  // namespace palvex
