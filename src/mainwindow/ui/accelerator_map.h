#pragma once

#include <QKeyCombination>
#include <optional>
#include <vector>

#include "resources/command_table.h"

namespace palvex::ui {

// The keyboard accelerators of the command table as Qt key combinations.
class AcceleratorMap {
public:
    AcceleratorMap();

    // The command a key sends: from the canvas's table while the canvas has the focus, else
    // from the frame's table, else from the standard keys (skipped while a text edit has the
    // focus, which keeps its own editing keys). Nothing when no table holds the key.
    std::optional<int> CommandFor(QKeyCombination key, bool canvasFocus, bool editFocus) const;

private:
    struct Entry {
        AcceleratorTable table;
        QKeyCombination key;
        int command;
    };
    std::optional<int> Lookup(AcceleratorTable table, QKeyCombination key) const;

    std::vector<Entry> entries_;
};

}  // namespace palvex::ui
