#include "mainwindow/ui/accelerator_map.h"

#include <QKeySequence>

#include "app/ui/qt_text.h"

namespace palvex::ui {

AcceleratorMap::AcceleratorMap() {
    for (const Accelerator& accelerator : Accelerators()) {
        const QKeySequence keys =
            QKeySequence::fromString(ToQString(accelerator.keys), QKeySequence::PortableText);
        if (keys.count() == 1) {
            entries_.push_back({accelerator.table, keys[0], accelerator.command});
        }
    }
}

std::optional<int> AcceleratorMap::Lookup(AcceleratorTable table, QKeyCombination key) const {
    for (const Entry& entry : entries_) {
        if (entry.table == table && entry.key == key) {
            return entry.command;
        }
    }
    return std::nullopt;
}

std::optional<int> AcceleratorMap::CommandFor(QKeyCombination key, bool canvasFocus,
                                              bool editFocus) const {
    // The keypad's keys act as the main keyboard's.
    key = QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
    if (canvasFocus) {
        if (const auto command = Lookup(AcceleratorTable::Canvas, key)) {
            return command;
        }
    }
    if (const auto command = Lookup(AcceleratorTable::Frame, key)) {
        return command;
    }
    if (!editFocus) {
        return Lookup(AcceleratorTable::Standard, key);
    }
    return std::nullopt;
}

}  // namespace palvex::ui
