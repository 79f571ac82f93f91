#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/settings_store.h"

namespace palvex {

// The five barrier files saved or loaded last, newest first, kept in the settings as "Load" /
// "Bari0" .. "Bari4". Every call reads and writes the store directly, so there is nothing to
// keep in step. Paths are UTF-8 text; an empty text is an empty slot.
class BarrierHistory {
public:
    static constexpr int kEntries = 5;

    explicit BarrierHistory(SettingsStore& store) : store_(store) {}

    // The stored path of slot `index` (0 = newest); empty when unset or out of range.
    std::string Entry(int index) const;
    std::array<std::string, kEntries> Entries() const;

    // Puts the path at the top. The other slots keep their order (empty ones count as entries
    // and move down too), an equal path (case-sensitive) is taken out, and the fifth falls out.
    // An empty path is ignored.
    void Add(std::string_view path);
    // Empties every slot.
    void Clear();

private:
    SettingsStore& store_;
};

}  // namespace palvex
