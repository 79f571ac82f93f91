// The keyboard and the menus as a person uses them: the frame's keys from the navigator, the
// application menu by access keys and by mouse, Qt's own dialogs in Japanese, and what still
// fits at the smallest sizes.

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest/QTest>

#include "app/ui/qt_language.h"
#include "app/ui/qt_text.h"
#include "canvas/ui/navi_dlg.h"
#include "canvas/ui/navigator_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/application_button.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_panel.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

class KeysAndMenusTest : public test::AppFixture {
protected:
    void StartWithImage() {
        imagePath = WriteImage("keys.png");
        ASSERT_TRUE(Start({ui::PathToQString(imagePath)}));
        app->MainFrame()->resize(900, 600);
        app->MainFrame()->StatusBar()->blockingWait = [](int) {};
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    }

    ui::CMyRibbonBar& Ribbon() { return *app->MainFrame()->Ribbon(); }
    ui::ApplicationMenu& Menu() { return *Ribbon().AppMenu(); }

    ui::RibbonButton* MenuButton(int id) {
        for (const ui::RibbonElement& element : Ribbon().Elements()) {
            if (element.row->id == id && element.row->place == CommandPlace::ApplicationMenu) {
                return qobject_cast<ui::RibbonButton*>(element.widget);
            }
        }
        return nullptr;
    }

    void OpenMenuByMouse() {
        QTest::mouseClick(Ribbon().AppButton(), Qt::LeftButton);
        ASSERT_TRUE(Menu().isVisible());
        ASSERT_EQ(QApplication::activePopupWidget(), &Menu());
    }

    // A key as the window system delivers it: to the open popup, else to the active window.
    static void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::activePopupWidget();
        if (target == nullptr) {
            target = QApplication::activeWindow();
        }
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target->windowHandle(), key, modifiers);
    }

    // Runs `act`; the modal dialog it opens is closed as soon as it shows. Gives its class.
    static QString CloseNextDialog(const std::function<void()>& act) {
        QString seen;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = dialog->metaObject()->className();
                dialog->reject();
            }
        });
        poll.start();
        act();
        poll.stop();
        return seen;
    }

    std::filesystem::path imagePath;
};

TEST_F(KeysAndMenusTest, TheFramesKeysWorkWhileTheNavigatorHasTheFocus) {
    StartWithImage();
    app->Router().Dispatch(cmd::ID_NAVI_DSP);
    ui::CNaviDlg* navi = app->MainFrame()->Navigator()->Navigator();
    ASSERT_NE(navi, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(navi));
    // A click in the navigator takes the keyboard there.
    const auto focusNavigator = [&] {
        navi->activateWindow();
        // A tool window reads as active while its owner is; wait for the navigator itself.
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == navi; }));
        QTest::mouseClick(navi, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus == navi || navi->isAncestorOf(focus));
    };
    focusNavigator();

    const AppSettings& settings = app->Model().settings;
    const int tip = settings.showTip;
    Type(Qt::Key_F12);
    EXPECT_NE(settings.showTip, tip);
    const bool animation = settings.animationRings != 0;
    Type(Qt::Key_F10);
    EXPECT_NE(settings.animationRings != 0, animation);
    const bool minimized = Ribbon().IsMinimized();
    Type(Qt::Key_F11);
    EXPECT_NE(Ribbon().IsMinimized(), minimized);
    EXPECT_EQ(CloseNextDialog([] { Type(Qt::Key_P, Qt::ControlModifier); }),
              "palvex::ui::CInsatuDlg");
    focusNavigator();
    // F1 is the framework's key, also heard here (the tests have no manual to show).
    prompter.shown.clear();
    Type(Qt::Key_F1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, str::kManualMissing);
    focusNavigator();
    Type(Qt::Key_F8);
    EXPECT_FALSE(navi->isVisible());
    EXPECT_EQ(settings.showNavigator, 0);
}

TEST_F(KeysAndMenusTest, TheCanvasKeysStayWithTheCanvas) {
    StartWithImage();
    app->Router().Dispatch(cmd::ID_REVERSE_H);
    ASSERT_TRUE(app->Document().IsModified());
    const Pixel flipped = app->Model().image.WorkImage.Row(0)[0];
    app->Router().Dispatch(cmd::ID_NAVI_DSP);
    ui::CNaviDlg* navi = app->MainFrame()->Navigator()->Navigator();
    navi->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == navi; }));
    // Ctrl+Z is the canvas's: from the navigator it undoes nothing.
    Type(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app->Model().image.WorkImage.Row(0)[0], flipped);
    // A dialog open over the editor keeps its keys: F8 there does not hide the navigator.
    bool navigatorShown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog->windowHandle(), Qt::Key_F8);
        navigatorShown = navi->isVisible();
        dialog->reject();
    });
    app->Router().Dispatch(cmd::ID_APP_ABOUT);
    EXPECT_TRUE(navigatorShown);
}

TEST_F(KeysAndMenusTest, TheApplicationMenuAnswersItsAccessKeys) {
    StartWithImage();
    prompter.saveChoice.reset();  // the save dialogs are cancelled

    OpenMenuByMouse();
    Type(Qt::Key_O);
    EXPECT_FALSE(Menu().isVisible());
    EXPECT_TRUE(prompter.openRequest);

    // An entry with items opens them; the next key chooses among them.
    for (const auto& [entry, entryKey, itemKey, filter] :
         {std::tuple{cmd::ID_AS_NORMAL, Qt::Key_N, Qt::Key_B, 7},
          {cmd::ID_AS_NORMAL, Qt::Key_N, Qt::Key_G, 10},
          {cmd::ID_AS_NORMAL, Qt::Key_N, Qt::Key_T, 12},
          {cmd::ID_AS_ALPHA, Qt::Key_T, Qt::Key_P, 15},
          {cmd::ID_AS_ALPHA, Qt::Key_T, Qt::Key_T, 16}}) {
        SCOPED_TRACE(filter);
        prompter.saveRequest.reset();
        OpenMenuByMouse();
        Type(entryKey);
        ASSERT_TRUE(Menu().isVisible());
        EXPECT_EQ(Menu().ShownEntry(), MenuButton(entry));
        EXPECT_TRUE(MenuButton(entry)->isVisible() &&
                    Menu().ItemsOf(MenuButton(entry))[0]->isVisible());
        EXPECT_FALSE(prompter.saveRequest);
        Type(itemKey);
        EXPECT_FALSE(Menu().isVisible());
        ASSERT_TRUE(prompter.saveRequest);
        EXPECT_EQ(prompter.saveRequest->selectedFilter, filter);
    }

    // Esc steps back out of the items: P is then the print entry, not the PNG item.
    OpenMenuByMouse();
    Type(Qt::Key_N);
    Type(Qt::Key_Escape);
    EXPECT_TRUE(Menu().isVisible());
    EXPECT_EQ(Menu().KeyEntry(), nullptr);
    prompter.saveRequest.reset();
    EXPECT_EQ(CloseNextDialog([] { Type(Qt::Key_P); }), "palvex::ui::CInsatuDlg");
    EXPECT_FALSE(prompter.saveRequest);
    EXPECT_FALSE(Menu().isVisible());

    OpenMenuByMouse();
    Type(Qt::Key_M);
    EXPECT_EQ(Menu().ShownEntry(), MenuButton(cmd::ID_SETTEI_BTN));
    EXPECT_EQ(CloseNextDialog([] { Type(Qt::Key_K); }), "palvex::ui::CKansetDlg");
    OpenMenuByMouse();
    EXPECT_EQ(CloseNextDialog([] { Type(Qt::Key_A); }), "palvex::ui::CAboutDlg");

    // A key that names nothing leaves the menu open; Esc closes it.
    OpenMenuByMouse();
    Type(Qt::Key_Q);
    EXPECT_TRUE(Menu().isVisible());
    Type(Qt::Key_Escape);
    EXPECT_FALSE(Menu().isVisible());

    // S saves over the file.
    app->Router().Dispatch(cmd::ID_REVERSE_H);
    const auto before = test::ReadFileBytes(imagePath);
    OpenMenuByMouse();
    Type(Qt::Key_S);
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_NE(test::ReadFileBytes(imagePath), before);

    // The recent files carry their numbers as access keys.
    QSignalSpy recent(&Ribbon(), &ui::CMyRibbonBar::RecentChosen);
    OpenMenuByMouse();
    ASSERT_FALSE(Menu().RecentButtons().empty());
    Type(Qt::Key_1);
    EXPECT_FALSE(Menu().isVisible());
    ASSERT_EQ(recent.count(), 1);
    EXPECT_EQ(recent[0][0].toInt(), 0);

    OpenMenuByMouse();
    Type(Qt::Key_X);
    EXPECT_FALSE(app->MainFrame()->isVisible());
}

TEST_F(KeysAndMenusTest, AMenuEntryThatCannotRunIgnoresItsKey) {
    ASSERT_TRUE(Start());
    app->MainFrame()->resize(900, 600);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    OpenMenuByMouse();
    Type(Qt::Key_S);  // no image: nothing to save
    EXPECT_TRUE(Menu().isVisible());
    EXPECT_TRUE(prompter.shown.empty());
    Type(Qt::Key_N);
    Type(Qt::Key_P);
    EXPECT_FALSE(prompter.saveRequest);
    Type(Qt::Key_Escape);
    Type(Qt::Key_Escape);
    EXPECT_FALSE(Menu().isVisible());
}

TEST_F(KeysAndMenusTest, TheApplicationMenuWorksByMouseAlone) {
    StartWithImage();
    OpenMenuByMouse();
    ui::RibbonButton* entry = MenuButton(cmd::ID_AS_ALPHA);
    // The arrow at the entry's right end opens its items.
    QTest::mouseClick(entry, Qt::LeftButton, Qt::NoModifier,
                      QPoint(entry->width() - 8, entry->height() / 2));
    ASSERT_EQ(Menu().ShownEntry(), entry);
    ui::RibbonButton* gif = MenuButton(cmd::ID_AS_A_GIF);
    ASSERT_TRUE(gif->isVisible());
    QTest::mouseClick(gif, Qt::LeftButton);
    EXPECT_FALSE(Menu().isVisible());
    ASSERT_TRUE(prompter.saveRequest);
    EXPECT_EQ(prompter.saveRequest->selectedFilter, 14);
}

TEST_F(KeysAndMenusTest, EveryItemOfTheApplicationMenuShowsWholeOnTheScreen) {
    StartWithImage();
    // The window low on the screen: the menu moves up rather than running off it.
    const QRect screen = app->MainFrame()->screen()->availableGeometry();
    app->MainFrame()->move(screen.left(), screen.bottom() - 120);
    QApplication::processEvents();
    const ui::RibbonLook& look = ui::LookOf(&Menu());
    for (const int id : {cmd::ID_AS_NORMAL, cmd::ID_AS_ALPHA, cmd::ID_SETTEI_BTN}) {
        SCOPED_TRACE(id);
        OpenMenuByMouse();
        ASSERT_GT(Ribbon().AppButton()->MenuPosition().y() + Menu().height(), screen.bottom());
        EXPECT_TRUE(screen.contains(Menu().frameGeometry()));
        ui::RibbonButton* entry = MenuButton(id);
        QTest::mouseClick(entry, Qt::LeftButton, Qt::NoModifier,
                          QPoint(entry->width() - 8, entry->height() / 2));
        ASSERT_EQ(Menu().ShownEntry(), entry);
        const QImage shot = Menu().grab().toImage();
        for (ui::RibbonButton* item : Menu().ItemsOf(entry)) {
            SCOPED_TRACE(item->Label().toStdString());
            ASSERT_TRUE(item->isVisible());
            const QRect r(item->mapTo(&Menu(), QPoint(0, 0)), item->size());
            ASSERT_TRUE(Menu().rect().contains(r));
            for (ui::RibbonButton* foot : Menu().FootButtons()) {
                EXPECT_LT(r.bottom(), foot->mapTo(&Menu(), QPoint(0, 0)).y());
            }
            // The item's lowest row lies on the menu's light ground, not on the dark foot.
            EXPECT_EQ(shot.pixelColor(r.right() - 4, r.bottom() - 1), look.menuBack);
        }
        Menu().hide();
    }
}

TEST_F(KeysAndMenusTest, AtTheSmallestWindowTheRibbonsElementsKeepTheirRoom) {
    StartWithImage();
    app->MainFrame()->resize(app->MainFrame()->minimumSize());
    QApplication::processEvents();
    ASSERT_EQ(app->MainFrame()->width(), 400);
    // The ribbon never takes the keyboard from the canvas.
    app->MainFrame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->MainFrame()));
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus != nullptr && (focus == app->View() || app->View()->isAncestorOf(focus)));
    ui::CMyRibbonBar& ribbon = Ribbon();
    const auto rectIn = [](QWidget* widget, QWidget* frame) {
        return QRect(widget->mapTo(frame, QPoint(0, 0)), widget->size());
    };
    // The tab row: the tabs and the buttons at its right end.
    auto* tabs = ribbon.findChild<QTabBar*>("ribbonTabs");
    ASSERT_NE(tabs, nullptr);
    EXPECT_GE(tabs->width(), tabs->minimumSizeHint().width());
    for (const ui::RibbonElement& element : ribbon.Elements()) {
        if (element.row->place == CommandPlace::TabRow && element.widget != nullptr) {
            EXPECT_FALSE(rectIn(tabs, &ribbon).intersects(rectIn(element.widget, &ribbon)))
                << element.row->name;
        }
    }
    for (int tab = 0; tab < ribbon.TabCount(); ++tab) {
        SCOPED_TRACE(tab);
        ASSERT_TRUE(ribbon.ActivateRibbonTab(ribbon.TabName(tab)));
        QApplication::processEvents();
        std::vector<QWidget*> shown;
        for (int i = 0; ribbon.Panel(tab, i) != nullptr; ++i) {
            shown.push_back(ribbon.Panel(tab, i));
        }
        QWidget* last = shown.back();
        for (const ui::RibbonElement& element : ribbon.Elements()) {
            if (element.tab == tab && element.widget != nullptr && element.widget->isVisible()) {
                shown.push_back(element.widget);
            }
        }
        QWidget* page = shown.front()->parentWidget();
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const QRect a = rectIn(shown[i], page);
            EXPECT_GE(a.width(), shown[i]->minimumSizeHint().width())
                << shown[i]->objectName().toStdString();
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                const bool nested =
                    shown[i]->isAncestorOf(shown[j]) || shown[j]->isAncestorOf(shown[i]);
                EXPECT_TRUE(nested || !a.intersects(rectIn(shown[j], page)))
                    << shown[i]->objectName().toStdString() << " / "
                    << shown[j]->objectName().toStdString();
            }
        }
        // What does not fit is reached with the arrow at the right end.
        auto* area = qobject_cast<QScrollArea*>(page->parentWidget()->parentWidget());
        ASSERT_NE(area, nullptr);
        auto* right = area->findChild<QToolButton*>("scrollRight");
        ASSERT_NE(right, nullptr);
        const auto lastShows = [&] {
            return area->viewport()->rect().contains(rectIn(last, area->viewport()));
        };
        for (int clicks = 0; clicks < 50 && right->isVisible() && !lastShows(); ++clicks) {
            QTest::mouseClick(right, Qt::LeftButton);
        }
        EXPECT_TRUE(lastShows());
    }
}

TEST(QtLanguage, QtsOwnDialogsReadInJapaneseWhileTheTranslationIsInstalled) {
    const auto yesText = [] {
        QMessageBox box(QMessageBox::Question, "Palvex", "?",
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return QStringList{box.button(QMessageBox::Yes)->text(),
                           box.button(QMessageBox::No)->text(),
                           box.button(QMessageBox::Cancel)->text()};
    };
    const auto fileDialogTexts = [] {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QStringList texts;
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            auto* label = dialog.findChild<QLabel*>(name);
            EXPECT_NE(label, nullptr) << name;
            texts << (label != nullptr ? label->text() : QString());
        }
        auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
        EXPECT_NE(buttons, nullptr);
        if (buttons != nullptr) {
            texts << buttons->button(QDialogButtonBox::Save)->text()
                  << buttons->button(QDialogButtonBox::Cancel)->text();
        }
        return texts;
    };
    const QStringList englishFile = fileDialogTexts();
    ASSERT_EQ(englishFile[0], "Look in:");
    {
        ui::QtLanguage language;
        ASSERT_TRUE(language.Install());
        EXPECT_EQ(yesText(), (QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"}));
        const QStringList file = fileDialogTexts();
        ASSERT_EQ(file.size(), 5);
        EXPECT_EQ(file[0], "アドレス:");
        EXPECT_EQ(file[1], "ファイル名(&N):");
        EXPECT_EQ(file[2], "ファイルの種類:");
        EXPECT_EQ(file[3], "保存(&S)");
        EXPECT_EQ(file[4], "キャンセル");
    }
    // Gone with its owner: the next language can take its place.
    EXPECT_EQ(fileDialogTexts(), englishFile);
    ui::QtLanguage english;
    EXPECT_FALSE(english.Install(QLocale(QLocale::English)));
    EXPECT_EQ(fileDialogTexts(), englishFile);
}

}  // namespace
}  // namespace palvex
