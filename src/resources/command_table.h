#pragma once

#include <span>
#include <string_view>

#include "resources/language.h"

namespace palvex {

// Where a command lives in the ribbon and menus.
enum class CommandPlace {
    None,  // accelerator or context menu only
    ApplicationMenu,
    QuickAccess,
    TabRow,
    Home,
    Pen,
    Barrier,
};

enum class CommandKind {
    Button,
    SplitButton,  // its own command on the upper part, its items under the arrow
    MenuButton,   // opens its items; its own command does nothing
    ColourButton,
    Slider,
    Spin,  // an edit with spin buttons
    CheckBox,
    Gallery,
    GroupButton,  // one of a row of small buttons
    FootButton,   // at the foot of the application menu
};

enum class ElementSize { Small, Large };

// Sliders and spin edits: the range, the value before anything sets it, and the width of the
// slider or the edit in pixels.
struct ValueRange {
    int low = 0;
    int high = 0;
    int initial = 0;
    int width = 0;
};

// One element of the ribbon or one menu item: the command value, its label (with its mnemonic),
// the ribbon prompt (description, line break, title) and where it is placed. A command shown in
// two places has a row for each. Every command the ribbon, menus and accelerators send is here.
struct CommandInfo {
    int id;
    std::string_view name;  // ID_... for diagnostics and tests
    Text label;
    Text prompt;  // empty when the command has none
    CommandPlace place;
    Text panel;  // the ribbon panel, the parent command's name for menu items, or
                 // the context menu's popup ("VIEW", "PASTE/回転(&R)" ...)
    CommandKind kind;
    ElementSize size = ElementSize::Small;
    Text heading = {};         // a group label shown above this item in its menu
    bool breakBefore = false;  // a separator in a menu, a new column in a panel
    ValueRange range = {};
};

// Every row, in the order the ribbon shows them.
std::span<const CommandInfo> CommandTable();
// The row that names the command (the first with a label, else the first); nullptr for a value
// that is not in the table.
const CommandInfo* FindCommand(int id);

// The label of the context-menu submenu a row sits in: its panel "POPUP/label" after the slash.
std::string_view PopupSubmenuLabel(const CommandInfo& command);

// The prompt split into its two parts.
std::string_view PromptDescription(const CommandInfo& command);
std::string_view PromptTitle(const CommandInfo& command);

// The three accelerator tables, consulted in this order: the canvas's own (only while the canvas
// has the keyboard focus), the frame's, and the framework's standard keys.
enum class AcceleratorTable { Canvas, Frame, Standard };

struct Accelerator {
    AcceleratorTable table;
    std::string_view keys;  // "Ctrl+Z", "Shift+Delete", "F2"
    int command;
};

std::span<const Accelerator> Accelerators();

}  // namespace palvex
