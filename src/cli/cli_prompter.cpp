#include "cli/cli_prompter.h"

#include <cstdio>

#include "resources/string_table.h"

namespace palvex::cli {

Answer ConsolePrompter::Show(const MessageRequest& request) {
    const std::string text = request.Text();
    if (request.buttons == MessageButtons::Ok) {
        std::fprintf(stderr, "palvex-cli: %s\n", text.c_str());
        return Answer::Ok;
    }
    if (request.id == str::kSavedShowFolder) {
        return Answer::No;
    }
    if (yes_) {
        return Answer::Yes;
    }
    askedUnanswered_ = true;
    std::fprintf(stderr, "palvex-cli: %s\n(answer with --yes to go on)\n", text.c_str());
    return Answer::No;
}

std::optional<int> ConsolePrompter::AskJpegQuality(int initial) {
    return quality_.value_or(initial);
}

}  // namespace palvex::cli
