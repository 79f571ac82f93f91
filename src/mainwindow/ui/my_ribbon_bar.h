#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "app/app_settings.h"
#include "image/colour.h"
#include "mainwindow/ui/colour_menu.h"
#include "mainwindow/ui/ribbon_look.h"
#include "resources/command_table.h"

class QAction;
class QGridLayout;
class QHBoxLayout;
class QMenu;
class QStackedWidget;

namespace palvex::ui {

class ApplicationButton;
class ApplicationMenu;
class CommandRouter;
class KeyHelpTip;
class RibbonButton;
class RibbonPanel;
class RibbonSlider;
class RibbonTabBar;

// One row of the command table as the ribbon shows it.
struct RibbonElement {
    const CommandInfo* row = nullptr;
    QWidget* widget = nullptr;      // the element; for an item of a menu, the item's button or
                                    // nullptr when the item is a menu action
    QAction* action = nullptr;      // the command's action
    QMenu* menu = nullptr;          // for an item: the menu it sits in
    ColourMenu* colours = nullptr;  // for a colour choice: its colour
    RibbonPanel* panel = nullptr;   // for an element of a tab: its panel
    int tab = -1;                   // the tab, -1 outside the tabs
};

// The ribbon: the application button with its menu, the quick access toolbar, the tab row with
// its elements at the right end, and the panels of the active tab. Every element is made from
// the command table and bound to its command's action; other parts read and set the values the
// elements hold (colours, slider positions, edit texts, the gallery's selection) by command.
class CMyRibbonBar final : public QWidget, public LookOwner {
    Q_OBJECT

public:
    CMyRibbonBar(const AppSettings& settings, CommandRouter& router, AskColourFunction askColour,
                 QWidget* parent = nullptr);
    ~CMyRibbonBar() override;

    // Tabs.
    int TabCount() const;
    QString TabName(int tab) const;
    int ActiveTab() const;
    // Makes active the first tab whose name begins with the same two characters as `text`;
    // false (and nothing changes) when none does.
    bool ActivateRibbonTab(const QString& text);
    RibbonPanel* Panel(int tab, int index) const;
    // The element of a command in panel `panel` of the first tab whose name begins with the
    // two characters of `tab`, including the items of that panel's menus; nullptr when missing.
    const RibbonElement* FindElement(const QString& tab, int panel, int id) const;

    // Every element and menu item, in the order of the command table.
    const std::vector<RibbonElement>& Elements() const { return elements_; }
    const RibbonElement* ElementFor(const CommandInfo& row) const;
    // The first ribbon button of a command (tabs first, then the other places).
    RibbonButton* Button(int id) const;
    ApplicationButton* AppButton() const { return appButton_; }
    ApplicationMenu* AppMenu() const { return appMenu_; }
    void ShowApplicationMenu();

    // The controls the Tab key reaches, in its order: the application button, the quick access
    // row, the tab names, each tab's controls panel by panel, then the tab row's buttons.
    std::vector<QWidget*> KeyboardOrder() const;
    // Where the keyboard enters the ribbon: the first control of that order that can take it.
    QWidget* FirstKeyboardControl() const;
    // The recent files the application menu lists.
    std::function<QStringList()> recentFiles;

    // Values held by elements.
    Colour ColourOf(int id) const;
    void SetColour(int id, Colour colour);
    ColourMenu* Colours(int id) const;
    RibbonSlider* Slider(int id) const;
    int SliderPosition(int id) const;
    void SetSliderPosition(int id, int position);
    QString EditText(int id) const;
    void SetEditText(int id, const QString& text);
    int GallerySelection(int id) const;
    void SetGallerySelection(int id, int item);
    // The pair of option buttons: the chosen one shows image 12, the other image 11.
    void SetChosenOption(int chosenId, int otherId);
    int OptionImage(int id) const;

    // The minimised ribbon shows the tab names only.
    bool IsMinimized() const { return minimized_; }
    void ToggleMinimized();

    void ApplyLook(int value);
    const RibbonLook& Look() const override { return look_; }

    // The key help of the pen tab (made by the ribbon set-up); its text and whether it is shown
    // for the pointer at a global position.
    void CreateKeyHelp();
    KeyHelpTip* KeyHelp() const { return keyHelp_; }
    static QString KeyHelpText();
    bool KeyHelpWanted(const QPoint& global) const;
    void RelayMouseMove(const QPoint& global);

signals:
    void ActiveTabChanged(const QString& name);
    void RecentChosen(int index);
    void SliderMoved(int id, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    friend class RibbonBuilder;

    QWidget* AddTab(const QString& name);
    void Register(const RibbonElement& element);
    // Names the controls that are not made from the command table and links the Tab order.
    void SetUpKeyboard();
    void Restyle();
    void WatchMouse(QWidget* widget);
    const RibbonElement* First(int id) const;

    const AppSettings& settings_;
    CommandRouter& router_;
    AskColourFunction askColour_;
    RibbonLook look_;
    int office2007Style_ = 215;
    QGridLayout* grid_;
    ApplicationButton* appButton_;
    ApplicationMenu* appMenu_;
    QHBoxLayout* quickAccess_;
    QHBoxLayout* tabRow_;
    RibbonTabBar* tabs_;
    QStackedWidget* body_;
    std::vector<QWidget*> pages_;
    std::vector<std::vector<RibbonPanel*>> panels_;
    std::vector<RibbonElement> elements_;
    KeyHelpTip* keyHelp_ = nullptr;
    bool minimized_ = false;
};

}  // namespace palvex::ui
