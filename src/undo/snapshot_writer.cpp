#include "undo/snapshot_writer.h"

#include <system_error>

namespace palvex {

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

void SnapshotWriter::Cancel(const std::shared_ptr<PendingWrite>& write) {
    const std::lock_guard lock(mutex_);
    if (write->state == PendingWrite::State::Queued) {
        write->state = PendingWrite::State::Cancelled;
    }
}

void SnapshotWriter::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void SnapshotWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) {
            return;  // stopping, and everything is written
        }
        std::shared_ptr<PendingWrite> write = std::move(queue_.front());
        queue_.pop_front();
        if (write->state == PendingWrite::State::Cancelled) {
            write->sink.reset();
            pool_.Give(std::move(write->pixels));
            write->pixels = {};
            std::error_code ignored;
            std::filesystem::remove(write->path, ignored);
            continue;
        }
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
    if (ok) {
        pool_.Give(std::move(write.pixels));
        write.pixels = {};
    }
}

}  // namespace palvex
