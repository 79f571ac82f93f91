#include "undo/undo_history.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {
namespace {

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

}  // namespace

// A step's pixels ready to be put back: read from its file, or lent by a step kept in memory.
struct UndoHistory::Restorable {
    SnapshotHeader header;
    PixelBuffer owned;
    const Pixel* pixels = nullptr;
};

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
    std::optional<Entry> entry;
    if (kind == SnapshotKind::Barrier) {
        entry = StoreBarrier();
    } else {
        if (undo_.empty() && !image_.WorkImage.IsNull()) {
            // A fresh history: whatever the folder holds is dead, the redo steps included.
            if (folder_.GetWorkFolder({}, prompter_).empty()) {
                prompter_.Error(str::kSnapshotNotStored);
                return false;
            }
            DropAll(redo_);
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
        return false;
    }
    DropAll(redo_);
    undo_.push_back(std::move(*entry));
    if (undo_.size() > kUndoLimit) {
        Drop(undo_.front());  // its file stays for the next cleanup
        undo_.erase(undo_.begin());
    }
    return true;
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
    // The loader cleans the folder next; a write finishing after that would leave its file.
    writer_.Wait();
}

void UndoHistory::WaitForWrites() {
    writer_.Wait();
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
    entry.barrier = std::make_unique<BarrierSnapshot>(barrier_.capture());
    return entry;
}

std::optional<UndoHistory::Entry> UndoHistory::StoreImage(Rect rect, bool whole) {
    const auto fail = [this] {
        prompter_.Error(str::kSnapshotNotStored);
        return std::nullopt;
    };
    const Bitmap& image = image_.WorkImage;
    if (image.IsNull()) {
        return fail();
    }
    const std::filesystem::path folder = folder_.GetWorkFolder({}, prompter_);
    if (folder.empty()) {
        return fail();
    }

    Entry entry;
    entry.rect = rect;
    entry.whole = whole;
    // Pixels of the rectangle outside the image carry nothing and are never put back.
    entry.stored = {rect.Intersected(image.Bounds()), whole};
    auto write = std::make_shared<PendingWrite>();
    write->header = entry.stored;
    const Rect& part = entry.stored.rect;
    const std::size_t pixels =
        static_cast<std::size_t>(part.Width()) * static_cast<std::size_t>(part.Height());
    if (pixels > 0) {
        write->pixels = pool_.Take(pixels);
        if (write->pixels.Empty()) {
            prompter_.Error(str::kMemoryAllocationFailed);
            return fail();
        }
        CopyRows(image.Row(part.top) + part.left, static_cast<std::size_t>(image.Width()),
                 write->pixels.Data(), static_cast<std::size_t>(part.Width()), part.Width(),
                 part.Height());
    }

    write->path = ReserveName(folder);
    if (write->path.empty()) {
        return fail();
    }
    write->sink = sinkFactory_(write->path);
    if (!write->sink->Open()) {
        std::error_code ignored;
        std::filesystem::remove(write->path, ignored);
        return fail();
    }
    if (pixels < kBackgroundPixels) {
        writer_.WriteNow(*write);
        if (write->state != PendingWrite::State::Written) {
            return fail();
        }
    } else {
        writer_.Submit(write);
    }
    entry.write = std::move(write);
    return entry;
}

bool UndoHistory::Step(std::vector<Entry>& from, std::vector<Entry>& to, bool undoing) {
    writer_.Wait();
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
    } else {
        Restorable snapshot;
        if (!Load(step, snapshot)) {
            return false;
        }
        // The first undo keeps the whole image for its redo: the changes since the newest
        // snapshot may reach beyond its rectangle.
        const bool whole = (undoing && to.empty()) || step.whole;
        counter = StoreImage(whole ? image_.WorkImage.Bounds() : step.rect, whole);
        if (!counter) {
            pool_.Give(std::move(snapshot.owned));
            return false;
        }
        if (!Apply(snapshot)) {
            Drop(*counter);
            pool_.Give(std::move(snapshot.owned));
            return false;
        }
        pool_.Give(std::move(snapshot.owned));
        if (step.write->state == PendingWrite::State::Written) {
            std::error_code ignored;
            std::filesystem::remove(step.write->path, ignored);
        }
    }
    from.pop_back();
    to.push_back(std::move(*counter));
    return true;
}

bool UndoHistory::Load(const Entry& entry, Restorable& out) {
    if (entry.write->state == PendingWrite::State::Failed) {
        out.header = entry.stored;
        out.pixels = entry.write->pixels.Data();
        return true;
    }
    switch (CCompSub::Expand(entry.write->path, out.header, out.owned, pool_)) {
        case ExpandStatus::Ok:
            break;
        case ExpandStatus::NoMemory:
            prompter_.Error(str::kMemoryAllocationFailed, texts::kImagePrefix);
            return false;
        case ExpandStatus::Missing:
        case ExpandStatus::Damaged:
            prompter_.Error(str::kSnapshotUnreadable);
            return false;
    }
    // A file that reads well but is not the one this step wrote is no use either.
    if (!(out.header == entry.stored)) {
        pool_.Give(std::move(out.owned));
        prompter_.Error(str::kSnapshotUnreadable);
        return false;
    }
    out.pixels = out.owned.Data();
    return true;
}

bool UndoHistory::Apply(const Restorable& snapshot) {
    const Rect& rect = snapshot.header.rect;
    Bitmap& image = image_.WorkImage;
    if (snapshot.header.whole &&
        (rect.Width() != image.Width() || rect.Height() != image.Height())) {
        Bitmap resized;
        if (!resized.Create(rect.Width(), rect.Height())) {
            prompter_.Error(str::kMemoryAllocationFailed, texts::kImagePrefix);
            return false;
        }
        std::memcpy(resized.Data(), snapshot.pixels, resized.ByteCount());
        image = std::move(resized);
        image_.width = image.Width();
        image_.height = image.Height();
        return true;
    }
    const Rect part = rect.Intersected(image.Bounds());
    if (!part.IsEmpty()) {
        const auto width = static_cast<std::size_t>(rect.Width());
        CopyRows(snapshot.pixels + static_cast<std::size_t>(part.top - rect.top) * width +
                     static_cast<std::size_t>(part.left - rect.left),
                 width, image.Row(part.top) + part.left, static_cast<std::size_t>(image.Width()),
                 part.Width(), part.Height());
    }
    return true;
}

void UndoHistory::Drop(Entry& entry) {
    if (entry.write) {
        writer_.Cancel(entry.write);
    }
}

void UndoHistory::DropAll(std::vector<Entry>& stack) {
    for (Entry& entry : stack) {
        Drop(entry);
    }
    stack.clear();
}

}  // namespace palvex
