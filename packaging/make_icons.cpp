// Writes the application icon as PNG files at the sizes a desktop's icon theme looks for:
// palvex-icons OUTDIR writes OUTDIR/<N>x<N>/apps/palvex.png.

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "resources/ui/app_icon.h"

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: palvex-icons OUTDIR\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) ||
            !palvex::ui::DrawAppIcon(size).save(folder + QStringLiteral("/palvex.png"))) {
            std::fprintf(stderr, "palvex-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
