#pragma once

#include <QString>
#include <QStringList>

namespace palvex::ui {

// The editor's language: its own texts (the core's string table, command table and texts,
// through an installed catalogue) and Qt's. Japanese is the texts as written; every other
// language is a catalogue embedded by the build (":/i18n/palvex_<language>.qm").
class UiLanguage {
public:
    // The languages with an embedded catalogue ("en", ...), from the files present.
    static QStringList Catalogues();

    // `--lang` when given, else the first of the user's preferred languages (as
    // QLocale::uiLanguages() lists them).
    static QString Choose(const QString& requested, const QStringList& preferred,
                          const QStringList& catalogues);

    // Takes "--lang X" (or "--lang=X") out of `arguments`; empty when there is none. `error`
    // says what was wrong when the option lacks its language.
    static QString TakeLanguageOption(QStringList& arguments, QString& error);

    // Switches every text to `language` ("ja", "en", ...). Windows built before keep their
    // texts, so this comes before any is built. A language without a catalogue gives English;
    // the result is the language installed.
    static QString Install(const QString& language);

    // Only the editor's own texts, Qt's left as they are.
    static QString InstallTexts(const QString& language);

    // At start-up: the language of the command line (taken out of it) or of the system.
    static QString InstallForStartup(QStringList& arguments);

    // The language installed last ("ja" before any).
    static QString Current();
};

}  // namespace palvex::ui
