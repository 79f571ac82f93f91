#include "app/ui/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace palvex::ui {

QtLanguage::~QtLanguage() {
    Remove();
}

void QtLanguage::Remove() {
    // Kept until the program ends, it may outlive the application, which took its translators
    // with it.
    if (installed_ && QCoreApplication::instance() != nullptr) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
    }
}

bool QtLanguage::Install(const QLocale& language) {
    Remove();
    // "qtbase" holds the widgets' and dialogs' texts; an English editor needs none.
    if (language.language() == QLocale::English ||
        !translator_.load(language, "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    installed_ = QCoreApplication::installTranslator(&translator_);
    return installed_;
}

}  // namespace palvex::ui
