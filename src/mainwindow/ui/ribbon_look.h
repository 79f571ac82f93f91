#pragma once

#include <QColor>

class QWidget;

namespace palvex::ui {

// The colours of one application look. The ribbon, its menus and the status bar paint
// themselves from it; the widget styles underneath stay the platform's.
struct RibbonLook {
    // The application button is a tab rather than an orb, and panels have no boxes.
    bool TabButton() const { return windows7 || flat; }

    int value = 0;                     // the look value it was made for (205 .. 219)
    bool windows7 = false;             // the Windows 7 ribbon: flat panels, a "ファイル" tab
    bool flat = false;                 // the looks before Office 2007: no gradients, square corners
    QColor captionTop, captionBottom;  // quick access row and tab row
    QColor tabText, activeTabText, tabHover, tabBorder;
    QColor bodyTop, bodyBottom;  // behind the panels, also the active tab
    QColor panelTop, panelBottom, panelBorder;
    QColor panelCaption, panelCaptionText;
    QColor text, disabledText;
    QColor hoverTop, hoverBottom, hoverBorder;
    QColor pressedTop, pressedBottom, pressedBorder;
    QColor checkedTop, checkedBottom, checkedBorder;
    QColor orbTop, orbBottom, orbRing;
    QColor statusTop, statusBottom, statusText, statusSeparator;
    QColor guideTop, guideBottom, guideText;
    QColor menuBack, menuSide, menuHeading, menuHeadingText;
};

// Implemented by the widgets that own a look (the ribbon, the status bar), so that the elements
// and popups under them can find it.
class LookOwner {
public:
    virtual ~LookOwner() = default;
    virtual const RibbonLook& Look() const = 0;
};

// The look for a value. 211 to 214 keep the Office 2007 style that `office2007Style` names
// (215 .. 218); any value outside 205 .. 219 reads as 216.
RibbonLook LookFor(int value, int office2007Style = 215);

// Whether a value selects one of the Office 2007 styles (and so changes the kept style).
bool IsOffice2007Style(int value);

// The look of the owner a widget belongs to (walking up its parents); the default look for a
// widget outside any owner.
const RibbonLook& LookOf(const QWidget* widget);

}  // namespace palvex::ui
