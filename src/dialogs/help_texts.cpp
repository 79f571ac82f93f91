#include "dialogs/help_texts.h"

#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {

std::filesystem::path ManualPath(const std::filesystem::path& executable) {
    std::string name(LoadString(str::kManualName));
    name += texts::kManualExtension;
    return executable.parent_path() /
           std::filesystem::path(std::u8string(name.begin(), name.end()));
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
