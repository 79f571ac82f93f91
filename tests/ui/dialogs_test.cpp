// The dialogs around the editing as the application runs them: the environment settings, the
// recent files and their manager, printing, the manual and the about box.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "app/ui/qt_text.h"
#include "dialogs/ui/kanset_dlg.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

class DialogsTest : public test::AppFixture {
protected:
    // Runs `act` on the modal dialog the command opens, then lets the command finish.
    template <typename Dialog>
    void RunCommand(int command, std::function<void(Dialog&)> act) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            act(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        app->Router().Dispatch(command);
        EXPECT_TRUE(seen);
    }

    template <typename Widget>
    static Widget* Child(QWidget& dialog, const char* name) {
        auto* child = dialog.findChild<Widget*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};

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

}  // namespace
}  // namespace palvex
