#include "mainwindow/ui/ribbon_colour_button.h"

#include <QAction>
#include <QPainter>

#include "mainwindow/ui/colour_menu.h"
#include "mainwindow/ui/icon_art.h"

namespace palvex::ui {

RibbonColourButton::RibbonColourButton(const CommandInfo& row, QAction* action, Style style,
                                       ColourPalette::Options options, AskColourFunction askColour,
                                       QWidget* parent)
    : RibbonButton(row, action, style, parent),
      colours_(new ColourMenu(Label(), options, std::move(askColour), this)) {
    colours_->setObjectName(objectName() + "_colours");
    SetMenu(colours_);
    connect(colours_, &ColourMenu::ColourShown, this, [this] { update(); });
    // Picking a colour runs the command, which reads the colour back from the button.
    connect(colours_, &ColourMenu::ColourPicked, this, [this] { RunCommand(); });
}

void RibbonColourButton::PaintPicture(QPainter& painter, const QRect& area) {
    if (area.isEmpty()) {
        return;
    }
    // The picture shrinks to leave room for the colour bar under it.
    const int bar = area.height() >= 32 ? 7 : 4;
    const QRect picture(area.left() + bar / 2, area.top(), area.width() - bar, area.height() - bar);
    const bool usable = CommandEnabled();
    if (!Picture().isNull()) {
        painter.drawPixmap(
            picture, Picture().pixmap(picture.size(), usable ? QIcon::Normal : QIcon::Disabled));
    }
    const Colour colour = colours_->CurrentColour();
    const QColor shown =
        colour == kNoColour ? QColor() : QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    art::ColourBar(painter,
                   QRectF(area.left() + 1, area.bottom() - bar + 2, area.width() - 2, bar - 1),
                   shown);
    painter.restore();
}

}  // namespace palvex::ui
