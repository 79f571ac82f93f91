#include "canvas/ui/edit_history.h"

#include "undo/undo_history.h"

namespace palvex::ui {

SnapshotHistory::SnapshotHistory(ImageState& image, const WorkFolder& folder, Prompter& prompter)
    : history_(std::make_unique<UndoHistory>(image, folder, prompter)) {}

SnapshotHistory::~SnapshotHistory() = default;

bool SnapshotHistory::PushImageSnapshot(const Rect& imageRect) {
    return history_->PushSnapshot(SnapshotKind::Image, imageRect);
}

bool SnapshotHistory::PushFill(FillRecord record) {
    return history_->PushFill(std::move(record));
}

bool SnapshotHistory::ApplyOperation(ImageOperation op) {
    return history_->ApplyOperation(op);
}

bool SnapshotHistory::PushFillBack(KeyRunRecord record) {
    return history_->PushFillBack(std::move(record));
}

void SnapshotHistory::NoteUnrecordedChange() {
    history_->NoteUnrecordedChange();
}

bool SnapshotHistory::PushBarrierSnapshot() {
    return history_->PushSnapshot(SnapshotKind::Barrier);
}

void SnapshotHistory::SetBarrierAccess(const BarrierAccess& access) {
    history_->SetBarrierAccess(access);
}

bool SnapshotHistory::Undo() {
    return history_->Undo();
}

bool SnapshotHistory::Redo() {
    return history_->Redo();
}

void SnapshotHistory::Reset() {
    history_->Reset();
}

int SnapshotHistory::UndoCount() const {
    return history_->UndoCount();
}

int SnapshotHistory::RedoCount() const {
    return history_->RedoCount();
}

void SnapshotHistory::WaitForWrites() {
    history_->WaitForWrites();
}

}  // namespace palvex::ui
