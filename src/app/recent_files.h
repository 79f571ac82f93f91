#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/prompter.h"
#include "base/settings_store.h"

namespace palvex {

// The most recently opened files, newest first. Paths are UTF-8 text, as the settings keep them.
class RecentFileList {
public:
    static constexpr int kMaxEntries = 16;

    // Puts the path at the top; an equal path already listed moves there, and the oldest entry
    // beyond kMaxEntries is dropped. An empty path is ignored.
    void Add(std::string_view path);
    // Out-of-range indexes are ignored; later entries move up by one.
    void Remove(int index);
    void Clear() { paths_.clear(); }

    int Count() const { return static_cast<int>(paths_.size()); }
    // The path of entry `index`; empty when there is none.
    std::string Entry(int index) const;
    // "&1 name" for entry 0: the number, a blank and the text after the last '/' or '\'. An '&'
    // in the name is doubled so that it shows instead of marking a mnemonic.
    std::string MenuText(int index) const;
    // The same for a file name the caller took from the path (the UI asks its file system).
    static std::string MenuText(int index, std::string_view fileName);

    // Section "Recent File List", values File1..File16; the first empty or missing value ends
    // the list. Save blanks the values beyond the list, so removed entries do not come back.
    void Load(const SettingsStore& store);
    void Save(SettingsStore& store) const;

private:
    std::vector<std::string> paths_;
};

// Opens the file with its loading routine and returns that routine's result.
using RecentFileLoader = std::function<bool(const std::filesystem::path& path)>;

// Choosing entry `index`. An existing file moves to the top and is loaded. A missing one is
// offered for deletion (message 30033 after the path and a line break); Yes removes the entry.
// One that cannot be looked at is reported as an open failure and kept. False when nothing was
// loaded.
bool OpenRecentEntry(RecentFileList& list, int index, Prompter& prompter,
                     const RecentFileLoader& load);

}  // namespace palvex
