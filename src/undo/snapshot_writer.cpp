#include "undo/snapshot_writer.h"

#include <system_error>
#include <utility>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace palvex {
namespace {

// Compression is never what the user waits for, except in an undo, which waits idle: the thread
// (and the band threads it starts, which inherit it) gives way to the edit that follows its
// snapshot, which would otherwise share the cores with it.
void GiveWay() {
#if defined(__linux__)
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
#elif defined(_WIN32)
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#endif
}

}  // namespace

SnapshotWriter::~SnapshotWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void SnapshotWriter::Submit(std::shared_ptr<PendingWrite> write) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(write));
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { Run(); });
        }
    }
    changed_.notify_all();
}

void SnapshotWriter::WriteNow(PendingWrite& write) {
    write.state = Write(write, 1) ? PendingWrite::State::Written : PendingWrite::State::Failed;
}

void SnapshotWriter::Drop(PendingWrite& write) {
    const std::lock_guard lock(mutex_);
    switch (write.state.load()) {
        case PendingWrite::State::Writing:
            write.dropWhenDone = true;
            return;
        case PendingWrite::State::Dropped:
            return;
        default:
            Release(write);
            return;
    }
}

int SnapshotWriter::TakeFailures() {
    const std::lock_guard lock(mutex_);
    return std::exchange(failures_, 0);
}

void SnapshotWriter::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && removals_.empty() && !busy_; });
}

void SnapshotWriter::WaitFor(const PendingWrite& write) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&write] {
        const PendingWrite::State state = write.state;
        return state != PendingWrite::State::Queued && state != PendingWrite::State::Writing;
    });
}

void SnapshotWriter::Run() {
    GiveWay();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty() || !removals_.empty(); });
        if (!removals_.empty()) {
            const std::filesystem::path path = std::move(removals_.front());
            removals_.pop_front();
            busy_ = true;
            lock.unlock();
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
            lock.lock();
            busy_ = false;
            changed_.notify_all();
            continue;
        }
        if (queue_.empty()) {
            return;  // stopping, and everything is written
        }
        std::shared_ptr<PendingWrite> write = std::move(queue_.front());
        queue_.pop_front();
        if (write->state == PendingWrite::State::Dropped) {
            continue;  // its file and pixels went when it was dropped
        }
        write->state = PendingWrite::State::Writing;
        busy_ = true;
        lock.unlock();
        const bool ok = Write(*write, 0);
        lock.lock();
        Finish(*write, ok);
        busy_ = false;
        changed_.notify_all();
    }
}

bool SnapshotWriter::Write(PendingWrite& write, int threads) {
    const bool ok = write.sink->Open() &&
                    CCompSub::Compress(write.header, write.pixels.Data(), *write.sink, threads) &&
                    write.sink->Commit();
    write.sink.reset();  // an uncommitted temporary goes with it
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(write.path, ignored);  // the name's placeholder
    }
    return ok;
}

void SnapshotWriter::Finish(PendingWrite& write, bool ok) {
    write.state = ok ? PendingWrite::State::Written : PendingWrite::State::Failed;
    if (write.dropWhenDone) {
        Release(write);
        return;
    }
    if (ok) {
        pool_.Give(std::move(write.pixels));
        write.pixels = {};
    } else {
        ++failures_;
    }
}

void SnapshotWriter::Release(PendingWrite& write) {
    write.sink.reset();
    pool_.Give(std::move(write.pixels));
    write.pixels = {};
    const PendingWrite::State state = write.state;
    write.state = PendingWrite::State::Dropped;
    if (state == PendingWrite::State::Written && thread_.joinable()) {
        // Deleting a large file can take longer than the click that dropped its step.
        removals_.push_back(write.path);
        changed_.notify_all();
    } else if (state != PendingWrite::State::Failed) {
        // A queued write's placeholder, or a small written file; a failed write removed its own.
        std::error_code ignored;
        std::filesystem::remove(write.path, ignored);
    }
}

}  // namespace palvex
