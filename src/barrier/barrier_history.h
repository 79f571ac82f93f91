#pragma once

#include <array>
#include <string>
#include <string_view>

#include "barrier/barrier_file.h"
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

// A history button: reads the file of slot `index` for an image of the given size; when it was
// read, the path moves to the top. An empty slot, a file that has gone or no image does nothing
// and keeps the history as it is; a file that is not a barrier file says so.
BarrierReadResult LoadFromHistory(BarrierHistory& history, int index, Size image,
                                  Prompter& prompter);

}  // namespace palvex
