#pragma once

#include <string>
#include <string_view>

namespace palvex {

enum class MessageIcon { Error, Information, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// One message box: the text is `prefix` followed by the string-table entry `id` (id 0: the
// prefix alone). The caption is always the application title.
struct MessageRequest {
    int id = 0;
    std::string prefix;
    MessageIcon icon = MessageIcon::Error;
    MessageButtons buttons = MessageButtons::Ok;

    std::string Text() const;
};

// Every message box and question goes through this interface, so the UI, the command-line tool
// and the tests can each answer it their own way.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer Show(const MessageRequest& request) = 0;

    void Error(int id, std::string_view prefix = {});
    void Information(int id, std::string_view prefix = {});
    // Question icon with Yes and No; true for Yes.
    bool AskYesNo(int id, std::string_view prefix = {});
};

// Answers every question with a fixed reply and shows nothing; for callers with no user.
class SilentPrompter final : public Prompter {
public:
    explicit SilentPrompter(Answer reply = Answer::No) : reply_(reply) {}
    Answer Show(const MessageRequest& request) override;

private:
    Answer reply_;
};

}  // namespace palvex
