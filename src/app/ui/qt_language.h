#pragma once

#include <QLocale>
#include <QTranslator>

namespace palvex::ui {

// Qt's own texts (the buttons of message boxes, the labels of file and printer dialogs) in the
// editor's language, which UiLanguage chooses; the translation is in effect while this object
// lives.
class QtLanguage {
public:
    QtLanguage() = default;
    ~QtLanguage();
    QtLanguage(const QtLanguage&) = delete;
    QtLanguage& operator=(const QtLanguage&) = delete;

    // The language the editor's texts are written in.
    static QLocale EditorLanguage() { return QLocale(QLocale::Japanese, QLocale::Japan); }

    // Installs Qt's translation for `language` from Qt's translations folder; false (and Qt
    // stays in English) when it is not installed.
    bool Install(const QLocale& language = EditorLanguage());
    bool Installed() const { return installed_; }

private:
    void Remove();

    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace palvex::ui
