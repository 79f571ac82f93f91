// Commands as the ribbon runs them: routing, enabled states, the save commands with their
// dialogs, and the colour, background and zoom elements.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "app/app_settings.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/qt_text.h"
#include "canvas/image_layer.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/colour_menu.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

// A target that handles the commands it is given and records what it ran.
class StubTarget final : public ui::CommandTarget {
public:
    explicit StubTarget(std::vector<int> handled) : handled_(std::move(handled)) {}
    bool OnCommand(int id) override {
        if (!Handles(id)) {
            return false;
        }
        ran.push_back(id);
        return true;
    }
    bool OnUpdateCommand(int id, ui::CommandUiState& state) override {
        if (!Handles(id)) {
            return false;
        }
        state.checked = id == checkedId;
        return true;
    }
    std::vector<int> ran;
    int checkedId = 0;

private:
    bool Handles(int id) const {
        return std::find(handled_.begin(), handled_.end(), id) != handled_.end();
    }
    std::vector<int> handled_;
};

TEST(CommandRouting, TheFirstTargetWithAHandlerRunsTheCommand) {
    StubTarget view({cmd::ID_ZOOM_HERE});
    StubTarget frame({cmd::ID_ZOOM_HERE, cmd::ID_ALPHA1});
    StubTarget application({cmd::ID_ALPHA1, cmd::ID_FILE_OPEN});
    ui::CommandRouter router;
    router.SetTargets({&view, &frame, &application});
    EXPECT_TRUE(router.Dispatch(cmd::ID_ZOOM_HERE));
    EXPECT_TRUE(router.Dispatch(cmd::ID_ALPHA1));
    EXPECT_TRUE(router.Dispatch(cmd::ID_FILE_OPEN));
    EXPECT_EQ(view.ran, std::vector<int>{cmd::ID_ZOOM_HERE});
    EXPECT_EQ(frame.ran, std::vector<int>{cmd::ID_ALPHA1});
    EXPECT_EQ(application.ran, std::vector<int>{cmd::ID_FILE_OPEN});
    // No handler anywhere: shown disabled, and running it does nothing.
    EXPECT_FALSE(router.StateOf(cmd::ID_PEN).enabled);
    EXPECT_FALSE(router.Dispatch(cmd::ID_PEN));
    // The state comes from the handler that would run the command.
    frame.checkedId = cmd::ID_ZOOM_HERE;
    EXPECT_FALSE(router.StateOf(cmd::ID_ZOOM_HERE).checked);
    frame.checkedId = cmd::ID_ALPHA1;
    EXPECT_TRUE(router.StateOf(cmd::ID_ALPHA1).checked);
}

class RibbonCommandTest : public test::AppFixture {
protected:
    ui::CMyRibbonBar& Ribbon() { return *app->MainFrame()->Ribbon(); }

    // The button of a command in the application menu (its entry, an item or a foot button).
    ui::RibbonButton* MenuButton(int id) {
        for (const ui::RibbonElement& element : Ribbon().Elements()) {
            if (element.row->id == id && element.row->place == CommandPlace::ApplicationMenu) {
                return qobject_cast<ui::RibbonButton*>(element.widget);
            }
        }
        return nullptr;
    }

    // Opens the application menu, brings up the entry's items and clicks the item.
    void ClickMenuItem(int entryId, int itemId) {
        Ribbon().ShowApplicationMenu();
        Ribbon().AppMenu()->ShowItemsOf(MenuButton(entryId));
        ui::RibbonButton* item = MenuButton(itemId);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isVisible());
        QTest::mouseClick(item, Qt::LeftButton);
        EXPECT_FALSE(Ribbon().AppMenu()->isVisible());
    }
};

TEST_F(RibbonCommandTest, SaveCommandsNeedAnImage) {
    const std::vector<int> saves = {cmd::ID_FILE_SAVE, cmd::ID_AS_NORMAL, cmd::ID_AS_JPEG,
                                    cmd::ID_AS_BMP,    cmd::ID_AS_GIF,    cmd::ID_AS_PNG,
                                    cmd::ID_AS_TIFF,   cmd::ID_AS_ALPHA,  cmd::ID_AS_A_BMP,
                                    cmd::ID_AS_A_GIF,  cmd::ID_AS_A_PNG,  cmd::ID_AS_A_TIFF};
    ASSERT_TRUE(Start());
    Ribbon().ShowApplicationMenu();
    for (const int id : saves) {
        EXPECT_FALSE(MenuButton(id)->CommandEnabled()) << id;
    }
    EXPECT_FALSE(Ribbon().Button(cmd::ID_FILE_SAVE)->isEnabled());  // quick access
    EXPECT_TRUE(MenuButton(cmd::ID_FILE_OPEN)->CommandEnabled());
    // A click on a disabled entry runs nothing.
    QTest::mouseClick(MenuButton(cmd::ID_AS_NORMAL), Qt::LeftButton);
    EXPECT_FALSE(prompter.saveRequest);
    Ribbon().AppMenu()->hide();

    ASSERT_TRUE(app->OpenImageFile(WriteImage()));
    for (const int id : saves) {
        EXPECT_TRUE(MenuButton(id)->CommandEnabled()) << id;
    }
    EXPECT_TRUE(Ribbon().Button(cmd::ID_FILE_SAVE)->isEnabled());
}

TEST_F(RibbonCommandTest, ExitReadsAsEnabledOnTheMenuFootInEveryLook) {
    ASSERT_TRUE(Start());
    app->MainFrame()->resize(900, 600);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    ui::RibbonButton* exit = MenuButton(cmd::ID_APP_EXIT);
    ASSERT_NE(exit, nullptr);
    ASSERT_TRUE(exit->isEnabled());
    for (const int look : {215, 216, 217, 218, 219}) {
        ASSERT_TRUE(app->Router().Dispatch(look));
        Ribbon().ShowApplicationMenu();
        ui::ApplicationMenu* menu = Ribbon().AppMenu();
        const QImage shot = menu->grab().toImage();
        const int footer = qGray(ui::LookOf(menu).captionBottom.rgb());
        // The strongest contrast of the label (right of its 16-pixel picture) against the foot,
        // beside that of disabled text.
        int contrast = 0;
        const QRect area = exit->geometry().adjusted(24, 0, 0, 0);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                contrast = std::max(contrast, std::abs(qGray(shot.pixel(x, y)) - footer));
            }
        }
        const int disabled = std::abs(qGray(ui::LookOf(menu).disabledText.rgb()) - footer);
        EXPECT_GT(contrast, disabled + 30) << look;
        menu->hide();
    }
}

TEST_F(RibbonCommandTest, EachSaveAsCommandPreselectsItsFormat) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage("a.png"))}));
    const std::vector<std::tuple<int, int, int>> png = {
        {cmd::ID_AS_NORMAL, cmd::ID_AS_JPEG, 9},  {cmd::ID_AS_NORMAL, cmd::ID_AS_BMP, 7},
        {cmd::ID_AS_NORMAL, cmd::ID_AS_GIF, 10},  {cmd::ID_AS_NORMAL, cmd::ID_AS_PNG, 11},
        {cmd::ID_AS_NORMAL, cmd::ID_AS_TIFF, 12}, {cmd::ID_AS_ALPHA, cmd::ID_AS_A_BMP, 13},
        {cmd::ID_AS_ALPHA, cmd::ID_AS_A_GIF, 14}, {cmd::ID_AS_ALPHA, cmd::ID_AS_A_PNG, 15},
        {cmd::ID_AS_ALPHA, cmd::ID_AS_A_TIFF, 16}};
    for (const auto& [entry, item, expected] : png) {
        prompter.saveRequest.reset();
        ClickMenuItem(entry, item);
        ASSERT_TRUE(prompter.saveRequest) << item;
        EXPECT_EQ(prompter.saveRequest->selectedFilter, expected) << item;
        EXPECT_EQ(prompter.saveRequest->filters.size(), 16u);
        EXPECT_EQ(prompter.saveRequest->title, "保存するファイルを指定");
    }
    // The entries themselves: JPEG and transparent PNG for a file that was no BMP.
    for (const auto& [entry, expected] :
         {std::pair{cmd::ID_AS_NORMAL, 9}, {cmd::ID_AS_ALPHA, 15}}) {
        Ribbon().ShowApplicationMenu();
        QTest::mouseClick(MenuButton(entry), Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        EXPECT_EQ(prompter.saveRequest->selectedFilter, expected);
    }
}

TEST_F(RibbonCommandTest, SaveAsEntriesFollowAnOpenedBitmap) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage("a.png"))}));
    app->Model().image.facts.SourceBmpFormat = {8, 1};  // 8-bit RLE
    Ribbon().ShowApplicationMenu();
    QTest::mouseClick(MenuButton(cmd::ID_AS_NORMAL), Qt::LeftButton, Qt::NoModifier,
                      QPoint(60, 10));
    EXPECT_EQ(prompter.saveRequest->selectedFilter, 5);
    Ribbon().ShowApplicationMenu();
    QTest::mouseClick(MenuButton(cmd::ID_AS_ALPHA), Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    EXPECT_EQ(prompter.saveRequest->selectedFilter, 13);
}

// Answers the file dialog and the questions itself, and shows the real quality dialog.
class QualityDialogPrompter final : public Prompter {
public:
    Answer Show(const MessageRequest& request) override {
        shown.push_back(request.id);
        return request.buttons == MessageButtons::Ok ? Answer::Ok : Answer::Yes;
    }
    std::optional<SaveFileChoice> AskSaveFile(const SaveFileRequest& /*request*/) override {
        return SaveFileChoice{path, 9};
    }
    std::optional<int> AskJpegQuality(int initial) override {
        return dialogs.AskJpegQuality(initial);
    }
    std::filesystem::path path;
    std::vector<int> shown;
    ui::QtPrompter dialogs;
};

TEST_F(RibbonCommandTest, TheQualityDialogDecidesWhetherAJpegIsWritten) {
    QualityDialogPrompter dialogPrompter;
    dialogPrompter.path = temp.File("out.jpeg");
    app = std::make_unique<ui::CVemmarApp>(
        ui::AppServices{dialogPrompter, store, shell, WorkFolder(temp.Path()),
                        [](const AppSettings&) { return true; }});
    ASSERT_TRUE(app->InitInstance({ui::PathToQString(WriteImage("a.png"))}));
    setting::kQuality.Write(store, 60);
    auto pressLater = [](std::vector<QString> buttons) {
        QTimer::singleShot(0, [buttons] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "画質設定");
            for (const QString& name : buttons) {
                QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
            }
        });
    };

    pressLater({"preset30", "cancel"});
    ClickMenuItem(cmd::ID_AS_NORMAL, cmd::ID_AS_JPEG);
    EXPECT_EQ(dialogPrompter.shown, std::vector<int>{30023});
    EXPECT_FALSE(std::filesystem::exists(dialogPrompter.path));
    EXPECT_EQ(store.ReadInt("Last", "Quality"), 60);

    pressLater({"preset70", "ok"});
    ClickMenuItem(cmd::ID_AS_NORMAL, cmd::ID_AS_JPEG);
    EXPECT_TRUE(std::filesystem::exists(dialogPrompter.path));
    EXPECT_EQ(store.ReadInt("Last", "Quality"), 70);
}

TEST_F(RibbonCommandTest, CommandsWithoutAHandlerAreShownDisabled) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage())}));
    app->Router().UpdateActions();
    ui::CMyRibbonBar& ribbon = Ribbon();
    for (const int id : {cmd::ID_FILE_PRINT_DIRECT}) {
        ASSERT_NE(ribbon.Button(id), nullptr) << id;
        EXPECT_FALSE(ribbon.Button(id)->CommandEnabled()) << id;
        EXPECT_FALSE(ribbon.Button(id)->isEnabled()) << id;
    }
    // A menu button's own command does nothing but keeps its items reachable.
    EXPECT_TRUE(ribbon.Button(cmd::ID_ROT_BTN)->isEnabled());
    // A split button with a handler is enabled with its items.
    ASSERT_NE(ribbon.Button(cmd::ID_NAVI_DSP)->Menu(), nullptr);
    EXPECT_TRUE(ribbon.Button(cmd::ID_NAVI_DSP)->isEnabled());
    for (const int id : {cmd::ID_TEST_TRANS, cmd::ID_ZOOM3, cmd::ID_SHOW_MENU, cmd::ID_TRANS_COL,
                         cmd::ID_BK_COL, cmd::ID_FILE_OPEN, cmd::ID_PEN, cmd::ID_SPUIT,
                         cmd::ID_BARRIER, cmd::ID_PEN_FILL, cmd::ID_PAINT, cmd::ID_SELECT}) {
        ASSERT_NE(ribbon.Button(id), nullptr) << id;
        EXPECT_TRUE(ribbon.Button(id)->CommandEnabled()) << id;
    }
    // Menu items follow their actions.
    EXPECT_TRUE(app->Router().Action(cmd::ID_ALPHA1)->isEnabled());
    EXPECT_TRUE(app->Router().Action(cmd::ID_REVERSE_H)->isEnabled());
    app->Router().Dispatch(cmd::ID_EDIT_SELECT_ALL);  // a selection disables the transforms
    app->Router().UpdateActions();
    EXPECT_FALSE(app->Router().Action(cmd::ID_REVERSE_H)->isEnabled());
}

TEST(RibbonSplitButton, UsableWhileItsCommandOrOneItemIs) {
    const CommandInfo& row = *FindCommand(cmd::ID_SELECT);
    QAction command("command");
    command.setEnabled(false);
    QMenu menu;
    QAction item("item");
    item.setEnabled(false);
    ui::RibbonButton button(row, &command, ui::RibbonButton::Style::Large);
    button.SetMenu(&menu);
    EXPECT_FALSE(button.isEnabled());  // no items yet
    menu.addSeparator();
    menu.addAction(&item);
    EXPECT_FALSE(button.isEnabled());
    item.setEnabled(true);
    EXPECT_TRUE(button.isEnabled());
    EXPECT_FALSE(button.CommandEnabled());
    item.setEnabled(false);
    EXPECT_FALSE(button.isEnabled());
    command.setEnabled(true);
    EXPECT_TRUE(button.isEnabled());
}

TEST_F(RibbonCommandTest, TheTransparentColourButtonSetsTheKey) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage())}));
    app->MainFrame()->resize(800, 600);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    ui::CMyRibbonBar& ribbon = Ribbon();
    // After the load the button shows the key found in the file.
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_TRANS_COL), Rgb(255, 255, 255));
    ui::ColourMenu* colours = ribbon.Colours(cmd::ID_TRANS_COL);
    ASSERT_NE(colours, nullptr);
    auto pixel = [this](int x) { return app->View()->Rendered().pixel(x, 0) | 0xFF000000u; };
    EXPECT_EQ(pixel(0), qRgb(255, 255, 128));  // the key shows the background
    // Red from the suggested colours: now the red pixels show the background.
    ui::ColourPalette* palette = colours->Palette();
    const QRect red = palette->BoxRect(Rgb(255, 0, 0));
    ASSERT_FALSE(red.isEmpty());
    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, red.center());
    EXPECT_EQ(app->Model().image.TransparentColor, Rgb(255, 0, 0));
    EXPECT_EQ(pixel(1), qRgb(255, 255, 128));
    EXPECT_EQ(pixel(0), qRgb(255, 255, 255));
    // The automatic entry: no colour, so nothing is transparent.
    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, palette->AutomaticRect().center());
    EXPECT_EQ(app->Model().image.TransparentColor, kNoColour);
    EXPECT_EQ(pixel(0), qRgb(255, 255, 255));
    EXPECT_EQ(pixel(1), qRgb(255, 0, 0));
    // Further colours through the colour dialog; cancelling it changes nothing.
    prompter.colourChoice = Rgb(10, 20, 30);
    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, palette->MoreRect().center());
    EXPECT_EQ(prompter.colourAskedWith, kNoColour);
    EXPECT_EQ(app->Model().image.TransparentColor, Rgb(10, 20, 30));
    prompter.colourChoice.reset();
    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, palette->MoreRect().center());
    EXPECT_EQ(app->Model().image.TransparentColor, Rgb(10, 20, 30));
    // Opening another file shows its key again.
    ASSERT_TRUE(app->OpenImageFile(WriteImage("b.png")));
    EXPECT_EQ(ribbon.ColourOf(cmd::ID_TRANS_COL), Rgb(255, 255, 255));
}

TEST_F(RibbonCommandTest, TheBackgroundColourButton) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage())}));
    ui::ColourMenu* colours = Ribbon().Colours(cmd::ID_BK_COL);
    ASSERT_NE(colours, nullptr);
    EXPECT_EQ(colours->CurrentColour(), Rgb(255, 255, 128));
    colours->Pick(Rgb(0, 128, 128));
    EXPECT_EQ(app->Model().settings.backgroundMode, static_cast<std::int32_t>(Rgb(0, 128, 128)));
    EXPECT_FALSE(app->View()->SeeThrough());
    colours->Pick(kNoColour);
    EXPECT_EQ(app->Model().settings.backgroundMode, kBackgroundNone);
    EXPECT_TRUE(app->View()->SeeThrough());
    // The button's items choose the other backgrounds.
    QMenu* menu = Ribbon().Button(cmd::ID_BK_COL)->Menu();
    ASSERT_EQ(menu, colours);
    QAction* checker = app->Router().Action(cmd::ID_ALPHA1);
    ASSERT_TRUE(menu->actions().contains(checker));
    checker->trigger();
    EXPECT_EQ(app->Model().settings.backgroundMode, kBackgroundChecker);
    EXPECT_FALSE(app->View()->SeeThrough());
}

TEST_F(RibbonCommandTest, TheZoomSliderAndTheZoomCommandsMoveTogether) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage())}));
    ui::RibbonSlider* slider = Ribbon().Slider(cmd::ID_ZOOM_SLIDER);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->Position(), 2);
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, slider->IncreaseRect().center());
    EXPECT_EQ(app->Model().settings.zoomFactor, 2.0f);
    EXPECT_EQ(app->View()->ZoomSliderPosition(), 3);
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier,
                      QPoint(slider->TrackRect().right(), slider->height() / 2));
    EXPECT_EQ(app->Model().settings.zoomFactor, 8.0f);
    // At the end the step button does nothing.
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, slider->IncreaseRect().center());
    EXPECT_EQ(slider->Position(), 5);
    // A zoom button moves the slider, and checks itself.
    QTest::mouseClick(Ribbon().Button(cmd::ID_ZOOM1), Qt::LeftButton);
    EXPECT_EQ(app->Model().settings.zoomFactor, 0.5f);
    EXPECT_EQ(slider->Position(), 1);
    EXPECT_TRUE(Ribbon().Button(cmd::ID_ZOOM1)->CommandChecked());
    EXPECT_FALSE(Ribbon().Button(cmd::ID_ZOOM2)->CommandChecked());
}

TEST_F(RibbonCommandTest, TheApplicationMenuListsAndOpensRecentFiles) {
    const auto first = WriteImage("first.png");
    const auto second = WriteImage("second.png");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->OpenImageFile(first));
    ASSERT_TRUE(app->OpenImageFile(second));
    Ribbon().ShowApplicationMenu();
    const auto recent = Ribbon().AppMenu()->RecentButtons();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0]->Label(), "1 second.png");
    EXPECT_EQ(recent[1]->Label(), "2 first.png");
    QTest::mouseClick(recent[1], Qt::LeftButton);
    EXPECT_EQ(app->Document().PathName(), first);
    EXPECT_FALSE(Ribbon().AppMenu()->isVisible());
}

TEST_F(RibbonCommandTest, TheOpenCommandFromTheQuickAccessToolbar) {
    ASSERT_TRUE(Start());
    setting::kOpenType.Write(store, 3);
    const auto path = WriteImage("quick.png");
    prompter.openChoice = SaveFileChoice{path, 2};
    QTest::mouseClick(Ribbon().Button(cmd::ID_FILE_OPEN), Qt::LeftButton);
    ASSERT_TRUE(prompter.openRequest);
    EXPECT_EQ(prompter.openRequest->selectedFilter, 3);
    EXPECT_EQ(prompter.openRequest->filters[0].patterns,
              "*.jpg;*.jpeg;*.gif;*.bmp;*.png;*.tif;*.tiff");
    EXPECT_EQ(store.ReadInt("Last", "OpenType"), 2);
    EXPECT_EQ(app->Document().PathName(), path);
}

TEST_F(RibbonCommandTest, KeysGoThroughTheTablesOfWhereTheFocusIs) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage())}));
    app->MainFrame()->resize(800, 600);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    StubTarget probe({cmd::ID_UNDO, cmd::ID_EDIT_UNDO, cmd::ID_DSP_RGB, cmd::ID_EDIT_COPY});
    app->Router().SetTargets({&probe, app->View(), app->MainFrame(), app.get()});
    ui::CVemmarView* view = app->View();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_F3);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(probe.ran, (std::vector<int>{cmd::ID_UNDO, cmd::ID_DSP_RGB, cmd::ID_EDIT_COPY}));
    // Away from the canvas the canvas's keys are not there: Ctrl+Z is the framework's own.
    probe.ran.clear();
    view->clearFocus();
    QTest::keyClick(app->MainFrame(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(app->MainFrame(), Qt::Key_F3);
    QTest::keyClick(app->MainFrame(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(probe.ran, (std::vector<int>{cmd::ID_EDIT_UNDO, cmd::ID_EDIT_COPY}));
    app->Router().SetTargets({app->View(), app->MainFrame(), app.get()});
}

}  // namespace
}  // namespace palvex
