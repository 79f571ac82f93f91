#include "image/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <random>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace palvex {
namespace {

bool refuseTemporaries = false;

std::FILE* CreateExclusive(const std::filesystem::path& path) {
    if (refuseTemporaries) {
        errno = EACCES;
        return nullptr;
    }
#if defined(_WIN32)
    return ::_wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

bool SyncToDisk(std::FILE* file) {
#if defined(_WIN32)
    return ::_commit(::_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

// The file a chain of links ends at, so that the rename replaces that file and leaves the links
// in place. A link that points nowhere yet is followed all the same: the file it names is
// created. A loop stops after a bounded number of hops at whatever link it reached.
std::filesystem::path FollowLinks(std::filesystem::path path) {
    constexpr int kMaxHops = 40;
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
            break;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec) {
            break;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target, AtomicFileOptions options)
    : target_(std::move(target)), options_(std::move(options)) {}

AtomicFile::~AtomicFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    if (!committed_ && !temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
    }
}

void AtomicFile::RefuseTemporaryFilesForTesting(bool refuse) {
    refuseTemporaries = refuse;
}

// Only an existing regular file that opens for writing without being truncated qualifies; the
// probe changes nothing.
bool AtomicFile::OpenInPlace() {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(target_, ec)) {
        return false;
    }
#if defined(_WIN32)
    std::FILE* probe = ::_wfopen(target_.c_str(), L"r+b");
#else
    std::FILE* probe = std::fopen(target_.c_str(), "r+b");
#endif
    if (probe == nullptr) {
        return false;
    }
    std::fclose(probe);
    inPlace_ = true;
    pending_.clear();
    return true;
}

// The old file is not truncated first: the room for the new bytes is taken before any of them
// is written, so a full disk leaves the old file as it was. Only an I/O error in the middle of
// the write can still leave it damaged, which writing in place cannot avoid.
bool AtomicFile::CommitInPlace() {
    if (!ok_) {
        return false;
    }
    ok_ = false;  // one attempt: a second commit must not write an empty file
    const std::vector<std::uint8_t> bytes = std::move(pending_);
    pending_ = {};
#if defined(_WIN32)
    std::FILE* file = ::_wfopen(target_.c_str(), L"r+b");
#else
    std::FILE* file = std::fopen(target_.c_str(), "r+b");
#endif
    if (file == nullptr) {
        return false;
    }
#if defined(_WIN32)
    const int fd = ::_fileno(file);
    bool ok = ::_chsize_s(fd, std::max<long long>(static_cast<long long>(bytes.size()),
                                                  ::_filelengthi64(fd))) == 0;
#else
    const int fd = ::fileno(file);
    bool ok = bytes.empty() || ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size())) == 0;
#endif
    ok = ok && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = ok && std::fflush(file) == 0;
#if defined(_WIN32)
    ok = ok && ::_chsize_s(fd, static_cast<long long>(bytes.size())) == 0;
#else
    ok = ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
#endif
    ok = ok && (!options_.syncToDisk || SyncToDisk(file));
    ok = std::fclose(file) == 0 && ok;
    committed_ = ok;
    return ok;
}

bool AtomicFile::Open() {
    target_ = FollowLinks(target_);
    std::random_device random;
    const std::filesystem::path folder =
        target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
    for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
        std::filesystem::path candidate = target_.filename();
        candidate += ".palvex-";
        candidate += std::to_string(random() & 0xFFFFFF);
        candidate += options_.tempSuffix;
        temp_ = folder / candidate;
        file_ = CreateExclusive(temp_);
    }
    if (file_ == nullptr) {
        // Only a folder that refuses new files is worked around; a full disk or a name too long
        // for a temporary file stays a failure rather than a riskier write in place.
        const int why = errno;
        temp_.clear();
        return (why == EACCES || why == EPERM || why == EROFS) && OpenInPlace();
    }
    // A replaced file keeps its permissions.
    std::error_code ec;
    const auto status = std::filesystem::status(target_, ec);
    if (!ec && std::filesystem::is_regular_file(status)) {
        std::filesystem::permissions(temp_, status.permissions(), ec);
    }
    return true;
}

// A synced file starts going to the disk in pieces of this size while it is still being
// written, so that the sync at the end waits only for the last piece.
constexpr std::size_t kWriteBackPiece = std::size_t{8} << 20;

bool AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (inPlace_ && ok_) {
        try {
            pending_.insert(pending_.end(), bytes.begin(), bytes.end());
        } catch (const std::bad_alloc&) {
            ok_ = false;  // the target is not touched
        }
        return ok_;
    }
    if (file_ == nullptr || !ok_) {
        return false;
    }
    while (ok_ && !bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), kWriteBackPiece);
        ok_ = std::fwrite(bytes.data(), 1, piece, file_) == piece;
        bytes = bytes.subspan(piece);
        written_ += piece;
#if defined(__linux__)
        if (ok_ && options_.syncToDisk && written_ - kicked_ >= kWriteBackPiece) {
            // Only a hint: a failure here shows, if it matters, in the sync at the close.
            if (std::fflush(file_) == 0) {
                ::sync_file_range(::fileno(file_), static_cast<off64_t>(kicked_),
                                  static_cast<off64_t>(written_ - kicked_), SYNC_FILE_RANGE_WRITE);
                kicked_ = written_;
            }
        }
#endif
    }
    return ok_;
}

bool AtomicFile::Close() {
    if (inPlace_) {
        return ok_;
    }
    if (file_ == nullptr) {
        return ok_ && !temp_.empty();
    }
    ok_ = ok_ && std::fflush(file_) == 0 && (!options_.syncToDisk || SyncToDisk(file_));
    ok_ = std::fclose(file_) == 0 && ok_;
    file_ = nullptr;
    return ok_;
}

bool AtomicFile::Commit() {
    if (inPlace_) {
        return CommitInPlace();
    }
    if (!Close()) {
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp_, target_, ec);
    committed_ = !ec;
    return committed_;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    AtomicFile file(target);
    return file.Open() && file.Write(bytes) && file.Commit();
}

}  // namespace palvex
