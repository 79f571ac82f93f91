#include <QCoreApplication>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <limits>

#include "app/ui/qt_text.h"
#include "canvas/image_layer.h"
#include "canvas/ui/overlay_font.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/command_ids.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

class ViewTest : public test::AppFixture {
protected:
    ui::CVemmarView& StartWithImage(int width = 4, int height = 2) {
        Bitmap image = test::SolidBitmap(width, height, 0xFFFF0000u);
        image.Row(0)[0] = 0x00FFFFFFu;  // one transparent pixel: the key becomes white
        const auto path = temp.File("view.png");
        test::WriteFileBytes(path, test::EncodeRgbaPng(image));
        EXPECT_TRUE(Start({ui::PathToQString(path)}));
        app->MainFrame()->resize(800, 600);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        return *app->View();
    }

    static QRgb Pixel(ui::CVemmarView& view, int x, int y) {
        return view.Rendered().pixel(x, y) | 0xFF000000u;
    }
};

TEST_F(ViewTest, KeyPixelsShowTheBackgroundAndTheRestTheImage) {
    ui::CVemmarView& view = StartWithImage();
    EXPECT_EQ(Pixel(view, 0, 0), qRgb(255, 255, 128));  // the default pale yellow
    EXPECT_EQ(Pixel(view, 1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(Pixel(view, 10, 10), qRgb(214, 222, 231));  // beyond the image

    app->Router().Dispatch(cmd::ID_ALPHA1);
    EXPECT_EQ(Pixel(view, 0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(app->Model().settings.backgroundMode, kBackgroundChecker);

    app->Router().Dispatch(cmd::ID_ALPHA_0);
    EXPECT_TRUE(view.SeeThrough());
    EXPECT_EQ(qAlpha(view.Rendered().pixel(0, 0)), 0);  // the desktop shows here
    EXPECT_EQ(qAlpha(view.Rendered().pixel(1, 0)), 255);

    app->Router().Dispatch(cmd::ID_ALPHA2);
    EXPECT_FALSE(view.SeeThrough());
    EXPECT_EQ(Pixel(view, 0, 0), qRgb(255, 255, 255));  // the icon tile's white corner
}

TEST_F(ViewTest, FreeBackgroundNeedsAPicture) {
    StartWithImage();
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_ALPHA9).enabled);
    const auto picture = temp.File("bg.png");
    test::WriteFileBytes(picture, test::EncodeRgbaPng(test::SolidBitmap(3, 3, 0xFF00FF00u)));
    prompter.openChoice = SaveFileChoice{picture, 1};
    app->Router().Dispatch(cmd::ID_CHANGE_FREEBK);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_ALPHA9).enabled);
    EXPECT_EQ(app->Model().settings.backgroundMode, kBackgroundPicture);
    EXPECT_EQ(Pixel(*app->View(), 0, 0), qRgb(0, 255, 0));
    EXPECT_NE(store.ReadText("Last", "BkImage").value_or(""), "");

    const auto broken = temp.File("broken.png");
    test::WriteFileBytes(broken, {1, 2, 3});
    prompter.openChoice = SaveFileChoice{broken, 1};
    app->Router().Dispatch(cmd::ID_CHANGE_FREEBK);
    EXPECT_EQ(prompter.shown.back().id, 30022);
    EXPECT_EQ(store.ReadText("Last", "BkImage"), "");
}

TEST_F(ViewTest, TheFreeBackgroundSurvivesARestart) {
    StartWithImage();
    const auto picture = temp.File("bg.png");
    test::WriteFileBytes(picture, test::EncodeRgbaPng(test::SolidBitmap(3, 3, 0xFF00FF00u)));
    prompter.openChoice = SaveFileChoice{picture, 1};
    app->Router().Dispatch(cmd::ID_CHANGE_FREEBK);
    const std::string copy = store.ReadText("Last", "BkImage").value_or("");
    ASSERT_FALSE(copy.empty());
    ASSERT_TRUE(app->MainFrame()->close());
    app->ExitInstance();
    app.reset();

    // The same settings and work folder, as at the next start.
    ui::CVemmarView& view = StartWithImage();
    EXPECT_EQ(app->Model().settings.backgroundMode, kBackgroundPicture);
    EXPECT_EQ(store.ReadText("Last", "BkImage"), copy);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_ALPHA9).enabled);
    EXPECT_EQ(Pixel(view, 0, 0), qRgb(0, 255, 0));
}

TEST_F(ViewTest, TransparencyTestShowsTheDesktopThenRestores) {
    ui::CVemmarView& view = StartWithImage();
    std::vector<int> waits;
    bool seeThroughDuringWait = false;
    view.blockingWait = [&](int ms) {
        waits.push_back(ms);
        seeThroughDuringWait = view.SeeThrough();
    };
    app->Router().Dispatch(cmd::ID_TEST_TRANS);
    EXPECT_EQ(waits, std::vector<int>{3000});
    EXPECT_TRUE(seeThroughDuringWait);
    EXPECT_FALSE(view.SeeThrough());
    EXPECT_EQ(app->Model().settings.backgroundMode, kDefaultBackground);

    app->Router().Dispatch(cmd::ID_ALPHA_0);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_TEST_TRANS).enabled);
}

TEST_F(ViewTest, AnEditRepaintsOnlyItsRectangle) {
    ui::CVemmarView& view = StartWithImage(40, 40);
    app->Router().Dispatch(cmd::ID_ZOOM3);  // 200 %
    view.Rendered();
    Bitmap& image = app->Model().image.WorkImage;
    image.WritePixel(10, 10, Rgb(0, 0, 255));
    image.WritePixel(30, 30, Rgb(0, 0, 255));  // changed, but not reported
    app->ImageEdited({10, 10, 11, 11});
    const Bitmap& screen = view.ScreenBuffer();
    EXPECT_EQ(screen.ReadPixel(21, 21), Rgb(0, 0, 255));
    EXPECT_EQ(screen.ReadPixel(61, 61), Rgb(255, 0, 0));
    EXPECT_TRUE(app->Document().IsModified());
}

TEST_F(ViewTest, ZoomCommandsAndTheirChecks) {
    ui::CVemmarView& view = StartWithImage(400, 300);
    app->Router().Dispatch(cmd::ID_ZOOM5);
    EXPECT_EQ(app->Model().settings.zoomFactor, 8.0f);
    EXPECT_EQ(view.ZoomSliderPosition(), 5);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_ZOOM5).checked);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_ZOOM2).checked);
    QCoreApplication::processEvents();  // the bars take their room
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 3200 - view.viewport()->width());
    EXPECT_EQ(view.horizontalScrollBar()->pageStep(), 320);
    EXPECT_EQ(view.horizontalScrollBar()->singleStep(), 32);
}

TEST_F(ViewTest, ZoomHereCentresThePixelUnderThePointer) {
    ui::CVemmarView& view = StartWithImage(400, 300);
    const QPoint client(100, 50);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, client,
                            view.viewport()->mapToGlobal(client), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    ASSERT_FALSE(view.horizontalScrollBar()->isVisible());  // 400 x 300 fits at 100 %
    QCoreApplication::sendEvent(view.viewport(), &doubleClick);
    EXPECT_EQ(app->Model().settings.zoomFactor, 8.0f);
    // The bars the new extent calls for have taken their room once the layout settles; the
    // pixel under the pointer, (100, 50), must then sit in the middle of what is left.
    QCoreApplication::processEvents();
    ASSERT_TRUE(view.horizontalScrollBar()->isVisible());
    ASSERT_TRUE(view.verticalScrollBar()->isVisible());
    const int w = view.viewport()->width();
    const int h = view.viewport()->height();
    EXPECT_EQ(view.ScrollPosition().x, 800 - w / 2);
    EXPECT_EQ(view.ScrollPosition().y, 400 - h / 2);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 3200 - w);

    // At 800 % a double-click goes back to 100 %.
    QCoreApplication::sendEvent(view.viewport(), &doubleClick);
    EXPECT_EQ(app->Model().settings.zoomFactor, 1.0f);
    EXPECT_EQ(view.ZoomSliderPosition(), 2);
}

TEST_F(ViewTest, CtrlWheelStepsTheSliderWithinItsEnds) {
    ui::CVemmarView& view = StartWithImage();
    auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(5, 5), view.viewport()->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &event);
    };
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(app->Model().settings.zoomFactor, 2.0f);
    wheel(120, Qt::ControlModifier);
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(app->Model().settings.zoomFactor, 0.5f);
    wheel(120, Qt::ControlModifier);  // already at 50 %
    EXPECT_EQ(app->Model().settings.zoomFactor, 0.5f);
    wheel(-120, Qt::ShiftModifier);  // Shift alone: nothing
    EXPECT_EQ(app->Model().settings.zoomFactor, 0.5f);
}

TEST_F(ViewTest, AStoredZoomBeyondTheLevelsReadsAsTheNearerEnd) {
    setting::kZoom.Write(store, std::numeric_limits<int>::max());
    ui::CVemmarView& view = StartWithImage();
    EXPECT_EQ(app->Model().settings.zoomFactor, 8.0f);
    EXPECT_EQ(view.ZoomSliderPosition(), 5);
    // The image is still there: the key pixel over the background, red beside it.
    EXPECT_EQ(Pixel(view, 7, 7), qRgb(255, 255, 128));
    EXPECT_EQ(Pixel(view, 8, 0), qRgb(255, 0, 0));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);  // 32 x 16 fits
}

TEST_F(ViewTest, AStoredFactorBetweenLevelsStepsFromTheSlider) {
    setting::kZoom.Write(store, 15);
    ui::CVemmarView& view = StartWithImage();
    EXPECT_EQ(app->Model().settings.zoomFactor, 1.5f);
    EXPECT_EQ(view.ZoomSliderPosition(), 2);
    QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &event);
    EXPECT_EQ(app->Model().settings.zoomFactor, 2.0f);
}

// What the window itself shows after an edit repaints only its rectangle: the screen's copy of
// the window, not a fresh rendering of the whole canvas.
TEST_F(ViewTest, AnEditRepaintsItsRectangleInTheWindowAtItsPlace) {
    ui::CVemmarView& view = StartWithImage(400, 300);
    view.RepaintNow();
    const Rect edit{100, 80, 120, 100};
    for (int y = edit.top; y < edit.bottom; ++y) {
        for (int x = edit.left; x < edit.right; ++x) {
            app->Model().image.WorkImage.WritePixel(x, y, Rgb(0, 0, 255));
        }
    }
    app->ImageEdited(edit);
    QScreen* screen = view.viewport()->screen();
    const QPoint origin = view.viewport()->mapTo(app->MainFrame(), QPoint(0, 0));
    const QImage shown = screen->grabWindow(app->MainFrame()->winId()).toImage();
    const auto at = [&](int x, int y) { return shown.pixel(origin + QPoint(x, y)) | 0xFF000000u; };
    EXPECT_EQ(at(100, 80), qRgb(0, 0, 255));
    EXPECT_EQ(at(119, 99), qRgb(0, 0, 255));
    EXPECT_EQ(at(99, 80), qRgb(255, 0, 0));
    EXPECT_EQ(at(120, 99), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace palvex

namespace palvex {
namespace {

TEST(OverlayFont, EightPointsInAnInstalledJapaneseFace) {
    const QFont font = ui::MakeOverlayFont();
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    // Whatever face was chosen, it can draw the overlay's Japanese texts.
    const QFontMetrics metrics(font);
    EXPECT_TRUE(metrics.inFont(QChar(0x6298)));  // 折
}

}  // namespace
}  // namespace palvex
