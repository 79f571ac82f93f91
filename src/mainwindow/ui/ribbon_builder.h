#pragma once

#include <map>
#include <string_view>

#include "mainwindow/ui/colour_menu.h"
#include "resources/command_table.h"

class QActionGroup;
class QMenu;
class QWidget;

namespace palvex::ui {

class CMyRibbonBar;
class CommandRouter;
class RibbonButton;
class RibbonPanel;

// Makes the ribbon's elements from the command table, in its order: the application menu, the
// quick access toolbar, the tab row, then the tabs with their panels. Items under a split,
// menu or colour button go into that button's menu.
class RibbonBuilder {
public:
    RibbonBuilder(CMyRibbonBar& ribbon, CommandRouter& router, AskColourFunction askColour);
    void Build();

private:
    struct Parent {
        RibbonButton* button = nullptr;
        QMenu* menu = nullptr;  // made with the first item
        bool inApplicationMenu = false;
    };

    void AddApplicationMenuRow(const CommandInfo& row);
    void AddQuickAccess(const CommandInfo& row);
    void AddTabRow(const CommandInfo& row);
    void AddTabElement(const CommandInfo& row);
    void AddMenuItem(const CommandInfo& row, Parent& parent);
    QWidget* MakeElement(const CommandInfo& row);
    RibbonButton* MakeButton(const CommandInfo& row, int style);
    QMenu* MenuOf(Parent& parent);
    void Register(const CommandInfo& row, QWidget* widget, QMenu* menu = nullptr,
                  ColourMenu* colours = nullptr);

    CMyRibbonBar& ribbon_;
    CommandRouter& router_;
    AskColourFunction askColour_;
    std::map<std::string_view, Parent> parents_;
    CommandPlace tabPlace_ = CommandPlace::None;
    int tab_ = -1;
    QWidget* page_ = nullptr;
    RibbonPanel* panel_ = nullptr;
    QWidget* groupRow_ = nullptr;  // the row the next group button joins
    QActionGroup* looks_ = nullptr;
};

}  // namespace palvex::ui
