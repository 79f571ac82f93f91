#include "app/ui/qt_settings_store.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <limits>

namespace palvex {
namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString KeyOf(std::string_view section, std::string_view key) {
    return Utf8(section) + QLatin1Char('/') + Utf8(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : owned_(std::make_unique<QSettings>(QStringLiteral("Quorvane"), QStringLiteral("Palvex"))),
      settings_(owned_.get()) {}

QtSettingsStore::QtSettingsStore(QSettings& settings) : settings_(&settings) {}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<int> QtSettingsStore::ReadInt(std::string_view section, std::string_view key) const {
    const QVariant value = settings_->value(KeyOf(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    // INI files give every value back as text; the registry gives numbers.
    const qlonglong number = value.typeId() == QMetaType::QString
                                 ? value.toString().trimmed().toLongLong(&ok)
                                 : value.toLongLong(&ok);
    if (!ok) {
        return std::nullopt;
    }
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

std::optional<std::string> QtSettingsStore::ReadText(std::string_view section,
                                                     std::string_view key) const {
    const QVariant value = settings_->value(KeyOf(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // An unquoted comma in a hand-edited INI file turns the value into a list.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    if (!value.canConvert<QString>()) {
        return std::nullopt;
    }
    return value.toString().toStdString();
}

void QtSettingsStore::WriteInt(std::string_view section, std::string_view key, int value) {
    settings_->setValue(KeyOf(section, key), value);
}

void QtSettingsStore::WriteText(std::string_view section, std::string_view key,
                                std::string_view value) {
    settings_->setValue(KeyOf(section, key), Utf8(value));
}

void QtSettingsStore::Flush() {
    settings_->sync();
}

}  // namespace palvex
