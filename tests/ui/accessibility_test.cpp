// The editor as a screen reader and a keyboard-only user meet it: every ribbon control named
// from its command, values offered through Qt's interfaces, the canvas announcing the image, and
// every control reached and worked from the keyboard.

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <QtTest/QTest>
#include <set>

#include "app/ui/qt_text.h"
#include "barrier/ui/barrier_tool.h"
#include "canvas/ui/navi_dlg.h"
#include "canvas/ui/navigator_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/application_button.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/pen_style_grid.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_gallery.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "mainwindow/ui/ribbon_spin_edit.h"
#include "resources/command_ids.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

using ui::ToQString;

// The name the rules give a row, worked out here on their own: the label as it shows now (the
// action's text follows the state), without the access-key mark and a trailing colon; a row
// without a label is named by its prompt's title.
QString ExpectedName(const CommandInfo& row, const QAction* action) {
    QString name = row.label.empty()   ? QString()
                   : action != nullptr ? action->text()
                                       : ToQString(row.label);
    name.remove('&');  // no label of the table doubles it
    if (name.endsWith(':')) {
        name.chop(1);
    }
    return name.isEmpty() ? ToQString(PromptTitle(row)) : name;
}

class AccessibilityTest : public test::AppFixture {
protected:
    void StartWithImage() {
        imagePath = WriteImage("keys.png");
        ASSERT_TRUE(Start({ui::PathToQString(imagePath)}));
        app->MainFrame()->resize(1400, 700);
        app->MainFrame()->StatusBar()->blockingWait = [](int) {};
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        app->MainFrame()->activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == app->MainFrame(); }));
    }

    ui::CMyRibbonBar& Ribbon() { return *app->MainFrame()->Ribbon(); }
    ui::RibbonButton* Button(int id) { return Ribbon().Button(id); }

    static QAccessibleInterface* Accessible(QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        EXPECT_NE(accessible, nullptr);
        return accessible;
    }
    static QString NameOf(QObject* object) { return Accessible(object)->text(QAccessible::Name); }

    void Run(int id) { app->Router().Dispatch(id); }

    // The keyboard to `widget` as Tab brings it there (a closed popup leaves no window active).
    void Focus(QWidget* widget) {
        app->MainFrame()->activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == app->MainFrame(); }));
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }

    // A key as the window system delivers it, to the widget that has the keyboard.
    static void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }

    std::filesystem::path imagePath;
};

TEST_F(AccessibilityTest, EveryRibbonControlIsNamedAndDescribedByItsCommand) {
    StartWithImage();
    int widgets = 0;
    int menuItems = 0;
    for (const CommandInfo& row : CommandTable()) {
        if (row.place == CommandPlace::None) {
            continue;
        }
        const ui::RibbonElement* element = Ribbon().ElementFor(row);
        ASSERT_NE(element, nullptr) << row.name;
        const QString expected = ExpectedName(row, element->action);
        if (element->widget != nullptr) {
            ++widgets;
            QAccessibleInterface* accessible = Accessible(element->widget);
            const QString name = accessible->text(QAccessible::Name);
            if (row.id == cmd::ID_FILE_PRINT_DIRECT) {
                // Neither label nor prompt: the icon stands for printing.
                EXPECT_EQ(name, ExpectedName(*FindCommand(cmd::ID_FILE_PRINT), nullptr));
            } else {
                EXPECT_EQ(name, expected) << row.name;
            }
            EXPECT_FALSE(name.isEmpty()) << row.name;
            EXPECT_EQ(accessible->text(QAccessible::Description), ToQString(PromptDescription(row)))
                << row.name;
            if (auto* spin = qobject_cast<ui::RibbonSpinEdit*>(element->widget)) {
                // The keyboard and the screen reader reach the edit itself.
                EXPECT_EQ(NameOf(spin->Edit()), name);
                EXPECT_EQ(Accessible(spin->Edit())->text(QAccessible::Description),
                          ToQString(PromptDescription(row)));
            }
        } else {
            // An item of a drop-down menu: Qt names it from its action's text.
            ASSERT_NE(element->menu, nullptr) << row.name;
            ++menuItems;
            QAccessibleInterface* menu = Accessible(element->menu);
            bool found = false;
            for (int i = 0; i < menu->childCount() && !found; ++i) {
                found = menu->child(i)->text(QAccessible::Name) == expected;
            }
            EXPECT_TRUE(found) << row.name << " " << ui::ToStdString(expected);
        }
    }
    EXPECT_GT(widgets, 60);
    EXPECT_GT(menuItems, 30);

    // The controls that do not come from the table.
    ui::ApplicationButton* appButton = Ribbon().AppButton();
    EXPECT_EQ(NameOf(appButton), ToQString(texts::kApplicationMenu));
    EXPECT_EQ(Accessible(appButton)->text(QAccessible::Description),
              ToQString(texts::kApplicationButtonTip));
    auto* tabs = Ribbon().findChild<QTabBar*>("ribbonTabs");
    ASSERT_NE(tabs, nullptr);
    QAccessibleInterface* tabList = Accessible(tabs);
    QStringList tabNames;
    for (int i = 0; i < tabList->childCount(); ++i) {
        if (tabList->child(i)->role() == QAccessible::PageTab) {
            tabNames << tabList->child(i)->text(QAccessible::Name);
        }
    }
    // The home tab's hint after the blanks is no part of its name.
    EXPECT_EQ(tabNames, (QStringList{ToQString(texts::kHomeTab).section("  ", 0, 0),
                                     ToQString(texts::kPenTab), ToQString(texts::kBarrierTab)}));
}

TEST_F(AccessibilityTest, ButtonsTellTheirRoleAndOfferTheirParts) {
    StartWithImage();
    QAccessibleInterface* split = Accessible(Button(cmd::ID_SELECT));
    EXPECT_EQ(split->role(), QAccessible::ButtonDropDown);
    EXPECT_EQ(split->actionInterface()->actionNames(),
              (QStringList{QAccessibleActionInterface::pressAction(),
                           QAccessibleActionInterface::showMenuAction()}));
    EXPECT_TRUE(split->state().hasPopup);
    QAccessibleInterface* menuOnly = Accessible(Button(cmd::ID_ROT_BTN));
    EXPECT_EQ(menuOnly->role(), QAccessible::ButtonMenu);
    EXPECT_EQ(menuOnly->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::showMenuAction()});
    QAccessibleInterface* plain = Accessible(Button(cmd::ID_PEN));
    EXPECT_EQ(plain->role(), QAccessible::Button);
    EXPECT_EQ(plain->text(QAccessible::Accelerator), QString());

    // Pressing through the interface runs the command as a click does.
    plain->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(app->Model().settings.toolMode, 1);
    QAccessibleInterface* open = Accessible(Ribbon().AppMenu()->Entries().front());
    EXPECT_FALSE(open->text(QAccessible::Accelerator).isEmpty());
}

TEST_F(AccessibilityTest, SlidersAndEditsOfferTheirValues) {
    StartWithImage();
    ui::RibbonSlider* zoom = Ribbon().Slider(cmd::ID_ZOOM_SLIDER);
    QAccessibleInterface* accessible = Accessible(zoom);
    EXPECT_EQ(accessible->role(), QAccessible::Slider);
    QAccessibleValueInterface* value = accessible->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 1);
    EXPECT_EQ(value->maximumValue().toInt(), 5);
    EXPECT_EQ(value->currentValue().toInt(), zoom->Position());
    // Set through the interface, the slider moves as a user moves it: the zoom follows.
    value->setCurrentValue(4);
    EXPECT_EQ(zoom->Position(), 4);
    EXPECT_EQ(app->Model().settings.zoomFactor, 4.0f);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(app->Model().settings.zoomFactor, 2.0f);

    // The tolerance slider of the pen tab, moved from the keyboard.
    Ribbon().ActivateRibbonTab(ToQString(texts::kPenTab));
    ui::RibbonSlider* tolerance = Ribbon().Slider(cmd::ID_KINJI_SLIDER);
    const int before = tolerance->Position();
    Focus(tolerance);
    Type(Qt::Key_Right);
    EXPECT_EQ(tolerance->Position(), before + 1);
    EXPECT_EQ(app->Model().settings.tolerance, before + 1);
    Type(Qt::Key_Home);
    EXPECT_EQ(app->Model().settings.tolerance, 1);

    // The spin edits are Qt's own, with their value interface.
    auto* size = qobject_cast<ui::RibbonSpinEdit*>(
        Ribbon().FindElement(ToQString(texts::kPenTab), 0, cmd::ID_HANI_SPIN)->widget);
    ASSERT_NE(size, nullptr);
    QAccessibleValueInterface* edit = Accessible(size->Edit())->valueInterface();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->currentValue().toInt(), app->Model().settings.rangeSize);
    EXPECT_EQ(edit->maximumValue().toInt(), 500);
}

TEST_F(AccessibilityTest, ChangingLabelsRenameTheirControls) {
    StartWithImage();
    // The flattening direction.
    ui::RibbonButton* flat = Button(cmd::ID_FLAT_HV);
    const QString flatBefore = NameOf(flat);
    Run(cmd::ID_FLAT_HV);
    app->Router().UpdateActions();
    EXPECT_NE(NameOf(flat), flatBefore);
    EXPECT_EQ(NameOf(flat), flat->Action()->text());

    // Placing a barrier: the button reads "追加 終了" and the timer counts down.
    ui::RibbonButton* add = Button(cmd::ID_BARRIER_POS_ADD);
    ui::RibbonButton* timer = Button(cmd::ID_TOKEI);
    const QString timerBefore = NameOf(timer);
    Run(cmd::ID_BARRIER_POS_ADD);
    app->Router().UpdateActions();
    EXPECT_EQ(NameOf(add), ToQString(texts::kEndAddingLabel));
    auto& barrier = dynamic_cast<ui::BarrierTool&>(app->MainFrame()->Input()->Hooks().Barrier());
    QMetaObject::invokeMethod(const_cast<QTimer*>(&barrier.PlacingTimer()), "timeout");
    app->Router().UpdateActions();
    EXPECT_NE(NameOf(timer), timerBefore);
    EXPECT_EQ(NameOf(timer), timer->Action()->text());
    Run(cmd::ID_BARRIER_POS_ADD);
    app->Router().UpdateActions();
    EXPECT_EQ(NameOf(add), ExpectedName(*FindCommand(cmd::ID_BARRIER_POS_ADD), nullptr));

    // The flood fill's "same as the key" item, a menu item named by Qt from its action.
    QAction* same = app->Router().Action(cmd::ID_SAME_TRANS);
    const ui::RibbonElement* item = Ribbon().ElementFor(*FindCommand(cmd::ID_SAME_TRANS));
    ASSERT_NE(item, nullptr);
    QAccessibleInterface* menu = Accessible(item->menu);
    QStringList names;
    for (int i = 0; i < menu->childCount(); ++i) {
        names << menu->child(i)->text(QAccessible::Name);
    }
    EXPECT_TRUE(names.contains(QString(same->text()).remove('&')))
        << ui::ToStdString(names.join('|'));
}

TEST_F(AccessibilityTest, TheCanvasAnnouncesTheImageAndTheNavigatorItsTitle) {
    StartWithImage();
    ui::CVemmarView* view = app->View();
    QAccessibleInterface* canvas = Accessible(view);
    EXPECT_EQ(canvas->role(), QAccessible::Canvas);
    const QString file = ui::PathToQString(imagePath.filename());
    EXPECT_EQ(canvas->text(QAccessible::Name),
              ToQString(texts::kCanvasNameFormat).arg(file, "4×2"));

    Run(cmd::ID_ROT_90);
    EXPECT_EQ(canvas->text(QAccessible::Name),
              ToQString(texts::kCanvasNameFormat).arg(file, "2×4"));
    // Undo gives the image its size back without replacing it.
    view->setFocus();
    Run(cmd::ID_UNDO);
    EXPECT_EQ(canvas->text(QAccessible::Name),
              ToQString(texts::kCanvasNameFormat).arg(file, "4×2"));

    app->Document().SetModifiedFlag(false);
    Run(cmd::ID_FILE_NEW);
    EXPECT_TRUE(canvas->text(QAccessible::Name).startsWith(ToQString(texts::kUntitledDocument)))
        << ui::ToStdString(canvas->text(QAccessible::Name));

    Run(cmd::ID_NAVI_DSP);
    ui::CNaviDlg* navi = app->MainFrame()->Navigator()->Navigator();
    ASSERT_NE(navi, nullptr);
    EXPECT_EQ(NameOf(navi), ToQString(FindCommand(cmd::ID_NAVI_DSP)->label));
}

TEST_F(AccessibilityTest, TabReachesEveryControlOfEachTabInOrder) {
    StartWithImage();
    for (const Text tab : {texts::kHomeTab, texts::kPenTab, texts::kBarrierTab}) {
        ASSERT_TRUE(Ribbon().ActivateRibbonTab(ToQString(tab)));
        app->Router().UpdateActions();
        QApplication::processEvents();
        // What a person can work: every element shown and enabled, its edit for a spin edit.
        std::set<QWidget*> expected{Ribbon().AppButton(), Ribbon().findChild<QTabBar*>()};
        std::vector<QWidget*> panelOrder;
        for (const ui::RibbonElement& element : Ribbon().Elements()) {
            QWidget* widget = element.widget;
            if (widget == nullptr || widget->window() != app->MainFrame() || !widget->isVisible() ||
                !widget->isEnabled()) {
                continue;
            }
            if (auto* spin = qobject_cast<ui::RibbonSpinEdit*>(widget)) {
                widget = spin->Edit();
            }
            expected.insert(widget);
            if (element.tab >= 0) {
                panelOrder.push_back(widget);
            }
        }
        ASSERT_GT(panelOrder.size(), 5u);

        Focus(Ribbon().AppButton());
        std::set<QWidget*> reached;
        std::vector<QWidget*> walk;
        for (int i = 0; i < 200; ++i) {
            QWidget* focus = QApplication::focusWidget();
            if (focus == nullptr || !Ribbon().isAncestorOf(focus)) {
                break;
            }
            reached.insert(focus);
            walk.push_back(focus);
            Type(Qt::Key_Tab);
        }
        EXPECT_EQ(reached, expected) << ui::ToStdString(ToQString(tab));
        // Past the ribbon the keyboard goes to the canvas.
        EXPECT_EQ(QApplication::focusWidget(), app->View());
        // The tab names come before the panels, and the panels' controls in their order.
        std::vector<QWidget*> walkedPanels;
        for (QWidget* widget : walk) {
            if (std::find(panelOrder.begin(), panelOrder.end(), widget) != panelOrder.end()) {
                walkedPanels.push_back(widget);
            }
        }
        EXPECT_EQ(walkedPanels, panelOrder);
        const auto tabs = std::find(walk.begin(), walk.end(), Ribbon().findChild<QTabBar*>());
        const auto first = std::find(walk.begin(), walk.end(), panelOrder.front());
        EXPECT_LT(tabs - walk.begin(), first - walk.begin());
    }
}

TEST_F(AccessibilityTest, KeysWorkTheFocusedControl) {
    StartWithImage();
    // Space runs a focused button's command.
    ui::RibbonButton* zoom = nullptr;
    for (const ui::RibbonElement& element : Ribbon().Elements()) {
        if (element.row->id == cmd::ID_ZOOM4 && element.tab >= 0) {
            zoom = qobject_cast<ui::RibbonButton*>(element.widget);
        }
    }
    ASSERT_NE(zoom, nullptr);
    Focus(zoom);
    Type(Qt::Key_Space);
    EXPECT_EQ(app->Model().settings.zoomFactor, 4.0f);
    // Enter as well.
    Focus(Button(cmd::ID_SPUIT));
    Type(Qt::Key_Return);
    EXPECT_EQ(app->Model().settings.toolMode, 3);
    // The tab names switch tabs with the arrows.
    auto* tabs = Ribbon().findChild<QTabBar*>();
    Focus(tabs);
    const int tab = Ribbon().ActiveTab();
    Type(Qt::Key_Right);
    EXPECT_EQ(Ribbon().ActiveTab(), tab + 1);

    // A focused button shows it.
    Ribbon().ActivateRibbonTab(ToQString(texts::kHomeTab));
    ui::RibbonButton* pen = Button(cmd::ID_PEN);
    app->View()->setFocus();
    const QImage plain = pen->grab().toImage();
    Focus(pen);
    EXPECT_NE(pen->grab().toImage(), plain);
}

TEST_F(AccessibilityTest, MenusOpenFromTheKeyboard) {
    StartWithImage();
    // Runs `press` and gives the popup that opened; the popup is closed again.
    const auto popupAfter = [](const std::function<void()>& press) {
        QWidget* seen = nullptr;
        QWidget* focus = nullptr;
        QTimer::singleShot(0, [&] {
            seen = QApplication::activePopupWidget();
            focus = QApplication::focusWidget();
            if (seen != nullptr) {
                seen->close();
            }
        });
        press();
        QApplication::processEvents();
        return std::pair{seen, focus};
    };
    ui::RibbonButton* rotate = Button(cmd::ID_ROT_BTN);
    Focus(rotate);
    EXPECT_EQ(popupAfter([] { Type(Qt::Key_Down); }).first, rotate->Menu());
    Focus(rotate);
    EXPECT_EQ(popupAfter([] { Type(Qt::Key_Space); }).first, rotate->Menu());

    // A split button: Alt+Down opens the items, Space runs its own command.
    ui::RibbonButton* select = Button(cmd::ID_SELECT);
    Run(cmd::ID_PEN);
    Focus(select);
    EXPECT_EQ(popupAfter([] { Type(Qt::Key_Down, Qt::AltModifier); }).first, select->Menu());
    EXPECT_EQ(app->Model().settings.toolMode, 1);
    Focus(select);
    Type(Qt::Key_Space);
    EXPECT_EQ(app->Model().settings.toolMode, 0);

    // The gallery opens with the keys on its shapes: Right and Enter choose the next one.
    Ribbon().ActivateRibbonTab(ToQString(texts::kPenTab));
    auto* gallery = qobject_cast<ui::RibbonGallery*>(Button(cmd::ID_PEN_STYLE));
    ASSERT_NE(gallery, nullptr);
    Focus(gallery);
    const int shape = gallery->SelectedItem();
    QTimer::singleShot(0, [&] {
        ASSERT_EQ(QApplication::focusWidget(), gallery->Grid());
        QTest::keyClick(gallery->Grid(), Qt::Key_Right);
        EXPECT_EQ(NameOf(gallery->Grid()),
                  ToQString(texts::kPenShapeNames[static_cast<std::size_t>(shape + 1)]));
        QTest::keyClick(gallery->Grid(), Qt::Key_Return);
    });
    Type(Qt::Key_Down);
    EXPECT_EQ(gallery->SelectedItem(), shape + 1);
    EXPECT_EQ(app->Model().settings.penStyle, shape + 1);

    // The application menu: the keys go on into its entries.
    Focus(Ribbon().AppButton());
    ui::ApplicationMenu* menu = Ribbon().AppMenu();
    Type(Qt::Key_Space);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), menu->Entries()[0]);
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), menu->Entries()[1]);
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(AccessibilityTest, CtrlTabMovesBetweenRibbonCanvasAndStatusBar) {
    StartWithImage();
    ui::CVemmarView* view = app->View();
    ui::CMyStatusBar* status = app->MainFrame()->StatusBar();
    Focus(view);
    Type(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), status);
    Type(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ribbon().AppButton());
    Type(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), view);
    Type(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ribbon().AppButton());
    Type(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), status);

    // The status bar shows that it has the keyboard.
    const QImage focused = status->grab().toImage();
    view->setFocus();
    EXPECT_NE(status->grab().toImage(), focused);

    // The canvas keeps its own keys: Tab stays, F6 picks the ellipse.
    ASSERT_EQ(QApplication::focusWidget(), view);
    Type(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), view);
    Type(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), view);
    Type(Qt::Key_F6);
    EXPECT_EQ(app->Model().settings.penStyle, 1);
}

}  // namespace
}  // namespace palvex
