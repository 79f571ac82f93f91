// The ribbon as the user meets it: tabs, looks, the minimised state, the key help and what the
// set-up puts on the elements.

#include <QImage>
#include <QMouseEvent>
#include <QtTest/QTest>

#include "app/app_settings.h"
#include "app/ui/qt_text.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/key_help_tip.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_panel.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "resources/command_ids.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

class RibbonTest : public test::AppFixture {
protected:
    ui::CMainFrame& Frame() { return *app->MainFrame(); }
    ui::CMyRibbonBar& Ribbon() { return *app->MainFrame()->Ribbon(); }

    bool StartShown() {
        if (!Start()) {
            return false;
        }
        Frame().resize(1000, 600);
        return QTest::qWaitForWindowExposed(&Frame());
    }

    void MoveOver(QWidget* widget, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }
};

TEST_F(RibbonTest, TabsAreFoundByTheirFirstTwoCharacters) {
    ASSERT_TRUE(Start());
    ui::CMyRibbonBar& ribbon = Ribbon();
    EXPECT_EQ(ribbon.ActiveTab(), 0);
    EXPECT_TRUE(Frame().ActivateRibbonTab("バリ"));
    EXPECT_EQ(ribbon.ActiveTab(), 2);
    EXPECT_TRUE(Frame().ActivateRibbonTab("ペンタブレット"));  // only "ペン" counts
    EXPECT_EQ(ribbon.ActiveTab(), 1);
    EXPECT_TRUE(Frame().ActivateRibbonTab("ホー"));
    EXPECT_EQ(ribbon.ActiveTab(), 0);
    // No match, or too short a text: nothing changes.
    EXPECT_FALSE(Frame().ActivateRibbonTab("ペx"));
    EXPECT_FALSE(Frame().ActivateRibbonTab("ペ"));
    EXPECT_FALSE(Frame().ActivateRibbonTab(""));
    EXPECT_EQ(ribbon.ActiveTab(), 0);
}

TEST_F(RibbonTest, StartUpBringsTheTabOfTheRestoredMode) {
    for (const auto& [mode, tab] : {std::pair{0, 0}, {1, 1}, {4, 1}, {5, 2}, {3, 0}}) {
        setting::kMode.Write(store, mode);
        ASSERT_TRUE(Start());
        EXPECT_EQ(Ribbon().ActiveTab(), tab) << mode;
        // Bringing the tab forward keeps the restored mode (fill-back stays fill-back).
        EXPECT_EQ(app->Model().settings.toolMode, mode);
        app.reset();
    }
}

TEST_F(RibbonTest, SwitchingTabsChangesTheToolMode) {
    ASSERT_TRUE(Start());
    ui::CMyStatusBar& status = *Frame().StatusBar();
    Ribbon().ActivateRibbonTab("バリ");
    EXPECT_EQ(app->Model().settings.toolMode, 5);
    EXPECT_EQ(status.Guide(), "バリア内をクリックすると処理が選択できます");
    Ribbon().ActivateRibbonTab("ペン");
    EXPECT_EQ(app->Model().settings.toolMode, 1);
    EXPECT_EQ(status.Guide(),
              "クリックした「処理範囲」内の指定された「近似範囲」の色を描画色にします");
    // The home tab leaves the mode alone; fill-back survives the pen tab.
    Ribbon().ActivateRibbonTab("ホー");
    EXPECT_EQ(app->Model().settings.toolMode, 1);
    app->Model().settings.toolMode = 4;
    Ribbon().ActivateRibbonTab("ペン");
    EXPECT_EQ(app->Model().settings.toolMode, 4);
    // With the guide off the mode still changes, but the guide line does not.
    app->Model().settings.showGuide = 0;
    status.SetGuide({});
    Ribbon().ActivateRibbonTab("バリ");
    EXPECT_EQ(app->Model().settings.toolMode, 5);
    EXPECT_EQ(status.Guide(), "");
}

TEST_F(RibbonTest, SetUpPutsTheEditingStateOnTheElements) {
    setting::kZoom.Write(store, 40);
    setting::kHaniAll.Write(store, 1);
    setting::kHani.Write(store, 123);
    setting::kFlat.Write(store, 45);
    setting::kKinji.Write(store, 7);
    setting::kPenStyle.Write(store, 2);
    setting::kRefPen.WriteColour(store, Rgb(1, 2, 3));
    setting::kRefBarrierSelNum.WriteColour(store, Rgb(9, 8, 7));
    setting::kRefBk.Write(store, -1);
    ASSERT_TRUE(Start());
    ui::CMyRibbonBar& ribbon = Ribbon();
    EXPECT_EQ(ribbon.SliderPosition(cmd::ID_ZOOM_SLIDER), 4);
    EXPECT_EQ(ribbon.Slider(cmd::ID_ZOOM_SLIDER)->Maximum(), 5);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_HANI_ALL), 12);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_HANI_PART), 11);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_COL_KINJI), 12);
    EXPECT_EQ(ribbon.OptionImage(cmd::ID_COL_ALL), 11);
    EXPECT_EQ(ribbon.EditText(cmd::ID_HANI_SPIN), "123");
    EXPECT_EQ(ribbon.EditText(cmd::ID_FLAT_SPIN), "45");
    EXPECT_EQ(ribbon.SliderPosition(cmd::ID_KINJI_SLIDER), 7);
    EXPECT_EQ(ribbon.Slider(cmd::ID_KINJI_SLIDER)->Maximum(), 9);
    EXPECT_EQ(ribbon.GallerySelection(cmd::ID_PEN_STYLE), 2);
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_PAINT), Rgb(1, 2, 3));
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_PEN_REAL), Rgb(1, 2, 3));
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_BARRIER_SEL_NUM_COL), Rgb(9, 8, 7));
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_BARRIER_LINE_COL), Rgb(189, 231, 189));
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_SEL_LINE_COL), 0x4A4A4Au);
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_BK_COL), kNoColour);
    EXPECT_NE(ribbon.KeyHelp(), nullptr);
}

TEST_F(RibbonTest, AStoredZoomBetweenLevelsPutsTheSliderAtOneHundredPercent) {
    setting::kZoom.Write(store, 15);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Ribbon().SliderPosition(cmd::ID_ZOOM_SLIDER), 2);
}

TEST_F(RibbonTest, LooksAreDistinctAndTheChoiceIsKept) {
    ASSERT_TRUE(StartShown());
    EXPECT_EQ(Frame().ApplicationLook(), 216);  // the default
    ui::CMyRibbonBar& ribbon = Ribbon();
    // The quick access row, the panels and the status bar differ between all five looks.
    std::vector<std::array<QRgb, 3>> seen;
    for (const int look : {215, 216, 217, 218, 219}) {
        ASSERT_TRUE(app->Router().Dispatch(look));
        EXPECT_EQ(store.ReadInt("Workspace", "ApplicationLook"), look);
        EXPECT_TRUE(app->Router().StateOf(look).checked);
        const QImage ribbonImage = ribbon.grab().toImage();
        const QImage statusImage = Frame().StatusBar()->grab().toImage();
        const std::array<QRgb, 3> sample = {
            ribbonImage.pixel(ribbonImage.width() - 5, 3),
            ribbonImage.pixel(ribbonImage.width() - 5, ribbonImage.height() - 10),
            statusImage.pixel(statusImage.width() - 40, statusImage.height() / 2)};
        for (const auto& other : seen) {
            EXPECT_NE(other, sample) << look;
        }
        seen.push_back(sample);
    }
    EXPECT_FALSE(app->Router().StateOf(215).checked);
    // The next start comes up in the look chosen last.
    app.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().ApplicationLook(), 219);
    EXPECT_TRUE(Ribbon().Look().windows7);
}

TEST_F(RibbonTest, StoredLooksOutsideTheMenu) {
    store.WriteInt("Workspace", "ApplicationLook", 212);
    ASSERT_TRUE(Start());
    // Office 2007 with no style chosen: the blue style, without the Windows 7 ribbon.
    const ui::RibbonLook& office = Ribbon().Look();
    EXPECT_FALSE(office.windows7);
    EXPECT_FALSE(office.flat);
    EXPECT_EQ(office.captionTop, ui::LookFor(215).captionTop);
    // After a style was chosen, 211 .. 214 keep it.
    app->Router().Dispatch(218);
    Frame().ApplyApplicationLook(213);
    EXPECT_EQ(Ribbon().Look().captionTop, ui::LookFor(218).captionTop);
    app.reset();

    store.WriteInt("Workspace", "ApplicationLook", 205);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Ribbon().Look().flat);
    EXPECT_FALSE(Ribbon().Look().windows7);
}

TEST_F(RibbonTest, MinimisingShowsOnlyTheTabNames) {
    ASSERT_TRUE(StartShown());
    ui::CMyRibbonBar& ribbon = Ribbon();
    ui::RibbonPanel* panel = ribbon.Panel(0, 0);
    ASSERT_TRUE(panel->isVisible());
    const int full = ribbon.sizeHint().height();
    // F11 through the frame's own keys, wherever the focus is.
    app->View()->setFocus();
    QTest::keyClick(app->View(), Qt::Key_F11);
    EXPECT_TRUE(ribbon.IsMinimized());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_LT(ribbon.sizeHint().height(), full);
    // The ribbon's button does the same, and so does Ctrl+F1.
    ribbon.Button(cmd::ID_SHOW_MENU)->click();
    EXPECT_FALSE(ribbon.IsMinimized());
    QTest::keyClick(app->View(), Qt::Key_F1, Qt::ControlModifier);
    EXPECT_TRUE(ribbon.IsMinimized());
    ribbon.ToggleMinimized();
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(RibbonTest, KeyHelpOnlyRightOfThePenPanel) {
    ASSERT_TRUE(StartShown());
    ui::CMyRibbonBar& ribbon = Ribbon();
    ui::KeyHelpTip* tip = ribbon.KeyHelp();
    ASSERT_NE(tip, nullptr);
    Ribbon().ActivateRibbonTab("ペン");
    QTest::qWait(20);
    ui::RibbonPanel* pen = ribbon.Panel(1, 2);
    QWidget* page = pen->parentWidget();
    const QPoint right = pen->geometry().topRight() + QPoint(20, 10);
    MoveOver(page, right);
    EXPECT_TRUE(tip->IsActive());
    EXPECT_TRUE(tip->text().startsWith("F1 - 取扱説明書の表示\nF2 - "));
    EXPECT_TRUE(
        tip->text().endsWith("F11- リボンメニューの表示・非表示\nF12- このキー説明の表示・非表示"));
    EXPECT_EQ(tip->text().count('\n'), 11);
    QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 1000);
    // Onto a panel: hidden.
    MoveOver(pen, QPoint(5, 5));
    EXPECT_FALSE(tip->IsActive());
    EXPECT_FALSE(tip->isVisible());
    // Another tab: never.
    Ribbon().ActivateRibbonTab("バリ");
    MoveOver(ribbon.Panel(2, 0)->parentWidget(), QPoint(page->width() - 5, 10));
    EXPECT_FALSE(tip->IsActive());
    // The key help switched off by F12: never, and the switch confirms itself.
    Ribbon().ActivateRibbonTab("ペン");
    std::vector<QString> notices;
    Frame().StatusBar()->blockingWait = [&](int ms) {
        EXPECT_EQ(ms, 1000);
        notices.push_back(Frame().StatusBar()->Guide());
    };
    QTest::keyClick(app->View(), Qt::Key_F12);
    EXPECT_EQ(app->Model().settings.showTip, 0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0],
              "「ペンモード」メニューにマウスカーソルが乗ったとき、Fキーの説明を表示しないように設"
              "定しました");
    EXPECT_EQ(Frame().StatusBar()->Guide(), "");
    MoveOver(page, right);
    EXPECT_FALSE(tip->IsActive());
    QTest::keyClick(app->View(), Qt::Key_F12);
    EXPECT_EQ(app->Model().settings.showTip, 1);
    EXPECT_EQ(notices.back(),
              "「ペンモード」メニューにマウスカーソルが乗ったとき、Fキーの説明を表示するように設定"
              "しました");
}

TEST_F(RibbonTest, TheFrameRefusesToShrinkBelowItsMinimum) {
    ASSERT_TRUE(StartShown());
    Frame().resize(200, 100);
    EXPECT_GE(Frame().width(), 400);
    EXPECT_GE(Frame().height(), 300);
}

}  // namespace
}  // namespace palvex
