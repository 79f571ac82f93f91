#pragma once

#include <cstdio>
#include <filesystem>

#include "base/desktop_shell.h"
#include "base/prompter.h"

namespace palvex::bench {

// Messages would mean the measured work did not happen: they end the run's credibility, so
// they are shown.
class PrintingPrompter final : public Prompter {
public:
    Answer Show(const MessageRequest& request) override {
        std::fprintf(stderr, "message %d: %s\n", request.id, request.Text().c_str());
        return Answer::No;
    }
};

class NoShell final : public DesktopShell {
public:
    bool OpenFolder(const std::filesystem::path&) override { return true; }
};

}  // namespace palvex::bench
