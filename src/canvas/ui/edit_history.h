#pragma once

#include "image/geometry.h"

namespace palvex::ui {

// What the canvas asks of the undo history. The view owns one; tests give it their own.
class EditHistory {
public:
    virtual ~EditHistory() = default;
    // Before a change: stores what `imageRect` holds (empty: the whole image). False when it
    // could not (the history has said why): the change must not be made.
    virtual bool PushImageSnapshot(const Rect& imageRect) = 0;
    // Done flags; the caller has ended the pointer feedback and repaints afterwards.
    virtual bool Undo() = 0;
    virtual bool Redo() = 0;
    virtual void Reset() = 0;  // an image was loaded
    virtual int UndoCount() const = 0;
    virtual int RedoCount() const = 0;
    virtual void WaitForWrites() = 0;  // before a save and at exit
};

}  // namespace palvex::ui
