#pragma once

#include <optional>
#include <string>

#include "base/prompter.h"

namespace palvex::cli {

// Messages go to stderr. A question is answered Yes only when the user said so up front
// (--yes); otherwise it is printed and answered No, which stops what was being done. The offer
// to show the folder after a save is not a question here: it is answered No silently.
// With a `log`, messages collect there instead, for a batch to print them in file order.
class ConsolePrompter final : public Prompter {
public:
    ConsolePrompter(bool yes, std::optional<int> quality, std::string* log = nullptr)
        : yes_(yes), quality_(quality), log_(log) {}
    Answer Show(const MessageRequest& request) override;
    std::optional<int> AskJpegQuality(int initial) override;

    bool AskedUnanswered() const { return askedUnanswered_; }

private:
    bool yes_;
    std::optional<int> quality_;
    std::string* log_;
    bool askedUnanswered_ = false;

    void Print(const std::string& text);
};

}  // namespace palvex::cli
