#include "dialogs/help_texts.h"

#include <algorithm>
#include <vector>

#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {
namespace {

// The build names every manual after this stem, whatever language the help window's title is
// shown in, so the stem must not follow a translation of the title.
constexpr std::string_view kManualStem = "Manual";

// A language code becomes part of a file name: letters, digits, '-' and '_' only, so that no code
// reaches outside the manual's folder.
bool IsPlainCode(std::string_view code) {
    return !code.empty() && std::ranges::all_of(code, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_';
    });
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::ranges::transform(lowered, lowered.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lowered;
}

std::filesystem::path ManualName(std::string_view code) {
    std::string text(kManualStem);
    if (!code.empty()) {
        text += '_';
        text += code;
    }
    text += texts::kManualExtension;
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The name suffixes to try in order; "" is the Japanese manual.
std::vector<std::string> ManualCodes(std::string_view language) {
    const std::string primary = Lowered(language.substr(0, language.find_first_of("-_")));
    if (primary == "ja") {
        return {""};
    }
    std::vector<std::string> codes;
    for (const std::string_view code :
         {language, std::string_view(primary), std::string_view("en")}) {
        if (IsPlainCode(code) && std::ranges::find(codes, code) == codes.end()) {
            codes.emplace_back(code);
        }
    }
    return codes;
}

}  // namespace

std::filesystem::path ManualPath(const std::filesystem::path& executable,
                                 std::string_view language) {
    const std::filesystem::path beside = executable.parent_path();
    // An installed editor lives in <prefix>/bin with its manuals in <prefix>/share/palvex.
    const std::filesystem::path installed = beside.parent_path() / "share" / "palvex";
    const std::vector<std::string> codes = ManualCodes(language);
    for (const std::string& code : codes) {
        for (const std::filesystem::path& folder : {beside, installed}) {
            const std::filesystem::path path = folder / ManualName(code);
            std::error_code error;
            if (std::filesystem::is_regular_file(path, error)) {
                return path;
            }
        }
    }
    return beside / ManualName(codes.front());
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
