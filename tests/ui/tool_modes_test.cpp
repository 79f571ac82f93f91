// The tool modes on the real editor: the mode commands, the canvas's mouse, wheel and keys
// routed by mode, the readouts and hints of the status bar, flood fill and the eyedropper, and
// the display switches.

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "app/ui/qt_text.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "tools/ui/canvas_input.h"
#include "ui/app_fixture.h"
#include "undo/undo_history.h"

namespace palvex {
namespace {

constexpr Pixel kWhite = 0xFFFFFFFFu;
constexpr Pixel kRed = 0xFFFF0000u;
constexpr Pixel kGreen = 0xFF00FF00u;

QString Text(int id) {
    return ui::ToQString(LoadString(id));
}

// What a context menu showed: its popup and each item's label and state.
struct ShownMenu {
    QString popup;
    std::vector<std::pair<QString, bool>> items;
    bool Enabled(const QString& label) const {
        for (const auto& [text, enabled] : items) {
            if (text.startsWith(label)) {
                return enabled;
            }
        }
        ADD_FAILURE() << "no item " << ui::ToStdString(label);
        return false;
    }
};

class ToolModeTest : public test::AppFixture {
protected:
    // A white image with a red square at (10, 10) to (20, 20) and a transparent (white) key,
    // shown at zoom 1 with no scroll, so window and image points agree.
    ui::CVemmarView& StartWithImage(int width = 40, int height = 30) {
        Bitmap image = test::SolidBitmap(width, height, 0x00FFFFFFu);  // transparent: key white
        for (int y = 10; y < 20; ++y) {
            for (int x = 10; x < 20; ++x) {
                image.Row(y)[x] = kRed;
            }
        }
        image.Row(0)[1] = kGreen;
        const auto path = temp.File("tools.png");
        test::WriteFileBytes(path, test::EncodeRgbaPng(image));
        EXPECT_TRUE(Start({ui::PathToQString(path)}));
        app->MainFrame()->resize(800, 600);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        Bar().blockingWait = [this](int ms) {
            waits.push_back(ms);
            notices.push_back(Bar().Guide());
        };
        app->MainFrame()->Input()->execMenu = [this](QMenu& menu, const QPoint&) {
            ShownMenu shown{menu.objectName(), {}};
            for (const QAction* action : menu.actions()) {
                shown.items.emplace_back(action->text(), action->isEnabled());
            }
            menus.push_back(shown);
        };
        return *app->View();
    }

    ui::CMyStatusBar& Bar() { return *app->MainFrame()->StatusBar(); }
    QWidget* Viewport() { return app->View()->viewport(); }
    int Mode() { return app->Model().settings.toolMode; }
    Colour PixelAt(int x, int y) { return app->Model().image.WorkImage.ReadPixel(x, y); }
    void Run(int id) { app->Router().Dispatch(id); }

    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
        QMouseEvent event(type, QPointF(p), QPointF(Viewport()->mapToGlobal(p)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Move(QPoint p) { Mouse(QEvent::MouseMove, p); }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, p, button);
        Mouse(QEvent::MouseButtonRelease, p, button);
    }
    void DoubleClick(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonDblClick, p, button);
        Mouse(QEvent::MouseButtonRelease, p, button);
    }
    void Wheel(QPoint p, int delta, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(p), QPointF(Viewport()->mapToGlobal(p)), QPoint(),
                          QPoint(0, delta), buttons, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &event);
    }

    std::vector<int> waits;
    std::vector<QString> notices;
    std::vector<ShownMenu> menus;
};

TEST_F(ToolModeTest, ModeCommandsSetTheModeTheGuideTextAndTheChecks) {
    StartWithImage();
    const std::tuple<int, int, int> commands[] = {
        {cmd::ID_PAINT, 2, 30306},   {cmd::ID_SPUIT, 3, 30307}, {cmd::ID_PEN_FILL, 4, 30308},
        {cmd::ID_BARRIER, 5, 30309}, {cmd::ID_PEN, 1, 30304},   {cmd::ID_FILL_BACK_MODE, 4, 30308},
    };
    for (const auto& [id, mode, guide] : commands) {
        Run(id);
        EXPECT_EQ(Mode(), mode) << id;
        EXPECT_EQ(Bar().Guide(), Text(guide)) << id;
        const int checked = id == cmd::ID_FILL_BACK_MODE ? cmd::ID_PEN_FILL : id;
        EXPECT_TRUE(app->Router().StateOf(checked).checked) << id;
    }
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_PEN).checked);
    Run(cmd::ID_SELECT);
    EXPECT_EQ(Mode(), 0);
    EXPECT_EQ(Bar().Guide(), "");
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_SELECT).checked);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_CHANGE_SELECT).enabled);
}

TEST_F(ToolModeTest, TheActiveModeAgainChangesNothingAndTheGuideOffShowsNoModeText) {
    StartWithImage();
    Run(cmd::ID_SPUIT);
    Bar().SetGuide("kept");
    Run(cmd::ID_SPUIT);
    EXPECT_EQ(Bar().Guide(), "kept");
    app->Model().settings.showGuide = 0;
    Run(cmd::ID_PAINT);
    EXPECT_EQ(Mode(), 2);
    EXPECT_EQ(Bar().Guide(), "kept");
}

TEST_F(ToolModeTest, ThePenAndFloodFillButtonsShareTheDrawingColour) {
    StartWithImage();
    ui::CMyRibbonBar& ribbon = *app->MainFrame()->Ribbon();
    Run(cmd::ID_PAINT);
    ribbon.SetColour(cmd::ID_PAINT, Rgb(1, 2, 3));
    Run(cmd::ID_PAINT);  // already mode 2: the button's colour is still taken
    EXPECT_EQ(app->Model().settings.drawColour, Rgb(1, 2, 3));
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_PEN_REAL), Rgb(1, 2, 3));

    ribbon.SetColour(cmd::ID_PEN_REAL, Rgb(4, 5, 6));
    Run(cmd::ID_PEN_REAL);  // from another mode: pen mode, no message
    EXPECT_EQ(Mode(), 1);
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_PAINT), Rgb(4, 5, 6));
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_PEN_REAL).checked);
    EXPECT_TRUE(prompter.shown.empty());

    Run(cmd::ID_PEN_TRANS);
    EXPECT_EQ(app->Model().settings.drawColour, app->Model().image.TransparentColor);
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_PEN_REAL), Rgb(4, 5, 6));  // the buttons keep theirs
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_PEN_TRANS).checked);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_PEN_REAL).checked);

    ribbon.SetColour(cmd::ID_PEN_REAL, app->Model().image.TransparentColor);
    Run(cmd::ID_PEN_REAL);  // already pen mode and drawing the key: the warning only
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, 30019);
    EXPECT_EQ(Mode(), 1);
}

TEST_F(ToolModeTest, TheEyedropperPicksAndTheSameAsKeyLabelFollows) {
    StartWithImage();
    const auto label = [&] { return app->Router().StateOf(cmd::ID_SAME_TRANS).text.value_or(""); };
    Run(cmd::ID_SPUIT);
    Click({12, 12});
    EXPECT_EQ(app->Model().settings.drawColour, Rgb(255, 0, 0));
    EXPECT_EQ(app->MainFrame()->Ribbon()->ColourOf(cmd::ID_PAINT), Rgb(255, 0, 0));
    EXPECT_EQ(app->MainFrame()->Ribbon()->ColourOf(cmd::ID_PEN_REAL), Rgb(255, 0, 0));
    EXPECT_EQ(Mode(), 3);
    EXPECT_EQ(label(), "透過色と同じにする");
    Click({30, 25});  // a key pixel
    EXPECT_EQ(app->Model().settings.drawColour, app->Model().image.TransparentColor);
    EXPECT_EQ(label(), "現在の描画色＝透過色");
    Run(cmd::ID_PEN);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_PEN_TRANS).checked);
    Click({1, 0});  // pen mode: no pick
    EXPECT_EQ(app->Model().settings.drawColour, app->Model().image.TransparentColor);

    Run(cmd::ID_PAINT);
    app->MainFrame()->Ribbon()->SetColour(cmd::ID_PAINT, Rgb(9, 9, 9));
    Run(cmd::ID_SAME_TRANS);
    EXPECT_EQ(app->Model().settings.drawColour, app->Model().image.TransparentColor);
    EXPECT_EQ(app->MainFrame()->Ribbon()->ColourOf(cmd::ID_PAINT),
              app->Model().image.TransparentColor);
}

TEST_F(ToolModeTest, FloodFillPaintsTheClickedAreaAndMarksTheDocument) {
    ui::CVemmarView& view = StartWithImage();
    Run(cmd::ID_PAINT);
    app->MainFrame()->Ribbon()->SetColour(cmd::ID_PAINT, Rgb(0, 0, 255));
    Run(cmd::ID_PAINT);
    Bar().SetGuide("hint");
    Click({15, 15});
    EXPECT_EQ(PixelAt(10, 10), Rgb(0, 0, 255));
    EXPECT_EQ(PixelAt(19, 19), Rgb(0, 0, 255));
    EXPECT_EQ(PixelAt(9, 10), Rgb(255, 255, 255));
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(Bar().Guide(), "");  // a finished press clears the guide
    EXPECT_EQ(view.Rendered().pixel(15, 15) | 0xFF000000u, qRgb(0, 0, 255));

    // Beside the image: no fill.
    app->Document().SetModifiedFlag(false);
    Click({100, 15});
    EXPECT_FALSE(app->Document().IsModified());
    // The same colour again: nothing changes, yet it is an edit.
    Click({15, 15});
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(PixelAt(15, 15), Rgb(0, 0, 255));
}

TEST_F(ToolModeTest, APressInTheModesThatDoNotPaintLeavesThePixels) {
    StartWithImage();
    for (const int id : {cmd::ID_SELECT, cmd::ID_BARRIER}) {
        Run(id);
        Click({15, 15});
        DoubleClick({15, 15}, Qt::RightButton);
        EXPECT_EQ(PixelAt(15, 15), Rgb(255, 0, 0)) << id;
    }
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(ToolModeTest, TheWholeRangeWithAllColoursRefusesThePenPress) {
    StartWithImage();
    Run(cmd::ID_PEN);
    app->Model().settings.wholeImage = 1;
    app->Model().settings.allColours = 1;
    Click({15, 15});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, 30003);
    Run(cmd::ID_PEN_FILL);
    Click({15, 15});
    EXPECT_EQ(prompter.shown.size(), 1u);  // the fill-back pen has no colour target
}

TEST_F(ToolModeTest, DoubleClickZoomsOnlyOnTheImageAndOutsideThePens) {
    StartWithImage();
    const float& zoom = app->Model().settings.zoomFactor;
    for (const int id : {cmd::ID_PEN, cmd::ID_PEN_FILL}) {
        Run(id);
        DoubleClick({15, 15});
        EXPECT_EQ(zoom, 1.0f) << id;
    }
    Run(cmd::ID_SELECT);
    DoubleClick({100, 15});  // beside the image
    EXPECT_EQ(zoom, 1.0f);
    DoubleClick({15, 15});
    EXPECT_EQ(zoom, 8.0f);
    EXPECT_EQ(app->View()->ContextPoint(), (Point{15, 15}));
    Run(cmd::ID_SPUIT);
    DoubleClick({20, 20});
    EXPECT_EQ(zoom, 1.0f);  // at 800 % back to 100 %
    Run(cmd::ID_BARRIER);
    DoubleClick({15, 15});
    EXPECT_EQ(zoom, 8.0f);
}

TEST_F(ToolModeTest, TheRightButtonOpensTheMenuOfTheModeExceptInThePens) {
    StartWithImage();
    for (const int id : {cmd::ID_PEN, cmd::ID_PEN_FILL}) {
        Run(id);
        Click({15, 15}, Qt::RightButton);
    }
    EXPECT_TRUE(menus.empty());

    Run(cmd::ID_PAINT);
    Click({12, 13}, Qt::RightButton);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].popup, "VIEW");
    EXPECT_EQ(app->View()->ContextPoint(), (Point{12, 13}));
    EXPECT_TRUE(menus[0].Enabled("ここを超ズーム"));
    EXPECT_TRUE(menus[0].Enabled("倍率100%"));
    EXPECT_FALSE(menus[0].Enabled("貼り付け"));  // the paste is not built yet
    Run(cmd::ID_ZOOM5);
    Click({12, 13}, Qt::RightButton);
    EXPECT_FALSE(menus.back().Enabled("ここを超ズーム"));

    Run(cmd::ID_SELECT);
    Click({300, 300}, Qt::RightButton);  // anywhere on the canvas
    EXPECT_EQ(menus.back().popup, "VIEW");
    Run(cmd::ID_BARRIER);
    Click({5, 5}, Qt::RightButton);
    EXPECT_EQ(menus.back().popup, "BARIOUT");
    EXPECT_FALSE(menus.back().Enabled("バリアの外を透過色にする"));  // no barrier
    EXPECT_EQ(menus.size(), 4u);
}

TEST_F(ToolModeTest, CtrlWheelZoomsWhereNoToolClaimsIt) {
    StartWithImage();
    const float& zoom = app->Model().settings.zoomFactor;
    Run(cmd::ID_PAINT);
    Wheel({5, 5}, -120, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(zoom, 2.0f);
    Wheel({5, 5}, -120, Qt::NoButton, Qt::ControlModifier | Qt::ShiftModifier);
    Wheel({5, 5}, -120, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(zoom, 2.0f);
    Run(cmd::ID_PEN);  // the range owns the wheel around the pointer
    Wheel({5, 5}, -120, Qt::NoButton, Qt::ControlModifier);
    Wheel({5, 5}, -120, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(zoom, 2.0f);
    app->Model().settings.wholeImage = 1;
    Wheel({5, 5}, 120, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(zoom, 1.0f);
}

TEST_F(ToolModeTest, TheWheelScrollsWithoutKeysAndNotWithTheRightButtonInThePens) {
    StartWithImage(3000, 3000);
    QScrollBar* bar = app->View()->verticalScrollBar();
    Run(cmd::ID_PEN);
    Wheel({5, 5}, -120, Qt::RightButton, Qt::NoModifier);
    EXPECT_EQ(bar->value(), 0);
    Wheel({5, 5}, -120, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(bar->value(), 0);
    Wheel({5, 5}, -120, Qt::NoButton, Qt::NoModifier);
    EXPECT_GT(bar->value(), 0);
}

TEST_F(ToolModeTest, ReadoutsFollowThePointerAndEmptyBesideTheImage) {
    StartWithImage();
    Move({12, 14});
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_COLOR), "255,   0,   0");
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_CURSOR), "12, 14");
    Bar().SetPaneText(cmd::ID_PANE_ANGLE, "30度");
    Move({50, 14});
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_COLOR), "");
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_CURSOR), "");
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_ANGLE), "");
    Move({1, 0});
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_COLOR), "  0, 255,   0");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Viewport(), &leave);
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_CURSOR), "");
}

TEST_F(ToolModeTest, PointerHintsByImageColumnAndPenHintsByWindowColumn) {
    StartWithImage(200, 100);
    Bar().SetGuide({});
    Move({5, 3});
    EXPECT_EQ(Bar().Guide(), Text(30353));
    Move({6, 3});
    EXPECT_EQ(Bar().Guide(), Text(30353));  // between the columns the last hint stays
    Move({35, 3});
    EXPECT_EQ(Bar().Guide(), Text(30317));
    Run(cmd::ID_PEN);
    Move({21, 3});
    EXPECT_EQ(Bar().Guide(), Text(30358));
    app->Model().settings.flatDirection = 1;
    Move({1, 3});  // the drag axes swap
    EXPECT_EQ(Bar().Guide(), Text(30357).replace("上下", "左右"));
    app->Model().settings.showGuide = 0;
    Bar().SetGuide({});
    Move({15, 3});
    EXPECT_EQ(Bar().Guide(), "");
}

TEST_F(ToolModeTest, FloodFillAndEyedropperShowTheirPointersAndTheColourProbe) {
    ui::CVemmarView& view = StartWithImage(200, 100);
    Run(cmd::ID_PAINT);
    Move({12, 12});
    EXPECT_EQ(Viewport()->cursor().hotSpot(), QPoint(0, 0));
    EXPECT_EQ(Viewport()->cursor().pixmap().size(), QSize(32, 32));
    EXPECT_EQ(view.OverlayRect(), (Rect{-48, -48, 72, 72}));
    // The disc in the pixel's colour, 16 right of and 17 below the pointer.
    EXPECT_EQ(view.Rendered().pixel(12 + 16, 12 + 17) | 0xFF000000u, qRgb(255, 0, 0));
    Move({150, 70});  // over white: the disc shows the key colour itself
    EXPECT_EQ(view.Rendered().pixel(150 + 16, 70 + 17) | 0xFF000000u, qRgb(255, 255, 255));
    EXPECT_EQ(view.Rendered().pixel(12 + 16, 12 + 17) | 0xFF000000u, qRgb(255, 255, 128));
    Move({300, 40});  // beside the image: the probe goes
    EXPECT_TRUE(view.OverlayRect().IsEmpty());
    Run(cmd::ID_PEN_FILL);
    Move({12, 12});
    EXPECT_EQ(Viewport()->cursor().hotSpot(), QPoint(7, 7));
}

TEST_F(ToolModeTest, DisplaySwitchesOnTheRealFrameFlashTheirNotice) {
    StartWithImage();
    ui::CVemmarView* view = app->View();
    view->setFocus();
    AppSettings& settings = app->Model().settings;
    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_EQ(settings.showGuide, 0);
    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_EQ(settings.showGuide, 1);
    QTest::keyClick(view, Qt::Key_F3);
    EXPECT_EQ(settings.showRgb, 0);
    QTest::keyClick(view, Qt::Key_F9);
    EXPECT_EQ(settings.stopCursor, 0);
    QTest::keyClick(app->MainFrame(), Qt::Key_F10);
    EXPECT_EQ(settings.animationRings, 0);
    QTest::keyClick(app->MainFrame(), Qt::Key_F10);
    EXPECT_EQ(settings.animationRings, 3);
    ASSERT_EQ(notices.size(), 6u);
    EXPECT_EQ(notices[0], "ステータスバーに操作ガイドを表示しないように設定しました");
    EXPECT_EQ(notices[1], "ステータスバーに操作ガイドを表示するように設定しました");
    EXPECT_EQ(notices[2], "マウスカーソル位置にRGB値を表示しないように設定しました");
    EXPECT_EQ(notices[3], "ペンモードのとき、非描画色上でカーソルを止めないように設定しました");
    EXPECT_EQ(notices[4], "アニメポインタを表示しないように設定しました");
    EXPECT_EQ(notices[5], "アニメポインタを表示するように設定しました");
    EXPECT_EQ(waits, std::vector<int>(6, 1000));
    EXPECT_EQ(Bar().Guide(), "");
}

TEST_F(ToolModeTest, AStoredModeIsRestoredWithItsTab) {
    store.WriteInt("Last", "Mode", 2);
    StartWithImage();
    EXPECT_EQ(Mode(), 2);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_PAINT).checked);
    Move({12, 12});
    EXPECT_FALSE(app->View()->OverlayRect().IsEmpty());
}

}  // namespace
}  // namespace palvex

namespace palvex {
namespace {

// A whole-image history in memory, standing in for the one on disk; its push can be made to
// fail.
class MemoryHistory final : public ui::EditHistory {
public:
    explicit MemoryHistory(ImageState& image) : image_(image) {}
    bool PushImageSnapshot(const Rect& rect) override {
        pushed.push_back(rect);
        if (failPush) {
            return false;
        }
        undo_.push_back(Copy());
        redo_.clear();
        return true;
    }
    bool Undo() override { return Move(undo_, redo_); }
    bool Redo() override { return Move(redo_, undo_); }
    void Reset() override {
        undo_.clear();
        redo_.clear();
        ++resets;
    }
    int UndoCount() const override { return static_cast<int>(undo_.size()); }
    int RedoCount() const override { return static_cast<int>(redo_.size()); }
    void WaitForWrites() override { ++waits; }

    bool failPush = false;
    std::vector<Rect> pushed;
    int resets = 0;
    int waits = 0;

private:
    Bitmap Copy() const {
        Bitmap copy;
        EXPECT_TRUE(copy.Create(image_.width, image_.height));
        std::copy(image_.WorkImage.Pixels().begin(), image_.WorkImage.Pixels().end(),
                  copy.Pixels().begin());
        return copy;
    }
    bool Move(std::vector<Bitmap>& from, std::vector<Bitmap>& to) {
        if (from.empty()) {
            return false;
        }
        to.push_back(Copy());
        image_.WorkImage = std::move(from.back());
        image_.width = image_.WorkImage.Width();
        image_.height = image_.WorkImage.Height();
        from.pop_back();
        return true;
    }
    ImageState& image_;
    std::vector<Bitmap> undo_;
    std::vector<Bitmap> redo_;
};

class HistoryWiringTest : public ToolModeTest {
protected:
    MemoryHistory& Install() {
        auto history = std::make_unique<MemoryHistory>(app->Model().image);
        MemoryHistory& ref = *history;
        app->View()->SetHistory(std::move(history));
        return ref;
    }
};

TEST_F(HistoryWiringTest, AFillThenCtrlZRestoresEveryPixelAndCtrlYRedoesIt) {
    ui::CVemmarView& view = StartWithImage();
    MemoryHistory& history = Install();
    std::vector<Pixel> before(app->Model().image.WorkImage.Pixels().begin(),
                              app->Model().image.WorkImage.Pixels().end());
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_UNDO).enabled);
    Run(cmd::ID_PAINT);
    app->Model().settings.drawColour = Rgb(0, 0, 255);
    Click({2, 2});
    ASSERT_EQ(history.pushed, std::vector<Rect>{Rect{}});  // the whole image, before the fill
    EXPECT_EQ(PixelAt(0, 29), Rgb(0, 0, 255));
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_UNDO).enabled);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_REDO).enabled);

    Move({12, 12});  // the probe is up; undo must not bring it back
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(view.OverlayRect().IsEmpty());
    EXPECT_TRUE(
        std::equal(before.begin(), before.end(), app->Model().image.WorkImage.Pixels().begin()));
    EXPECT_EQ(view.Rendered().pixel(2, 2) | 0xFF000000u, qRgb(255, 255, 128));  // repainted
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_UNDO).enabled);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_REDO).enabled);
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(PixelAt(0, 29), Rgb(0, 0, 255));
    EXPECT_EQ(view.Rendered().pixel(2, 2) | 0xFF000000u, qRgb(0, 0, 255));
}

TEST_F(HistoryWiringTest, AFillWhoseSnapshotFailsIsNotMade) {
    StartWithImage();
    MemoryHistory& history = Install();
    history.failPush = true;
    Run(cmd::ID_PAINT);
    app->Model().settings.drawColour = Rgb(0, 0, 255);
    Click({2, 2});
    EXPECT_EQ(history.pushed.size(), 1u);
    EXPECT_EQ(PixelAt(2, 2), Rgb(255, 255, 255));
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(HistoryWiringTest, AnUndoThatChangesTheSizeSetsTheExtentAndThePanes) {
    ui::CVemmarView& view = StartWithImage(3000, 20);
    MemoryHistory& history = Install();
    Run(cmd::ID_PAINT);
    Click({2, 2});
    // As a transform would: the image becomes 20 x 20 after its snapshot.
    ImageState& image = app->Model().image;
    ASSERT_TRUE(image.WorkImage.Create(20, 20));
    image.width = 20;
    image.height = 20;
    view.ImageReplaced();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    app->Router().Dispatch(cmd::ID_UNDO);
    EXPECT_EQ(image.width, 3000);
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(Bar().PaneText(cmd::ID_PANE_SIZE), "3000×20");
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(HistoryWiringTest, LoadingResetsTheHistoryAndSavingWaitsForItsWrites) {
    StartWithImage();
    MemoryHistory& history = Install();
    Run(cmd::ID_PAINT);
    Click({2, 2});
    EXPECT_TRUE(app->OpenImageFile(WriteImage("other.png")));
    EXPECT_EQ(history.resets, 1);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_UNDO).enabled);
    prompter.saveChoice = SaveFileChoice{temp.File("out.png"), 11};
    app->Router().Dispatch(cmd::ID_AS_PNG);
    EXPECT_GE(history.waits, 1);
    const int waits = history.waits;
    app->ExitInstance();
    EXPECT_GT(history.waits, waits);
}

}  // namespace
}  // namespace palvex

namespace palvex {
namespace {

// The editor's own history, with its files in the fixture's work folder.
class SnapshotUndoTest : public ToolModeTest {
protected:
    UndoHistory& Core() {
        return static_cast<ui::SnapshotHistory*>(app->View()->History())->Core();
    }
    std::vector<Pixel> Pixels() {
        const auto pixels = app->Model().image.WorkImage.Pixels();
        return {pixels.begin(), pixels.end()};
    }
};

TEST_F(SnapshotUndoTest, FillsAreUndoneToTheLastPixelAndTenStepsAreKept) {
    ui::CVemmarView& view = StartWithImage();
    const std::vector<Pixel> original = Pixels();
    Run(cmd::ID_PAINT);
    std::vector<std::vector<Pixel>> states;
    for (int i = 0; i < 11; ++i) {
        states.push_back(Pixels());
        app->Model().settings.drawColour = Rgb(i * 20, 0, 255 - i * 20);
        Click({2, 2});
    }
    EXPECT_EQ(Core().UndoCount(), 10);
    view.setFocus();
    for (int i = 10; i >= 1; --i) {
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(Pixels(), states[static_cast<std::size_t>(i)]) << i;
    }
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);  // the first fill is gone for good
    EXPECT_NE(Pixels(), original);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_UNDO).enabled);
    EXPECT_EQ(Core().RedoCount(), 10);
    ASSERT_TRUE(Core().NewestRedoStep());
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Pixels(), states[2]);
    // A new change empties the redo stack.
    app->Model().settings.drawColour = Rgb(1, 1, 1);
    Click({2, 2});
    EXPECT_EQ(Core().RedoCount(), 0);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_REDO).enabled);
}

// A fill too ragged to record (every pixel of the area with another fourth byte) is still made,
// with a snapshot of the image as its step, and undone bit for bit.
TEST_F(SnapshotUndoTest, AFillTooRaggedToRecordTakesASnapshotInstead) {
    ui::CVemmarView& view = StartWithImage(200, 150);
    Bitmap& image = app->Model().image.WorkImage;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            image.Row(y)[x] = static_cast<Pixel>((x * 7 + y) & 0xFF) << 24 | 0x00336699u;
        }
    }
    const std::vector<Pixel> before = Pixels();
    Run(cmd::ID_PAINT);
    app->Model().settings.drawColour = Rgb(0, 0, 255);
    Click({2, 2});
    ASSERT_TRUE(Core().NewestUndoStep());
    EXPECT_EQ(Core().NewestUndoStep()->kind, SnapshotKind::Image);
    EXPECT_EQ(image.ReadPixel(2, 2), Rgb(0, 0, 255));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Pixels(), before);
}

TEST_F(SnapshotUndoTest, FillsAmongPenDotsAreUndoneAndRedoneBitForBitWithoutFiles) {
    ui::CVemmarView& view = StartWithImage();
    std::vector<std::vector<Pixel>> states{Pixels()};
    Run(cmd::ID_PAINT);
    app->Model().settings.drawColour = Rgb(0, 0, 255);
    Click({2, 2});
    states.push_back(Pixels());
    ASSERT_TRUE(Core().NewestUndoStep());
    EXPECT_EQ(Core().NewestUndoStep()->kind, SnapshotKind::Fill);
    Run(cmd::ID_PEN);
    Click({30, 25});
    states.push_back(Pixels());
    Run(cmd::ID_PAINT);
    app->Model().settings.drawColour = Rgb(0, 200, 0);
    Click({15, 15});  // the red square
    Click({2, 2});
    states.push_back(Pixels());
    ASSERT_NE(states[3], states[2]);

    view.setFocus();
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        if (i == 2) {
            QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);  // the square's fill
        }
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(Pixels(), states[i]) << i;
    }
    EXPECT_EQ(Core().UndoCount(), 0);
    for (std::size_t i = 1; i < states.size(); ++i) {
        QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
        if (i == 3) {
            QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
        }
        ASSERT_EQ(Pixels(), states[i]) << i;
    }
    // Repainted from the restored pixels.
    EXPECT_EQ(view.Rendered().pixel(2, 2) | 0xFF000000u, qRgb(0, 200, 0));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view.Rendered().pixel(2, 2) | 0xFF000000u, qRgb(0, 0, 255));
}

TEST_F(SnapshotUndoTest, ADamagedSnapshotIsRefusedWithTheCountsAndPixelsKept) {
    ui::CVemmarView& view = StartWithImage();
    // A whole-image step, as a transform makes; fills keep no file.
    ASSERT_TRUE(view.PushImageSnapshot({}));
    app->Model().image.WorkImage.Fill(PixelFromColour(Rgb(0, 0, 255)));
    const std::vector<Pixel> filled = Pixels();
    Core().WaitForWrites();
    const std::optional<UndoStepInfo> step = Core().NewestUndoStep();
    ASSERT_TRUE(step);
    ASSERT_TRUE(std::filesystem::exists(step->path));
    std::filesystem::resize_file(step->path, std::filesystem::file_size(step->path) / 2);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Core().UndoCount(), 1);
    EXPECT_EQ(Core().RedoCount(), 0);
    EXPECT_EQ(Pixels(), filled);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().id, str::kSnapshotUnreadable);
}

}  // namespace
}  // namespace palvex
