#pragma once

#include "app/prompter.h"

namespace palvex::cli {

// Messages go to stderr; a question is answered Yes only when the user said so up front.
class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(bool yes) : yes_(yes) {}
    Answer Show(const MessageRequest& request) override;

    bool AskedUnanswered() const { return askedUnanswered_; }

private:
    bool yes_;
    bool askedUnanswered_ = false;
};

}  // namespace palvex::cli
