#pragma once

#include "mainwindow/ui/colour_menu.h"
#include "mainwindow/ui/ribbon_button.h"

namespace palvex::ui {

// A colour button: its picture carries a bar in the colour it holds; the upper part runs the
// command with that colour, the arrow opens the palette (and the button's own items).
class RibbonColourButton final : public RibbonButton {
    Q_OBJECT

public:
    RibbonColourButton(const CommandInfo& row, QAction* action, Style style,
                       ColourPalette::Options options, AskColourFunction askColour,
                       QWidget* parent = nullptr);

    ColourMenu* Colours() const { return colours_; }

protected:
    void PaintPicture(QPainter& painter, const QRect& area) override;

private:
    ColourMenu* colours_;
};

}  // namespace palvex::ui
