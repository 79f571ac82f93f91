#include "dialogs/help_texts.h"

#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {

std::filesystem::path ManualPath(const std::filesystem::path& executable) {
    std::string text(LoadString(str::kManualName));
    text += texts::kManualExtension;
    const std::filesystem::path name(std::u8string(text.begin(), text.end()));
    const std::filesystem::path beside = executable.parent_path() / name;
    // An installed editor lives in <prefix>/bin with its manual in <prefix>/share/palvex.
    const std::filesystem::path installed =
        executable.parent_path().parent_path() / "share" / "palvex" / name;
    std::error_code error;
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error)) {
        return installed;
    }
    return beside;
}

std::string VersionHistoryText() {
    std::string text;
    for (int id = str::kHistoryLast; id >= str::kHistoryFirst; --id) {
        text += LoadString(id);
        text += "\r\n";
    }
    return text;
}

}  // namespace palvex
