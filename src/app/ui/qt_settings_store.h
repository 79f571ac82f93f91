#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/settings_store.h"

class QSettings;

namespace palvex {

// The settings in QSettings: the per-user registry key Software\Quorvane\Palvex on Windows, an
// INI file elsewhere. Each section is a group. Values that cannot be read come back missing,
// so the caller's default applies; nothing is ever shown.
class QtSettingsStore final : public SettingsStore {
public:
    // The user's own settings, QSettings("Quorvane", "Palvex").
    QtSettingsStore();
    // Another store, kept by the caller (tests use an INI file of their own).
    explicit QtSettingsStore(QSettings& settings);
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    std::optional<int> ReadInt(std::string_view section, std::string_view key) const override;
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view key) const override;
    void WriteInt(std::string_view section, std::string_view key, int value) override;
    void WriteText(std::string_view section, std::string_view key, std::string_view value) override;

    // Writes pending changes out now rather than when the store goes away.
    void Flush();

private:
    std::unique_ptr<QSettings> owned_;
    QSettings* settings_;
};

}  // namespace palvex
