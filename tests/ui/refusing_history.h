#pragma once

#include "canvas/ui/edit_history.h"

namespace palvex::test {

// A history that cannot store anything, as with a full disk; counts what it was asked to store.
class RefusingHistory final : public ui::EditHistory {
public:
    bool PushImageSnapshot(const Rect& /*imageRect*/) override {
        ++pushes;
        return false;
    }
    bool Undo() override { return false; }
    bool Redo() override { return false; }
    void Reset() override {}
    int UndoCount() const override { return 0; }
    int RedoCount() const override { return 0; }
    void WaitForWrites() override {}

    int pushes = 0;
};

}  // namespace palvex::test
