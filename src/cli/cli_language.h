#pragma once

#include <functional>
#include <string>
#include <vector>

namespace palvex::cli {

// Takes "--lang X" (or "--lang=X") out of `args`, before or after the subcommand. False, with
// `error`, when the option lacks its language.
bool TakeLanguageOption(std::vector<std::string>& args, std::string& language, std::string& error);

// The user's language as the environment names it: the first entry of LANGUAGE, else LC_ALL,
// LC_MESSAGES or LANG (the first set); with none set, on Windows, the user's UI language.
std::string EnvironmentLanguage(const std::function<const char*(const char*)>& variable);

}  // namespace palvex::cli
