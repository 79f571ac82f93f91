#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "image/atomic_file.h"
#include "undo/comp_sub.h"
#include "undo/pixel_buffer.h"

namespace palvex {

// One snapshot on its way to its file. The pixels stay here until the file is written; when the
// write fails they stay for good, so the step can still be undone from memory.
struct PendingWrite {
    enum class State { Queued, Written, Failed, Cancelled };

    SnapshotHeader header;
    PixelBuffer pixels;
    std::filesystem::path path;
    std::unique_ptr<FileSink> sink;  // not yet open
    std::atomic<State> state = State::Queued;
};

// Writes snapshot files on a thread of its own, in the order submitted, so that the user's click
// is not held up by compression. The thread starts with the first write and ends with the writer.
class SnapshotWriter {
public:
    explicit SnapshotWriter(PixelBufferPool& pool) : pool_(pool) {}
    ~SnapshotWriter();  // finishes every queued write
    SnapshotWriter(const SnapshotWriter&) = delete;
    SnapshotWriter& operator=(const SnapshotWriter&) = delete;

    void Submit(std::shared_ptr<PendingWrite> write);
    // Writes here and now, on the caller's thread; the pixels stay with the write.
    void WriteNow(PendingWrite& write);
    // A queued write that is no longer wanted is skipped; one under way finishes.
    void Cancel(const std::shared_ptr<PendingWrite>& write);
    // Returns when nothing is queued or under way.
    void Wait();

private:
    void Run();
    bool Write(PendingWrite& write, int threads);
    void Finish(PendingWrite& write, bool ok);

    PixelBufferPool& pool_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<PendingWrite>> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace palvex
