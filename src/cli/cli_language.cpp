#include "cli/cli_language.h"

#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace palvex::cli {

bool TakeLanguageOption(std::vector<std::string>& args, std::string& language, std::string& error) {
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--lang" && i + 1 < args.size()) {
            language = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i + 2));
        } else if (args[i] == "--lang" || args[i].starts_with("--lang=")) {
            language = args[i].size() > 7 ? args[i].substr(7) : std::string();
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            if (language.empty()) {
                error = "--lang needs a language (ja or en)";
                return false;
            }
        } else {
            ++i;
        }
    }
    return true;
}

std::string EnvironmentLanguage(const std::function<const char*(const char*)>& variable) {
    if (const char* list = variable("LANGUAGE"); list != nullptr) {
        const std::string_view languages = list;
        if (const std::string_view first = languages.substr(0, languages.find(':'));
            !first.empty()) {
            return std::string(first);
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = variable(name); value != nullptr && *value != '\0') {
            return value;
        }
    }
#ifdef _WIN32
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                         LOCALE_NAME_MAX_LENGTH, 0) > 0) {
        std::string ascii;
        for (const wchar_t* c = name; *c != L'\0'; ++c) {
            ascii += static_cast<char>(*c & 0x7F);
        }
        return ascii;
    }
#endif
    return {};
}

}  // namespace palvex::cli
