#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace palvex::ui {

// UTF-8 texts and paths between the core and Qt.
inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

inline std::filesystem::path ToPath(const QString& text) {
#if defined(_WIN32)
    return std::filesystem::path(text.toStdWString());
#else
    const QByteArray bytes = text.toUtf8();
    return std::filesystem::path(std::u8string(bytes.begin(), bytes.end()));
#endif
}

inline QString PathToQString(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                             static_cast<qsizetype>(text.size()));
}

}  // namespace palvex::ui
