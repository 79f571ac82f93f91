// The status bar: its panes, the guide laid over them, the switch notices and the progress.

#include <QLabel>
#include <QProgressBar>
#include <QtTest/QTest>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

class StatusBarTest : public test::AppFixture {
protected:
    ui::CMyStatusBar& Status() { return *app->MainFrame()->StatusBar(); }

    bool StartShown(const QStringList& arguments = {}) {
        if (!Start(arguments)) {
            return false;
        }
        app->MainFrame()->resize(900, 500);
        return QTest::qWaitForWindowExposed(app->MainFrame());
    }
};

TEST_F(StatusBarTest, SixPanesInOrderSizedByTheirSamples) {
    ASSERT_TRUE(StartShown());
    ui::CMyStatusBar& status = Status();
    EXPECT_EQ(status.PaneIds(), (std::vector<int>{373, 121, 122, 375, 391, 435}));
    int left = -1;
    for (const int id : status.PaneIds()) {
        QLabel* pane = status.Pane(id);
        ASSERT_NE(pane, nullptr);
        EXPECT_GT(pane->x(), left) << id;  // left to right in the order added
        left = pane->x();
        EXPECT_FALSE(pane->toolTip().isEmpty());
    }
    const QFontMetrics metrics = status.Pane(373)->fontMetrics();
    EXPECT_GE(status.Pane(373)->width(), metrics.horizontalAdvance("99999999999999999999"));
    EXPECT_LT(status.Pane(121)->width(), status.Pane(122)->width());
    EXPECT_EQ(status.Pane(375)->toolTip(),
              "左上を(0, 0)としたイメージ内の位置です。単位：ピクセル");
    // The progress bar fills the progress pane.
    const QRect pane = status.Pane(373)->geometry();
    EXPECT_TRUE(pane.contains(status.ProgressBar()->geometry()));
    EXPECT_GT(status.ProgressBar()->width(), pane.width() - 10);
    EXPECT_TRUE(status.ProgressBar()->isVisible());
}

TEST_F(StatusBarTest, ImageInfoAfterALoad) {
    ASSERT_TRUE(StartShown({ui::PathToQString(WriteImage())}));
    ui::CMyStatusBar& status = Status();
    EXPECT_EQ(status.PaneText(cmd::ID_PANE_POS), "0,0");
    EXPECT_EQ(status.PaneText(cmd::ID_PANE_SIZE), "4×2");
    status.SetPaneText(cmd::ID_PANE_ANGLE, "30度");
    status.ShowImageInfo({10, 20, 110, 70});
    EXPECT_EQ(status.PaneText(cmd::ID_PANE_POS), "10,20");
    EXPECT_EQ(status.PaneText(cmd::ID_PANE_SIZE), "100×50");
    EXPECT_EQ(status.PaneText(cmd::ID_PANE_ANGLE), "");
}

TEST_F(StatusBarTest, PositionAndSizePanesHoldFiveDigits) {
    ASSERT_TRUE(StartShown());
    ui::CMyStatusBar& status = Status();
    status.ShowImageInfo({12345, 23456, 12345 + 10000, 23456 + 10000});
    status.SetPaneText(cmd::ID_PANE_CURSOR, "12345, 23456");
    for (const int id : {cmd::ID_PANE_POS, cmd::ID_PANE_SIZE, cmd::ID_PANE_CURSOR}) {
        const QLabel* pane = status.Pane(id);
        EXPECT_GE(pane->contentsRect().width(), pane->fontMetrics().horizontalAdvance(pane->text()))
            << pane->text().toStdString();
    }
    EXPECT_EQ(status.PaneText(cmd::ID_PANE_SIZE), "10000×10000");
}

TEST_F(StatusBarTest, TheGuideCoversThePanesWhileItHoldsAText) {
    ASSERT_TRUE(StartShown());
    ui::CMyStatusBar& status = Status();
    QWidget* guide = status.findChild<QWidget*>("guidePane");
    ASSERT_NE(guide, nullptr);
    EXPECT_FALSE(guide->isVisible());
    status.SetGuide("hint");
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->geometry(), status.rect());
    // Laid over everything, the progress bar included.
    EXPECT_EQ(status.childAt(status.ProgressBar()->geometry().center()), guide);
    status.SetGuide({});
    EXPECT_FALSE(guide->isVisible());
}

TEST_F(StatusBarTest, HintsOnlyWhileTheGuideIsOn) {
    ASSERT_TRUE(Start());
    ui::CMyStatusBar& status = Status();
    status.GuideHint(str::kGuideFloodFillMode);
    EXPECT_EQ(status.Guide(), "クリックした位置の色が連続する範囲内すべてを描画色にします");
    status.GuideText(texts::kGuideCursorHeld);
    EXPECT_EQ(status.Guide(), "Ctrlキーを押しながらマウスカーソルを自由に移動させることができます");
    app->Model().settings.showGuide = 0;
    status.GuideHint(str::kGuideEyedropperMode);
    status.RangeHint(str::kGuideF4);
    EXPECT_EQ(status.Guide(), "Ctrlキーを押しながらマウスカーソルを自由に移動させることができます");
}

TEST_F(StatusBarTest, RangeHintsSwapTheirDirectionWithTheFlattening) {
    ASSERT_TRUE(Start());
    ui::CMyStatusBar& status = Status();
    status.RangeHint(str::kGuideRightDragFlatness);
    EXPECT_TRUE(status.Guide().contains("上下移動させて範囲矩形の扁平率"));
    app->Model().settings.flatDirection = 1;
    status.RangeHint(str::kGuideRightDragFlatness);
    EXPECT_TRUE(status.Guide().contains("左右移動させて範囲矩形の扁平率"));
    status.RangeHint(str::kGuideRightDragSize);
    EXPECT_TRUE(status.Guide().contains("上下移動させて範囲矩形のサイズ"));
    // A hint naming neither direction is left as it is.
    EXPECT_EQ(ui::CMyStatusBar::RangeHintText(str::kGuideF4, true),
              "F4キーを押して、扁平方向の切替えができます");
}

TEST_F(StatusBarTest, ANoticeShowsForOneSecondThenThePanesReturn) {
    ASSERT_TRUE(Start());
    ui::CMyStatusBar& status = Status();
    app->Model().settings.showGuide = 0;  // notices show regardless
    status.SetGuide("before");
    std::vector<std::pair<int, QString>> waits;
    status.blockingWait = [&](int ms) { waits.emplace_back(ms, status.Guide()); };
    status.FlashMessage(str::kNoticeStopCursor, false, texts::kStopOnWord, texts::kStopOffWord);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].first, 1000);
    EXPECT_EQ(waits[0].second,
              "ペンモードのとき、非描画色上でカーソルを止めないように設定しました");
    EXPECT_EQ(status.Guide(), "");
    status.FlashMessage(str::kNoticeGuide, true, texts::kSwitchOnWord, texts::kSwitchOffWord);
    EXPECT_EQ(waits[1].second, "ステータスバーに操作ガイドを表示するように設定しました");
    EXPECT_EQ(ui::CMyStatusBar::SwitchNoticeText(str::kNoticeGuide, false, texts::kSwitchOnWord,
                                                 texts::kSwitchOffWord),
              "ステータスバーに操作ガイドを表示しないように設定しました");
}

TEST_F(StatusBarTest, ProgressRangeHeldInSixteenBits) {
    ASSERT_TRUE(Start());
    ui::CMyStatusBar& status = Status();
    status.SetProgressRange(480);
    status.SetProgressPosition(120);
    EXPECT_EQ(status.ProgressBar()->maximum(), 480);
    EXPECT_EQ(status.ProgressBar()->value(), 120);
    status.SetProgressRange(70000);
    EXPECT_EQ(status.ProgressBar()->maximum(), 0xFFFF);
    status.SetProgressPosition(-5);
    EXPECT_EQ(status.ProgressBar()->value(), 0);
    status.SetProgressPosition(200);
    status.ResetProgress();
    EXPECT_EQ(status.ProgressBar()->value(), 0);
}

// A pass over a wide image reports hundreds of positions: each is set, but the bar is painted
// again only when what it shows changes.
TEST_F(StatusBarTest, ProgressRepaintsOnlyWhatShows) {
    ASSERT_TRUE(StartShown());
    ui::CMyStatusBar& status = Status();
    QProgressBar* bar = status.ProgressBar();
    struct PaintCounter : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
        int paints = 0;
    } counter;
    bar->installEventFilter(&counter);
    status.SetProgressRange(10000);
    status.SetProgressPosition(0);
    EXPECT_EQ(counter.paints, 1);
    for (int x = 0; x < 10000; x += 20) {
        status.SetProgressPosition(x);
        ASSERT_EQ(bar->value(), x);
    }
    EXPECT_GT(counter.paints, 1);
    EXPECT_LE(counter.paints, bar->width() + 101);
    EXPECT_LT(counter.paints, 500);
    bar->removeEventFilter(&counter);
}

}  // namespace
}  // namespace palvex
