#pragma once

#include <memory>

#include "base/prompter.h"
#include "base/work_folder.h"
#include "image/geometry.h"
#include "image/image_loader.h"
#include "image/raster/fill_record.h"
#include "image/raster/image_operation.h"
#include "image/raster/key_run_record.h"

namespace palvex {
class UndoHistory;
struct BarrierAccess;
}  // namespace palvex

namespace palvex::ui {

// What the canvas asks of the undo history. The view owns one; tests give it their own.
class EditHistory {
public:
    virtual ~EditHistory() = default;
    // Before a change: stores what `imageRect` holds (empty: the whole image). False when it
    // could not (the history has said why): the change must not be made.
    virtual bool PushImageSnapshot(const Rect& imageRect) = 0;
    // Whether a flood fill is recorded after the fact by PushFill, rather than by a snapshot
    // before it.
    virtual bool RecordsFills() const { return false; }
    // After a flood fill made with a record; false when the record was lost, and with it the
    // fill, which put the image back (the history has said why).
    virtual bool PushFill(FillRecord /*record*/) { return false; }
    // Whether invert, mirrors and quarter turns of the whole image are made by ApplyOperation,
    // their step the operation itself, rather than after a snapshot.
    virtual bool RecordsOperations() const { return false; }
    // Makes and records one; false when a turn found no memory (nothing changed).
    virtual bool ApplyOperation(ImageOperation /*op*/) { return false; }
    // Whether the whole-image fill-back is recorded after the pass by PushFillBack, its step
    // where the key was, rather than by a snapshot before it.
    virtual bool RecordsFillBacks() const { return false; }
    // After the pass, with the record of where the key was before it; false for a lost record.
    virtual bool PushFillBack(KeyRunRecord /*record*/) { return false; }
    // The image was changed without a step.
    virtual void NoteUnrecordedChange() {}
    // Before a change of the barrier's vertex list; false: the change must not be made. A
    // history that keeps no barrier steps lets the change go ahead unrecorded.
    virtual bool PushBarrierSnapshot() { return true; }
    // How the history reads and puts back the barrier.
    virtual void SetBarrierAccess(const BarrierAccess& /*access*/) {}
    // Done flags; the caller has ended the pointer feedback and repaints afterwards.
    virtual bool Undo() = 0;
    virtual bool Redo() = 0;
    virtual void Reset() = 0;  // an image was loaded
    virtual int UndoCount() const = 0;
    virtual int RedoCount() const = 0;
    virtual void WaitForWrites() = 0;  // before a save and at exit
};

// The history of the editor: image snapshots in compressed files of the work folder.
class SnapshotHistory final : public EditHistory {
public:
    SnapshotHistory(ImageState& image, const WorkFolder& folder, Prompter& prompter);
    ~SnapshotHistory() override;

    UndoHistory& Core() { return *history_; }

    bool PushImageSnapshot(const Rect& imageRect) override;
    bool RecordsFills() const override { return true; }
    bool PushFill(FillRecord record) override;
    bool RecordsOperations() const override { return true; }
    bool ApplyOperation(ImageOperation op) override;
    bool RecordsFillBacks() const override { return true; }
    bool PushFillBack(KeyRunRecord record) override;
    void NoteUnrecordedChange() override;
    bool PushBarrierSnapshot() override;
    void SetBarrierAccess(const BarrierAccess& access) override;
    bool Undo() override;
    bool Redo() override;
    void Reset() override;
    int UndoCount() const override;
    int RedoCount() const override;
    void WaitForWrites() override;

private:
    std::unique_ptr<UndoHistory> history_;
};

}  // namespace palvex::ui
