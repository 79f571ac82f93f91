// The dialogs around the editing as the application runs them: the environment settings, the
// recent files and their manager, printing, the manual and the about box.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "app/ui/qt_text.h"
#include "dialogs/ui/kanset_dlg.h"
#include "dialogs/ui/recent_dlg.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "resources/command_ids.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

class DialogsTest : public test::AppFixture {};

TEST_F(DialogsTest, SettingsDialogShowsTheSettingsAndAppliesThemAtOk) {
    ASSERT_TRUE(Start());
    setting::kFirstTrans.Write(store, 9);  // out of range: shown and stored as white
    app->Model().settings.animationSpeed = 2;
    app->Model().settings.showGuide = 1;
    app->MainFrame()->StatusBar()->SetGuide("guide");
    RunCommand<ui::CKansetDlg>(cmd::ID_KAN_SET, [](ui::CKansetDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "システムの環境設定");
        EXPECT_FALSE(Child<QCheckBox>(dialog, "firstOpen")->isChecked());
        EXPECT_TRUE(Child<QCheckBox>(dialog, "makeBackup")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(dialog, "firstTrans1")->isChecked());
        EXPECT_EQ(Child<QRadioButton>(dialog, "firstTrans2")->toolTip(), "赤色\nRGB(255, 0, 0)");
        EXPECT_TRUE(Child<QCheckBox>(dialog, "animation")->isChecked());
        auto* count = Child<QSpinBox>(dialog, "animationCount");
        EXPECT_EQ(count->minimum(), 1);
        EXPECT_EQ(count->maximum(), 10);
        EXPECT_EQ(count->value(), 3);
        EXPECT_TRUE(Child<QRadioButton>(dialog, "speed2")->isChecked());
        EXPECT_EQ(Child<QRadioButton>(dialog, "speed0")->text(), "速い");
        EXPECT_EQ(Child<QRadioButton>(dialog, "speed4")->text(), "遅い");

        Child<QCheckBox>(dialog, "firstOpen")->setChecked(true);
        Child<QCheckBox>(dialog, "makeBackup")->setChecked(false);
        Child<QRadioButton>(dialog, "firstTrans3")->setChecked(true);
        Child<QCheckBox>(dialog, "guide")->setChecked(false);
        Child<QCheckBox>(dialog, "rgb")->setChecked(false);
        Child<QCheckBox>(dialog, "stopCursor")->setChecked(false);
        Child<QCheckBox>(dialog, "keyHelp")->setChecked(false);
        count->findChild<QLineEdit*>()->setText("25");
        Child<QRadioButton>(dialog, "speed4")->setChecked(true);
        QTest::mouseClick(Child<QPushButton>(dialog, "ok"), Qt::LeftButton);
    });
    EXPECT_EQ(store.ReadInt("Last", "FirstOpen"), 1);
    EXPECT_EQ(store.ReadInt("Last", "MakeBackup"), 0);
    EXPECT_EQ(store.ReadInt("Last", "FirstTrans"), 3);
    const AppSettings& settings = app->Model().settings;
    EXPECT_EQ(settings.showGuide, 0);
    EXPECT_EQ(settings.showRgb, 0);
    EXPECT_EQ(settings.stopCursor, 0);
    EXPECT_EQ(settings.showTip, 0);
    EXPECT_EQ(settings.animationRings, 10);
    EXPECT_EQ(settings.animationSpeed, 4);
    EXPECT_FALSE(store.ReadInt("Last", "DspGuide").has_value());
    // The guide switched off leaves the status bar at once.
    EXPECT_EQ(app->MainFrame()->StatusBar()->Guide(), "");
}

TEST_F(DialogsTest, SettingsDialogCancelChangesNothing) {
    ASSERT_TRUE(Start());
    const AppSettings before = app->Model().settings;
    RunCommand<ui::CKansetDlg>(cmd::ID_KAN_SET, [](ui::CKansetDlg& dialog) {
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            box->setChecked(!box->isChecked());
        }
        Child<QRadioButton>(dialog, "firstTrans0")->setChecked(true);
        Child<QRadioButton>(dialog, "speed3")->setChecked(true);
        QTest::mouseClick(Child<QPushButton>(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(app->Model().settings, before);
    for (const char* key : {"FirstOpen", "MakeBackup", "FirstTrans"}) {
        EXPECT_FALSE(store.ReadInt("Last", key).has_value()) << key;
    }
}

TEST_F(DialogsTest, SettingsDialogAnimationOffAndLettersInTheCount) {
    ASSERT_TRUE(Start());
    RunCommand<ui::CKansetDlg>(cmd::ID_KAN_SET, [](ui::CKansetDlg& dialog) {
        Child<QSpinBox>(dialog, "animationCount")->findChild<QLineEdit*>()->setText("ab");
        dialog.accept();
    });
    EXPECT_EQ(app->Model().settings.animationRings, 1);
    RunCommand<ui::CKansetDlg>(cmd::ID_KAN_SET, [](ui::CKansetDlg& dialog) {
        Child<QCheckBox>(dialog, "animation")->setChecked(false);
        dialog.accept();
    });
    EXPECT_EQ(app->Model().settings.animationRings, 0);
    RunCommand<ui::CKansetDlg>(cmd::ID_KAN_SET, [](ui::CKansetDlg& dialog) {
        EXPECT_FALSE(Child<QCheckBox>(dialog, "animation")->isChecked());
        EXPECT_EQ(Child<QSpinBox>(dialog, "animationCount")->value(), 3);
    });
}

TEST_F(DialogsTest, SettingsDialogCountTypedPastItsRangeIsLimited) {
    ASSERT_TRUE(Start());
    // Each typed as a person would: click into the count, select it, type, then OK.
    const auto typeCount = [this](const QString& text) {
        RunCommand<ui::CKansetDlg>(cmd::ID_KAN_SET, [&text](ui::CKansetDlg& dialog) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            auto* count = Child<QSpinBox>(dialog, "animationCount");
            QTest::mouseClick(count->findChild<QLineEdit*>(), Qt::LeftButton);
            QTest::keyClick(count, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(count, text);
            if (text.isEmpty()) {
                QTest::keyClick(count, Qt::Key_Delete);
            }
            QTest::mouseClick(Child<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        return app->Model().settings.animationRings;
    };
    EXPECT_EQ(typeCount("25"), 10);
    EXPECT_EQ(typeCount("0"), 1);
    EXPECT_EQ(typeCount("7"), 7);
    EXPECT_EQ(typeCount(""), 1);
}

TEST_F(DialogsTest, RecentMenuShowsFileNamesWithAmpersandsDoubled) {
    const auto plain = WriteImage("plain.png");
    const auto ampersand = WriteImage("R&D.png");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->OpenImageFile(plain));
    ASSERT_TRUE(app->OpenImageFile(ampersand));
    ui::CMyRibbonBar& ribbon = *app->MainFrame()->Ribbon();
    ribbon.ShowApplicationMenu();
    const auto buttons = ribbon.AppMenu()->RecentButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->text(), "&1 R&&D.png");
    EXPECT_EQ(buttons[0]->Label(), "1 R&D.png");
    EXPECT_EQ(buttons[1]->text(), "&2 plain.png");
    ribbon.AppMenu()->hide();

    // Choosing the second moves it to the top.
    app->Router().Dispatch(cmd::ID_FILE_MRU_FIRST + 1);
    EXPECT_EQ(app->Model().recent.Entry(0), PathText(plain));
    EXPECT_EQ(app->Document().PathName(), plain);
}

TEST_F(DialogsTest, RecentMissingFileIsRemovedOnlyOnYes) {
    const auto kept = WriteImage("kept.png");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->OpenImageFile(kept));
    app->Model().recent.Add(PathText(temp.File("gone.png")));
    app->Model().recent.Add(PathText(temp.File("gone2.png")));
    prompter.answers = {Answer::No};
    app->Router().Dispatch(cmd::ID_FILE_MRU_FIRST + 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(app->Model().recent.Count(), 3);
    prompter.answers = {Answer::Yes};
    app->Router().Dispatch(cmd::ID_FILE_MRU_FIRST + 1);
    ASSERT_EQ(app->Model().recent.Count(), 2);
    EXPECT_EQ(app->Model().recent.Entry(1), PathText(kept));
}

class FailingShell final : public DesktopShell {
public:
    bool OpenFolder(const std::filesystem::path& folder) override {
        opened = folder;
        return false;
    }
    std::filesystem::path opened;
};

TEST_F(DialogsTest, RecentManagerDeletesCheckedRowsAndRenumbers) {
    ASSERT_TRUE(Start());
    for (const char* name : {"/e/5.png", "/d/4.png", "/c/3.png", "/b/2.png", "/a/1.png"}) {
        app->Model().recent.Add(name);
    }
    RunCommand<ui::CRecentDlg>(cmd::ID_RECENT_KANRI, [this](ui::CRecentDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "最近使ったファイルの管理");
        QTableWidget* table = dialog.Table();
        ASSERT_EQ(table->rowCount(), 5);
        EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "№");
        EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "パス");
        EXPECT_EQ(table->columnWidth(0), 60);
        EXPECT_EQ(table->columnWidth(1), 450);
        EXPECT_EQ(table->item(1, 1)->text(), "/b/2.png");
        table->item(1, 0)->setCheckState(Qt::Checked);
        table->item(3, 0)->setCheckState(Qt::Checked);
        QTest::mouseClick(Child<QPushButton>(dialog, "deleteChecked"), Qt::LeftButton);
        ASSERT_EQ(table->rowCount(), 3);
        const QStringList expected{"/a/1.png", "/c/3.png", "/e/5.png"};
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(table->item(row, 0)->text(), QString::number(row + 1));
            EXPECT_EQ(table->item(row, 1)->text(), expected[row]);
            EXPECT_EQ(ui::ToQString(app->Model().recent.Entry(row)), expected[row]);
        }
        EXPECT_EQ(app->Model().recent.Count(), 3);
    });
}

TEST_F(DialogsTest, RecentManagerDeleteAllAndTheFolderOfARow) {
    ASSERT_TRUE(Start());
    app->Model().recent.Add("/pictures/b.png");
    app->Model().recent.Add("/pictures/a.png");
    FailingShell failing;
    ui::CRecentDlg dialog(app->Model().recent, prompter, failing);
    dialog.ShowFolderOf(7);  // no row: nothing
    EXPECT_TRUE(prompter.shown.empty());
    dialog.ShowFolderOf(1);
    EXPECT_EQ(failing.opened, std::filesystem::path("/pictures"));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, 30048);
    QTest::mouseClick(dialog.findChild<QPushButton*>("deleteAll"), Qt::LeftButton);
    EXPECT_EQ(dialog.Table()->rowCount(), 0);
    EXPECT_EQ(app->Model().recent.Count(), 0);
}

}  // namespace
}  // namespace palvex
