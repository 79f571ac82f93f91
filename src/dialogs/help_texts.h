#pragma once

#include <filesystem>
#include <string>

namespace palvex {

// The manual beside the executable: its folder, then "Manual" and ".pdf".
std::filesystem::path ManualPath(const std::filesystem::path& executable);

// The version history of the about box, newest first, each line ending in "\r\n".
std::string VersionHistoryText();

}  // namespace palvex
