#include "app/ui/ui_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/ui/qt_language.h"
#include "app/ui/qt_text.h"
#include "resources/language.h"

namespace palvex::ui {
namespace {

const QString kCatalogueFolder = QStringLiteral(":/i18n");

QString CataloguePath(const QString& language) {
    return kCatalogueFolder + QStringLiteral("/palvex_") + language + QStringLiteral(".qm");
}

// The core's texts read from the catalogue through a translator of their own, so they stay
// readable whatever happens to the application's translators.
class CatalogueTextTranslator final : public TextTranslator {
public:
    bool Load(const QString& path) { return translator_.load(path); }

    bool Translate(std::string_view context, std::string_view source,
                   std::string& translation) const override {
        const std::string contextText(context);
        const std::string sourceText(source);
        const QString found = translator_.translate(contextText.c_str(), sourceText.c_str());
        if (found.isEmpty()) {
            return false;
        }
        translation = ToStdString(found);
        return true;
    }

private:
    QTranslator translator_;
};

// The application's translators, removed with it.
class InstalledLanguage final : public QObject {
public:
    explicit InstalledLanguage(QObject* parent) : QObject(parent) {}

    QString language = QStringLiteral("ja");
    QTranslator editor;
    bool editorInstalled = false;
    QtLanguage qt;
};

QPointer<InstalledLanguage>& TheInstalledLanguage() {
    static QPointer<InstalledLanguage> installed;
    return installed;
}

InstalledLanguage* Installed() {
    QPointer<InstalledLanguage>& installed = TheInstalledLanguage();
    if (installed.isNull() && QCoreApplication::instance() != nullptr) {
        installed = new InstalledLanguage(QCoreApplication::instance());
    }
    return installed.data();
}

}  // namespace

QStringList UiLanguage::Catalogues() {
    QStringList languages;
    const QStringList files =
        QDir(kCatalogueFolder).entryList({QStringLiteral("palvex_*.qm")}, QDir::Files);
    for (const QString& file : files) {
        languages.append(file.mid(7, file.size() - 7 - 3));
    }
    return languages;
}

QString UiLanguage::Choose(const QString& requested, const QStringList& preferred,
                           const QStringList& catalogues) {
    std::vector<std::string> names;
    for (const QString& catalogue : catalogues) {
        names.push_back(ToStdString(catalogue));
    }
    const QString wanted = !requested.isEmpty()  ? requested
                           : preferred.isEmpty() ? QString()
                                                 : preferred.first();
    return ToQString(ChooseTextLanguage(ToStdString(wanted), names));
}

QString UiLanguage::TakeLanguageOption(QStringList& arguments, QString& error) {
    QString language;
    for (qsizetype i = 0; i < arguments.size();) {
        const QString argument = arguments[i];
        if (argument == QStringLiteral("--lang") && i + 1 < arguments.size()) {
            language = arguments[i + 1];
            arguments.remove(i, 2);
        } else if (argument == QStringLiteral("--lang") ||
                   argument.startsWith(QStringLiteral("--lang="))) {
            language = argument.mid(7);
            arguments.removeAt(i);
            if (language.isEmpty()) {
                error = QStringLiteral("--lang needs a language (ja or en)");
            }
        } else {
            ++i;
        }
    }
    return language;
}

QString UiLanguage::InstallTexts(const QString& language) {
    const QString chosen = Choose(language, {}, Catalogues());
    InstalledLanguage* installed = Installed();
    if (installed != nullptr && installed->editorInstalled) {
        QCoreApplication::removeTranslator(&installed->editor);
        installed->editorInstalled = false;
    }
    auto texts = std::make_unique<CatalogueTextTranslator>();
    if (chosen == QStringLiteral("ja") || !texts->Load(CataloguePath(chosen))) {
        InstallTextTranslator(nullptr, "ja");
        if (installed != nullptr) {
            installed->language = QStringLiteral("ja");
        }
        return QStringLiteral("ja");
    }
    InstallTextTranslator(std::move(texts), ToStdString(chosen));
    if (installed != nullptr) {
        // For the texts a widget asks Qt for (tr()); the core's come from its own translator.
        if (installed->editor.load(CataloguePath(chosen))) {
            installed->editorInstalled = QCoreApplication::installTranslator(&installed->editor);
        }
        installed->language = chosen;
    }
    return chosen;
}

QString UiLanguage::Install(const QString& language) {
    const QString chosen = InstallTexts(language);
    if (InstalledLanguage* installed = Installed(); installed != nullptr) {
        installed->qt.Install(QLocale(chosen));
    }
    return chosen;
}

QString UiLanguage::InstallForStartup(QStringList& arguments) {
    QString error;
    const QString requested = TakeLanguageOption(arguments, error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "palvex: %s\n", qPrintable(error));
    }
    return Install(Choose(requested, QLocale::system().uiLanguages(), Catalogues()));
}

QString UiLanguage::Current() {
    const InstalledLanguage* installed = Installed();
    return installed != nullptr ? installed->language : ToQString(TextLanguage());
}

}  // namespace palvex::ui
