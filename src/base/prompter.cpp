#include "base/prompter.h"

#include "resources/string_table.h"

namespace palvex {

std::string MessageRequest::Text() const {
    return MessageText(id, prefix);
}

void Prompter::Error(int id, std::string_view prefix) {
    Show({id, std::string(prefix), MessageIcon::Error, MessageButtons::Ok});
}

void Prompter::Information(int id, std::string_view prefix) {
    Show({id, std::string(prefix), MessageIcon::Information, MessageButtons::Ok});
}

bool Prompter::AskYesNo(int id, std::string_view prefix) {
    return Show({id, std::string(prefix), MessageIcon::Question, MessageButtons::YesNo}) ==
           Answer::Yes;
}

std::optional<SaveFileChoice> Prompter::AskSaveFile(const SaveFileRequest& /*request*/) {
    return std::nullopt;
}

std::optional<SaveFileChoice> Prompter::AskOpenFile(const OpenFileRequest& /*request*/) {
    return std::nullopt;
}

std::optional<std::uint32_t> Prompter::AskColour(std::uint32_t /*initial*/) {
    return std::nullopt;
}

std::optional<int> Prompter::AskJpegQuality(int /*initial*/) {
    return std::nullopt;
}

Answer SilentPrompter::Show(const MessageRequest& request) {
    return request.buttons == MessageButtons::Ok ? Answer::Ok : reply_;
}

}  // namespace palvex
