#pragma once

#include <filesystem>
#include <string>

namespace palvex {

// The manual "Manual.pdf": beside the executable (a build tree, Windows), or, when it is not
// there, in share/palvex of the prefix an installed executable's bin folder belongs to.
std::filesystem::path ManualPath(const std::filesystem::path& executable);

// The version history of the about box, newest first, each line ending in "\r\n".
std::string VersionHistoryText();

}  // namespace palvex
