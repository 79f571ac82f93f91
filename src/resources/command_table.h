#pragma once

#include <span>
#include <string_view>

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
    SplitButton,
    MenuButton,
    ColourButton,
    Slider,
    Spin,
    CheckBox,
    Gallery
};

// One command: its value, label (with its mnemonic), the ribbon prompt (description, line break,
// title) and where it is placed. Every command the ribbon, menus and accelerators send is here.
struct CommandInfo {
    int id;
    std::string_view name;  // ID_... for diagnostics and tests
    std::string_view label;
    std::string_view prompt;  // empty when the command has none
    CommandPlace place;
    std::string_view panel;  // the ribbon panel, or the parent command's name for menu items
    CommandKind kind;
};

std::span<const CommandInfo> CommandTable();
// nullptr for a value that is not in the table.
const CommandInfo* FindCommand(int id);

// The prompt split into its two parts.
std::string_view PromptDescription(const CommandInfo& command);
std::string_view PromptTitle(const CommandInfo& command);

}  // namespace palvex
