#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "app/app_settings.h"
#include "app/ui/qt_text.h"
#include "canvas/navigator_layout.h"
#include "canvas/ui/navi_dlg.h"
#include "canvas/ui/navigator_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"
#include "tools/ui/pointer_animator.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

constexpr Pixel kRed = 0xFFFF0000u;

// A fixed generator: every draw is the same number.
RingRandom Fixed(std::uint32_t value) {
    return [value] { return value; };
}

class NavigatorTest : public test::AppFixture {
protected:
    // A 400 x 300 red image with a white key column, in an 800 x 600 window.
    void StartWithImage(int width = 400, int height = 300) {
        Bitmap image = test::SolidBitmap(width, height, kRed);
        image.Row(0)[0] = 0x00FFFFFFu;
        const auto path = temp.File("navi.png");
        test::WriteFileBytes(path, test::EncodeRgbaPng(image));
        ASSERT_TRUE(Start({ui::PathToQString(path)}));
        app->MainFrame()->resize(800, 600);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    }

    ui::NavigatorTool& Tool() { return *app->MainFrame()->Navigator(); }
    ui::CNaviDlg& Navi() {
        if (Tool().Navigator() == nullptr) {
            Run(cmd::ID_NAVI_DSP);
        }
        ui::CNaviDlg& navi = *Tool().Navigator();
        navi.execMenu = [this](QMenu& menu, const QPoint&) {
            items.clear();
            for (QAction* action : menu.actions()) {
                if (action->menu() != nullptr) {
                    for (QAction* inner : action->menu()->actions()) {
                        items.push_back(inner);
                    }
                } else if (!action->isSeparator()) {
                    items.push_back(action);
                }
            }
            shownMenu = menu.objectName();
            enabled.clear();
            checked.clear();
            for (QAction* action : items) {
                enabled[action->data().toInt()] = action->isEnabled();
                checked[action->data().toInt()] = action->isChecked();
            }
        };
        navi.moveCursor = [this](const QPoint& global) { cursorMoves.push_back(global); };
        navi.makeRandom = [] { return Fixed(3); };
        return navi;
    }
    ui::CVemmarView& View() { return *app->View(); }
    void Run(int id) { app->Router().Dispatch(id); }
    bool Checked(int id) { return app->Router().StateOf(id).checked; }

    void Send(QWidget* widget, QEvent::Type type, QPoint p, Qt::MouseButton button,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(
            type, QPointF(p), QPointF(widget->mapToGlobal(p)),
            type == QEvent::MouseMove ? Qt::NoButton : button,
            type == QEvent::MouseMove ? (dragging ? Qt::LeftButton : Qt::NoButton) : held,
            modifiers);
        QApplication::sendEvent(widget, &event);
    }
    void Press(QPoint p) {
        dragging = true;
        Send(&Navi(), QEvent::MouseButtonPress, p, Qt::LeftButton);
    }
    void MoveTo(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Send(&Navi(), QEvent::MouseMove, p, Qt::NoButton, modifiers);
    }
    void Release(QPoint p) {
        dragging = false;
        Send(&Navi(), QEvent::MouseButtonRelease, p, Qt::LeftButton);
    }

    bool dragging = false;
    std::vector<QAction*> items;
    QString shownMenu;
    std::map<int, bool> enabled;
    std::map<int, bool> checked;
    std::vector<QPoint> cursorMoves;
};

TEST_F(NavigatorTest, F8ShowsAndHidesTheNavigatorAndEscapeHidesItToo) {
    StartWithImage();
    EXPECT_EQ(Tool().Navigator(), nullptr);  // made at its first display
    Run(cmd::ID_NAVI_DSP);
    ASSERT_NE(Tool().Navigator(), nullptr);
    EXPECT_TRUE(Tool().Navigator()->isVisible());
    EXPECT_TRUE(Checked(cmd::ID_NAVI_DSP));
    EXPECT_EQ(app->Model().settings.showNavigator, 1);
    Run(cmd::ID_NAVI_DSP);
    EXPECT_FALSE(Tool().Navigator()->isVisible());
    EXPECT_FALSE(Checked(cmd::ID_NAVI_DSP));
    Run(cmd::ID_NAVI_DSP);
    QTest::keyClick(Tool().Navigator(), Qt::Key_Escape);
    EXPECT_FALSE(Tool().Navigator()->isVisible());
    EXPECT_EQ(app->Model().settings.showNavigator, 0);
}

TEST_F(NavigatorTest, StartUpRestoresTheStoredNavigatorKeptOnItsScreenAndClosingWritesIt) {
    setting::kDspNavi.Write(store, 1);
    setting::kNaviLastPX.Write(store, 5000);  // a monitor that is gone
    setting::kNaviLastPY.Write(store, 40);
    setting::kNaviLastSX.Write(store, 250);
    setting::kNaviLastSY.Write(store, 260);
    StartWithImage();
    ui::CNaviDlg* navi = Tool().Navigator();
    ASSERT_NE(navi, nullptr);
    EXPECT_TRUE(navi->isVisible());
    const QRect screen = app->MainFrame()->screen()->geometry();
    EXPECT_EQ(navi->geometry(), QRect(screen.right() + 1 - 250, 40, 250, 260));

    navi->move(30, 50);
    app->Document().SetModifiedFlag(false);
    app->MainFrame()->close();
    app->ExitInstance();
    app.reset();
    EXPECT_EQ(setting::kNaviLastPX.Read(store), 30);
    EXPECT_EQ(setting::kNaviLastPY.Read(store), 50);
    EXPECT_EQ(setting::kNaviLastSX.Read(store), 250);
    EXPECT_EQ(setting::kDspNavi.Read(store), 1);
}

TEST_F(NavigatorTest, TheFrameShowsTheCanvasPartAndDraggingItScrollsTheCanvas) {
    StartWithImage();
    ui::CNaviDlg& navi = Navi();
    navi.resize(200, 200);
    // 100 %: the whole image is on the canvas, so the frame is the thumbnail.
    EXPECT_EQ(navi.ViewFrame(), navi.Thumbnail().rect);
    Run(cmd::ID_ZOOM4);  // 1600 x 1200 on the canvas
    const NavigatorThumbnail thumb = navi.Thumbnail();
    EXPECT_FLOAT_EQ(thumb.scale, 0.5f);
    EXPECT_EQ(thumb.rect, (Rect{0, 25, 200, 175}));
    const Rect frame = navi.ViewFrame();
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 25);
    const Size client = View().ClientArea();
    EXPECT_EQ(frame.right, static_cast<int>(static_cast<float>(client.width / 4) * 0.5f));

    // 20 navigator pixels are 20 x 4 / 0.5 = 160 canvas pixels.
    Press({frame.left + 5, frame.top + 5});
    MoveTo({frame.left + 25, frame.top + 15});
    Release({frame.left + 25, frame.top + 15});
    EXPECT_EQ(View().ScrollPosition(), (Point{160, 80}));
    EXPECT_EQ(navi.ViewFrame().left, 20);
    EXPECT_EQ(navi.ViewFrame().top, 35);
}

TEST_F(NavigatorTest, AFrameDragPastTheEdgeMovesTheWindowInstead) {
    StartWithImage();
    ui::CNaviDlg& navi = Navi();
    navi.resize(200, 200);
    navi.move(100, 100);
    Run(cmd::ID_ZOOM4);
    const Rect frame = navi.ViewFrame();
    Press({frame.left + 5, frame.top + 5});
    MoveTo({frame.left + 2, frame.top + 5});  // the canvas is already at its left edge
    EXPECT_EQ(View().ScrollPosition(), (Point{0, 0}));
    MoveTo({frame.left + 12, frame.top + 25});
    Release({frame.left + 12, frame.top + 25});
    EXPECT_EQ(navi.pos(), QPoint(110, 120));
    EXPECT_EQ(View().ScrollPosition(), (Point{0, 0}));
}

TEST_F(NavigatorTest, TheMenuFollowsTheZoomAndItsItemsAct) {
    StartWithImage();
    ui::CNaviDlg& navi = Navi();
    navi.resize(200, 200);
    Run(cmd::ID_ZOOM4);
    Send(&navi, QEvent::MouseButtonRelease, QPoint(100, 100), Qt::RightButton);
    EXPECT_EQ(shownMenu, "NAVI");
    EXPECT_TRUE(enabled[cmd::ID_ZOOM_HERE]);
    EXPECT_FALSE(enabled[cmd::ID_ZOOM_100_HERE]);
    EXPECT_TRUE(checked[cmd::ID_ZOOM4]);
    EXPECT_FALSE(checked[cmd::ID_ZOOM2]);
    ASSERT_EQ(items.size(), 11u);

    // "Zoom in here" at the context point (100, 100): image pixel (200, 150) at 800 %.
    navi.OnMenuCommand(cmd::ID_ZOOM_HERE);
    EXPECT_EQ(app->Model().settings.zoomFactor, 8.0f);
    EXPECT_EQ(View().ZoomSliderPosition(), 5);
    const Size client = View().ClientArea();
    const Point scroll = View().ScrollPosition();
    EXPECT_NEAR(scroll.x + client.width / 2, 1600, 1);
    EXPECT_NEAR(scroll.y + client.height / 2, 1200, 1);

    navi.OnMenuCommand(cmd::ID_ZOOM1);  // the slider stays
    EXPECT_EQ(app->Model().settings.zoomFactor, 0.5f);
    EXPECT_EQ(View().ZoomSliderPosition(), 5);

    navi.OnMenuCommand(cmd::ID_NAVI_FIT_WIDTH);
    EXPECT_EQ(navi.size(), QSize(200, 150));
    navi.OnMenuCommand(cmd::ID_NAVI_FIT_HEIGHT);
    EXPECT_EQ(navi.size(), QSize(200, 150));
    navi.resize(100, 300);
    navi.OnMenuCommand(cmd::ID_NAVI_FIT_HEIGHT);
    EXPECT_EQ(navi.size(), QSize(400, 300));

    navi.OnMenuCommand(cmd::ID_NAVI_HIDE);
    EXPECT_FALSE(navi.isVisible());
    EXPECT_EQ(app->Model().settings.showNavigator, 0);
}

TEST_F(NavigatorTest, WithoutAnImageTheAspectFitsAreOffAndDoNothing) {
    ASSERT_TRUE(Start());
    ui::CNaviDlg& navi = Navi();
    navi.resize(180, 170);
    Send(&navi, QEvent::MouseButtonRelease, QPoint(50, 50), Qt::RightButton);
    EXPECT_FALSE(enabled[cmd::ID_NAVI_FIT_WIDTH]);
    EXPECT_FALSE(enabled[cmd::ID_NAVI_FIT_HEIGHT]);
    navi.OnMenuCommand(cmd::ID_NAVI_FIT_WIDTH);
    navi.OnMenuCommand(cmd::ID_NAVI_FIT_HEIGHT);
    EXPECT_EQ(navi.size(), QSize(180, 170));
    EXPECT_TRUE(navi.ViewFrame().IsEmpty());
}

TEST_F(NavigatorTest, DoubleClickZoomsInAndAtEightHundredBackToOneHundred) {
    StartWithImage();
    ui::CNaviDlg& navi = Navi();
    navi.resize(200, 200);
    Send(&navi, QEvent::MouseButtonDblClick, QPoint(50, 50), Qt::LeftButton);
    EXPECT_EQ(app->Model().settings.zoomFactor, 8.0f);
    Send(&navi, QEvent::MouseButtonDblClick, QPoint(50, 50), Qt::LeftButton);
    EXPECT_EQ(app->Model().settings.zoomFactor, 1.0f);
    EXPECT_EQ(View().ZoomSliderPosition(), 2);
    // Outside the thumbnail nothing happens.
    Send(&navi, QEvent::MouseButtonDblClick, QPoint(50, 5), Qt::LeftButton);
    EXPECT_EQ(app->Model().settings.zoomFactor, 1.0f);
}

TEST_F(NavigatorTest, AtEightHundredThePointerSnapsToTheFrameCentreUnlessCtrlIsHeld) {
    StartWithImage();
    ui::CNaviDlg& navi = Navi();
    navi.resize(200, 200);
    app->Model().settings.animationRings = 0;
    Run(cmd::ID_ZOOM5);
    const Rect frame = navi.ViewFrame();
    const Point centre = FrameCentre(frame);
    MoveTo({centre.x + 3, centre.y + 2}, Qt::ControlModifier);
    EXPECT_TRUE(cursorMoves.empty());
    MoveTo({centre.x + 3, centre.y + 2});
    ASSERT_EQ(cursorMoves.size(), 1u);
    EXPECT_EQ(cursorMoves[0], navi.mapToGlobal(QPoint(centre.x, centre.y)));
    EXPECT_TRUE(navi.Snapped());
    EXPECT_EQ(app->MainFrame()->StatusBar()->Guide(), ui::ToQString(texts::kGuideCursorHeld));
    MoveTo({centre.x + 4, centre.y + 2});  // snapped: no second jump
    EXPECT_EQ(cursorMoves.size(), 1u);
}

TEST_F(NavigatorTest, RingsRunWhileThePointerIsInTheFrameAndStopWhenItLeaves) {
    StartWithImage();
    ui::CNaviDlg& navi = Navi();
    navi.resize(200, 200);
    app->Model().settings.animationRings = 3;
    // Over the whole image the frame marks nothing: no rings.
    MoveTo({100, 100});
    EXPECT_FALSE(navi.Animating());
    Run(cmd::ID_ZOOM4);
    const Rect frame = navi.ViewFrame();
    MoveTo({frame.left + 10, frame.top + 10});
    EXPECT_TRUE(navi.Animating());
    EXPECT_EQ(navi.Rings().count, 3);
    const int phase = navi.Rings().rings[0].phase;
    navi.AnimationTick();
    EXPECT_EQ(navi.Rings().rings[0].phase, (phase + 1) % kRingPositions);
    MoveTo({frame.right + 20, frame.bottom + 10});
    EXPECT_FALSE(navi.Animating());
}

class AnimationTest : public NavigatorTest {
protected:
    ui::PointerAnimator& Animator() {
        ui::PointerAnimator& animator = Tool().Animator();
        animator.makeRandom = [] { return Fixed(5); };
        return animator;
    }
};

TEST_F(AnimationTest, BarrierHoverStartsKeepsAndStopsTheRings) {
    StartWithImage();
    app->Model().settings.animationRings = 2;
    app->Model().settings.animationSpeed = 2;
    ui::PointerAnimator& animator = Animator();
    animator.HoverBarrier(ui::PointerAnimator::kInsideTarget, {100, 100}, false);
    EXPECT_FALSE(animator.Running());
    animator.HoverBarrier(4, {100, 100}, true);  // already selected: nothing to point out
    EXPECT_FALSE(animator.Running());

    animator.HoverBarrier(4, {100, 100}, false);
    ASSERT_TRUE(animator.Running());
    EXPECT_EQ(animator.Target(), 4);
    EXPECT_EQ(animator.Timer().interval(), 25);
    EXPECT_EQ(animator.Rings().count, 2);
    animator.Tick();
    EXPECT_EQ(View().OverlayRect(), animator.Rings().box);
    EXPECT_EQ(animator.Rings().rings[0].phase, 1);
    EXPECT_EQ(animator.Rings().rings[1].phase, 59);

    animator.HoverBarrier(4, {104, 100}, false);  // the same point: keeps running
    EXPECT_TRUE(animator.Running());
    animator.HoverBarrier(-3, {120, 100}, false);  // another target: stops
    EXPECT_FALSE(animator.Running());
    EXPECT_TRUE(View().OverlayRect().IsEmpty());
    animator.HoverBarrier(-3, {120, 100}, false);  // the next move starts its own
    EXPECT_EQ(animator.Target(), -3);
    animator.HoverBarrier(-1, {300, 100}, false);
    EXPECT_FALSE(animator.Running());

    app->Model().settings.animationRings = 0;
    animator.HoverBarrier(4, {100, 100}, false);
    EXPECT_FALSE(animator.Running());
}

TEST_F(AnimationTest, RingsStopWhenThePointerLeavesTheImageOrTheCanvas) {
    StartWithImage();
    app->Model().settings.animationRings = 2;
    ui::PointerAnimator& animator = Animator();
    QWidget* viewport = View().viewport();
    ASSERT_TRUE(animator.Start({100, 100}));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(viewport, &leave);
    EXPECT_FALSE(animator.Running());

    ASSERT_TRUE(animator.Start({100, 100}));
    const QPoint beside(700, 100);  // right of the 400-pixel image
    QMouseEvent move(QEvent::MouseMove, QPointF(beside), QPointF(viewport->mapToGlobal(beside)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    EXPECT_FALSE(animator.Running());
}

TEST_F(AnimationTest, TicksDrawTheDotsOnlyInTheirBoxAndNothingWhileSwitchedOff) {
    StartWithImage();
    app->Model().settings.animationRings = 1;
    ui::PointerAnimator& animator = Animator();
    const QImage before = View().Rendered();
    ASSERT_TRUE(animator.Start({150, 120}));
    animator.Tick();
    const QImage after = View().Rendered();
    const Rect box = animator.Rings().box;
    int changed = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (after.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                ASSERT_TRUE(box.Contains(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(changed, 0);
    // The darkest dot, at the phase drawn, is the last of its ring.
    const Point dark = animator.Rings().rings[0].positions[0];
    const Colour shade = DotShade(RingColour(0), 7);
    EXPECT_EQ(after.pixel(dark.x, dark.y) & 0xFFFFFFu,
              static_cast<QRgb>(RedOf(shade) << 16 | GreenOf(shade) << 8 | BlueOf(shade)));

    // F10 while running: the timer goes on, the dots go.
    app->Model().settings.animationRings = 0;
    animator.Tick();
    EXPECT_TRUE(View().OverlayRect().IsEmpty());
    EXPECT_EQ(View().Rendered(), before);
    animator.Stop();
}

TEST_F(AnimationTest, F10SwitchesBackToTheLastCountInUse) {
    StartWithImage();
    app->MainFrame()->StatusBar()->blockingWait = [](int) {};
    app->Model().settings.animationRings = 7;  // as the settings dialog leaves it in memory
    Run(cmd::ID_DSP_ANIME);
    EXPECT_EQ(app->Model().settings.animationRings, 0);
    Run(cmd::ID_DSP_ANIME);
    EXPECT_EQ(app->Model().settings.animationRings, 7);
}

TEST_F(AnimationTest, TheCursorStopMovesOffTheDrawingColourButNeverChasesItsOwnMove) {
    StartWithImage();
    AppSettings& settings = app->Model().settings;
    settings.toolMode = static_cast<int>(ToolMode::Pen);
    settings.stopCursor = 1;
    const Colour draw = Rgb(0, 0, 255);
    settings.drawColour = draw;
    Bitmap& image = app->Model().image.WorkImage;
    // A diagonal of the drawing colour from (4, 4) to (10, 10) with red round it.
    for (int i = 4; i <= 10; ++i) {
        image.WritePixel(i, i, draw);
    }
    Run(cmd::ID_ZOOM1);  // 50 %
    View().ScrollTo({0, 0});
    ui::CursorStopper& stop = app->MainFrame()->Input()->CursorStop();
    std::vector<QPoint> moves;
    stop.moveCursor = [&](const QPoint& global) { moves.push_back(global); };
    ui::CMyStatusBar& bar = *app->MainFrame()->StatusBar();

    // Window (5, 5) is pixel (10, 10): the first other neighbour is (9, 10), at window (4, 5).
    const auto moved = stop.Apply(app->Model(), View(), bar, {5, 5}, {10, 10}, false);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->q, (Point{9, 10}));
    EXPECT_EQ(moved->client, (Point{4, 5}));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], View().viewport()->mapToGlobal(QPoint(4, 5)));
    // The move our warp causes: window (4, 5) is pixel (8, 10) at 50 %, made of the drawing
    // colour here; it is taken as it is.
    image.WritePixel(8, 10, draw);
    EXPECT_FALSE(stop.Apply(app->Model(), View(), bar, {4, 5}, {8, 10}, false));
    EXPECT_EQ(moves.size(), 1u);

    // Ctrl, the fill-back pen and the switch turned off leave the pointer alone.
    EXPECT_FALSE(stop.Apply(app->Model(), View(), bar, {5, 5}, {10, 10}, true));
    settings.stopCursor = 0;
    EXPECT_FALSE(stop.Apply(app->Model(), View(), bar, {5, 5}, {10, 10}, false));
    settings.stopCursor = 1;
    settings.toolMode = static_cast<int>(ToolMode::FillBack);
    EXPECT_FALSE(stop.Apply(app->Model(), View(), bar, {5, 5}, {10, 10}, false));
    EXPECT_EQ(moves.size(), 1u);
}

}  // namespace
}  // namespace palvex
