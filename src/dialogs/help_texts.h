#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace palvex {

// The manual of the UI language `language` ("ja", "en", "pt_BR", ...): "Manual.pdf" for Japanese,
// "Manual_<language>.pdf" for any other (then that of its primary subtag), "Manual_en.pdf" when
// the language has none. Each is looked for beside the executable (a build tree, Windows), then
// in share/palvex of the prefix an installed executable's bin folder belongs to. When no manual
// is found, the path beside the executable of the language's own manual.
std::filesystem::path ManualPath(const std::filesystem::path& executable,
                                 std::string_view language);

// The version history of the about box, newest first, each line ending in "\r\n".
std::string VersionHistoryText();

}  // namespace palvex
