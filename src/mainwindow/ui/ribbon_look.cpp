#include "mainwindow/ui/ribbon_look.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include "resources/command_ids.h"

namespace palvex::ui {
namespace {

QColor Hex(const char* text) {
    return QColor(QString::fromLatin1(text));
}

// The hover, pressed and checked fills the Office 2007 styles share.
void OfficeHighlights(RibbonLook& look) {
    look.hoverTop = Hex("#fff6d2");
    look.hoverBottom = Hex("#ffd966");
    look.hoverBorder = Hex("#dbbf72");
    look.pressedTop = Hex("#f8c68a");
    look.pressedBottom = Hex("#f59c3c");
    look.pressedBorder = Hex("#b87a37");
    look.checkedTop = Hex("#fbdca2");
    look.checkedBottom = Hex("#f8bd5d");
    look.checkedBorder = Hex("#c4964b");
    look.menuBack = Hex("#ffffff");
    look.disabledText = Hex("#8d8d8d");
}

RibbonLook Blue() {
    RibbonLook look;
    OfficeHighlights(look);
    look.captionTop = Hex("#dbe8f9");
    look.captionBottom = Hex("#bfd6f2");
    look.tabText = look.activeTabText = Hex("#15428b");
    look.tabHover = Hex("#e9f1fc");
    look.tabBorder = Hex("#8db2e3");
    look.bodyTop = Hex("#e3edfa");
    look.bodyBottom = Hex("#c9dcf4");
    look.panelTop = Hex("#e7effa");
    look.panelBottom = Hex("#d2e2f6");
    look.panelBorder = Hex("#92b4e0");
    look.panelCaption = Hex("#c2d8f1");
    look.panelCaptionText = Hex("#3e6aaa");
    look.text = Hex("#15428b");
    look.orbTop = Hex("#75aef0");
    look.orbBottom = Hex("#1b4f9b");
    look.orbRing = Hex("#a8c6ec");
    look.statusTop = Hex("#d6e5f7");
    look.statusBottom = Hex("#bcd3ef");
    look.statusText = Hex("#15428b");
    look.statusSeparator = Hex("#8eb0de");
    look.guideTop = Hex("#fffbea");
    look.guideBottom = Hex("#fdefb8");
    look.guideText = Hex("#15428b");
    look.menuSide = Hex("#e9eef6");
    look.menuHeading = Hex("#dde7f4");
    look.menuHeadingText = Hex("#15428b");
    return look;
}

RibbonLook Black() {
    RibbonLook look;
    OfficeHighlights(look);
    look.captionTop = Hex("#5a5a5a");
    look.captionBottom = Hex("#343434");
    look.tabText = Hex("#ffffff");
    look.activeTabText = Hex("#202020");
    look.tabHover = Hex("#7a7a7a");
    look.tabBorder = Hex("#8a8a8a");
    look.bodyTop = Hex("#f3f3f3");
    look.bodyBottom = Hex("#d0d0d0");
    look.panelTop = Hex("#f6f6f6");
    look.panelBottom = Hex("#dedede");
    look.panelBorder = Hex("#9c9c9c");
    look.panelCaption = Hex("#6f6f6f");
    look.panelCaptionText = Hex("#ffffff");
    look.text = Hex("#262626");
    look.orbTop = Hex("#8a8a8a");
    look.orbBottom = Hex("#151515");
    look.orbRing = Hex("#b0b0b0");
    look.statusTop = Hex("#545454");
    look.statusBottom = Hex("#2e2e2e");
    look.statusText = Hex("#ffffff");
    look.statusSeparator = Hex("#777777");
    look.guideTop = Hex("#fff6d2");
    look.guideBottom = Hex("#f5d983");
    look.guideText = Hex("#262626");
    look.menuSide = Hex("#e2e2e2");
    look.menuHeading = Hex("#d2d2d2");
    look.menuHeadingText = Hex("#262626");
    return look;
}

RibbonLook Silver() {
    RibbonLook look;
    OfficeHighlights(look);
    look.captionTop = Hex("#eef0f3");
    look.captionBottom = Hex("#d0d5dc");
    look.tabText = look.activeTabText = Hex("#3c434c");
    look.tabHover = Hex("#f7f8fa");
    look.tabBorder = Hex("#a9b0b8");
    look.bodyTop = Hex("#f6f7f9");
    look.bodyBottom = Hex("#dcdfe4");
    look.panelTop = Hex("#f4f5f7");
    look.panelBottom = Hex("#e0e3e8");
    look.panelBorder = Hex("#a9b0b8");
    look.panelCaption = Hex("#cdd1d7");
    look.panelCaptionText = Hex("#4c535c");
    look.text = Hex("#3c434c");
    look.orbTop = Hex("#d9dde3");
    look.orbBottom = Hex("#6d7784");
    look.orbRing = Hex("#b8bec6");
    look.statusTop = Hex("#e6e9ed");
    look.statusBottom = Hex("#c9ced5");
    look.statusText = Hex("#3c434c");
    look.statusSeparator = Hex("#a3aab3");
    look.guideTop = Hex("#fffbea");
    look.guideBottom = Hex("#fbedbd");
    look.guideText = Hex("#3c434c");
    look.menuSide = Hex("#eceef1");
    look.menuHeading = Hex("#e1e4e8");
    look.menuHeadingText = Hex("#3c434c");
    return look;
}

RibbonLook Aqua() {
    RibbonLook look;
    OfficeHighlights(look);
    look.captionTop = Hex("#d4e9ee");
    look.captionBottom = Hex("#a9cdd7");
    look.tabText = look.activeTabText = Hex("#17505e");
    look.tabHover = Hex("#e6f4f7");
    look.tabBorder = Hex("#7fb0bd");
    look.bodyTop = Hex("#e9f5f7");
    look.bodyBottom = Hex("#c4e0e7");
    look.panelTop = Hex("#eaf5f8");
    look.panelBottom = Hex("#cce4ea");
    look.panelBorder = Hex("#80b3c0");
    look.panelCaption = Hex("#a9d0da");
    look.panelCaptionText = Hex("#17505e");
    look.text = Hex("#174a57");
    look.hoverTop = Hex("#effcff");
    look.hoverBottom = Hex("#a5e2f0");
    look.hoverBorder = Hex("#62b1c4");
    look.pressedTop = Hex("#a4dcea");
    look.pressedBottom = Hex("#4fb4cc");
    look.pressedBorder = Hex("#2f8aa0");
    look.checkedTop = Hex("#c9eef6");
    look.checkedBottom = Hex("#7ccbdd");
    look.checkedBorder = Hex("#3f9bb1");
    look.orbTop = Hex("#6fd0e3");
    look.orbBottom = Hex("#11677b");
    look.orbRing = Hex("#9cd3df");
    look.statusTop = Hex("#c8e2e8");
    look.statusBottom = Hex("#9fc8d3");
    look.statusText = Hex("#174a57");
    look.statusSeparator = Hex("#76aab7");
    look.guideTop = Hex("#f2fcfe");
    look.guideBottom = Hex("#cdeef5");
    look.guideText = Hex("#174a57");
    look.menuSide = Hex("#e5f2f5");
    look.menuHeading = Hex("#d3e9ee");
    look.menuHeadingText = Hex("#17505e");
    return look;
}

RibbonLook Windows7() {
    RibbonLook look;
    look.windows7 = true;
    look.captionTop = Hex("#f4f7fb");
    look.captionBottom = Hex("#e4ebf4");
    look.tabText = look.activeTabText = Hex("#1e395b");
    look.tabHover = Hex("#fbfcfe");
    look.tabBorder = Hex("#b6bac0");
    look.bodyTop = Hex("#ffffff");
    look.bodyBottom = Hex("#e7eef8");
    look.panelTop = Hex("#ffffff");
    look.panelBottom = Hex("#edf2f9");
    look.panelBorder = Hex("#c5d2df");
    look.panelCaption = Hex("#edf2f9");
    look.panelCaptionText = Hex("#4a5a6e");
    look.text = Hex("#1e395b");
    look.disabledText = Hex("#9aa3ad");
    look.hoverTop = Hex("#f5faff");
    look.hoverBottom = Hex("#d7e8fb");
    look.hoverBorder = Hex("#a8c8eb");
    look.pressedTop = Hex("#c9ddf5");
    look.pressedBottom = Hex("#a9c8ee");
    look.pressedBorder = Hex("#7da2ce");
    look.checkedTop = Hex("#dde9f8");
    look.checkedBottom = Hex("#c1d7f2");
    look.checkedBorder = Hex("#8eb0d8");
    look.orbTop = Hex("#3b8ae3");
    look.orbBottom = Hex("#1954ad");
    look.orbRing = Hex("#174a97");
    look.statusTop = Hex("#f1f5fb");
    look.statusBottom = Hex("#dae3ef");
    look.statusText = Hex("#1e395b");
    look.statusSeparator = Hex("#b6c4d6");
    look.guideTop = Hex("#ffffff");
    look.guideBottom = Hex("#e3eefb");
    look.guideText = Hex("#1e395b");
    look.menuBack = Hex("#ffffff");
    look.menuSide = Hex("#f0f4fa");
    look.menuHeading = Hex("#e8eef6");
    look.menuHeadingText = Hex("#1e395b");
    return look;
}

// The looks before Office 2007: flat toolbars in the platform's or the product's colours.
RibbonLook Flat(const QColor& face, const QColor& edge, const QColor& text, const QColor& highlight,
                const QColor& highlightBorder) {
    RibbonLook look;
    look.flat = true;
    look.captionTop = look.captionBottom = face.darker(104);
    look.tabText = look.activeTabText = text;
    look.tabHover = face.lighter(104);
    look.tabBorder = edge;
    look.bodyTop = look.bodyBottom = face;
    look.panelTop = look.panelBottom = face;
    look.panelBorder = edge;
    look.panelCaption = face.darker(106);
    look.panelCaptionText = text;
    look.text = text;
    look.disabledText = QColor(0x8d, 0x8d, 0x8d);
    look.hoverTop = look.hoverBottom = highlight;
    look.hoverBorder = highlightBorder;
    look.pressedTop = look.pressedBottom = highlight.darker(115);
    look.pressedBorder = highlightBorder;
    look.checkedTop = look.checkedBottom = highlight.lighter(108);
    look.checkedBorder = highlightBorder;
    look.orbTop = look.orbBottom = highlightBorder;
    look.orbRing = highlightBorder.darker(120);
    look.statusTop = look.statusBottom = face.darker(103);
    look.statusText = text;
    look.statusSeparator = edge;
    look.guideTop = look.guideBottom = QColor(0xff, 0xff, 0xe1);
    look.guideText = QColor(0x20, 0x20, 0x20);
    look.menuBack = face.lighter(106);
    look.menuSide = face;
    look.menuHeading = face.darker(106);
    look.menuHeadingText = text;
    return look;
}

RibbonLook Plain() {
    const QPalette palette = QApplication::palette();
    return Flat(palette.color(QPalette::Window), palette.color(QPalette::Mid),
                palette.color(QPalette::WindowText),
                palette.color(QPalette::Highlight).lighter(160),
                palette.color(QPalette::Highlight));
}

}  // namespace

bool IsOffice2007Style(int value) {
    return value >= cmd::ID_VIEW_APPLOOK_OFF_2007_BLUE &&
           value <= cmd::ID_VIEW_APPLOOK_OFF_2007_AQUA;
}

RibbonLook LookFor(int value, int office2007Style) {
    if (value < cmd::ID_VIEW_APPLOOK_WIN_2000 || value > cmd::ID_VIEW_APPLOOK_WINDOWS_7) {
        value = cmd::ID_VIEW_APPLOOK_OFF_2007_BLACK;
    }
    int style = value;
    if (value >= 211 && value <= 214) {
        style = IsOffice2007Style(office2007Style) ? office2007Style
                                                   : cmd::ID_VIEW_APPLOOK_OFF_2007_BLUE;
    }
    RibbonLook look;
    switch (style) {
        case cmd::ID_VIEW_APPLOOK_OFF_2007_BLUE:
            look = Blue();
            break;
        case cmd::ID_VIEW_APPLOOK_OFF_2007_BLACK:
            look = Black();
            break;
        case cmd::ID_VIEW_APPLOOK_OFF_2007_SILVER:
            look = Silver();
            break;
        case cmd::ID_VIEW_APPLOOK_OFF_2007_AQUA:
            look = Aqua();
            break;
        case cmd::ID_VIEW_APPLOOK_WINDOWS_7:
            look = Windows7();
            break;
        case cmd::ID_VIEW_APPLOOK_OFF_XP:
            look = Flat(Hex("#f3f1ea"), Hex("#aca899"), Hex("#000000"), Hex("#c1d2ee"),
                        Hex("#316ac5"));
            break;
        case cmd::ID_VIEW_APPLOOK_WIN_XP:
            look = Flat(Hex("#ece9d8"), Hex("#aca899"), Hex("#000000"), Hex("#fcfcf9"),
                        Hex("#e3a21a"));
            break;
        case cmd::ID_VIEW_APPLOOK_OFF_2003:
            look = Flat(Hex("#d5e5fb"), Hex("#6a8ccb"), Hex("#00156e"), Hex("#ffe9a8"),
                        Hex("#000080"));
            break;
        case cmd::ID_VIEW_APPLOOK_VS_2005:
            look = Flat(Hex("#f1f0ea"), Hex("#a7a6aa"), Hex("#000000"), Hex("#c1d2ee"),
                        Hex("#316ac5"));
            break;
        case cmd::ID_VIEW_APPLOOK_VS_2008:
            look = Flat(Hex("#e9ecf2"), Hex("#a0a8b8"), Hex("#1c2430"), Hex("#dde8f8"),
                        Hex("#7a9bd0"));
            break;
        default:
            look = Plain();
            break;
    }
    look.value = value;
    return look;
}

const RibbonLook& LookOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (const auto* owner = dynamic_cast<const LookOwner*>(w)) {
            return owner->Look();
        }
    }
    static const RibbonLook fallback = LookFor(cmd::ID_VIEW_APPLOOK_OFF_2007_BLACK);
    return fallback;
}

}  // namespace palvex::ui
