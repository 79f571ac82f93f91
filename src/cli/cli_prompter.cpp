#include "cli/cli_prompter.h"

#include <cstdio>

namespace palvex::cli {

Answer ConsolePrompter::Show(const MessageRequest& request) {
    const std::string text = request.Text();
    if (request.buttons == MessageButtons::Ok) {
        std::fprintf(stderr, "palvex-cli: %s\n", text.c_str());
        return Answer::Ok;
    }
    if (yes_) {
        return Answer::Yes;
    }
    // Without --yes a question stops the work: print it and answer No.
    askedUnanswered_ = true;
    std::fprintf(stderr, "palvex-cli: %s\n(answer with --yes to go on)\n", text.c_str());
    return Answer::No;
}

}  // namespace palvex::cli
