#pragma once

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "base/work_folder.h"
#include "image/atomic_file.h"
#include "image/bitmap.h"
#include "image/image_loader.h"
#include "image/raster/draw.h"
#include "support/test_support.h"
#include "undo/undo_history.h"

namespace palvex::test {

// Distinct pixels everywhere, so a misplaced row or column shows.
inline Bitmap Picture(int width, int height, unsigned seed = 1) {
    Bitmap b;
    EXPECT_TRUE(b.Create(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto v = static_cast<Pixel>((x * 7919u + y * 104729u + seed * 31u) * 2654435761u);
            b.Row(y)[x] = 0xFF000000u | (v & 0x00FFFFFFu);
        }
    }
    return b;
}

inline Bitmap Copy(const Bitmap& from) {
    Bitmap to;
    EXPECT_TRUE(to.Create(from.Width(), from.Height()));
    EXPECT_TRUE(CopyBitmapBits(from, to));
    return to;
}

// A history over its own image in a fresh work folder.
struct HistoryFixture {
    explicit HistoryFixture(int width = 64, int height = 48) : work(temp.Path()) {
        SetImage(Picture(width, height));
    }
    void SetImage(Bitmap b) {
        state.width = b.Width();
        state.height = b.Height();
        state.WorkImage = std::move(b);
    }
    std::vector<std::filesystem::path> SnapshotFiles() {
        history.WaitForWrites();
        std::vector<std::filesystem::path> files;
        const auto folder = work.GetWorkFolder({}, prompter);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files.push_back(entry.path());
        }
        return files;
    }

    TempDir temp;
    WorkFolder work;
    RecordingPrompter prompter;
    ImageState state;
    UndoHistory history{state, work, prompter};
};

// One small change inside `rect`, pushed first as a tool does.
inline void Change(HistoryFixture& f, Rect rect, Colour colour) {
    ASSERT_TRUE(f.history.PushSnapshot(SnapshotKind::Image, rect));
    FillRect(f.state.WorkImage, rect, colour);
}

// A sink that fails at its `failAt`-th call (Open is call 0), or never.
class FailingSink final : public FileSink {
public:
    FailingSink(std::filesystem::path target, int failAt)
        : file_(std::move(target)), failAt_(failAt) {}
    bool Open() override { return Step() && file_.Open(); }
    bool Write(std::span<const std::uint8_t> bytes) override {
        return Step() && file_.Write(bytes);
    }
    bool Commit() override { return Step() && file_.Commit(); }

private:
    bool Step() { return calls_++ != failAt_; }
    AtomicFile file_;
    int failAt_;
    int calls_ = 0;
};

// Sinks whose Open waits until the gate opens, so that the background writer stays busy on its
// first write while the test queues and drops others behind it.
class Gate {
public:
    void Open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void Pass() {
        std::unique_lock lock(mutex_);
        ++waiting_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    // Returns once a write waits at the gate.
    void AwaitWriter() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_ > 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    int waiting_ = 0;
};

class GatedSink final : public FileSink {
public:
    GatedSink(std::filesystem::path target, Gate& gate) : file_(std::move(target)), gate_(gate) {}
    bool Open() override {
        gate_.Pass();
        return file_.Open();
    }
    bool Write(std::span<const std::uint8_t> bytes) override { return file_.Write(bytes); }
    bool Commit() override { return file_.Commit(); }

private:
    AtomicFile file_;
    Gate& gate_;
};

inline UndoHistory::SinkFactory GatedBy(Gate& gate) {
    return [&gate](const std::filesystem::path& path) {
        return std::make_unique<GatedSink>(path, gate);
    };
}

inline UndoHistory::SinkFactory FailingAt(int failAt) {
    return [failAt](const std::filesystem::path& path) {
        return std::make_unique<FailingSink>(path, failAt);
    };
}

}  // namespace palvex::test
