#include "base/settings_store.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace palvex {

int SettingsStore::GetInt(std::string_view section, std::string_view key, int fallback) const {
    return ReadInt(section, key).value_or(fallback);
}

std::string SettingsStore::GetText(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
    std::optional<std::string> text = ReadText(section, key);
    return text ? *text : std::string(fallback);
}

std::int32_t SettingsStore::GetNumberText(std::string_view section, std::string_view key,
                                          std::int32_t fallback) const {
    const std::string text = GetText(section, key, {});
    return text.empty() ? fallback : ParseDecimalText(text);
}

void SettingsStore::SetNumberText(std::string_view section, std::string_view key,
                                  std::int32_t value) {
    WriteText(section, key, std::to_string(value));
}

std::int32_t ParseDecimalText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::string MemorySettings::Name(std::string_view section, std::string_view key) {
    std::string name(section);
    name += '\\';
    name += key;
    return name;
}

std::optional<int> MemorySettings::ReadInt(std::string_view section, std::string_view key) const {
    const auto it = ints_.find(Name(section, key));
    return it == ints_.end() ? std::nullopt : std::optional<int>(it->second);
}

std::optional<std::string> MemorySettings::ReadText(std::string_view section,
                                                    std::string_view key) const {
    const auto it = texts_.find(Name(section, key));
    return it == texts_.end() ? std::nullopt : std::optional<std::string>(it->second);
}

void MemorySettings::WriteInt(std::string_view section, std::string_view key, int value) {
    ints_[Name(section, key)] = value;
}

void MemorySettings::WriteText(std::string_view section, std::string_view key,
                               std::string_view value) {
    texts_[Name(section, key)] = std::string(value);
}

}  // namespace palvex
