#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace palvex {

// Where a writer puts a file's bytes. Tests substitute sinks that fail at a chosen write.
class FileSink {
public:
    virtual ~FileSink() = default;
    [[nodiscard]] virtual bool Open() = 0;
    [[nodiscard]] virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // Makes the written bytes the target file. Without it nothing of the target changes.
    [[nodiscard]] virtual bool Commit() = 0;
};

struct AtomicFileOptions {
    // Scratch files that die with the session need not survive a power cut, and the sync of a
    // large file costs more than writing it.
    bool syncToDisk = true;
    // Appended to the temporary's name, so that a cleanup by pattern also finds the leftovers of
    // a process that died in the middle of a write.
    std::string tempSuffix;
};

// Writes a new file beside the target and puts it in the target's place with one rename, so
// that a failed or interrupted write never damages the file that was there: the old file stays
// exactly as it was, and the temporary file is removed. A target that is a link is followed:
// the file it points to is replaced (keeping its permissions) and the link stays a link.
//
// A folder that takes no new file (a writable file in a read-only folder) cannot hold the
// temporary: then, if the target itself is writable, everything is kept in memory and the
// target is overwritten in place at the commit, so that a failed encoding still changes nothing.
class AtomicFile final : public FileSink {
public:
    explicit AtomicFile(std::filesystem::path target, AtomicFileOptions options = {});
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Makes every temporary file fail to be created, as a read-only folder would even for the
    // superuser, whom folder permissions do not stop. For tests only.
    static void RefuseTemporaryFilesForTesting(bool refuse);
    // The last Open found no room for a temporary and writes the target in place.
    bool WritesInPlace() const { return inPlace_; }

    bool Open() override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    // Flushes and closes the temporary file without replacing the target yet.
    [[nodiscard]] bool Close();
    bool Commit() override;

private:
    bool OpenInPlace();
    bool CommitInPlace();

    std::filesystem::path target_;
    AtomicFileOptions options_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;  // bytes handed to the file so far
    std::uint64_t kicked_ = 0;   // bytes whose write-back to the disk has been started
    bool ok_ = true;
    bool committed_ = false;
    bool inPlace_ = false;
    std::vector<std::uint8_t> pending_;  // in place: the whole file, written at the commit
};

// Writes bytes to a target through an AtomicFile.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& target,
                                       std::span<const std::uint8_t> bytes);

}  // namespace palvex
