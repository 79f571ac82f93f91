#include "app/recent_files.h"

#include <algorithm>
#include <system_error>

#include "app/app_settings.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {
namespace {

std::string ValueName(int number) {
    return "File" + std::to_string(number);
}

std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace

void RecentFileList::Add(std::string_view path) {
    if (path.empty()) {
        return;
    }
    std::string entry(path);
    const auto existing = std::find(paths_.begin(), paths_.end(), entry);
    if (existing != paths_.end()) {
        paths_.erase(existing);
    }
    paths_.insert(paths_.begin(), std::move(entry));
    if (paths_.size() > kMaxEntries) {
        paths_.resize(kMaxEntries);
    }
}

void RecentFileList::Remove(int index) {
    if (index >= 0 && index < Count()) {
        paths_.erase(paths_.begin() + index);
    }
}

std::string RecentFileList::Entry(int index) const {
    return index >= 0 && index < Count() ? paths_[static_cast<std::size_t>(index)] : std::string();
}

std::string RecentFileList::MenuText(int index) const {
    const std::string path = Entry(index);
    const std::size_t separator = path.find_last_of("/\\");
    const std::string_view name = separator == std::string::npos
                                      ? std::string_view(path)
                                      : std::string_view(path).substr(separator + 1);
    return MenuText(index, name);
}

std::string RecentFileList::MenuText(int index, std::string_view fileName) {
    std::string text(1, '&');
    text += std::to_string(index + 1);
    text += ' ';
    for (const char c : fileName) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}

void RecentFileList::Load(const SettingsStore& store) {
    paths_.clear();
    for (int number = 1; number <= kMaxEntries; ++number) {
        const std::string path = store.GetText(setting::kRecentFileList, ValueName(number), {});
        if (path.empty()) {
            break;
        }
        // A hand-edited duplicate would otherwise show twice and move as two entries.
        if (std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
            paths_.push_back(path);
        }
    }
}

void RecentFileList::Save(SettingsStore& store) const {
    for (int number = 1; number <= kMaxEntries; ++number) {
        store.WriteText(setting::kRecentFileList, ValueName(number), Entry(number - 1));
    }
}

bool OpenRecentEntry(RecentFileList& list, int index, Prompter& prompter,
                     const RecentFileLoader& load) {
    const std::string path = list.Entry(index);
    if (path.empty()) {
        return false;
    }
    const std::filesystem::path file = PathFromUtf8(path);
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    if (error) {
        // Not known to be gone (no permission, a share not mounted): the entry stays.
        prompter.Error(0, path + "\n" + std::string(texts::kDocumentOpenFailed));
        return false;
    }
    if (!exists) {
        if (prompter.AskYesNo(str::kRecentFileMissing, path + "\n")) {
            list.Remove(index);
        }
        return false;
    }
    list.Add(path);
    return load ? load(file) : false;
}

}  // namespace palvex
