#pragma once

#include <filesystem>

namespace palvex {

// The desktop services the core asks for: showing a folder in the file manager.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Starts the file manager on the folder without waiting for it; false when it did not start.
    virtual bool OpenFolder(const std::filesystem::path& folder) = 0;
};

// For callers without a desktop: does nothing and reports success.
class NoDesktopShell final : public DesktopShell {
public:
    bool OpenFolder(const std::filesystem::path& /*folder*/) override { return true; }
};

}  // namespace palvex
