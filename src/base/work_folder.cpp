#include "base/work_folder.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "resources/string_table.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace palvex {
namespace {

constexpr std::string_view kTitle = "Palvex";
constexpr int kCleanLimit = 100;

// Creates the folder when missing; on POSIX also insists that it is our own private directory,
// since a folder in a shared /tmp could have been made (or replaced by a link) by someone else.
bool EnsureFolder(const std::filesystem::path& folder) {
#if defined(_WIN32)
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    return std::filesystem::is_directory(folder, ec);
#else
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid()) {
        return false;
    }
    return (info.st_mode & 077) == 0 || ::chmod(folder.c_str(), 0700) == 0;
#endif
}

}  // namespace

WorkFolder::WorkFolder(std::filesystem::path tempRoot) {
    std::string name(kTitle);
#if !defined(_WIN32)
    name += '-';
    name += std::to_string(::geteuid());
#endif
    folder_ = std::move(tempRoot) / name;
}

std::filesystem::path WorkFolder::SystemTempPath() {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path(".") : path;
}

std::filesystem::path WorkFolder::GetWorkFolder(std::string_view subfolder,
                                                Prompter& prompter) const {
    std::filesystem::path folder = folder_;
    bool ok = EnsureFolder(folder);
    if (ok && !subfolder.empty()) {
        folder /= std::filesystem::path(std::u8string(subfolder.begin(), subfolder.end()));
        ok = EnsureFolder(folder);
    }
    if (!ok) {
        prompter.Error(str::kWorkFolderFailed);
        return {};
    }
    return folder;
}

void WorkFolder::CleanWorkFolder(Prompter& prompter) const {
    const std::filesystem::path folder = GetWorkFolder({}, prompter);
    if (folder.empty()) {
        return;
    }
    std::error_code ec;
    int seen = 0;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator() && seen < kCleanLimit;
         it.increment(ec)) {
        if (it->path().extension() != ".tmp") {
            continue;
        }
        ++seen;
        std::error_code ignored;
        std::filesystem::remove(it->path(), ignored);
    }
}

}  // namespace palvex
