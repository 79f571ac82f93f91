#include "canvas/ui/overlay_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace palvex::ui {
namespace {

QString InstalledFamily(const QString& wanted) {
    const QStringList families = QFontDatabase::families();
    if (families.contains(wanted, Qt::CaseInsensitive)) {
        return wanted;
    }
    static const QStringList kJapaneseUiFonts = {
        "Yu Gothic UI", "Meiryo UI",   "Noto Sans CJK JP", "Noto Sans JP",       "IPAexGothic",
        "IPAGothic",    "TakaoGothic", "VL Gothic",        "Droid Sans Fallback"};
    for (const QString& family : kJapaneseUiFonts) {
        if (families.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    return japanese.isEmpty() ? QString() : japanese.first();
}

}  // namespace

QFont MakeOverlayFont(const QString& faceName) {
    QFont font;
    const QString family = InstalledFamily(faceName.isEmpty() ? "MS UI Gothic" : faceName);
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace palvex::ui
