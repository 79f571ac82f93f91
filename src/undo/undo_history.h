#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/prompter.h"
#include "base/work_folder.h"
#include "image/atomic_file.h"
#include "image/geometry.h"
#include "image/image_loader.h"
#include "image/raster/fill_record.h"
#include "image/raster/image_operation.h"
#include "image/raster/key_run_record.h"
#include "undo/pixel_buffer.h"
#include "undo/snapshot_writer.h"

namespace palvex {

enum class SnapshotKind : std::int32_t {
    Image = 0,
    Barrier = 1,
    Fill = 2,
    Operation = 3,
    FillBack = 4
};

inline constexpr int kBarrierSlots = 1000;
struct StoredBarrier {  // all 1000 slots and the count, as the barrier keeps them
    std::array<Point, kBarrierSlots> points{};
    std::int32_t count = 0;
};

// Reached through callbacks so the history does not depend on the barrier model.
struct BarrierAccess {
    std::function<StoredBarrier()> capture;             // the current barrier
    std::function<void(const StoredBarrier&)> restore;  // put back + clear marks/selection
};

// What one step of the history holds, for the command states and for tests.
struct UndoStepInfo {
    SnapshotKind kind = SnapshotKind::Image;
    Rect rect;                   // image kind: where the pixels belong (a part: grown by 2)
    bool whole = false;          // image kind: the whole image
    std::filesystem::path path;  // image kind: the snapshot file
    bool inMemory = false;       // image kind: its file could not be written; kept in memory
    ImageOperation operation = ImageOperation::Invert;  // operation kind: what the step did
};

inline constexpr int kUndoLimit = 10;

// The undo and redo stacks, ten steps together. Image snapshots go to compressed files in the
// work folder (written on a background thread), barrier snapshots stay in memory.
class UndoHistory {
public:
    UndoHistory(ImageState& image, const WorkFolder& folder, Prompter& prompter);
    ~UndoHistory();  // waits for background writes
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    void SetBarrierAccess(BarrierAccess access);

    // Before a change: a snapshot of `rect` (image pixels; empty = whole image), or of the
    // barrier. False when it failed: the caller abandons its change (a message was shown), and
    // the history is as it was.
    bool PushSnapshot(SnapshotKind kind, Rect rect = {});
    // After a flood fill: its record, kept in memory, is the step. A lost record is refused
    // (false); the fill put the image back itself.
    bool PushFill(FillRecord record);
    // A whole-image edit that its inverse takes back: applied here and recorded as the step,
    // with no pixels stored. A turn builds its result in the buffer the last turn left behind.
    // False when a turn found no memory: the image is as it was, and no step was made.
    bool ApplyOperation(ImageOperation op);
    // After a whole-image fill-back: where the key was before it, kept in memory, is the step.
    // Undone it writes the key back; redone it runs the fill-back again. A lost record is
    // refused (false): the caller stores a snapshot before the pass instead.
    bool PushFillBack(KeyRunRecord record);
    // The image was changed without a step (a stroke whose before-image could not be kept).
    // Steps that are replayed rather than stored then keep the whole image for their way back.
    void NoteUnrecordedChange();
    // Done flags. The caller first ends overlay/selection/paste/capture, and afterwards repaints
    // in full (and updates the scroll extent when width/height changed). A step that cannot be
    // put back leaves both stacks and the image as they were, after a message.
    bool Undo();
    bool Redo();
    void Reset();  // image loaded: both stacks emptied
    int UndoCount() const { return static_cast<int>(undo_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }
    // Before save and exit; Undo/Redo/Push wait themselves. Like them, it reports a background
    // write that failed since.
    void WaitForWrites();
    // Pixels held in memory (spare blocks and steps kept there), once the writes are done.
    std::size_t HeldPixels();

    // The newest step of each stack; nothing when the stack is empty.
    std::optional<UndoStepInfo> NewestUndoStep() const;
    std::optional<UndoStepInfo> NewestRedoStep() const;

    // Where snapshot files are written; tests put failing sinks here.
    using SinkFactory = std::function<std::unique_ptr<FileSink>(const std::filesystem::path&)>;
    void SetSinkFactory(SinkFactory factory);

private:
    struct Entry {
        SnapshotKind kind = SnapshotKind::Image;
        Rect rect;
        bool whole = false;
        SnapshotHeader stored;  // the part of rect inside the image, as the file says it
        std::shared_ptr<PendingWrite> write;
        std::unique_ptr<StoredBarrier> barrier;
        std::unique_ptr<FillRecord> fill;    // undo stack: write its before side; redo: after
        std::unique_ptr<KeyRunRecord> keys;  // undo stack: write the key; redo: the fill-back
        ImageOperation operation = ImageOperation::Invert;  // undo applies its inverse
        std::uint64_t serial = 0;  // pushes and counter steps, newest highest
    };
    // Snapshot of `rect` (whole: the image) written or on its way; on failure a message.
    std::optional<Entry> StoreImage(Rect rect, bool whole);
    // Its two halves: the pixels copied and the file's name claimed; then the write.
    std::optional<Entry> PrepareImage(Rect rect, bool whole);
    bool CommitImage(Entry& entry);
    static bool InBackground(const Entry& entry);
    void Discard(Entry& prepared);
    std::optional<Entry> StoreBarrier();
    bool Step(std::vector<Entry>& from, std::vector<Entry>& to, bool undoing);
    std::optional<Entry> StepFill(Entry& step, bool undoing, bool first);
    std::optional<Entry> StepOperation(const Entry& step, bool undoing);
    std::optional<Entry> StepFillBack(Entry& step, bool undoing);
    void Record(Entry entry);  // onto the undo stack, as a new change
    // Puts a step's pixels back after storing the counter step of `rect`, which it returns.
    std::optional<Entry> RestoreImage(const Entry& step, Rect rect, bool whole);
    bool Put(const SnapshotHeader& header, const Pixel* pixels);
    void Drop(Entry& entry);
    void DropAll(std::vector<Entry>& stack);
    void HeedFailedWrites();
    static UndoStepInfo InfoOf(const Entry& entry);

    ImageState& image_;
    const WorkFolder& folder_;
    Prompter& prompter_;
    BarrierAccess barrier_;
    SinkFactory sinkFactory_;
    std::vector<Entry> undo_;  // oldest first
    std::vector<Entry> redo_;
    std::uint64_t serial_ = 0;
    std::uint64_t unrecorded_ = 0;  // the serial of the newest change made without a step
    // The buffer the last turn left, for the turn that undoes it; kept only while a turn is the
    // newest change. It holds the image as it is on the other side of the step with serial
    // `spareFor_`, as long as that step is not followed by an unrecorded change.
    Bitmap spare_;
    std::uint64_t spareFor_ = 0;
    PixelBufferPool pool_;
    SnapshotWriter writer_{pool_};  // declared last: it is stopped before the pool goes
};

}  // namespace palvex
