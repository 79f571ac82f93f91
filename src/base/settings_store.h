#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace palvex {

// Named values in sections below one root: the per-user registry on Windows, an INI file
// elsewhere. Failures are silent: a value that is missing or cannot be read gives the default,
// a failed write is ignored.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<int> ReadInt(std::string_view section, std::string_view key) const = 0;
    virtual std::optional<std::string> ReadText(std::string_view section,
                                                std::string_view key) const = 0;
    virtual void WriteInt(std::string_view section, std::string_view key, int value) = 0;
    virtual void WriteText(std::string_view section, std::string_view key,
                           std::string_view value) = 0;

    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    std::string GetText(std::string_view section, std::string_view key,
                        std::string_view fallback) const;

    // Colours and the background mode are kept as signed decimal text. An empty or missing
    // text gives the default; other text converts like atol (leading digits, else 0).
    std::int32_t GetNumberText(std::string_view section, std::string_view key,
                               std::int32_t fallback) const;
    void SetNumberText(std::string_view section, std::string_view key, std::int32_t value);
};

// atol-style conversion: optional blanks and sign, then the leading decimal digits; 0 when
// there are none; clamped to the 32-bit range.
std::int32_t ParseDecimalText(std::string_view text);

// A store kept in memory: for the command-line tool and for tests.
class MemorySettings final : public SettingsStore {
public:
    std::optional<int> ReadInt(std::string_view section, std::string_view key) const override;
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view key) const override;
    void WriteInt(std::string_view section, std::string_view key, int value) override;
    void WriteText(std::string_view section, std::string_view key, std::string_view value) override;

private:
    static std::string Name(std::string_view section, std::string_view key);
    std::map<std::string, int> ints_;
    std::map<std::string, std::string> texts_;
};

}  // namespace palvex
