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
    // Dropped: the step is gone, and so are its file and its pixels (or they go as soon as the
    // write under way ends).
    enum class State { Queued, Writing, Written, Failed, Dropped };

    SnapshotHeader header;
    PixelBuffer pixels;
    std::filesystem::path path;
    std::unique_ptr<FileSink> sink;  // not yet open
    std::atomic<State> state = State::Queued;
    bool dropWhenDone = false;  // dropped while being written; guarded by the writer's lock
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
    // The step is no longer wanted: its file is deleted (in the background once the thread
    // runs) and its pixels given back, at once or, for a write under way, when it ends.
    void Drop(PendingWrite& write);
    // Returns when nothing is queued or under way.
    void Wait();
    // Returns when this write has ended (written, failed or dropped).
    void WaitFor(const PendingWrite& write);
    // Background writes that failed since the last call.
    int TakeFailures();

private:
    void Run();
    bool Write(PendingWrite& write, int threads);
    void Finish(PendingWrite& write, bool ok);
    void Release(PendingWrite& write);  // under the lock

    PixelBufferPool& pool_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<PendingWrite>> queue_;
    std::deque<std::filesystem::path> removals_;  // files of dropped steps
    bool busy_ = false;
    int failures_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace palvex
