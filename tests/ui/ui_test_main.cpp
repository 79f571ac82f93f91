// Widget tests run on the offscreen platform unless told otherwise, with the editor's texts in
// Japanese, or in the language of "--lang X": never the machine's, since the tests check exact
// texts.

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "app/ui/ui_language.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QString language = QStringLiteral("ja");
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) {
            language = QString::fromUtf8(argv[++i]);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    QApplication application(argc, argv);
    if (palvex::ui::UiLanguage::InstallTexts(language) != language) {
        std::fprintf(stderr, "no catalogue for --lang %s\n", qPrintable(language));
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
