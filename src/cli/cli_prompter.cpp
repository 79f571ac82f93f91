#include "cli/cli_prompter.h"

#include <cstdio>

#include "resources/string_table.h"

namespace palvex::cli {

void ConsolePrompter::Print(const std::string& text) {
    if (log_ != nullptr) {
        *log_ += text;
    } else {
        std::fputs(text.c_str(), stderr);
    }
}

Answer ConsolePrompter::Show(const MessageRequest& request) {
    const std::string text = request.Text();
    if (request.buttons == MessageButtons::Ok) {
        Print("palvex-cli: " + text + "\n");
        return Answer::Ok;
    }
    if (request.id == str::kSavedShowFolder) {
        return Answer::No;
    }
    if (yes_) {
        return Answer::Yes;
    }
    askedUnanswered_ = true;
    Print("palvex-cli: " + text + "\n(answer with --yes to go on)\n");
    return Answer::No;
}

std::optional<int> ConsolePrompter::AskJpegQuality(int initial) {
    return quality_.value_or(initial);
}

}  // namespace palvex::cli
