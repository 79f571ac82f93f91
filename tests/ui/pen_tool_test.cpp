// The range pens on the real editor: strokes at three zooms with their pixels and their one undo
// step, the whole-image passes, the range outline next to the pointer, the pen tab's controls
// and keys, and the gestures of the right button.

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "app/ui/qt_text.h"
#include "barrier/ui/barrier_tool.h"
#include "canvas/ui/navi_dlg.h"
#include "canvas/ui/navigator_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_gallery.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "mainwindow/ui/ribbon_spin_edit.h"
#include "resources/command_ids.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"
#include "ui/app_fixture.h"
#include "ui/refusing_history.h"
#include "undo/undo_history.h"

namespace palvex {
namespace {

using test::RefusingHistory;

constexpr Colour kGrey = Rgb(100, 100, 100);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kKey = Rgb(0, 255, 0);
constexpr QRgb kShownBackground = qRgb(255, 255, 128);  // the default background colour

class PenToolTest : public test::AppFixture {
protected:
    // A grey image with a red block at (150, 100) to (170, 120) and a green key that no pixel
    // has, shown at `zoom` with no scroll; the transparent pen with the rectangle of size 20.
    ui::CVemmarView& StartWithImage(float zoom = 1.0f, int width = 300, int height = 200) {
        Bitmap image = test::SolidBitmap(width, height, 0xFF646464u);
        for (int y = 100; y < std::min(120, height); ++y) {
            for (int x = 150; x < std::min(170, width); ++x) {
                image.Row(y)[x] = 0xFFFF0000u;
            }
        }
        const auto path = temp.File("pens.png");
        test::WriteFileBytes(path, test::EncodeRgbaPng(image));
        EXPECT_TRUE(Start({ui::PathToQString(path)}));
        app->MainFrame()->resize(900, 700);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        app->Model().image.TransparentColor = kKey;
        app->Model().settings.rangeSize = 20;
        app->MainFrame()->Input()->execMenu = [this](QMenu& menu, const QPoint&) {
            menus.push_back(menu.objectName());
        };
        const int zoomCommand = zoom == 0.5f   ? cmd::ID_ZOOM1
                                : zoom == 4.0f ? cmd::ID_ZOOM4
                                               : cmd::ID_ZOOM2;
        Run(zoomCommand);
        Run(cmd::ID_PEN_TRANS);
        return *app->View();
    }

    ui::CMyRibbonBar& Ribbon() { return *app->MainFrame()->Ribbon(); }
    ui::CMyStatusBar& Bar() { return *app->MainFrame()->StatusBar(); }
    QWidget* Viewport() { return app->View()->viewport(); }
    AppSettings& Settings() { return app->Model().settings; }
    Colour PixelAt(int x, int y) { return app->Model().image.WorkImage.ReadPixel(x, y); }
    QRgb Shown(int x, int y) { return app->View()->Rendered().pixel(x, y) | 0xFF000000u; }
    void Run(int id) { app->Router().Dispatch(id); }
    UndoHistory& History() {
        return static_cast<ui::SnapshotHistory*>(app->View()->History())->Core();
    }

    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(p), QPointF(Viewport()->mapToGlobal(p)), button, held,
                          modifiers);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Press(QPoint p, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, p, button, button, modifiers);
    }
    void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, p, button, Qt::NoButton);
    }
    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton) {
        Send(QEvent::MouseMove, p, Qt::NoButton, held);
    }
    void Click(QPoint p) {
        Press(p);
        Release(p);
    }
    void Wheel(QPoint p, int delta, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(p), QPointF(Viewport()->mapToGlobal(p)), QPoint(),
                          QPoint(0, delta), buttons, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &event);
    }

    // Every pixel inside one of `areas` has `inside`, every other the colour of the picture
    // (grey, red in the block); names the first that differs.
    ::testing::AssertionResult PixelsAre(const std::vector<Rect>& areas, Colour inside) {
        const ImageState& image = app->Model().image;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                bool in = false;
                for (const Rect& r : areas) {
                    in = in || r.Contains(x, y);
                }
                const bool block = x >= 150 && x < 170 && y >= 100 && y < 120;
                const Colour expected = in ? inside : block ? kRed : kGrey;
                if (PixelAt(x, y) != expected) {
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << ") is " << std::hex << PixelAt(x, y)
                           << " instead of " << expected;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    std::vector<QString> menus;
};

// The image pixels a rectangle of size 20 around the client point visits at a zoom: inside the
// corners' image positions, whose first column and row the winding test leaves out.
Rect SquareAt(QPoint client, float zoom) {
    const auto image = [zoom](int c) { return static_cast<int>(static_cast<float>(c) / zoom); };
    return {image(client.x() - 10) + 1, image(client.y() - 10) + 1, image(client.x() + 10),
            image(client.y() + 10)};
}

TEST_F(PenToolTest, TheCursorStopMovesThePointerOffTheDrawingColourAndTheOutlineWithIt) {
    StartWithImage();
    Settings().stopCursor = 1;
    app->Model().image.WorkImage.WritePixel(60, 60, kKey);  // the drawing colour of this pen
    std::vector<QPoint> moves;
    app->MainFrame()->Input()->CursorStop().moveCursor = [&](const QPoint& global) {
        moves.push_back(global);
    };
    Move({60, 60});
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], Viewport()->mapToGlobal(QPoint(59, 59)));
    // The outline follows the pointer to where it went.
    const Rect area = app->View()->OverlayRect();
    EXPECT_TRUE(area.Contains(59 - 10, 59 - 10));
    EXPECT_FALSE(area.Contains(59 + 25, 59 + 25));
    Move({61, 61});  // grey: the pointer stays
    EXPECT_EQ(moves.size(), 1u);
    Settings().toolMode = static_cast<int>(ToolMode::FillBack);
    Move({60, 60});
    EXPECT_EQ(moves.size(), 1u);
}

class PenStrokeAtZoom : public PenToolTest, public ::testing::WithParamInterface<float> {};

TEST_P(PenStrokeAtZoom, ChangesTheRangeAtEachPointerSampleAndMakesOneUndoStep) {
    const float zoom = GetParam();
    ui::CVemmarView& view = StartWithImage(zoom);
    const QPoint a(60, 60);
    const QPoint b(110, 60);
    Move(a);
    Press(a);
    EXPECT_TRUE(PixelsAre({}, kKey));  // nothing at the press
    Move(a, Qt::LeftButton);
    EXPECT_TRUE(PixelsAre({SquareAt(a, zoom)}, kKey));
    // Repainted at once, before the release.
    const Rect first = SquareAt(a, zoom);
    EXPECT_EQ(Shown(static_cast<int>(static_cast<float>(first.right - 2) * zoom),
                    static_cast<int>(static_cast<float>(first.bottom - 2) * zoom)),
              kShownBackground);
    // The pen works only where the pointer is reported, nothing in between, as the original.
    Move(b, Qt::LeftButton);
    Release(b);
    EXPECT_TRUE(PixelsAre({SquareAt(a, zoom), SquareAt(b, zoom)}, kKey));
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(History().UndoCount(), 1);
    ASSERT_TRUE(History().NewestUndoStep());
    EXPECT_FALSE(History().NewestUndoStep()->whole);
    EXPECT_TRUE(view.OverlayRect().IsEmpty());  // the release takes the outline away

    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(PixelsAre({}, kKey));
    EXPECT_EQ(Shown(60, 60), qRgb(100, 100, 100));
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(PixelsAre({SquareAt(a, zoom), SquareAt(b, zoom)}, kKey));
}

INSTANTIATE_TEST_SUITE_P(Zooms, PenStrokeAtZoom, ::testing::Values(0.5f, 1.0f, 4.0f));

TEST_F(PenToolTest, AClickWithoutAMoveAppliesOnceAndEveryStrokeIsOneStepEvenUnchanged) {
    ui::CVemmarView& view = StartWithImage();
    Click({60, 60});
    EXPECT_TRUE(PixelsAre({SquareAt({60, 60}, 1)}, kKey));
    EXPECT_EQ(History().UndoCount(), 1);

    // The same place again: every pixel already has the drawing colour.
    Click({60, 60});
    EXPECT_TRUE(PixelsAre({SquareAt({60, 60}, 1)}, kKey));
    EXPECT_EQ(History().UndoCount(), 2);
    // The fill-back pen over pixels that are not the key changes nothing, and is a step too.
    Run(cmd::ID_PEN_FILL);
    Press({200, 150});
    Move({210, 150}, Qt::LeftButton);
    Release({210, 150});
    EXPECT_EQ(History().UndoCount(), 3);
    EXPECT_TRUE(PixelsAre({SquareAt({60, 60}, 1)}, kKey));

    // A double-click is one stroke: its second press starts none.
    Run(cmd::ID_PEN);
    Press({30, 150});
    Release({30, 150});
    Send(QEvent::MouseButtonDblClick, {30, 150}, Qt::LeftButton, Qt::LeftButton);
    Release({30, 150});
    EXPECT_EQ(History().UndoCount(), 4);

    view.setFocus();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_TRUE(PixelsAre({SquareAt({60, 60}, 1)}, kKey));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(PixelsAre({}, kKey));
}

TEST_F(PenToolTest, UndoDuringAStrokeUndoesTheStrokeSoFar) {
    ui::CVemmarView& view = StartWithImage();
    const Rect earlier = SquareAt({200, 60}, 1);
    Click({200, 60});
    Press({60, 60});
    Move({60, 60}, Qt::LeftButton);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(PixelsAre({earlier}, kKey));
    EXPECT_EQ(History().UndoCount(), 1);
    EXPECT_EQ(History().RedoCount(), 1);
    Move({100, 60}, Qt::LeftButton);  // the stroke has ended
    Release({100, 60});
    EXPECT_TRUE(PixelsAre({earlier}, kKey));
    EXPECT_EQ(History().UndoCount(), 1);
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(PixelsAre({earlier, SquareAt({60, 60}, 1)}, kKey));
}

TEST_F(PenToolTest, AStrokeWhoseUndoStepCannotBeStoredIsTakenBack) {
    ui::CVemmarView& view = StartWithImage();
    auto refusing = std::make_unique<RefusingHistory>();
    RefusingHistory& history = *refusing;
    view.SetHistory(std::move(refusing));
    Press({60, 60});
    Move({60, 60}, Qt::LeftButton);
    EXPECT_TRUE(PixelsAre({SquareAt({60, 60}, 1)}, kKey));  // shown while drawing
    Release({60, 60});
    EXPECT_EQ(history.pushes, 1);
    EXPECT_TRUE(PixelsAre({}, kKey));
    EXPECT_EQ(Shown(60, 60), qRgb(100, 100, 100));
    EXPECT_FALSE(app->Document().IsModified());  // as it was before the stroke
    // Nor is the whole-image pen applied.
    Run(cmd::ID_HANI_ALL);
    Click({5, 5});
    EXPECT_EQ(history.pushes, 2);
    EXPECT_TRUE(PixelsAre({}, kKey));
}

// The navigator showed the stroke while it was drawn; it must not keep showing it, nor may a
// document that was modified before the stroke lose its mark.
TEST_F(PenToolTest, AStrokeTakenBackLeavesTheNavigatorAndTheModifiedMarkAsBefore) {
    ui::CVemmarView& view = StartWithImage();
    Run(cmd::ID_NAVI_DSP);
    ui::CNaviDlg& navi = *app->MainFrame()->Navigator()->Navigator();
    const QImage before = navi.grab().toImage();
    view.SetHistory(std::make_unique<RefusingHistory>());
    Press({60, 60});
    Move({60, 60}, Qt::LeftButton);
    ASSERT_NE(navi.grab().toImage(), before);  // painted with the stroke
    Release({60, 60});
    EXPECT_EQ(navi.grab().toImage(), before);
    EXPECT_FALSE(app->Document().IsModified());

    app->Document().SetModifiedFlag(true);
    Press({60, 60});
    Move({60, 60}, Qt::LeftButton);
    Release({60, 60});
    EXPECT_TRUE(app->Document().IsModified());
}

// A file opened while the left button still draws: the old image's stroke is no step of the new
// image's history.
TEST_F(PenToolTest, AnImageOpenedDuringAStrokeStartsWithAnEmptyHistory) {
    StartWithImage();
    Click({200, 60});
    Press({60, 60});
    Move({60, 60}, Qt::LeftButton);
    ASSERT_TRUE(app->OpenImageFile(WriteImage("other.png")));
    EXPECT_EQ(History().UndoCount(), 0);
    EXPECT_EQ(History().RedoCount(), 0);
    Release({60, 60});
    EXPECT_EQ(History().UndoCount(), 0);
    EXPECT_EQ(app->Model().image.WorkImage.ReadPixel(1, 1), Rgb(255, 0, 0));
    // Nothing of the old image's steps is left in the work folder.
    const auto folder = WorkFolder(temp.Path()).GetWorkFolder({}, prompter);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

TEST_F(PenToolTest, FileNewEmptiesTheHistoryAndRemovesTheBarrierAsALoadDoes) {
    ui::CVemmarView& view = StartWithImage();
    Click({200, 60});
    Click({60, 60});
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(History().UndoCount(), 1);
    ASSERT_EQ(History().RedoCount(), 1);
    auto& barrier = dynamic_cast<ui::BarrierTool&>(app->MainFrame()->Input()->Hooks().Barrier());
    const std::vector<Point> triangle{{20, 20}, {80, 20}, {80, 60}};
    ASSERT_TRUE(barrier.Model().ReplaceVertices(triangle));

    prompter.answers.push_back(Answer::No);  // do not save the edits
    Run(cmd::ID_FILE_NEW);
    EXPECT_EQ(History().UndoCount(), 0);
    EXPECT_EQ(History().RedoCount(), 0);
    EXPECT_EQ(barrier.Model().Count(), 0);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_UNDO).enabled);
    const std::size_t messages = prompter.shown.size();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(prompter.shown.size(), messages);
    const auto folder = WorkFolder(temp.Path()).GetWorkFolder({}, prompter);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

TEST_F(PenToolTest, ToleranceDecidesWhichPixelsTheRealColourPenPaints) {
    StartWithImage();
    Ribbon().SetColour(cmd::ID_PEN_REAL, Rgb(0, 0, 255));
    Run(cmd::ID_PEN_REAL);
    ImageState& image = app->Model().image;
    image.WorkImage.Row(60)[60] = PixelFromColour(Rgb(109, 91, 100));   // within 2 x 5
    image.WorkImage.Row(61)[61] = PixelFromColour(Rgb(110, 100, 100));  // one too far
    Click({58, 58});
    EXPECT_EQ(PixelAt(60, 60), Rgb(0, 0, 255));
    EXPECT_EQ(PixelAt(61, 61), Rgb(110, 100, 100));
    EXPECT_EQ(PixelAt(52, 52), Rgb(0, 0, 255));
    // All colours: the block's edge under the range goes too.
    Run(cmd::ID_COL_ALL);
    Click({150, 100});
    EXPECT_EQ(PixelAt(155, 105), Rgb(0, 0, 255));
    EXPECT_EQ(PixelAt(145, 95), Rgb(0, 0, 255));
}

// A tolerance stored beyond the slider's 1 to 9 (an edited or older settings file) is used as 9.
TEST_F(PenToolTest, AStoredToleranceAboveNineActsAsNine) {
    setting::kKinji.Write(store, 50);
    StartWithImage();
    Ribbon().SetColour(cmd::ID_PEN_REAL, Rgb(0, 0, 255));
    Run(cmd::ID_PEN_REAL);
    ImageState& image = app->Model().image;
    image.WorkImage.Row(60)[60] = PixelFromColour(Rgb(117, 83, 100));   // within 2 x 9
    image.WorkImage.Row(61)[61] = PixelFromColour(Rgb(118, 100, 100));  // within 2 x 50 only
    Click({58, 58});
    EXPECT_EQ(PixelAt(60, 60), Rgb(0, 0, 255));
    EXPECT_EQ(PixelAt(61, 61), Rgb(118, 100, 100));
}

TEST_F(PenToolTest, TheWholeImageRangeChangesEveryMatchAtThePressAndRefusesAllColours) {
    StartWithImage(1.0f, 50, 40);
    Run(cmd::ID_HANI_ALL);
    Press({5, 5});
    Move({8, 8}, Qt::LeftButton);
    Release({8, 8});
    EXPECT_TRUE(PixelsAre({{0, 0, 50, 40}}, kKey));
    EXPECT_EQ(History().UndoCount(), 1);
    EXPECT_TRUE(History().NewestUndoStep()->whole);

    Run(cmd::ID_COL_ALL);
    Click({5, 5});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, 30003);
    EXPECT_EQ(History().UndoCount(), 1);

    // The fill-back pen has no colour target: all colours do not stop it. Every key pixel takes
    // its neighbours' colour; outside the image counts as white.
    Run(cmd::ID_PEN_FILL);
    std::vector<int> positions;
    QObject listening;  // ends the connection before `positions` goes
    QProgressBar* progress = Bar().ProgressBar();
    QObject::connect(progress, &QProgressBar::valueChanged, &listening,
                     [&positions](int value) { positions.push_back(value); });
    Click({5, 5});
    EXPECT_EQ(PixelAt(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(PixelAt(49, 39), Rgb(255, 255, 255));
    EXPECT_EQ(History().UndoCount(), 2);
    EXPECT_EQ(progress->maximum(), 50);
    EXPECT_EQ(positions, (std::vector<int>{20, 40, 0}));
    EXPECT_EQ(prompter.shown.size(), 1u);
}

// The whole-image fill-back's step is where the key was, not a copy of the image: undone and
// redone by the keys, every state comes back bit for bit.
TEST_F(PenToolTest, TheWholeImageFillBackIsUndoneAndRedoneBitForBitFromItsKeyRuns) {
    ui::CVemmarView& view = StartWithImage();
    std::vector<Bitmap> states;
    const auto keep = [&] {
        const Bitmap& image = app->Model().image.WorkImage;
        Bitmap copy;
        ASSERT_TRUE(copy.Create(image.Width(), image.Height()));
        ASSERT_TRUE(CopyBitmapBits(image, copy));
        states.push_back(std::move(copy));
    };
    keep();
    // Key pixels over the edge of the red block, so that the refill mixes colours.
    Press({160, 110});
    Move({160, 110}, Qt::LeftButton);
    Move({172, 118}, Qt::LeftButton);
    Release({172, 118});
    keep();
    Run(cmd::ID_HANI_ALL);
    Run(cmd::ID_PEN_FILL);
    Click({5, 5});
    keep();
    EXPECT_EQ(History().NewestUndoStep()->kind, SnapshotKind::FillBack);
    EXPECT_NE(PixelAt(160, 110), kKey);
    // Every grey pixel made the key, and refilled.
    Run(cmd::ID_PEN_TRANS);
    Click({5, 5});
    keep();
    Run(cmd::ID_PEN_FILL);
    Click({5, 5});
    keep();
    EXPECT_EQ(History().NewestUndoStep()->kind, SnapshotKind::FillBack);
    view.setFocus();
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_TRUE(test::SameBitmaps(states[i - 1], app->Model().image.WorkImage, "undo")) << i;
    }
    for (std::size_t i = 1; i < states.size(); ++i) {
        QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
        ASSERT_TRUE(test::SameBitmaps(states[i], app->Model().image.WorkImage, "redo")) << i;
    }
    EXPECT_EQ(Shown(160, 110), PixelFromColour(PixelAt(160, 110)));  // repainted
    EXPECT_TRUE(prompter.shown.empty());
}

// A key scattered pixel by pixel would cost more as runs than as one bit a pixel: the step keeps
// the bits, a thirty-second of the image, and still no copy of it.
TEST_F(PenToolTest, AWholeImageFillBackOfARaggedKeyKeepsTheBitsOfTheKey) {
    StartWithImage();
    Bitmap& image = app->Model().image.WorkImage;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = y % 2; x < image.Width(); x += 2) {
            image.Row(y)[x] = PixelFromColour(kKey);
        }
    }
    Bitmap checks;
    ASSERT_TRUE(checks.Create(image.Width(), image.Height()));
    ASSERT_TRUE(CopyBitmapBits(image, checks));
    Run(cmd::ID_HANI_ALL);
    Run(cmd::ID_PEN_FILL);
    Click({5, 5});
    const auto step = History().NewestUndoStep();
    EXPECT_EQ(step->kind, SnapshotKind::FillBack);
    const std::size_t pixels = checks.PixelCount();
    EXPECT_GE(History().HeldPixels(), pixels / 32);  // the bits, more than the runs would be
    EXPECT_LT(History().HeldPixels(), pixels / 16);
    EXPECT_EQ(PixelAt(1, 0), kGrey);
    EXPECT_EQ(PixelAt(0, 0), Rgb(210, 210, 210));  // five white outside, two grey neighbours
    Bitmap filled;
    ASSERT_TRUE(filled.Create(image.Width(), image.Height()));
    ASSERT_TRUE(CopyBitmapBits(app->Model().image.WorkImage, filled));
    Run(cmd::ID_UNDO);
    EXPECT_TRUE(test::SameBitmaps(checks, app->Model().image.WorkImage, "undo"));
    Run(cmd::ID_REDO);
    EXPECT_TRUE(test::SameBitmaps(filled, app->Model().image.WorkImage, "redo"));
}

// A stroke that a quarter turn cut off keeps no step, yet stays in the image: undoing the
// fill-back before it and redoing it must give that image back, stroke and all.
TEST_F(PenToolTest, AStrokeLeftWithoutAStepSurvivesTheUndoAndRedoOfAFillBack) {
    ui::CVemmarView& view = StartWithImage();
    Click({60, 60});
    Run(cmd::ID_HANI_ALL);
    Run(cmd::ID_PEN_FILL);
    Click({5, 5});
    Run(cmd::ID_HANI_PART);
    Run(cmd::ID_PEN_TRANS);
    Press({120, 60});
    Move({120, 60}, Qt::LeftButton);
    Run(cmd::ID_ROT_90);
    Release({120, 60});
    EXPECT_EQ(History().UndoCount(), 3);  // the click, the fill-back and the turn
    Run(cmd::ID_UNDO);                    // the turn
    ASSERT_EQ(app->Model().image.width, 300);
    EXPECT_EQ(PixelAt(120, 60), kKey);  // the stroke, turned back with the image
    Bitmap before;
    ASSERT_TRUE(before.Create(300, 200));
    ASSERT_TRUE(CopyBitmapBits(app->Model().image.WorkImage, before));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(PixelAt(60, 60), kKey);
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(test::SameBitmaps(before, app->Model().image.WorkImage));
}

TEST_F(PenToolTest, TheOutlineShowsTheShapeTheSwatchAndTheReadout) {
    ui::CVemmarView& view = StartWithImage();
    const QRgb inverse = qRgb(155, 155, 155);
    Move({60, 60});
    EXPECT_EQ(view.OverlayRect(), (Rect{0, 33, 120, 84}));
    EXPECT_EQ(Shown(55, 70), inverse);  // the corners (50, 50) to (70, 70)
    EXPECT_EQ(Shown(70, 65), inverse);
    EXPECT_EQ(Shown(60, 55), qRgb(100, 100, 100));
    EXPECT_EQ(Shown(75, 75), qRgb(100, 100, 100));  // the swatch: the pixel's colour
    // The readout's white box with red text above the pointer.
    const QImage shown = view.Rendered();
    int red = 0;
    int white = 0;
    for (int y = 33; y < 53; ++y) {
        for (int x = 0; x < 120; ++x) {
            red += (shown.pixel(x, y) | 0xFF000000u) == qRgb(255, 0, 0) ? 1 : 0;
            white += (shown.pixel(x, y) | 0xFF000000u) == qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_GT(white, 50);

    // Over the key the swatch shows the background. The key is this pen's drawing colour, so
    // the cursor stop would move the pointer off it: switched off here.
    Settings().stopCursor = 0;
    app->Model().image.WorkImage.Row(80)[80] = PixelFromColour(kKey);
    Move({80, 80});
    EXPECT_EQ(Shown(95, 95), kShownBackground);
    EXPECT_EQ(Shown(70, 85), qRgb(255, 0, 255));  // inverse of the key

    // Triangle: apex above the pointer, base below; the fill-back pen has no swatch or readout.
    Run(cmd::ID_PEN_FILL);
    Settings().penStyle = 2;
    Move({60, 60});
    EXPECT_EQ(view.OverlayRect(), (Rect{45, 45, 84, 84}));
    EXPECT_EQ(Shown(60, 50), inverse);
    EXPECT_EQ(Shown(50, 70), inverse);
    EXPECT_EQ(Shown(50, 50), qRgb(100, 100, 100));
    EXPECT_EQ(Shown(75, 75), qRgb(100, 100, 100));

    // The ellipse's traced points, from the right end of its axis.
    Settings().penStyle = 1;
    Move({60, 60});
    EXPECT_EQ(Shown(70, 60), inverse);
    EXPECT_EQ(Shown(50, 50), qRgb(100, 100, 100));

    // A stored size beyond the spin range is used as its limit.
    Run(cmd::ID_PEN);
    Settings().penStyle = 0;
    Settings().rangeSize = 9999;
    Move({60, 60});
    EXPECT_EQ(view.OverlayRect(), (Rect{-195, -195, 315, 315}));

    // The whole-image range draws no shape.
    Run(cmd::ID_HANI_ALL);
    Move({60, 61});
    EXPECT_EQ(Shown(70, 61), qRgb(100, 100, 100));
    EXPECT_FALSE(view.OverlayRect().IsEmpty());
    Move({400, 61});  // beside the image
    EXPECT_TRUE(view.OverlayRect().IsEmpty());
}

QSpinBox* SpinOf(ui::CMyRibbonBar& ribbon, int id) {
    for (const ui::RibbonElement& element : ribbon.Elements()) {
        if (auto* edit = qobject_cast<ui::RibbonSpinEdit*>(element.widget);
            edit != nullptr && element.row->id == id) {
            return edit->Edit();
        }
    }
    return nullptr;
}

TEST_F(PenToolTest, TheControlsSetTheRangeWithinTheirLimitsAndTheSettingsKeepIt) {
    StartWithImage();
    ui::CMyRibbonBar& ribbon = Ribbon();
    Run(cmd::ID_HANI_ALL);
    EXPECT_EQ(Settings().wholeImage, 1);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_HANI_ALL), 12);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_HANI_PART), 11);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_HANI_ALL).checked);
    Run(cmd::ID_HANI_PART);
    EXPECT_EQ(Settings().wholeImage, 0);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_HANI_PART), 12);
    Run(cmd::ID_COL_ALL);
    EXPECT_EQ(Settings().allColours, 1);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_COL_ALL), 12);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_COL_ALL).checked);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_COL_KINJI).checked);

    // Typed values beyond the spin ranges are pulled into them.
    const auto type = [&](int id, const QString& text) {
        QSpinBox* spin = SpinOf(ribbon, id);
        ASSERT_NE(spin, nullptr);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, text);
        QTest::keyClick(spin, Qt::Key_Return);
    };
    type(cmd::ID_HANI_SPIN, "750");
    EXPECT_EQ(Settings().rangeSize, 500);
    EXPECT_EQ(ribbon.EditText(cmd::ID_HANI_SPIN), "500");
    type(cmd::ID_HANI_SPIN, "0");
    EXPECT_EQ(Settings().rangeSize, 1);
    type(cmd::ID_HANI_SPIN, "42");
    EXPECT_EQ(Settings().rangeSize, 42);
    type(cmd::ID_FLAT_SPIN, "99");
    EXPECT_EQ(Settings().flatness, 95);
    EXPECT_EQ(ribbon.EditText(cmd::ID_FLAT_SPIN), "95");
    type(cmd::ID_FLAT_SPIN, "30");
    EXPECT_EQ(Settings().flatness, 30);

    ribbon.Slider(cmd::ID_KINJI_SLIDER)->Step(3);
    EXPECT_EQ(Settings().tolerance, 8);
    ribbon.Slider(cmd::ID_KINJI_SLIDER)->Step(3);
    EXPECT_EQ(Settings().tolerance, 9);
    auto* gallery = qobject_cast<ui::RibbonGallery*>(ribbon.Button(cmd::ID_PEN_STYLE));
    ASSERT_NE(gallery, nullptr);
    gallery->Choose(1);
    EXPECT_EQ(Settings().penStyle, 1);

    // F4 flips the flattening direction and the button names it; F5 to F7 choose the shape.
    EXPECT_EQ(app->Router().StateOf(cmd::ID_FLAT_HV).text, QString("扁平方向:垂直"));
    ui::CVemmarView* view = app->View();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F4);
    EXPECT_EQ(Settings().flatDirection, 1);
    EXPECT_EQ(ribbon.Button(cmd::ID_FLAT_HV)->Label(), "扁平方向:水平");
    const std::pair<Qt::Key, int> shapeKeys[] = {{Qt::Key_F7, 2}, {Qt::Key_F5, 0}, {Qt::Key_F6, 1}};
    for (const auto& [key, shape] : shapeKeys) {
        QTest::keyClick(view, key);
        EXPECT_EQ(Settings().penStyle, shape);
        EXPECT_EQ(ribbon.GallerySelection(cmd::ID_PEN_STYLE), shape);
    }

    app->ExitInstance();
    EXPECT_EQ(store.ReadInt("Last", "Hani"), 42);
    EXPECT_EQ(store.ReadInt("Last", "Flat"), 30);
    EXPECT_EQ(store.ReadInt("Last", "FlatH"), 1);
    EXPECT_EQ(store.ReadInt("Last", "Kinji"), 9);
    EXPECT_EQ(store.ReadInt("Last", "KinjiAll"), 1);
    EXPECT_EQ(store.ReadInt("Last", "HaniAll"), 0);
    EXPECT_EQ(store.ReadInt("Last", "PenStyle"), 1);
}

TEST_F(PenToolTest, TheRightButtonDragsTheSizeAndFlatnessAndOpensNoMenu) {
    StartWithImage();
    ui::CMyRibbonBar& ribbon = Ribbon();
    Press({100, 100}, Qt::RightButton);
    Move({104, 96}, Qt::RightButton);  // 4 pixels: nothing
    EXPECT_EQ(Settings().rangeSize, 20);
    Move({105, 100}, Qt::RightButton);
    EXPECT_EQ(Settings().rangeSize, 25);
    EXPECT_EQ(ribbon.EditText(cmd::ID_HANI_SPIN), "25");
    Move({110, 100}, Qt::RightButton);  // from where the last step left the anchor
    EXPECT_EQ(Settings().rangeSize, 30);
    Move({110, 107}, Qt::RightButton);
    EXPECT_EQ(Settings().flatness, 7);
    EXPECT_EQ(ribbon.EditText(cmd::ID_FLAT_SPIN), "7");
    Release({110, 107}, Qt::RightButton);
    Move({130, 130});  // the button is up: no more steps
    EXPECT_EQ(Settings().rangeSize, 30);
    EXPECT_TRUE(menus.empty());

    Settings().rangeSize = 498;
    Press({100, 100}, Qt::RightButton);
    Move({105, 100}, Qt::RightButton);
    Move({200, 100}, Qt::RightButton);
    EXPECT_EQ(Settings().rangeSize, 500);
    Release({200, 100}, Qt::RightButton);

    // Ctrl with the press flips the direction, which swaps the axes.
    Press({100, 100}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(Settings().flatDirection, 1);
    Move({106, 100}, Qt::RightButton);
    EXPECT_EQ(Settings().flatness, 13);
    EXPECT_EQ(Settings().rangeSize, 500);
    Release({106, 100}, Qt::RightButton);
    EXPECT_TRUE(menus.empty());
}

TEST_F(PenToolTest, TheRightWheelTurnsTheRangeAndTheRightDoubleClickChangesTheShape) {
    StartWithImage();
    Wheel({60, 60}, 120, Qt::RightButton, Qt::NoModifier);
    EXPECT_NEAR(Settings().penAngle, 6.108185307, 1e-9);
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_ANGLE), "349度");
    Wheel({60, 60}, -120, Qt::RightButton, Qt::NoModifier);  // back within 0.012: exactly 0
    EXPECT_EQ(Settings().penAngle, 0.0);
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_ANGLE), "360度");
    Wheel({60, 60}, -120, Qt::RightButton, Qt::ControlModifier);
    EXPECT_NEAR(Settings().penAngle, 0.0175, 1e-12);
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_ANGLE), "1度");

    Settings().penAngle = 0.0;
    Send(QEvent::MouseButtonDblClick, {60, 60}, Qt::RightButton, Qt::RightButton);
    Release({60, 60}, Qt::RightButton);
    EXPECT_EQ(Settings().penStyle, 1);
    EXPECT_EQ(Ribbon().GallerySelection(cmd::ID_PEN_STYLE), 0);  // the gallery keeps its item
    EXPECT_EQ(Shown(70, 60), qRgb(155, 155, 155));               // the ellipse is drawn
    // The whole-image range has no shape to change.
    Run(cmd::ID_HANI_ALL);
    Send(QEvent::MouseButtonDblClick, {60, 60}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(Settings().penStyle, 1);
    EXPECT_TRUE(menus.empty());
}

}  // namespace
}  // namespace palvex
