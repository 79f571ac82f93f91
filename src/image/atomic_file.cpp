#include "image/atomic_file.h"

#include <random>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace palvex {
namespace {

std::FILE* CreateExclusive(const std::filesystem::path& path) {
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
        temp_.clear();
        return false;
    }
    // A replaced file keeps its permissions.
    std::error_code ec;
    const auto status = std::filesystem::status(target_, ec);
    if (!ec && std::filesystem::is_regular_file(status)) {
        std::filesystem::permissions(temp_, status.permissions(), ec);
    }
    return true;
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (file_ == nullptr || !ok_) {
        return false;
    }
    ok_ = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    return ok_;
}

bool AtomicFile::Close() {
    if (file_ == nullptr) {
        return ok_ && !temp_.empty();
    }
    ok_ = ok_ && std::fflush(file_) == 0 && (!options_.syncToDisk || SyncToDisk(file_));
    ok_ = std::fclose(file_) == 0 && ok_;
    file_ = nullptr;
    return ok_;
}

bool AtomicFile::Commit() {
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
