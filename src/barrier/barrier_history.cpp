#include "barrier/barrier_history.h"

namespace palvex {
namespace {

constexpr std::string_view kSection = "Load";

std::string ValueName(int index) {
    return "Bari" + std::to_string(index);
}

}  // namespace

std::string BarrierHistory::Entry(int index) const {
    if (index < 0 || index >= kEntries) {
        return {};
    }
    return store_.GetText(kSection, ValueName(index), {});
}

std::array<std::string, BarrierHistory::kEntries> BarrierHistory::Entries() const {
    std::array<std::string, kEntries> entries;
    for (int i = 0; i < kEntries; ++i) {
        entries[static_cast<std::size_t>(i)] = Entry(i);
    }
    return entries;
}

void BarrierHistory::Add(std::string_view path) {
    if (path.empty()) {
        return;
    }
    const std::array<std::string, kEntries> old = Entries();
    std::array<std::string, kEntries> entries;
    entries[0] = path;
    std::size_t filled = 1;
    for (const std::string& entry : old) {
        if (filled == entries.size()) {
            break;
        }
        if (entry != path) {
            entries[filled++] = entry;
        }
    }
    for (int i = 0; i < kEntries; ++i) {
        store_.WriteText(kSection, ValueName(i), entries[static_cast<std::size_t>(i)]);
    }
}

void BarrierHistory::Clear() {
    for (int i = 0; i < kEntries; ++i) {
        store_.WriteText(kSection, ValueName(i), {});
    }
}

BarrierReadResult LoadFromHistory(BarrierHistory& history, int index, Size image,
                                  Prompter& prompter) {
    const std::string path = history.Entry(index);
    if (path.empty()) {
        return {};
    }
    BarrierReadResult read = ReadBarrierFile(
        std::filesystem::path(std::u8string(path.begin(), path.end())), image, prompter);
    if (read.status == BarrierReadStatus::Ok) {
        history.Add(path);
    }
    return read;
}

}  // namespace palvex
