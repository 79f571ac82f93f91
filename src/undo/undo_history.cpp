#include "undo/undo_history.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "resources/string_table.h"
#include "resources/texts.h"
#include "tools/pens.h"

namespace palvex {
namespace {

bool IsTurn(ImageOperation op) {
    return op == ImageOperation::TurnClockwise || op == ImageOperation::TurnCounterClockwise;
}

// A part of the image is grown by this on every side before it is stored.
constexpr int kMargin = 2;
// Smaller snapshots are written before the push returns, so that a failed write can still
// abandon the change; larger ones go to the background writer.
constexpr std::size_t kBackgroundPixels = std::size_t{1} << 18;

// "~" + the first three letters of the title + a hexadecimal number + ".tmp": the compressed
// name form of the work folder, which its cleanup removes.
std::filesystem::path ReserveName(const std::filesystem::path& folder) {
    static std::atomic<std::uint32_t> counter{std::random_device{}()};
    char name[32];
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::snprintf(name, sizeof name, "~Pal%X.tmp", counter.fetch_add(1) & 0xFFFFFu);
        const std::filesystem::path path = folder / name;
        // Creating the (empty) file claims the name; the write replaces it.
#if defined(_WIN32)
        std::FILE* file = ::_wfopen(path.c_str(), L"wbx");
#else
        std::FILE* file = std::fopen(path.c_str(), "wbx");
#endif
        if (file != nullptr) {
            std::fclose(file);
            return path;
        }
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            break;  // not taken, so the folder refuses new files
        }
    }
    return {};
}

std::unique_ptr<FileSink> SnapshotSink(const std::filesystem::path& path) {
    // Snapshots die with the session: no sync to disk; a temporary left by a crash ends in
    // ".tmp" so the cleanup finds it.
    return std::make_unique<AtomicFile>(path, AtomicFileOptions{false, ".tmp"});
}

void CopyRows(const Pixel* from, std::size_t fromStride, Pixel* to, std::size_t toStride, int width,
              int rows) {
    for (int y = 0; y < rows; ++y) {
        std::memcpy(to + static_cast<std::size_t>(y) * toStride,
                    from + static_cast<std::size_t>(y) * fromStride,
                    static_cast<std::size_t>(width) * sizeof(Pixel));
    }
}

std::size_t PixelCount(const Rect& rect) {
    return rect.IsEmpty()
               ? 0
               : static_cast<std::size_t>(rect.Width()) * static_cast<std::size_t>(rect.Height());
}

}  // namespace

UndoHistory::UndoHistory(ImageState& image, const WorkFolder& folder, Prompter& prompter)
    : image_(image), folder_(folder), prompter_(prompter), sinkFactory_(SnapshotSink) {}

UndoHistory::~UndoHistory() {
    writer_.Wait();
}

void UndoHistory::SetBarrierAccess(BarrierAccess access) {
    barrier_ = std::move(access);
}

void UndoHistory::SetSinkFactory(SinkFactory factory) {
    sinkFactory_ = factory ? std::move(factory) : SinkFactory(SnapshotSink);
}

bool UndoHistory::PushSnapshot(SnapshotKind kind, Rect rect) {
    HeedFailedWrites();
    std::optional<Entry> entry;
    if (kind == SnapshotKind::Barrier) {
        entry = StoreBarrier();
    } else {
        if (undo_.empty() && redo_.empty() && !image_.WorkImage.IsNull()) {
            // A fresh history: whatever snapshot files the folder holds are dead.
            if (folder_.GetWorkFolder({}, prompter_).empty()) {
                return false;  // the folder has said why
            }
            writer_.Wait();
            folder_.CleanWorkFolder(prompter_);
        }
        const bool whole = rect.IsEmpty();
        const Rect stored = whole ? image_.WorkImage.Bounds()
                                  : Rect{rect.left - kMargin, rect.top - kMargin,
                                         rect.right + kMargin, rect.bottom + kMargin};
        entry = StoreImage(stored, whole);
    }
    if (!entry) {
        return false;  // a refused step changes nothing, the redo steps included
    }
    Record(std::move(*entry));
    return true;
}

bool UndoHistory::PushFill(FillRecord record) {
    HeedFailedWrites();
    if (record.Lost()) {
        prompter_.Error(str::kMemoryAllocationFailed);
        return false;
    }
    Entry entry;
    entry.kind = SnapshotKind::Fill;
    entry.fill = std::make_unique<FillRecord>(std::move(record));
    Record(std::move(entry));
    return true;
}

bool UndoHistory::ApplyOperation(ImageOperation op) {
    HeedFailedWrites();
    Bitmap& image = image_.WorkImage;
    if (!palvex::ApplyOperation(image, op, &spare_)) {
        return false;
    }
    image_.width = image.Width();
    image_.height = image.Height();
    Entry entry;
    entry.kind = SnapshotKind::Operation;
    entry.operation = op;
    Record(std::move(entry));
    if (IsTurn(op)) {
        spareFor_ = undo_.back().serial;
    }
    return true;
}

bool UndoHistory::PushFillBack(KeyRunRecord record) {
    HeedFailedWrites();
    if (record.Lost()) {
        return false;
    }
    Entry entry;
    entry.kind = SnapshotKind::FillBack;
    entry.keys = std::make_unique<KeyRunRecord>(std::move(record));
    Record(std::move(entry));
    return true;
}

void UndoHistory::NoteUnrecordedChange() {
    unrecorded_ = ++serial_;
}

void UndoHistory::Record(Entry entry) {
    if (entry.kind != SnapshotKind::Operation) {
        spare_.Reset();  // no turn is the newest change any more
    }
    entry.serial = ++serial_;
    DropAll(redo_);
    undo_.push_back(std::move(entry));
    if (undo_.size() > kUndoLimit) {
        Drop(undo_.front());
        undo_.erase(undo_.begin());
    }
}

bool UndoHistory::Undo() {
    return Step(undo_, redo_, true);
}

bool UndoHistory::Redo() {
    return Step(redo_, undo_, false);
}

void UndoHistory::Reset() {
    DropAll(undo_);
    DropAll(redo_);
    writer_.Wait();
    writer_.TakeFailures();  // of steps that are gone
    // The old image's blocks are no use for the new one, and may be hundreds of megabytes.
    pool_.Clear();
    spare_.Reset();
}

void UndoHistory::WaitForWrites() {
    writer_.Wait();
    HeedFailedWrites();
}

std::size_t UndoHistory::HeldPixels() {
    writer_.Wait();
    std::size_t held = pool_.SparePixels() + spare_.PixelCount();
    for (const std::vector<Entry>* stack : {&undo_, &redo_}) {
        for (const Entry& entry : *stack) {
            if (entry.write) {
                held += entry.write->pixels.Capacity();
            }
            if (entry.fill) {
                held += (entry.fill->Bytes() + sizeof(Pixel) - 1) / sizeof(Pixel);
            }
            if (entry.keys) {
                held += (entry.keys->Bytes() + sizeof(Pixel) - 1) / sizeof(Pixel);
            }
        }
    }
    return held;
}

// A large snapshot whose background write failed stays in memory, so that its step can still be
// undone. Only the newest such step is kept: an older one goes, and with it every step beyond it
// on its stack, which could no longer be reached in order.
void UndoHistory::HeedFailedWrites() {
    if (writer_.TakeFailures() == 0) {
        return;
    }
    const auto inMemory = [](const Entry& e) {
        return e.write && e.write->state == PendingWrite::State::Failed;
    };
    std::uint64_t newest = 0;
    for (const std::vector<Entry>* stack : {&undo_, &redo_}) {
        for (const Entry& entry : *stack) {
            if (inMemory(entry)) {
                newest = std::max(newest, entry.serial);
            }
        }
    }
    for (std::vector<Entry>* stack : {&undo_, &redo_}) {
        // Both stacks hold their farthest step first.
        std::size_t cut = 0;
        for (std::size_t i = 0; i < stack->size(); ++i) {
            if (inMemory((*stack)[i]) && (*stack)[i].serial != newest) {
                cut = i + 1;
            }
        }
        for (std::size_t i = 0; i < cut; ++i) {
            Drop((*stack)[i]);
        }
        stack->erase(stack->begin(), stack->begin() + static_cast<std::ptrdiff_t>(cut));
    }
    prompter_.Information(str::kSnapshotKeptInMemory);
}

std::optional<UndoStepInfo> UndoHistory::NewestUndoStep() const {
    return undo_.empty() ? std::nullopt : std::optional(InfoOf(undo_.back()));
}

std::optional<UndoStepInfo> UndoHistory::NewestRedoStep() const {
    return redo_.empty() ? std::nullopt : std::optional(InfoOf(redo_.back()));
}

UndoStepInfo UndoHistory::InfoOf(const Entry& entry) {
    UndoStepInfo info;
    info.kind = entry.kind;
    info.rect = entry.rect;
    info.whole = entry.whole;
    info.operation = entry.operation;
    if (entry.write) {
        info.path = entry.write->path;
        info.inMemory = entry.write->state == PendingWrite::State::Failed;
    }
    return info;
}

std::optional<UndoHistory::Entry> UndoHistory::StoreBarrier() {
    if (!barrier_.capture) {
        return std::nullopt;
    }
    Entry entry;
    entry.kind = SnapshotKind::Barrier;
    entry.barrier = std::make_unique<StoredBarrier>(barrier_.capture());
    return entry;
}

std::optional<UndoHistory::Entry> UndoHistory::StoreImage(Rect rect, bool whole) {
    std::optional<Entry> entry = PrepareImage(rect, whole);
    if (!entry || !CommitImage(*entry)) {
        return std::nullopt;
    }
    // A background write owns its pixels until it ends; only a write done here lets them go.
    if (!InBackground(*entry)) {
        entry->write->pixels = {};
    }
    return entry;
}

std::optional<UndoHistory::Entry> UndoHistory::PrepareImage(Rect rect, bool whole) {
    const Bitmap& image = image_.WorkImage;
    const std::filesystem::path folder =
        image.IsNull() ? std::filesystem::path() : folder_.GetWorkFolder({}, prompter_);
    if (folder.empty()) {
        if (image.IsNull()) {
            prompter_.Error(str::kSnapshotNotStored);
        }
        return std::nullopt;  // the folder has said why
    }
    Entry entry;
    entry.rect = rect;
    entry.whole = whole;
    // Pixels of the rectangle outside the image carry nothing and are never put back.
    entry.stored = {rect.Intersected(image.Bounds()), whole};
    entry.write = std::make_shared<PendingWrite>();
    PendingWrite& write = *entry.write;
    write.header = entry.stored;
    const Rect& part = entry.stored.rect;
    const std::size_t pixels = PixelCount(part);
    if (pixels > 0) {
        write.pixels = pool_.Take(pixels);
        if (write.pixels.Empty()) {
            prompter_.Error(str::kMemoryAllocationFailed);
            return std::nullopt;
        }
        CopyRows(image.Row(part.top) + part.left, static_cast<std::size_t>(image.Width()),
                 write.pixels.Data(), static_cast<std::size_t>(part.Width()), part.Width(),
                 part.Height());
    }
    // Claiming the name proves the folder writable before the caller changes anything.
    write.path = ReserveName(folder);
    if (write.path.empty()) {
        pool_.Give(std::move(write.pixels));
        prompter_.Error(str::kSnapshotNotStored);
        return std::nullopt;
    }
    write.sink = sinkFactory_(write.path);
    return entry;
}

bool UndoHistory::CommitImage(Entry& entry) {
    if (!InBackground(entry)) {
        // Written now, so that a failure can still abandon the change; the pixels stay with
        // the entry until the caller lets them go.
        writer_.WriteNow(*entry.write);
        if (entry.write->state != PendingWrite::State::Written) {
            pool_.Give(std::move(entry.write->pixels));
            prompter_.Error(str::kSnapshotNotStored);
            return false;
        }
        return true;
    }
    // The rest, opening the file included, happens in the background; a failure there keeps
    // the pixels in memory.
    writer_.Submit(entry.write);
    return true;
}

bool UndoHistory::InBackground(const Entry& entry) {
    return PixelCount(entry.stored.rect) >= kBackgroundPixels;
}

void UndoHistory::Discard(Entry& entry) {
    PendingWrite& write = *entry.write;
    write.sink.reset();
    std::error_code ignored;
    std::filesystem::remove(write.path, ignored);
    pool_.Give(std::move(write.pixels));
    write.pixels = {};
}

bool UndoHistory::Step(std::vector<Entry>& from, std::vector<Entry>& to, bool undoing) {
    HeedFailedWrites();
    if (!from.empty() && from.back().write) {
        // Only a step's own file must be finished before it is read; writes of other steps and
        // deletions go on meanwhile.
        const std::shared_ptr<PendingWrite> write = from.back().write;
        writer_.WaitFor(*write);
        HeedFailedWrites();  // may take steps off the stacks
    }
    if (from.empty()) {
        return false;
    }
    Entry& step = from.back();
    std::optional<Entry> counter;
    if (step.kind == SnapshotKind::Barrier) {
        if (!barrier_.restore || !(counter = StoreBarrier())) {
            return false;
        }
        barrier_.restore(*step.barrier);
    } else if (step.kind == SnapshotKind::Fill) {
        // The first undo, or one after a change nobody recorded, checks the runs.
        const bool check = undoing && (to.empty() || unrecorded_ > step.serial);
        if (!(counter = StepFill(step, undoing, check))) {
            return false;
        }
    } else if (step.kind == SnapshotKind::Operation) {
        if (!(counter = StepOperation(step, undoing))) {
            return false;
        }
    } else if (step.kind == SnapshotKind::FillBack) {
        if (!(counter = StepFillBack(step, undoing))) {
            return false;
        }
    } else {
        // The first undo keeps the whole image for its redo: the changes since the newest
        // snapshot may reach beyond its rectangle.
        const bool whole = (undoing && to.empty()) || step.whole;
        counter = RestoreImage(step, whole ? image_.WorkImage.Bounds() : step.rect, whole);
        if (!counter) {
            return false;
        }
        Drop(step);  // put back: its file or its pixels are no longer needed
    }
    counter->serial = ++serial_;
    if (counter->kind == SnapshotKind::Operation && IsTurn(counter->operation)) {
        spareFor_ = counter->serial;  // a turn, either way, leaves the other side in the spare
    }
    from.pop_back();
    to.push_back(std::move(*counter));
    return true;
}

// A fill step is its own counter step: undone it writes the old pixels, redone the fill's.
std::optional<UndoHistory::Entry> UndoHistory::StepFill(Entry& step, bool undoing, bool first) {
    Bitmap& image = image_.WorkImage;
    FillRecord& fill = *step.fill;
    if (!fill.Fits(image)) {
        prompter_.Error(str::kSnapshotUnreadable);  // made on an image of another size
        return std::nullopt;
    }
    // The newest step may have been followed by changes nobody recorded; if they reach into
    // the filled runs, the redo keeps the whole image, as for an image step.
    if (first && !fill.Write(image, true, true)) {
        std::optional<Entry> counter = StoreImage(image.Bounds(), true);
        if (counter) {
            fill.Write(image, true);
        }
        return counter;
    }
    if (!first) {
        fill.Write(image, undoing);
    }
    Entry counter;
    counter.kind = SnapshotKind::Fill;
    counter.fill = std::move(step.fill);
    return counter;
}

// An operation step is its own counter step. Changes after it that nobody recorded need no care:
// the inverse and the operation undo each other on any image. A turn whose other side is still
// in the spare buffer, with nothing changed since, is taken back by exchanging the two.
std::optional<UndoHistory::Entry> UndoHistory::StepOperation(const Entry& step, bool undoing) {
    Bitmap& image = image_.WorkImage;
    const bool exchange = IsTurn(step.operation) && spareFor_ == step.serial &&
                          unrecorded_ < step.serial && !spare_.IsNull() &&
                          spare_.Width() == image.Height() && spare_.Height() == image.Width();
    if (exchange) {
        std::swap(image, spare_);
    } else if (!palvex::ApplyOperation(image, undoing ? Inverse(step.operation) : step.operation,
                                       &spare_)) {
        prompter_.Error(str::kMemoryAllocationFailed, texts::kImagePrefix);
        return std::nullopt;
    }
    image_.width = image.Width();
    image_.height = image.Height();
    Entry counter;
    counter.kind = SnapshotKind::Operation;
    counter.operation = step.operation;
    return counter;
}

// A fill-back step is its own counter step: undone it writes the key back where it was, redone
// it runs the fill-back again, which gives the same result on the same image. A change made
// since without a step breaks that: undoing then keeps the whole image for the redo, as an image
// step does, and redoing records the key afresh from the image as it now is.
std::optional<UndoHistory::Entry> UndoHistory::StepFillBack(Entry& step, bool undoing) {
    Bitmap& image = image_.WorkImage;
    KeyRunRecord& keys = *step.keys;
    const bool changedSince = unrecorded_ > step.serial;
    if (undoing || !changedSince) {
        if (!keys.Fits(image)) {
            prompter_.Error(str::kSnapshotUnreadable);  // made on an image of another size
            return std::nullopt;
        }
    }
    if (undoing && changedSince) {
        std::optional<Entry> counter = StoreImage(image.Bounds(), true);
        if (counter) {
            keys.Write(image);
        }
        return counter;
    }
    if (undoing) {
        keys.Write(image);
    } else {
        if (!changedSince) {
            FillBackWholeImage(image, keys.Key());
        } else if (KeyBits bits; bits.Reset(image.Width(), image.Height())) {
            // The pass takes where the key now is as it goes, as the pen's own pass does.
            FillBackWholeImage(image, keys.Key(), {}, &bits);
            keys = KeyRunRecord(std::move(bits), keys.Key());
        } else {
            std::optional<Entry> counter = StoreImage(image.Bounds(), true);
            if (counter) {
                FillBackWholeImage(image, keys.Key());
            }
            return counter;
        }
    }
    Entry counter;
    counter.kind = SnapshotKind::FillBack;
    counter.keys = std::move(step.keys);
    return counter;
}

std::optional<UndoHistory::Entry> UndoHistory::RestoreImage(const Entry& step, Rect rect,
                                                            bool whole) {
    if (step.write->state == PendingWrite::State::Failed) {  // kept in memory
        std::optional<Entry> counter = StoreImage(rect, whole);
        if (counter && !Put(step.stored, step.write->pixels.Data())) {
            Drop(*counter);
            return std::nullopt;
        }
        return counter;
    }

    SnapshotReader reader;
    ExpandStatus status = reader.Open(step.write->path);
    // A file that reads well but is not the one this step wrote is no use either.
    if (status != ExpandStatus::Ok || !(reader.Header() == step.stored)) {
        prompter_.Error(str::kSnapshotUnreadable);
        return std::nullopt;
    }
    std::optional<Entry> counter = PrepareImage(rect, whole);
    if (!counter) {
        return std::nullopt;
    }
    const bool background = InBackground(*counter);
    if (!background && !CommitImage(*counter)) {
        return std::nullopt;
    }

    // Straight into the image, without a copy of the whole snapshot: a band found damaged on
    // the way is undone from the counter step's pixels, which cover every pixel the snapshot
    // can reach.
    Bitmap& image = image_.WorkImage;
    const Rect& size = reader.Header().rect;
    if (reader.Header().whole &&
        (size.Width() != image.Width() || size.Height() != image.Height())) {
        Bitmap resized;
        if (!resized.Create(size.Width(), size.Height())) {
            status = ExpandStatus::NoMemory;
        } else {
            status = reader.Read(
                {resized.Data(), static_cast<std::size_t>(resized.Width()), resized.Bounds()});
        }
        if (status == ExpandStatus::Ok) {
            image = std::move(resized);
            image_.width = image.Width();
            image_.height = image.Height();
        }
    } else {
        status =
            reader.Read({image.Data(), static_cast<std::size_t>(image.Width()), image.Bounds()});
        if (status != ExpandStatus::Ok) {
            const Rect& back = counter->stored.rect;
            CopyRows(counter->write->pixels.Data(), static_cast<std::size_t>(back.Width()),
                     image.Row(back.top) + back.left, static_cast<std::size_t>(image.Width()),
                     back.Width(), back.Height());
        }
    }
    if (status != ExpandStatus::Ok) {
        Discard(*counter);
        if (status == ExpandStatus::NoMemory) {
            prompter_.Error(str::kMemoryAllocationFailed, texts::kImagePrefix);
        } else {
            prompter_.Error(str::kSnapshotUnreadable);
        }
        return std::nullopt;
    }
    if (background) {
        writer_.Submit(counter->write);
    } else {
        counter->write->pixels = {};
    }
    return counter;
}

bool UndoHistory::Put(const SnapshotHeader& header, const Pixel* pixels) {
    const Rect& rect = header.rect;
    Bitmap& image = image_.WorkImage;
    if (header.whole && (rect.Width() != image.Width() || rect.Height() != image.Height())) {
        Bitmap resized;
        if (!resized.Create(rect.Width(), rect.Height())) {
            prompter_.Error(str::kMemoryAllocationFailed, texts::kImagePrefix);
            return false;
        }
        std::memcpy(resized.Data(), pixels, resized.ByteCount());
        image = std::move(resized);
        image_.width = image.Width();
        image_.height = image.Height();
        return true;
    }
    const Rect part = rect.Intersected(image.Bounds());
    if (!part.IsEmpty()) {
        const auto width = static_cast<std::size_t>(rect.Width());
        CopyRows(pixels + static_cast<std::size_t>(part.top - rect.top) * width +
                     static_cast<std::size_t>(part.left - rect.left),
                 width, image.Row(part.top) + part.left, static_cast<std::size_t>(image.Width()),
                 part.Width(), part.Height());
    }
    return true;
}

void UndoHistory::Drop(Entry& entry) {
    if (entry.write) {
        writer_.Drop(*entry.write);
    }
}

void UndoHistory::DropAll(std::vector<Entry>& stack) {
    for (Entry& entry : stack) {
        Drop(entry);
    }
    stack.clear();
}

}  // namespace palvex
