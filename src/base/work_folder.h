#pragma once

#include <filesystem>
#include <string_view>

#include "base/prompter.h"

namespace palvex {

// The per-user folder for temporary files: undo snapshots, the background picture copy.
class WorkFolder {
public:
    // The folder is `tempRoot` followed directly by the application title. On POSIX systems,
    // where the temporary path is shared by every user, the user id follows ("Palvex-1000") and
    // the folder must be a real directory of ours that nobody else can read.
    explicit WorkFolder(std::filesystem::path tempRoot = SystemTempPath());

    // The folder (with `subfolder` below it when given), created when missing. On failure:
    // message 30002 and an empty path.
    std::filesystem::path GetWorkFolder(std::string_view subfolder, Prompter& prompter) const;

    // Deletes at most 100 "*.tmp" files of the folder, ignoring failures; more go next time.
    void CleanWorkFolder(Prompter& prompter) const;

    static std::filesystem::path SystemTempPath();

private:
    std::filesystem::path folder_;
};

}  // namespace palvex
